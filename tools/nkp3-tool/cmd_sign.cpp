// nkp3-tool key new, sign and verify: the keys of the people who sign
// read-outs, signatures of older data files, and the check of a data file
// against its signature and the trusted keys.
#include "SignSupport.h"
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "args/ArgParser.h"
#include "base/Clock.h"
#include "signing/Verification.h"

#include <cstdlib>
#include <iostream>

namespace {

using namespace nkp::signing;

constexpr int kExitNotVerified = 4;

// A usage problem in the words of the command `name`.
std::string problemText(const std::string& name, const nkp::tool::ArgProblem& problem)
{
    using Kind = nkp::tool::ArgProblem::Kind;
    switch (problem.kind) {
    case Kind::UnknownOption:
        return name + ": unknown option '" + problem.argument + "'";
    case Kind::Surplus:
        return name + ": one file only";
    case Kind::Repeated:
        return name + ": " + problem.argument + " may be given once";
    case Kind::Refused:
        return name + ": " + problem.reason;
    default:
        return name + ": " + problem.argument + " needs a value";
    }
}

int failed(const nkp::Failure& failure)
{
    nkp::tool::printError(failure.text());
    return nkp::tool::kExitFailure;
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The passphrase: the first line of `file` when one is named, else the
// environment's NKP_SIGNING_PASSPHRASE, else none.
nkp::signing::Result<std::string> passphrase(const std::optional<std::string>& file)
{
    if (!file)
        return environment("NKP_SIGNING_PASSPHRASE");
    auto bytes = readSmallFile(*file, 4096);
    if (!bytes)
        return bytes.failure();
    std::string text(bytes->begin(), bytes->end());
    text = text.substr(0, text.find('\n'));
    if (text.ends_with('\r'))
        text.pop_back();
    return text;
}

int runKeyNew(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    std::string out;
    std::optional<std::string> signer, passphraseFile;
    const ArgSyntax syntax {.options = {{"--signer", OptionKind::ValueOnce, keepIn(signer)},
                                {"--passphrase-file", OptionKind::ValueOnce, keepIn(passphraseFile)}},
        .ordinary = keepIn(out),
        .maxOrdinary = 1};
    if (const auto problem = parseArgs(syntax, args))
        return usageError(problemText("key new", *problem));
    if (out.empty() || !signer)
        return usageError("key new: --signer TEXT and OUT.key are needed");
    const auto secret = passphrase(passphraseFile);
    if (!secret)
        return failed(secret.failure());
    const auto key = writeNewKey(out, *signer, *secret);
    if (!key)
        return failed(key.failure());
    std::cout << "key " << visibleControls(out, false) << ", public key "
              << visibleControls(publicKeyPath(out), false) << ", fingerprint " << key->fingerprint() << "\n";
    return kExitOk;
}

int runSign(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    std::string file;
    std::optional<std::string> keyPath, passphraseFile;
    const ArgSyntax syntax {.options = {{"--key", OptionKind::ValueOnce, keepIn(keyPath)},
                                {"--passphrase-file", OptionKind::ValueOnce, keepIn(passphraseFile)}},
        .ordinary = keepIn(file),
        .maxOrdinary = 1};
    if (const auto problem = parseArgs(syntax, args))
        return usageError(problemText("sign", *problem));
    if (file.empty() || !keyPath)
        return usageError("sign: FILE and --key K are needed");
    const auto secret = passphrase(passphraseFile);
    if (!secret)
        return failed(secret.failure());
    const auto signer = readSigner(*keyPath, *secret);
    if (!signer)
        return failed(signer.failure());
    const auto signature = signFile(file, *signer, {nkp::base::systemClock().now(), false, {}});
    if (!signature)
        return failed(signature.failure());
    std::cout << "signed " << visibleControls(signaturePath(file), false) << "\n";
    return kExitOk;
}

int runVerify(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    std::string file;
    std::vector<std::string> trustFiles;
    const ArgSyntax syntax {.options = {{"--trust", OptionKind::Value, appendTo(trustFiles)}},
        .ordinary = keepIn(file),
        .maxOrdinary = 1};
    if (const auto problem = parseArgs(syntax, args))
        return usageError(problemText("verify", *problem));
    if (file.empty())
        return usageError("verify: FILE is needed");
    std::vector<nkp::Failure> skipped;
    TrustedKeys trusted = trustedKeysOfFolder(trustedKeyFolder("."), &skipped);
    for (const nkp::Failure& failure : skipped)
        printError("skipped " + failure.text());
    for (const std::string& path : trustFiles) {
        auto key = readPublicKey(path);
        if (!key)
            return failed(key.failure());
        trusted.keys.push_back(std::move(*key));
    }
    const auto verification = verifyFile(file, trusted);
    if (!verification)
        return failed(verification.failure());
    std::cout << visibleControls(statusText(*verification), false) << "\n";
    return verification->status == SignatureStatus::Valid ? kExitOk : kExitNotVerified;
}

}  // namespace

namespace nkp::tool {

nkp::signing::Result<std::optional<Signer>> readingSigner()
{
    const std::string keyPath = environment("NKP_SIGNING_KEY");
    if (keyPath.empty())
        return std::optional<Signer>();
    auto signer = readSigner(keyPath, environment("NKP_SIGNING_PASSPHRASE"));
    if (!signer)
        return signer.failure();
    return std::optional<Signer>(std::move(*signer));
}

bool signReading(const std::string& path, const Signer& signer, const std::string& port)
{
    const auto signature = signFile(path, signer, {nkp::base::systemClock().now(), true, port});
    if (!signature) {
        printError("the reading was saved, but not signed: " + signature.failure().text());
        return false;
    }
    std::cout << "signed " << visibleControls(signaturePath(path), false) << "\n";
    return true;
}

ToolCommand keyCommand()
{
    return {"key", "key new --signer TEXT OUT.key [--passphrase-file F]", runKeyNew, "new"};
}

ToolCommand signCommand()
{
    return {"sign", "sign FILE --key K [--passphrase-file F]", runSign};
}

ToolCommand verifyCommand()
{
    return {"verify", "verify FILE [--trust PUB]...", runVerify};
}

}  // namespace nkp::tool
