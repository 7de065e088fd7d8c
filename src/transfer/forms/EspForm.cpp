#include "transfer/forms/EspForm.h"

#include "transfer/TaxReturnTransfer.h"

namespace rur::transfer {

TEspForm::TEspForm(const TransferWindowContext &ctx, QWidget *parent)
    : TSiblingForm(ctx, SiblingKind::TaxReturnPO,
                   {{u"Dic", u"DIČ", u"Daňové identifikační číslo"}, {u"Oj1", u"Obchodní jméno", nullptr}}, parent)
{
}

TransferResult TEspForm::runTransfer()
{
    return transferTaxpayer(ctx_.dm, sibling_, ctx_.prompter);
}

TEsfForm::TEsfForm(const TransferWindowContext &ctx, QWidget *parent)
    : TSiblingForm(ctx, SiblingKind::TaxReturnSZ,
                   {{u"Dic", u"DIČ", nullptr}, {u"Jm", u"Jméno", nullptr}, {u"Pr", u"Příjmení", nullptr},
                    {u"Ti", u"Titul", nullptr}},
                   parent)
{
}

TransferResult TEsfForm::runTransfer()
{
    return transferTaxpayer(ctx_.dm, sibling_, ctx_.prompter);
}

}  // namespace rur::transfer
