#include "signing/SignatureFile.h"

#include "signing/Keys.h"

#include <openssl/evp.h>

#include <array>
#include <charconv>

namespace nkp::signing {
namespace {

constexpr std::string_view kHeader = "НКП-3 подпись: ";
constexpr std::string_view kSigner = "подписал: ";
constexpr std::string_view kKey = "ключ: ";
constexpr std::string_view kMoment = "подписано: ";
constexpr std::string_view kAtReading = "при считывании: ";
constexpr std::string_view kPort = "порт: ";
constexpr std::string_view kProgram = "программа: ";
constexpr std::string_view kSha = "SHA-256: ";
constexpr std::string_view kSignature = "подпись: ";
constexpr std::string_view kYes = "да";
constexpr std::string_view kNo = "нет";

bool isHex(std::string_view text, std::size_t size, std::string_view digits)
{
    return text.size() == size && text.find_first_not_of(digits) == std::string_view::npos;
}

bool isFingerprint(std::string_view text)
{
    if (text.size() != 79)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool space = i % 5 == 4;
        const char c = text[i];
        if (space ? c != ' ' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

// Exactly two digits, one of the separator, and so on: "dd.mm.yyyy hh:mm:ss".
std::optional<base::DateTime> parseMoment(std::string_view text)
{
    if (text.size() != 19 || text[2] != '.' || text[5] != '.' || text[10] != ' ' || text[13] != ':'
        || text[16] != ':')
        return std::nullopt;
    auto number = [text](std::size_t at, std::size_t width, int& out) {
        const std::string_view digits = text.substr(at, width);
        if (digits.find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        return std::from_chars(digits.data(), digits.data() + width, out).ec == std::errc();
    };
    base::DateTime m;
    if (!number(0, 2, m.day) || !number(3, 2, m.month) || !number(6, 4, m.year) || !number(11, 2, m.hour)
        || !number(14, 2, m.minute) || !number(17, 2, m.second))
        return std::nullopt;
    if (!base::isRealDate(m.year, m.month, m.day) || m.hour > 23 || m.minute > 59 || m.second > 59)
        return std::nullopt;
    return m;
}

// A version such as "1.0.0": digits and dots, 1 to 32 characters.
bool isVersion(std::string_view text)
{
    return !text.empty() && text.size() <= 32
        && text.find_first_not_of("0123456789.") == std::string_view::npos;
}

bool isBase64Signature(std::string_view text)
{
    if (text.size() != 88 || !text.ends_with("==")
        || text.substr(0, 86).find_first_not_of(
               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
            != std::string_view::npos)
        return false;
    // 64 bytes leave four unused bits in the last character: a canonical
    // encoding has them zero, so that one signature has one spelling.
    const std::string_view lastDigits = "AQgw";
    return lastDigits.find(text[85]) != std::string_view::npos;
}

}  // namespace

std::string momentText(const base::DateTime& m)
{
    return base::dateText(m) + " " + base::timeTextWithSeconds(m);
}

std::string programVersion()
{
    return NKP_PROGRAM_VERSION;
}

std::string signedLines(const SignatureRecord& r)
{
    const bool portOk = r.atReading ? isValidLabel(r.port) : r.port.empty();
    if (!isValidLabel(r.signer) || !isFingerprint(r.fingerprint) || !portOk || !isVersion(r.programVersion)
        || !isHex(r.dataSha256, 64, "0123456789abcdef") || !parseMoment(momentText(r.signedAt)))
        return {};
    std::string text;
    auto line = [&text](std::string_view label, std::string_view value) {
        text.append(label).append(value).append("\n");
    };
    line(kHeader, std::to_string(kSignatureFormat));
    line(kSigner, r.signer);
    line(kKey, r.fingerprint);
    line(kMoment, momentText(r.signedAt));
    line(kAtReading, r.atReading ? kYes : kNo);
    line(kPort, r.port);
    line(kProgram, r.programVersion);
    line(kSha, r.dataSha256);
    return text;
}

std::string signatureFileText(const SignatureRecord& record)
{
    const std::string lines = signedLines(record);
    if (lines.empty())
        return {};
    return lines + std::string(kSignature) + record.signature + "\n";
}

std::optional<SignatureRecord> parseSignatureFile(std::string_view text)
{
    if (text.size() > kSignatureFileLimit)
        return std::nullopt;
    const std::string_view whole = text;
    std::array<std::string_view, 9> labels {
        kHeader, kSigner, kKey, kMoment, kAtReading, kPort, kProgram, kSha, kSignature};
    std::array<std::string_view, 9> values;
    std::size_t signedSize = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos || !text.starts_with(labels[i]))
            return std::nullopt;
        values[i] = text.substr(labels[i].size(), end - labels[i].size());
        text.remove_prefix(end + 1);
        if (i + 2 == labels.size())
            signedSize = whole.size() - text.size();
    }
    if (!text.empty() || values[0] != std::to_string(kSignatureFormat))
        return std::nullopt;
    SignatureRecord r;
    r.signer = values[1];
    r.fingerprint = values[2];
    const auto moment = parseMoment(values[3]);
    if (!moment || (values[4] != kYes && values[4] != kNo) || !isBase64Signature(values[8]))
        return std::nullopt;
    r.signedAt = *moment;
    r.atReading = values[4] == kYes;
    r.port = values[5];
    r.programVersion = values[6];
    r.dataSha256 = values[7];
    r.signature = values[8];
    r.signedText = whole.substr(0, signedSize);
    // Written back, the record must give the very same lines: every field
    // was valid and spelt the one way this program writes it.
    if (signedLines(r) != r.signedText)
        return std::nullopt;
    return r;
}

}  // namespace nkp::signing
