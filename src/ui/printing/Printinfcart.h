#pragma once

#include "analysis/Events.h"
#include "base/UserPrompts.h"
#include "screen/MainState.h"

#include <QString>
#include <QWidget>

#include <functional>

class QAction;
class QPagedPaintDevice;

// Module Printinfcart: the print window. It is never shown; it holds the
// print actions, each of which shows its filled layouts one after another in
// a modal print preview, from which the user prints or exports a PDF file.
namespace nkp::ui {

class TForm_Print : public QWidget {
    Q_OBJECT
public:
    // Draws one layout on a paged device; false when the device failed.
    using Render = std::function<bool(QPagedPaintDevice&)>;
    // Shows a filled layout. The default is the modal QPrintPreviewDialog;
    // tests put a function that renders without asking anybody.
    using Preview = std::function<void(const QString& title, const Render& render)>;

    TForm_Print(const screen::MainState& state, UserPrompts& prompts, QWidget* parent = nullptr);

    // The texts of the frames tab's "с" and "по" edits (Edit_KHome,
    // Edit_KEnd), read by Action_PrintCikl.
    void setFrameRangeTexts(const QString& kHome, const QString& kEnd);
    void setDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    void setPreview(Preview preview) { preview_ = std::move(preview); }
    // The overload threshold of the events printout, in percent.
    void setOverloadThreshold(int percent) { overloadThreshold_ = percent; }
    // The kind of events printed (an EventKind); -1 for all.
    void setEventKind(int kind) { eventKind_ = kind; }

    // M_IK: the card, then both appendix pages; M_Oper: the listing.
    void printInfoCardAndAppendix();
    void printOperationalInfo();
    // M_Events: the events list and the load spectrum.
    void printEvents();

    // The caption of a layout's preview: `title`, and the warning of a
    // damaged read-out after it.
    QString previewCaption(const QString& title) const;

    // Asks for a PDF file name and renders into it; false when cancelled or
    // the file could not be written (the user has been told).
    bool exportToPdf(const QString& title, const Render& render);

    QObject* ActionManager_Print;
    QAction* Action_PrintInfCart;
    QAction* Action_PrintPril1;
    QAction* Action_PrintCikl;
    QAction* Action_PrintEvents;

private:
    void Action_PrintInfCartExecute();
    void Action_PrintPril1Execute();
    void Action_PrintCiklExecute();
    void Action_PrintEventsExecute();
    void showModalPreview(const QString& title, const Render& render);

    const screen::MainState& state_;
    UserPrompts& prompts_;
    QString kHome_ = QStringLiteral("0");
    QString kEnd_ = QStringLiteral("0");
    char decimalSeparator_ = ',';
    int overloadThreshold_ = analysis::kDefaultOverloadThreshold;
    int eventKind_ = -1;
    Preview preview_;
};

// The handlers of the main window's menu items M_IK and M_Oper: create the
// print window, run its actions, close and destroy it.
void printInfoCard(QWidget* parent, const screen::MainState& state, UserPrompts& prompts);
void printOperationalInfo(QWidget* parent, const screen::MainState& state, UserPrompts& prompts,
    const QString& kHome, const QString& kEnd, char decimalSeparator);
void printEvents(QWidget* parent, const screen::MainState& state, UserPrompts& prompts, int overloadThreshold,
    char decimalSeparator, int eventKind = -1);

}  // namespace nkp::ui
