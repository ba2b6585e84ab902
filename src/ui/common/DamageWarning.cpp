#include "ui/common/DamageWarning.h"

#include "ui/common/UiText.h"

#include <QFontMetrics>
#include <QLabel>

namespace nkp::ui {
namespace {

const QString kStyle = QStringLiteral(
    "QLabel { background: #ffd6d6; color: #8b0000; border: 1px solid #c00000; padding: 2px 6px; }");

QString logLink()
{
    return QStringLiteral("<a href=\"%1\">Открыть лог ошибок</a>").arg(kErrorLogLink);
}

}  // namespace

QLabel* damageBanner()
{
    auto* line = new QLabel;
    line->setObjectName(QStringLiteral("Label_Damage"));
    line->setTextFormat(Qt::RichText);
    line->setWordWrap(true);
    line->setStyleSheet(kStyle);
    line->hide();
    return line;
}

void showDamage(QLabel* line, const std::string& warning)
{
    if (warning.empty()) {
        line->clear();
        line->hide();
        return;
    }
    line->setText(
        QStringLiteral("<b>%1</b>&nbsp;&nbsp; %2").arg(fromCp1251(warning).toHtmlEscaped(), logLink()));
    line->setToolTip(fromCp1251(warning));
    line->show();
}

void showDamageInPanel(QLabel* panel, const std::string& warning)
{
    if (warning.empty()) {
        panel->clear();
        panel->setToolTip({});
        panel->setStyleSheet({});
        return;
    }
    const QString text = fromCp1251(warning);
    const QFontMetrics metrics(panel->font());
    const QString link = QStringLiteral("Лог ошибок");
    const int room = panel->width() - metrics.horizontalAdvance(link + QStringLiteral("    ")) - 16;
    panel->setTextFormat(Qt::RichText);
    panel->setStyleSheet(kStyle);
    panel->setText(
        QStringLiteral("%1&nbsp; <a href=\"%2\">%3</a>")
            .arg(metrics.elidedText(text, Qt::ElideRight, room).toHtmlEscaped(), kErrorLogLink, link));
    panel->setToolTip(text);
}

QString captionWithDamage(const QString& title, const std::string& warning)
{
    return warning.empty() ? title : title + QStringLiteral(" \u2014 ") + fromCp1251(warning);
}

}  // namespace nkp::ui
