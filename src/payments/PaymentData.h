#pragma once

// The payer's bank accounts (Mbzp) and the bank orders (Mban): the hooks of both tables and
// the picker's work on the payment order (PrenosBanky1).

#include <QDate>
#include <functional>

namespace rur::data {
class TDM1;
}

namespace rur::payments {

// The message of a bank number used twice.
QString duplicateBankNumberMessage();

// Installs the hooks of Mbzp and Mban:
// - Mbzp: a new row has no number and Cnb false; the number is stored as a whole number (an
//   empty one as 0); a duplicate number fails with "Duplicitní klíč - číslo banky" (code
//   9729), the row staying in edit;
// - Mban: a new row takes the payer's account and bank code of the payment order (Mtt.Cui,
//   Mtt.Kbi) and type "1"; before post the amount is rounded to hellers, an empty due date
//   becomes today and, with Mtt.Za1 on, an earlier one too.
// `today` gives the date of the day (tests give their own).
void attachPaymentRules(data::TDM1 &dm, std::function<QDate()> today);
// Adds the accounts' and bank orders' rules (dated today) to every data module made from now on.
void registerTableRules();

// PrenosBanky1, before the window shows: Mbzp opened and re-read, on the row whose Bai, Cui
// and Kbi equal the payment order's (the first row when none does). Throws EngineError.
void openBankData(data::TDM1 &dm);
// On OK: Bai, Nai, Cui, Kbi, Vi and Cnb of the current Mbzp row copied into Mtt, which is left
// in edit (the print centre posts it with its other fields). Nothing when Mbzp is empty.
// Throws EngineError.
void takeBankData(data::TDM1 &dm);
// Afterwards: Mbzp closed.
void closeBankData(data::TDM1 &dm);

}  // namespace rur::payments
