#include "fleet/FleetColumns.h"

#include "base/Codec.h"
#include "base/DateTime.h"

#include <algorithm>
#include <array>

namespace nkp::fleet {
namespace {

// A moment as yyyymmddhhmm, so that moments sort in time order.
std::optional<double> momentNumber(const std::optional<base::DateTime>& m)
{
    return m ? std::optional<double>(base::minuteSortKey(*m)) : std::nullopt;
}

}  // namespace

std::string_view fleetColumnHeader(FleetColumn column)
{
    static constexpr std::array<std::string_view, kFleetColumnCount> headers = {
        "Файл",
        "Марка крана",
        "№ крана",
        "Владелец",
        "Дата считывания",
        "Всего циклов",
        "Класс использования",
        "Режим нагружения",
        "Группа режима",
        "Нормативная группа",
        "Характеристическое число",
        "Нормативное число",
        "Ресурс, %",
        "Перегрузок",
        "Перегрузок (эпизодов)",
        "Последняя перегрузка",
        "Бракованных кадров",
        "Подпись",
        "Примечание",
    };
    return headers[static_cast<std::size_t>(column)];
}

std::string fleetCellText(const FleetRow& row, FleetColumn column)
{
    if (column == FleetColumn::File)
        return row.file;
    if (column == FleetColumn::Remark)
        return codec::cp1251ToUtf8(row.remark);
    if (!row.loaded)
        return {};
    switch (column) {
    case FleetColumn::CraneModel:
        return codec::cp1251ToUtf8(row.craneModel);
    case FleetColumn::CraneNumber:
        return codec::cp1251ToUtf8(row.craneNumber);
    case FleetColumn::Owner:
        return codec::cp1251ToUtf8(row.owner);
    case FleetColumn::ReadingDate:
        return codec::cp1251ToUtf8(row.readingDate);
    case FleetColumn::TotalCycles:
        return std::to_string(row.totalCycles);
    case FleetColumn::UtilisationClass:
        return codec::cp1251ToUtf8(row.utilisationClass);
    case FleetColumn::LoadMode:
        return codec::cp1251ToUtf8(row.loadMode);
    case FleetColumn::CraneGroup:
        return codec::cp1251ToUtf8(row.craneGroup);
    case FleetColumn::NormGroup:
        return codec::cp1251ToUtf8(row.normGroup);
    case FleetColumn::Characteristic:
        return codec::cp1251ToUtf8(row.characteristicText);
    case FleetColumn::Normative:
        return codec::cp1251ToUtf8(row.normativeText);
    case FleetColumn::ResourcePercent:
        return codec::cp1251ToUtf8(row.resourceText);
    case FleetColumn::OverloadCount:
        return std::to_string(row.overloadCount);
    case FleetColumn::OverloadEpisodes:
        return std::to_string(row.overloadEpisodes);
    case FleetColumn::LatestOverload:
        return codec::cp1251ToUtf8(row.latestOverload);
    case FleetColumn::BrokenFrames:
        return std::to_string(row.brokenFrames);
    case FleetColumn::Signature:
        return signing::shortStatusText(row.signature);
    case FleetColumn::File:
    case FleetColumn::Remark:
        break;
    }
    return {};
}

bool fleetColumnNumeric(FleetColumn column)
{
    switch (column) {
    case FleetColumn::File:
    case FleetColumn::CraneModel:
    case FleetColumn::CraneNumber:
    case FleetColumn::Owner:
    case FleetColumn::NormGroup:
    case FleetColumn::Signature:
    case FleetColumn::Remark:
        return false;
    default:
        return true;
    }
}

std::optional<double> fleetCellNumber(const FleetRow& row, FleetColumn column)
{
    if (!row.loaded)
        return std::nullopt;
    switch (column) {
    case FleetColumn::TotalCycles:
        return static_cast<double>(row.totalCycles);
    case FleetColumn::UtilisationClass:
        return row.utilisationNumber;
    case FleetColumn::LoadMode:
        return row.loadModeNumber;
    case FleetColumn::CraneGroup:
        return row.craneGroupNumber;
    case FleetColumn::ReadingDate:
        return momentNumber(row.readingMoment);
    case FleetColumn::LatestOverload:
        return momentNumber(row.latestOverloadMoment);
    case FleetColumn::Characteristic:
        return row.characteristicNumber;
    case FleetColumn::Normative:
        return static_cast<double>(row.normativeNumber);
    case FleetColumn::ResourcePercent:
        return row.resource.percent;
    case FleetColumn::OverloadCount:
        return static_cast<double>(row.overloadCount);
    case FleetColumn::OverloadEpisodes:
        return static_cast<double>(row.overloadEpisodes);
    case FleetColumn::BrokenFrames:
        return static_cast<double>(row.brokenFrames);
    default:
        return std::nullopt;
    }
}

}  // namespace nkp::fleet
