#include "ui/archive/ArchivePrint.h"

#include "print/PageCanvas.h"
#include "print/PrintDocuments.h"
#include "ui/common/PdfSave.h"
#include "ui/common/ScreenFit.h"
#include "ui/common/UiText.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QToolBar>

#include <algorithm>

namespace nkp::ui {

void showArchivePreview(
    QWidget* parent, UserPrompts& prompts, const QString& title, const ArchiveRender& render)
{
    QPrinter printer(QPrinter::HighResolution);
    print::preparePagedDevice(printer);
    printer.setDocName(title);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    fitToScreen(&dialog, QSize(900, 700));
    QObject::connect(
        &dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&render](QPrinter* p) { render(*p); });
    if (auto* toolBar = dialog.findChild<QToolBar*>()) {
        toolBar->addSeparator();
        QAction* pdf = toolBar->addAction(QStringLiteral("PDF..."));
        pdf->setToolTip(QStringLiteral("Сохранить в файл PDF"));
        QObject::connect(pdf, &QAction::triggered, &dialog, [&prompts, &title, &render] {
            savePdfAs(prompts, title, [&title, &render](const std::string& path) {
                return print::writePdfFile(path, title, render);
            });
        });
    }
    dialog.exec();
}

bool printTextTable(QPagedPaintDevice& device, const QString& title, const QString& subtitle,
    const std::vector<std::vector<std::string>>& cells, const std::vector<int>& red,
    const std::vector<int>& amber)
{
    // Texts from the archive are plain text: every one is escaped.
    QString html = QStringLiteral("<h3>%1</h3><p>%2</p>"
                                  "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">")
                       .arg(title.toHtmlEscaped(), subtitle.toHtmlEscaped());
    for (std::size_t r = 0; r < cells.size(); ++r) {
        const auto marked = [r](const std::vector<int>& rows) {
            return std::find(rows.begin(), rows.end(), static_cast<int>(r)) != rows.end();
        };
        const QString colour = marked(red) ? QStringLiteral(" style=\"color:#b00000\"")
            : marked(amber)                ? QStringLiteral(" style=\"color:#a05a00\"")
                                           : QString();
        html += QStringLiteral("<tr%1>").arg(colour);
        for (const std::string& cell : cells[r])
            html += (r == 0 ? QStringLiteral("<th>%1</th>") : QStringLiteral("<td>%1</td>"))
                        .arg(QString::fromStdString(cell).toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    print::preparePagedDevice(device);
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(9);
    document.setDefaultFont(font);
    document.setHtml(html);
    document.print(&device);
    return true;
}

}  // namespace nkp::ui
