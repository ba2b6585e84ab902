#pragma once

#include "screen/MainState.h"

#include <QString>

#include <string>

// Texts of the printouts that join several of the main window's texts.
namespace nkp::print {

// A Windows-1251 text of the core as a QString.
QString fromCp1251(const std::string& cp1251);

// "по данным регистратора параметров " + limiter model + " №" + limiter number.
QString recorderLine(const screen::MainState& state);
// "на кран " + crane model + " №" + crane number.
QString craneLine(const screen::MainState& state);
// Footer of the operational information.
QString listingFooterText(const screen::MainState& state);

// The signature line: 30 underscores, five blanks and a pair of parentheses
// around 54 blanks where the person's name is centred.
QString signatureLine();
QString signatureLineBeforeName();  // up to and including "("
// The date line. It leaves room for the last two digits of a year of this
// century after a printed "20".
QString signatureDateLine();

}  // namespace nkp::print
