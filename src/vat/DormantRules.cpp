// Tables nothing reads any more but every data set still carries: the older return layouts
// (Dtab1, Dtab2, Dtab3, Dtab1s, Dtab2s, Dtabss) and the lists of acquirers (Dpsn1, Dpsn2).
#include "data/DataM1.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "vat/ReturnRules.h"

using namespace Qt::StringLiterals;

namespace rur::vat::detail {

namespace {

// The calculated fields of the older layouts are always 0.
void zeroCalculated(engine::Table &t)
{
    for (int i = 0; i < t.fieldCount(); ++i)
        if (t.fieldAt(i).isCalculated())
            t.fieldAt(i).setValue(0.0);
}

void roundWhole(engine::Table &t, const QString &field)
{
    engine::Field f = t.field(field);
    f.setValue(engine::textRound(f.asFloat(), u"0"_s));
}

// A new acquirer in Dpsn1 marked for the directory goes into Dpsn2 once. The data set is
// opened with both tables closed; the directory is opened for the while if need be.
void addToDirectory(engine::Table &list, engine::Table &directory)
{
    const QStringList names{u"Npo"_s, u"Kodz"_s, u"Dicp"_s, u"Kpl"_s};
    QVariantList values;
    for (const QString &n : names)
        values.append(list.field(n).value());
    const bool wasOpen = directory.isActive();
    if (!wasOpen)
        directory.open();
    try {
        if (!directory.locate(names.join(u';'), values)) {
            directory.append();
            for (int i = 0; i < names.size(); ++i)
                directory.field(names[i]).setValue(values[i]);
            directory.post();
        }
    } catch (...) {
        if (directory.isEditing())
            directory.cancel();
        if (!wasOpen)
            directory.close();
        throw;
    }
    if (!wasOpen)
        directory.close();
}

}  // namespace

void attachDormantRules(data::TDM1 &dm)
{
    // Amounts of the older layouts to whole crowns, their coefficients K1 to four decimals
    // (each field's own display format); the period keys are left alone.
    for (engine::Table *t : {dm.Dtab1.get(), dm.Dtab2.get(), dm.Dtab3.get(), dm.Dtab1s.get(), dm.Dtab2s.get(),
                             dm.Dtabss.get()}) {
        t->beforePost = [](engine::Table &row) { roundStoredAmounts(row); };
        t->onCalcFields = zeroCalculated;
    }

    dm.Dpsn1->onNewRecord = [](engine::Table &t) {
        t.field(u"Nzp"_s).setValue(false);
        t.field(u"Pmr"_s).setValue(false);
    };
    dm.Dpsn2->onNewRecord = [](engine::Table &t) { t.field(u"Npo"_s).clear(); };
    dm.Dpsn1->beforePost = [&dm](engine::Table &t) {
        roundWhole(t, u"Ppl"_s);
        roundWhole(t, u"Cpk"_s);
        // The mark is cleared once the directory holds the acquirer, so that a failed
        // append leaves it set for the next try.
        if (t.field(u"Nzp"_s).asBoolean()) {
            addToDirectory(t, *dm.Dpsn2);
            t.field(u"Nzp"_s).setValue(false);
        }
    };
}

}  // namespace rur::vat::detail
