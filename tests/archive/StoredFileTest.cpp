#include "ArchiveFiles.h"

#include "archive/StoredFile.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <gtest/gtest.h>

#include <random>

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
