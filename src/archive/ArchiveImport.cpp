#include "archive/ArchiveImport.h"

#include "archive/ArchiveText.h"
#include "archive/CraneRemarks.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <deque>

namespace nkp::archive {
namespace {

// Files read and packed ahead of the writer, per thread of the pool.
constexpr std::size_t kAheadPerThread = 4;

using Prepared = Result<PreparedReadout>;

}  // namespace

std::vector<std::string> collectImportFiles(
    const std::vector<std::string>& paths, std::vector<Failure>* missing)
{
    std::vector<std::string> out;
    for (const std::string& path : paths) {
        const QFileInfo info(QString::fromStdString(path));
        if (info.isDir()) {
            std::vector<std::string> found;
            QDirIterator it(info.filePath(), {QStringLiteral("*.nkp"), QStringLiteral("*.NKP")},
                QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext())
                found.push_back(it.next().toStdString());
            std::sort(found.begin(), found.end());
            found.erase(std::unique(found.begin(), found.end()), found.end());
            out.insert(out.end(), found.begin(), found.end());
        } else if (info.exists()) {
            out.push_back(path);
        } else if (missing) {
            missing->push_back({path, text::noSuchFileOrFolder()});
        }
    }
    return out;
}

ImportReport importFiles(Archive& archive, const std::vector<std::string>& files,
    const std::function<void(int, int)>& progress, const std::atomic<bool>* cancel)
{
    ImportReport report;
    const int total = static_cast<int>(files.size());
    // Reading, hashing and packing run in the thread pool a few files ahead
    // of the writer, which adds one read-out after another meanwhile; the
    // files in hand are bounded, whatever the number of files.
    const std::size_t ahead
        = kAheadPerThread * static_cast<std::size_t>(std::max(1, QThread::idealThreadCount()));
    std::deque<QFuture<Prepared>> pending;
    std::size_t next = 0;
    const auto refill = [&] {
        for (; next < files.size() && pending.size() < ahead; ++next)
            pending.push_back(QtConcurrent::run([path = files[next]] { return prepareReadout(path); }));
    };
    // Nothing runs on after the import has returned.
    const auto stop = [&pending] {
        for (QFuture<Prepared>& f : pending)
            f.waitForFinished();
    };
    refill();
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (cancel && cancel->load()) {
            report.cancelled = true;
            stop();
            return report;
        }
        const Prepared p = pending.front().takeResult();
        pending.pop_front();
        refill();
        const std::string& path = files[i];
        if (!p) {
            ++report.unreadable;
            report.problems.push_back({path, p.failure().reason});
        } else if (const auto outcome = archive.add(*p); !outcome) {
            report.writeFailure = failed(text::cannotAdd(path, outcome.error()));
            stop();
            return report;
        } else {
            switch (*outcome) {
            case AddOutcome::Added:
                ++report.added;
                break;
            case AddOutcome::AlreadyThere:
                ++report.alreadyThere;
                break;
            case AddOutcome::SameImageOtherCrane: {
                ++report.otherCrane;
                const auto crane = archive.craneOfImage(p->sha256);
                report.sameImages.push_back(
                    {path, crane ? sameImageText(crane->first, crane->second) : crane.failure().reason});
                break;
            }
            }
        }
        if (progress)
            progress(static_cast<int>(i) + 1, total);
    }
    return report;
}

}  // namespace nkp::archive
