#pragma once

#include <QString>
#include <QStringList>

// The two SQL dialects the archive speaks: SQLite and PostgreSQL differ only
// in the identity column, the binary type and how a writer takes its lock.
namespace nkp::archive {

struct Dialect {
    bool postgres = false;
    QString identity() const;  // the id column's type and key
    QString binary() const;    // the type of the compressed data file
};

// The version that added the read-outs' overload episode count.
inline constexpr int kOverloadEpisodesVersion = 3;
// The version from which the data column holds zstd frames besides the older
// zlib ones: a program that knows only zlib must refuse such an archive.
inline constexpr int kZstdDataVersion = 4;

// The version that added the crane log, the cranes' settings, the images
// given again under another identification and the read-outs' figures the
// continuity checks need.
inline constexpr int kCraneLogVersion = 5;

// The version that keeps read-outs' signatures, the archive's trusted keys,
// the ledger, settings as rows that are only ever added, and the triggers
// that keep the evidence append-only.
inline constexpr int kLedgerVersion = 6;

// The statements that bring schema version `from` - 1 to `from`.
QStringList migrationStep(const Dialect& dialect, int to);

// The triggers that refuse to change or delete evidence (made once the
// ledger holds what the archive had).
QStringList appendOnlyTriggers(const Dialect& dialect);

}  // namespace nkp::archive
