#include "ui/forms/EnterTab.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace rur::ui {

bool isEnterPress(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool sendEnterAsTab(QWidget *control, QEvent *event)
{
    if (!isEnterPress(event))
        return false;
    auto *enter = static_cast<QKeyEvent *>(event);
    // Ctrl+Tab and Alt+Tab are no focus keys, so Ctrl+Enter and Alt+Enter stay Enter.
    const Qt::KeyboardModifiers modifiers = enter->modifiers();
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const bool back = modifiers.testFlag(Qt::ShiftModifier);
    QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab, modifiers & Qt::ShiftModifier);
    QCoreApplication::sendEvent(control, &tab);
    enter->accept();
    return true;
}

}  // namespace rur::ui
