#pragma once

#include <QPoint>

class QWidget;

namespace rur::ui {

// Puts a top-level window that is not shown yet with its frame's top left corner at the
// given place, kept inside the screen. The window is sized first: a window whose layout
// sizes it while it is being shown would otherwise be placed by its inner corner, and
// would creep up by a title bar each time it is reopened from a stored place.
void placeFrameAt(QWidget &window, QPoint frameTopLeft);

// The place to store for a window: its frame's top left corner, as placeFrameAt takes it.
QPoint framePlace(const QWidget &window);

}  // namespace rur::ui
