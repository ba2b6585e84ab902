#pragma once

#include "signing/Keys.h"

#include <optional>
#include <string>

// Signing shared by the commands that sign (sign, read).
namespace nkp::tool {

// The key that `read` signs with: the file named by NKP_SIGNING_KEY, opened
// with NKP_SIGNING_PASSPHRASE. Nothing when NKP_SIGNING_KEY is unset or
// empty; a failure when the key cannot be used.
signing::Result<std::optional<signing::Signer>> readingSigner();

// Signs the saved reading `path` made on `port` and reports it; false (and
// the cause on stderr) when no signature could be written.
bool signReading(const std::string& path, const signing::Signer& signer, const std::string& port);

}  // namespace nkp::tool
