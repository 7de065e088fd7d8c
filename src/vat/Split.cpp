// Split of an amount typed for line 1 or 2 into base and tax.
#include "vat/Split.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "vat/ReturnRules.h"
#include "vat/Rounding.h"

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

bool withinBounds(const engine::Field &f, double value)
{
    const engine::FieldDef &d = f.def();
    return !(d.minValue && value < *d.minValue) && !(d.maxValue && value > *d.maxValue);
}

}  // namespace

std::optional<SplitResult> computeSplit(double rate, double amount, bool amountIsTax)
{
    const long double s = amount;
    if (amountIsTax) {
        if (rate == 0)
            return std::nullopt;
        // (rate + 100) ÷ rate × S − S, that is S × 100 ÷ rate.
        return SplitResult{Zaokr0((rate + 100.0L) / rate * s - s), amount};
    }
    // The rates are bounded to ±99,99, so rate + 100 is never 0; the test keeps it so.
    if (rate + 100.0L == 0)
        return std::nullopt;
    const double k = Zaokr4(rate / (rate + 100.0L));
    const double tax = Zaokr0(k * s);
    return SplitResult{amount - tax, tax};
}

bool splitAmount(data::TDM1 &dm, int line, double amount, platform::Prompter &prompter)
{
    if (line != 1 && line != 2)
        RUR_THROW(engine::ErrGeneral, u"Rozdělit lze jen částku řádku 1 nebo 2."_s);
    engine::Table &t = *dm.Dtabn1;
    t.edit();
    const double rate = t.field(line == 1 ? u"Hd"_s : u"Dd"_s).asFloat();
    const bool amountIsTax = detail::flagOf(dm.Prp.get(), u"Dan"_s);
    const std::optional<SplitResult> split = computeSplit(rate, amount, amountIsTax);
    if (!split) {
        prompter.error(u"Sazba daně je nulová, ze zapsané daně nelze vypočítat základ daně."_s);
        return false;
    }
    engine::Field base = t.field(line == 1 ? u"C210"_s : u"C215"_s);
    engine::Field tax = t.field(line == 1 ? u"C210a"_s : u"C215a"_s);
    if (!withinBounds(base, split->base) || !withinBounds(tax, split->tax)) {
        prompter.error(u"Základ daně "_s + engine::formatFloat(split->base, u"0"_s) + u" nebo daň "_s
                       + engine::formatFloat(split->tax, u"0"_s) + u" je mimo povolený rozsah."_s);
        return false;
    }
    tax.setValue(split->tax);
    base.setValue(split->base);
    return true;
}

bool splitNeeded(const QString &textOnEntry, const QString &textNow)
{
    return textOnEntry != textNow;
}

}  // namespace rur::vat
