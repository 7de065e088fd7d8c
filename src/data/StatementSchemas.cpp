// The register of documents (Dkh) from which the control statement is written: one row per
// document and section.
#include "data/Schemas.h"

using namespace Qt::StringLiterals;
using namespace rur::engine;

namespace rur::data {

TableDef dkhDef()
{
    const auto amount = [](const QString &name) { return floatField(name, u"0.00"_s, -9999999999.99, 9999999999.99); };
    return TableDef(u"Dkh"_s, u"Dkh.DB"_s)
        .add({autoIncField(u"ID"_s), textField(u"Oddil"_s, 2), textField(u"Dic"_s, 10), textField(u"Stat"_s, 2),
              textField(u"Vatid"_s, 12), textField(u"Doklad"_s, 60), dateField(u"Datum"_s), amount(u"Zaklad1"_s),
              amount(u"Dan1"_s), amount(u"Zaklad2"_s), amount(u"Dan2"_s), amount(u"Zaklad3"_s), amount(u"Dan3"_s),
              textField(u"Kod"_s, 3), textField(u"Rezim"_s, 1), textField(u"Oprava"_s, 1), textField(u"Pomer"_s, 1),
              smallintField(u"Radek"_s, 1, 99), calculated(textField(u"Kam"_s, 2))})
        .primaryKey({u"ID"_s});
}

}  // namespace rur::data
