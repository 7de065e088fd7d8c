#pragma once

#include <QString>
#include <optional>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}

namespace rur::vat {

// Base and tax of an amount typed into the split-entry field of line 1 (S210) or 2 (S215).
struct SplitResult {
    double base = 0;
    double tax = 0;
};

// The arithmetic of the split at a rate in percent. When the amount is the tax alone, the
// base is the tax × 100 ÷ rate rounded to whole crowns; otherwise the amount includes VAT,
// the tax is the amount × the coefficient rate ÷ (rate + 100) (kept to four decimals) rounded,
// and the base the rest. Nothing when the base can't be computed (the tax alone at a rate
// of 0).
std::optional<SplitResult> computeSplit(double rate, double amount, bool amountIsTax);

// Splits the amount typed for line 1 (into C210/C210a at the basic rate Hd) or line 2 (into
// C215/C215a at the reduced rate Dd), by the rate columns of Dtabn1 and the taxpayer's choice
// Prp.Dan (yes: the amount is the tax). Dtabn1 is put into edit and stays there; nothing is
// posted. When the split can't be made (the tax alone at a rate of 0, or a result beyond the
// fields' bounds) an error is shown, nothing is assigned and false is returned.
bool splitAmount(data::TDM1 &dm, int line, double amount, platform::Prompter &prompter);

// Whether leaving a split-entry field splits its amount: only when the text shown now
// differs from the text it had when it got the focus (retyping the same value does nothing).
bool splitNeeded(const QString &textOnEntry, const QString &textNow);

}  // namespace rur::vat
