#include "ui/main/Tpb140_nkp3_main.h"

#include "analysis/FileDamage.h"
#include "analysis/ReadoutLoader.h"
#include "screen/MainStateLoad.h"
#include "screen/StateTexts.h"
#include "ui/archive/Archive.h"
#include "ui/archive/ArchiveMenu.h"
#include "ui/charts/ChartsTab.h"
#include "ui/charts/FrameChart.h"
#include "ui/common/DamageWarning.h"
#include "ui/common/ScreenFit.h"
#include "ui/common/UiText.h"
#include "ui/fleet/Fleet.h"
#include "ui/help/Help.h"
#include "ui/main/ConstTab.h"
#include "ui/main/DesktopHabits.h"
#include "ui/main/EventsTab.h"
#include "ui/main/FormCommands.h"
#include "ui/main/FrameExport.h"
#include "ui/main/FramesTab.h"
#include "ui/main/SignatureLine.h"
#include "ui/printing/Printinfcart.h"
#include "ui/reading/ReadingSignature.h"
#include "ui/reading/Readnkp3.h"
#include "ui/service/Logloaderror.h"
#include "ui/service/Official.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

const QSize kDesignSize {800, 600};

}  // namespace

QString TForm_TPB140CMain::baseCaption()
{
    return QStringLiteral("Анализ данных регистратора параметров ТРВ-140");
}

TForm_TPB140CMain::TForm_TPB140CMain(
    nkp::UserPrompts& prompts, const QString& startDirectory, char decimalSeparator, QWidget* parent)
    : QMainWindow(parent)
    , prompts_(prompts)
    , startDirectory_(startDirectory)
    , decimalSeparator_(decimalSeparator)
{
    setObjectName(QStringLiteral("Form_TPB140CMain"));
    setWindowTitle(baseCaption());
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setMaximumSize(kDesignSize);

    OpenDialog_Main.title = "Открыть";
    OpenDialog_Main.filter = nkp::screen::texts::readoutFileFilter();
    OpenDialog_Main.defaultExtension = "nkp";

    PageControl_Main = new QTabWidget;
    PageControl_Main->setObjectName(QStringLiteral("PageControl_Main"));
    PageControl_Main->setDocumentMode(true);
    PageControl_Main->addTab(
        TabSheet_Const = new ConstTab(state_, decimalSeparator_), QStringLiteral("Основная информация"));
    PageControl_Main->addTab(
        TabSheet_Grafik = new ChartsTab(state_), QStringLiteral("Циклическая информация (графики)"));
    PageControl_Main->addTab(TabSheet_Cikl = new FramesTab(state_, prompts_, decimalSeparator_),
        QStringLiteral("Циклическая информация (таблицы)"));
    PageControl_Main->addTab(
        TabSheet_Events = new EventsTab(state_, startDirectory_, decimalSeparator_, prompts_),
        QStringLiteral("События"));
    PageControl_Main->setCurrentWidget(TabSheet_Cikl);
    connect(TabSheet_Events, &EventsTab::episodeChosen, this, &TForm_TPB140CMain::showEpisodeFrames);
    connect(TabSheet_Events, &EventsTab::framesTableWanted, this,
        [this] { PageControl_Main->setCurrentWidget(TabSheet_Cikl); });
    connect(TabSheet_Grafik, &ChartsTab::paramPointClicked, this, &TForm_TPB140CMain::Chart_ParamClickSeries);
    // A decoded cell: the status line holds the whole text on one line, its tooltip one fact a line.
    connect(TabSheet_Cikl, &FramesTab::codeDecoded, this, [this](const QString&, const QString& full) {
        StatusPanels[0]->setText(QString(full).replace(u'\n', QStringLiteral("; ")));
        StatusPanels[0]->setToolTip(full);
    });

    ProgressBar_Read = new QProgressBar;
    ProgressBar_Read->setObjectName(QStringLiteral("ProgressBar_Read"));
    ProgressBar_Read->setRange(0, 100);
    ProgressBar_Read->hide();

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl_Main, 1);
    layout->addWidget(ProgressBar_Read);
    setCentralWidget(central);

    buildMenu();
    buildStatusBar();
    Form_LogError = new TForm_LogError(this);
    // The warning of a damaged file leads to the load error log.
    connect(TabSheet_Const, &ConstTab::errorLogRequested, this, &TForm_TPB140CMain::Menu_logClick);
    connect(StatusPanels[1], &QLabel::linkActivated, this, &TForm_TPB140CMain::Menu_logClick);
    Form_Official = new TForm_Official(this);
    setPrintEnabled(false);

    // 800x600 where the screen holds it, centred; smaller screens get what
    // they have, the tabs scroll.
    nkp::ui::fitToScreen(this, kDesignSize);
    habits_->restorePlace();
}

TForm_TPB140CMain::~TForm_TPB140CMain() = default;

QAction* TForm_TPB140CMain::item(
    QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

void TForm_TPB140CMain::buildMenu()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu"));
    Menu_File = menuBar()->addMenu(QStringLiteral("&Файл"));
    Menu_File->setObjectName(QStringLiteral("Menu_File"));
    Menu_STN3
        = item(Menu_File, "Menu_STN3", QStringLiteral("Считать..."), QKeySequence(Qt::CTRL | Qt::Key_E));
    Menu_OpenSTN3
        = item(Menu_File, "Menu_OpenSTN3", QStringLiteral("Открыть"), QKeySequence(Qt::CTRL | Qt::Key_O));
    Menu_Clear
        = item(Menu_File, "Menu_Clear", QStringLiteral("Очистить"), QKeySequence(Qt::CTRL | Qt::Key_W));
    Menu_ExportFrames = item(Menu_File, "Menu_ExportFrames", QStringLiteral("Экспорт кадров в CSV..."));
    Menu_Fleet
        = item(Menu_File, "Menu_Fleet", QStringLiteral("Обзор парка..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    Menu_Print = Menu_File->addMenu(QStringLiteral("&Печать"));
    Menu_Print->setObjectName(QStringLiteral("Menu_Print"));
    Menu_Print->menuAction()->setObjectName(QStringLiteral("Menu_Print"));
    Menu_Print->menuAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    M_IK = item(Menu_Print, "M_IK", QStringLiteral("Информационная карта"));
    M_Oper = item(Menu_Print, "M_Oper", QStringLiteral("Оперативная информация"));
    M_Events = item(Menu_Print, "M_Events", QStringLiteral("События..."));
    // The shortcut shown on "Печать" opens its submenu under "Файл".
    connect(Menu_Print->menuAction(), &QAction::triggered, this, [this] {
        const QRect file = menuBar()->actionGeometry(Menu_File->menuAction());
        Menu_Print->popup(menuBar()->mapToGlobal(file.bottomLeft()));
    });
    Menu_R1 = Menu_File->addSeparator();
    Menu_R1->setObjectName(QStringLiteral("Menu_R1"));
    Menu_Isp = Menu_File->addMenu(QStringLiteral("Обработка &испытаний"));
    Menu_Isp->setObjectName(QStringLiteral("Menu_Isp"));
    N_CreateForma1 = item(Menu_Isp, "N_CreateForma1", QStringLiteral("Форма 1"));
    N_CreateForma2 = item(Menu_Isp, "N_CreateForma2", QStringLiteral("Форма 2"));
    N_CreateForma3 = item(Menu_Isp, "N_CreateForma3", QStringLiteral("Форма 3"));
    Menu_log
        = item(Menu_File, "Menu_log", QStringLiteral("Лог ошибок..."), QKeySequence(Qt::CTRL | Qt::Key_L));
    Menu_R2 = Menu_File->addSeparator();
    Menu_R2->setObjectName(QStringLiteral("Menu_R2"));
    Menu_Exit = item(Menu_File, "Menu_Exit", QStringLiteral("Выход"));

    // The service menu stays hidden; its one item is reached by its shortcut,
    // which is why the action also belongs to the window itself.
    Menu_Service = menuBar()->addMenu(QStringLiteral("Служебная"));
    Menu_Service->setObjectName(QStringLiteral("Menu_Service"));
    N_Adres = item(Menu_Service, "N_Adres", QStringLiteral("Адресное пространстов"),
        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I));
    Menu_Service->menuAction()->setVisible(false);
    addAction(N_Adres);
    nkp::ui::installSigningKeyMenu(*this, *Menu_File, Menu_R1, prompts_);
    nkp::ui::installArchiveMenu(*this, *Menu_File, Menu_Print->menuAction(), prompts_, startDirectory_,
        decimalSeparator_, [this](const QString& path) { return loadFile(path); });
    habits_ = new nkp::ui::DesktopHabits(
        *this, *Menu_File, Menu_R2, [this](const QString& path) { return loadFile(path); });
    buildHelpMenu();

    connect(Menu_STN3, &QAction::triggered, this, &TForm_TPB140CMain::Menu_STN3Click);
    connect(Menu_OpenSTN3, &QAction::triggered, this, &TForm_TPB140CMain::Menu_OpenSTN3Click);
    connect(Menu_Clear, &QAction::triggered, this, &TForm_TPB140CMain::ClearAll);
    connect(Menu_ExportFrames, &QAction::triggered, this, &TForm_TPB140CMain::Menu_ExportFramesClick);
    connect(Menu_Fleet, &QAction::triggered, this, &TForm_TPB140CMain::Menu_FleetClick);
    connect(M_IK, &QAction::triggered, this, &TForm_TPB140CMain::M_IKClick);
    connect(M_Oper, &QAction::triggered, this, &TForm_TPB140CMain::M_OperClick);
    connect(M_Events, &QAction::triggered, this, &TForm_TPB140CMain::M_EventsClick);
    connect(N_CreateForma1, &QAction::triggered, this, &TForm_TPB140CMain::N_CreateForma1Click);
    connect(N_CreateForma2, &QAction::triggered, this, &TForm_TPB140CMain::N_CreateForma2Click);
    connect(N_CreateForma3, &QAction::triggered, this, &TForm_TPB140CMain::N_CreateForma3Click);
    connect(Menu_log, &QAction::triggered, this, &TForm_TPB140CMain::Menu_logClick);
    connect(N_Adres, &QAction::triggered, this, &TForm_TPB140CMain::N_AdresClick);
    connect(Menu_Exit, &QAction::triggered, this, &QWidget::close);
}

void TForm_TPB140CMain::buildHelpMenu()
{
    Menu_Help = menuBar()->addMenu(QStringLiteral("&Справка"));
    Menu_Help->setObjectName(QStringLiteral("Menu_Help"));
    N_Guide
        = item(Menu_Help, "N_Guide", QStringLiteral("&Руководство пользователя"), QKeySequence(Qt::Key_F1));
    // F1 opens the page of whichever of the program's windows is in use.
    N_Guide->setShortcutContext(Qt::ApplicationShortcut);
    N_About = item(Menu_Help, "N_About", QStringLiteral("&О программе"));
    connect(N_Guide, &QAction::triggered, this, [this] {
        QWidget* active = QApplication::activeWindow();
        nkp::ui::showHelpFor(active ? active : this);
    });
    connect(N_About, &QAction::triggered, this,
        [this] { prompts_.information("О программе", nkp::ui::aboutText().toStdString()); });
    // F10 takes the keyboard to the menu bar, as on other desktops.
    auto* menuKey = new QAction(this);
    menuKey->setObjectName(QStringLiteral("N_MenuBar"));
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, this, [this] {
        menuBar()->setFocus(Qt::ShortcutFocusReason);
        menuBar()->setActiveAction(Menu_File->menuAction());
    });
}

void TForm_TPB140CMain::buildStatusBar()
{
    StatusBar_Main = statusBar();
    StatusBar_Main->setObjectName(QStringLiteral("StatusBar_Main"));
    StatusBar_Main->setSizeGripEnabled(false);
    const int widths[3] = {150, 500, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel;
        StatusPanels[i]->setTextFormat(Qt::PlainText);  // the damage warning sets its own
        StatusPanels[i]->setObjectName(QStringLiteral("StatusBar_Main_Panel%1").arg(i));
        StatusPanels[i]->setFixedWidth(widths[i]);
        StatusPanels[i]->setFrameShape(QFrame::StyledPanel);
        StatusPanels[i]->setFrameShadow(QFrame::Sunken);
        StatusBar_Main->addWidget(StatusPanels[i], i == 0 ? 1 : 0);
    }
    // The hint panel takes what the window has beyond the other two, so
    // that longer hints stay readable.
    StatusPanels[0]->setMinimumWidth(widths[0]);
    StatusPanels[0]->setMaximumWidth(QWIDGETSIZE_MAX);
}

bool TForm_TPB140CMain::event(QEvent* event)
{
    // The first panel shows the hint of the control under the mouse.
    if (event->type() == QEvent::StatusTip) {
        StatusPanels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TForm_TPB140CMain::Menu_OpenSTN3Click()
{
    openDataFile();
}

bool TForm_TPB140CMain::openDataFile()
{
    const QString files = startDirectory_ + QStringLiteral("/Файлы");
    OpenDialog_Main.initialDir
        = QFile::encodeName(QDir(files).exists() ? files : startDirectory_).toStdString();
    const std::optional<std::string> path = prompts_.openFile(OpenDialog_Main);
    if (!path)
        return false;  // a cancelled dialog leaves everything as it was
    loadFile(QFile::decodeName(QByteArray::fromStdString(*path)));
    return true;
}

bool TForm_TPB140CMain::loadFile(const QString& path)
{
    if (!nkp::screen::openReadout(QFile::encodeName(path).toStdString(), decimalSeparator_, state_, prompts_))
        return false;
    StatusPanels[1]->clear();
    loadedName_ = QFileInfo(path).fileName();
    habits_->remember(path);
    loadedInput_ = nkp::fileio::InputScope({state_.filePath});
    const nkp::ui::SignatureLine signature = nkp::ui::checkSignature(state_.filePath, startDirectory_);
    state_.fileSignature = signature.cardFooter;
    TabSheet_Const->showSignature(signature.text, signature.colour, signature.fullText);
    refreshAfter(Change::Loaded);
    return true;
}

void TForm_TPB140CMain::refreshAll()
{
    refreshAfter(Change::StateEdited);
}

void TForm_TPB140CMain::refreshAfter(Change change)
{
    switch (change) {
    case Change::Loaded:
        setWindowTitle(baseCaption() + QStringLiteral("  [") + loadedName_ + QLatin1Char(']'));
        TabSheet_Const->refresh();
        nkp::ui::showDamageInPanel(StatusPanels[1], nkp::analysis::damageWarning(state_.readout.diagnostics));
        TabSheet_Grafik->showCharts(state_.charts);
        TabSheet_Cikl->showLoaded();
        setPrintEnabled(true);
        TabSheet_Events->showLoaded();
        Form_LogError->showLoad(state_);
        Form_Official->showServiceArea(state_.serviceArea, nkp::recorder::kServiceAreaOffset);
        break;
    case Change::Cleared:
        // The frame store went; the parameter chart fits its time axis anew.
        setPrintEnabled(false);
        TabSheet_Grafik->refitTimeAxis();
        break;
    case Change::FrameOrder:
        TabSheet_Cikl->showLoaded();
        break;
    case Change::StateEdited:
        TabSheet_Const->refresh();
        TabSheet_Grafik->showCharts(state_.charts);
        TabSheet_Cikl->ScrollBar_CiklChange();
        break;
    }
}

void TForm_TPB140CMain::setPrintEnabled(bool enabled)
{
    // Without a read-out the printouts would show the design texts as if
    // they were a crane's; the hint says why the items are grey.
    const QString hint = enabled ? QString() : printDisabledHint();
    for (QAction* action : {M_IK, M_Oper, M_Events}) {
        action->setEnabled(enabled);
        action->setStatusTip(hint);
    }
    Menu_Print->menuAction()->setStatusTip(hint);
    if (!enabled)
        StatusPanels[0]->setText(hint);
    else if (StatusPanels[0]->text() == printDisabledHint())
        StatusPanels[0]->clear();
}

QString TForm_TPB140CMain::printDisabledHint()
{
    return QStringLiteral("Печать: сначала откройте файл данных");
}

void TForm_TPB140CMain::ClearAll()
{
    nkp::analysis::clearAll(state_);
    loadedInput_.clear();
    refreshAfter(Change::Cleared);
}

void TForm_TPB140CMain::Chart_ParamClickSeries(double x)
{
    PageControl_Main->setCurrentWidget(TabSheet_Cikl);
    TabSheet_Cikl->scrollTo(static_cast<int>(x));
}

void TForm_TPB140CMain::showEpisodeFrames(int first, int last)
{
    // The table runs over FrameOrder: find the frame there, or give the
    // table its full list back when a selection left the frame out.
    auto at = std::find(state_.FrameOrder.begin(), state_.FrameOrder.end(), first);
    if (at == state_.FrameOrder.end()) {
        std::iota(state_.FrameOrder.begin(), state_.FrameOrder.end(), 0);
        refreshAfter(Change::FrameOrder);
        at = state_.FrameOrder.begin() + first;
    }
    TabSheet_Cikl->scrollTo(static_cast<int>(at - state_.FrameOrder.begin()));
    TabSheet_Grafik->markFrames(first, last);
}

void TForm_TPB140CMain::Menu_ExportFramesClick()
{
    nkp::ui::exportFramesCsv(state_, startDirectory_, decimalSeparator_, prompts_);
}

void TForm_TPB140CMain::Menu_FleetClick()
{
    if (!Form_Fleet) {
        Form_Fleet = new TForm_Fleet(prompts_, QDir(startDirectory_).filePath(QStringLiteral("Файлы")), this);
        Form_Fleet->setDecimalSeparator(decimalSeparator_);
        // The archive window imports them with its own progress and cancel.
        connect(Form_Fleet, &TForm_Fleet::addToArchive, this, [this](const std::vector<std::string>& paths) {
            nkp::ui::showArchiveWindow(*this, prompts_, startDirectory_, decimalSeparator_,
                [this](const QString& path) { return loadFile(path); })
                ->addPaths(paths);
        });
        connect(Form_Fleet, &TForm_Fleet::readoutActivated, this, [this](const QString& path) {
            if (loadFile(path)) {
                raise();
                activateWindow();
            }
        });
    }
    Form_Fleet->show();
    Form_Fleet->raise();
    Form_Fleet->activateWindow();
}

void TForm_TPB140CMain::Menu_logClick()
{
    Form_LogError->exec();
}

void TForm_TPB140CMain::N_AdresClick()
{
    Form_Official->show();
    Form_Official->raise();
}

// The reading window is created anew for each reading and destroyed when it closes.
void TForm_TPB140CMain::Menu_STN3Click()
{
    TForm_ReadNKP3 form(this, prompts_, startDirectory_);
    form.exec();
}

void TForm_TPB140CMain::M_IKClick()
{
    nkp::ui::printInfoCard(this, state_, prompts_);
}

void TForm_TPB140CMain::M_OperClick()
{
    nkp::ui::printOperationalInfo(this, state_, prompts_, TabSheet_Cikl->firstFrameText(),
        TabSheet_Cikl->lastFrameText(), decimalSeparator_);
}

void TForm_TPB140CMain::M_EventsClick()
{
    // The printout counts overloads from the threshold the events tab shows.
    nkp::ui::printEvents(this, state_, prompts_, TabSheet_Events->threshold(), decimalSeparator_,
        TabSheet_Events->kindFilter());
}

void TForm_TPB140CMain::N_CreateForma1Click()
{
    runForm(1);
}

void TForm_TPB140CMain::N_CreateForma2Click()
{
    runForm(2);
}

void TForm_TPB140CMain::N_CreateForma3Click()
{
    runForm(3);
}

nkp::forms::FormOutcome TForm_TPB140CMain::runForm(int form, const nkp::ui::Desktop& desktop)
{
    const nkp::ui::FormWindow window {state_, QFile::encodeName(startDirectory_).toStdString(),
        decimalSeparator_, [this] { return openDataFile(); },
        [this](
            const std::string& path) { return loadFile(QFile::decodeName(QByteArray::fromStdString(path))); },
        [this] { refreshAfter(Change::StateEdited); }};
    return nkp::ui::runWindowForm(window, prompts_, form, desktop);
}
