#include "archive/ArchivePrepare.h"

#include "analysis/OverloadEpisodes.h"
#include "analysis/Readout.h"
#include "archive/ArchiveDb.h"
#include "archive/StoredFile.h"
#include "recorder/DataFileReader.h"

#include <QFile>
#include <QFileInfo>

// Reading, hashing and packing a read-out before any connection is involved.
namespace nkp::archive {
namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

Result<PreparedReadout> prepareReadout(std::vector<std::uint8_t> bytes, const std::string& fileName)
{
    if (bytes.size() < recorder::kIdentificationOffset) {
        return failed(text::tooShort(bytes.size()));
    }
    PreparedReadout p;
    p.sha256 = imageHash(bytes);
    if (p.sha256.empty()) {
        return failed(text::hashFailed());
    }
    p.compressed = packDataFile(bytes);
    const recorder::DataFileReader reader(std::move(bytes));
    // The archive keeps no list of broken frames: the episode count below
    // passes over them on its own.
    const analysis::Readout r = analysis::readReadout(reader, analysis::FrameCheck::LeaveToDecoding);
    static_cast<analysis::ReadoutSummary&>(p) = analysis::readoutSummary(r);
    p.fileName = fileName;
    for (std::string* text : {&p.craneModel, &p.craneNumber, &p.owner, &p.limiterSerial})
        *text = trimmed(*text);
    p.overloadEpisodes = analysis::countOverloadEpisodes(reader);
    return p;
}

Result<PreparedReadout> prepareReadout(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    const QFileInfo info(file);
    if (!info.isFile()) {
        return failed(info.exists() ? text::notARegularFile() : text::noSuchFile());
    }
    if (info.size() > static_cast<qint64>(kMaxDataFileSize)) {
        return failed(text::tooLarge());
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return failed(file.errorString().toStdString());
    }
    // Read straight into the bytes that are kept; the file as long as it was found.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.size()));
    const qint64 got = file.read(reinterpret_cast<char*>(bytes.data()), info.size());
    if (got < 0) {
        return failed(file.errorString().toStdString());
    }
    bytes.resize(static_cast<std::size_t>(got));
    return prepareReadout(std::move(bytes), info.fileName().toStdString());
}

}  // namespace nkp::archive
