#include "fleet/FleetScan.h"

#include "fleet/ReadoutListing.h"

#include <QThread>
#include <QtConcurrent>

namespace nkp::fleet {
namespace {

// Loads one listed read-out.
auto rowLoader(std::string folder, char sep)
{
    return [folder = std::move(folder), sep](
               const std::string& relative) { return loadFleetRow(folder, relative, sep); };
}

}  // namespace

Result<std::vector<FleetRow>> scanFleet(const std::string& folder, char sep, QThreadPool& pool)
{
    const auto files = listReadouts(folder);
    if (!files)
        return files.failure();
    return QtConcurrent::blockingMapped<std::vector<FleetRow>>(&pool, *files, rowLoader(folder, sep));
}

FleetScan::FleetScan(QObject* parent)
    : QObject(parent)
{
    setThreadCount(0);
    connect(&listing_, &QFutureWatcher<Listing>::finished, this, &FleetScan::listingDone);
    connect(&rows_, &QFutureWatcher<FleetRow>::progressValueChanged, this,
        [this](int value) { emit progress(value, rows_.progressMaximum()); });
    connect(&rows_, &QFutureWatcher<FleetRow>::finished, this, &FleetScan::loadingDone);
}

FleetScan::~FleetScan()
{
    cancel();
    wait();
}

void FleetScan::setThreadCount(int count)
{
    pool_.setMaxThreadCount(count > 0 ? count : QThread::idealThreadCount());
}

void FleetScan::start(const std::string& folder, char sep)
{
    cancel();
    wait();
    cancelRequested_ = false;
    folder_ = folder;
    decimalSeparator_ = sep;
    stage_ = Stage::Listing;
    loadingStarted_ = false;
    listing_.setFuture(QtConcurrent::run(&pool_, [folder] {
        Listing listing;
        auto files = listReadouts(folder);
        if (files)
            listing.files = std::move(*files);
        else
            listing.error = files.error();
        return listing;
    }));
}

void FleetScan::cancel()
{
    cancelRequested_ = true;
    rows_.cancel();
}

void FleetScan::wait()
{
    listing_.waitForFinished();
    rows_.waitForFinished();
    pool_.waitForDone();
}

bool FleetScan::isRunning() const
{
    return listing_.isRunning() || rows_.isRunning();
}

std::vector<FleetRow> FleetScan::rows() const
{
    if (!loadingStarted_)
        return {};
    const QList<FleetRow> loaded = rows_.future().results();
    return std::vector<FleetRow>(loaded.begin(), loaded.end());
}

void FleetScan::listingDone()
{
    if (stage_ != Stage::Listing || !listing_.isFinished())
        return;
    stage_ = Stage::Idle;
    if (cancelRequested_) {
        emit cancelled();
        return;
    }
    Listing listing = listing_.result();
    if (!listing.files) {
        emit failed(QString::fromStdString(listing.error));
        return;
    }
    stage_ = Stage::Loading;
    loadingStarted_ = true;
    const int count = static_cast<int>(listing.files->size());
    rows_.setFuture(
        QtConcurrent::mapped(&pool_, std::move(*listing.files), rowLoader(folder_, decimalSeparator_)));
    emit listed(count);  // after the loading began, so that a receiver may cancel it
}

void FleetScan::loadingDone()
{
    if (stage_ != Stage::Loading)
        return;
    stage_ = Stage::Idle;
    if (rows_.isCanceled())
        emit cancelled();
    else
        emit finished();
}

}  // namespace nkp::fleet
