#pragma once

#include <QObject>

#include <initializer_list>
#include <utility>

namespace nkp::ui {

// Gives each control the name of its member as its objectName: the window's
// members are private, and scripts and tests find controls by that name.
void nameControls(std::initializer_list<std::pair<QObject*, const char*>> controls);

}  // namespace nkp::ui
