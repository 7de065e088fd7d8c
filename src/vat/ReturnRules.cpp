// Shared helpers of the return tables' hooks, the rate table's store rule, and the one call
// that installs every rule of the return.
#include "vat/ReturnRules.h"

#include "data/DataM1.h"
#include "data/TableRules.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "vat/FieldLabels.h"
#include "vat/TaxpayerRules.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace detail {

void roundStoredAmounts(engine::Table &t, const QStringList &overrides)
{
    for (int i = 0; i < t.fieldCount(); ++i) {
        engine::Field f = t.fieldAt(i);
        if (f.isCalculated() || f.type() != engine::FieldType::Float)
            continue;
        const bool empty = f.isNull();
        if (empty && overrides.contains(f.name(), Qt::CaseInsensitive))
            continue;
        const QString pattern = f.displayFormat().isEmpty() ? u"0"_s : f.displayFormat();
        const double now = f.asFloat();
        const double rounded = engine::textRound(now, pattern);
        // Assigning recalculates the row, so an amount that is already round is left as it is.
        if (empty || rounded != now || std::signbit(rounded) != std::signbit(now))
            f.setValue(rounded);
    }
}

double amountOf(const engine::Table *t, const QString &field)
{
    if (!t || !t->isActive())
        return 0.0;
    return t->value(t->def().indexOf(field)).toDouble();
}

bool flagOf(const engine::Table *t, const QString &field)
{
    if (!t || !t->isActive())
        return false;
    return t->value(t->def().indexOf(field)).toBool();
}

void setCalc(engine::Table &t, const QString &field, double value)
{
    t.field(field).setValue(value);
}

}  // namespace detail

void attachReturnRules(data::TDM1 &dm)
{
    // Rates are kept to two decimals: 21,006 is stored as 21,01.
    dm.Dcis->beforePost = [](engine::Table &t) { detail::roundStoredAmounts(t); };
    detail::attachOutputRules(dm);
    detail::attachDeductionRules(dm);
    detail::attachTaxRules(dm);
    detail::attachDormantRules(dm);
    attachTaxpayerRules(dm);
    labelFields(dm);
}

void registerTableRules()
{
    data::addTableRules("vat", [](data::TDM1 &dm) {
        attachReturnRules(dm);
    });
}

}  // namespace rur::vat
