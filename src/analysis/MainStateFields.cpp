#include "analysis/MainStateFields.h"

#include <array>

namespace nkp::analysis {

std::span<const TextField> mainStateTextFields()
{
    static const std::array<TextField, 37> fields = {{
        {"Edit_Org", &MainTexts::serviceOrganisation, true},
        {"Edit_Name", &MainTexts::engineerName, true},
        {"Edit_NUd", &MainTexts::certificateNumber, true},
        {"Edit_DateUd", &MainTexts::certificateDate, true},
        {"Edit_DataSch", &MainTexts::readingDate, true},
        {"Edit_MKran", &MainTexts::craneModel, true},
        {"Edit_NKran", &MainTexts::craneNumber, true},
        {"Edit_GodIzgot", &MainTexts::craneYear, true},
        {"Edit_GrRegNag", &MainTexts::craneClassGroup, true},
        {"Edit_IzgotKran", &MainTexts::craneMaker, false},
        {"Edit_Vlad", &MainTexts::craneOwner, true},
        {"Edit_ModTRV", &MainTexts::limiterModel, true},
        {"Edit_NTRV", &MainTexts::limiterNumber, true},
        {"Edit_IzgotTRV", &MainTexts::limiterMaker, true},
        {"L_TimeAll", &MainTexts::operatingTime, false},
        {"Label_0", &MainTexts::cycles0, false},
        {"Label_12", &MainTexts::cycles12, false},
        {"Label_25", &MainTexts::cycles25, false},
        {"Label_50", &MainTexts::cycles50, false},
        {"Label_100", &MainTexts::cycles100, false},
        {"Edit_HarCh", &MainTexts::characteristicNumber, false},
        {"Edit_DataUst", &MainTexts::installationDate, true},
        {"Label_Per1", &MainTexts::overload1, false},
        {"Label_Per2", &MainTexts::overload2, false},
        {"Label_Per3", &MainTexts::overload3, false},
        {"Label_Per4", &MainTexts::overload4, false},
        {"Label_Per5", &MainTexts::overload5, false},
        {"Label_Read1", &MainTexts::readingStamp1, false},
        {"Label_Read2", &MainTexts::readingStamp2, false},
        {"Label_Read3", &MainTexts::readingStamp3, false},
        {"Label_QSum", &MainTexts::liftedMass, false},
        {"Label_NHarch", &MainTexts::normativeNumber, false},
        {"Label_KIspU", &MainTexts::utilisationClass, false},
        {"Label_KNag", &MainTexts::loadSpectrumFactor, false},
        {"Label_RezhQ", &MainTexts::loadMode, false},
        {"Label_RezhA", &MainTexts::craneGroup, false},
        {"Edit_VProg", &MainTexts::programVersion, true, false},
    }};
    return fields;
}

std::span<const GaugeField> mainStateGaugeFields()
{
    static const std::array<GaugeField, 5> fields = {{
        {"CGauge_N0", &MainGauges::band0},
        {"CGauge_N12", &MainGauges::band12},
        {"CGauge_N25", &MainGauges::band25},
        {"CGauge_N50", &MainGauges::band50},
        {"CGauge_N100", &MainGauges::band100},
    }};
    return fields;
}

}  // namespace nkp::analysis
