#include "analysis/EventsCsv.h"

#include "analysis/FrameFieldTexts.h"
#include "base/Codec.h"
#include "base/SpreadsheetCsv.h"

namespace nkp::analysis {

using fileio::appendCsvLine;
using fileio::kUtf8Bom;

namespace {

using codec::cp1251ToUtf8;

void appendUtf8Line(std::string& out, const std::array<std::string, 3>& cp1251Cells)
{
    appendCsvLine(
        out, {cp1251ToUtf8(cp1251Cells[0]), cp1251ToUtf8(cp1251Cells[1]), cp1251ToUtf8(cp1251Cells[2])});
}

}  // namespace

table::Columns<Episode> episodeColumns(const recorder::FrameStore& frames)
{
    using Column = table::Column<Episode>;
    const auto countColumn = [](const char* header, int (*field)(const Episode&)) {
        return Column(
            header, [field](const Episode& e, char) { return std::to_string(field(e)); },
            [field](const Episode& e) { return std::optional<double>(field(e)); }, table::Alignment::Right);
    };
    // A moment as its frame's text; moments sort by the frames' positions,
    // which run in time order.
    const auto moment = [&frames](const char* header, int Episode::*record, int Episode::*position) {
        return Column(
            header,
            [&frames, record](const Episode& e, char) {
                return frameDateTimeText(frames[static_cast<std::size_t>(e.*record)]);
            },
            [position](const Episode& e) { return std::optional<double>(e.*position); });
    };
    // The peak frame's load mass, radius and boom length, as the frames table writes them.
    const auto peak
        = [&frames](const char* header, FrameQuantity quantity, float recorder::TFrameRecord::*value) {
              return Column(
                  header,
                  [&frames, quantity](const Episode& e, char sep) {
                      return frameNumberText(frames[static_cast<std::size_t>(e.peakRecord)], quantity, sep);
                  },
                  [&frames, value](const Episode& e) {
                      return std::optional<double>(frames[static_cast<std::size_t>(e.peakRecord)].*value);
                  },
                  table::Alignment::Right);
          };
    return {
        Column("Событие", [](const Episode& e, char) { return cp1251ToUtf8(episodeKindText(e)); }),
        countColumn("Первый кадр", [](const Episode& e) { return e.firstPosition; }),
        countColumn("Последний кадр", [](const Episode& e) { return e.lastPosition; }),
        countColumn("Кадров", [](const Episode& e) { return e.frameCount(); }),
        moment("Начало", &Episode::firstRecord, &Episode::firstPosition),
        moment("Конец", &Episode::lastRecord, &Episode::lastPosition),
        countColumn("Пик загрузки, %", [](const Episode& e) { return e.peakPercent; }),
        peak("Масса груза, т", FrameQuantity::LoadMass, &recorder::TFrameRecord::LoadMass),
        peak("Вылет, м", FrameQuantity::Radius, &recorder::TFrameRecord::Radius),
        peak("Длина стрелы, м", FrameQuantity::BoomLength, &recorder::TFrameRecord::BoomLength),
    };
}

std::string eventsCsv(
    const std::vector<Episode>& episodes, const recorder::FrameStore& frames, char sep, bool byteOrderMark)
{
    return table::csvText(episodeColumns(frames), episodes, sep, byteOrderMark);
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
