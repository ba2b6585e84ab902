// Verifying one signed read-out: reading the data file and its signature,
// SHA-256 of the whole file and the Ed25519 check. Must stay under 1 ms.
#include "RunTemp.h"

#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"
#include "signing/Verification.h"

#include <benchmark/benchmark.h>

namespace {

void BM_Verify(benchmark::State& state)
{
    static const nkp::bench::RunTemp removed("nkp_bench_signed_", ".nkp");
    const std::string path = removed.path.string();
    nkp::generator::GeneratorOptions options;
    if (!nkp::recorder::writeDataFile(
            path, nkp::generator::generateImage(options), nkp::generator::generateIdentification(options)))
        return;
    const auto key = nkp::signing::PrivateKey::generate();
    const nkp::signing::Signer signer {*key, {"Иванов", key->publicKey()}};
    if (!nkp::signing::signFile(path, signer, {{2026, 1, 2, 3, 4, 5}, true, "ttyUSB0"})) {
        state.SkipWithError("the read-out could not be signed");
        return;
    }
    const nkp::signing::TrustedKeys trusted {{signer.publicKey}};
    for (auto _ : state) {
        const auto verification = nkp::signing::verifyFile(path, trusted);
        if (!verification || verification->status != nkp::signing::SignatureStatus::Valid)
            state.SkipWithError("the signature does not verify");
        benchmark::DoNotOptimize(verification);
    }
    std::filesystem::remove(nkp::signing::signaturePath(path));
}
BENCHMARK(BM_Verify)->Unit(benchmark::kMicrosecond);

}  // namespace
