#include "ArchiveFiles.h"

#include "archive/StoredFile.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <zlib.h>
#include <zstd.h>

namespace {

using namespace nkp;
using namespace nkp::archive;

std::optional<std::vector<std::uint8_t>> unpack(const std::vector<std::uint8_t>& stored)
{
    return unpackDataFile(reinterpret_cast<const char*>(stored.data()), stored.size());
}

std::optional<std::vector<std::uint8_t>> unpack(const QByteArray& stored)
{
    return unpackDataFile(stored.constData(), static_cast<std::size_t>(stored.size()));
}

std::vector<std::uint8_t> noise(std::size_t size, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> out(size);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(rng());
    return out;
}

TEST(StoredFile, EveryFileComesBackByteForByte)
{
    const auto file = test::craneReadout(1, "КС-55713", "77", "01.01.2022 10:00", "1111", 1000);
    std::vector<std::uint8_t> longer = file;
    longer.resize(file.size() + 5000, 0x5A);
    // Around the frame area's end, which is laid out differently from the rest.
    const std::vector<std::vector<std::uint8_t>> files = {{}, {42}, noise(1000, 1),
        noise(recorder::kFrameAreaSize - 1, 2), noise(recorder::kFrameAreaSize, 3),
        noise(recorder::kFrameAreaSize + 1, 4), noise(file.size(), 5), file, longer};
    for (const auto& bytes : files) {
        const auto packed = packDataFile(bytes);
        const auto back = unpack(packed);
        ASSERT_TRUE(back) << bytes.size();
        EXPECT_EQ(*back, bytes) << bytes.size();
    }
    // A real read-out packs to far less than the fastest zlib level gives.
    const QByteArray zlib
        = qCompress(reinterpret_cast<const uchar*>(file.data()), static_cast<qsizetype>(file.size()), 1);
    EXPECT_LT(packDataFile(file).size(), static_cast<std::size_t>(zlib.size()));
}

TEST(StoredFile, OlderArchivesZlibFormIsReadAndDamageIsFound)
{
    const auto file = test::craneReadout(2, "КС-55713", "77", "01.01.2022 10:00", "1111", 1000);
    const auto zlib
        = qCompress(reinterpret_cast<const uchar*>(file.data()), static_cast<qsizetype>(file.size()), 1);
    const auto back = unpack(zlib);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, file);

    // A changed byte anywhere, also where the identification block lies,
    // which no image hash covers.
    const auto packed = packDataFile(file);
    bool anyAccepted = false;
    for (std::size_t at = 12; at < packed.size(); at += packed.size() / 7) {
        auto damaged = packed;
        damaged[at] ^= 0x10;
        const auto result = unpack(damaged);
        anyAccepted = anyAccepted || (result && *result != file);
    }
    EXPECT_FALSE(anyAccepted) << "a damaged frame unpacked to other bytes";
    EXPECT_FALSE(unpack(std::vector<std::uint8_t>(packed.begin(), packed.end() - 10)));
    EXPECT_FALSE(unpack(zlib.left(zlib.size() - 10)));
    EXPECT_FALSE(unpack(std::vector<std::uint8_t> {1, 2}));

    // A claimed length beyond any data file is refused before anything is allocated.
    QByteArray huge = zlib;
    huge[0] = '\x7F';
    EXPECT_FALSE(unpack(huge));
    EXPECT_FALSE(unpack(packDataFile(std::vector<std::uint8_t>(kMaxDataFileSize + 1, 0))));
}

// A qCompress-style row: the claimed length in four bytes, then a zlib
// stream of `zeroMegabytes` MiB of zeros (about 1 KB packed per MiB). Each
// MiB is flushed in full, so that its packed bytes repeat as they are.
QByteArray zlibBomb(std::uint32_t claimed, int zeroMegabytes)
{
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>(claimed >> (24 - 8 * i));
    z_stream z {};
    EXPECT_EQ(deflateInit(&z, 9), Z_OK);
    const std::vector<std::uint8_t> zeros(1024 * 1024, 0);
    std::vector<std::uint8_t> chunk(64 * 1024);
    const auto put = [&](std::size_t size, int flush) {
        z.next_in = const_cast<Bytef*>(zeros.data());
        z.avail_in = static_cast<uInt>(size);
        z.next_out = chunk.data();
        z.avail_out = static_cast<uInt>(chunk.size());
        EXPECT_NE(deflate(&z, flush), Z_STREAM_ERROR);
        return QByteArray(
            reinterpret_cast<const char*>(chunk.data()), static_cast<qsizetype>(chunk.size() - z.avail_out));
    };
    out += put(zeros.size(), Z_FULL_FLUSH);  // with the stream's header
    const QByteArray repeated = put(zeros.size(), Z_FULL_FLUSH);
    for (int m = 1; m < zeroMegabytes; ++m)
        out += repeated;
    QByteArray end = put(0, Z_FINISH);
    deflateEnd(&z);
    // The check sum of all the zeros, not only of the two MiB packed.
    const uLong megabyte = adler32(adler32(0, nullptr, 0), zeros.data(), static_cast<uInt>(zeros.size()));
    uLong sum = megabyte;
    for (int m = 1; m < zeroMegabytes; ++m)
        sum = adler32_combine(sum, megabyte, static_cast<z_off_t>(zeros.size()));
    for (int i = 0; i < 4; ++i)
        end[end.size() - 4 + i] = static_cast<char>(sum >> (24 - 8 * i));
    return out + end;
}

// The process's address space now, in bytes.
std::size_t addressSpace()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoul(line.substr(7)) * 1024;
    return 0;
}

// Whether every row is refused with the address space limited to `room`
// bytes above what the process has now (run in a child process).
bool allRefusedWithin(std::size_t room, const std::vector<QByteArray>& zlibRows,
    const std::vector<std::vector<std::uint8_t>>& zstdRows)
{
    const rlimit limit {addressSpace() + room, RLIM_INFINITY};
    ::setrlimit(RLIMIT_AS, &limit);
    return std::none_of(zlibRows.begin(), zlibRows.end(), [](const auto& r) {
        return unpack(r).has_value();
    }) && std::none_of(zstdRows.begin(), zstdRows.end(), [](const auto& r) { return unpack(r).has_value(); });
}

TEST(StoredFile, PackedRowsThatWouldUnpackBeyondAnyDataFileAreDamaged)
{
    // A zlib bomb of 1 MB that unpacks to 1 GiB, claiming a real file's length or the limit.
    const QByteArray bomb = zlibBomb(recorder::kImageSize + 1, 1024);
    ASSERT_LT(bomb.size(), 2 * 1024 * 1024);
    const QByteArray atLimit = zlibBomb(static_cast<std::uint32_t>(kMaxDataFileSize), 1024);
    // A stream shorter than it claims, and one a byte longer.
    const QByteArray shorter = zlibBomb(3 * 1024 * 1024, 2);
    const QByteArray longer = zlibBomb(3 * 1024 * 1024 - 1, 3);
    const QByteArray exact = zlibBomb(3 * 1024 * 1024, 3);
    ASSERT_TRUE(unpack(exact));
    EXPECT_EQ(unpack(exact)->size(), 3u * 1024u * 1024u);

    // zstd frames that do not declare their size, or declare less than they hold.
    const auto zstdFrame = [](std::size_t zeros, bool declareSize) {
        const std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> c(ZSTD_createCCtx(), ZSTD_freeCCtx);
        ZSTD_CCtx_setParameter(c.get(), ZSTD_c_contentSizeFlag, declareSize ? 1 : 0);
        const std::vector<std::uint8_t> in(zeros, 0);
        std::vector<std::uint8_t> out(ZSTD_compressBound(zeros));
        out.resize(ZSTD_compress2(c.get(), out.data(), out.size(), in.data(), in.size()));
        return out;
    };
    const auto undeclared = zstdFrame(kMaxDataFileSize + 1, false);
    ASSERT_EQ(ZSTD_getFrameContentSize(undeclared.data(), undeclared.size()), ZSTD_CONTENTSIZE_UNKNOWN);
    auto understated = zstdFrame(4 * kMaxDataFileSize, true);
    // Header descriptor: a four-byte content size after the window byte; made 1000.
    ASSERT_EQ(understated[4] & 0xE3, 0x80);
    understated[6] = 1000 & 0xFF;
    understated[7] = 1000 >> 8;
    understated[8] = understated[9] = 0;
    ASSERT_EQ(ZSTD_getFrameContentSize(understated.data(), understated.size()), 1000u);

    // Unpacked in a child process with an address space 200 MiB above what
    // the test has now: an unbounded unpacking would fail to allocate there.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::vector<QByteArray> zlibRows = {bomb, atLimit, shorter, longer};
    const std::vector<std::vector<std::uint8_t>> zstdRows = {undeclared, understated};
    EXPECT_EXIT(std::_Exit(allRefusedWithin(200 * 1024 * 1024, zlibRows, zstdRows) ? 0 : 3),
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(unpack(zstdFrame(kMaxDataFileSize, false))->size(), kMaxDataFileSize);
}

TEST(StoredFile, ImageHashIsTheSha256OfTheImageAlone)
{
    // The keys of archives written before stay the keys: the same hash as Qt's.
    const auto file = test::craneReadout(3, "КС-55713", "77", "01.01.2022 10:00", "1111", 1000);
    const QByteArray image(
        reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(recorder::kImageSize));
    EXPECT_EQ(
        imageHash(file), QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex().toStdString());
    std::vector<std::uint8_t> otherTail = file;
    otherTail.back() ^= 0xFF;
    EXPECT_EQ(imageHash(otherTail), imageHash(file));
    const std::vector<std::uint8_t> abc = {'a', 'b', 'c'};
    EXPECT_EQ(imageHash(abc), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
