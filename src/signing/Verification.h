#pragma once

#include "signing/Keys.h"
#include "signing/SignatureFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Signing data files and verifying them against trusted public keys: one
// function for the bytes and the signature text (the archive hands both from
// its tables), one for a data file and the signature beside it.
namespace nkp::signing {

enum class SignatureStatus {
    Valid,      // signed by a trusted key, file unchanged
    Missing,    // no signature
    Changed,    // the file or the signed lines differ from what was signed
    Untrusted,  // signed by a key that is not among the trusted ones
    Damaged,    // the signature file cannot be read as one
};

// The public keys whose signatures count.
struct TrustedKeys {
    std::vector<PublicKey> keys;
    const PublicKey* find(const std::string& fingerprint) const;
};

// The public key files (*.pub) of `folder`, in name order. A folder that does
// not exist gives none; a file that is not a key is named in `skipped`.
TrustedKeys trustedKeysOfFolder(const std::string& folder, std::vector<Failure>* skipped = nullptr);

// The trusted-key folder of a start folder.
inline std::string trustedKeyFolder(const std::string& startFolder)
{
    return startFolder + "/Ключи";
}

struct Verification {
    SignatureStatus status = SignatureStatus::Missing;
    std::string dataSha256;                 // of the bytes checked, lower-case hex
    std::optional<SignatureRecord> record;  // the parsed signature, when it could be parsed
};

// Verifies `data` against the text of its signature file (nullopt: none).
Verification verify(std::span<const std::uint8_t> data, const std::optional<std::string>& signatureText,
    const TrustedKeys& trusted);
// The same for data known only by its SHA-256 (lower-case hex), as an
// archive keeps it beside the stored file.
Verification verifyDigest(
    std::string dataSha256, const std::optional<std::string>& signatureText, const TrustedKeys& trusted);

// Verifies the data file `path` and the signature beside it. Fails only when
// the data file or an existing signature file cannot be read.
Result<Verification> verifyFile(const std::string& path, const TrustedKeys& trusted);

// The status as the tool prints it (UTF-8): "подпись верна: SIGNER, ключ
// FINGERPRINT, подписано DATE при считывании", "нет подписи", ...
std::string statusText(const Verification& verification);
// The status and the first 16 hex digits of the file's SHA-256, as a
// printout's footer shows them, so that paper matches its file (UTF-8).
std::string footerText(const Verification& verification);
// A short form for table cells: "верна", "нет", "изменён", "чужой ключ",
// "повреждена".
std::string shortStatusText(SignatureStatus status);

// What a signature says about how it was made.
struct SigningContext {
    base::DateTime moment;
    bool atReading = false;
    std::string port;  // the reading's port when at reading
};

// Signs `data`: the text of its signature file.
std::string signatureFor(
    std::span<const std::uint8_t> data, const Signer& signer, const SigningContext& context);

// Signs the data file `path`: writes `path`.sig safely. The data file is
// read back, so the signature covers exactly what is on the disk.
Result<SignatureRecord> signFile(
    const std::string& path, const Signer& signer, const SigningContext& context);

}  // namespace nkp::signing
