#include "screen/MainStateFields.h"

#include <array>

namespace nkp::screen {

std::span<const TextField> mainStateTextFields()
{
    static const std::array<TextField, 37> fields = {{
        // control, field, design text (UTF-8), editable[, loaded]
        {"Edit_Org", &MainTexts::serviceOrganisation, "ООО \"Кран-Сервис\"", true},
        {"Edit_Name", &MainTexts::engineerName, "Иванов И.И.", true},
        {"Edit_NUd", &MainTexts::certificateNumber, "00000000", true},
        {"Edit_DateUd", &MainTexts::certificateDate, "00.00.0000", true},
        {"Edit_DataSch", &MainTexts::readingDate, "00.00.0000 00:00", true},
        {"Edit_MKran", &MainTexts::craneModel, "КС-ХХХХХА-ХХ", true},
        {"Edit_NKran", &MainTexts::craneNumber, "178", true},
        {"Edit_GodIzgot", &MainTexts::craneYear, "2006", true},
        {"Edit_GrRegNag", &MainTexts::craneClassGroup, "А1", true},
        {"Edit_IzgotKran", &MainTexts::craneMaker, "ООО \"Завод\" г. Город", false},
        {"Edit_Vlad", &MainTexts::craneOwner, "ООО НПП \"Организация владелец\"", true},
        {"Edit_ModTRV", &MainTexts::limiterModel, "ТРВ-140-25М", true},
        {"Edit_NTRV", &MainTexts::limiterNumber, "00123654", true},
        {"Edit_IzgotTRV", &MainTexts::limiterMaker, "ОАО \"ПЗЛ\" г. Энск", true},
        {"L_TimeAll", &MainTexts::operatingTime, "0:00:00", false},
        {"Label_0", &MainTexts::cycles0, "0", false},
        {"Label_12", &MainTexts::cycles12, "0", false},
        {"Label_25", &MainTexts::cycles25, "0", false},
        {"Label_50", &MainTexts::cycles50, "0", false},
        {"Label_100", &MainTexts::cycles100, "0", false},
        {"Edit_HarCh", &MainTexts::characteristicNumber, "158", false},
        {"Edit_DataUst", &MainTexts::installationDate, "01.01.03", true},
        {"Label_Per1", &MainTexts::overload1, "00:00 00.00.0000", false},
        {"Label_Per2", &MainTexts::overload2, "00:00 00.00.0000", false},
        {"Label_Per3", &MainTexts::overload3, "00:00 00.00.0000", false},
        {"Label_Per4", &MainTexts::overload4, "00:00 00.00.0000", false},
        {"Label_Per5", &MainTexts::overload5, "00:00 00.00.0000", false},
        {"Label_Read1", &MainTexts::readingStamp1, "00:00 00.00.0000", false},
        {"Label_Read2", &MainTexts::readingStamp2, "00:00 00.00.0000", false},
        {"Label_Read3", &MainTexts::readingStamp3, "00:00 00.00.0000", false},
        {"Label_QSum", &MainTexts::liftedMass, "0 т.", false},
        {"Label_NHarch", &MainTexts::normativeNumber, "8000", false},
        {"Label_KIspU", &MainTexts::utilisationClass, "U0", false},
        {"Label_KNag", &MainTexts::loadSpectrumFactor, "0", false},
        {"Label_RezhQ", &MainTexts::loadMode, "Q1", false},
        {"Label_RezhA", &MainTexts::craneGroup, "A1", false},
        {"Edit_VProg", &MainTexts::programVersion, "0", true, false},
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

}  // namespace nkp::screen
