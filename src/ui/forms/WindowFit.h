#pragma once

class QApplication;
class QWidget;

namespace rur::ui {

// Two rules for every window of the program, applied as the window is shown (the first also
// when its title changes):
// - a window is at least as wide as its title needs on the window manager's title bar, beside
//   the window's icon and buttons (never wider than the screen for it);
// - a dialog without a list, table or text area takes the size its layout gives it and keeps
//   it, so that the window manager draws no resize handle along its bottom edge.
void installWindowFit(QApplication &application);

// The width the window's title needs on a title bar: its text in the bold face of the
// window's font, and room for the icon and three buttons of the bar.
int titleBarWidth(const QWidget &window);

}  // namespace rur::ui
