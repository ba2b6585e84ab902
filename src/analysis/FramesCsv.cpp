#include "analysis/FramesCsv.h"

#include "analysis/FrameFieldTexts.h"
#include "base/Codec.h"

#include <numeric>

namespace nkp::analysis {

std::vector<int> allFramePositions()
{
    std::vector<int> positions(recorder::kFrameCount);
    std::iota(positions.begin(), positions.end(), 0);
    return positions;
}

std::vector<int> currentFramePositions(const MainState& state)
{
    std::vector<int> positions;
    positions.reserve(state.FrameOrder.size());
    for (int p : state.FrameOrder)
        if (p >= 0 && p < static_cast<int>(recorder::kFrameCount))
            positions.push_back(p);
    return positions;
}

std::string framesCsv(const MainState& state, const std::vector<int>& positions, char sep,
    std::string_view lineEnd, FramesCsvHeader header)
{
    std::string out;
    out.reserve(positions.size() * 128 + 320);
    out += header == FramesCsvHeader::FieldNames
        ? "Position;Number;Date;Time;BoomLength;BoomAngle;Pressure;Azimuth;Radius;LoadMass;DiscreteInputs;"
          "OutputRelays;ReevingMode;Limits;LoadPercent;FaultCode;Status"
        : "Позиция;Номер кадра;Дата записи;Время записи;Длина стрелы, м;Угол наклона стрелы, град;"
          "Давление, атм;Азимут, град;Вылет, м;Масса груза, т;Дискретные входы;Выходн.реле;"
          "Запасовка/Режим;Введенные/Сработав. огран.;Степень загрузки, %;Коды отказа;Состояние";
    out += lineEnd;
    for (int p : positions) {
        const recorder::TFrameRecord& r = state.recordAt(p);
        const FrameNumberTexts n = frameNumberTexts(r, sep);
        out += std::to_string(p) + ';' + std::to_string(r.Number) + ';' + frameDateText(r) + ';'
            + frameTimeText(r) + ';' + n.boomLength + ';' + n.boomAngle + ';' + n.pressure + ';' + n.azimuth
            + ';' + n.radius + ';' + n.loadMass + ';' + bitText(r.DiscreteInputs) + ';'
            + bitText(r.OutputRelays) + ';' + reevingModeText(r) + ';' + bitText(r.Limits) + ';'
            + std::to_string(r.LoadPercent) + ';' + faultCodeText(r) + ';'
            + codec::cp1251ToUtf8(statusText(r.Status));
        out += lineEnd;
    }
    return out;
}

}  // namespace nkp::analysis
