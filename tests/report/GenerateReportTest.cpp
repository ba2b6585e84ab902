// Whole runs of the engine: template and data file in, report bytes out.
#include "ReportFixture.h"

TEST_F(ReportFixture, WorkedExampleWithPlainTextTemplate)
{
    const std::string templ
        = cp1251("Акт № #Num# от #DATE#\r\n#1##Pos#. #Name#\r\n#1#Итого: #Sum# (#Note#)\r\n");
    const std::string data
        = cp1251("|0:Num:17\r\n|1:Pos:1|1:Name:Блок\r\n|1:Pos:2|1:Name:Датчик\r\n|0:Sum:2\r\n");
    EXPECT_EQ(
        mergeBytes(templ, data), cp1251("Акт № 17 от 01.05.2007\r\n1. Блок\r\n2. Датчик\r\nИтого: 2 ()\r\n"));
}

TEST_F(ReportFixture, EmptyDataFileLeavesFieldsEmptyAndDropsBlocks)
{
    EXPECT_EQ(mergeBytes("A#X#B #DATE# #TIME##EOP#\n#1#row #Y#\n#1#end", ""), "AB 01.05.2007 09:05\f\r\nend");
    EXPECT_EQ(mergeBytes("{\\rtf1 #X##EOP#}", ""), "{\\rtf1 {\\page}}");
}

TEST_F(ReportFixture, RtfTemplateEscapesValuesAndDeclaresCyrillicCharset)
{
    const std::string templ
        = "{\\rtf1{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset0 Times;}}#A# #_SYMbol#}";
    EXPECT_EQ(mergeBytes(templ, "|0:A:{x}\\|EOL:y|EOP:z\n|0:_SYMbol:AB\xC0\n"),
        "{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset204 Times;}}"
        "\\'7Bx\\'7D\\'5C{\\par}y{\\page}z {\\f3\\lang1033\\langfe1049\\langnp1033 \\'41\\'42\\'C0 }}");
}

TEST_F(ReportFixture, TemplateNotStartingWithRtfIsPlainText)
{
    const std::string data = "|0:A:{x}\\|EOL:y\n|0:_SYM:A\n";
    EXPECT_EQ(mergeBytes(" {\\rtf1 #A# #_SYM#}", data),
        " {\\rtf1 {x}\\\r\ny {\\f3\\lang1033\\langfe1049\\langnp1033 \\'41 }}");
    EXPECT_EQ(mergeBytes("\xEF\xBB\xBF{\\rtf1 #A#}", data), "\xEF\xBB\xBF{\\rtf1 {x}\\\r\ny}");
}

TEST_F(ReportFixture, RtfGroupFieldTakesTheRowsParagraphMark)
{
    const std::string templ = "{\\rtf1 {\\i #1#}{\\i0 \\par }#V#{\\i #1#}{\\i0 \\par }end}";
    EXPECT_EQ(mergeBytes(templ, "|1:V:a\n|1:V:b\n"), "{\\rtf1 {\\i }a{\\i }b{\\i }end}");
}

TEST_F(ReportFixture, GroupZeroLineUsesOnlyItsFirstPair)
{
    EXPECT_EQ(mergeBytes("#A#,#B#", "|0:A:1|0:B:2\n"), "1,");
    // Letters instead of a group number read as group 0; a line without "|"
    // or with nothing before its first colon holds no pair.
    EXPECT_EQ(mergeBytes("#A#,#B#", "|x:A:1\nB:2\n:B:2\n"), "1,");
}

TEST_F(ReportFixture, FieldBeforeAnEmittedBlockCanNoLongerBeFilled)
{
    EXPECT_EQ(mergeBytes("#A# #1#r#V##1# #B#", "|1:V:1\n|0:A:late\n|0:B:b\n"), " r1 b");
}

TEST_F(ReportFixture, BlocksOfSeveralGroupsAndLinesWithoutPairs)
{
    // Group 2 after group 0 cuts at the first group's block; a group line
    // without pairs still emits its block; a block of an absent group is ignored.
    const std::string templ = "H#H#\n#1#a#A#\n#1##2#b#B#\n#2#F";
    EXPECT_EQ(
        mergeBytes(templ, "|0:H:h\n|2:B:1\n|1:A:2\n|1:\n|7:X:y\n|2:B:3\n"), "Hh\r\nb1\r\na2\r\na\r\nb3\r\nF");
}

TEST_F(ReportFixture, DosAndWindowsCodePagesOfDataLines)
{
    const std::string data = "|DOS:\x80 ignored\n|0:A:\x80\x81\xF0\n|WIN:\n|0:B:\x80\xC0\n";
    EXPECT_EQ(mergeBytes("#A#-#B#", data), "\xC0\xC1\xA8-\x80\xC0");
}

TEST_F(ReportFixture, CommentsCrLfAndMarkerBytesInValues)
{
    const std::string data = "# comment |0:A:no\r\n\r\n|0:A:a\x02"
                             "1**b\x03"
                             "c\r\n";
    EXPECT_EQ(mergeBytes("[#A#]#1#x#1#", data), "[a1**bc]");
}

TEST_F(ReportFixture, FontFieldLeavesNothingAndRegistersNoFont)
{
    EXPECT_EQ(mergeBytes("a#FONT=fonts\\Gost.ttf#b", ""), "ab");
}

TEST_F(ReportFixture, ChangedDelimiterHoldsForTheRestOfTheTemplate)
{
    EXPECT_EQ(mergeBytes("#@$$#$$Key$$ #Key# $$$$", "|0:Key:v\n"), "v #Key# \\'24");
}

TEST_F(ReportFixture, ProgressHookSeesEveryLineIncludingTheLastEmptyRead)
{
    std::vector<int> seen;
    mergeBytes("x", "a\n\nb\n", [&](int n) {
        seen.push_back(n);
        return 0;
    });
    EXPECT_EQ(seen, (std::vector<int> {1, 2, 3, 4}));
    seen.clear();
    mergeBytes("x", "", [&](int n) {
        seen.push_back(n);
        return 0;
    });
    EXPECT_EQ(seen, (std::vector<int> {1}));
}

TEST_F(ReportFixture, CommandLineFormOfMessagesIsUtf8)
{
    const nkp::report::RepoRTF_Error error(cp1251("Не открыт файл данных"));
    EXPECT_EQ(error.Message(), "\xCD\xE5 \xEE\xF2\xEA\xF0\xFB\xF2 \xF4\xE0\xE9\xEB \xE4\xE0\xED\xED\xFB\xF5");
    EXPECT_EQ(error.utf8(), "Не открыт файл данных");
    EXPECT_STREQ(error.what(), "Не открыт файл данных");
}

TEST_F(ReportFixture, LongDataLinesAndLineEndsAcrossReadBuffers)
{
    // A value of 1 MB, and a CR LF pair split between two reads of the file.
    const std::string big(1 << 20, 'v');
    const std::string head = "|0:A:";
    const std::string filler(65536 - head.size() - 1, 'w');
    const std::string data
        = head + filler + "\r\n|0:B:" + big + "\n|DOS:\n|0:C:" + std::string(70000, '\x80');
    EXPECT_EQ(mergeBytes("#A#|#B#|#C#", data), filler + "|" + big + "|" + std::string(70000, '\xC0'));
}

TEST_F(ReportFixture, KeyMatchingAcrossTwoNeighbouringFields)
{
    // The prepared template holds "\3A\3mid\3B\3": the key "mid" matches the
    // text between the two fields' markers as if it were a field. What the
    // engine gives then is pinned here: the text and both fields are gone,
    // and the later keys A and B find nothing to fill.
    EXPECT_EQ(mergeBytes("#A#mid#B#", "|0:mid:X\n"), "");
    EXPECT_EQ(mergeBytes("#A#mid#B#", "|0:mid:X\n|0:A:a\n|0:B:b\n"), "");
}
