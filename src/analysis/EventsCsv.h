#pragma once

#include "analysis/Events.h"
#include "analysis/LoadBands.h"
#include "base/ColumnTable.h"
#include "recorder/FrameStore.h"

#include <string>
#include <vector>

// The texts of the events list and of the load spectrum, shared by the
// window, the printout and the CSV files. Numbers are written as the frames
// table writes them, with the given decimal separator.
namespace nkp::analysis {

// The columns of the events list, texts UTF-8: "Событие" (the kind),
// "Первый кадр", "Последний кадр", "Кадров", "Начало", "Конец" (the first
// and last frame's "dd.mm.yyyy hh:mm:ss"), "Пик загрузки, %", and the load
// mass, radius and boom length of the first frame with the peak: "Масса
// груза, т", "Вылет, м", "Длина стрелы, м". The kind and the moments read
// as text, the rest stand right-aligned and sort as numbers. The columns
// read the frames of `frames`, which must outlive them.
table::Columns<Episode> episodeColumns(const recorder::FrameStore& frames);

// The episodes as CSV (UTF-8, ";", CR LF, a heading line first).
std::string eventsCsv(const std::vector<Episode>& episodes, const recorder::FrameStore& frames,
    char decimalSeparator, bool byteOrderMark);

// The spectrum as CSV: a heading line and the thirteen bands of frames with
// their count and share, a total line; then a heading line and the
// recorder's five band counters with their share, a total line.
std::string spectrumCsv(const LoadSpectrum& spectrum, char decimalSeparator, bool byteOrderMark);

}  // namespace nkp::analysis
