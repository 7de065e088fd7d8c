#include "support/statement_register.h"

#include "data/DataM1.h"
#include "engine/Table.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace rur::testing {

void fillStatementRegister(data::TDM1 &dm)
{
    engine::Table &dkh = *dm.Dkh;
    const auto doc = [](const char16_t *section, const char16_t *number, int day, int month = 3) {
        return QVariantMap{{u"Oddil"_s, QString::fromUtf16(section)},
                           {u"Doklad"_s, QString::fromUtf16(number)},
                           {u"Datum"_s, QDate(2018, month, day)}};
    };
    const auto with = [](QVariantMap row, const QVariantMap &more) {
        row.insert(more);
        return row;
    };
    const QList<QVariantMap> rows = {
        with(doc(u"A1", u"FV-A1", 5), {{u"Dic"_s, u"27082440"_s}, {u"Zaklad1"_s, 50000.0}, {u"Kod"_s, u"4"_s}}),
        with(doc(u"A2", u"DE-77", 6), {{u"Stat"_s, u"DE"_s}, {u"Vatid"_s, u"123456789"_s}, {u"Zaklad1"_s, 20000.0},
                                       {u"Dan1"_s, 4200.0}, {u"Radek"_s, 3}}),
        with(doc(u"A2", u"AT-5", 7), {{u"Stat"_s, u"AT"_s}, {u"Vatid"_s, u"U12345678"_s}, {u"Zaklad2"_s, 10000.0},
                                      {u"Dan2"_s, 1500.0}, {u"Radek"_s, 4}}),
        with(doc(u"A3", u"ZL-1", 8), {{u"Stat"_s, u"SK"_s}, {u"Vatid"_s, u"2020202020"_s}, {u"Zaklad1"_s, 300000.0}}),
        with(doc(u"A4", u"FV-100", 9), {{u"Dic"_s, u"27082440"_s}, {u"Zaklad1"_s, 100000.0}, {u"Dan1"_s, 21000.0}}),
        with(doc(u"A4", u"FV-101", 9), {{u"Dic"_s, u"27082440"_s}, {u"Zaklad1"_s, 8264.46}, {u"Dan1"_s, 1735.54}}),
        with(doc(u"A4", u"FV-102", 10), {{u"Zaklad2"_s, 50000.0}, {u"Dan2"_s, 7500.0}}),
        with(doc(u"A4", u"FV-103", 11),
             {{u"Dic"_s, u"27082440"_s}, {u"Zaklad1"_s, 1000.0}, {u"Dan1"_s, 210.0}, {u"Oprava"_s, u"P"_s}}),
        with(doc(u"A5", u"Pokladna", 31), {{u"Zaklad1"_s, 5000.0}, {u"Dan1"_s, 1050.0}, {u"Zaklad3"_s, 1000.0},
                                           {u"Dan3"_s, 100.0}}),
        with(doc(u"B1", u"DF-B1", 12),
             {{u"Dic"_s, u"45274649"_s}, {u"Zaklad1"_s, 40000.0}, {u"Dan1"_s, 8400.0}, {u"Kod"_s, u"4"_s}}),
        with(doc(u"B2", u"DF-200", 13),
             {{u"Dic"_s, u"45274649"_s}, {u"Zaklad1"_s, 30000.0}, {u"Dan1"_s, 6300.0}, {u"Pomer"_s, u"N"_s}}),
        with(doc(u"B2", u"DF-201", 28, 2), {{u"Dic"_s, u"45274649"_s}, {u"Zaklad2"_s, 5000.0}, {u"Dan2"_s, 750.0}}),
        with(doc(u"B3", u"Drobné", 20), {{u"Zaklad1"_s, 2000.0}, {u"Dan1"_s, 420.0}}),
    };
    for (const QVariantMap &row : rows)
        appendRow(dkh, inNameOrder(row));
}

}  // namespace rur::testing
