#pragma once

#include "ui/forms/FieldLink.h"

#include <QCheckBox>

namespace rur::ui {

// Check box of a Boolean table field. A click (or Space) puts the table into edit state and
// sets the field at once; the box follows the table. An empty field shows unchecked.
class TDBCheckBoxz : public QCheckBox {
    Q_OBJECT
    Q_PROPERTY(bool EnterTab READ enterTab WRITE setEnterTab)

public:
    explicit TDBCheckBoxz(QWidget *parent = nullptr);
    explicit TDBCheckBoxz(const QString &text, QWidget *parent = nullptr);

    // A null table unbinds; an unknown field name throws EngineError.
    void setDataSource(engine::Table *table, const QString &fieldName);
    engine::Table *table() const { return link_.table(); }
    QString fieldName() const { return link_.fieldName(); }

    void setPrompter(platform::Prompter *prompter) { link_.setPrompter(prompter); }

    // The caption follows the state ("ano" / "ne"); empty texts keep the caption as set.
    void setCaptions(const QString &checkedText, const QString &uncheckedText);

    bool enterTab() const { return enterTab_; }
    void setEnterTab(bool enterTab) { enterTab_ = enterTab; }

    // A read-only box (by choice, or for a calculated field or a closed table) ignores clicks.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_ || !link_.canModify(); }

signals:
    // The user has set the field; windows react to the new value.
    void valueChosen(bool checked);

protected:
    bool event(QEvent *event) override;
    void nextCheckState() override;

private:
    void showValue();

    FieldLink link_;
    QString checkedText_, uncheckedText_;
    bool enterTab_ = true;
    bool readOnly_ = false;
};

}  // namespace rur::ui
