#pragma once

#include "ui/forms/DBEditz.h"
#include "ui/forms/FieldLink.h"
#include "vat/WindowRules.h"

#include <QPlainTextEdit>

class QLabel;
class QPushButton;

namespace rur::engine {
class EngineError;
}

namespace rur::vat {

struct WindowContext;

// Edit of a split-entry amount (lines 1 and 2): remembers its text when it gets the focus and
// tells, once the focus has left and the typed text has reached the field, what it was.
class SplitEdit : public ui::TDBEditz {
    Q_OBJECT

public:
    explicit SplitEdit(QWidget *parent = nullptr) : ui::TDBEditz(parent) {}
    QString textOnEntry() const { return entry_; }
    void rememberText() { entry_ = text(); }

signals:
    void left(const QString &textOnEntry, const QString &textNow);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString entry_;
};

// Multi-line edit of a memo field, tied to its table like TDBEditz: the first change puts the
// table into edit state, the text goes to the field when the focus leaves or on commit().
class TDBMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TDBMemo(QWidget *parent = nullptr);
    void setDataSource(engine::Table *table, const QString &fieldName);
    void setPrompter(platform::Prompter *prompter) { link_.setPrompter(prompter); }
    bool hasTypedText() const { return link_.isTyping(); }
    bool commit();
    void reset();

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void tableChanged();
    void showValue();
    void textTyped();

    ui::FieldLink link_;
    bool showing_ = false;
};

// Hands the typed text of every data-aware control under root to its field; false when a
// field refused it (the user has been told).
bool commitTyped(QWidget *root);
// Drops the typed text of every data-aware control under root.
void resetTyped(QWidget *root);

// Tells the user about a failed table operation (nothing for a silent abort).
void reportError(platform::Prompter &prompter, const engine::EngineError &error);
// What a settings window does to its tables when it closes: a pending edit is posted (a
// refused one is reported and dropped) and each table is closed and opened again.
void postAndReopen(const QList<engine::Table *> &tables, platform::Prompter &prompter);

// Moves a window to its stored place (or the default one) and stores the place on closing.
void placeWindow(QWidget &window, const WindowContext &ctx, WindowId id);
void storeWindowPlace(const QWidget &window, const WindowContext &ctx, WindowId id);

// A push button that never takes the focus from the fields and never reacts to Enter.
QPushButton *makeButton(const QString &caption, const QString &objectName, const QString &hint, QWidget *parent);
// Sets hint (status bar) and tooltip.
void setHint(QWidget *widget, const QString &hint);

// Label that reacts to a click, shown underlined (the calendar and coefficient labels).
void makeClickable(QLabel *label);
bool isClick(const QEvent *event);

}  // namespace rur::vat
