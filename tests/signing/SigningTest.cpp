#include "signing/Verification.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace nkp::signing;

Signer makeSigner(const std::string& name)
{
    const auto key = PrivateKey::generate();
    return {*key, {name, key->publicKey()}};
}

const SigningContext kAtReading {{2026, 12, 9, 15, 4, 5}, true, "ttyUSB0"};

// Each edit of a correctly signed text (at byte `at` or of a whole line)
// gives the status shown: every field is checked, and only one spelling of
// a signature file passes.
TEST(Signing, EditsOfTheSignatureFileGiveTheirStatus)
{
    const Signer signer = makeSigner("Иванов И. И.");
    const std::vector<std::uint8_t> data(1000, 0x5A);
    const std::string good = signatureFor(data, signer, kAtReading);
    ASSERT_FALSE(good.empty());
    const TrustedKeys trusted {{signer.publicKey}};
    auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const struct {
        std::string text;
        SignatureStatus status;
    } cases[] = {
        {good, SignatureStatus::Valid},
        {replaced("Иванов", "Петров"), SignatureStatus::Changed},
        {replaced("09.12.2026 15:04:05", "09.12.2026 15:04:06"), SignatureStatus::Changed},
        {replaced("при считывании: да\nпорт: ttyUSB0", "при считывании: да\nпорт: ttyUSB1"),
            SignatureStatus::Changed},
        {replaced("SHA-256: ", "SHA-256: 0").erase(good.find("SHA-256: ") + 9 + 64, 1),
            SignatureStatus::Changed},
        {replaced("\n", "\r\n"), SignatureStatus::Damaged},
        {replaced("НКП-3 подпись: 1", "НКП-3 подпись: 2"), SignatureStatus::Damaged},
        {replaced("подписано: 09.12", "подписано: 31.02"), SignatureStatus::Damaged},
        {replaced("при считывании: да", "при считывании: нет"),
            SignatureStatus::Damaged},  // a port without reading
        {replaced("программа: ", "программа: x"), SignatureStatus::Damaged},
        {replaced("Иванов", "Ив\x1b[2Jанов"), SignatureStatus::Damaged},
        {replaced("Иванов", "Ив\xd0"), SignatureStatus::Damaged},
        {good.substr(0, good.size() - 1), SignatureStatus::Damaged},
        {good + "\n", SignatureStatus::Damaged},
        {good.substr(0, good.size() - 4) + "B==\n",
            SignatureStatus::Damaged},  // a second spelling of the bytes
        {"", SignatureStatus::Damaged},
        {std::string(5000, 'x'), SignatureStatus::Damaged},
    };
    for (const auto& c : cases)
        EXPECT_EQ(verify(data, c.text, trusted).status, c.status) << c.text;
    EXPECT_EQ(verify(data, std::nullopt, trusted).status, SignatureStatus::Missing);
    EXPECT_EQ(
        verify(data, good, {{makeSigner("Иванов И. И.").publicKey}}).status, SignatureStatus::Untrusted);
}

TEST(Signing, KeyFilesRoundTripWithAndWithoutPassphrase)
{
    nkp::test::TempFolder folder;
    for (const std::string passphrase : {"", "пароль 123"}) {
        const std::string keyPath = folder.path("k" + std::to_string(passphrase.size()) + ".key");
        const auto written = writeNewKey(keyPath, "Сидоров", passphrase);
        ASSERT_TRUE(written) << written.failure().text();
        struct stat st { };
        ASSERT_EQ(::stat(keyPath.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        EXPECT_FALSE(writeNewKey(keyPath, "Сидоров", passphrase)) << "an existing key is never replaced";
        const auto signer = readSigner(keyPath, passphrase);
        ASSERT_TRUE(signer) << signer.failure().text();
        EXPECT_EQ(signer->publicKey.fingerprint(), written->fingerprint());
        EXPECT_EQ(written->fingerprint().size(), 79u);
        if (!passphrase.empty()) {
            EXPECT_FALSE(readSigner(keyPath, ""));
            EXPECT_FALSE(readSigner(keyPath, "wrong"));
        }
        const TrustedKeys trusted = trustedKeysOfFolder(folder.dir.string());
        EXPECT_TRUE(trusted.find(written->fingerprint()));
    }
}

}  // namespace
