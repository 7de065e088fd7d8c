// The check of a return before it is filed: each content rule with a return that trips it and
// one that passes, and the kinds of taxpayer and signing person the portal requires.
#include "check/ReturnCheck.h"
#include "engine/Table.h"
#include "return_check_fixture.h"
#include "support/rows.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using check::Finding;
using check::Severity;
using rur::testing::findingLines;
using rur::testing::ReturnCheck;
using rur::testing::setRow;

namespace {

TEST_F(ReturnCheck, AValidFullyFilledReturnHasNoFindingInAnyEncoding)
{
    for (int kodovani : {print::KodUtf8, print::KodCp1250, print::KodIso88592})
        EXPECT_EQ(findingLines(all(kodovani)), QStringList()) << "encoding " << kodovani;
}

TEST_F(ReturnCheck, VatNumberFindingNamesTheTaxpayerField)
{
    setRow(*dm.Prp, {{u"Dic"_s, u"CZ7103192746"_s}});
    const Finding f = only();
    EXPECT_EQ(f.severity, Severity::Error);
    EXPECT_EQ(f.where, u"DIČ"_s);
    EXPECT_EQ(f.message, u"DIČ: rodné číslo nemá správnou kontrolní číslici (není dělitelné 11)."_s);
    EXPECT_EQ(f.table + u'.' + f.field, u"Prp.Dic"_s);

    // The schema refuses the letters too; one fault, one finding.
    setRow(*dm.Prp, {{u"Dic"_s, u"CZ12a45678"_s}});
    EXPECT_EQ(findingLines(all()), QStringList{u"Chyba: DIČ (Prp.Dic): musí mít tvar CZ a 8 až 10 číslic."_s});
}

TEST_F(ReturnCheck, MonthOrQuarterNotBothAndTheNumberOfThePeriod)
{
    setRow(*dm.Prp, {{u"Q"_s, u"I."_s}});
    EXPECT_EQ(only().message, u"Přiznání za zdaňovací období: vyplňte buď měsíc, nebo čtvrtletí, ne obojí."_s);
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, QVariant()}});
    EXPECT_EQ(only().message, u"Přiznání za zdaňovací období: není vyplněn měsíc ani čtvrtletí."_s);
    setRow(*dm.Prp, {{u"M"_s, u"březen"_s}, {u"Cislo"_s, 4}});
    const Finding f = only();
    EXPECT_EQ(f.message, u"Číslo období: 4 neodpovídá měsíci březen (3)."_s);
    EXPECT_EQ(f.field, u"Cislo"_s);
    // The first quarter, filed in April: nothing to say.
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, u"I."_s}, {u"Cislo"_s, 1}});
    EXPECT_EQ(findingLines(content()), QStringList());
}

TEST_F(ReturnCheck, YearAndFilingDateAgainstThePeriod)
{
    // A two-digit year passes the schema (up to four digits) but is no year.
    setRow(*dm.Prp, {{u"R"_s, u"18"_s}});
    EXPECT_EQ(only().message, u"Rok: musí být čtyřmístný rok."_s);
    setRow(*dm.Prp, {{u"R"_s, u"2018"_s}, {u"Ddp"_s, QDate(2018, 3, 31)}});
    Finding f = only();
    EXPECT_EQ(f.severity, Severity::Error);
    EXPECT_EQ(f.message,
              u"Datum: 31.03.2018 není po skončení zdaňovacího období (31.03.2018); přiznání lze podat až po něm."_s);
    setRow(*dm.Prp, {{u"Ddp"_s, QDate(2018, 4, 1)}});
    EXPECT_EQ(findingLines(content()), QStringList());
    setRow(*dm.Prp, {{u"Ddp"_s, QDate(2018, 4, 26)}});
    f = only();
    EXPECT_EQ(f.severity, Severity::Warning);
    EXPECT_EQ(f.message, u"Datum: lhůta pro podání přiznání za březen 2018 uplynula 25.04.2018."_s);
    // A supplementary return has no such term.
    setRow(*dm.Prp, {{u"Dpdd1"_s, true}, {u"D"_s, QDate(2018, 4, 20)}});
    EXPECT_EQ(findingLines(content()), QStringList());
    setRow(*dm.Prp, {{u"Dpdd1"_s, false}, {u"D"_s, QVariant()}});

    // February: the 25th day after it is a Sunday, the term ends on Monday 26.3.
    setRow(*dm.Prp, {{u"M"_s, u"únor"_s}, {u"Cislo"_s, 2}, {u"Ddp"_s, QDate(2018, 3, 26)}});
    EXPECT_EQ(findingLines(content()), QStringList());
    setRow(*dm.Prp, {{u"Ddp"_s, QDate(2018, 3, 27)}});
    EXPECT_EQ(only().message, u"Datum: lhůta pro podání přiznání za únor 2018 uplynula 26.03.2018."_s);

    setRow(*dm.Prp, {{u"Ddp"_s, QVariant()}});
    EXPECT_EQ(only().message, u"Datum: datum podání není vyplněno."_s);
    setRow(*dm.Prp, {{u"Ddp"_s, QDate(2018, 5, 10)}});
    EXPECT_TRUE(findingLines(content()).contains(u"Upozornění: Datum (Prp.Ddp): 10.05.2018 je pozdější než dnešní datum."_s));
}

// The term moves past public holidays too: the day before it ends a return is in time, the
// day after it is late.
TEST_F(ReturnCheck, FilingTermMovesPastPublicHolidays)
{
    const QDate today(2019, 6, 1);
    const struct {
        const char16_t *month, *quarter;
        int cislo;
        const char16_t *year;
        QDate due;
        const char *why;
    } cases[] = {
        {u"listopad", nullptr, 11, u"2018", {2018, 12, 27}, "25 and 26 December"},
        {u"únor", nullptr, 2, u"2016", {2016, 3, 29}, "Good Friday, the weekend, Easter Monday"},
        {nullptr, u"I.", 1, u"2011", {2011, 4, 26}, "a quarter ending before Easter Monday"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        const QVariant month = c.month ? QVariant(QString::fromUtf16(c.month)) : QVariant();
        const QVariant quarter = c.quarter ? QVariant(QString::fromUtf16(c.quarter)) : QVariant();
        setRow(*dm.Prp, {{u"M"_s, month}, {u"Q"_s, quarter}, {u"Cislo"_s, c.cislo}, {u"R"_s, QString::fromUtf16(c.year)},
                         {u"Ddp"_s, c.due}});
        EXPECT_EQ(findingLines(check::checkContent(dm, today)), QStringList());
        setRow(*dm.Prp, {{u"Ddp"_s, c.due.addDays(1)}});
        const QList<Finding> late = check::checkContent(dm, today);
        ASSERT_EQ(late.size(), 1) << findingLines(late).join(u'\n').toStdString();
        EXPECT_TRUE(late[0].message.endsWith(u" uplynula "_s + c.due.toString(u"dd.MM.yyyy"_s) + u'.'))
            << late[0].message.toStdString();
    }
}

TEST_F(ReturnCheck, PartOfAPeriodEndsItAndLiesInsideIt)
{
    setRow(*dm.Prp, {{u"Od1"_s, QDate(2018, 3, 1)}, {u"Do1"_s, QDate(2018, 3, 15)}, {u"Ddp"_s, QDate(2018, 3, 20)}});
    EXPECT_EQ(findingLines(content()), QStringList());
    setRow(*dm.Prp, {{u"Do1"_s, QDate(2018, 4, 5)}, {u"Ddp"_s, QDate(2018, 4, 20)}});
    const Finding f = only();
    EXPECT_EQ(f.message, u"za obd. od – do: 01.03.2018 – 05.04.2018 musí ležet v období březen 2018."_s);
    EXPECT_EQ(f.field, u"Od1"_s);
}

TEST_F(ReturnCheck, TaxOfficeMustBeFilledAndTheSchemaDoesNotRepeatIt)
{
    setRow(*dm.Prp, {{u"Fuc"_s, QVariant()}});
    EXPECT_EQ(findingLines(all()), QStringList{u"Chyba: Číslo FÚ (Prp.Fuc): není vyplněno číslo finančního úřadu."_s});
}

TEST_F(ReturnCheck, TaxOfLinesOneToThirteenAgainstTheControlValue)
{
    setRow(*dm.Dtabn1, {{u"C210a"_s, 2101.0}, {u"C255a"_s, 1.0}});  // line 9 has no control value
    EXPECT_EQ(findingLines(content()), QStringList());
    setRow(*dm.Dtabn1, {{u"C210a"_s, 2102.0}, {u"C275a"_s, 18000.0 - 5}});
    const QList<Finding> found = content();
    ASSERT_EQ(found.size(), 2) << findingLines(found).join(u'\n').toStdString();
    EXPECT_EQ(check::findingLine(found[0]), u"Upozornění: ř. 1 (Dtabn1.C210a): daň 2102 Kč se liší od kontrolního výpočtu 2100 Kč o 2 Kč."_s);
    EXPECT_EQ(found[1].where, u"ř. 13"_s);
    EXPECT_EQ(found[1].table + u'.' + found[1].field, u"Dtabn1.C275a"_s);
}

TEST_F(ReturnCheck, OwnTaxAndExcessDeductionNotBoth)
{
    setRow(*dm.Dtabn3, {{u"S753"_s, 1000.0}});
    EXPECT_EQ(findingLines(content()), QStringList());
    setRow(*dm.Dtabn3, {{u"S754"_s, 500.0}});
    const Finding f = only();
    EXPECT_EQ(f.message, u"ř. 64: vlastní daň (1000 Kč) a nadměrný odpočet na ř. 65 (500 Kč) nemohou být vyplněny zároveň."_s);
    EXPECT_EQ(f.table + u'.' + f.field, u"Dtabn3.S753"_s);
    // A supplementary return has line 66 instead; the overrides of 64 and 65 do not count.
    setRow(*dm.Prp, {{u"Dpdd1"_s, true}, {u"D"_s, QDate(2018, 4, 10)}});
    EXPECT_EQ(findingLines(all()), QStringList());
}

TEST_F(ReturnCheck, CoefficientsAreSharesFiledInPerCent)
{
    for (double ok : {0.0, 1.0}) {
        setRow(*dm.Dtabn2, {{u"C550"_s, ok}});
        EXPECT_EQ(findingLines(content()), QStringList()) << ok;
    }
    setRow(*dm.Dtabn2, {{u"C550"_s, 1.2}});
    EXPECT_EQ(only().message, u"ř. 52: koeficient 1,2 (120 %) musí ležet mezi 0 a 1 (0 až 100 %)."_s);
    setRow(*dm.Dtabn2, {{u"C550"_s, -0.1}});
    EXPECT_EQ(only().message, u"ř. 52: koeficient -0,1 (-10 %) musí ležet mezi 0 a 1 (0 až 100 %)."_s);

    // Without per cent the file would carry 0,85 where the tax office reads per cent.
    setRow(*dm.Prp, {{u"K1p"_s, false}});
    EXPECT_EQ(findingLines(content()),
              (QStringList{u"Chyba: ř. 52 (Dtabn2.C550): koeficient -0,1 musí ležet mezi 0 a 1."_s,
                           u"Chyba: procentní vyjádření (Prp.K1p): bez něj se koeficient zapíše do souboru pro elektronické "
                           u"podání jako podíl (0,85), finanční úřad jej však čte v procentech (85)."_s}));
    setRow(*dm.Dtabn2, {{u"C550"_s, 0.0}});
    EXPECT_EQ(findingLines(content()), QStringList()) << "no coefficient, nothing to misread";
    setRow(*dm.Prp, {{u"K1p"_s, true}});
    setRow(*dm.Dtabn2, {{u"C550"_s, 0.85}});

    setRow(*dm.Prp, {{u"M"_s, u"prosinec"_s}, {u"Cislo"_s, 12}, {u"Ddp"_s, QDate(2019, 1, 20)}});
    setRow(*dm.Dtabn3, {{u"C560"_s, 1.5}});
    EXPECT_EQ(check::checkContent(dm, QDate(2019, 2, 1)).value(0).message,
              u"ř. 53: vypořádací koeficient 1,5 (150 %) musí ležet mezi 0 a 1 (0 až 100 %)."_s);
    setRow(*dm.Dtabn3, {{u"C560"_s, 0.9}});
    setRow(*dm.Prp, {{u"K1"_s, 1.5}});
    const QList<Finding> found = check::checkContent(dm, QDate(2019, 2, 1));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(check::findingLine(found[0]),
              u"Upozornění: Koeficient (Prp.K1): roční koeficient 1,5 musí ležet mezi 0 a 1."_s);
}

TEST_F(ReturnCheck, SupplementaryReturnNeedsTheDateItsReasonsWereFound)
{
    setRow(*dm.Prp, {{u"Dpdd1"_s, true}});
    Finding f = only();
    EXPECT_EQ(f.severity, Severity::Error);
    EXPECT_EQ(f.message, u"důvody pro podání dodat. přiznání zjištěny dne: u dodatečného přiznání musí být datum vyplněno."_s);
    EXPECT_EQ(f.field, u"D"_s);
    setRow(*dm.Prp, {{u"D"_s, QDate(2018, 4, 10)}});
    EXPECT_EQ(findingLines(content()), QStringList());
    setRow(*dm.Prp, {{u"D"_s, QDate(2018, 4, 25)}});
    EXPECT_EQ(only().message,
              u"důvody pro podání dodat. přiznání zjištěny dne: 25.04.2018 je pozdější než datum podání 20.04.2018."_s);
    setRow(*dm.Prp, {{u"Dpdd1"_s, false}});
    f = only();
    EXPECT_EQ(f.severity, Severity::Warning);
    EXPECT_EQ(f.message, u"důvody pro podání dodat. přiznání zjištěny dne: datum se vyplňuje jen u dodatečného přiznání."_s);
}

TEST_F(ReturnCheck, YearlySettlementOnlyInTheLastPeriod)
{
    setRow(*dm.Dtabn3, {{u"C560a"_s, 2000.0}});
    const Finding f = only();
    EXPECT_EQ(check::findingLine(f),
              u"Upozornění: ř. 53 (Dtabn3.C560a): vypořádání odpočtu patří jen do přiznání za prosinec nebo za IV. čtvrtletí."_s);
    EXPECT_EQ(f.table + u'.' + f.field, u"Dtabn3.C560a"_s);
    setRow(*dm.Prp, {{u"M"_s, u"prosinec"_s}, {u"Cislo"_s, 12}, {u"Ddp"_s, QDate(2019, 1, 20)}});
    EXPECT_EQ(findingLines(check::checkContent(dm, QDate(2019, 2, 1))), QStringList());
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, u"IV."_s}, {u"Cislo"_s, 4}});
    EXPECT_EQ(findingLines(check::checkContent(dm, QDate(2019, 2, 1))), QStringList());
    setRow(*dm.Prp, {{u"Q"_s, u"III."_s}, {u"Cislo"_s, 3}, {u"Ddp"_s, QDate(2018, 10, 20)}});
    EXPECT_EQ(check::checkContent(dm, QDate(2019, 2, 1)).size(), 1);
}

TEST_F(ReturnCheck, TheTaxpayerAndTheSigningPersonAreNamedAsTheirKindRequires)
{
    const QString natural = u"není vyplněno; u daňového subjektu, který je fyzickou osobou, je povinné."_s;
    const QString signing = u"není vyplněno; u podepisující osoby, která je fyzickou osobou, je povinné."_s;
    const struct {
        QVariantMap change;
        QStringList found;
    } cases[] = {
        // A natural person named nowhere (the template's kind): surname and first name.
        {{{u"Tds"_s, true}},
         {u"Chyba: Fyzická osoba: Příjmení (Prp.Pra): "_s + natural, u"Chyba: Fyzická osoba: Jméno (Prp.Jmb): "_s + natural}},
        {{{u"Tds"_s, true}, {u"Pra"_s, u"Nováková"_s}, {u"Jmb"_s, u"Jana"_s}}, {}},
        // A legal person whose name is only on the two printed lines.
        {{{u"Ojp3"_s, QVariant()}, {u"Oj1a"_s, u"Alfa s.r.o."_s}},
         {u"Chyba: El. podání (název právnické osoby) (Prp.Ojp3): není vyplněn; soubor pro elektronické podání bere "
          u"název právnické osoby odsud, ne z pole Název právnické osoby (Oj1a)."_s}},
        {{{u"Tds"_s, QVariant()}}, {u"Chyba: Typ daň. subjektu (Prp.Tds): není vybrána fyzická ani právnická osoba."_s}},
        // The signing natural person: names, and the date of birth or the certificate.
        {{{u"Zjmpr"_s, QVariant()}}, {u"Chyba: Podepisující osoba: příjmení (Prp.Zjmpr): "_s + signing}},
        {{{u"Zdedn"_s, QVariant()}}, {}},
        {{{u"Zdedn"_s, QVariant()}, {u"Zdece"_s, QVariant()}},
         {u"Chyba: Datum narození (Prp.Zdedn): u podepisující fyzické osoby se vyplňuje datum narození, nebo evidenční "
          u"číslo osvědčení."_s}},
        {{{u"Tzs"_s, QVariant()}},
         {u"Chyba: Podepisující osoba: Typ (Prp.Tzs): není vybrán, ač je vyplněn kód podepisující osoby."_s}},
        {{{u"Tzs"_s, false}, {u"Zjmpo"_s, QVariant()}},
         {u"Chyba: název právnické osoby (Prp.Zjmpo): není vyplněn; u podepisující osoby, která je právnickou "
          u"osobou, je povinné."_s}},
        // Without a signing person's code nothing of it is asked for.
        {{{u"Kzs"_s, QVariant()}, {u"Zjmpr"_s, QVariant()}, {u"Zjmjm"_s, QVariant()}}, {}},
        {{{u"Zjvpr"_s, QVariant()}},
         {u"Upozornění: Vztah k právnické osobě: příjmení (Prp.Zjvpr): není vyplněno; u právnické osoby se vyplňuje "
          u"osoba oprávněná k podpisu."_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringList(c.change.keys()).join(u' ').toStdString());
        rur::testing::fillValidReturn(dm);
        setRow(*dm.Prp, rur::testing::inNameOrder(c.change));
        EXPECT_EQ(findingLines(all()), c.found);
    }
}

// A file edited after it was written: the content rules judge its own values, the rules of its
// attributes what the schema lets through.

}  // namespace
