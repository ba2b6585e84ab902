#include "ui/common/UiText.h"

#include "base/Codec.h"
#include "ui/common/ScreenFit.h"

#include <QDialog>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringList>
#include <QVBoxLayout>

namespace nkp::ui {

QString fromCp1251(std::string_view cp1251)
{
    return QString::fromStdString(codec::cp1251ToUtf8(cp1251));
}

std::string toCp1251(const QString& text)
{
    return codec::utf8ToCp1251(text.toStdString());
}

std::string cp1251(const char* utf8)
{
    return codec::utf8ToCp1251(utf8);
}

char systemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() > 32 && point.at(0).unicode() < 127)
        return static_cast<char>(point.at(0).unicode());
    return ',';
}

QString qtFileFilter(const QString& delphiFilter)
{
    const QStringList parts = delphiFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QStringList masks = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QStringList cleanMasks;
        for (const QString& mask : masks)
            cleanMasks << mask.trimmed();
        const QString maskList = cleanMasks.join(QLatin1Char(' '));
        // Qt takes the patterns from the description's last parentheses:
        // a description that already names exactly these masks stands alone.
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            const QStringList shown
                = description.mid(open + 1, description.size() - open - 2)
                      .split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
            if (open >= 0 && shown == cleanMasks) {
                filters << description;
                continue;
            }
        }
        filters << description + QStringLiteral(" (") + maskList + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QPlainTextEdit* setUpMemoWindow(QDialog* window, const QString& caption, QSize size, const QString& memoName)
{
    window->setWindowTitle(caption);
    fitToScreen(window, size);
    auto* memo = new QPlainTextEdit(window);
    memo->setObjectName(memoName);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo);
    return memo;
}

}  // namespace nkp::ui
