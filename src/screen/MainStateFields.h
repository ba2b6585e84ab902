#pragma once

#include "screen/MainState.h"

#include <span>
#include <string_view>

// The binding table: the texts of MainState by the name of the control that
// shows them (the only place outside the window that knows those names), in the
// order of the window's first tab. The window binds its widgets by these
// names; `nkp3-tool info --keys` lists them.
namespace nkp::screen {

struct TextField {
    std::string_view name;  // control name, e.g. "Edit_MKran"
    std::string MainTexts::*member;
    std::string_view designText;  // UTF-8: what the control shows before a read-out is loaded
    bool editable;                // the user may type into it
    bool loaded = true;           // loading writes it (Edit_VProg is the one it leaves alone)
};

struct GaugeField {
    std::string_view name;  // "CGauge_N0"
    int MainGauges::*member;
};

// In the order of `nkp3-tool info --keys`; the gauges follow Label_100 there.
std::span<const TextField> mainStateTextFields();
std::span<const GaugeField> mainStateGaugeFields();

}  // namespace nkp::screen
