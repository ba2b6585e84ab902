#include "ui/help/Help.h"

#include "ui/common/ScreenFit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

#include <openssl/opensslv.h>
#include <qcustomplot.h>
#include <zstd.h>

namespace nkp::ui {
namespace {

const QString kContents = QStringLiteral("index.md");

}  // namespace

QString guideDirectory()
{
    const QByteArray env = qgetenv("NKP_GUIDE_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../")
        + QStringLiteral(NKP_INSTALL_GUIDE_SUBDIR);
    if (QFileInfo::exists(installed + QLatin1Char('/') + kContents))
        return QDir::cleanPath(installed);
    if (QFileInfo::exists(QStringLiteral(NKP_INSTALL_GUIDE_DIR "/index.md")))
        return QStringLiteral(NKP_INSTALL_GUIDE_DIR);
    return QStringLiteral(NKP_SOURCE_GUIDE_DIR);
}

const std::vector<std::pair<QString, QString>>& helpPages()
{
    static const std::vector<std::pair<QString, QString>> pages {
        {QStringLiteral("Form_TPB140CMain"), QStringLiteral("main-window.md")},
        {QStringLiteral("TabSheet_Const"), QStringLiteral("tab-main-info.md")},
        {QStringLiteral("TabSheet_Grafik"), QStringLiteral("tab-charts.md")},
        {QStringLiteral("TabSheet_Cikl"), QStringLiteral("tab-frames.md")},
        {QStringLiteral("TabSheet_Events"), QStringLiteral("tab-events.md")},
        {QStringLiteral("Form_ReadNKP3"), QStringLiteral("reading.md")},
        {QStringLiteral("Form_Fleet"), QStringLiteral("fleet.md")},
        {QStringLiteral("Form_Archive"), QStringLiteral("archive.md")},
        {QStringLiteral("TabSheet_Log"), QStringLiteral("crane-log.md")},
        {QStringLiteral("TabSheet_Remarks"), QStringLiteral("crane-log.md")},
        {QStringLiteral("TabSheet_Due"), QStringLiteral("crane-log.md")},
        {QStringLiteral("Form_LogError"), QStringLiteral("warnings.md")},
        {QStringLiteral("Form_Official"), QStringLiteral("service-area.md")},
        {QStringLiteral("Form_Print"), QStringLiteral("printouts.md")},
        {QStringLiteral("Form_Help"), kContents},
    };
    return pages;
}

QString helpPageFor(const QWidget* widget)
{
    const QWidget* window = widget ? widget->window() : nullptr;
    if (!window)
        return kContents;
    const auto pageOf = [](const QString& name) {
        for (const auto& [object, page] : helpPages())
            if (object == name)
                return page;
        return QString();
    };
    // A window with tabs: the page of the tab in use, where it has one of its own.
    for (const QString& tabsName : {QStringLiteral("PageControl_Main"), QStringLiteral("PageControl_Crane")})
        if (const auto* tabs = window->findChild<const QTabWidget*>(tabsName))
            if (const QWidget* tab = tabs->currentWidget(); tab && !pageOf(tab->objectName()).isEmpty())
                return pageOf(tab->objectName());
    const QString page = pageOf(window->objectName());
    return page.isEmpty() ? kContents : page;
}

void showHelpFor(QWidget* from)
{
    static QPointer<TForm_Help> help;
    QWidget* owner = from ? from->window() : nullptr;
    if (help && help->parentWidget() != owner
        && !(owner && owner->objectName() == QStringLiteral("Form_Help")))
        delete help;
    if (!help)
        help = new TForm_Help(owner);
    help->showPage(helpPageFor(from));
    help->show();
    help->raise();
    help->activateWindow();
}

QString aboutText()
{
    return QStringLiteral("Анализ данных регистратора параметров ТРВ-140\n"
                          "Версия %1, сборка от %2\n\n"
                          "Программа использует:\n"
                          "Qt %3 — лицензия GNU LGPL 3;\n"
                          "QCustomPlot %4 — лицензия GNU GPL 3;\n"
                          "OpenSSL (%5) — лицензия Apache 2.0;\n"
                          "zstd %6 — лицензия BSD.")
        .arg(QStringLiteral(NKP_VERSION), QStringLiteral(__DATE__), QString::fromLatin1(qVersion()),
            QStringLiteral(QCUSTOMPLOT_VERSION_STR), QStringLiteral(OPENSSL_VERSION_TEXT),
            QStringLiteral(ZSTD_VERSION_STRING));
}

}  // namespace nkp::ui

TForm_Help::TForm_Help(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form_Help"));
    setWindowTitle(QStringLiteral("Руководство пользователя"));
    Browser_Help = new QTextBrowser(this);
    Browser_Help->setObjectName(QStringLiteral("Browser_Help"));
    Browser_Help->setOpenExternalLinks(true);
    Browser_Help->setSearchPaths({nkp::ui::guideDirectory()});
    auto* contents = new QPushButton(QStringLiteral("Содержание"), this);
    auto* back = new QPushButton(QStringLiteral("Назад"), this);
    connect(contents, &QPushButton::clicked, this, [this] { showPage(QStringLiteral("index.md")); });
    connect(back, &QPushButton::clicked, Browser_Help, &QTextBrowser::backward);
    connect(Browser_Help, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    connect(Browser_Help, &QTextBrowser::sourceChanged, this, &TForm_Help::fitPictures);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Browser_Help, 1);
    // Room for the pictures of whole windows to be read.
    nkp::ui::fitToScreen(this, QSize(960, 700));
}

void TForm_Help::showPage(const QString& page)
{
    const QUrl url = QUrl::fromLocalFile(QDir(nkp::ui::guideDirectory()).filePath(page));
    Browser_Help->setSource(url, QTextDocument::MarkdownResource);
}

void TForm_Help::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitPictures();
}

void TForm_Help::fitPictures()
{
    // A picture of a whole window is wider than the help window: shown at
    // the page's width (its own where that is less), it needs no sideways
    // scrolling, and grows back with the window.
    const int room = std::max(Browser_Help->viewport()->width() - 24, 50);
    QTextDocument* document = Browser_Help->document();
    QTextCursor cursor(document);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (!format.isValid())
                continue;
            const QVariant picture = document->resource(QTextDocument::ImageResource, QUrl(format.name()));
            const QSize size = picture.value<QImage>().size();
            const int width = std::min(size.width(), room);
            if (size.isEmpty() || qRound(format.width()) == width)
                continue;
            format.setWidth(width);
            format.setHeight(static_cast<double>(size.height()) * width / size.width());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
}

QString TForm_Help::currentPage() const
{
    return QFileInfo(Browser_Help->source().toLocalFile()).fileName();
}
