#pragma once

#include <QRect>
#include <QSize>

class QScrollArea;
class QWidget;

// Keeps windows on small and scaled screens: a laptop at 1366x768 or a
// 1920x1080 screen at scale 2 (960x540 logical pixels) must show every
// window whole, with its menu and buttons reachable.
namespace nkp::ui {

// The room for the frame that the window system adds around a window's
// client area while the real frame is not known yet: a title bar and side
// borders of a few pixels, which a window as wide as the screen would push
// off it.
inline constexpr QSize kFrameReserve {8, 40};

// The client area every window must fit: 1920x1080 at scale 2 (960x540)
// less a desktop panel and the window frame. A fixed-size window is never larger.
inline constexpr QSize kSmallestRoom = QSize(960, 540 - 28) - kFrameReserve;

// The available area (desktop minus panels) of the screen `window` is on, or
// of the primary screen; an empty rectangle without a screen.
QRect availableArea(const QWidget* window);

// Gives a top-level window its start size: `designSize` where the screen
// allows, else as much as the available area holds with the window frame;
// the window's minimum size never exceeds that area either. Centres a window
// on its parent, or on the screen without one; a dialog centres itself when
// it is shown.
void fitToScreen(QWidget* window, QSize designSize);

// Puts `content` into a frameless scroll area that resizes it: the content
// keeps its own size where there is room and scrolls where there is not.
QScrollArea* scrollable(QWidget* content);

}  // namespace nkp::ui
