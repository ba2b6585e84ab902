#pragma once

#include "fleet/FleetRow.h"

#include <optional>
#include <string>
#include <string_view>

// The columns of the overview, shared by the window's table, the CSV text
// and nkp3-tool.
namespace nkp::fleet {

enum class FleetColumn {
    File,
    CraneModel,
    CraneNumber,
    Owner,
    ReadingDate,
    TotalCycles,
    UtilisationClass,
    LoadMode,
    CraneGroup,
    NormGroup,
    Characteristic,
    Normative,
    ResourcePercent,
    OverloadCount,
    OverloadEpisodes,
    LatestOverload,
    BrokenFrames,
    Signature,
    Remark,
};
inline constexpr int kFleetColumnCount = 19;

// The column's heading, UTF-8.
std::string_view fleetColumnHeader(FleetColumn column);

// The cell's text, UTF-8. A row that could not be loaded shows only its
// file and remark.
std::string fleetCellText(const FleetRow& row, FleetColumn column);

// Whether the column sorts by fleetCellNumber(): counts, numbers, classes and dates.
bool fleetColumnNumeric(FleetColumn column);

// The number a numeric column sorts by; nothing for text columns and for
// cells without a number.
std::optional<double> fleetCellNumber(const FleetRow& row, FleetColumn column);

}  // namespace nkp::fleet
