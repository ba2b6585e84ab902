// The indexed pending output against the plain text search it replaces, and
// the shapes of template that used to take quadratic time.
#include "ReportFixture.h"

#include "report/FieldPositions.h"
#include "report/Markers.h"
#include "report/PendingText.h"
#include "report/TextSearch.h"

#include <algorithm>
#include <random>
#include <vector>

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

// The template's field index answers as the search it replaces.
TEST(FieldPositions, AgreesWithTextSearch)
{
    std::mt19937 random(3);
    const std::string letters = "ab\x03\x03\x02\n";
    for (int round = 0; round < 500; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text)
            c = letters[random() % letters.size()];
        const nkp::report::FieldPositions fields(text);
        for (int probe = 0; probe < 20; ++probe) {
            std::string key(random() % 3, ' ');
            for (char& c : key)
                c = "ab"[random() % 2];
            const std::size_t from = random() % (text.size() + 2);
            ASSERT_EQ(fields.find(key, from), nkp::report::findText(text, fieldMarker(key), from)) << round;
        }
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

// Keys in reverse and from the middle outwards, many keys the template does
// not hold (searched for until an index takes over), and values with line
// breaks: every field gets its value wherever its neighbours were filled.
TEST_F(ReportFixture, ManyKeysInAnyOrder)
{
    const int n = 400;
    std::string templ, expected;
    for (int k = 0; k < n; ++k) {
        const std::string name = std::to_string(k);
        templ += "F" + name + "=#K" + name + "#";
        expected += "F" + name + "=" + (k % 5 == 4 ? std::string() : "v" + name + (k % 7 == 0 ? "\r\n" : ""));
    }
    templ += "\n#1#row #A#\n#1#end\n";
    expected += "\r\nrow x\r\nend\r\n";
    std::vector<int> order;
    for (int d = 0; d < n / 2; ++d) {
        order.push_back(n / 2 + d);
        order.push_back(n / 2 - 1 - d);
    }
    const auto dataIn = [](const std::vector<int>& keys, int absent) {
        std::string data;
        for (int k = 0; k < absent; ++k)
            data += "|0:absent" + std::to_string(k) + ":y\n";
        for (const int k : keys)
            if (k % 5 != 4)
                data += "|0:K" + std::to_string(k) + ":v" + std::to_string(k) + (k % 7 == 0 ? "|EOL:" : "")
                    + "\n";
        return data + "|1:A:x\n";
    };
    EXPECT_EQ(mergeBytes(templ, dataIn(order, 3000)), expected);
    std::reverse(order.begin(), order.end());
    EXPECT_EQ(mergeBytes(templ, dataIn(order, 0)), expected);
}

// Lines of a group with a block between lines of group 0 and of a group
// with no block: each block is looked for once, and the output is as if the
// template were searched every time.
TEST_F(ReportFixture, AlternatingGroupsWithAndWithoutBlocks)
{
    const std::string templ = "H #T#\n#2#r #B#\n#2#E\n";
    EXPECT_EQ(mergeBytes(templ, "|0:T:t\n|2:B:1\n|0:T:u\n|3:C:z\n|2:B:2\n"), "H t\r\nr 1\r\nr 2\r\nE\r\n");
    std::string data = "|0:T:t\n", expected = "H t\r\n";
    for (int k = 0; k < 50; ++k) {
        data += "|0:X:x\n|" + std::to_string(3 + k % 2) + ":C:z\n|2:B:" + std::to_string(k) + "\n";
        expected += "r " + std::to_string(k) + "\r\n";
    }
    EXPECT_EQ(mergeBytes(templ, data), expected + "E\r\n");
}
