#pragma once

#include "analysis/Readout.h"
#include "analysis/ReadoutSummary.h"
#include "analysis/ResourceUse.h"
#include "base/DateTime.h"
#include "signing/Verification.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace nkp::fleet {

// One read-out of the overview. Texts are Windows-1251 like the main
// window's; paths are the file system's bytes.
struct FleetRow : analysis::ReadoutSummary {
    std::string file;     // relative to the scanned folder, '/' between the parts
    std::string path;     // as opened
    bool loaded = false;  // false: only `file` and `remark` hold anything

    std::string normGroup;
    std::string utilisationClass, loadMode, craneGroup;  // "U3", "Q2", "A5"
    // The class numbers behind those texts (3, 2, 5), for sorting.
    int utilisationNumber = 0, loadModeNumber = 0, craneGroupNumber = 0;
    std::string characteristicText;  // as the main window shows it
    std::string normativeText;
    analysis::ResourceUse resource;  // no percent when the normative group is unknown
    std::string resourceText;        // "37,4" or "—"
    int overloadCount = 0;           // the recorder's stored overload stamps
    std::string latestOverload;      // "hh:mm dd.mm.yyyy", or empty
    std::optional<base::DateTime> latestOverloadMoment;
    std::size_t brokenFrames = 0;
    bool damaged = false;  // loaded, but short, long, with a wrong checksum or without a valid frame
    // The file's signature against the keys in "Ключи" of the current folder.
    signing::SignatureStatus signature = signing::SignatureStatus::Missing;
    std::string remark;  // why the file could not be read, or what is wrong with it; empty when all is well
};

// The overview's values of a read-out; `file` and `path` stay empty.
FleetRow fleetRowOf(const analysis::Readout& readout, char decimalSeparator);

// Reads the read-out `root`/`relative` (its values, the frames only checked)
// and makes its row. Anything but a regular file is not opened (a pipe would
// block) and gives a row with the cause in `remark`.
FleetRow loadFleetRow(const std::string& root, const std::string& relative, char decimalSeparator);

}  // namespace nkp::fleet
