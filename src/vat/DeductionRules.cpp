// Deduction side of the return (Dtabn2) and of every finished return (Dtabn2s): the totals of
// line 46, line 52 from the deduction coefficient, the control values of lines 40, 41, 43
// and 44, and the coefficient as printed.
#include "data/DataM1.h"
#include "engine/Table.h"
#include "vat/ReturnRules.h"
#include "vat/Rounding.h"

using namespace Qt::StringLiterals;

namespace rur::vat::detail {

namespace {

long double sum(engine::Table &t, std::initializer_list<const char16_t *> names)
{
    long double total = 0;
    for (const char16_t *n : names)
        total += t.field(QString::fromUtf16(n)).asFloat();
    return total;
}

void calcDeductions(data::TDM1 &dm, engine::Table &t)
{
    const double reduced = amountOf(dm.Dcis.get(), u"Dd"_s);
    const double basic = amountOf(dm.Dcis.get(), u"Hd"_s);
    setCalc(t, u"Dd"_s, reduced);
    setCalc(t, u"Hd"_s, basic);
    // Line 46 is lines 40 + 41 + 42 + 43 + 44 + 45 in each column; line 47 is informative.
    setCalc(t, u"C380"_s, double(sum(t, {u"C315b", u"C310b", u"C340b", u"C320b", u"C325b", u"C370b"})));
    setCalc(t, u"C390"_s, double(sum(t, {u"C315a", u"C310a", u"C340a", u"C320a", u"C325a", u"C370a"})));
    // Line 52: the reduced column at the coefficient, unless the user typed the figure.
    const engine::Field override52 = t.field(u"S550a"_s);
    if (override52.isNull()) {
        const long double coefficient = t.field(u"C550"_s).asFloat();
        setCalc(t, u"C550a"_s, Zaokr0(coefficient * t.field(u"C380"_s).asFloat()));
    } else {
        setCalc(t, u"C550a"_s, override52.asFloat());
    }
    const auto check = [&t](const QString &base, double rate) {
        return Zaokr0(static_cast<long double>(t.field(base).asFloat()) * rate * 0.01L);
    };
    setCalc(t, u"K310"_s, check(u"C310"_s, basic));
    setCalc(t, u"K315"_s, check(u"C315"_s, reduced));
    setCalc(t, u"K320"_s, check(u"C320"_s, basic));
    setCalc(t, u"K325"_s, check(u"C325"_s, reduced));
    for (const QString &zero : {u"K330"_s, u"K335"_s, u"K340"_s, u"K345"_s, u"K350"_s, u"K355"_s})
        setCalc(t, zero, 0.0);
    // Printed as 85 instead of 0,85 when the taxpayer prints coefficients as percentages.
    const double coefficient = t.field(u"C550"_s).asFloat();
    setCalc(t, u"C550k"_s, flagOf(dm.Prp.get(), u"K1p"_s) ? coefficient * 100 : coefficient);
}

void attachDeductions(data::TDM1 &dm, engine::Table &t)
{
    // Amounts to whole crowns, the coefficient to two decimals; an empty line 52 override
    // stays empty.
    t.beforePost = [](engine::Table &row) { roundStoredAmounts(row, {u"S550a"_s}); };
    t.onCalcFields = [&dm](engine::Table &row) { calcDeductions(dm, row); };
}

}  // namespace

void attachDeductionRules(data::TDM1 &dm)
{
    attachDeductions(dm, *dm.Dtabn2);
    attachDeductions(dm, *dm.Dtabn2s);
}

}  // namespace rur::vat::detail
