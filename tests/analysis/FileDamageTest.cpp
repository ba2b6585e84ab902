#include "TestImages.h"

#include "analysis/FileDamage.h"
#include "analysis/ReadoutLoader.h"
#include "base/Codec.h"
#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"

#include <gtest/gtest.h>

using namespace nkp;
using namespace nkp::analysis;

namespace {

std::string cp(const char* utf8)
{
    return codec::utf8ToCp1251(utf8);
}

LoadDiagnostics loaded(const std::vector<std::uint8_t>& bytes)
{
    LoadedReadout state;
    loadReadout(recorder::DataFileReader(bytes), state);
    return state.readout.diagnostics;
}

std::vector<std::uint8_t> soundFile()
{
    generator::GeneratorOptions options;
    options.seed = 3;
    return generator::generateDataFile(options);
}

// An image whose every frame is zero (so fails its check) with a matching checksum.
std::vector<std::uint8_t> imageWithoutFrames()
{
    std::vector<std::uint8_t> image(recorder::kImageSize, 0);
    image[recorder::kCycleCountersOffset] = 7;
    test::sealChecksum(image);
    return image;
}

}  // namespace

TEST(FileDamage, SoundFilesAndNothingLoadedCarryNoWarning)
{
    EXPECT_FALSE(fileDamage(LoadDiagnostics {}).damaged());
    EXPECT_EQ(damageWarning(LoadDiagnostics {}), "");
    EXPECT_FALSE(identificationMissing(LoadDiagnostics {}));

    const LoadDiagnostics sound = loaded(soundFile());
    EXPECT_TRUE(sound.fileRead);
    EXPECT_FALSE(sound.brokenFrames.empty());  // a few broken frames are no damage of the file
    EXPECT_FALSE(fileDamage(sound).damaged());
    EXPECT_EQ(damageWarning(sound), "");
    EXPECT_FALSE(identificationMissing(sound));

    // The longest controller number the loader takes still makes a sound file.
    generator::GeneratorOptions options;
    recorder::Identification id = generator::generateIdentification(options);
    id[recorder::IdField::ControllerNumber] = std::string(recorder::kMaxControllerNumberLength, '7');
    const std::vector<std::uint8_t> longest = recorder::buildDataFile(generator::generateImage(options), id);
    ASSERT_EQ(longest.size(), 271653u);
    ASSERT_EQ(longestExpectedFileSize(), 271653u);
    EXPECT_EQ(damageWarning(loaded(longest)), "");
}

TEST(FileDamage, EachReasonInRussianWindows1251)
{
    // An empty file: nothing of the image, its zero checksum "matches" its zero bytes.
    const LoadDiagnostics empty = loaded({});
    EXPECT_EQ(fileDamage(empty).reasons,
        (std::vector<DamageReason> {DamageReason::ShortFile, DamageReason::NoValidFrame}));
    EXPECT_EQ(damageWarning(empty),
        cp("Файл повреждён: файл короче полного считывания (0 байт из 270337); нет ни одного исправного "
           "кадра"));

    // A truncated read-out keeps its first frames but loses the checksum.
    std::vector<std::uint8_t> bytes = soundFile();
    bytes.resize(1000);
    const LoadDiagnostics truncated = loaded(bytes);
    EXPECT_EQ(damageWarning(truncated),
        cp("Файл повреждён: файл короче полного считывания (1000 байт из 270337); контрольная сумма не "
           "совпадает"));
    EXPECT_EQ(damageReasonsText(fileDamage(truncated)),
        cp("файл короче полного считывания (1000 байт из 270337); контрольная сумма не совпадает"));

    // The image without its gap byte is one byte short.
    bytes = soundFile();
    bytes.resize(recorder::kImageSize);
    EXPECT_EQ(damageWarning(loaded(bytes)),
        cp("Файл повреждён: файл короче полного считывания (270336 байт из 270337)"));

    // Something appended to a read-out.
    bytes = soundFile();
    bytes.resize(300000, 'x');
    EXPECT_EQ(damageWarning(loaded(bytes)),
        cp("Файл повреждён: файл длиннее ожидаемого (300000 байт, не более 271653)"));

    // One byte of the service area changed after the reading.
    bytes = soundFile();
    bytes[recorder::kLiftedMassOffset] ^= 0x01;
    EXPECT_EQ(damageWarning(loaded(bytes)), cp("Файл повреждён: контрольная сумма не совпадает"));

    // A whole, checked image without a single valid frame.
    EXPECT_EQ(damageWarning(loaded(recorder::buildDataFile(imageWithoutFrames(), {}))),
        cp("Файл повреждён: нет ни одного исправного кадра"));
}

TEST(FileDamage, MissingIdentificationBlock)
{
    std::vector<std::uint8_t> bytes = soundFile();
    bytes.resize(recorder::kIdentificationOffset);  // ends at the gap byte
    const LoadDiagnostics bare = loaded(bytes);
    EXPECT_TRUE(identificationMissing(bare));
    EXPECT_FALSE(fileDamage(bare).damaged());
    EXPECT_EQ(identificationMissingText(), cp("Нет блока идентификации"));
    // A short file says so through its damage instead.
    bytes.resize(recorder::kImageSize);
    EXPECT_FALSE(identificationMissing(loaded(bytes)));
}

TEST(FileDamage, DiagnosingAFileMatchesLoadingIt)
{
    std::vector<std::uint8_t> bytes = soundFile();
    bytes.resize(200000);
    const LoadDiagnostics byLoader = loaded(bytes);
    const LoadDiagnostics direct = diagnoseFile(recorder::DataFileReader(bytes));
    EXPECT_TRUE(direct.fileRead);
    EXPECT_EQ(direct.fileSize, byLoader.fileSize);
    EXPECT_EQ(direct.fullLength, byLoader.fullLength);
    EXPECT_EQ(direct.storedChecksum, byLoader.storedChecksum);
    EXPECT_EQ(direct.computedChecksum, byLoader.computedChecksum);
    EXPECT_EQ(direct.brokenFrames, byLoader.brokenFrames);
    EXPECT_EQ(damageWarning(direct), damageWarning(byLoader));

    // The summary load of the overview sees the same damage.
    LoadedReadout summary;
    loadReadoutSummary(recorder::DataFileReader(bytes), summary);
    EXPECT_EQ(damageWarning(summary.readout.diagnostics), damageWarning(byLoader));
}
