#include "archive/ArchiveSession.h"

#include "base/SpreadsheetCsv.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <mutex>
#include <optional>
#include <set>

Q_DECLARE_METATYPE(nkp::archive::ArchiveSession::Delivery)

namespace nkp::archive {
namespace {

// The sessions' threads that still run, also those whose session has gone.
// The application's end waits for them: a call left waiting on a lock or a
// server ends within the archive's own time limits, and no thread may still
// use Qt SQL once the program's statics go.
std::mutex runningMutex;
std::set<QThread*> running;

void waitForSessionThreads()
{
    std::vector<QThread*> threads;
    {
        const std::lock_guard lock(runningMutex);
        threads.assign(running.begin(), running.end());
    }
    for (QThread* thread : threads)
        thread->wait();
}

void track(QThread* thread)
{
    static std::once_flag registered;
    std::call_once(registered, [] { qAddPostRoutine(waitForSessionThreads); });
    {
        const std::lock_guard lock(runningMutex);
        running.insert(thread);
    }
    QObject::connect(
        thread, &QThread::finished, thread,
        [thread] {
            const std::lock_guard lock(runningMutex);
            running.erase(thread);
        },
        Qt::DirectConnection);
}

}  // namespace

// What the session's thread and the session share.
struct ArchiveSession::Shared {
    std::atomic<bool> cancelImport {false};
    std::atomic<bool> cancelVerify {false};
};

// Lives in the session's thread and keeps its connection there.
class ArchiveSession::Worker : public QObject {
    Q_OBJECT
public:
    // The archive at `location`, opened with `mode` unless it is open already.
    Result<Archive*> archive(const std::string& location, OpenMode mode)
    {
        if (archive_ && location == location_)
            return archive_.get();
        archive_.reset();
        auto opened = Archive::open(location, mode);
        if (!opened)
            return opened.failure();
        archive_ = std::move(*opened);
        location_ = location;
        return archive_.get();
    }
    // After a failed call the connection is opened again next time: a
    // server may have gone away, a file may have been replaced.
    void forget() { archive_.reset(); }

    void run(std::uint64_t call, const std::function<Delivery(Worker&)>& work)
    {
        const Delivery delivery = work(*this);
        emit delivered(call, delivery);
    }

signals:
    void delivered(std::uint64_t call, const nkp::archive::ArchiveSession::Delivery& delivery);

private:
    std::unique_ptr<Archive> archive_;
    std::string location_;
};

ArchiveSession::ArchiveSession(const std::string& location, QObject* parent)
    : QObject(parent)
    , location_(location)
    , shared_(std::make_shared<Shared>())
    , thread_(new QThread)
    , worker_(new Worker)
    , patienceTimer_(new QTimer(this))
{
    qRegisterMetaType<Delivery>();
    thread_->setObjectName(QStringLiteral("ArchiveSession"));
    worker_->moveToThread(thread_);
    // The worker and its connection go with the thread; the thread is
    // deleted once it has ended.
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
    connect(
        worker_, &Worker::delivered, this,
        [this](std::uint64_t call, const Delivery& delivery) {
            // Progress reports carry no call.
            if (call != 0 && --pending_ > 0)
                patienceTimer_->start(patience_);
            else if (call != 0)
                patienceTimer_->stop();
            delivery(*this);
        },
        Qt::QueuedConnection);
    patienceTimer_->setSingleShot(true);
    connect(patienceTimer_, &QTimer::timeout, this, &ArchiveSession::stillWaiting);
    track(thread_);
    thread_->start();
}

ArchiveSession::~ArchiveSession()
{
    shared_->cancelImport = true;
    shared_->cancelVerify = true;
    disconnect(worker_, nullptr, this, nullptr);
    thread_->quit();
    // A call that returns soon is waited for, so that a closed window leaves
    // nothing behind; one that waits on a lock or a server is left to end.
    thread_->wait(QDeadlineTimer(300));
}

void ArchiveSession::setLocation(const std::string& location)
{
    location_ = location;
}

std::uint64_t ArchiveSession::post(std::function<Delivery(Worker&)> work)
{
    const std::uint64_t call = ++lastCall_;
    if (pending_++ == 0)
        patienceTimer_->start(patience_);
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, call, work = std::move(work)] { worker->run(call, work); },
        Qt::QueuedConnection);
    return call;
}

ArchiveSession::Delivery ArchiveSession::failure(Worker& worker, std::uint64_t call, Failure failure)
{
    worker.forget();
    return [call, failure = std::move(failure)](ArchiveSession& s) { emit s.failed(call, failure); };
}

std::uint64_t ArchiveSession::reload()
{
    const std::uint64_t call = lastCall_ + 1;
    return post([call, location = location_](Worker& w) -> Delivery {
        const auto archive = w.archive(location, OpenMode::Existing);
        if (!archive)
            return failure(w, call, archive.failure());
        auto readouts = (*archive)->readouts();
        if (!readouts)
            return failure(w, call, readouts.failure());
        auto rows = std::make_shared<std::vector<CraneRow>>(craneRows(std::move(*readouts)));
        return [call, rows](ArchiveSession& s) { emit s.reloaded(call, *rows); };
    });
}

std::uint64_t ArchiveSession::history(std::int64_t craneId)
{
    const std::uint64_t call = lastCall_ + 1;
    return post([call, craneId, location = location_](Worker& w) -> Delivery {
        const auto archive = w.archive(location, OpenMode::Existing);
        if (!archive)
            return failure(w, call, archive.failure());
        auto readouts = (*archive)->readoutsOfCrane(craneId);
        if (!readouts)
            return failure(w, call, readouts.failure());
        auto rows = craneRows(std::move(*readouts));
        auto row = std::make_shared<CraneRow>();
        row->craneId = craneId;
        if (!rows.empty())
            *row = std::move(rows.front());
        return [call, row](ArchiveSession& s) { emit s.historyReady(call, *row); };
    });
}

std::uint64_t ArchiveSession::dataFile(const std::string& sha256)
{
    const std::uint64_t call = lastCall_ + 1;
    return post([call, sha256, location = location_](Worker& w) -> Delivery {
        const auto archive = w.archive(location, OpenMode::Existing);
        if (!archive)
            return failure(w, call, archive.failure());
        auto bytes = (*archive)->dataFile(sha256);
        if (!bytes)
            return failure(w, call, bytes.failure());
        auto shared = std::make_shared<std::vector<std::uint8_t>>(std::move(*bytes));
        return [call, shared](ArchiveSession& s) { emit s.dataFileReady(call, *shared); };
    });
}

std::uint64_t ArchiveSession::import(const std::vector<std::string>& paths)
{
    const std::uint64_t call = lastCall_ + 1;
    shared_->cancelImport = false;
    return post([call, paths, location = location_, shared = shared_](Worker& w) -> Delivery {
        const auto archive = w.archive(location, OpenMode::CreateIfMissing);
        if (!archive)
            return failure(w, call, archive.failure());
        std::vector<Failure> missing;
        const auto files = collectImportFiles(paths, &missing);
        auto report = std::make_shared<ImportReport>(importFiles(
            **archive, files,
            [&w](int done, int total) {
                emit w.delivered(0, [done, total](ArchiveSession& s) { emit s.importProgress(done, total); });
            },
            &shared->cancelImport));
        report->unreadable += static_cast<int>(missing.size());
        report->problems.insert(report->problems.begin(), missing.begin(), missing.end());
        if (report->writeFailure)
            w.forget();
        return [call, report](ArchiveSession& s) { emit s.imported(call, *report); };
    });
}

void ArchiveSession::cancelImport()
{
    shared_->cancelImport = true;
}

std::uint64_t ArchiveSession::addSaved(const std::string& path)
{
    const std::uint64_t call = lastCall_ + 1;
    return post([call, path, location = location_](Worker& w) -> Delivery {
        const auto prepared = prepareReadout(path);
        if (!prepared)
            return failure(w, call, prepared.failure());
        const auto archive = w.archive(location, OpenMode::CreateIfMissing);
        if (!archive)
            return failure(w, call, archive.failure());
        const auto outcome = (*archive)->add(*prepared);
        if (!outcome)
            return failure(w, call, outcome.failure());
        return [call, outcome = *outcome](ArchiveSession& s) { emit s.savedAdded(call, outcome); };
    });
}

std::uint64_t ArchiveSession::exportCsv(const std::string& path, std::vector<std::vector<std::string>> cells)
{
    const std::uint64_t call = lastCall_ + 1;
    auto table = std::make_shared<const std::vector<std::vector<std::string>>>(std::move(cells));
    return post([call, path, table](Worker& w) -> Delivery {
        if (Done written = fileio::writeCsvFile(path, *table); !written)
            return failure(w, call, written.failure());
        return [call](ArchiveSession& s) { emit s.exported(call); };
    });
}

// The calls that read or write through the archive's own Result: each opens
// an existing archive, runs `work` on it and hands its value to `emitValue`.
template <typename Work, typename Emit> std::uint64_t ArchiveSession::postOnArchive(Work work, Emit emitValue)
{
    const std::uint64_t call = lastCall_ + 1;
    return post([call, location = location_, work = std::move(work), emitValue = std::move(emitValue)](
                    Worker& w) -> Delivery {
        Result<Archive*> archive = w.archive(location, OpenMode::Existing);
        if (!archive)
            return failure(w, call, archive.failure());
        auto result = work(**archive);
        if (!result)
            return failure(w, call, result.failure());
        auto value = std::make_shared<std::decay_t<decltype(*result)>>(std::move(*result));
        return [call, value, emitValue](ArchiveSession& s) { emitValue(s, call, *value); };
    });
}

std::uint64_t ArchiveSession::verifyArchive()
{
    const std::uint64_t call = lastCall_ + 1;
    shared_->cancelVerify = false;
    return post([call, location = location_, shared = shared_](Worker& w) -> Delivery {
        const auto archive = w.archive(location, OpenMode::Existing);
        if (!archive)
            return failure(w, call, archive.failure());
        // Progress at most every hundredth of the way: the window need not hear of each file.
        int shown = -1;
        auto report = (*archive)->verify(
            [&w, &shown](int done, int total) {
                if (done != total && done * 100 / std::max(total, 1) == shown)
                    return;
                shown = done * 100 / std::max(total, 1);
                emit w.delivered(0, [done, total](ArchiveSession& s) { emit s.verifyProgress(done, total); });
            },
            &shared->cancelVerify);
        if (!report)
            return failure(w, call, report.failure());
        return [call, report = *report](ArchiveSession& s) { emit s.verified(call, report); };
    });
}

void ArchiveSession::cancelVerify()
{
    shared_->cancelVerify = true;
}

std::uint64_t ArchiveSession::trustKey(const std::string& path)
{
    const std::uint64_t call = lastCall_ + 1;
    return post([call, path, location = location_](Worker& w) -> Delivery {
        auto key = signing::readPublicKey(path);
        if (!key)
            return failure(w, call, key.failure());
        const auto archive = w.archive(location, OpenMode::Existing);
        if (!archive)
            return failure(w, call, archive.failure());
        const auto outcome = (*archive)->trustKey(*key);
        if (!outcome)
            return failure(w, call, outcome.failure());
        return [call, key = *key, outcome = *outcome](
                   ArchiveSession& s) { emit s.keyTrusted(call, key, outcome); };
    });
}

std::uint64_t ArchiveSession::log(std::int64_t craneId)
{
    return postOnArchive([craneId](Archive& a) { return a.log(craneId); },
        [craneId](ArchiveSession& s, std::uint64_t call, const std::vector<LogEntry>& entries) {
            emit s.logReady(call, craneId, entries);
        });
}

std::uint64_t ArchiveSession::addLogEntry(const NewLogEntry& entry)
{
    return postOnArchive([entry](Archive& a) { return a.addLogEntry(entry); },
        [](ArchiveSession& s, std::uint64_t call, const LogEntry& added) {
            emit s.logEntryAdded(call, added);
        });
}

std::uint64_t ArchiveSession::craneSettings(std::int64_t craneId)
{
    return postOnArchive([craneId](Archive& a) { return a.craneSettings(craneId); },
        [craneId](ArchiveSession& s, std::uint64_t call, const CraneSettings& settings) {
            emit s.craneSettingsReady(call, craneId, settings);
        });
}

std::uint64_t ArchiveSession::setCraneSettings(std::int64_t craneId, const CraneSettings& settings)
{
    return postOnArchive([craneId, settings](Archive& a) { return a.setCraneSettings(craneId, settings); },
        [craneId](ArchiveSession& s, std::uint64_t call, bool) { emit s.craneSettingsSaved(call, craneId); });
}

std::uint64_t ArchiveSession::dueList(const base::DateTime& today, int horizonDays)
{
    return postOnArchive([today, horizonDays](Archive& a) { return archive::dueList(a, today, horizonDays); },
        [](ArchiveSession& s, std::uint64_t call, const std::vector<DueRow>& rows) {
            emit s.dueListReady(call, rows);
        });
}

std::uint64_t ArchiveSession::remarks(std::optional<std::int64_t> craneId)
{
    return postOnArchive([craneId](Archive& a) { return remarkList(a, craneId); },
        [](ArchiveSession& s, std::uint64_t call, const std::vector<CraneRemark>& remarks) {
            emit s.remarksReady(call, remarks);
        });
}

std::uint64_t ArchiveSession::craneReport(std::int64_t craneId, const base::DateTime& today, int horizonDays)
{
    return postOnArchive([craneId, today, horizonDays](
                             Archive& a) { return archive::craneReport(a, craneId, today, horizonDays); },
        [](ArchiveSession& s, std::uint64_t call, const CraneReport& report) {
            emit s.craneReportReady(call, report);
        });
}

}  // namespace nkp::archive

#include "ArchiveSession.moc"
