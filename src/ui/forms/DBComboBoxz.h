#pragma once

#include "ui/forms/FieldLink.h"

#include <QComboBox>
#include <QStringList>

namespace rur::ui {

// Combo box of a Char table field, either a drop-down list or editable. Choosing an item puts
// the table into edit state, sets the field at once and emits valueChosen; text typed into an
// editable box goes to the field as in TDBEditz (on leaving, or by commit()). The box follows
// the table; a value missing from the list of a drop-down list shows as no choice.
class TDBComboBoxz : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(bool EnterTab READ enterTab WRITE setEnterTab)

public:
    explicit TDBComboBoxz(QWidget *parent = nullptr);

    // A null table unbinds; an unknown field name throws EngineError.
    void setDataSource(engine::Table *table, const QString &fieldName);
    engine::Table *table() const { return link_.table(); }
    QString fieldName() const { return link_.fieldName(); }

    void setPrompter(platform::Prompter *prompter) { link_.setPrompter(prompter); }

    // The list to choose from; the shown value stays the field's.
    void setItems(const QStringList &items);
    // Goes through this class (QComboBox::setEditable is not virtual): a new line edit needs
    // the field's length and the typing hooks.
    void setEditable(bool editable);

    bool enterTab() const { return enterTab_; }
    void setEnterTab(bool enterTab) { enterTab_ = enterTab; }

    // A read-only box (by choice, or for a calculated field or a closed table) neither opens
    // its list nor takes a choice.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_ || !link_.canModify(); }

    bool hasTypedText() const { return link_.isTyping(); }
    bool commit();
    void reset();

    void showPopup() override;

signals:
    // The user has chosen an item and the field holds it; windows react (a month chosen sets
    // the period number).
    void valueChosen(const QString &value);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void tableChanged();
    void showValue();
    void itemChosen(int index);
    void textTyped();
    void updateLineEdit();

    FieldLink link_;
    bool enterTab_ = true;
    bool readOnly_ = false;
};

}  // namespace rur::ui
