#pragma once

#include "analysis/Events.h"
#include "analysis/LoadBands.h"
#include "recorder/FrameStore.h"

#include <array>
#include <string>
#include <vector>

// The texts of the events list and of the load spectrum, shared by the
// window, the printout and the CSV files. Numbers are written as the frames
// table writes them, with the given decimal separator.
namespace nkp::analysis {

inline constexpr int kEpisodeColumnCount = 10;

// Column headings, Windows-1251: "Событие", "Первый кадр", "Последний кадр",
// "Кадров", "Начало", "Конец", "Пик загрузки, %", "Масса груза, т",
// "Вылет, м", "Длина стрелы, м".
const std::array<std::string, kEpisodeColumnCount>& episodeColumnHeaders();

// One episode's cells, Windows-1251: kind, first and last position, frames,
// first and last frame's "dd.mm.yyyy hh:mm:ss", peak percentage, and the
// load mass, radius and boom length of the first frame with the peak.
std::array<std::string, kEpisodeColumnCount> episodeCells(
    const Episode& episode, const recorder::FrameStore& frames, char decimalSeparator);

// The episodes as CSV (UTF-8, ";", CR LF, a heading line first).
std::string eventsCsv(const std::vector<Episode>& episodes, const recorder::FrameStore& frames,
    char decimalSeparator, bool byteOrderMark);

// The spectrum as CSV: a heading line and the thirteen bands of frames with
// their count and share, a total line; then a heading line and the
// recorder's five band counters with their share, a total line.
std::string spectrumCsv(const LoadSpectrum& spectrum, char decimalSeparator, bool byteOrderMark);

}  // namespace nkp::analysis
