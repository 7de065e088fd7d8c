#include "app/Subsystems.h"

#include "correspondence/AddressBook.h"
#include "kh/RegisterRules.h"
#include "ledger/Ledger.h"
#include "payments/PaymentData.h"
#include "print/PaymentOrder.h"
#include "vat/ReturnRules.h"

namespace rur::app {

void addSubsystemTableRules()
{
    // The order in which the hooks are attached: the return's rules first.
    vat::registerTableRules();
    ledger::registerTableRules();
    print::registerTableRules();
    payments::registerTableRules();
    correspondence::registerTableRules();
    kh::registerTableRules();
}

}  // namespace rur::app
