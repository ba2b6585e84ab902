#include "analysis/Classification.h"

#include <array>

namespace nkp::analysis {

int normativeCharacteristicNumber(std::string_view group)
{
    // "А1".."А8": Cyrillic А is 0xC0 in Windows-1251; the comparison is exact.
    static constexpr std::array<int, 8> numbers
        = {8000, 16000, 32000, 63000, 125000, 250000, 500000, 1000000};
    if (group.size() != 2 || static_cast<unsigned char>(group[0]) != 0xC0 || group[1] < '1' || group[1] > '8')
        return 0;
    return numbers[static_cast<std::size_t>(group[1] - '1')];
}

int utilisationClass(std::int64_t totalCycles)
{
    static constexpr std::array<std::int64_t, 9> bounds
        = {16000, 32000, 63000, 125000, 250000, 500000, 1000000, 2000000, 4000000};
    for (std::size_t u = 0; u < bounds.size(); ++u)
        if (totalCycles <= bounds[u])
            return static_cast<int>(u);
    return 9;
}

int loadMode(float k)
{
    if (k <= 0.125f)
        return 1;
    if (k <= 0.25f)
        return 2;
    if (k <= 0.5f)
        return 3;
    return 4;
}

int craneGroup(int loadMode, int utilisationClass)
{
    static constexpr int groups[4][10] = {
        {1, 1, 1, 2, 3, 4, 5, 6, 7, 8},
        {1, 1, 2, 3, 4, 5, 6, 7, 8, 8},
        {1, 2, 3, 4, 5, 6, 7, 8, 8, 8},
        {2, 3, 4, 5, 6, 7, 8, 8, 8, 8},
    };
    if (loadMode < 1 || loadMode > 4 || utilisationClass < 0 || utilisationClass > 9)
        return 0;
    return groups[loadMode - 1][utilisationClass];
}

}  // namespace nkp::analysis
