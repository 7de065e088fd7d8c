#include "ui/forms/ButtonEnter.h"

#include "ui/forms/EnterTab.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace rur::ui {

namespace {

class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!isEnterPress(event))
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        // Keys reach a widget only while it has the focus.
        if (!button || !button->isEnabled() || !button->isVisible() || key->isAutoRepeat()
            || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        button->click();
        return true;
    }
};

}  // namespace

void installEnterPressesFocusedButton(QCoreApplication &application)
{
    application.installEventFilter(new EnterPressesButton(&application));
}

}  // namespace rur::ui
