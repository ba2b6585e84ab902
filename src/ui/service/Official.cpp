#include "ui/service/Official.h"

#include "screen/HexDump.h"
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
    Memo_Official->setPlainText(QString::fromLatin1(nkp::screen::hexDump(serviceArea, baseOffset)));
}
