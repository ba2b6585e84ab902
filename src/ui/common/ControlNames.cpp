#include "ui/common/ControlNames.h"

namespace nkp::ui {

void nameControls(std::initializer_list<std::pair<QObject*, const char*>> controls)
{
    for (const auto& [control, name] : controls)
        control->setObjectName(QLatin1String(name));
}

}  // namespace nkp::ui
