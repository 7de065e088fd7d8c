#pragma once

class QEvent;
class QWidget;

namespace rur::ui {

// Enter or keypad Enter pressed, with any modifiers.
bool isEnterPress(const QEvent *event);

// The Enter handling of the edit controls whose EnterTab is on: an Enter press without Ctrl
// or Alt is sent to the control again as Tab (Shift+Enter as Shift+Tab), so the focus moves
// to the next or previous control exactly as the window's Tab handling moves it, and event
// filters see a Tab. Returns false, leaving the event alone, for every other event.
bool sendEnterAsTab(QWidget *control, QEvent *event);

}  // namespace rur::ui
