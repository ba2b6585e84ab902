#include "ui/printing/Printinfcart.h"

#include "analysis/FileDamage.h"
#include "base/Codec.h"
#include "print/FrameRange.h"
#include "print/PageCanvas.h"
#include "print/PrintDocuments.h"
#include "ui/common/DamageWarning.h"
#include "ui/common/PdfSave.h"
#include "ui/common/ScreenFit.h"
#include "ui/common/UiText.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

#include <memory>

namespace nkp::ui {
TForm_Print::TForm_Print(const screen::MainState& state, UserPrompts& prompts, QWidget* parent)
    : QWidget(parent)
    , state_(state)
    , prompts_(prompts)
{
    setObjectName(QStringLiteral("Form_Print"));
    setWindowTitle(QStringLiteral("Форма для печати"));
    ActionManager_Print = new QObject(this);
    ActionManager_Print->setObjectName(QStringLiteral("ActionManager_Print"));
    const auto action = [this](const char* name, const QString& text, void (TForm_Print::*slot)()) {
        auto* a = new QAction(text, ActionManager_Print);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    Action_PrintInfCart = action("Action_PrintInfCart", QStringLiteral("Информационная карта"),
        &TForm_Print::Action_PrintInfCartExecute);
    Action_PrintPril1
        = action("Action_PrintPril1", QStringLiteral("Приложение"), &TForm_Print::Action_PrintPril1Execute);
    Action_PrintCikl = action(
        "Action_PrintCikl", QStringLiteral("Оперативная информация"), &TForm_Print::Action_PrintCiklExecute);
    Action_PrintEvents
        = action("Action_PrintEvents", QStringLiteral("События"), &TForm_Print::Action_PrintEventsExecute);
    preview_ = [this](const QString& title, const Render& render) { showModalPreview(title, render); };
}

void TForm_Print::setFrameRangeTexts(const QString& kHome, const QString& kEnd)
{
    kHome_ = kHome;
    kEnd_ = kEnd;
}

void TForm_Print::printInfoCardAndAppendix()
{
    Action_PrintInfCart->trigger();
    Action_PrintPril1->trigger();
}

void TForm_Print::printOperationalInfo()
{
    Action_PrintCikl->trigger();
}

void TForm_Print::printEvents()
{
    Action_PrintEvents->trigger();
}

void TForm_Print::Action_PrintInfCartExecute()
{
    const screen::MainState& state = state_;
    preview_(QStringLiteral("Информационная карта"),
        [&state](QPagedPaintDevice& device) { return print::printInfoCard(device, state); });
}

void TForm_Print::Action_PrintPril1Execute()
{
    const screen::MainState& state = state_;
    preview_(QStringLiteral("Приложение 1"), [&state](QPagedPaintDevice& device) {
        return print::printAppendixPage(device, state, print::AppendixPage::LoadAndMass);
    });
    preview_(QStringLiteral("Приложение 2"), [&state](QPagedPaintDevice& device) {
        return print::printAppendixPage(device, state, print::AppendixPage::BoomAndRadius);
    });
}

void TForm_Print::Action_PrintCiklExecute()
{
    // Refuse a range that is not two integers before anything is drawn.
    for (const QString* text : {&kHome_, &kEnd_}) {
        if (!print::parseFrameNumber(*text)) {
            prompts_.error("Оперативная информация",
                QStringLiteral("\"%1\" не является целым числом.\nУкажите номера кадров "
                               "\"с\" и \"по\" от 0 до 10999.")
                    .arg(*text)
                    .toStdString());
            return;
        }
    }
    const print::FrameRange range = *print::parseFrameRange(kHome_, kEnd_);
    const screen::MainState& state = state_;
    const char separator = decimalSeparator_;
    preview_(QStringLiteral("Оперативная информация"), [&state, range, separator](QPagedPaintDevice& device) {
        return print::printOperationalInfo(device, state, range, separator);
    });
}

void TForm_Print::Action_PrintEventsExecute()
{
    const screen::MainState& state = state_;
    const char separator = decimalSeparator_;
    const int threshold = overloadThreshold_;
    const int kind = eventKind_;
    preview_(QStringLiteral("События"), [&state, threshold, separator, kind](QPagedPaintDevice& device) {
        return print::printEvents(device, state, threshold, separator, nullptr, kind);
    });
}

bool TForm_Print::exportToPdf(const QString& title, const Render& render)
{
    return savePdfAs(
        prompts_, title,
        [&title, &render](const std::string& path) { return print::writePdfFile(path, title, render); },
        state_.filePath);
}

QString TForm_Print::previewCaption(const QString& title) const
{
    return captionWithDamage(title, analysis::damageWarning(state_.readout.diagnostics));
}

void TForm_Print::showModalPreview(const QString& title, const Render& render)
{
    QPrinter printer(QPrinter::HighResolution);
    print::preparePagedDevice(printer);
    printer.setDocName(title);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(previewCaption(title));
    fitToScreen(&dialog, QSize(900, 700));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&render](QPrinter* p) { render(*p); });
    if (auto* toolBar = dialog.findChild<QToolBar*>()) {
        toolBar->addSeparator();
        QAction* pdf = toolBar->addAction(QStringLiteral("PDF..."));
        pdf->setToolTip(QStringLiteral("Сохранить в файл PDF"));
        connect(pdf, &QAction::triggered, &dialog, [this, &title, &render] { exportToPdf(title, render); });
    }
    dialog.exec();
}

void printInfoCard(QWidget* parent, const screen::MainState& state, UserPrompts& prompts)
{
    auto form = std::make_unique<TForm_Print>(state, prompts, parent);
    form->printInfoCardAndAppendix();
    form->close();
}

void printOperationalInfo(QWidget* parent, const screen::MainState& state, UserPrompts& prompts,
    const QString& kHome, const QString& kEnd, char decimalSeparator)
{
    auto form = std::make_unique<TForm_Print>(state, prompts, parent);
    form->setFrameRangeTexts(kHome, kEnd);
    form->setDecimalSeparator(decimalSeparator);
    form->printOperationalInfo();
    form->close();
}

void printEvents(QWidget* parent, const screen::MainState& state, UserPrompts& prompts, int overloadThreshold,
    char decimalSeparator, int eventKind)
{
    auto form = std::make_unique<TForm_Print>(state, prompts, parent);
    form->setOverloadThreshold(overloadThreshold);
    form->setEventKind(eventKind);
    form->setDecimalSeparator(decimalSeparator);
    form->printEvents();
    form->close();
}

}  // namespace nkp::ui
