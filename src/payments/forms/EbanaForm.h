#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>

class QCheckBox;

namespace rur::ui {
class TDBCheckBoxz;
class TEditz;
}  // namespace rur::ui

namespace rur::payments {

// "Nastavení formátu ABO": the numbering of accounting files ([BankaABO] of the data-set ini)
// and the two switches of the payment order, Mtt.Z1 and Mtt.Za1.
class TEbanaForm : public QDialog {
    Q_OBJECT

public:
    explicit TEbanaForm(vat::WindowContext ctx, QWidget *parent = nullptr);

    QCheckBox *numberingBox() const { return numbering_; }
    ui::TEditz *fromEdit() const { return from_; }
    ui::TEditz *toEdit() const { return to_; }
    ui::TEditz *nextEdit() const { return next_; }
    ui::TDBCheckBoxz *printBox() const { return z1_; }
    ui::TDBCheckBoxz *olderDateBox() const { return za1_; }

    void OKButtonClick();
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void normalise(ui::TEditz *edit);

    vat::WindowContext ctx_;
    QCheckBox *numbering_;
    ui::TEditz *from_, *to_, *next_;
    ui::TDBCheckBoxz *z1_, *za1_;
    bool closed_ = false;
};

}  // namespace rur::payments
