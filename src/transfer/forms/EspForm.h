#pragma once

#include "transfer/forms/SiblingForm.h"

namespace rur::transfer {

// "Přenos údajů o poplatníkovi z daňového přiznání PO": the taxpayer data filled from the
// income-tax return of a legal person.
class TEspForm : public TSiblingForm {
    Q_OBJECT

public:
    explicit TEspForm(const TransferWindowContext &ctx, QWidget *parent = nullptr);

protected:
    TransferResult runTransfer() override;
};

// "Přenos údajů o poplatníkovi z daňového přiznání SZ": the same from the income-tax return
// of an individual.
class TEsfForm : public TSiblingForm {
    Q_OBJECT

public:
    explicit TEsfForm(const TransferWindowContext &ctx, QWidget *parent = nullptr);

protected:
    TransferResult runTransfer() override;
};

}  // namespace rur::transfer
