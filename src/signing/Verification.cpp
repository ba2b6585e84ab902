#include "signing/Verification.h"

#include "base/SafeFileWriter.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace nkp::signing {
namespace {

// A data file is 270336 bytes and a little more; a read-out never nears this.
constexpr std::size_t kDataFileLimit = 16 * 1024 * 1024;

bool signatureMatches(const PublicKey& key, const SignatureRecord& record)
{
    unsigned char signature[66];
    if (EVP_DecodeBlock(signature, reinterpret_cast<const unsigned char*>(record.signature.data()), 88) != 66)
        return false;
    EVP_PKEY* pkey = EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, key.raw.data(), key.raw.size());
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    const bool ok = pkey && context && EVP_DigestVerifyInit(context, nullptr, nullptr, nullptr, pkey) == 1
        && EVP_DigestVerify(context, signature, 64,
               reinterpret_cast<const unsigned char*>(record.signedText.data()), record.signedText.size())
            == 1;
    EVP_MD_CTX_free(context);
    EVP_PKEY_free(pkey);
    return ok;
}

std::string_view textOf(const std::vector<std::uint8_t>& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

const PublicKey* TrustedKeys::find(const std::string& print) const
{
    const auto it = std::find_if(
        keys.begin(), keys.end(), [&print](const PublicKey& key) { return key.fingerprint() == print; });
    return it == keys.end() ? nullptr : &*it;
}

TrustedKeys trustedKeysOfFolder(const std::string& folder, std::vector<Failure>* skipped)
{
    TrustedKeys trusted;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return trusted;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > 4 && name.ends_with(".pub"))
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        auto key = readPublicKey(folder + "/" + name);
        if (key)
            trusted.keys.push_back(std::move(*key));
        else if (skipped)
            skipped->push_back(key.failure());
    }
    return trusted;
}

Verification verify(std::span<const std::uint8_t> data, const std::optional<std::string>& signatureText,
    const TrustedKeys& trusted)
{
    return verifyDigest(sha256Hex(data), signatureText, trusted);
}

Verification verifyDigest(
    std::string dataSha256, const std::optional<std::string>& signatureText, const TrustedKeys& trusted)
{
    Verification result;
    result.dataSha256 = std::move(dataSha256);
    if (!signatureText) {
        result.status = SignatureStatus::Missing;
        return result;
    }
    result.record = parseSignatureFile(*signatureText);
    if (!result.record) {
        result.status = SignatureStatus::Damaged;
        return result;
    }
    const PublicKey* key = trusted.find(result.record->fingerprint);
    if (!key)
        result.status = SignatureStatus::Untrusted;
    else if (!signatureMatches(*key, *result.record) || result.record->dataSha256 != result.dataSha256)
        result.status = SignatureStatus::Changed;
    else
        result.status = SignatureStatus::Valid;
    return result;
}

Result<Verification> verifyFile(const std::string& path, const TrustedKeys& trusted)
{
    auto data = readSmallFile(path, kDataFileLimit);
    if (!data)
        return data.failure();
    const std::string sigPath = signaturePath(path);
    struct stat st { };
    std::optional<std::string> signature;
    if (::stat(sigPath.c_str(), &st) == 0) {
        // One byte over the limit is enough to know it is too large.
        auto bytes = readSmallFile(sigPath, kSignatureFileLimit);
        if (bytes)
            signature = std::string(textOf(*bytes));
        else if (bytes.failure().reason == "the file is too large")
            signature = std::string(kSignatureFileLimit + 1, '\n');
        else
            return bytes.failure();
    } else if (errno != ENOENT) {
        return Failure {sigPath, std::strerror(errno)};
    }
    return verify(*data, signature, trusted);
}

std::string statusText(const Verification& v)
{
    switch (v.status) {
    case SignatureStatus::Valid:
        return "подпись верна: " + v.record->signer + ", ключ " + v.record->fingerprint + ", подписано "
            + momentText(v.record->signedAt) + (v.record->atReading ? " при считывании" : "");
    case SignatureStatus::Missing:
        return "нет подписи";
    case SignatureStatus::Changed:
        return "подпись не совпадает: файл изменён после подписи";
    case SignatureStatus::Untrusted:
        return "ключ не из доверенных";
    case SignatureStatus::Damaged:
        break;
    }
    return "файл подписи повреждён";
}

std::string footerText(const Verification& v)
{
    return "Подпись: " + statusText(v) + "; SHA-256 файла " + v.dataSha256.substr(0, 16);
}

std::string shortStatusText(SignatureStatus status)
{
    switch (status) {
    case SignatureStatus::Valid:
        return "верна";
    case SignatureStatus::Missing:
        return "нет";
    case SignatureStatus::Changed:
        return "файл изменён";
    case SignatureStatus::Untrusted:
        return "ключ не из доверенных";
    case SignatureStatus::Damaged:
        break;
    }
    return "повреждена";
}

std::string signatureFor(
    std::span<const std::uint8_t> data, const Signer& signer, const SigningContext& context)
{
    SignatureRecord record;
    record.signer = signer.publicKey.signer;
    record.fingerprint = signer.publicKey.fingerprint();
    record.signedAt = context.moment;
    record.atReading = context.atReading;
    record.port = context.atReading ? context.port : std::string();
    record.programVersion = programVersion();
    record.dataSha256 = sha256Hex(data);
    const std::string lines = signedLines(record);
    if (lines.empty())
        return {};
    const std::vector<std::uint8_t> signature = signer.key.sign(lines);
    if (signature.size() != 64)
        return {};
    return lines + "подпись: " + base64(signature) + "\n";
}

Result<SignatureRecord> signFile(const std::string& path, const Signer& signer, const SigningContext& context)
{
    auto data = readSmallFile(path, kDataFileLimit);
    if (!data)
        return data.failure();
    const std::string text = signatureFor(*data, signer, context);
    const std::string sigPath = signaturePath(path);
    if (text.empty())
        return Failure {sigPath, "cannot make the signature (signer or port text not allowed)"};
    if (const Done written = fileio::writeFileAtomically(sigPath, text); !written)
        return written.failure();
    if (std::optional<SignatureRecord> record = parseSignatureFile(text))
        return std::move(*record);
    return Failure {sigPath, "the signature written cannot be read back"};
}

}  // namespace nkp::signing
