// The indexed pending output against the plain text search it replaces, and
// the shapes of template that used to take quadratic time.
#include "ReportFixture.h"

#include "report/Markers.h"
#include "report/PendingText.h"
#include "report/TextSearch.h"

#include <random>

using nkp::report::fieldMarker;
using nkp::report::PendingText;

namespace {

// Random texts of the given letters and marks, random appends, replacements
// and takes: every answer equals the one of the searched text. Keys are made
// of "a" and "b" only, values of `valueLetters`.
void agreeWithTextSearch(unsigned seed, const std::string& letters, const std::string& valueLetters)
{
    std::mt19937 random(seed);
    auto word = [&](std::size_t most, const std::string& of) {
        std::string w(random() % (most + 1), ' ');
        for (char& c : w)
            c = of[random() % of.size()];
        return w;
    };
    for (int round = 0; round < 2000; ++round) {
        PendingText pending;
        std::string plain;
        for (int step = 0; step < 30; ++step) {
            const int what = static_cast<int>(random() % 10);
            if (what < 4) {
                const std::string text = word(8, letters);
                pending.append(text);
                plain += text;
            } else if (what < 9) {
                const std::string key = word(3, "ab");
                const std::string value = word(4, valueLetters);
                ASSERT_EQ(pending.contains(key),
                    nkp::report::findText(plain, fieldMarker(key)) != std::string::npos)
                    << round;
                ASSERT_EQ(
                    pending.replaceAll(key, value), nkp::report::replaceAll(plain, fieldMarker(key), value))
                    << round;
            } else {
                ASSERT_EQ(pending.take(), plain) << round;
                plain.clear();
            }
        }
        ASSERT_EQ(pending.take(), plain) << round;
    }
}

}  // namespace

TEST(PendingText, AgreesWithTextSearch)
{
    agreeWithTextSearch(7, "ab\x03\x03\x02 ", "ab");
    // Line feeds, which no key holds, in the text and in values: pieces that
    // hold one are left out of the index, and joins must carry that.
    agreeWithTextSearch(11, "ab\x03\x03\x02\n", "ab\n");
}

// Long runs in one pending text: fields filled in every order, joins of
// joins, and a final text equal to the searched one.
TEST(PendingText, LongRunsAgreeWithTextSearch)
{
    std::mt19937 random(5);
    for (int round = 0; round < 20; ++round) {
        PendingText pending;
        std::string plain;
        const int fields = 2000;
        for (int k = 0; k < fields; ++k) {
            const std::string text = (random() % 4 == 0 ? "\n" : "") + std::string(random() % 3, 'x')
                + "\x03k" + std::to_string(random() % 300) + "\x03";
            pending.append(text);
            plain += text;
        }
        for (int k = 0; k < 600; ++k) {
            const std::string key
                = random() % 8 == 0 ? std::string("x") : "k" + std::to_string(random() % 300);
            const std::string value = std::string(random() % 3, 'v') + (random() % 5 == 0 ? "\n" : "");
            ASSERT_EQ(pending.replaceAll(key, value), nkp::report::replaceAll(plain, fieldMarker(key), value))
                << round;
        }
        ASSERT_EQ(pending.take(), plain) << round;
    }
}

TEST_F(ReportFixture, ManyKeysFillTheirFields)
{
    std::string templ, data, expected;
    for (int k = 0; k < 300; ++k) {
        const std::string n = std::to_string(k);
        templ += "F" + n + "=#K" + n + "#\n";
        if (k % 3 != 2)
            data += "|0:K" + n + ":v" + n + "\n";
        expected += "F" + n + "=" + (k % 3 != 2 ? "v" + n : std::string()) + "\r\n";
    }
    EXPECT_EQ(mergeBytes(templ, data), expected);
}

TEST_F(ReportFixture, GroupFieldsBeforeAFarBrace)
{
    std::string templ = "{\\rtf1\n";
    for (int k = 0; k < 200; ++k)
        templ += "#1#\\par row " + std::to_string(k) + "\n";
    templ += "#1#\\par last\n}\n";
    // Every group field takes the text up to the next delimiter, the last one
    // up to the brace: the rows' texts are gone, the brace stays.
    EXPECT_EQ(mergeBytes(templ, "|1:A:x\n"), "{\\rtf1\r\n}\r\n");
}
