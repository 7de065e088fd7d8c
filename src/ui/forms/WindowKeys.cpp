#include "ui/forms/WindowKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace rur::ui {

WindowKeys::WindowKeys(QWidget *window) : QObject(window), window_(window) {}

void WindowKeys::add(int key, Qt::KeyboardModifiers modifiers, std::function<void()> action,
                     std::function<bool(QWidget *focus)> applies)
{
    bindings_.append({key, modifiers, std::move(action), std::move(applies)});
}

void WindowKeys::addActions(const QList<QAction *> &actions)
{
    for (QAction *a : actions) {
        const QKeySequence shortcut = a->shortcut();
        if (shortcut.isEmpty())
            continue;
        const QKeyCombination key = shortcut[0];
        add(key.key(), key.keyboardModifiers(), [a] {
            if (a->isEnabled())
                a->trigger();
        });
    }
}

void WindowKeys::watch()
{
    window_->installEventFilter(this);
    for (QWidget *w : window_->findChildren<QWidget *>())
        w->installEventFilter(this);
}

const WindowKeys::Binding *WindowKeys::bindingFor(const QEvent *event) const
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return nullptr;
    const auto *key = static_cast<const QKeyEvent *>(event);
    // A key of the number pad is the same key.
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    for (const Binding &b : bindings_)
        if (b.key == key->key() && b.modifiers == modifiers && (!b.applies || b.applies(QApplication::focusWidget())))
            return &b;
    return nullptr;
}

bool WindowKeys::eventFilter(QObject *watched, QEvent *event)
{
    const Binding *binding = bindingFor(event);
    if (!binding)
        return QObject::eventFilter(watched, event);
    // Accepting the override makes the key a key press, which the filter of the focused
    // widget sees before the widget: no shortcut of a menu and no binding of the field runs.
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        // A copy: the action may change the bindings or close the window.
        const std::function<void()> action = binding->action;
        action();
    }
    return true;
}

}  // namespace rur::ui
