#pragma once

#include <QString>
#include <QStringList>

namespace rur::engine {
class Table;
}
namespace rur::data {
class TDM1;
}

namespace rur::vat {

// Installs the store hooks and calculated-field hooks of the return tables: the current
// return (Dtabn1, Dtabn2, Dtabn3), the finished returns (Dtabn1s, Dtabn2s), the year totals
// (Dtabs), the retired older layouts (Dtab1, Dtab2, Dtab3, Dtab1s, Dtab2s, Dtabss), the
// dormant acquirer lists (Dpsn1, Dpsn2), the rates (Dcis) and the taxpayer row (Prp).
void attachReturnRules(data::TDM1 &dm);
// Adds the return's rules to every data module made from now on.
void registerTableRules();

// Pieces of attachReturnRules, one per source file.
namespace detail {

void attachOutputRules(data::TDM1 &dm);     // Dtabn1, Dtabn1s
void attachDeductionRules(data::TDM1 &dm);  // Dtabn2, Dtabn2s
void attachTaxRules(data::TDM1 &dm);        // Dtabn3, Dtabs
void attachDormantRules(data::TDM1 &dm);    // retired Dtab* tables, Dpsn1, Dpsn2

// Text rounding of every stored amount of the current row, in declaration order, with the
// field's own display format ("0" when it has none). An empty amount becomes 0, except the
// overrides named, which stay empty (empty means "the computed value stands"). Key fields
// and other non-amount fields are left alone.
void roundStoredAmounts(engine::Table &t, const QStringList &overrides = {});

// A field of another table as a number: 0 when the table is missing, closed or the field
// empty.
double amountOf(const engine::Table *t, const QString &field);
bool flagOf(const engine::Table *t, const QString &field);

// Sets a calculated field inside a calculated-field hook.
void setCalc(engine::Table &t, const QString &field, double value);

}  // namespace detail

}  // namespace rur::vat
