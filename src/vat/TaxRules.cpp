// Tax calculation of the return (Dtabn3): lines 62 to 66 from the current rows of Dtabn1 and
// Dtabn2, each line open to an override; and the store rule of the year totals (Dtabs).
#include "data/DataM1.h"
#include "engine/Table.h"
#include "vat/ReturnRules.h"

using namespace Qt::StringLiterals;

namespace rur::vat::detail {

namespace {

// Output tax of lines 1 to 13.
constexpr const char16_t *kOutputTaxes[] = {u"C210a", u"C215a", u"C220a", u"C225a", u"C230a", u"C235a", u"C260a",
                                            u"C265a", u"C255a", u"C110a", u"C111a", u"C270a", u"C275a"};

// The computed value of a line, or the override when the user filled it.
double orOverride(engine::Table &t, const QString &override, double computed)
{
    const engine::Field f = t.field(override);
    return f.isNull() ? computed : f.asFloat();
}

void calcTax(data::TDM1 &dm, engine::Table &t)
{
    const engine::Table *out = dm.Dtabn1.get();
    const engine::Table *ded = dm.Dtabn2.get();
    // Line 62: output tax of lines 1 to 13 less the refund of line 61. Every summand is a whole
    // number already, so nothing here is rounded.
    long double outputTax = 0;
    for (const char16_t *n : kOutputTaxes)
        outputTax += amountOf(out, QString::fromUtf16(n));
    outputTax -= amountOf(out, u"C600"_s);
    const double c730 = orOverride(t, u"S730"_s, double(outputTax));
    setCalc(t, u"C730"_s, c730);
    // Line 63: line 46 full column + line 52 + line 53 + line 60.
    const long double deduction = static_cast<long double>(amountOf(ded, u"C390"_s)) + amountOf(ded, u"C550a"_s)
                                  + t.field(u"C560a"_s).asFloat() + t.field(u"C570"_s).asFloat();
    const double c750 = orOverride(t, u"S750"_s, double(deduction));
    setCalc(t, u"C750"_s, c750);
    // Lines 64 to 66 follow from lines 62 and 63 as overridden.
    const double difference = c730 - c750;
    double c753 = 0, c754 = 0, c780 = 0;
    if (flagOf(dm.Prp.get(), u"Dpdd1"_s)) {
        // A supplementary return shows only the difference; lines 64 and 65 stay 0 whatever
        // their overrides hold.
        c780 = difference;
    } else {
        c753 = orOverride(t, u"S753"_s, difference > 0 ? difference : 0.0);
        c754 = orOverride(t, u"S754"_s, difference < 0 ? c750 - c730 : 0.0);
    }
    setCalc(t, u"C753"_s, c753);
    setCalc(t, u"C754"_s, c754);
    setCalc(t, u"C780"_s, c780);
    const double coefficient = t.field(u"C560"_s).asFloat();
    setCalc(t, u"C560k"_s, flagOf(dm.Prp.get(), u"K1p"_s) ? coefficient * 100 : coefficient);
}

}  // namespace

void attachTaxRules(data::TDM1 &dm)
{
    // The settlement coefficient to two decimals, amounts to whole crowns; empty overrides of
    // lines 62 to 65 stay empty.
    dm.Dtabn3->beforePost = [](engine::Table &t) {
        roundStoredAmounts(t, {u"S730"_s, u"S750"_s, u"S753"_s, u"S754"_s});
    };
    dm.Dtabn3->onCalcFields = [&dm](engine::Table &t) { calcTax(dm, t); };
    // Year totals: every amount to whole crowns, the settlement coefficient C560 to two decimals.
    dm.Dtabs->beforePost = [](engine::Table &t) { roundStoredAmounts(t); };
}

}  // namespace rur::vat::detail
