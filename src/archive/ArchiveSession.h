#pragma once

#include "archive/Archive.h"
#include "archive/ArchiveImport.h"
#include "archive/ArchiveOverview.h"
#include "archive/CraneTable.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QThread;
class QTimer;

// The archive for a window: every call runs in a thread of the session's
// own, one after another, on one connection kept open there (opened again
// when the location changes or the database failed). Results arrive as
// signals in the thread the session lives in; the window makes the texts.
// A call that has not answered after a moment (a lock held by another
// program, a server that does not answer) is announced by stillWaiting().
namespace nkp::archive {

class ArchiveSession : public QObject {
    Q_OBJECT
public:
    explicit ArchiveSession(const std::string& location, QObject* parent = nullptr);
    // Never waits long for a call in progress: its thread ends on its own
    // once the call returns, and its result goes nowhere. The application's
    // end waits for such threads.
    ~ArchiveSession() override;

    // Later calls use `location`.
    void setLocation(const std::string& location);
    const std::string& location() const { return location_; }

    // Each call returns its number, which its answer carries.
    // Every crane of an existing archive -> reloaded.
    std::uint64_t reload();
    // The crane's read-outs in reading order -> historyReady.
    std::uint64_t history(std::int64_t craneId);
    // A stored data file -> dataFileReady.
    std::uint64_t dataFile(const std::string& sha256);
    // Files and folders (archive made when missing) -> importProgress, imported.
    std::uint64_t import(const std::vector<std::string>& paths);
    // Stops an import after the file in hand.
    void cancelImport();
    // A data file just saved (archive made when missing) -> savedAdded.
    std::uint64_t addSaved(const std::string& path);
    // Writes `cells` as a CSV file -> exported.
    std::uint64_t exportCsv(const std::string& path, std::vector<std::vector<std::string>> cells);

    // Checks the whole archive (Archive::verify) -> verifyProgress, verified.
    std::uint64_t verifyArchive();
    // Stops a check of the archive soon; verified() then says it was cancelled.
    void cancelVerify();
    // Trusts the public key file at `path` in the archive -> keyTrusted.
    std::uint64_t trustKey(const std::string& path);

    // The crane's log, corrections marked -> logReady.
    std::uint64_t log(std::int64_t craneId);
    // Adds an entry (numbered by the archive) -> logEntryAdded.
    std::uint64_t addLogEntry(const NewLogEntry& entry);
    // The crane's due-date settings (defaults when none kept) -> craneSettingsReady.
    std::uint64_t craneSettings(std::int64_t craneId);
    // Keeps the crane's settings -> craneSettingsSaved.
    std::uint64_t setCraneSettings(std::int64_t craneId, const CraneSettings& settings);
    // Every crane's due items against `today`, sorted by date -> dueListReady.
    std::uint64_t dueList(const base::DateTime& today, int horizonDays = kDefaultHorizonDays);
    // The remarks of every crane, or of one -> remarksReady.
    std::uint64_t remarks(std::optional<std::int64_t> craneId = std::nullopt);
    // Everything the crane report shows -> craneReportReady (draw it with
    // print::printCraneReport(device, craneReportContent(report, separator))).
    std::uint64_t craneReport(
        std::int64_t craneId, const base::DateTime& today, int horizonDays = kDefaultHorizonDays);

    // Calls given and not answered yet.
    int pending() const { return pending_; }
    // How long a call may take before stillWaiting() (250 ms by default).
    void setPatience(int milliseconds) { patience_ = milliseconds; }

    // What a call in the session's thread hands back: applied in the
    // session's own thread.
    using Delivery = std::function<void(ArchiveSession&)>;

signals:
    void reloaded(std::uint64_t call, const std::vector<nkp::archive::CraneRow>& rows);
    void historyReady(std::uint64_t call, const nkp::archive::CraneRow& row);
    void dataFileReady(std::uint64_t call, const std::vector<std::uint8_t>& bytes);
    void importProgress(int done, int total);
    void imported(std::uint64_t call, const nkp::archive::ImportReport& report);
    void savedAdded(std::uint64_t call, nkp::archive::AddOutcome outcome);
    void verifyProgress(int done, int total);
    void verified(std::uint64_t call, const nkp::archive::VerifyReport& report);
    void keyTrusted(
        std::uint64_t call, const nkp::signing::PublicKey& key, const nkp::archive::TrustOutcome& outcome);
    void exported(std::uint64_t call);
    void logReady(
        std::uint64_t call, std::int64_t craneId, const std::vector<nkp::archive::LogEntry>& entries);
    void logEntryAdded(std::uint64_t call, const nkp::archive::LogEntry& entry);
    void craneSettingsReady(
        std::uint64_t call, std::int64_t craneId, const nkp::archive::CraneSettings& settings);
    void craneSettingsSaved(std::uint64_t call, std::int64_t craneId);
    void dueListReady(std::uint64_t call, const std::vector<nkp::archive::DueRow>& rows);
    void remarksReady(std::uint64_t call, const std::vector<nkp::archive::CraneRemark>& remarks);
    void craneReportReady(std::uint64_t call, const nkp::archive::CraneReport& report);
    // The call could not be done; the text is Russian (ArchiveText.h).
    void failed(std::uint64_t call, const nkp::Failure& failure);
    // The oldest call has not answered within the patience.
    void stillWaiting();

private:
    class Worker;
    struct Shared;
    std::uint64_t post(std::function<Delivery(Worker&)> call);
    static Delivery failure(Worker& worker, std::uint64_t call, Failure failure);
    template <typename Work, typename Emit> std::uint64_t postOnArchive(Work work, Emit emitValue);

    std::string location_;
    std::shared_ptr<Shared> shared_;
    QThread* thread_ = nullptr;
    Worker* worker_ = nullptr;
    QTimer* patienceTimer_ = nullptr;
    std::uint64_t lastCall_ = 0;
    int pending_ = 0;
    int patience_ = 250;
};

}  // namespace nkp::archive
