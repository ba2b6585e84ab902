#include "analysis/EventsCsv.h"

#include "analysis/FrameFieldTexts.h"
#include "base/Codec.h"
#include "base/SpreadsheetCsv.h"

namespace nkp::analysis {

using fileio::appendCsvLine;
using fileio::kUtf8Bom;

namespace {

using codec::cp1251ToUtf8;

const recorder::TFrameRecord& record(const recorder::FrameStore& frames, int index)
{
    return frames[static_cast<std::size_t>(index)];
}

void appendUtf8Line(std::string& out, const std::array<std::string, 3>& cp1251Cells)
{
    appendCsvLine(
        out, {cp1251ToUtf8(cp1251Cells[0]), cp1251ToUtf8(cp1251Cells[1]), cp1251ToUtf8(cp1251Cells[2])});
}

}  // namespace

const std::array<std::string, kEpisodeColumnCount>& episodeColumnHeaders()
{
    static const std::array<std::string, kEpisodeColumnCount> headers = {codec::utf8ToCp1251("Событие"),
        codec::utf8ToCp1251("Первый кадр"), codec::utf8ToCp1251("Последний кадр"),
        codec::utf8ToCp1251("Кадров"), codec::utf8ToCp1251("Начало"), codec::utf8ToCp1251("Конец"),
        codec::utf8ToCp1251("Пик загрузки, %"), codec::utf8ToCp1251("Масса груза, т"),
        codec::utf8ToCp1251("Вылет, м"), codec::utf8ToCp1251("Длина стрелы, м")};
    return headers;
}

std::array<std::string, kEpisodeColumnCount> episodeCells(
    const Episode& e, const recorder::FrameStore& frames, char sep)
{
    FrameNumberTexts peak = frameNumberTexts(record(frames, e.peakRecord), sep);
    return {episodeKindText(e), std::to_string(e.firstPosition), std::to_string(e.lastPosition),
        std::to_string(e.frameCount()), frameDateTimeText(record(frames, e.firstRecord)),
        frameDateTimeText(record(frames, e.lastRecord)), std::to_string(e.peakPercent),
        std::move(peak.loadMass), std::move(peak.radius), std::move(peak.boomLength)};
}

std::string eventsCsv(
    const std::vector<Episode>& episodes, const recorder::FrameStore& frames, char sep, bool byteOrderMark)
{
    std::string out;
    out.reserve(128 + episodes.size() * 96);
    if (byteOrderMark)
        out += kUtf8Bom;
    std::array<std::string, kEpisodeColumnCount> cells = episodeColumnHeaders();
    for (std::string& cell : cells)
        cell = cp1251ToUtf8(cell);
    appendCsvLine(out, cells);
    for (const Episode& e : episodes) {
        // Only the kind is not ASCII.
        cells = episodeCells(e, frames, sep);
        cells[0] = cp1251ToUtf8(cells[0]);
        appendCsvLine(out, cells);
    }
    return out;
}

std::string spectrumCsv(const LoadSpectrum& s, char sep, bool byteOrderMark)
{
    std::string out;
    if (byteOrderMark)
        out += kUtf8Bom;
    const std::string total = codec::utf8ToCp1251("Всего");
    appendUtf8Line(out,
        {codec::utf8ToCp1251("Степень загрузки, %"), codec::utf8ToCp1251("Кадров"),
            codec::utf8ToCp1251("Доля, %")});
    for (int band = 0; band < kSpectrumBandCount; ++band) {
        const int count = s.frames[static_cast<std::size_t>(band)];
        appendUtf8Line(
            out, {spectrumBandText(band), std::to_string(count), shareText(count, s.validFrames, sep)});
    }
    appendUtf8Line(out, {total, std::to_string(s.validFrames), shareText(s.validFrames, s.validFrames, sep)});
    appendUtf8Line(out,
        {codec::utf8ToCp1251("Диапазон нагрузок"), codec::utf8ToCp1251("Рабочие циклы"),
            codec::utf8ToCp1251("Доля, %")});
    for (std::size_t band = 0; band < s.cycles.size(); ++band)
        appendUtf8Line(out,
            {cycleBandText(band), std::to_string(s.cycles[band]),
                shareText(s.cycles[band], s.totalCycles, sep)});
    appendUtf8Line(out, {total, std::to_string(s.totalCycles), shareText(s.totalCycles, s.totalCycles, sep)});
    return out;
}

}  // namespace nkp::analysis
