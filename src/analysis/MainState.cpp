#include "analysis/MainState.h"

#include "analysis/FrameDecoding.h"
#include "analysis/StateTexts.h"

namespace nkp::analysis {

MainState::MainState()
    : FrameOrder(recorder::kFrameCount, 0)
    , charts(emptyCharts())
{
    using texts::cp1251;
    const std::string emptyStamp = "00:00 00.00.0000";
    // Copied from a string, not assigned from the literal: GCC 12 at -O3
    // warns (-Wrestrict) about its own inlined one-character assignment.
    const std::string zero(1, '0');

    // Design texts of the first tab.
    Edit_Name = cp1251("Иванов И.И.");
    Edit_NUd = "00000000";
    Edit_DateUd = "00.00.0000";
    Edit_Org = cp1251("ООО \"Кран-Сервис\"");
    Edit_DataSch = "00.00.0000 00:00";
    Edit_MKran = cp1251("КС-ХХХХХА-ХХ");
    Edit_NKran = "178";
    Edit_IzgotKran = cp1251("ООО \"Завод\" г. Город");
    Edit_GodIzgot = "2006";
    Edit_GrRegNag = cp1251("А1");
    Edit_Vlad = cp1251("ООО НПП \"Организация владелец\"");
    Edit_DataUst = "01.01.03";
    Edit_ModTRV = cp1251("ТРВ-140-25М");
    Edit_NTRV = "00123654";
    Edit_VProg = "0";
    Edit_IzgotTRV = cp1251("ОАО \"ПЗЛ\" г. Энск");

    Label_Read1 = Label_Read2 = Label_Read3 = emptyStamp;
    Label_0 = Label_12 = Label_25 = Label_50 = Label_100 = zero;
    Label_Per1 = Label_Per2 = Label_Per3 = Label_Per4 = Label_Per5 = emptyStamp;
    Label_RezhA = "A1";
    Label_KIspU = "U0";
    Label_RezhQ = "Q1";
    Label_QSum = cp1251("0 т.");
    Edit_HarCh = "158";
    Label_NHarch = "8000";
    Label_KNag = zero;
    L_TimeAll = "0:00:00";
    Label_O_OtbZap = "0000";

    characteristicNumber = 158;
    normativeNumber = 8000;
}

int MainState::recordIndexAt(int position) const
{
    return ringIndex(position, RingStart);
}

const recorder::TFrameRecord& MainState::recordAt(int position) const
{
    return frames[static_cast<std::size_t>(recordIndexAt(position))];
}

}  // namespace nkp::analysis
