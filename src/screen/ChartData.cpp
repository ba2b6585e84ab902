#include "screen/ChartData.h"

#include "screen/StateTexts.h"

namespace nkp::screen {

const SeriesData* ChartsData::find(const std::string& id) const
{
    for (const auto* list : {&param, &kz})
        for (const SeriesData& s : *list)
            if (s.id == id)
                return &s;
    return nullptr;
}

ChartsData emptyCharts()
{
    auto series = [](const char* id, const char* titleUtf8, Rgb color) {
        SeriesData s;
        s.id = id;
        s.title = texts::cp1251(titleUtf8);
        s.color = color;
        return s;
    };
    ChartsData charts;
    charts.param = {
        series("Series1", "Предел 100%", kRed),
        series("Series2", "Процент загрузки M (%)", kGreen),
        series("Series4", "Груз Q (т.)", kBlue),
        series("Series5", "Длина стрелы L (т.)", kBlack),
        series("Series16", "Вылет R (т.)", kMaroon),
        series("Series18", "Осевая", kBlack),
        series("Series3", "Дата", kBlack),
    };
    charts.kz = {
        series("Series6", "1 - СТЕНА", kGreen),
        series("Series7", "2 - ПОТОЛОК", kGreen),
        series("Series8", "3 - Поворот ВЛЕВО", kGreen),
        series("Series9", "4 - Поворот ВПРАВО", kGreen),
        series("Series10", "Осевая", kBlack),
    };
    return charts;
}

}  // namespace nkp::screen
