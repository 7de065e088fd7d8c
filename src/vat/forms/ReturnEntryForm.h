#pragma once

#include "vat/WindowRules.h"
#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <memory>

class QPushButton;

namespace rur::engine {
class Table;
}
namespace rur::ui {
class TDBEditz;
}

namespace rur::vat {

class ReturnPanel;

// One of the four entry windows of the current return, built from the line descriptions of
// its window. It edits the single row of its table: F4 edit, F9 store, Esc cancel or close,
// PgUp/PgDn (and "<<"/">>") the previous or next window, which the caller opens once this one
// is gone (nextWindow()). Closing with unsaved changes asks whether to store them.
class TReturnEntryForm : public QDialog {
    Q_OBJECT

public:
    ~TReturnEntryForm() override;

    int number() const { return number_; }
    // The window to open after this one: 1 to 4, 5 for the print selection, 0 for none.
    int nextWindow() const { return next_; }
    engine::Table &table() const { return table_; }
    ReturnPanel *panel() const { return panel_; }
    ui::TDBEditz *edit(const QString &field) const;
    QPushButton *button(const QString &objectName) const;

    // The keys and buttons of the window.
    void editRecord();   // F4
    bool postRecord();   // F9
    void cancelRecord(); // Esc while editing
    void goTo(int n);    // PgUp/PgDn, "<<", ">>", print
    void done(int result) override;

protected:
    TReturnEntryForm(int number, engine::Table &table, WindowContext ctx, QWidget *parent);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // A key of the window; true when it was one.
    bool windowKey(const QKeyEvent *event);
    WindowContext &context() { return ctx_; }

private:
    void updateButtons();
    bool confirmClose();

    int number_;
    engine::Table &table_;
    WindowContext ctx_;
    ReturnPanel *panel_;
    int next_ = 0;
    bool closed_ = false;
    QPushButton *editButton_, *postButton_, *cancelButton_, *priorButton_, *nextButton_;
};

// 1. "Zdanitelná plnění" (Dtabn1): lines 1, 2, 20 to 26, 50, 51. Leaving the split-entry field
// of line 1 or 2 with a changed text splits the amount into base and tax.
class TEtab1Form : public TReturnEntryForm {
    Q_OBJECT

public:
    explicit TEtab1Form(WindowContext ctx, QWidget *parent = nullptr);
    // Remembers the texts of the split-entry fields.
    void Nastaveni1();

private:
    void splitLeft(int line, const QString &textOnEntry, const QString &textNow);
};

// 2. "Zdanitelná plnění, Doplňující údaje" (Dtabn1): lines 3 to 13, 30 to 34, 61.
class TEtab4Form : public TReturnEntryForm {
    Q_OBJECT

public:
    explicit TEtab4Form(WindowContext ctx, QWidget *parent = nullptr);
};

// 3. "Nárok na odpočet daně" (Dtabn2): lines 40 to 47, 52. A click on "Koeficient", or
// Shift+F7 in the coefficient, offers the year coefficient of the taxpayer data.
class TEtab2Form : public TReturnEntryForm {
    Q_OBJECT

public:
    explicit TEtab2Form(WindowContext ctx, QWidget *parent = nullptr);
    void Koeficient1();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// 4. "Výpočet daně, Vypořádání" (Dtabn3): lines 53, 60, 62 to 66, computed from the current
// rows of all three tables, which are re-read when the window opens.
class TEtab3Form : public TReturnEntryForm {
    Q_OBJECT

public:
    explicit TEtab3Form(WindowContext ctx, QWidget *parent = nullptr);
};

// Return window n (1 to 4), or null.
std::unique_ptr<TReturnEntryForm> makeReturnWindow(int n, const WindowContext &ctx, QWidget *parent);

}  // namespace rur::vat
