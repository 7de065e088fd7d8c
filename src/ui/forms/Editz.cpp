#include "ui/forms/Editz.h"

#include "ui/forms/EnterTab.h"

namespace rur::ui {

TEditz::TEditz(QWidget *parent) : QLineEdit(parent) {}

bool TEditz::event(QEvent *event)
{
    if (enterTab_ && sendEnterAsTab(this, event))
        return true;
    return QLineEdit::event(event);
}

}  // namespace rur::ui
