#pragma once

#include "analysis/MainState.h"
#include "base/InputFiles.h"
#include "base/UserPrompts.h"
#include "ui/main/FormCommands.h"

#include <QMainWindow>

#include <cstdint>
#include <vector>

class ChartsTab;
class ConstTab;
class EventsTab;
class FramesTab;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QTabWidget;
class TForm_Fleet;
class TForm_LogError;
class TForm_Official;
namespace nkp::ui {
class DesktopHabits;
}

// The main window: the menu, the three tabs over MainState, the status bar,
// and the commands. Commands whose windows live elsewhere (reading, printing,
// forms) are virtual hooks that those windows' owners override or connect to.
class TForm_TPB140CMain : public QMainWindow {
    Q_OBJECT
public:
    // `startDirectory` is the folder below which Inf, Файлы, Шаблоны форм and
    // Формы are found (the current directory at program start).
    TForm_TPB140CMain(nkp::UserPrompts& prompts, const QString& startDirectory, char decimalSeparator,
        QWidget* parent = nullptr);
    ~TForm_TPB140CMain() override;

    nkp::analysis::MainState& state() { return state_; }
    const QString& startDirectory() const { return startDirectory_; }
    char decimalSeparator() const { return decimalSeparator_; }

    // Loads a data file as "Открыть" does after its dialog: on success every
    // tab shows the new read-out; a file that cannot be opened leaves the
    // loaded read-out as it was, shows the error and returns false.
    bool loadFile(const QString& path);
    // "Открыть" itself: the dialog, then loadFile(). False when the dialog
    // was cancelled (everything stays as it was).
    bool openDataFile();
    // What changed in MainState; refreshAfter() decides what shows it anew.
    enum class Change {
        Loaded,       // a read-out was loaded: every tab, the title, the logs
        Cleared,      // "Очистить" reset the frame store
        FrameOrder,   // the frames table's order was given back in full
        StateEdited,  // code such as a form changed texts or period values
    };
    // The one place that redraws after a change; every handler calls it.
    void refreshAfter(Change change);
    // Shows the state anew on every tab (after code that changed MainState).
    void refreshAll();

    // "Форма 1", "Форма 2", "Форма 3" (`form`): the form over this window's
    // read-out; a finished document goes to `desktop`.
    nkp::forms::FormOutcome runForm(int form, const nkp::ui::Desktop& desktop = nkp::ui::systemDesktop());

    static QString baseCaption();
    // The status-bar hint of the print items while no read-out is loaded.
    static QString printDisabledHint();

public slots:
    virtual void Menu_STN3Click();
    virtual void Menu_OpenSTN3Click();
    virtual void M_IKClick();
    virtual void M_OperClick();
    virtual void M_EventsClick();
    virtual void N_CreateForma1Click();
    virtual void N_CreateForma2Click();
    virtual void N_CreateForma3Click();
    void Menu_logClick();
    // "Экспорт кадров в CSV...": the frames of the current FrameOrder.
    void Menu_ExportFramesClick();
    // "Обзор парка...": the read-outs below Файлы of the start directory; a
    // double-clicked row opens in this window.
    void Menu_FleetClick();
    void N_AdresClick();
    // "Очистить": resets the frame store and its chronological view only.
    void ClearAll();
    // A click on a point of Chart_Param: the table at that chronological position.
    void Chart_ParamClickSeries(double x);
    // An episode chosen on the events tab: the frames table at its first
    // frame, its range marked on both charts.
    void showEpisodeFrames(int first, int last);

protected:
    bool event(QEvent* event) override;

private:
    void buildMenu();
    void buildStatusBar();
    // "Справка": the guide (F1, the page of the window in use) and "О программе".
    void buildHelpMenu();
    // The print items work on a loaded read-out only: enabled by loading,
    // disabled at start and by "Очистить".
    void setPrintEnabled(bool enabled);
    QAction* item(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {});

    // The controls are the window's own; tests find them by objectName.
    QTabWidget* PageControl_Main = nullptr;
    ConstTab* TabSheet_Const = nullptr;
    ChartsTab* TabSheet_Grafik = nullptr;
    FramesTab* TabSheet_Cikl = nullptr;
    EventsTab* TabSheet_Events = nullptr;
    QProgressBar* ProgressBar_Read = nullptr;
    QStatusBar* StatusBar_Main = nullptr;
    QLabel* StatusPanels[3] = {nullptr, nullptr, nullptr};
    TForm_LogError* Form_LogError = nullptr;
    TForm_Official* Form_Official = nullptr;
    TForm_Fleet* Form_Fleet = nullptr;  // made on first use
    nkp::UserPrompts::FileDialog OpenDialog_Main;

    // --- menu
    QMenu *Menu_File = nullptr, *Menu_Print = nullptr, *Menu_Isp = nullptr, *Menu_Service = nullptr;
    QAction *Menu_STN3 = nullptr, *Menu_OpenSTN3 = nullptr, *Menu_Clear = nullptr, *M_IK = nullptr;
    QAction* M_Events = nullptr;
    QAction *M_Oper = nullptr, *Menu_R1 = nullptr, *N_CreateForma1 = nullptr, *N_CreateForma2 = nullptr;
    QAction *N_CreateForma3 = nullptr, *Menu_log = nullptr, *Menu_R2 = nullptr, *Menu_Exit = nullptr;
    QAction* N_Adres = nullptr;
    QAction *Menu_ExportFrames = nullptr, *Menu_Fleet = nullptr;
    QMenu* Menu_Help = nullptr;
    QAction *N_Guide = nullptr, *N_About = nullptr;
    nkp::ui::DesktopHabits* habits_ = nullptr;  // recent files, place, drops, shortcuts

    nkp::UserPrompts& prompts_;
    QString startDirectory_;
    char decimalSeparator_;
    nkp::analysis::MainState state_;
    nkp::fileio::InputScope loadedInput_;    // the loaded read-out: no output replaces it
    std::vector<std::uint8_t> serviceArea_;  // of the loaded file, for the service window
    QString loadedName_;                     // the loaded file's name, for the title
};
