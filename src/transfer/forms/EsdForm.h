#pragma once

#include "transfer/forms/SiblingForm.h"

class QLabel;

namespace rur::transfer {

// "Přenos údajů z Peněžního deníku": the current return filled from a cash journal's entries
// of the period "za období" "od" "do", which is the journal's own and is stored back into it.
class TEsdForm : public TSiblingForm {
    Q_OBJECT

public:
    explicit TEsdForm(const TransferWindowContext &ctx, QWidget *parent = nullptr);

    // The date fields of the period. A calendar that picks a date for one of them is put
    // here; Shift+F7 in the field and a click on its label "od" / "do" open it.
    QList<ui::TDBEditz *> dateFields() const;
    std::function<void(ui::TDBEditz *field)> openCalendar;

protected:
    TransferResult runTransfer() override;
    bool commitTyped() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void siblingOpened() override;

private:
    QLabel *from_;
    QLabel *to_;
};

}  // namespace rur::transfer
