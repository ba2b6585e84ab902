#include "archive/ArchivePrepare.h"

#include "analysis/OverloadEpisodes.h"
#include "analysis/Readout.h"
#include "archive/ArchiveDb.h"
#include "archive/StoredFile.h"
#include "recorder/DataFileReader.h"
#include "signing/Keys.h"
#include "signing/SignatureFile.h"

#include <QFile>
#include <QFileInfo>

#include <charconv>

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

// The signature file's text beside `path`; one that exists but cannot be
// read as a small text file is kept as a damaged one.
std::optional<std::string> signatureBeside(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(signing::signaturePath(path)));
    if (!info.exists())
        return std::nullopt;
    QFile file(info.filePath());
    if (!info.isFile() || info.size() > static_cast<qint64>(signing::kSignatureFileLimit)
        || !file.open(QIODevice::ReadOnly))
        return std::string();
    return file.readAll().toStdString();
}

}  // namespace

void readFigures(const recorder::DataFileReader& reader, PreparedReadout& p)
{
    // The archive keeps no list of broken frames: the episode count below
    // passes over them on its own.
    const analysis::Readout r = analysis::readReadout(reader, analysis::FrameCheck::LeaveToDecoding);
    using recorder::IdField;
    static_cast<analysis::ReadoutSummary&>(p) = analysis::readoutSummary(r);
    for (std::string* text : {&p.craneModel, &p.craneNumber, &p.owner, &p.limiterSerial})
        *text = trimmed(*text);
    const analysis::FrameOverview frames = analysis::overviewFrames(reader);
    p.overloadEpisodes = frames.overloadEpisodes;
    p.figures.newestFrame = frames.newestFrame;
    const std::string year = trimmed(r.text(IdField::CraneYear));
    int value = 0;
    const auto [end, ec] = std::from_chars(year.data(), year.data() + year.size(), value);
    if (ec == std::errc() && end == year.data() + year.size() && value > 1800 && value < 2200)
        p.figures.manufactureYear = value;
    p.figures.recorderReadings.clear();
    for (const analysis::RecorderStamp& stamp : r.readingStamps)
        if (const auto moment = stamp.moment(); moment && !stamp.unused())
            p.figures.recorderReadings.push_back(*moment);
    p.figures.operatingMinutes = r.operatingMinutes;
    p.figures.cycleCounts = r.cycleCounts;
    p.figures.liftedMassRaw = r.liftedMassRaw;
    p.readerName = trimmed(r.text(IdField::Operator));
    p.readerCertificate = trimmed(r.text(IdField::CertNumber));
}

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
    p.fileSha256 = signing::sha256Hex(bytes);
    p.fileName = fileName;
    readFigures(recorder::DataFileReader(std::move(bytes)), p);
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
    auto p = prepareReadout(std::move(bytes), info.fileName().toStdString());
    if (p)
        p->signature = signatureBeside(path);
    return p;
}

}  // namespace nkp::archive
