#pragma once

#include <QPoint>
#include <QRect>

namespace rur::ui {

// The top left corner that keeps a window's frame inside the available area of its screen:
// moved left or up just as far as needed, and never beyond the area's top left corner (a
// frame larger than the area keeps its title bar reachable).
QPoint keepOnScreen(const QRect &frame, const QRect &available);

}  // namespace rur::ui
