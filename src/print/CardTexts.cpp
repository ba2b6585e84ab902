#include "print/CardTexts.h"

#include "base/Codec.h"

namespace nkp::print {

QString fromCp1251(const std::string& cp1251)
{
    return QString::fromStdString(codec::cp1251ToUtf8(cp1251));
}

QString recorderLine(const screen::MainState& state)
{
    return QStringLiteral("по данным регистратора параметров ") + fromCp1251(state.texts.limiterModel)
        + QStringLiteral(" №") + fromCp1251(state.texts.limiterNumber);
}

QString craneLine(const screen::MainState& state)
{
    return QStringLiteral("на кран ") + fromCp1251(state.texts.craneModel) + QStringLiteral(" №")
        + fromCp1251(state.texts.craneNumber);
}

QString listingFooterText(const screen::MainState& state)
{
    return QStringLiteral("Оперативная информация о работе крана ") + fromCp1251(state.texts.craneModel)
        + QStringLiteral(" №") + fromCp1251(state.texts.craneNumber) + QStringLiteral(", записанная в РП ")
        + fromCp1251(state.texts.limiterModel) + QStringLiteral(" №") + fromCp1251(state.texts.limiterNumber);
}

QString signatureLineBeforeName()
{
    return QString(30, QLatin1Char('_')) + QString(5, QLatin1Char(' ')) + QLatin1Char('(');
}

QString signatureLine()
{
    return signatureLineBeforeName() + QString(54, QLatin1Char(' ')) + QLatin1Char(')');
}

QString signatureDateLine()
{
    // A fixed " 200" with room for one digit fits no year since 2010: print
    // "20" and leave two digits' room, the line keeping its length.
    return QLatin1Char('"') + QString(7, QLatin1Char(' ')) + QLatin1Char('"') + QString(2, QLatin1Char(' '))
        + QString(18, QLatin1Char('_')) + QStringLiteral(" 20") + QString(4, QLatin1Char(' '))
        + QStringLiteral("г.");
}

}  // namespace nkp::print
