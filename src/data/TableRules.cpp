// Hooks of the data module's tables: the rules of the return (vat/), the print settings, the
// payment order (print/) and the date fields.
#include "correspondence/AddressBook.h"
#include "correspondence/Documents.h"
#include "data/DataM1.h"
#include "data/DateInput.h"
#include "data/TableGuide.h"
#include "kh/RegisterRules.h"
#include "print/PaymentOrder.h"
#include "print/PrintCentreLayout.h"
#include "vat/ReturnRules.h"
#include "ledger/Ledger.h"
#include "payments/PaymentData.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::data {

void TDM1::attachRules()
{
    // The return, its rates and the taxpayer row.
    vat::attachReturnRules(*this);
    // The VAT paid ledger: amounts in whole crowns.
    ledger::attachLedgerRules(*this);
    // Every small integer of the print settings is stored as a number: empty becomes 0,
    // or the lowest allowed value where 0 is not allowed (the number of copies), so that
    // an old row with an empty field can still be stored.
    Dmt->beforePost = [](Table &t) {
        for (int i = 0; i < t.fieldCount(); ++i) {
            engine::Field f = t.fieldAt(i);
            if (f.type() != engine::FieldType::Smallint || f.isCalculated())
                continue;
            const double lowest = f.def().minValue.value_or(0.0);
            f.setValue(f.isNull() ? std::max(0.0, lowest) : double(f.asInteger()));
        }
    };
    // The payment order and the offsets of letters and envelopes; the print settings' fields
    // named as the print centre shows them.
    print::attachPaymentOrderRules(*this);
    print::labelPrintFields(*this);
    // The list windows' fields, named as those windows show them.
    labelListFields(*this);
    // The payer's accounts and the bank orders.
    payments::attachPaymentRules(*this, [] { return QDate::currentDate(); });
    // The address book and the letters.
    correspondence::attachAddressBookRules(*this);
    correspondence::attachDocumentRules(*this);
    // The register of documents of the control statement.
    kh::attachRegisterRules(*this);
    // Every date field completes shorthand input ("5", "5.3.", "050318", "+7").
    attachDateInput(tables(), [] { return QDate::currentDate(); });
    for (Table *t : tables()) {
        connect(t, &Table::stateChanged, this, [this, t] {
            if (statusDisplayOn)
                StatusEdit(*t);
        });
    }
}

}  // namespace rur::data
