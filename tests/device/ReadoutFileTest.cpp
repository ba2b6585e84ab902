#include "device/ReadoutFile.h"
#include "KeepError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using nkp::test::keepError;

using namespace nkp::device;
namespace fs = std::filesystem;

TEST(ReadoutFile, StatusTextAndReadingDate)
{
    std::vector<std::uint8_t> image(270336, 0);
    EXPECT_EQ(imageStatusText(image), "");
    const std::string text = "ABCDEFGHIJKLMNOPQ";
    std::copy(text.begin(), text.end(), image.begin() + 232419);
    EXPECT_EQ(imageStatusText(image), "ABCDEFGHIJKLMNO");  // all 15 when none is zero
    image[232419 + 3] = 0;
    EXPECT_EQ(imageStatusText(image), "ABC");
    EXPECT_EQ(imageStatusText({}), "");

    EXPECT_EQ(readingDateText(nkp::base::DateTime {2026, 3, 4, 5, 6}), "04.03.2026 05:06");
}

TEST(ReadoutFile, SavedFileIsTheImageThenTheIdentificationBlock)
{
    const fs::path file = fs::temp_directory_path() / ("nkp_readout_" + std::to_string(::getpid()) + ".nkp");
    std::vector<std::uint8_t> image(270336);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i % 253);
    InfFields f {};
    f[5] = "123456789012";  // crane number, 10 wide: cut
    f[12] = "0000000";      // controller number ends the file
    std::string error;
    ASSERT_TRUE(keepError(saveReadout(file.string(), image, f, "04.03.2026 05:06"), error)) << error;

    std::ifstream in(file, std::ios::binary);
    const std::string bytes {std::istreambuf_iterator<char>(in), {}};
    fs::remove(file);
    std::string expected(image.begin(), image.end());
    expected.resize(270636, '\0');
    expected.replace(270459, 17, std::string("04.03.2026 05:06") + '\0');
    expected.replace(270491, 10, "1234567890");
    expected.replace(270629, 7, "0000000");
    ASSERT_EQ(bytes.size(), 270636u);
    EXPECT_TRUE(bytes == expected);
}
