// The check of the filing file: the published schema on a valid file with one attribute
// changed, every attribute traced to its field, the merge with the content's findings, and
// the check of a file as it lies on the disk.
#include "base/UserSettings.h"
#include "check/FilingFields.h"
#include "check/ReturnCheck.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/XmlText.h"
#include "return_check_fixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using check::Finding;
using check::Severity;
using rur::testing::findingLines;
using rur::testing::ReturnCheck;

namespace {

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
        EXPECT_EQ(found.size(), 1) << findingLines(found).join(u'\n').toStdString();
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
    EXPECT_EQ(findingLines(check::checkSchema(xml)),
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
        checked = findingLines(check::checkWrittenFile(dm, path, rur::testing::kValidReturnToday));
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
    EXPECT_EQ(findingLines(check::checkWrittenFile(dm, path, rur::testing::kValidReturnToday)),
              QStringList{u"Chyba: Rok (Prp.R): musí být čtyřmístný rok."_s});
    EXPECT_EQ(findingLines(check::checkWrittenFile(dm, path + u".chybi"_s, rur::testing::kValidReturnToday)),
              QStringList{u"Chyba: Soubor "_s + path + u".chybi nelze přečíst."_s});

    // Nothing written, nothing checked.
    checked = {u"-"_s};
    xml.pathTemplate = u"%Disk%/DPHDP3.xml"_s;
    EXPECT_TRUE(print::saveFilingFile(filing).isEmpty());
    EXPECT_EQ(checked, QStringList{u"-"_s});
}

// What the portal requires for the kind of taxpayer and of signing person: the valid return is
// a legal person with a signing natural person; each row changes one thing.

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
        EXPECT_EQ(findingLines(check::checkWrittenFile(dm, path, rur::testing::kValidReturnToday)), c.found);
    }
}

}  // namespace
