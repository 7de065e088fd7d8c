// Store rules of the taxpayer, rate and print-setting tables.
#include "data/DataM1.h"
#include "data/DateInput.h"
#include "engine/NumberFormat.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::data {

namespace {

// Text rounding of a stored value; an empty value stays empty.
void roundField(Table &t, const QString &name, const QString &pattern)
{
    engine::Field f = t.field(name);
    if (!f.isNull())
        f.setValue(engine::textRound(f.asFloat(), pattern));
}

}  // namespace

void TDM1::attachRules()
{
    Prp->beforePost = [](Table &t) {
        roundField(t, u"K1"_s, u"0.00"_s);
        if (t.field(u"Poznod"_s).isNull())
            t.field(u"Poznod"_s).setValue(u"O"_s);
    };
    Dcis->beforePost = [](Table &t) {
        roundField(t, u"Dd"_s, u"0.00"_s);
        roundField(t, u"Hd"_s, u"0.00"_s);
    };
    // Every small integer of the print settings is stored as a number: empty becomes 0,
    // or the lowest allowed value where 0 is not allowed (the number of copies), so that
    // an old row with an empty field can still be stored.
    Dmt->beforePost = [](Table &t) {
        for (int i = 0; i < t.fieldCount(); ++i) {
            engine::Field f = t.fieldAt(i);
            if (f.type() != engine::FieldType::Smallint || f.isCalculated())
                continue;
            const double lowest = f.def().minValue.value_or(0.0);
            f.setValue(f.isNull() ? std::max(0.0, lowest) : double(f.asInteger()));
        }
    };
    // Every date field completes shorthand input ("5", "5.3.", "050318", "+7").
    attachDateInput(tables(), [] { return QDate::currentDate(); });
    for (Table *t : tables()) {
        connect(t, &Table::stateChanged, this, [this, t] {
            if (statusDisplayOn)
                StatusEdit(*t);
        });
    }
}

}  // namespace rur::data
