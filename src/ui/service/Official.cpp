#include "ui/service/Official.h"

#include "ui/common/UiText.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

TForm_Official::TForm_Official(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_Official"));
    Memo_Official = nkp::ui::setUpMemoWindow(
        this, QStringLiteral("Служебная информация"), QSize(696, 480), QStringLiteral("Memo_Official"));
    Memo_Official->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo_Official->setTabChangesFocus(false);
    Memo_Official->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QPalette palette = Memo_Official->palette();
    palette.setColor(QPalette::Text, QColor(0, 0, 128));
    Memo_Official->setPalette(palette);
}

void TForm_Official::showServiceArea(const std::vector<std::uint8_t>& serviceArea, std::size_t baseOffset)
{
    Memo_Official->setPlainText(nkp::ui::hexDump(serviceArea, baseOffset));
}

namespace nkp::ui {

QString hexDump(const std::vector<std::uint8_t>& bytes, std::size_t baseOffset)
{
    QStringList lines;
    for (std::size_t line = 0; line < bytes.size(); line += 16) {
        QString hex, ascii;
        for (std::size_t i = line; i < line + 16; ++i) {
            if (i < bytes.size()) {
                hex += QStringLiteral("%1 ").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
                ascii += bytes[i] >= 32 && bytes[i] < 127 ? QChar(static_cast<char16_t>(bytes[i]))
                                                          : QLatin1Char('.');
            } else {
                hex += QStringLiteral("   ");
            }
        }
        lines << QStringLiteral("%1  %2 %3").arg(baseOffset + line, 6).arg(hex, ascii);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace nkp::ui
