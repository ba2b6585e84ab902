#include "analysis/MainStateFields.h"

#include <array>

namespace nkp::analysis {

std::span<const TextField> mainStateTextFields()
{
    static const std::array<TextField, 37> fields = {{
        {"Edit_Org", &MainState::Edit_Org, true},
        {"Edit_Name", &MainState::Edit_Name, true},
        {"Edit_NUd", &MainState::Edit_NUd, true},
        {"Edit_DateUd", &MainState::Edit_DateUd, true},
        {"Edit_DataSch", &MainState::Edit_DataSch, true},
        {"Edit_MKran", &MainState::Edit_MKran, true},
        {"Edit_NKran", &MainState::Edit_NKran, true},
        {"Edit_GodIzgot", &MainState::Edit_GodIzgot, true},
        {"Edit_GrRegNag", &MainState::Edit_GrRegNag, true},
        {"Edit_IzgotKran", &MainState::Edit_IzgotKran, false},
        {"Edit_Vlad", &MainState::Edit_Vlad, true},
        {"Edit_ModTRV", &MainState::Edit_ModTRV, true},
        {"Edit_NTRV", &MainState::Edit_NTRV, true},
        {"Edit_IzgotTRV", &MainState::Edit_IzgotTRV, true},
        {"L_TimeAll", &MainState::L_TimeAll, false},
        {"Label_0", &MainState::Label_0, false},
        {"Label_12", &MainState::Label_12, false},
        {"Label_25", &MainState::Label_25, false},
        {"Label_50", &MainState::Label_50, false},
        {"Label_100", &MainState::Label_100, false},
        {"Edit_HarCh", &MainState::Edit_HarCh, false},
        {"Edit_DataUst", &MainState::Edit_DataUst, true},
        {"Label_Per1", &MainState::Label_Per1, false},
        {"Label_Per2", &MainState::Label_Per2, false},
        {"Label_Per3", &MainState::Label_Per3, false},
        {"Label_Per4", &MainState::Label_Per4, false},
        {"Label_Per5", &MainState::Label_Per5, false},
        {"Label_Read1", &MainState::Label_Read1, false},
        {"Label_Read2", &MainState::Label_Read2, false},
        {"Label_Read3", &MainState::Label_Read3, false},
        {"Label_QSum", &MainState::Label_QSum, false},
        {"Label_NHarch", &MainState::Label_NHarch, false},
        {"Label_KIspU", &MainState::Label_KIspU, false},
        {"Label_KNag", &MainState::Label_KNag, false},
        {"Label_RezhQ", &MainState::Label_RezhQ, false},
        {"Label_RezhA", &MainState::Label_RezhA, false},
        {"Edit_VProg", &MainState::Edit_VProg, true, false},
    }};
    return fields;
}

std::span<const GaugeField> mainStateGaugeFields()
{
    static const std::array<GaugeField, 5> fields = {{
        {"CGauge_N0", &MainState::CGauge_N0},
        {"CGauge_N12", &MainState::CGauge_N12},
        {"CGauge_N25", &MainState::CGauge_N25},
        {"CGauge_N50", &MainState::CGauge_N50},
        {"CGauge_N100", &MainState::CGauge_N100},
    }};
    return fields;
}

}  // namespace nkp::analysis
