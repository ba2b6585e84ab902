#pragma once

#include "base/Failure.h"

#include <string>

namespace nkp::test {

// `result` as it is, its failure's text copied to `error` (empty when it
// worked): a check can look at both in one expression.
template <typename R> R keepError(R result, std::string& error)
{
    error = result.error();
    return result;
}

}  // namespace nkp::test
