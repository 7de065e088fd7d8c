// The register of the control statement: where the 10,000 Kč rule reports a row, and what a
// typed or imported value becomes.
#include "kh/Register.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur::kh;

namespace {

Document document(Section section, const QString &dic, qint64 base, qint64 tax, const QString &oprava = {})
{
    Document d;
    d.section = section;
    d.dic = dic;
    d.base[0] = base;
    d.tax[0] = tax;
    d.oprava = oprava;
    return d;
}

}  // namespace

TEST(StatementRegister, SmallOrAnonymousDocumentsOfA4AndB2AreReportedAsSums)
{
    const QString dic = u"27082440"_s;
    const struct Case {
        const char *why;
        Document d;
        Section reported;
    } cases[] = {
        // 8 264,46 + 1 735,54 is exactly 10 000 Kč including tax: not above the limit.
        {"at the limit", document(Section::A4, dic, 826446, 173554), Section::A5},
        {"a heller below", document(Section::A4, dic, 826446, 173553), Section::A5},
        {"a heller above", document(Section::A4, dic, 826446, 173555), Section::A4},
        // The limit counts the value with tax, not the base alone.
        {"base below, with tax above", document(Section::B2, dic, 900000, 189000), Section::B2},
        {"at the limit, received", document(Section::B2, dic, 1000000, 0), Section::B3},
        {"no DIČ, large", document(Section::A4, QString(), 5000000, 1050000), Section::A5},
        {"no DIČ, received", document(Section::B2, QString(), 5000000, 1050000), Section::B3},
        // A bad-debt correction stays, whatever its amount and sign.
        {"correction P, small", document(Section::A4, dic, 10000, 2100, u"P"_s), Section::A4},
        {"correction A, received", document(Section::B2, dic, -10000, -2100, u"A"_s), Section::B2},
        {"flag N is no correction", document(Section::A4, dic, 10000, 2100, u"N"_s), Section::A5},
        // A credit note of a large document stays beside it.
        {"credit note above", document(Section::A4, dic, -1000000, -210000), Section::A4},
        {"credit note at the limit", document(Section::A4, dic, -1000000, 0), Section::A5},
        // Other sections keep every row, large or small.
        {"A1 small", document(Section::A1, dic, 100, 0), Section::A1},
        {"A5 large with DIČ", document(Section::A5, dic, 5000000, 1050000), Section::A5},
        {"B1 small", document(Section::B1, dic, 100, 21), Section::B1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(sectionName(reportedIn(c.d)), sectionName(c.reported));
    }

    // Every column of the row counts: bases and taxes of all three rates.
    Document spread = document(Section::A4, dic, 300000, 63000);
    spread.base[1] = 300000;
    spread.tax[1] = 45000;
    spread.base[2] = 200000;
    spread.tax[2] = 20000;  // 9 280 Kč so far
    EXPECT_EQ(reportedIn(spread), Section::A5);
    spread.tax[2] = 92001;  // 10 000,01 Kč
    EXPECT_EQ(reportedIn(spread), Section::A4);
}

TEST(StatementRegister, TypedAndImportedValuesAreReadAsTheirColumnsStoreThem)
{
    const struct Good {
        Column column;
        const char16_t *text;
        QVariant value;
    } good[] = {
        {Column::Oddil, u" a4 ", u"A4"_s},
        {Column::Dic, u"CZ 270 82 440", u"27082440"_s},
        {Column::Dic, u"cz8001010001", u"8001010001"_s},
        {Column::Stat, u"de", u"DE"_s},
        {Column::Vatid, u"u 1234 5678", u"U12345678"_s},
        {Column::Datum, u"5.3.2018", QDate(2018, 3, 5)},
        {Column::Datum, u"05.03.2018", QDate(2018, 3, 5)},
        {Column::Zaklad1, u"1 234,5", 1234.5},
        {Column::Dan1, u"-1234.56", -1234.56},
        {Column::Zaklad2, u"10\u00a0000", 10000.0},
        {Column::Kod, u"12", u"12"_s},
        {Column::Rezim, u"2", u"2"_s},
        {Column::Oprava, u"p", u"P"_s},
        {Column::Pomer, u"ano", u"A"_s},
        {Column::Pomer, u"NE", u"N"_s},
        {Column::Radek, u"13", 13},
        {Column::Doklad, u"  FV/2018/0001 ", u"FV/2018/0001"_s},
        {Column::Zaklad3, u"", QVariant()},
    };
    for (const Good &g : good) {
        SCOPED_TRACE(QString::fromUtf16(g.text).toStdString());
        const CellValue cell = readCell(g.column, QString::fromUtf16(g.text));
        EXPECT_TRUE(cell.error.isEmpty()) << cell.error.toStdString();
        EXPECT_EQ(cell.value, g.value);
    }

    const struct Bad {
        Column column;
        const char16_t *text;
    } bad[] = {
        {Column::Oddil, u"C1"},        {Column::Oddil, u"A6"},        {Column::Dic, u"SK2020202020"},
        {Column::Dic, u"12345678901"}, {Column::Dic, u"1234-5678"},   {Column::Stat, u"DEU"},
        {Column::Vatid, u"ABC-123"},   {Column::Vatid, u"1234567890123"},
        {Column::Datum, u"31.2.2018"}, {Column::Datum, u"2018-03-05"}, {Column::Datum, u"5.3.18"},
        {Column::Zaklad1, u"12,345"},  {Column::Zaklad1, u"1.234,50"}, {Column::Dan1, u"12 Kč"},
        {Column::Dan1, u"10000000000"}, {Column::Kod, u"1234"},        {Column::Kod, u"A"},
        {Column::Rezim, u"3"},         {Column::Oprava, u"X"},        {Column::Pomer, u"možná"},
        {Column::Radek, u"7"},         {Column::Radek, u"3a"},
    };
    for (const Bad &b : bad) {
        SCOPED_TRACE(QString::fromUtf16(b.text).toStdString());
        const CellValue cell = readCell(b.column, QString::fromUtf16(b.text));
        EXPECT_FALSE(cell.error.isEmpty());
        EXPECT_TRUE(cell.value.isNull());
    }
    // A document number longer than the form allows.
    EXPECT_FALSE(readCell(Column::Doklad, QString(61, u'X')).error.isEmpty());
}
