#include "fleet/FleetColumns.h"

#include "base/Codec.h"
#include "base/DateTime.h"

namespace nkp::fleet {
namespace {

using Column = table::Column<FleetRow>;
using table::Alignment;

// A text of the read-out (Windows-1251), empty when it did not load.
template <auto field> std::string loadedText(const FleetRow& row, char)
{
    return row.loaded ? codec::cp1251ToUtf8(row.*field) : std::string();
}

// A count, empty when the read-out did not load.
template <auto field> std::string countText(const FleetRow& row, char)
{
    return row.loaded ? std::to_string(row.*field) : std::string();
}

template <auto field> std::optional<double> number(const FleetRow& row)
{
    return row.loaded ? std::optional<double>(static_cast<double>(row.*field)) : std::nullopt;
}

// A moment as yyyymmddhhmm, so that moments sort in time order.
template <auto field> std::optional<double> momentNumber(const FleetRow& row)
{
    const auto& m = row.*field;
    return row.loaded && m ? std::optional<double>(base::minuteSortKey(*m)) : std::nullopt;
}

Column countColumn(std::string header, Column::Text text, Column::Number number)
{
    return Column(std::move(header), std::move(text), std::move(number), Alignment::Right);
}

}  // namespace

const table::Columns<FleetRow>& fleetColumns()
{
    static const table::Columns<FleetRow> columns = {
        Column("Файл", [](const FleetRow& row, char) { return row.file; }),
        Column("Марка крана", loadedText<&FleetRow::craneModel>),
        Column("№ крана", loadedText<&FleetRow::craneNumber>),
        Column("Владелец", loadedText<&FleetRow::owner>),
        Column("Дата считывания", loadedText<&FleetRow::readingText>, momentNumber<&FleetRow::readingMoment>),
        countColumn("Всего циклов", countText<&FleetRow::totalCycles>, number<&FleetRow::totalCycles>),
        Column("Класс использования", loadedText<&FleetRow::utilisationClass>,
            number<&FleetRow::utilisationNumber>),
        Column("Режим нагружения", loadedText<&FleetRow::loadMode>, number<&FleetRow::loadModeNumber>),
        Column("Группа режима", loadedText<&FleetRow::craneGroup>, number<&FleetRow::craneGroupNumber>),
        Column("Нормативная группа", loadedText<&FleetRow::normGroup>),
        countColumn("Характеристическое число", loadedText<&FleetRow::characteristicText>,
            number<&FleetRow::characteristicNumber>),
        countColumn(
            "Нормативное число", loadedText<&FleetRow::normativeText>, number<&FleetRow::normativeNumber>),
        countColumn("Ресурс, %", loadedText<&FleetRow::resourceText>,
            [](const FleetRow& row) { return row.loaded ? row.resource.percent : std::nullopt; }),
        countColumn("Перегрузок", countText<&FleetRow::overloadCount>, number<&FleetRow::overloadCount>),
        countColumn("Перегрузок (эпизодов)", countText<&FleetRow::overloadEpisodes>,
            number<&FleetRow::overloadEpisodes>),
        Column("Последняя перегрузка", loadedText<&FleetRow::latestOverload>,
            momentNumber<&FleetRow::latestOverloadMoment>),
        countColumn(
            "Бракованных кадров", countText<&FleetRow::brokenFrames>, number<&FleetRow::brokenFrames>),
        Column("Подпись",
            [](const FleetRow& row, char) {
                return row.loaded ? signing::shortStatusText(row.signature) : std::string();
            }),
        Column("Примечание", [](const FleetRow& row, char) { return codec::cp1251ToUtf8(row.remark); }),
    };
    return columns;
}

}  // namespace nkp::fleet
