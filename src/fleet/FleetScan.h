#pragma once

#include "base/Failure.h"
#include "fleet/FleetRow.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <optional>
#include <string>
#include <vector>

namespace nkp::fleet {

// Lists `folder` and loads every read-out in it with the threads of `pool`,
// blocking until all are loaded; rows in listing order. Fails when the
// folder cannot be listed (the cause in English).
Result<std::vector<FleetRow>> scanFleet(const std::string& folder, char decimalSeparator, QThreadPool& pool);

// The same off the calling thread, for a window: the folder is listed in the
// pool, then every read-out is loaded there (QtConcurrent::mapped). Signals
// arrive in the thread the object lives in. It has its own pool, so that
// after cancel() and wait() no thread of it runs any more.
class FleetScan : public QObject {
    Q_OBJECT
public:
    explicit FleetScan(QObject* parent = nullptr);
    ~FleetScan() override;  // cancels and waits

    // Threads that load at once; 0 (the default): one per core.
    void setThreadCount(int count);
    QThreadPool& pool() { return pool_; }

    // Starts scanning `folder`; a scan still running is cancelled first.
    void start(const std::string& folder, char decimalSeparator);
    // Asks the running scan to stop: loading that has begun completes, no
    // other file is taken up; cancelled() follows.
    void cancel();
    // Blocks until no task of the scan runs.
    void wait();
    // Whether a task of the scan is running in the pool (its last signal
    // may still be on its way).
    bool isRunning() const;

    // The loading of the last scan; its results are the rows in listing order.
    QFuture<FleetRow> future() const { return rows_.future(); }
    // The rows loaded so far by the last scan, in listing order; none while
    // the folder is being listed.
    std::vector<FleetRow> rows() const;

signals:
    void listed(int count);  // the folder is listed; loading begins
    void progress(int done, int total);
    void finished();  // every row is loaded
    void cancelled();
    void failed(const QString& message);  // the folder could not be listed (English cause)

private:
    struct Listing {
        std::optional<std::vector<std::string>> files;
        std::string error;
    };
    void listingDone();
    void loadingDone();

    // Which signal the scan waits for; a watcher's signal from an earlier
    // scan that arrives late is ignored.
    enum class Stage { Idle, Listing, Loading };

    QThreadPool pool_;
    QFutureWatcher<Listing> listing_;
    QFutureWatcher<FleetRow> rows_;
    std::string folder_;
    char decimalSeparator_ = ',';
    bool cancelRequested_ = false;
    Stage stage_ = Stage::Idle;
    bool loadingStarted_ = false;
};

}  // namespace nkp::fleet
