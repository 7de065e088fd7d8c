#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;

namespace rur::ui {
class TDBEditz;
}

namespace rur::ledger {

// "Na RUR zaplaceno": the twelve slots of Dzal1 with their period labels, dates (Shift+F7 and
// a click on "Datum" open the calendar) and amounts; a click on a slot's "Příkaz" hands its
// amount and date to the payment order and closes the window.
class TEzal1sForm : public QDialog {
    Q_OBJECT

public:
    explicit TEzal1sForm(vat::WindowContext ctx, QWidget *parent = nullptr);

    ui::TDBEditz *dateEdit(int slot) const { return dates_.value(slot - 1); }
    ui::TDBEditz *amountEdit(int slot) const { return amounts_.value(slot - 1); }
    QLabel *periodLabel(int slot) const { return periods_.value(slot - 1); }
    QLabel *dateLabel(int slot) const { return dateLabels_.value(slot - 1); }
    QLabel *transferLabel(int slot) const { return transfers_.value(slot - 1); }
    QLabel *heading() const { return heading_; }

    void OKButtonClick();
    void PrenosZ1(int slot);
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    vat::WindowContext ctx_;
    QLabel *heading_;
    QList<QLabel *> periods_, dateLabels_, transfers_;
    QList<ui::TDBEditz *> dates_, amounts_;
    bool closed_ = false;
};

// Opens the ledger from anywhere (the Komfort page of the print centre): the return's tax
// proposed for the current period, the window shown modally, the second status panel cleared.
void openLedger(QWidget *parent, const vat::WindowContext &ctx);

}  // namespace rur::ledger
