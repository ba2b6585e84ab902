#pragma once

#include "screen/MainState.h"

#include <QString>
#include <QStringList>

// Reading rendered PDF files back with poppler-utils, and a loaded generated
// read-out to print.
namespace nkp::print::test {

// The text of pages first..last (0: to the end) as pdftotext lays it out.
QString pdfText(const QString& pdf, int first = 1, int last = 0);
int pdfPageCount(const QString& pdf);
// Renders every page to PNG files named `stem`-N.png in the artefacts folder.
void savePngRenders(const QString& pdf, const QString& stem, int dpi = 60);
QString artefactsDir();
// A file name in the artefacts folder.
QString artefactPath(const QString& name);

// Text with every run of blanks and tabs turned into one blank.
QString squeezed(const QString& text);

// A generated read-out, loaded as the window loads it, with ',' as separator.
screen::MainState loadedGeneratedState(int wrapIndex = 6000);

QString utf8(const std::string& cp1251);
std::string cp1251(const QString& text);

}  // namespace nkp::print::test
