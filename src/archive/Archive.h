#pragma once

#include "archive/ArchiveAddress.h"
#include "archive/ArchivePrepare.h"
#include "archive/ArchiveResult.h"
#include "archive/CraneLog.h"
#include "base/DateTime.h"
#include "base/Failure.h"
#include "recorder/DataFileLayout.h"
#include "signing/Verification.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The crane archive: every read-out kept in an SQL database (an SQLite file,
// or a shared PostgreSQL database), its typed values in columns and the whole
// data file compressed. Texts come and go as Windows-1251 bytes; the database
// holds them as UTF-8. One Archive is used from one thread.
namespace nkp::archive {

// The schema version this program writes; an archive of a newer one is refused.
inline constexpr int kSchemaVersion = 6;
// SQLite's application id of an archive file ("NKP3"), set when it is made
// or brought up to date; archives made before it carry 0.
inline constexpr int kApplicationId = 0x4E4B5033;

// Whether opening may make a new archive: only adding read-outs does;
// reading commands and the window's list need one that exists.
enum class OpenMode { Existing, CreateIfMissing };

// One archived read-out without its data file (texts Windows-1251).
struct ArchivedReadout
    : analysis::ReadoutSummary {  // characteristicNumber NaN when the stored one is no finite number
    std::int64_t id = 0;
    std::int64_t craneId = 0;
    std::string sha256, fileName;
    std::string importedAt;  // "yyyy-mm-dd hh:mm:ss" UTC
    ReadoutFigures figures;
    // The signature's status with the archive's trusted keys as they are now:
    // found at import, or when its key was trusted later.
    signing::SignatureStatus signature = signing::SignatureStatus::Missing;
};

// A memory image given again under another crane identification: the
// archive keeps the first, and remembers the second for the remark.
struct ImageAlias {
    std::string sha256;
    std::string model, number, readingText;  // Windows-1251, as the second copy gives them
    std::string fileName;
    std::int64_t craneId = 0;             // the crane that holds the image
    std::string craneModel, craneNumber;  // Windows-1251, that crane's
    std::optional<base::DateTime> readingMoment;
};

// A crane as the archive knows it; `ownFile` is set (to the read-out's
// SHA-256) only for a crane without a number, so that it is never merged.
struct ArchivedCrane {
    std::int64_t id = 0;
    std::string model, number, ownFile;
};

// SameImageOtherCrane: the image is there under another crane's identification.
enum class AddOutcome { Added, AlreadyThere, SameImageOtherCrane };

// What the check of the whole archive found.
struct VerifyReport {
    // The first change found, in chain order (UTF-8, one line); none when
    // everything holds.
    std::optional<std::string> problem;
    int ledgerRows = 0;
    int readouts = 0, logEntries = 0, keys = 0, settings = 0;
    // How many read-outs have each signature status, as checked now.
    std::array<int, 5> signatures {};
    // The hash of the chain's last row (lower-case hex): noted down outside
    // the archive, it shows later that no rows were cut from the end.
    std::string headHash;
    bool cancelled = false;
};
// "архив не изменён: строк реестра N, считываний N, ..." (UTF-8).
std::string verifySummaryText(const VerifyReport& report);
// "подписи: верна N, нет N, файл изменён N, ..." (UTF-8).
std::string signatureCountsText(const VerifyReport& report);
// "хеш последней строки реестра: HEX" (UTF-8).
std::string headHashText(const VerifyReport& report);

// What trusting a key did: `checked` read-outs signed with it were verified anew.
struct TrustOutcome {
    bool alreadyTrusted = false;
    int checked = 0;
};
// What trusting `key` did, a line each (UTF-8): "ключ добавлен в доверенные:
// SIGNER, ключ FINGERPRINT" and "проверено подписей считываний: N", or
// "ключ уже в доверенных: ...".
std::vector<std::string> trustOutcomeLines(const signing::PublicKey& key, const TrustOutcome& outcome);

class Archive {
public:
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // Opens the archive at `location`: an SQLite file path or
    // "postgresql://user@host:port/dbname"; with CreateIfMissing a missing
    // file or an empty database becomes a new archive. The database is
    // recognised before anything is written: one that is not an archive of
    // this program, or is newer, or whose schema version is damaged, is
    // refused without a byte changed. An older schema is brought up to date.
    // Fails with a Russian text (ArchiveText.h).
    static Result<std::unique_ptr<Archive>> open(const std::string& location, OpenMode mode);

    // Adds one read-out in one transaction, with its ledger row (and those of
    // its log entries); its signature is checked against the archive's
    // trusted keys on the way. A read-out whose image is already there is
    // left as it is. On failure nothing is written.
    Result<AddOutcome> add(const PreparedReadout& readout);

    Result<std::vector<ArchivedCrane>> cranes() const;
    // Every read-out, ordered by crane.
    Result<std::vector<ArchivedReadout>> readouts() const;
    Result<std::vector<ArchivedReadout>> readoutsOfCrane(std::int64_t craneId) const;
    // The stored data file, byte for byte; a failure when unknown or damaged.
    Result<std::vector<std::uint8_t>> dataFile(const std::string& sha256) const;

    // The crane log: entries of one crane, or of every crane (by crane, then
    // number), with corrections marked.
    Result<std::vector<LogEntry>> log(std::int64_t craneId) const;
    Result<std::vector<LogEntry>> logs() const;
    // Adds an entry as the crane's next number (also when others add at the
    // same moment); returns it as stored. Entries are never changed.
    Result<LogEntry> addLogEntry(const NewLogEntry& entry);
    // The crane's settings (defaults when none are kept); all that are kept.
    Result<CraneSettings> craneSettings(std::int64_t craneId) const;
    Result<std::vector<std::pair<std::int64_t, CraneSettings>>> allCraneSettings() const;
    Result<bool> setCraneSettings(std::int64_t craneId, const CraneSettings& settings);
    // The archive's own trusted keys: every program sharing the archive
    // checks signatures against these alone.
    Result<signing::TrustedKeys> trustedKeys() const;
    // Trusts `key` (with its ledger row); the read-outs signed with it that
    // came before are checked now, their status kept beside them. A key
    // trusted already is left as it is.
    Result<TrustOutcome> trustKey(const signing::PublicKey& key);
    // Walks the ledger, recomputes each stored file's SHA-256 and each
    // signature (unpacking and hashing in the thread pool) and names the
    // first record that was changed, removed or inserted out of turn;
    // `progress(done, total)` over the read-outs. A set `cancel` stops early.
    Result<VerifyReport> verify(
        const std::function<void(int, int)>& progress = {}, const std::atomic<bool>* cancel = nullptr) const;
    // Images given again under another identification.
    Result<std::vector<ImageAlias>> imageAliases() const;
    // The model and number (Windows-1251) of the crane that holds the image.
    Result<std::pair<std::string, std::string>> craneOfImage(const std::string& sha256) const;

    bool postgres() const;
    bool readOnly() const;
    int schemaVersion() const;
    // The Qt SQL connection's name (tests use it to reach the database).
    std::string connectionName() const;

private:
    struct State;
    explicit Archive(std::unique_ptr<State> state);
    std::unique_ptr<State> d_;
};

// Brings the schema of a freshly opened database to `version` (tests make
// older archives with it). Fails when the database is no archive of this
// program or a newer one.
Done migrateConnection(const std::string& connectionName, int version);

}  // namespace nkp::archive
