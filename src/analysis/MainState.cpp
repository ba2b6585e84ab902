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
    texts.engineerName = cp1251("Иванов И.И.");
    texts.certificateNumber = "00000000";
    texts.certificateDate = "00.00.0000";
    texts.serviceOrganisation = cp1251("ООО \"Кран-Сервис\"");
    texts.readingDate = "00.00.0000 00:00";
    texts.craneModel = cp1251("КС-ХХХХХА-ХХ");
    texts.craneNumber = "178";
    texts.craneMaker = cp1251("ООО \"Завод\" г. Город");
    texts.craneYear = "2006";
    texts.craneClassGroup = cp1251("А1");
    texts.craneOwner = cp1251("ООО НПП \"Организация владелец\"");
    texts.installationDate = "01.01.03";
    texts.limiterModel = cp1251("ТРВ-140-25М");
    texts.limiterNumber = "00123654";
    texts.programVersion = "0";
    texts.limiterMaker = cp1251("ОАО \"ПЗЛ\" г. Энск");

    texts.readingStamp1 = texts.readingStamp2 = texts.readingStamp3 = emptyStamp;
    texts.cycles0 = texts.cycles12 = texts.cycles25 = texts.cycles50 = texts.cycles100 = zero;
    texts.overload1 = texts.overload2 = texts.overload3 = texts.overload4 = texts.overload5 = emptyStamp;
    texts.craneGroup = "A1";
    texts.utilisationClass = "U0";
    texts.loadMode = "Q1";
    texts.liftedMass = cp1251("0 т.");
    texts.characteristicNumber = "158";
    texts.normativeNumber = "8000";
    texts.loadSpectrumFactor = zero;
    texts.operatingTime = "0:00:00";
    selectionCountText = "0000";

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
