// Output side of the return (Dtabn1) and of every finished return (Dtabn1s): amounts are
// rounded to whole crowns on store, and each line with a rate gets the control value of its
// tax at the rates stored in Dcis now.
#include "data/DataM1.h"
#include "engine/Table.h"
#include "vat/ReturnRules.h"
#include "vat/Rounding.h"

using namespace Qt::StringLiterals;

namespace rur::vat::detail {

namespace {

struct ControlLine {
    const char16_t *check;  // control value
    const char16_t *base;   // base of the line
    bool basicRate;         // basic rate (Hd), else reduced (Dd)
};

// Lines 1, 3, 5, 7, 10, 12 at the basic rate, 2, 4, 6, 8, 11, 13 at the reduced one; line 9
// (new means of transport) has no rate.
constexpr ControlLine kControlLines[] = {
    {u"K210", u"C210", true},  {u"K215", u"C215", false}, {u"K220", u"C220", true},  {u"K225", u"C225", false},
    {u"K230", u"C230", true},  {u"K235", u"C235", false}, {u"K260", u"C260", true},  {u"K265", u"C265", false},
    {u"K110", u"C110", true},  {u"K111", u"C111", false}, {u"K270", u"C270", true},  {u"K275", u"C275", false},
};

QString str(const char16_t *s)
{
    return QString::fromUtf16(s);
}

void calcOutput(data::TDM1 &dm, engine::Table &t)
{
    const double reduced = amountOf(dm.Dcis.get(), u"Dd"_s);
    const double basic = amountOf(dm.Dcis.get(), u"Hd"_s);
    setCalc(t, u"Dd"_s, reduced);
    setCalc(t, u"Hd"_s, basic);
    setCalc(t, u"K240"_s, 0.0);
    setCalc(t, u"K245"_s, 0.0);
    for (const ControlLine &line : kControlLines) {
        // Base × rate × 0.01 in extended precision, left to right; only the product is rounded.
        const long double base = t.field(str(line.base)).asFloat();
        const long double rate = line.basicRate ? basic : reduced;
        setCalc(t, str(line.check), Zaokr0(base * rate * 0.01L));
    }
}

void attachOutput(data::TDM1 &dm, engine::Table &t)
{
    // Every stored amount, retired ones and the split-entry fields included, is stored as a
    // whole number; an empty one as 0. The period key of the finished returns is no amount.
    t.beforePost = [](engine::Table &row) { roundStoredAmounts(row); };
    t.onCalcFields = [&dm](engine::Table &row) { calcOutput(dm, row); };
}

}  // namespace

void attachOutputRules(data::TDM1 &dm)
{
    attachOutput(dm, *dm.Dtabn1);
    attachOutput(dm, *dm.Dtabn1s);
}

}  // namespace rur::vat::detail
