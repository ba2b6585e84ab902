#include "KeepError.h"
#include "recorder/DataFileReader.h"
#include "recorder/DataFileWriter.h"
#include "recorder/Frame.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <unistd.h>

using nkp::test::keepError;

using namespace nkp::recorder;

namespace {

std::vector<std::uint8_t> bytesOf(std::string_view s)
{
    return {s.begin(), s.end()};
}

DataFileReader readerOf(std::vector<std::uint8_t> bytes)
{
    return DataFileReader(std::move(bytes));
}

}  // namespace

TEST(DataFileLayout, FieldTableIsContiguous)
{
    const auto& fields = identificationFields();
    EXPECT_EQ(fields.front().offset, 270337u);
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(fields[i].field), i);
        EXPECT_EQ(fields[i].offset + fields[i].width, fields[i + 1].offset) << fields[i].name;
    }
    EXPECT_EQ(fieldLayout(IdField::ControllerNumber).offset, 270629u);
    EXPECT_EQ(fieldLayout(IdField::ReadingDate).width, 17u);
}

TEST(DataFileReader, CountersAndFixedPoint)
{
    std::vector<std::uint8_t> bytes(kImageSize, 0);
    bytes[264004] = 0x01;
    bytes[264005] = 0x02;
    bytes[264006] = 0x03;
    // 158.5: b2 = 158, b1 = 0x80.
    bytes[264027] = 0x80;
    bytes[264028] = 158;
    bytes[264110] = 0x78;
    bytes[264111] = 0x56;
    bytes[264112] = 0x34;
    bytes[264113] = 0x12;
    const auto r = readerOf(bytes);
    EXPECT_EQ(r.read24(kOperatingMinutesOffset), 0x030201u);
    EXPECT_EQ(r.read40Fixed16(kCharacteristicOffset), 158.5);
    EXPECT_EQ(r.read32(kLiftedMassOffset), 0x12345678u);

    std::fill(bytes.begin() + 264026, bytes.begin() + 264031, 0xFF);
    EXPECT_EQ(readerOf(bytes).read40Fixed16(kCharacteristicOffset), 1099511627775.0 / 65536.0);
    bytes[264026] = 0x01;  // the smallest step, 1/65536
    std::fill(bytes.begin() + 264027, bytes.begin() + 264031, 0);
    EXPECT_EQ(readerOf(bytes).read40Fixed16(kCharacteristicOffset), 0.0000152587890625);
}

TEST(DataFileReader, BeyondTheEndReadsZeros)
{
    // The file ends inside the operating-time counter.
    std::vector<std::uint8_t> bytes(264005, 0xFF);
    const auto r = readerOf(bytes);
    EXPECT_EQ(r.read24(kOperatingMinutesOffset), 0xFFu);
    EXPECT_EQ(r.read24(kCycleCountersOffset), 0u);
    // A frame cut by the end: its missing bytes are zeros.
    const auto cut = readerOf(std::vector<std::uint8_t>(24 * 5 + 10, 0xAB));
    const FrameBytes f = cut.frame(5);
    EXPECT_EQ(f[9], 0xAB);
    EXPECT_EQ(f[10], 0);
    EXPECT_EQ(f[23], 0);
    EXPECT_EQ(cut.frame(10999), FrameBytes {});
    EXPECT_EQ(readerOf({}).text(IdField::ServiceOrg), "");
    EXPECT_EQ(readerOf({}).byte(0), 0);
}

TEST(DataFileReader, TextFields)
{
    std::vector<std::uint8_t> bytes(kIdentificationOffset, 0);
    EXPECT_EQ(readerOf(bytes).identification(), Identification {});  // ends at the gap byte

    // Crane number filling its 10 bytes, followed directly by the year.
    bytes.resize(270629 + 3, 0);
    const std::string number = "1234567890";
    std::copy(number.begin(), number.end(), bytes.begin() + 270491);
    const std::string year = "2006";
    std::copy(year.begin(), year.end(), bytes.begin() + 270501);
    // The model holds a zero in the middle: the text ends there.
    bytes[270476] = 'K';
    bytes[270477] = 0;
    bytes[270478] = 'X';
    bytes[270629] = '7';
    bytes[270630] = '8';
    bytes[270631] = '9';
    const auto r = readerOf(bytes);
    EXPECT_EQ(r.text(IdField::CraneNumber), number);
    EXPECT_EQ(r.text(IdField::CraneYear), year);
    EXPECT_EQ(r.text(IdField::CraneModel), "K");
    EXPECT_EQ(r.text(IdField::ControllerNumber), "789");  // runs to the end of the file

    // A file ending inside a field reads the part that is there.
    bytes.resize(270501 + 2);
    EXPECT_EQ(readerOf(bytes).text(IdField::CraneYear), "20");
}

TEST(DataFileWriter, ByteLayoutAndLength)
{
    std::vector<std::uint8_t> image(kImageSize);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + 1);

    // With every text empty only the reading date's zero is written.
    auto empty = buildDataFile(image, {});
    ASSERT_EQ(empty.size(), 270459u + 1);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), empty.begin()));
    EXPECT_TRUE(std::all_of(empty.begin() + 270336, empty.end(), [](auto b) { return b == 0; }));

    Identification id;
    id[IdField::CraneModel] = "ABC";
    auto out = buildDataFile(image, id);
    ASSERT_EQ(out.size(), 270476u + 3);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), out.begin()));
    EXPECT_EQ(out[270336], 0);  // the gap byte
    EXPECT_TRUE(std::all_of(out.begin() + 270337, out.begin() + 270476, [](auto b) { return b == 0; }));
    EXPECT_EQ(std::string(out.begin() + 270476, out.end()), "ABC");

    // The reading date is cut to 16 characters and always followed by its zero.
    id = {};
    id[IdField::ReadingDate] = "01.02.2024 10:20:30";
    out = buildDataFile(image, id);
    ASSERT_EQ(out.size(), 270459u + 17);
    EXPECT_EQ(std::string(out.begin() + 270459, out.begin() + 270475), "01.02.2024 10:20");
    EXPECT_EQ(out.back(), 0);
    id[IdField::ReadingDate] = "";
    EXPECT_EQ(buildDataFile(image, id).size(), 270459u + 1);

    // Texts are cut to their width, without a terminating zero.
    id = {};
    id[IdField::ServiceOrg] = std::string(60, 'o');
    id[IdField::LimiterNumber] = "123456789";
    id[IdField::ControllerNumber] = "K-17";
    out = buildDataFile(image, id);
    ASSERT_EQ(out.size(), 270629u + 4);
    EXPECT_EQ(std::string(out.begin() + 270337, out.begin() + 270387), std::string(50, 'o'));
    EXPECT_EQ(out[270387], 0);
    EXPECT_EQ(std::string(out.begin() + 270621, out.begin() + 270629), "12345678");
    EXPECT_EQ(std::string(out.begin() + 270629, out.end()), "K-17");

    // A short image is padded with zeros, a long one cut.
    out = buildDataFile(bytesOf("xy"), {});
    ASSERT_EQ(out.size(), 270460u);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(out[2], 0);
    out = buildDataFile(std::vector<std::uint8_t>(kImageSize + 10, 1), {});
    EXPECT_EQ(out[kImageSize], 0);
}

TEST(DataFileWriter, RoundTripThroughTheReader)
{
    Identification id;
    const std::string cyrillic = "\xCA\xD1-55713-1";  // "КС-55713-1"
    id[IdField::CraneModel] = cyrillic;
    id[IdField::NormGroup] = "\xC0"
                             "5";
    id[IdField::CraneNumber] = "0123456789";
    id[IdField::ReadingDate] = "01.02.2024 10:20";
    id[IdField::ControllerNumber] = "77";
    const auto reader = readerOf(buildDataFile(std::vector<std::uint8_t>(kImageSize, 0xFF), id));
    EXPECT_EQ(reader.identification(), id);
}

TEST(DataFileWriter, WritesTheFileOnDisk)
{
    const auto dir = std::filesystem::temp_directory_path() / ("nkp_writer_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "a.nkp").string();
    Identification id;
    id[IdField::Operator] = "x";
    std::string error;
    ASSERT_TRUE(keepError(writeDataFile(path, std::vector<std::uint8_t>(kImageSize, 3), id), error)) << error;
    EXPECT_EQ(std::filesystem::file_size(path), 270459u + 1);  // up to the reading date's zero
    auto opened = keepError(DataFileReader::open(path), error);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->text(IdField::Operator), "x");
    EXPECT_EQ(opened->fileSize(), 270460u);
    EXPECT_FALSE(keepError(writeDataFile((dir / "no" / "b.nkp").string(), {}, id), error));
    EXPECT_FALSE(keepError(DataFileReader::open(dir.string()), error));  // a folder
    EXPECT_FALSE(keepError(DataFileReader::open((dir / "none").string()), error));

    // A much longer file is read no further than the identification needs.
    const std::string longPath = (dir / "long.nkp").string();
    std::ofstream(longPath, std::ios::binary) << std::string(kMaxReadSize + 1000, 'z');
    opened = DataFileReader::open(longPath);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->size(), kMaxReadSize);
    EXPECT_EQ(opened->fileSize(), kMaxReadSize + 1000);
    std::filesystem::remove_all(dir);
}

TEST(Checksum, SumsTheFirst264192Bytes)
{
    std::vector<std::uint8_t> image(kImageSize, 0xFF);
    EXPECT_EQ(imageChecksum(image.data(), image.size()), 264192u * 255u);
    EXPECT_EQ(imageChecksum(image.data(), 13), 13u * 255u);
    EXPECT_EQ(imageChecksum(image.data(), 0), 0u);

    std::mt19937 rng(5);
    for (auto& b : image)
        b = static_cast<std::uint8_t>(rng());
    for (const std::size_t size : {std::size_t {1}, std::size_t {7}, std::size_t {1031}, std::size_t {264191},
             kChecksumOffset, kImageSize}) {
        std::uint32_t expected = 0;
        for (std::size_t i = 0; i < std::min(size, kChecksumOffset); ++i)
            expected += image[i];
        EXPECT_EQ(imageChecksum(image.data(), size), expected) << size;
    }
    // The stored value sits little-endian after the covered bytes.
    image[264192] = 0x04;
    image[264193] = 0x03;
    image[264194] = 0x02;
    image[264195] = 0x01;
    const auto r = readerOf(image);
    EXPECT_EQ(r.storedChecksum(), 0x01020304u);
    EXPECT_EQ(r.computedChecksum(), imageChecksum(image.data(), image.size()));
}

// A FIFO or a folder named like a read-out is refused at once: opening must
// never wait for a writer that does not come.
TEST(DataFileReader, RefusesWhatIsNoRegularFileWithoutBlocking)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("nkp-fifo-" + std::to_string(::getpid()));
    fs::create_directories(dir / "folder.nkp");
    const std::string fifo = (dir / "pipe.nkp").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    auto opened = std::async(std::launch::async, [&] {
        std::string error;
        const bool ok = keepError(DataFileReader::open(fifo), error).ok();
        return std::make_pair(ok, error);
    });
    if (opened.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);  // lets the reader go
        opened.wait();
        ::close(writer);
        ADD_FAILURE() << "opening a FIFO blocked";
    } else {
        const auto [ok, error] = opened.get();
        EXPECT_FALSE(ok);
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(keepError(DataFileReader::open((dir / "folder.nkp").string()), error).ok());
    fs::remove_all(dir);
}
