#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace rur::ui {
class RecordEditor;
class TDBCheckBoxz;
class TDBEditz;
class TDBNavigator;
}  // namespace rur::ui
namespace rur::vat {
class TDBMemo;
}

namespace rur::correspondence {

// "Adresář": the addresses of Maz, ordered by name or by place (the search window F3 chooses),
// with the record keys, the navigator, the print mark "ano"/"ne" and the button "&Tisk" that
// closes the window for the address printouts of the print centre.
class TEazForm : public QDialog {
    Q_OBJECT

public:
    // Closed through "&Tisk".
    static constexpr int PrintResult = 2;

    // firstRow: go to the first row when the window becomes active the first time.
    TEazForm(vat::WindowContext ctx, bool firstRow, QWidget *parent = nullptr);

    ui::TDBEditz *edit(const QString &field) const;
    ui::TDBCheckBoxz *printMark() const { return printMark_; }
    vat::TDBMemo *notes() const { return notes_; }
    ui::TDBNavigator *navigator() const { return navigator_; }
    QPushButton *printButton() const { return print_; }
    ui::RecordEditor *editor() const { return editor_; }

    // Whenever the window becomes active: the record position, the order and caption from
    // the search window's choice, the first row when asked for, the mark's caption.
    void activated();
    // F3: the search window, then the order again.
    void search();
    // F5: the table read again (not while a row is being edited).
    void reread();
    void done(int result) override;

protected:
    bool event(QEvent *event) override;

private:
    void applyOrder();

    vat::WindowContext ctx_;
    bool firstRow_;
    bool displayWasOn_;
    ui::RecordEditor *editor_;
    ui::TDBNavigator *navigator_;
    ui::TDBCheckBoxz *printMark_;
    vat::TDBMemo *notes_;
    QPushButton *print_;
    bool closed_ = false;
};

// Opens Maz (reread) and shows the address book modally; the result (PrintResult when closed
// through "&Tisk"). firstRow as the menu asks: the window starts on the first row.
int openAddressBook(QWidget *parent, const vat::WindowContext &ctx, bool firstRow);

}  // namespace rur::correspondence
