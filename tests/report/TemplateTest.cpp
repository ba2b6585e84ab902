// Template preparation, byte for byte: the prepared text holds the engine's
// markers (byte 3 around a field name, byte 2 and three characters for a group).
#include "report/FieldName.h"
#include "report/PrepareTemplate.h"

#include <gtest/gtest.h>

using namespace nkp::report;

namespace {

const nkp::base::DateTime kMay1st {2007, 5, 1, 23, 59};

std::string prepared(const std::string& text)
{
    return prepareTemplate(text, kMay1st).text;
}
std::string field(const std::string& name)
{
    return "\x03" + name + "\x03";
}
const std::string kGroup1 = "\x02"
                            "1**";
const std::string kGroup3 = "\x02"
                            "3**";

}  // namespace

TEST(PrepareTemplate, SpecialFieldsInBothKinds)
{
    EXPECT_EQ(prepared("a##b #DATE# #TIME# #EOP#"), "a\\'23b 01.05.2007 23:59 \f");
    EXPECT_EQ(prepared("{\\rtf1 a##b #EOP#}"), "{\\rtf1 a\\'23b {\\page}}");
    EXPECT_TRUE(prepareTemplate("{\\rtf1}", kMay1st).rtf);
    EXPECT_FALSE(prepareTemplate(" {\\rtf1}", kMay1st).rtf);
    EXPECT_FALSE(prepareTemplate("", kMay1st).rtf);
    EXPECT_EQ(prepared(""), "");
    EXPECT_EQ(prepared("{\\rtf1{\\f0\\fcharset0 A;}{\\f1\\fcharset0 B;}}"),
        "{\\rtf1{\\f0\\fcharset204 A;}{\\f1\\fcharset204 B;}}");
}

TEST(PrepareTemplate, FieldNamesLoseTheFormattingAWordProcessorPutInside)
{
    EXPECT_EQ(prepared("#Ti{\\b tle}#|#Ti\\b tle#|#Tip{\\i Krana}#"),
        field("Title") + "|" + field("Title") + "|" + field("TipKrana"));
    EXPECT_EQ(prepared("#A-B.c d#|#x{y#|#x\\y}z#"), field("ABcd") + "|" + field("xy") + "|" + field("xz"));
    // Cyrillic letters vanish from a plain-text field ("Поле1" is group 1);
    // in RTF they stand as hex escapes and the name is kept whole.
    EXPECT_EQ(prepared("#\xCF\xEE\xEB\xE5"
                       "1#"),
        kGroup1);
    EXPECT_EQ(
        prepared("{\\rtf1 #\\'cf\\'ee\\'eb\\'e51#}"), "{\\rtf1 " + field("\\'cf\\'ee\\'eb\\'e51") + "}");
}

TEST(PrepareTemplate, GroupFields)
{
    EXPECT_EQ(prepared("a#0#b#D#c#00#d"), "abcd");
    EXPECT_EQ(prepared("#D3##3D##3##003#"), kGroup3 + kGroup3 + kGroup3 + kGroup3);
    EXPECT_EQ(prepared("#12##1234##123#"),
        "\x02"
        "12*"
        "\x02"
        "123"
        "\x02"
        "123");
    // Seven characters are read after a leading "D"; any number otherwise.
    EXPECT_EQ(prepared("#D00000001##D12345678##99999999999999999999999#"),
        "\x02"
        "123"
        "\x02"
        "999");
    EXPECT_EQ(prepared("#D3D##3D3##DX#"), field("D3D") + field("3D3") + field("DX"));
    EXPECT_EQ(groupFieldMarker("D"), std::string());
    EXPECT_EQ(groupFieldMarker(""), std::nullopt);
}

TEST(PrepareTemplate, RtfTextAfterAGroupFieldIsRemoved)
{
    EXPECT_EQ(prepared("{\\rtf1 {\\i #1#}{\\i0 \\par }x}"), "{\\rtf1 {\\i " + kGroup1 + "}x}");
    // A delimiter before the next "}" ends the removal there.
    EXPECT_EQ(prepared("{\\rtf1 #1# x #A# y}"), "{\\rtf1 " + kGroup1 + field("A") + " y}");
    // Without a later "}" only a brace right after the field goes.
    EXPECT_EQ(prepared("{\\rtf1 #1#} x"), "{\\rtf1 " + kGroup1 + " x");
    // Plain text keeps everything.
    EXPECT_EQ(prepared("{\\i #1#}{\\i0 \\par }x"), "{\\i " + kGroup1 + "}{\\i0 \\par }x");
}

TEST(PrepareTemplate, DelimiterChange)
{
    EXPECT_EQ(prepared("#@$$#$$Key$$ #Key#"), field("Key") + " #Key#");
    EXPECT_EQ(prepared("#@#a#b"), "a#b");  // an empty delimiter ends the scan
    EXPECT_EQ(prepared("#@3#33 3D3"), "\\'33 ");
    const std::string longDelimiter(70000, 'a');
    EXPECT_EQ(prepared("#@" + longDelimiter + "b#x" + longDelimiter + "bKey" + longDelimiter + "by"),
        "x" + field("Key") + "y");
}

TEST(PrepareTemplate, UnpairedDelimiterIsAStructureError)
{
    EXPECT_THROW(prepared("#A# #B"), TemplateStructureError);
    EXPECT_THROW(prepared("#"), TemplateStructureError);
    EXPECT_THROW(prepared("#@$$#$$A"), TemplateStructureError);
}

TEST(PrepareTemplate, HugeAndOddNamesStayLinear)
{
    const std::string braces(200000, '{');
    EXPECT_EQ(prepared("#" + braces + "#"), field(""));
    std::string name;
    for (int i = 0; i < 50000; ++i)
        name += "x\\ ";
    EXPECT_EQ(prepared("#" + name + "#"), field(std::string(50000, 'x')));
}
