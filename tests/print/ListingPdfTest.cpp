#include "PdfText.h"

#include "print/CardTexts.h"
#include "print/OperListing.h"
#include "print/PrintDocuments.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace nkp;
using namespace nkp::print;
using namespace nkp::print::test;

namespace {

QStringList squeezedLines(const QString& text)
{
    QStringList out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString s = squeezed(line);
        if (!s.isEmpty())
            out << s;
    }
    return out;
}

QString renderListing(const screen::MainState& state, FrameRange range, const QString& name)
{
    const QString path = artefactPath(name);
    EXPECT_TRUE(writePdf(path, PdfDocument::OperationalInfo, state, range, ','));
    return path;
}

const QRegularExpression& frameTime()
{
    static const QRegularExpression re(QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d"));
    return re;
}

}  // namespace

TEST(ListingPdf, FramesZeroToFortyByPhysicalIndex)
{
    const screen::MainState s = loadedGeneratedState(6000);  // the oldest frame is record 6001
    const QString pdf = renderListing(s, {0, 40}, QStringLiteral("listing-0-40.pdf"));
    savePngRenders(pdf, QStringLiteral("listing-0-40"), 80);
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QStringList lines = squeezedLines(pdfText(pdf));

    QStringList data;
    for (const QString& line : lines)
        if (line.contains(frameTime()))
            data << line;
    ASSERT_EQ(data.size(), 41);
    for (int i = 0; i <= 40; ++i) {
        const QString expected = squeezed(utf8(listingLine(s.frames[static_cast<std::size_t>(i)], ',')));
        EXPECT_EQ(data[i], expected) << "record " << i;
    }
    // The two head lines, as the rich-text block sets them.
    EXPECT_TRUE(lines.contains(QStringLiteral("al L R P Q Вых.рел. К.З. Дис.вх. Реж. M Err Дата,время")));
    EXPECT_TRUE(lines.contains(QStringLiteral("град м м атм т")));
    EXPECT_TRUE(lines.contains(squeezed(listingFramesNote({0, 40}, s.RingStart))));
}

TEST(ListingPdf, EndBelowStartPrintsHeadAndFooterOnly)
{
    const screen::MainState s = loadedGeneratedState();
    const QString pdf = renderListing(s, {40, 39}, QStringLiteral("listing-empty.pdf"));
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QString text = pdfText(pdf);
    EXPECT_FALSE(text.contains(frameTime()));
    EXPECT_TRUE(text.contains(QStringLiteral("Дата,время")));
    EXPECT_TRUE(squeezed(text).contains(squeezed(listingFooterText(s))));
    EXPECT_TRUE(text.contains(QStringLiteral("Страница 1")));
}

TEST(ListingPdf, FooterAndHeadOnEveryPage)
{
    const screen::MainState s = loadedGeneratedState();
    const QString pdf
        = renderListing(s, {10700, 20000}, QStringLiteral("listing-tail.pdf"));  // limited to 10999
    const int pages = pdfPageCount(pdf);
    ASSERT_GE(pages, 3);
    savePngRenders(pdf, QStringLiteral("listing-tail"));
    int dataLines = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString text = pdfText(pdf, page, page);
        EXPECT_TRUE(text.contains(QStringLiteral("Страница %1").arg(page))) << "page " << page;
        EXPECT_TRUE(squeezed(text).contains(squeezed(listingFooterText(s)))) << "page " << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Дата,время"))) << "page " << page;
        // Each page names its records in memory and in the frames table.
        const int first = 10700 + dataLines;
        int onPage = 0;
        for (const QString& line : squeezedLines(text))
            onPage += line.contains(frameTime()) ? 1 : 0;
        EXPECT_TRUE(squeezedLines(text).contains(
            squeezed(listingFramesNote({first, first + onPage - 1}, s.RingStart))))
            << "page " << page;
        dataLines += onPage;
    }
    EXPECT_EQ(dataLines, 300);
}
