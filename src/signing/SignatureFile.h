#pragma once

#include "base/DateTime.h"

#include <optional>
#include <string>
#include <string_view>

// The detached signature of a data file: a small UTF-8 text file beside it
// ("NAME.nkp.sig"). Every line but the last is a label and a value; the last
// holds the Ed25519 signature (base64) over the exact bytes of the lines
// above it:
//
//   НКП-3 подпись: 1
//   подписал: Иванов И. И.
//   ключ: 1A2B 3C4D ... (the key's fingerprint)
//   подписано: 09.12.2026 15:04:05
//   при считывании: да
//   порт: ttyUSB0
//   программа: 1.0.0
//   SHA-256: (64 hex digits of the whole data file)
//   подпись: (88 characters of base64)
namespace nkp::signing {

struct SignatureRecord {
    std::string signer;       // UTF-8
    std::string fingerprint;  // as fingerprint() writes it
    base::DateTime signedAt;
    bool atReading = false;      // made by the reading itself
    std::string port;            // the reading's port; empty when not at reading
    std::string programVersion;  // the signing program's version
    std::string dataSha256;      // lower-case hex
    std::string signature;       // base64 of the 64 signature bytes
    std::string signedText;      // the exact lines the signature covers
};

// The version this program writes; the file's first line.
inline constexpr int kSignatureFormat = 1;
// A signature file is a few hundred bytes; a larger one is damaged.
inline constexpr std::size_t kSignatureFileLimit = 4096;

// The signed lines of a record (everything but the signature line).
// Returns an empty string when a field cannot be written (a label with a
// control character, a port without "при считывании: да", ...).
std::string signedLines(const SignatureRecord& record);

// The whole file: signedLines() and the signature line.
std::string signatureFileText(const SignatureRecord& record);

// Parses a signature file strictly: exactly the lines above, in that order,
// LF line ends, valid values. Anything else is nullopt (a damaged file).
std::optional<SignatureRecord> parseSignatureFile(std::string_view text);

// "dd.mm.yyyy hh:mm:ss".
std::string momentText(const base::DateTime& moment);

// The program's own version, as signatures name it.
std::string programVersion();

// Where the signature of `dataPath` lives.
inline std::string signaturePath(const std::string& dataPath)
{
    return dataPath + ".sig";
}

}  // namespace nkp::signing
