#include "archive/ArchiveImport.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>

namespace nkp::archive {
namespace {

// Files read and compressed ahead of the writer at a time.
constexpr std::size_t kBatch = 32;

struct Prepared {
    std::optional<PreparedReadout> readout;
    std::string error;
};

}  // namespace

std::vector<std::string> collectImportFiles(
    const std::vector<std::string>& paths, std::vector<ImportProblem>* missing)
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
            missing->push_back({path, "no such file or folder"});
        }
    }
    return out;
}

ImportReport importFiles(Archive& archive, const std::vector<std::string>& files,
    const std::function<void(int, int)>& progress, const std::atomic<bool>* cancel)
{
    ImportReport report;
    const int total = static_cast<int>(files.size());
    int done = 0;
    for (std::size_t start = 0; start < files.size(); start += kBatch) {
        const std::vector<std::string> batch(files.begin() + static_cast<std::ptrdiff_t>(start),
            files.begin() + static_cast<std::ptrdiff_t>(std::min(files.size(), start + kBatch)));
        const QList<Prepared> prepared
            = QtConcurrent::blockingMapped<QList<Prepared>>(batch, [](const std::string& path) {
                  Prepared p;
                  p.readout = prepareReadout(path, &p.error);
                  return p;
              });
        for (qsizetype i = 0; i < prepared.size(); ++i) {
            if (cancel && cancel->load()) {
                report.cancelled = true;
                return report;
            }
            const Prepared& p = prepared[i];
            const std::string& path = batch[static_cast<std::size_t>(i)];
            if (!p.readout) {
                ++report.unreadable;
                report.problems.push_back({path, p.error});
            } else {
                std::string error;
                switch (archive.add(*p.readout, &error)) {
                case AddOutcome::Added:
                    ++report.added;
                    break;
                case AddOutcome::AlreadyThere:
                    ++report.alreadyThere;
                    break;
                case AddOutcome::Failed:
                    report.writeFailed = true;
                    report.writeError = "cannot add " + path + " to the archive: " + error;
                    return report;
                }
            }
            if (progress)
                progress(++done, total);
        }
    }
    return report;
}

}  // namespace nkp::archive
