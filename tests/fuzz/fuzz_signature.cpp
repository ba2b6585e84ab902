// libFuzzer target for the signature and public key file parsers: any bytes
// either fail or give a record whose file text is exactly the input.
#include "signing/Keys.h"
#include "signing/SignatureFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto record = nkp::signing::parseSignatureFile(bytes))
        if (nkp::signing::signatureFileText(*record) != bytes || !bytes.starts_with(record->signedText))
            std::abort();
    if (const auto key = nkp::signing::parsePublicKey(bytes))
        if (nkp::signing::publicKeyText(*key) != bytes)
            std::abort();
    return 0;
}
