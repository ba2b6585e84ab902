#include "analysis/FrameCodeText.h"

#include "analysis/FrameFieldTexts.h"
#include "base/Codec.h"

#include <array>

namespace nkp::analysis {
namespace {

// The four limits, in the order of their bits (bit 0 and bit 4: the wall).
constexpr std::array<const char*, 4> kLimitNames {"стена", "потолок", "поворот влево", "поворот вправо"};

// "0, 3, 7": the set bits of `byte`, bit 0 first.
std::string setBits(std::uint8_t byte)
{
    std::string out;
    for (int bit = 0; bit < 8; ++bit)
        if (byte & (1u << bit))
            out += (out.empty() ? "" : ", ") + std::to_string(bit);
    return out;
}

// The limits among `bits` (bit k: limit k), "нет" when none.
std::string limitNames(unsigned bits)
{
    std::string out;
    for (std::size_t k = 0; k < kLimitNames.size(); ++k)
        if (bits & (1u << k))
            out += (out.empty() ? "" : ", ") + std::string(kLimitNames[k]);
    return out.empty() ? "нет" : out;
}

FrameCodeText bitsText(const char* caption, const char* what, std::uint8_t byte)
{
    const std::string line = std::string(caption) + " " + bitText(byte) + ": "
        + (byte == 0 ? std::string("все разряды выключены") : what + (" " + setBits(byte)));
    return {line, line + "\n(разряд 0 — крайний правый знак)"};
}

FrameCodeText frameCodeTextUtf8(const recorder::TFrameRecord& r, int row)
{
    switch (row) {
    case kDiscreteInputsRow:
        return bitsText("Дискретные входы", "включены разряды", r.DiscreteInputs);
    case kOutputRelaysRow:
        return bitsText("Выходные реле", "включены разряды", r.OutputRelays);
    case kLimitsRow: {
        const unsigned entered = r.Limits & recorder::kLimitsEnteredMask;
        const unsigned tripped = r.Limits >> 4;
        const std::string brief
            = "Ограничения: введены — " + limitNames(entered) + "; сработали — " + limitNames(tripped);
        return {brief,
            "Введенные/сработавшие ограничения " + bitText(r.Limits) + "\nвведены: " + limitNames(entered)
                + "\nсработали: " + limitNames(tripped)};
    }
    case kFaultCodeRow: {
        if (r.FaultCode == 0)
            return {"Код отказа E00: отказов нет", "Код отказа E00: отказов нет"};
        const std::string number = std::to_string(r.FaultCode >> 4) + std::to_string(r.FaultCode & 0x0F);
        const std::string line = "Код отказа E" + number + ": отказ № " + number;
        return {line, line + "\n(значение описано в руководстве по эксплуатации ограничителя)"};
    }
    default:
        return {};
    }
}

}  // namespace

FrameCodeText frameCodeText(const recorder::TFrameRecord& r, int row)
{
    const FrameCodeText utf8 = frameCodeTextUtf8(r, row);
    return {codec::utf8ToCp1251(utf8.brief), codec::utf8ToCp1251(utf8.full)};
}

}  // namespace nkp::analysis
