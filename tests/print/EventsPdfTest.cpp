#include "KeepError.h"
#include "PdfText.h"

#include "analysis/EventsCsv.h"
#include "print/PrintDocuments.h"

#include <QFile>

#include <gtest/gtest.h>

using nkp::test::keepError;

using namespace nkp;
using namespace nkp::print;
using namespace nkp::print::test;

namespace {

bool holds(const QString& text, const QString& value)
{
    return squeezed(text).contains(squeezed(value));
}

}  // namespace

// The printout names the crane and the read-out on every page, lists every
// episode (a table continued over pages) and both spectra with their totals.
TEST(EventsPdf, ListsEveryEpisodeAndTheSpectrumUnderTheHeading)
{
    screen::MainState s = loadedGeneratedState();
    s.texts.craneModel = cp1251(QStringLiteral("КС-45717"));
    // A threshold low enough for many episodes, so the table needs pages.
    const int threshold = 20;
    const auto episodes = analysis::findEpisodes(s.frames, s.RingStart, threshold);
    ASSERT_GT(episodes.size(), 60u);

    const QString pdf = artefactPath(QStringLiteral("events.pdf"));
    std::string error;
    ASSERT_TRUE(keepError(writeEventsPdf(QFile::encodeName(pdf).toStdString(), s, threshold, ','), error))
        << error;
    savePngRenders(pdf, QStringLiteral("events"));
    const int pages = pdfPageCount(pdf);
    ASSERT_GT(pages, 1);
    for (int p = 1; p <= pages; ++p) {
        const QString page = pdfText(pdf, p, p);
        EXPECT_TRUE(holds(page, QStringLiteral("События работы крана"))) << p;
        EXPECT_TRUE(holds(page, QStringLiteral("на кран КС-45717 №") + utf8(s.texts.craneNumber))) << p;
        EXPECT_TRUE(holds(page, QStringLiteral("показание ") + utf8(s.fileName))) << p;
        EXPECT_TRUE(holds(page, QStringLiteral("Страница %1").arg(p))) << p;
        EXPECT_TRUE(holds(page, QStringLiteral("Событие"))) << p;  // the table's heading repeats
    }
    const QString text = pdfText(pdf);
    EXPECT_TRUE(holds(text, QStringLiteral("Порог перегрузки 20 %. Эпизодов: %1").arg(episodes.size())));
    for (const analysis::Episode& e : episodes) {
        const auto cells = table::rowTexts(analysis::episodeColumns(s.frames), e, ',');
        EXPECT_TRUE(holds(text, QString::fromStdString(cells[4]))) << cells[4];
    }
    const analysis::LoadSpectrum spectrum = analysis::loadSpectrum(s.frames, s.readout.cycleCounts);
    EXPECT_TRUE(holds(text, QStringLiteral("Спектр нагрузки")));
    EXPECT_TRUE(holds(text, QStringLiteral("120 и более")));
    EXPECT_TRUE(holds(text, QStringLiteral("Всего %1 100,0").arg(spectrum.validFrames)));
    EXPECT_TRUE(holds(text, QStringLiteral("Рабочие циклы")));
    EXPECT_TRUE(holds(text, QStringLiteral("Всего %1").arg(spectrum.totalCycles)));
}

// A read-out without any valid frame: one page with the heading, the note
// and both spectra at zero.
TEST(EventsPdf, NoEpisodesPrintsOnePage)
{
    screen::MainState s;
    s.fileName = "empty.nkp";
    const QString pdf = artefactPath(QStringLiteral("events-none.pdf"));
    ASSERT_TRUE(writeEventsPdf(QFile::encodeName(pdf).toStdString(), s, 100, '.'));
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(holds(text, QStringLiteral("показание empty.nkp")));
    EXPECT_TRUE(holds(text, QStringLiteral("Эпизодов: 0")));
    EXPECT_TRUE(holds(text, QStringLiteral("Событий нет.")));
    EXPECT_TRUE(holds(text, QStringLiteral("Спектр нагрузки")));
    EXPECT_TRUE(holds(text, QStringLiteral("Всего 0 0.0")));
}
