// `archive verify` of 10000 signed read-outs on SQLite: every stored file
// unpacked, hashed and its signature checked, and the ledger walked. Must
// stay under 10 s. The archive is made once and kept under the build folder
// (it takes a while to fill); a program of a newer schema makes it anew.
#include "archive/Archive.h"
#include "archive/ArchivePrepare.h"
#include "generator/ReadoutGenerator.h"
#include "signing/Verification.h"

#include <QtConcurrent/QtConcurrentMap>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <numeric>

namespace {

using namespace nkp;

constexpr int kReadouts = 10000;

// The read-out `n`: one generated file with its number in the first frame,
// signed by `signer`.
archive::PreparedReadout signedReadout(
    const std::vector<std::uint8_t>& base, int n, const signing::Signer& signer)
{
    std::vector<std::uint8_t> bytes = base;
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
    const std::string signature
        = signing::signatureFor(bytes, signer, {{2026, 1, 2, 3, 4, 5}, true, "ttyUSB0"});
    auto p = archive::prepareReadout(std::move(bytes), std::to_string(n) + ".nkp");
    p->craneNumber = std::to_string(n / 10);
    p->signature = signature;
    return std::move(*p);
}

// The archive's path, filled when it is not there yet; empty when it could not be.
std::string verifyArchive()
{
    const std::filesystem::path path = std::filesystem::path(NKP_BENCH_CACHE_DIR) / "verify-10000.sqlite";
    if (std::filesystem::exists(path)) {
        auto a = archive::Archive::open(path.string(), archive::OpenMode::Existing);
        if (a && (*a)->readouts() && (*a)->readouts()->size() == kReadouts)
            return path.string();
    }
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(path.string() + suffix, ec);
    std::filesystem::create_directories(path.parent_path(), ec);
    auto opened = archive::Archive::open(path.string(), archive::OpenMode::CreateIfMissing);
    const auto key = signing::PrivateKey::generate();
    if (!opened || !key)
        return {};
    const signing::Signer signer {*key, {"Bench", key->publicKey()}};
    if (!(*opened)->trustKey(signer.publicKey))
        return {};
    generator::GeneratorOptions options;
    options.brokenFrames = 0;
    const std::vector<std::uint8_t> base = generator::generateDataFile(options);
    constexpr int kBatch = 500;
    for (int first = 0; first < kReadouts; first += kBatch) {
        std::vector<int> numbers(kBatch);
        std::iota(numbers.begin(), numbers.end(), first);
        const auto prepared
            = QtConcurrent::blockingMapped(numbers, [&](int n) { return signedReadout(base, n, signer); });
        for (const archive::PreparedReadout& p : prepared)
            if (const auto added = (*opened)->add(p); !added || *added != archive::AddOutcome::Added)
                return {};
    }
    return path.string();
}

void BM_ArchiveVerify(benchmark::State& state)
{
    const std::string path = verifyArchive();
    if (path.empty()) {
        state.SkipWithError("the archive could not be filled");
        return;
    }
    for (auto _ : state) {
        auto a = archive::Archive::open(path, archive::OpenMode::Existing);
        const auto report = a ? (*a)->verify() : Result<archive::VerifyReport>(a.failure());
        if (!report || report->problem
            || report->signatures[static_cast<std::size_t>(signing::SignatureStatus::Valid)] != kReadouts) {
            state.SkipWithError("the archive does not verify");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kReadouts);
}
BENCHMARK(BM_ArchiveVerify)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
