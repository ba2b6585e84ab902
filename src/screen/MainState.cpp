#include "screen/MainState.h"

#include "analysis/FrameDecoding.h"
#include "screen/MainStateFields.h"
#include "screen/StateTexts.h"

#include <vector>

namespace nkp::screen {

MainState::MainState()
    : FrameOrder(recorder::kFrameCount, 0)
    , charts(emptyCharts())
{
    // The controls' design texts, from the binding table, converted once.
    static const std::vector<std::string> designTexts = [] {
        std::vector<std::string> converted;
        for (const TextField& field : mainStateTextFields())
            converted.push_back(texts::cp1251(std::string(field.designText).c_str()));
        return converted;
    }();
    const std::span<const TextField> fields = mainStateTextFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        texts.*fields[i].member = designTexts[i];
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

}  // namespace nkp::screen
