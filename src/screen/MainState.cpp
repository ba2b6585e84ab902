#include "screen/MainState.h"

#include "screen/MainStateFields.h"
#include "screen/StateTexts.h"

#include <charconv>
#include <vector>

namespace nkp::screen {
namespace {

// The number a design text shows ("158").
template <typename Number> Number designNumber(const std::string& text)
{
    Number value {};
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

MainState::MainState()
    : charts(emptyCharts())
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

    // The numbers behind the texts are what the design texts show.
    readout.characteristicNumber = static_cast<float>(designNumber<int>(texts.characteristicNumber));
    readout.normativeNumber = designNumber<int>(texts.normativeNumber);
}

}  // namespace nkp::screen
