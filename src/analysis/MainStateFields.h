#pragma once

#include "analysis/MainState.h"

#include <span>
#include <string_view>

// The texts of MainState by the name of the control that shows them, in the
// order of the window's first tab. The window binds its widgets by these
// names; `nkp3-tool info --keys` lists them.
namespace nkp::analysis {

struct TextField {
    std::string_view name;  // control name, e.g. "Edit_MKran"
    std::string MainState::*member;
    bool editable;       // the user may type into it
    bool loaded = true;  // loading writes it (Edit_VProg is the one it leaves alone)
};

struct GaugeField {
    std::string_view name;  // "CGauge_N0"
    int MainState::*member;
};

// In the order of `nkp3-tool info --keys`; the gauges follow Label_100 there.
std::span<const TextField> mainStateTextFields();
std::span<const GaugeField> mainStateGaugeFields();

}  // namespace nkp::analysis
