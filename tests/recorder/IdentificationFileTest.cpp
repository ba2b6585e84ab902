#include "recorder/IdentificationFile.h"
#include "KeepError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using nkp::test::keepError;

using namespace nkp::device;
namespace fs = std::filesystem;

namespace {

InfFields sampleFields()
{
    InfFields f;
    for (std::size_t i = 0; i < f.size(); ++i)
        f[i] = "field" + std::to_string(i + 1);
    f[0] = "\xCE\xCE\xCE \"\xD1\xE5\xF0\xE2\xE8\xF1\"";  // ООО "Сервис", Windows-1251
    f[5] = "";                                           // an empty field gives an empty line
    return f;
}

std::string joined(const InfFields& f, const std::string& eol)
{
    std::string out;
    for (const auto& line : f)
        out += line + eol;
    return out;
}

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("nkp_inf_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
};

}  // namespace

TEST(IdentificationFile, WritesThirteenLinesWithCrLfAndReadsEveryLineEnd)
{
    const InfFields f = sampleFields();
    EXPECT_EQ(buildInf(f), joined(f, "\r\n"));
    for (const std::string eol : {"\r\n", "\n", "\r"}) {
        const InfParseResult r = parseInf(joined(f, eol));
        EXPECT_TRUE(r.complete()) << eol.size();
        EXPECT_EQ(r.fields, f);
    }
    // Mixed line ends, a last line without one, lines after the 13th ignored.
    std::string mixed = "a\rb\nc\r\n\r\n";
    for (int i = 5; i <= 13; ++i)
        mixed += "l" + std::to_string(i) + (i % 2 ? "\n" : "\r");
    mixed += "ignored\r\n";
    const InfParseResult r = parseInf(mixed);
    EXPECT_TRUE(r.complete());
    EXPECT_EQ(r.fields[0], "a");
    EXPECT_EQ(r.fields[2], "c");
    EXPECT_EQ(r.fields[3], "");
    EXPECT_EQ(r.fields[12], "l13");
    EXPECT_EQ(parseInf("x\r\ny").lineCount, 2u);
}

TEST(IdentificationFile, ShortFilesReportTheLinesFoundAndOddBytesStayInTheirLine)
{
    EXPECT_EQ(parseInf("").lineCount, 0u);
    EXPECT_EQ(parseInf("\r\n").lineCount, 1u);
    const InfParseResult r = parseInf("one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(r.lineCount, 3u);
    EXPECT_FALSE(r.complete());
    EXPECT_EQ(r.fields[2], "three");
    EXPECT_EQ(r.fields[3], "");

    std::string nul("a\0b", 3);
    const std::string huge(1 << 20, '\xC0');
    const InfParseResult odd = parseInf(nul + "\n" + huge + "\n");
    EXPECT_EQ(odd.fields[0], nul);
    EXPECT_EQ(odd.fields[1], huge);
    EXPECT_EQ(odd.lineCount, 2u);

    // A field with a line end inside would shift the lines after it.
    InfFields f {};
    f[0] = "x\r\ny";
    EXPECT_EQ(parseInf(buildInf(f)).fields[0], "x  y");
}

TEST(IdentificationFile, RoundTripThroughFilesAndAFailedSaveLeavesTheOldFile)
{
    TempDir dir;
    const fs::path file = dir.path / "crane.inf";
    const InfFields f = sampleFields();
    std::string error;
    ASSERT_TRUE(keepError(saveInf(file.string(), f), error)) << error;
    EXPECT_EQ(slurp(file), joined(f, "\r\n"));
    const auto loaded = loadInf(file.string());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->fields, f);

    const auto missing = loadInf((dir.path / "none.inf").string());
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.error().empty());
    EXPECT_FALSE(loadInf(dir.path.string()));  // a folder
    EXPECT_FALSE(loadInf("/dev/zero"));        // a device is never read

    EXPECT_FALSE(keepError(saveInf((dir.path / "missing" / "x.inf").string(), f), error));
    EXPECT_NE(error.find("x.inf"), std::string::npos);
    if (::geteuid() != 0) {  // root ignores permissions
        fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
        InfFields other {};
        EXPECT_FALSE(keepError(saveInf(file.string(), other), error));
        EXPECT_NE(error.find("crane.inf"), std::string::npos);
        EXPECT_EQ(slurp(file), joined(f, "\r\n"));
    }
}
