#include "analysis/ReadoutLoader.h"

#include "analysis/FrameDecoding.h"
#include "base/Codec.h"
#include "base/DateTime.h"

#include <numeric>

namespace nkp::analysis {

int FrameView::recordIndexAt(int position) const
{
    return ringIndex(position, RingStart);
}

const recorder::TFrameRecord& FrameView::recordAt(int position) const
{
    return frames[static_cast<std::size_t>(recordIndexAt(position))];
}

Result<recorder::DataFileReader> openReadoutFile(const std::string& path)
{
    Result<recorder::DataFileReader> file = recorder::DataFileReader::open(path);
    if (!file)
        return file.failure();
    if (file->size() < kShortestReadout)
        return Failure {path, "too short for a read-out (" + std::to_string(file->fileSize()) + " bytes)"};
    return std::move(*file);
}

void setLoadedFile(const std::string& path, LoadedReadout& loaded)
{
    loaded.filePath = path;
    const std::size_t slash = path.find_last_of('/');
    loaded.fileName = codec::utf8ToCp1251(slash == std::string::npos ? path : path.substr(slash + 1));
}

void clearAll(FrameView& view)
{
    view.frames.clear();
    view.RingStart = 0;
    view.FrameOrder.assign(recorder::kFrameCount, 0);
}

void loadReadout(const recorder::DataFileReader& file, LoadedReadout& s)
{
    s.readout = readReadout(file, FrameCheck::LeaveToDecoding);
    RingFacts ring = decodeFrames(file, s.frames);
    s.readout.diagnostics.brokenFrames = std::move(ring.brokenFrames);
    s.readout.diagnostics.nonCalendarFrames = std::move(ring.nonCalendarFrames);

    s.frameYear = std::move(ring.frameYear);
    s.newestFrame = ring.newestFrame;
    s.RingStart = ring.ringStart;
    // Without the year byte the newest frame's moment is unknown, not a guess.
    s.newestFrameTime = ring.yearKnown ? base::dateTimeText(ring.newest) : std::string();
    s.FrameOrder.resize(recorder::kFrameCount);
    std::iota(s.FrameOrder.begin(), s.FrameOrder.end(), 0);
    s.loadedFrames = static_cast<int>(recorder::kFrameCount);
}

void loadReadoutSummary(const recorder::DataFileReader& file, LoadedReadout& loaded)
{
    loaded.readout = readReadout(file);
}

Done openAndLoad(const std::string& path, LoadedReadout& loaded,
    const std::function<void(const recorder::DataFileReader&)>& load)
{
    Result<recorder::DataFileReader> file = openReadoutFile(path);
    if (!file)
        return file.failure();
    load(*file);
    setLoadedFile(path, loaded);
    return {};
}

Done loadReadout(const std::string& path, LoadedReadout& loaded)
{
    return openAndLoad(
        path, loaded, [&](const recorder::DataFileReader& file) { loadReadout(file, loaded); });
}

Done loadReadoutSummary(const std::string& path, LoadedReadout& loaded)
{
    return openAndLoad(
        path, loaded, [&](const recorder::DataFileReader& file) { loadReadoutSummary(file, loaded); });
}

}  // namespace nkp::analysis
