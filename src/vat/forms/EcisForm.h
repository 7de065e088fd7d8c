#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>

class QPushButton;

namespace rur::ui {
class TDBCheckBoxz;
class TDBEditz;
}  // namespace rur::ui

namespace rur::vat {

// "Sazby RUR": the reduced and the basic rate (Dcis) and how the amounts of lines 1 and 2
// are typed (Prp.Dan). "&OK" stores both rows and closes (accepted); every way of closing
// stores them.
class TEcisForm : public QDialog {
    Q_OBJECT

public:
    explicit TEcisForm(WindowContext ctx, QWidget *parent = nullptr);

    ui::TDBEditz *reducedEdit() const { return reduced_; }
    ui::TDBEditz *basicEdit() const { return basic_; }
    ui::TDBCheckBoxz *danBox() const { return dan_; }
    QPushButton *okButton() const { return ok_; }

    void OKButtonClick();
    void done(int result) override;

private:
    WindowContext ctx_;
    ui::TDBEditz *reduced_;
    ui::TDBEditz *basic_;
    ui::TDBCheckBoxz *dan_;
    QPushButton *ok_;
    bool closed_ = false;
};

// The command "Sazby RUR": both rows into edit, the window, then every open table re-read
// so that the control values follow the rates.
void SazbyRur(const WindowContext &ctx, QWidget *parent);

}  // namespace rur::vat
