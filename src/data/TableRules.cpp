// Hooks of the data module's tables: its own (the print settings' numbers, the list windows'
// labels, the date fields, the status display) and those the subsystems added at start-up.
#include "data/TableRules.h"

#include "data/DataM1.h"
#include "data/DateInput.h"
#include "data/TableGuide.h"

#include <QList>
#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

namespace rur::data {

namespace {

struct AddedRules {
    const char *subsystem;
    TableRules rules;
};

QList<AddedRules> &addedRules()
{
    static QList<AddedRules> all;
    return all;
}

}  // namespace

void addTableRules(const char *subsystem, TableRules rules)
{
    QList<AddedRules> &all = addedRules();
    const auto same = [subsystem](const AddedRules &r) { return std::strcmp(r.subsystem, subsystem) == 0; };
    if (std::none_of(all.cbegin(), all.cend(), same))
        all.append({subsystem, std::move(rules)});
}

void TDM1::attachRules()
{
    // A data module without the subsystems' rules would compute nothing and check nothing:
    // a program that forgets to add them must not get that far.
    if (addedRules().isEmpty())
        qFatal("RUR: the subsystems' table rules were not added before the data module was made");
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
    // The list windows' fields, named as those windows show them where no subsystem names them.
    labelListFields(*this);
    for (const AddedRules &r : std::as_const(addedRules()))
        r.rules(*this);
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
