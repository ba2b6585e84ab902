#pragma once

#include "base/Failure.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct evp_pkey_st;

// Ed25519 keys of the people who sign read-outs. A private key lives in a PEM
// file (mode 0600, optionally protected by a passphrase); its public half in
// a small text file beside it, with the signer's name and the fingerprint.
namespace nkp::signing {

// A value or the failure that prevented it.
// A value, or the failure that kept it from being made.
using nkp::Result;

using RawPublicKey = std::array<std::uint8_t, 32>;

// `bytes` in base64 with padding.
std::string base64(std::span<const std::uint8_t> bytes);
// SHA-256 of `bytes` as 64 lower-case hex digits.
std::string sha256Hex(std::span<const std::uint8_t> bytes);
// The fingerprint of a public key: SHA-256 of its 32 raw bytes, upper-case
// hex in sixteen groups of four digits separated by spaces.
std::string fingerprint(const RawPublicKey& key);

// Whether `text` is a signer's name or port name a key or signature file can
// hold: UTF-8, no control characters, 1 to 200 bytes.
bool isValidLabel(std::string_view text);

// A public key as its file holds it.
struct PublicKey {
    std::string signer;  // UTF-8
    RawPublicKey raw {};
    std::string fingerprint() const { return signing::fingerprint(raw); }
};

// The text of a public key file.
std::string publicKeyText(const PublicKey& key);
// Parses a public key file; nullopt for anything but the exact format with a
// fingerprint that matches the key.
std::optional<PublicKey> parsePublicKey(std::string_view text);
// Reads a public key file (`failure` names it when it cannot be read or is
// not a key file).
Result<PublicKey> readPublicKey(const std::string& path);

// A private key in memory.
class PrivateKey {
public:
    static std::optional<PrivateKey> generate();
    // The PEM text, encrypted with `passphrase` unless it is empty.
    std::optional<std::string> pem(const std::string& passphrase) const;
    RawPublicKey publicKey() const;
    // The Ed25519 signature of `message` (64 bytes).
    std::vector<std::uint8_t> sign(std::string_view message) const;

    explicit PrivateKey(std::shared_ptr<evp_pkey_st> key)
        : key_(std::move(key))
    {
    }

private:
    std::shared_ptr<evp_pkey_st> key_;
};

// Where the public key of the private key file `keyPath` goes: "x.key" gives
// "x.pub", any other name gets ".pub" appended.
std::string publicKeyPath(const std::string& keyPath);

// Writes a new key pair: `keyPath` (PEM, mode 0600 from its creation) and its
// public key file. An existing key file is never replaced.
Result<PublicKey> writeNewKey(
    const std::string& keyPath, const std::string& signer, const std::string& passphrase);

// Reads a private key file; `passphrase` opens a protected one (a protected
// key without it, or with a wrong one, is a failure that says so).
Result<PrivateKey> readPrivateKey(const std::string& keyPath, const std::string& passphrase);

// Whether the private key file `keyPath` is protected by a passphrase.
bool keyNeedsPassphrase(const std::string& keyPath);

// A private key with the public key file beside it: what signs.
struct Signer {
    PrivateKey key;
    PublicKey publicKey;
};
// Reads `keyPath` and its public key file; they must belong together.
Result<Signer> readSigner(const std::string& keyPath, const std::string& passphrase);

// Reads a whole regular file of at most `limit` bytes.
Result<std::vector<std::uint8_t>> readSmallFile(const std::string& path, std::size_t limit);

}  // namespace nkp::signing
