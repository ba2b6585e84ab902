#include "analysis/LoadLogText.h"

#include "base/Codec.h"
#include "recorder/DataFileLayout.h"

#include <algorithm>

namespace nkp::analysis {

namespace {

std::string cp1251(const char* utf8)
{
    return codec::utf8ToCp1251(utf8);
}

}  // namespace

std::string condensedIndices(const std::vector<int>& indices)
{
    std::vector<int> sorted = indices;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::string text;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1)
            ++j;
        if (!text.empty())
            text += ", ";
        text += std::to_string(sorted[i]);
        if (j != i)
            text += '-' + std::to_string(sorted[j]);
        i = j + 1;
    }
    return text;
}

std::vector<int> tablePositions(const std::vector<int>& memoryIndices, int ringStart)
{
    constexpr int n = static_cast<int>(recorder::kFrameCount);
    std::vector<int> out;
    out.reserve(memoryIndices.size());
    for (int index : memoryIndices)
        out.push_back(((index - ringStart) % n + n) % n);
    return out;
}

std::string loadErrorLogText(const std::string& fileName, const LoadDiagnostics& d, int ringStart)
{
    std::vector<std::string> lines;
    lines.push_back(cp1251("Файл: ") + fileName);
    bool problems = false;
    if (!d.fullLength) {
        problems = true;
        lines.push_back(cp1251("Размер файла ") + std::to_string(d.fileSize)
            + cp1251(" байт, полный файл не короче ") + std::to_string(recorder::kIdentificationOffset)
            + cp1251(" байт; недостающие данные прочитаны как нули"));
    }
    if (d.checksumMatches) {
        lines.push_back(cp1251("Контрольная сумма образа памяти совпадает"));
    } else {
        problems = true;
        lines.push_back(cp1251("Контрольная сумма образа памяти не совпадает: записана ")
            + std::to_string(d.storedChecksum) + cp1251(", вычислена ") + std::to_string(d.computedChecksum));
    }
    const auto frameLine = [&](const char* what, const std::vector<int>& frames) {
        if (frames.empty())
            return;
        problems = true;
        lines.push_back(cp1251(what) + std::to_string(frames.size()) + cp1251(" (номера: ")
            + condensedIndices(frames) + ')'
            + (ringStart < 0
                    ? std::string()
                    : cp1251(", в таблице: ") + condensedIndices(tablePositions(frames, ringStart))));
    };
    frameLine("Кадров с ошибкой контрольной суммы: ", d.brokenFrames);
    frameLine("Кадров с несуществующей датой или временем: ", d.nonCalendarFrames);
    if (!problems)
        lines.push_back(cp1251("Ошибок не обнаружено"));
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

}  // namespace nkp::analysis
