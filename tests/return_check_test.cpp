// The check of a return before it is filed: each content rule with a return that trips it and
// one that passes, the schema check of the filing file, the merge of both and the check after
// "&Uložit data".
#include "app/Startup.h"
#include "base/Directories.h"
#include "check/FilingFields.h"
#include "check/ReturnCheck.h"
#include "check/TaxNumber.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/XmlText.h"
#include "support/filled_return.h"
#include "support/printers.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using check::DicFault;
using check::Finding;
using check::Severity;
using rur::testing::setRow;

namespace {

QStringList lines(const QList<Finding> &findings)
{
    QStringList out;
    for (const Finding &f : findings)
        out.append(check::findingLine(f));
    return out;
}

class ReturnCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        rur::testing::fillValidReturn(dm);
    }

    QList<Finding> content() { return check::checkContent(dm, rur::testing::kValidReturnToday); }
    QList<Finding> all(int kodovani = print::KodUtf8)
    {
        return check::KontrolaRur(dm, kodovani, rur::testing::kValidReturnToday);
    }
    // The one finding of the content check, or a failure listing what was found instead.
    Finding only()
    {
        const QList<Finding> found = content();
        EXPECT_EQ(found.size(), 1) << lines(found).join(u'\n').toStdString();
        return found.value(0);
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
};

TEST_F(ReturnCheck, AValidFullyFilledReturnHasNoFindingInAnyEncoding)
{
    for (int kodovani : {print::KodUtf8, print::KodCp1250, print::KodIso88592})
        EXPECT_EQ(lines(all(kodovani)), QStringList()) << "encoding " << kodovani;
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
    EXPECT_EQ(lines(all()), QStringList{u"Chyba: DIČ (Prp.Dic): musí mít tvar CZ a 8 až 10 číslic."_s});
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
    EXPECT_EQ(lines(content()), QStringList());
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
    EXPECT_EQ(lines(content()), QStringList());
    setRow(*dm.Prp, {{u"Ddp"_s, QDate(2018, 4, 26)}});
    f = only();
    EXPECT_EQ(f.severity, Severity::Warning);
    EXPECT_EQ(f.message, u"Datum: lhůta pro podání přiznání za březen 2018 uplynula 25.04.2018."_s);
    // A supplementary return has no such term.
    setRow(*dm.Prp, {{u"Dpdd1"_s, true}, {u"D"_s, QDate(2018, 4, 20)}});
    EXPECT_EQ(lines(content()), QStringList());
    setRow(*dm.Prp, {{u"Dpdd1"_s, false}, {u"D"_s, QVariant()}});

    // February: the 25th day after it is a Sunday, the term ends on Monday 26.3.
    setRow(*dm.Prp, {{u"M"_s, u"únor"_s}, {u"Cislo"_s, 2}, {u"Ddp"_s, QDate(2018, 3, 26)}});
    EXPECT_EQ(lines(content()), QStringList());
    setRow(*dm.Prp, {{u"Ddp"_s, QDate(2018, 3, 27)}});
    EXPECT_EQ(only().message, u"Datum: lhůta pro podání přiznání za únor 2018 uplynula 26.03.2018."_s);

    setRow(*dm.Prp, {{u"Ddp"_s, QVariant()}});
    EXPECT_EQ(only().message, u"Datum: datum podání není vyplněno."_s);
    setRow(*dm.Prp, {{u"Ddp"_s, QDate(2018, 5, 10)}});
    EXPECT_TRUE(lines(content()).contains(u"Upozornění: Datum (Prp.Ddp): 10.05.2018 je pozdější než dnešní datum."_s));
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
        EXPECT_EQ(lines(check::checkContent(dm, today)), QStringList());
        setRow(*dm.Prp, {{u"Ddp"_s, c.due.addDays(1)}});
        const QList<Finding> late = check::checkContent(dm, today);
        ASSERT_EQ(late.size(), 1) << lines(late).join(u'\n').toStdString();
        EXPECT_TRUE(late[0].message.endsWith(u" uplynula "_s + c.due.toString(u"dd.MM.yyyy"_s) + u'.'))
            << late[0].message.toStdString();
    }
}

TEST_F(ReturnCheck, PartOfAPeriodEndsItAndLiesInsideIt)
{
    setRow(*dm.Prp, {{u"Od1"_s, QDate(2018, 3, 1)}, {u"Do1"_s, QDate(2018, 3, 15)}, {u"Ddp"_s, QDate(2018, 3, 20)}});
    EXPECT_EQ(lines(content()), QStringList());
    setRow(*dm.Prp, {{u"Do1"_s, QDate(2018, 4, 5)}, {u"Ddp"_s, QDate(2018, 4, 20)}});
    const Finding f = only();
    EXPECT_EQ(f.message, u"za obd. od – do: 01.03.2018 – 05.04.2018 musí ležet v období březen 2018."_s);
    EXPECT_EQ(f.field, u"Od1"_s);
}

TEST_F(ReturnCheck, TaxOfficeMustBeFilledAndTheSchemaDoesNotRepeatIt)
{
    setRow(*dm.Prp, {{u"Fuc"_s, QVariant()}});
    EXPECT_EQ(lines(all()), QStringList{u"Chyba: Číslo FÚ (Prp.Fuc): není vyplněno číslo finančního úřadu."_s});
}

TEST_F(ReturnCheck, TaxOfLinesOneToThirteenAgainstTheControlValue)
{
    setRow(*dm.Dtabn1, {{u"C210a"_s, 2101.0}, {u"C255a"_s, 1.0}});  // line 9 has no control value
    EXPECT_EQ(lines(content()), QStringList());
    setRow(*dm.Dtabn1, {{u"C210a"_s, 2102.0}, {u"C275a"_s, 18000.0 - 5}});
    const QList<Finding> found = content();
    ASSERT_EQ(found.size(), 2) << lines(found).join(u'\n').toStdString();
    EXPECT_EQ(check::findingLine(found[0]), u"Upozornění: ř. 1 (Dtabn1.C210a): daň 2102 Kč se liší od kontrolního výpočtu 2100 Kč o 2 Kč."_s);
    EXPECT_EQ(found[1].where, u"ř. 13"_s);
    EXPECT_EQ(found[1].table + u'.' + found[1].field, u"Dtabn1.C275a"_s);
}

TEST_F(ReturnCheck, OwnTaxAndExcessDeductionNotBoth)
{
    setRow(*dm.Dtabn3, {{u"S753"_s, 1000.0}});
    EXPECT_EQ(lines(content()), QStringList());
    setRow(*dm.Dtabn3, {{u"S754"_s, 500.0}});
    const Finding f = only();
    EXPECT_EQ(f.message, u"ř. 64: vlastní daň (1000 Kč) a nadměrný odpočet na ř. 65 (500 Kč) nemohou být vyplněny zároveň."_s);
    EXPECT_EQ(f.table + u'.' + f.field, u"Dtabn3.S753"_s);
    // A supplementary return has line 66 instead; the overrides of 64 and 65 do not count.
    setRow(*dm.Prp, {{u"Dpdd1"_s, true}, {u"D"_s, QDate(2018, 4, 10)}});
    EXPECT_EQ(lines(all()), QStringList());
}

TEST_F(ReturnCheck, CoefficientsAreSharesFiledInPerCent)
{
    for (double ok : {0.0, 1.0}) {
        setRow(*dm.Dtabn2, {{u"C550"_s, ok}});
        EXPECT_EQ(lines(content()), QStringList()) << ok;
    }
    setRow(*dm.Dtabn2, {{u"C550"_s, 1.2}});
    EXPECT_EQ(only().message, u"ř. 52: koeficient 1,2 (120 %) musí ležet mezi 0 a 1 (0 až 100 %)."_s);
    setRow(*dm.Dtabn2, {{u"C550"_s, -0.1}});
    EXPECT_EQ(only().message, u"ř. 52: koeficient -0,1 (-10 %) musí ležet mezi 0 a 1 (0 až 100 %)."_s);

    // Without per cent the file would carry 0,85 where the tax office reads per cent.
    setRow(*dm.Prp, {{u"K1p"_s, false}});
    EXPECT_EQ(lines(content()),
              (QStringList{u"Chyba: ř. 52 (Dtabn2.C550): koeficient -0,1 musí ležet mezi 0 a 1."_s,
                           u"Chyba: procentní vyjádření (Prp.K1p): bez něj se koeficient zapíše do souboru pro elektronické "
                           u"podání jako podíl (0,85), finanční úřad jej však čte v procentech (85)."_s}));
    setRow(*dm.Dtabn2, {{u"C550"_s, 0.0}});
    EXPECT_EQ(lines(content()), QStringList()) << "no coefficient, nothing to misread";
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
    EXPECT_EQ(lines(content()), QStringList());
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
    EXPECT_EQ(lines(check::checkContent(dm, QDate(2019, 2, 1))), QStringList());
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, u"IV."_s}, {u"Cislo"_s, 4}});
    EXPECT_EQ(lines(check::checkContent(dm, QDate(2019, 2, 1))), QStringList());
    setRow(*dm.Prp, {{u"Q"_s, u"III."_s}, {u"Cislo"_s, 3}, {u"Ddp"_s, QDate(2018, 10, 20)}});
    EXPECT_EQ(check::checkContent(dm, QDate(2019, 2, 1)).size(), 1);
}

// The schema check on a valid file with one attribute changed.
class SchemaCheck : public ReturnCheck {
protected:
    QList<Finding> withReplaced(const QByteArray &from, const QByteArray &to)
    {
        QByteArray xml = print::buildDphdp3(dm, print::KodUtf8, true);
        EXPECT_TRUE(xml.contains(from)) << from.toStdString();
        xml.replace(from, to);
        return check::checkSchema(xml);
    }
    QString one(const QByteArray &from, const QByteArray &to)
    {
        const QList<Finding> found = withReplaced(from, to);
        EXPECT_EQ(found.size(), 1) << lines(found).join(u'\n').toStdString();
        return found.value(0).message;
    }
};

TEST_F(SchemaCheck, BrokenAttributeIsNamedWithWhatTheSchemaWants)
{
    EXPECT_EQ(check::checkSchema(print::buildDphdp3(dm, print::KodUtf8, false)), QList<Finding>());
    const QList<Finding> found = withReplaced(R"( rok="2018")", R"( rok="20188")");
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].severity, Severity::Error);
    EXPECT_EQ(found[0].message, u"VetaD: atribut rok musí být čtyřmístný rok."_s);
    EXPECT_EQ(found[0].where, u"Rok"_s);
    EXPECT_EQ(found[0].table + u'.' + found[0].field, u"Prp.R"_s);

    EXPECT_EQ(one(R"( rok="2018")", R"( rok="20.5")"), u"VetaD: atribut rok musí být čtyřmístný rok."_s);
    EXPECT_EQ(one(R"( c_ufo="451")", R"( c_ufo="4510")"),
              u"VetaP: atribut c_ufo musí být celé číslo o nejvýše 3 číslicích."_s);
    EXPECT_EQ(one(R"( d_poddp="20.04.2018")", R"( d_poddp="31.13.2018")"),
              u"VetaD: atribut d_poddp musí být datum ve tvaru dd.mm.rrrr."_s);
    EXPECT_EQ(one(R"( dic="25596641")", R"( dic="CZ123")"), u"VetaP: atribut dic musí být číslo o 1 až 10 číslicích."_s);
    EXPECT_EQ(one(R"( sest_telef="543210987")", R"( sest_telef="543210987654321")"),
              u"VetaP: atribut sest_telef musí být text o nejvýše 14 znacích."_s);
    EXPECT_EQ(one(R"( koef_p20_nov="85")", R"( koef_p20_nov="85.555")"),
              u"Veta5: atribut koef_p20_nov musí být číslo o nejvýše 6 číslicích, z toho nejvýše 2 za desetinnou tečkou."_s);
    QByteArray xml = print::buildDphdp3(dm, print::KodUtf8, true);
    xml.replace(xml.indexOf(R"(kod_sekce="O")", xml.indexOf(R"(<VetaR poradi="2")")), 13, R"(kod_sekce="OO")");
    EXPECT_EQ(lines(check::checkSchema(xml)),
              QStringList{u"Chyba: VetaR 2 (Prp.Poznod): atribut kod_sekce musí být text o nejvýše 1 znaku."_s});
    EXPECT_EQ(one(R"( rok="2018")", R"( rok="2018" plat="1")"), u"VetaD: atribut plat schéma nezná."_s);
}

TEST_F(SchemaCheck, EmptyAttributesCountAsAbsent)
{
    // The writer keeps every attribute; an empty optional one is fine, an empty required one missing.
    EXPECT_EQ(withReplaced(R"( c_okec="620200")", R"( c_okec="")"), QList<Finding>());
    EXPECT_EQ(one(R"( rok="2018")", R"( rok="")"), u"VetaD: chybí povinný atribut rok."_s);
}

TEST_F(SchemaCheck, AFileThatIsNotXmlGivesOneFinding)
{
    QByteArray xml = print::buildDphdp3(dm, print::KodUtf8, true);
    xml.chop(20);
    const QList<Finding> found = check::checkSchema(xml);
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found[0].message.startsWith(u"Soubor pro elektronické podání není správně utvořený XML (řádek "_s))
        << found[0].message.toStdString();
}

TEST_F(ReturnCheck, EveryAttributeOfTheFileLeadsToAFieldOfItsTable)
{
    const QByteArray xml = print::buildDphdp3(dm, print::KodUtf8, true);
    static const QRegularExpression element(u"<(Veta[A-Z0-9]+)((?: [a-z_0-9]+=\"[^\"]*\")*)/>"_s);
    static const QRegularExpression attribute(u" ([a-z_0-9]+)="_s);
    int attributes = 0;
    for (const auto &e : element.globalMatch(QString::fromUtf8(xml))) {
        for (const auto &a : attribute.globalMatch(e.captured(2))) {
            const QString name = a.captured(1);
            if (name == u"dokument"_s || name == u"k_uladis"_s || name == u"poradi"_s)
                continue;
            ++attributes;
            const check::FilingSource source = check::filingSource(e.captured(1), name);
            engine::Table *table = dm.table(source.table);
            ASSERT_TRUE(table) << e.captured(1).toStdString() << '/' << name.toStdString();
            EXPECT_TRUE(table->hasField(source.field)) << name.toStdString();
            EXPECT_FALSE(source.where.isEmpty()) << name.toStdString();
        }
    }
    EXPECT_GT(attributes, 100);
}

TEST_F(ReturnCheck, ErrorsComeFirstAndContentFindingsHideTheSchemaOnesOfTheirField)
{
    const QList<Finding> content = {{Severity::Warning, u"ř. 1"_s, u"w"_s, u"Dtabn1"_s, u"C210a"_s},
                                    {Severity::Error, u"Číslo FÚ"_s, u"e"_s, u"Prp"_s, u"Fuc"_s}};
    const QList<Finding> schema = {{Severity::Error, u"Číslo FÚ"_s, u"s1"_s, u"Prp"_s, u"Fuc"_s},
                                   {Severity::Error, u"Rok"_s, u"s2"_s, u"Prp"_s, u"R"_s},
                                   {Severity::Error, QString(), u"s3"_s, QString(), QString()}};
    QStringList messages;
    for (const Finding &f : check::mergeFindings(content, schema))
        messages.append(f.message);
    EXPECT_EQ(messages, (QStringList{u"e"_s, u"s2"_s, u"s3"_s, u"w"_s}));

    EXPECT_EQ(check::summaryText({}), u"Kontrola nenašla v přiznání nic k opravě."_s);
    EXPECT_EQ(check::summaryText(content), u"Kontrola našla 1 chybu a 1 upozornění."_s);
    EXPECT_EQ(check::summaryText(schema), u"Kontrola našla 3 chyby."_s);
    EXPECT_EQ(check::summaryText(schema + schema), u"Kontrola našla 6 chyb."_s);
    EXPECT_EQ(check::summaryText({content[0], content[0]}), u"Kontrola našla 2 upozornění, žádnou chybu."_s);
}

TEST_F(ReturnCheck, SavingChecksTheFileAsItLiesOnTheDisk)
{
    QTemporaryDir out;
    base::UserSettings user;
    print::XmlPathSettings xml{out.path() + u"/DPHDP3.xml"_s, false};
    platform::ScriptedPrompter prompter;
    print::FilingContext filing{dm, dirs, user, xml, prompter};
    QStringList checked;
    filing.afterWrite = [&](const QString &path) {
        checked = lines(check::checkWrittenFile(dm, path, rur::testing::kValidReturnToday));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        bytes.replace(R"( rok="2018")", R"( rok="18x")");
        file.seek(0);
        file.write(bytes);
    };
    const QString path = print::saveFilingFile(filing);
    EXPECT_EQ(path, xml.pathTemplate);
    EXPECT_EQ(checked, QStringList());
    // The file's own year judged as the taxpayer's: one finding, the content rule's.
    EXPECT_EQ(lines(check::checkWrittenFile(dm, path, rur::testing::kValidReturnToday)),
              QStringList{u"Chyba: Rok (Prp.R): musí být čtyřmístný rok."_s});
    EXPECT_EQ(lines(check::checkWrittenFile(dm, path + u".chybi"_s, rur::testing::kValidReturnToday)),
              QStringList{u"Chyba: Soubor "_s + path + u".chybi nelze přečíst."_s});

    // Nothing written, nothing checked.
    checked = {u"-"_s};
    xml.pathTemplate = u"%Disk%/DPHDP3.xml"_s;
    EXPECT_TRUE(print::saveFilingFile(filing).isEmpty());
    EXPECT_EQ(checked, QStringList{u"-"_s});
}

// What the portal requires for the kind of taxpayer and of signing person: the valid return is
// a legal person with a signing natural person; each row changes one thing.
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
        EXPECT_EQ(lines(all()), c.found);
    }
}

// A file edited after it was written: the content rules judge its own values, the rules of its
// attributes what the schema lets through.
TEST_F(ReturnCheck, AFileIsCheckedOnItsOwnValues)
{
    const struct {
        const char *from;
        const char *to;
        QStringList found;
    } cases[] = {
        {R"( mesic="3")", R"( mesic="13")",
         {u"Chyba: VetaD (Prp.Cislo): atribut mesic musí být číslo od 1 do 12 (je „13“)."_s}},
        {R"( mesic="3")", R"( mesic="3" ctvrt="1")",
         {u"Chyba: Přiznání za zdaňovací období (Prp.M): vyplňte buď měsíc, nebo čtvrtletí, ne obojí."_s}},
        {R"( rok="2018")", R"( rok="18")", {u"Chyba: Rok (Prp.R): musí být čtyřmístný rok."_s}},
        {R"( typ_platce="P")", R"( typ_platce="Q")",
         {u"Chyba: VetaD (Prp.P1): atribut typ_platce musí být jedno z písmen P, I, S, N, R, D (je „Q“)."_s}},
        {R"( dapdph_forma="B")", R"( dapdph_forma="X")",
         {u"Chyba: VetaD (Prp.Dpdr1): atribut dapdph_forma musí být jedno z písmen B, O, D, E (je „X“)."_s}},
        {R"( dic="25596641")", R"( dic="25596642")",
         {u"Chyba: DIČ (Prp.Dic): IČO v něm nemá správnou kontrolní číslici."_s}},
        {R"( d_poddp="20.04.2018")", R"( d_poddp="31.3.2018")",
         {u"Chyba: Datum (Prp.Ddp): 31.03.2018 není po skončení zdaňovacího období (31.03.2018); přiznání lze podat až "
          u"po něm."_s}},
        {R"( typ_ds="P")", R"( typ_ds="F")",
         {u"Chyba: Fyzická osoba: Příjmení (Prp.Pra): není vyplněno; u daňového subjektu, který je fyzickou osobou, "
          u"je povinné."_s,
          u"Chyba: Fyzická osoba: Jméno (Prp.Jmb): není vyplněno; u daňového subjektu, který je fyzickou osobou, je "
          u"povinné."_s}},
        {R"( dan23="2100")", R"( dan23="2110")",
         {u"Upozornění: ř. 1 (Dtabn1.C210a): daň 2110 Kč se liší od kontrolního výpočtu 2100 Kč o 10 Kč."_s}},
    };
    QTemporaryDir out;
    const QString path = out.path() + u"/DPHDP3.xml"_s;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.to);
        QByteArray xml = print::buildDphdp3(dm, print::KodCp1250, true);
        ASSERT_TRUE(xml.contains(c.from)) << c.from;
        xml.replace(c.from, c.to);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xml);
        file.close();
        EXPECT_EQ(lines(check::checkWrittenFile(dm, path, rur::testing::kValidReturnToday)), c.found);
    }
}

}  // namespace
