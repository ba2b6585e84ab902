#include "base/Failure.h"

namespace nkp {

std::string Failure::text() const
{
    if (path.empty() || reason.find(path) != std::string::npos)
        return reason;
    return path + ": " + reason;
}

}  // namespace nkp
