#pragma once

#include "base/Codec.h"

#include <string>
#include <string_view>

namespace nkp::test {

// UTF-8 source text as the Windows-1251 bytes the core keeps, for readable
// expectations.
inline std::string cp1251(std::string_view utf8)
{
    return codec::utf8ToCp1251(utf8);
}

}  // namespace nkp::test
