#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QWidget;

namespace rur::ui {

// The keys of a window that win over the fields' own bindings: in every edit, memo, list and
// box of the window such a key does the window's action, and the field never sees it (a line
// edit's own Ctrl+D deletes no character, a list's F2 opens no cell).
class WindowKeys : public QObject {
public:
    explicit WindowKeys(QWidget *window);

    // The action of the key pressed with exactly these modifiers. With `applies`, only while
    // it returns true for the widget that has the focus; elsewhere the key is the widget's.
    void add(int key, Qt::KeyboardModifiers modifiers, std::function<void()> action,
             std::function<bool(QWidget *focus)> applies = {});
    // The window's commands by their shortcuts (a field's own binding of Ctrl+Home would
    // otherwise take the key from them).
    void addActions(const QList<QAction *> &actions);
    // Watches the window and every widget under it now; call once the window is built.
    void watch();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Binding {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::function<void()> action;
        std::function<bool(QWidget *)> applies;
    };
    const Binding *bindingFor(const QEvent *event) const;

    QWidget *window_;
    QList<Binding> bindings_;
};

}  // namespace rur::ui
