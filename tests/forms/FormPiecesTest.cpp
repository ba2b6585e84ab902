// The small rules the forms share: document names, stamps, shortened times,
// limiter year.
#include "FormTestSupport.h"

#include "forms/DocumentName.h"
#include "forms/FormKeys.h"
#include "forms/InstalledTemplates.h"
#include "forms/PreviousFrames.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace nkp::forms::test {
namespace {

TEST(FormPieces, DocumentNameAndStamp)
{
    EXPECT_EQ(documentName(2, cp("КС-ХХХХХА-ХХ"), "178", {2007, 4, 8, 15, 54}),
        cp("Форма 2 (КС-ХХХХХА-ХХ №178 08.04.07 15-54).rtf"));
    EXPECT_EQ(documentStamp({2010, 12, 31, 0, 5}), "31.12.10 00-05");
    EXPECT_EQ(documentStamp({2000, 1, 2, 23, 59}), "02.01.00 23-59");
}

TEST(FormPieces, FileNameSafeReplacesEveryForbiddenCharacter)
{
    EXPECT_EQ(fileNameSafe("a/b\\c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(fileNameSafe(std::string("x\ny\x01z\x7F", 6)), "x_y_z_");
    // Cyrillic bytes, dots, blanks and "№" stay.
    EXPECT_EQ(fileNameSafe(cp("КС-5.1 №7")), cp("КС-5.1 №7"));
}

TEST(FormPieces, ShortenedDateTimeText)
{
    EXPECT_EQ(shortenedDateTimeText("25.03.2007 14:05:33"), "25.03.2007 14:05");
    EXPECT_EQ(shortenedDateTimeText("25.03.2007"), "25.03.2007");
    EXPECT_EQ(shortenedDateTimeText("25.03.2007 14:05"), "25.03.2007 14:05");
    EXPECT_EQ(shortenedDateTimeText("25.03.2007 14:05:3"), "25.03.2007 14:05");
    EXPECT_EQ(shortenedDateTimeText(""), "");
}

TEST(FormPieces, LimiterYear)
{
    EXPECT_EQ(limiterYearText("7123"), "2007");
    EXPECT_EQ(limiterYearText("00123654"), "2000");
    EXPECT_EQ(limiterYearText(""), "");
}

TEST(FormPieces, FirstTestPositionFollowsTheRing)
{
    screen::MainState state;
    state.newestFrame = 4999;  // the latest reading's RingStart is 5000
    applyPreviousRing(state, PreviousRing {5000, {2007, 3, 25, 0, 0, 0}});
    EXPECT_EQ(state.firstTestPosition, 10999);
    EXPECT_EQ(state.previousNewestFrameTime, "25.03.2007");
    applyPreviousRing(state, PreviousRing {3000, {2007, 3, 25, 10, 11, 12}});
    EXPECT_EQ(state.firstTestPosition, 8999);
    EXPECT_EQ(state.previousNewestFrameTime, "25.03.2007 10:11");
    applyPreviousRing(state, PreviousRing {6000, {}});
    EXPECT_EQ(state.firstTestPosition, 999);  // passed the ring's end: 11999 taken round
    state.newestFrame = 10999;
    applyPreviousRing(state, PreviousRing {1, {}});
    EXPECT_EQ(state.firstTestPosition, 0);
    EXPECT_EQ(frameRangeText(state), "0 - 10999");
}

}  // namespace
}  // namespace nkp::forms::test

// A start folder without "Шаблоны форм" takes the installed templates and
// writes its form data files beside the documents; one with it keeps its own.
TEST(FormPieces, InstalledTemplatesOnlyWithoutLocalOnes)
{
    namespace fs = std::filesystem;
    const fs::path start = fs::temp_directory_path() / ("nkp-forms-start-" + std::to_string(::getpid()));
    fs::remove_all(start);
    fs::create_directories(start);
    const std::string installed = "/usr/share/nkp3/templates";

    nkp::forms::FormFolders f = nkp::forms::formFoldersFor(start.string(), installed);
    EXPECT_EQ(f.templates, installed);
    EXPECT_EQ(f.dataFiles, (start / "Формы").string());
    EXPECT_EQ(f.documents, (start / "Формы").string());

    // Nothing installed: the local folder stays, so that its absence is reported by name.
    f = nkp::forms::formFoldersFor(start.string(), "");
    EXPECT_EQ(f.templates, (start / "Шаблоны форм").string());

    fs::create_directory(start / "Шаблоны форм");
    f = nkp::forms::formFoldersFor(start.string(), installed);
    EXPECT_EQ(f.templates, (start / "Шаблоны форм").string());
    EXPECT_EQ(f.dataFiles, (start / "Шаблоны форм").string());
    fs::remove_all(start);
}

TEST(FormPieces, DataFileLinesKeepValuesOnTheirLine)
{
    const std::vector<nkp::forms::KeyLine> lines
        = {{"TipKrana", "KS\r\n45717"}, {"Vlad", "a\nb\rc"}, {"Pusto", ""}};
    EXPECT_EQ(nkp::forms::formDataFileText(lines), "|0:TipKrana:KS  45717\r\n|0:Vlad:a b c\r\n|0:Pusto:\r\n");
}
