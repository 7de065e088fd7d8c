#include "ui/forms/DBCheckBoxz.h"

#include "ui/forms/EnterTab.h"

namespace rur::ui {

TDBCheckBoxz::TDBCheckBoxz(QWidget *parent) : QCheckBox(parent) {}

TDBCheckBoxz::TDBCheckBoxz(const QString &text, QWidget *parent) : QCheckBox(text, parent) {}

void TDBCheckBoxz::setDataSource(engine::Table *table, const QString &fieldName)
{
    link_.bind(this, table, fieldName, [this] { showValue(); });
}

void TDBCheckBoxz::setCaptions(const QString &checkedText, const QString &uncheckedText)
{
    checkedText_ = checkedText;
    uncheckedText_ = uncheckedText;
    showValue();
}

void TDBCheckBoxz::showValue()
{
    // Unbound, the box keeps whatever state it has been given.
    if (link_.table())
        setChecked(link_.value().toBool());
    const QString &caption = isChecked() ? checkedText_ : uncheckedText_;
    if (!caption.isEmpty())
        setText(caption);
}

void TDBCheckBoxz::nextCheckState()
{
    // The state comes from the field only: a refused change leaves the box as it was.
    if (isReadOnly())
        return;
    const bool checked = !link_.value().toBool();
    const bool set = link_.assignValue(this, checked);
    showValue();
    if (set)
        emit valueChosen(checked);
}

bool TDBCheckBoxz::event(QEvent *event)
{
    if (enterTab_ && sendEnterAsTab(this, event))
        return true;
    return QCheckBox::event(event);
}

}  // namespace rur::ui
