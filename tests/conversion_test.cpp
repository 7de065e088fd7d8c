// Taking over the data of an earlier edition: the search for editions, the check at the first
// start, and the conversion with data sets that can't be taken over.
#include "base/Program.h"
#include "data/DataM1.h"
#include "data/SchemaUpgrade.h"
#include "data/Schemas.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/Conversion.h"
#include "datasets/DataSetAccess.h"
#include "datasets/EarlierEditions.h"
#include "engine/Database.h"
#include "engine/LocalSql.h"
#include "engine/Sqlite.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/editions.h"
#include "support/files.h"
#include "support/filled_return.h"
#include "support/printers.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::writeFile;
using datasets::ConversionResult;
using platform::IniFile;

namespace {

// The program installed in apps/RUR 2018/, its data root in data/RUR 2018/; earlier editions
// are made beside either of them.
class Conversion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir().mkpath(apps() + u"RUR 2018"_s));
        dirs.programDir = apps() + u"RUR 2018/"_s;
        dirs.localDataRoot = dirs.dataRoot = data() + u"RUR 2018/"_s;
        dirs.notFound = false;
        rur::data::installDataRoot(dirs.localDataRoot);
        openCatalogue();
    }
    void TearDown() override { QDir::setCurrent(savedCwd); }

    void openCatalogue()
    {
        catalogue = std::make_unique<datasets::Catalogue>(dirs, prompter);
        catalogue->prepare();
    }
    QString apps() const { return tmp.path() + u"/apps/"_s; }
    QString data() const { return tmp.path() + u"/data/"_s; }
    QString root() const { return dirs.dataRoot; }

    ConversionResult convert(const QString &earlierRoot)
    {
        return datasets::KontrolaInst2(*catalogue, dirs, earlierRoot + u"Data.DB"_s, prompter);
    }

    // Catalogue rows of the data root as "Cislo Pozice Nazev Adresar".
    QStringList catalogueRows()
    {
        engine::Database db(u"Nazvy"_s);
        db.setDirectory(root());
        engine::Table t(&db, rur::data::catalogueDef());
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out.append(t.field(u"Cislo"_s).asString() + u' ' + t.field(u"Pozice"_s).asString() + u' '
                       + t.field(u"Nazev"_s).asString() + u' ' + t.field(u"Adresar"_s).asString());
        return out;
    }
    QStringList dataSetFolders() const
    {
        QStringList out = QDir(root()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
        out.removeAll(u"Data"_s);  // the template directory
        return out;
    }
    static QMap<QString, QByteArray> tables(const QString &folder)
    {
        auto files = rur::testing::snapshot(folder);
        files.removeIf([](auto it) { return !it.key().endsWith(u".DB"_s); });
        return files;
    }

    QTemporaryDir tmp;
    base::Directories dirs;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<datasets::Catalogue> catalogue;
    const QString savedCwd = QDir::currentPath();
};

}  // namespace

TEST_F(Conversion, TheNewestEditionWinsAndBesideTheDataRootWithinAYear)
{
    EXPECT_TRUE(datasets::findEarlierCatalogue(dirs).isEmpty());
    rur::testing::makeEdition(apps() + u"RUR 2016"_s, {});
    EXPECT_EQ(datasets::findEarlierCatalogue(dirs), apps() + u"RUR 2016/Data.DB"_s);
    rur::testing::makeEdition(data() + u"RUR 2016"_s, {});
    EXPECT_EQ(datasets::findEarlierCatalogue(dirs), data() + u"RUR 2016/Data.DB"_s);
    rur::testing::makeEdition(apps() + u"RUR 2017"_s, {});
    EXPECT_EQ(datasets::findEarlierCatalogue(dirs), apps() + u"RUR 2017/Data.DB"_s);

    // A folder without Dph.ini is no edition; nor are years outside 2002 to 2017.
    ASSERT_TRUE(QDir().mkpath(data() + u"RUR 2017"_s));
    writeFile(data() + u"RUR 2017/Data.DB"_s, {});
    rur::testing::makeEdition(data() + u"RUR 2001"_s, {});
    EXPECT_EQ(datasets::findEarlierCatalogue(dirs), apps() + u"RUR 2017/Data.DB"_s);
    writeFile(data() + u"RUR 2017/Dph.ini"_s, "[Dph]\n");
    EXPECT_EQ(datasets::findEarlierCatalogue(dirs), data() + u"RUR 2017/Data.DB"_s);

    // For the edition of 2019 this data root is the earlier one beside it, but never its own.
    dirs.localDataRoot = dirs.dataRoot = data() + u"RUR 2017/"_s;
    EXPECT_EQ(datasets::findEarlierCatalogue(dirs, 2019), data() + u"RUR 2018/Data.DB"_s);
}

TEST_F(Conversion, TheCheckRunsOnceAndOffersOnlyAnEmptyCatalogue)
{
    rur::testing::makeEdition(data() + u"RUR 2017"_s, {u"Alfa"_s});
    QStringList offered;
    const auto decline = [&](const QString &found) {
        offered.append(found);
        return datasets::ConversionChoice{found, false};
    };
    IniFile local(dirs.localDataRoot + u"Dph.ini"_s);

    // Nothing found and no offer asked for: no window, but the check counts as done.
    const QString beside = data() + u"RUR 2017"_s;
    ASSERT_TRUE(QDir(beside).rename(u"Dph.ini"_s, u"Dph.bak"_s));
    EXPECT_EQ(datasets::KontrolaInst1(*catalogue, dirs, prompter, decline).status, ConversionResult::NotRun);
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_EQ(IniFile(local.path()).readString(u"Dph"_s, u"Prevod218"_s), u"1"_s);

    // Done once: nothing more, even with an edition there.
    ASSERT_TRUE(QDir(beside).rename(u"Dph.bak"_s, u"Dph.ini"_s));
    datasets::KontrolaInst1(*catalogue, dirs, prompter, decline);
    EXPECT_TRUE(offered.isEmpty());

    // Armed again (as Ctrl+P does): the found catalogue is offered; declining converts nothing.
    ASSERT_TRUE(local.writeString(u"Dph"_s, u"Prevod218"_s, QString()));
    datasets::KontrolaInst1(*catalogue, dirs, prompter, decline);
    EXPECT_EQ(offered, QStringList{beside + u"/Data.DB"_s});
    EXPECT_TRUE(catalogue->isEmpty());

    // The "o" key offers the window without any edition found.
    ASSERT_TRUE(QDir(beside).removeRecursively());
    ASSERT_TRUE(local.writeString(u"Dph"_s, u"Prevod218"_s, QString()));
    ASSERT_TRUE(local.writeString(u"Dph"_s, u"Prevod218o"_s, u"1"_s));
    datasets::KontrolaInst1(*catalogue, dirs, prompter, decline);
    EXPECT_EQ(offered, (QStringList{beside + u"/Data.DB"_s, QString()}));

    // A catalogue with data sets is never offered a conversion.
    rur::testing::makeEdition(beside, {u"Alfa"_s});
    catalogue->beginNew();
    ASSERT_TRUE(catalogue->finishNew(u"Nová"_s));
    ASSERT_TRUE(local.writeString(u"Dph"_s, u"Prevod218"_s, QString()));
    datasets::KontrolaInst1(*catalogue, dirs, prompter, decline);
    EXPECT_EQ(offered.size(), 2);
}

TEST_F(Conversion, TheWindowRefusesTheLocalDataRootAndMissingFiles)
{
    const QString refusal = u"Vyberte adresář s předchozí verzí programu RUR."_s;
    EXPECT_EQ(datasets::chosenCatalogueProblem(dirs, root() + u"Data.DB"_s), refusal);
    EXPECT_EQ(datasets::chosenCatalogueProblem(dirs, root() + u"Data/Data.DB"_s), refusal);
    EXPECT_EQ(datasets::conversionEditProblem(dirs, root() + u"Data.DB"_s), refusal);
    const QString missing = data() + u"RUR 2017/Data.DB"_s;
    EXPECT_EQ(datasets::conversionEditProblem(dirs, missing), u"Soubor "_s + missing + u" neexistuje."_s);
    EXPECT_TRUE(datasets::conversionEditProblem(dirs, QString()).isEmpty());
    rur::testing::makeEdition(data() + u"RUR 2017"_s, {});
    EXPECT_TRUE(datasets::conversionEditProblem(dirs, missing).isEmpty());
    EXPECT_TRUE(datasets::chosenCatalogueProblem(dirs, missing).isEmpty());
    EXPECT_EQ(datasets::conversionStartFolder(dirs, missing), data() + u"RUR 2017/"_s);
    EXPECT_EQ(datasets::conversionStartFolder(dirs, tmp.path() + u"/jinde/Data.DB"_s), data());
}

TEST_F(Conversion, CatalogueSettingsAndDataSetsAreTakenOverAndTheEarlierEditionIsOnlyRead)
{
    const QString earlier = data() + u"RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa s.r.o."_s, u"Beta"_s, u"Gama"_s});
    rur::testing::setPassword(earlier, 2, u"TajNe"_s);
    IniFile earlierDph(earlier + u"Dph.ini"_s);
    ASSERT_TRUE(earlierDph.writeInteger(u"Dph"_s, u"Razeni"_s, 0));
    ASSERT_TRUE(earlierDph.writeBool(u"Vyber"_s, u"Pos"_s, false));
    ASSERT_TRUE(earlierDph.writeInteger(u"Vyber"_s, u"Cislo"_s, 2));
    writeFile(earlier + u"D1/D1.ini"_s,
              "[D1]\nPrenosSZ=/old/sz\nPrenosSZCislo=3\nPrenosPO=\nPrenosPOCislo=7\nDenik=/old/denik\n"
              "Denik23=/old/d3\nDenik23Cislo=4\nDenik1Top=120\n"
              "[Cesty]\nZaloha=/old/zaloha\n[Tisk]\nVychozi=0\n[XML]\nDph=/old/xml\n[Banka1]\nA=1\n");
    const auto earlierFiles = rur::testing::snapshot(earlier, true);

    const ConversionResult result = convert(earlier);
    EXPECT_EQ(result.status, ConversionResult::Converted);
    EXPECT_EQ(result.converted, (QStringList{u"D1"_s, u"D2"_s, u"D3"_s}));
    EXPECT_EQ(prompter.texts(), QStringList{u"Data byla převedena z adresáře: \n\n"_s + earlier});
    EXPECT_TRUE(prompter.errors().isEmpty());
    EXPECT_EQ(rur::testing::snapshot(earlier, true), earlierFiles);  // not a lock file, not a byte

    EXPECT_EQ(catalogueRows(), (QStringList{u"1 1 Alfa s.r.o. D1"_s, u"2 2 Beta D2"_s, u"3 3 Gama D3"_s}));
    EXPECT_EQ(dataSetFolders(), (QStringList{u"D1"_s, u"D2"_s, u"D3"_s}));  // no temporary folder left
    for (const QString &dir : {u"D1"_s, u"D2"_s, u"D3"_s})
        EXPECT_EQ(tables(root() + dir), tables(earlier + dir)) << dir.toStdString();

    // The data set's own settings stay; those of the earlier installation's paths go.
    const IniFile ini(root() + u"D1/D1.ini"_s);
    for (const char16_t *key : {u"PrenosSZ", u"PrenosSZCislo", u"Denik", u"Denik23", u"Denik23Cislo"})
        EXPECT_EQ(ini.readString(u"D1"_s, QString::fromUtf16(key), u"-"_s), QString()) << QString::fromUtf16(key).toStdString();
    EXPECT_EQ(ini.readString(u"D1"_s, u"PrenosPOCislo"_s), u"7"_s);  // PrenosPO was empty
    EXPECT_EQ(ini.readString(u"D1"_s, u"Denik1Top"_s), u"120"_s);
    EXPECT_EQ(ini.sections(), (QStringList{u"D1"_s, u"Tisk"_s}));

    // The ordering, the last used data set and the renewed offer come along.
    const IniFile local(dirs.localDataRoot + u"Dph.ini"_s);
    EXPECT_EQ(local.readString(u"Dph"_s, u"Prevod218o"_s), u"1"_s);
    EXPECT_FALSE(local.readBool(u"Vyber"_s, u"Pos"_s, true));
    EXPECT_EQ(local.readInteger(u"Vyber"_s, u"Cislo"_s, 0), 2);
    EXPECT_EQ(IniFile(root() + u"Dph.ini"_s).readInteger(u"Dph"_s, u"Razeni"_s, 1), 0);

    // The password came along: the data set opens only with it.
    ASSERT_TRUE(catalogue->Data->isActive());
    ASSERT_TRUE(catalogue->Data->locate(u"Cislo"_s, {2}));
    prompter.textAnswers = {u"tajne"_s, u"TajNe"_s};
    EXPECT_FALSE(catalogue->canOpenCurrent());
    EXPECT_TRUE(catalogue->canOpenCurrent());

    // A second conversion into the filled catalogue does nothing.
    EXPECT_EQ(convert(earlier).status, ConversionResult::NotRun);
}

TEST_F(Conversion, DataSetsThatCannotBeTakenOverAreNamedAndTheRestTakenOver)
{
    const QString earlier = data() + u"RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa"_s, u"Beta"_s, u"Gama"_s, u"Delta"_s, u"Epsilon"_s});
    writeFile(earlier + u"D2/Dtabn1.DB"_s, QByteArray(8192, 'x'));  // damaged
    QFile dtabn2(earlier + u"D4/Dtabn2.DB"_s);
    ASSERT_TRUE(dtabn2.resize(dtabn2.size() / 2));  // cut short
    ASSERT_TRUE(QFile::remove(earlier + u"D3/Prp.DB"_s));
    // Whole to SQLite, but with a trigger that would change every later write.
    {
        engine::SqliteFile db;
        QString error;
        ASSERT_TRUE(db.open(earlier + u"D5/Dtabn3.DB"_s, false, &error));
        db.exec(u"CREATE TRIGGER zamek BEFORE UPDATE ON Dtabn3 BEGIN SELECT RAISE(ABORT, 'zablokovano'); END"_s);
    }
    rur::testing::setPassword(earlier, 2, u"heslo"_s);

    const ConversionResult result = convert(earlier);
    EXPECT_EQ(result.status, ConversionResult::Converted);
    EXPECT_EQ(result.converted, QStringList{u"D1"_s});
    EXPECT_EQ(result.skipped, (QStringList{u"Gama (D3): Chybí tabulka Prp.DB."_s,
                                           u"Beta (D2): Tabulka Dtabn1.DB je poškozená nebo nečitelná."_s,
                                           u"Delta (D4): Tabulka Dtabn2.DB je poškozená nebo nečitelná."_s,
                                           u"Epsilon (D5): Tabulka Dtabn3.DB je poškozená nebo nečitelná."_s}));
    EXPECT_EQ(prompter.errors(), QStringList{u"Data byla převedena z adresáře: \n\n"_s + earlier
                                             + u"\n\nTato RUR se nepodařilo převést:\n"_s + result.skipped.join(u'\n')});
    EXPECT_EQ(catalogueRows(), QStringList{u"1 1 Alfa D1"_s});
    EXPECT_EQ(dataSetFolders(), QStringList{u"D1"_s});  // nothing half taken over, nothing left behind
    engine::Database db(u"Nazvy"_s);
    db.setDirectory(root());
    engine::Table passwords(&db, rur::data::passwordsDef());
    passwords.open();
    EXPECT_TRUE(passwords.isEmpty());  // the password of a data set left out stays behind too
}

TEST_F(Conversion, WhenNothingCanBeTakenOverTheCatalogueStaysEmpty)
{
    const QString earlier = data() + u"RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa"_s});
    ASSERT_TRUE(QFile::remove(earlier + u"D1/Dmt.DB"_s));

    EXPECT_EQ(convert(earlier).status, ConversionResult::Failed);
    EXPECT_EQ(prompter.errors(), QStringList{u"Data se nepodařilo převést z adresáře: \n\n"_s + earlier
                                             + u"\n\nTato RUR se nepodařilo převést:\nAlfa (D1): Chybí tabulka Dmt.DB."_s});
    EXPECT_TRUE(catalogueRows().isEmpty());
    EXPECT_TRUE(dataSetFolders().isEmpty());
    EXPECT_TRUE(catalogue->Data->isActive());

    // An unreadable earlier catalogue or password table: nothing is written at all.
    for (const char16_t *file : {u"Data.DB", u"Uziv.DB"}) {
        rur::testing::makeEdition(earlier, {u"Alfa"_s});
        writeFile(earlier + QString::fromUtf16(file), "not a table");
        prompter.messages.clear();
        const auto before = tables(root());
        EXPECT_EQ(convert(earlier).status, ConversionResult::Failed);
        EXPECT_EQ(prompter.errors(), QStringList{u"Data se nepodařilo převést z adresáře: \n\n"_s + earlier + u"\n\nTabulka "_s
                                                 + QString::fromUtf16(file) + u" je poškozená nebo nečitelná."_s});
        EXPECT_EQ(tables(root()), before);
        EXPECT_TRUE(dataSetFolders().isEmpty());
    }
}

TEST_F(Conversion, CatalogueRowsNamingOtherFoldersAreRefused)
{
    const QString earlier = data() + u"RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa"_s});
    // An edition before the own ordering: no Pozice; rows leading out of the data root.
    engine::createTableFile(earlier + u"Data.DB"_s, rur::data::catalogueDef().without({u"Pozice"_s}),
                            {{{u"Cislo"_s, 4}, {u"Nazev"_s, u"Alfa"_s}, {u"Adresar"_s, u"D1"_s}},
                             {{u"Cislo"_s, 5}, {u"Nazev"_s, u"Ven"_s}, {u"Adresar"_s, u"../D1"_s}},
                             {{u"Cislo"_s, 6}, {u"Nazev"_s, u"Šablony"_s}, {u"Adresar"_s, u"Data"_s}},
                             {{u"Cislo"_s, 7}, {u"Nazev"_s, u"Znovu"_s}, {u"Adresar"_s, u"D1"_s}}});
    const ConversionResult result = convert(earlier);
    EXPECT_EQ(result.skipped, (QStringList{u"Ven (../D1): Adresář ../D1 není platný adresář RUR."_s,
                                           u"Šablony (Data): Adresář Data není platný adresář RUR."_s,
                                           u"Znovu (D1): RUR je v seznamu dvakrát."_s}));
    EXPECT_EQ(catalogueRows(), QStringList{u"4 4 Alfa D1"_s});
}

TEST_F(Conversion, AFolderInTheWayIsKeptUnderAnotherName)
{
    const QString earlier = data() + u"RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa"_s, u"Beta"_s});
    // Left by a data set deleted with extra files in it; D2 is empty.
    ASSERT_TRUE(QDir().mkpath(root() + u"D1"_s));
    ASSERT_TRUE(QDir().mkpath(root() + u"D2"_s));
    writeFile(root() + u"D1/poznamky.txt"_s, "moje poznámky");

    EXPECT_EQ(convert(earlier).status, ConversionResult::Converted);
    EXPECT_EQ(tables(root() + u"D1"_s), tables(earlier + u"D1"_s));
    EXPECT_FALSE(QFile::exists(root() + u"D1/poznamky.txt"_s));
    EXPECT_EQ(rur::testing::snapshot(root() + u"D1.puvodni"_s).value(u"poznamky.txt"_s), QByteArray("moje poznámky"));
    EXPECT_FALSE(QFileInfo::exists(root() + u"D2.puvodni"_s));
}

TEST_F(Conversion, AConversionKilledHalfWayLeavesAnEmptyCatalogueAndWholeDataSets)
{
    const QString earlier = data() + u"RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa"_s, u"Beta"_s, u"Gama"_s});
    rur::testing::setPassword(earlier, 1, u"heslo"_s);
    for (const char *point : {"conversion:data-set-staged", "conversion:data-set-placed", "conversion:passwords-written"}) {
        SCOPED_TRACE(point);
        ASSERT_TRUE(rur::testing::killedAt(point, [&] { convert(earlier); }));
        EXPECT_TRUE(catalogueRows().isEmpty());
        for (const QString &dir : dataSetFolders()) {
            if (!dir.startsWith(u'.')) {
                EXPECT_EQ(tables(root() + dir), tables(earlier + dir)) << dir.toStdString();
            }
        }
        // The next opening of the data root undoes what the killed conversion placed and
        // removes its private folders: the root is as before the conversion.
        openCatalogue();
        EXPECT_TRUE(dataSetFolders().isEmpty()) << dataSetFolders().join(u' ').toStdString();
        EXPECT_FALSE(QFile::exists(root() + u".prevod.lst"_s));
        engine::Database db(u"Nazvy"_s);
        db.setDirectory(root());
        engine::Table passwords(&db, rur::data::passwordsDef());
        passwords.open();
        EXPECT_TRUE(passwords.isEmpty());
    }
    // The catalogue was untouched: the next start converts in full.
    openCatalogue();
    EXPECT_EQ(convert(earlier).status, ConversionResult::Converted);
    EXPECT_EQ(catalogueRows().size(), 3);
}

TEST_F(Conversion, SharedDataOfTheEarlierEditionIsCopiedFromItsNetworkRoot)
{
    const QString earlier = data() + u"RUR 2017/"_s;
    const QString share = tmp.path() + u"/share/RUR217/"_s;
    rur::testing::makeEdition(earlier, {});
    rur::testing::makeEdition(share, {u"Síť"_s});
    IniFile earlierDph(earlier + u"Dph.ini"_s);
    ASSERT_TRUE(earlierDph.writeString(u"Dph"_s, u"Net"_s, u"1"_s));
    ASSERT_TRUE(earlierDph.writeString(u"Dph"_s, u"Path"_s, share));

    // Both editions on the same share: the data is there already.
    IniFile local(dirs.localDataRoot + u"Dph.ini"_s);
    ASSERT_TRUE(local.writeString(u"Dph"_s, u"Net"_s, u"1"_s));
    ASSERT_TRUE(local.writeString(u"Dph"_s, u"Path"_s, share.toUpper()));
    ConversionResult result = convert(earlier);
    EXPECT_EQ(result.status, ConversionResult::Shared);
    EXPECT_EQ(prompter.texts(), QStringList{u"Data byla převedena z adresáře: \n\n"_s + share});
    EXPECT_TRUE(catalogueRows().isEmpty());

    // This edition works locally: the data comes from the share, not from the earlier folder.
    ASSERT_TRUE(local.writeString(u"Dph"_s, u"Net"_s, u"0"_s));
    prompter.messages.clear();
    result = convert(earlier);
    EXPECT_EQ(result.status, ConversionResult::Converted);
    EXPECT_EQ(result.sourceRoot, share);
    EXPECT_EQ(catalogueRows(), QStringList{u"1 1 Síť D1"_s});
}

TEST_F(Conversion, AnOlderDataSetOpensUpgradedWithItsFiguresIntact)
{
    // An earlier data set with a filled return, whose return tables predate several columns.
    const QString earlier = data() + u"RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa"_s});
    struct Old {
        engine::TableDef def;
        QStringList missing;
        QVariantMap row;
    };
    const auto columns = [](const QStringList &statements) {
        QStringList out;
        for (const QString &statement : statements)
            for (const engine::FieldDef &f : engine::parseAlterTable(statement).columns)
                out.append(f.name);
        return out;
    };
    QList<Old> old = {
        {rur::data::dtabn1Def(), columns({rur::data::statementU3(u"Dtabn1"_s), rur::data::statementU4(u"Dtabn1"_s)}), {}},
        {rur::data::dtabn2Def(), columns({rur::data::statementU5(u"Dtabn2"_s)}), {}}};
    {
        base::Directories earlierDirs = dirs;
        earlierDirs.localDataRoot = earlierDirs.dataRoot = earlier;
        rur::data::TDM1 dm;
        datasets::openDataSet(dm, earlierDirs, u"D1"_s);
        rur::testing::fillValidReturn(dm);
        for (Old &o : old) {
            engine::Table &t = *dm.table(o.def.name);
            for (const engine::FieldDef &f : o.def.storedFields())
                if (!o.missing.contains(f.name))
                    o.row.insert(f.name, t.field(f.name).value());
        }
        dm.closeAll();
        dm.Danove.disconnect();
    }
    for (const Old &o : old)
        engine::createTableFile(earlier + u"D1/"_s + o.def.fileName, o.def.without(o.missing), {o.row});

    ASSERT_EQ(convert(earlier).status, ConversionResult::Converted);
    rur::data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    for (const Old &o : old) {
        engine::Table &t = *dm.table(o.def.name);
        int filled = 0;
        for (auto it = o.row.begin(); it != o.row.end(); ++it) {
            EXPECT_EQ(t.field(it.key()).value(), it.value()) << it.key().toStdString();
            filled += it.value().toDouble() != 0.0;
        }
        EXPECT_GT(filled, 10) << o.def.name.toStdString();  // the comparison saw real figures
        const QStringList stored = rur::testing::fileColumns(root() + u"D1/"_s + o.def.fileName);
        for (const QString &added : o.missing)
            EXPECT_TRUE(stored.contains(added)) << added.toStdString();
    }
}

TEST_F(Conversion, ATableACrashedWriterLeftIsTakenOverAsItWasBeforeTheCrash)
{
    const QString earlier = data() + u"RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa"_s});
    const QString table = earlier + u"D1/Dtabn1s.DB"_s;
    const auto sum = [](const QString &path) {
        engine::SqliteFile db;
        QString error;
        EXPECT_TRUE(db.open(path, false, &error)) << error.toStdString();
        engine::Statement st(db, u"SELECT count(*), sum(C210) FROM Dtabn1s"_s);
        st.step();
        return std::pair(st.columnInt64(0), st.columnInt64(1));
    };
    {
        engine::SqliteFile db;
        QString error;
        ASSERT_TRUE(db.open(table, false, &error));
        engine::Transaction tx(db);
        for (int i = 1; i <= 300; ++i)
            db.exec(u"INSERT INTO Dtabn1s (Cislo, C210, C210a) VALUES (%1, %1, 1)"_s.arg(i));
        tx.commit();
    }
    // The writer dies in the middle of a change: its journal stays beside the table.
    const pid_t child = fork();
    if (child == 0) {
        engine::SqliteFile db;
        QString error;
        if (db.open(table, false, &error)) {
            db.exec(u"PRAGMA cache_size=1"_s);
            db.exec(u"BEGIN"_s);
            db.exec(u"UPDATE Dtabn1s SET C210 = -1"_s);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_GT(QFileInfo(table + u"-journal"_s).size(), 0);
    const auto earlierFiles = rur::testing::snapshot(earlier + u"D1"_s);

    ASSERT_EQ(convert(earlier).status, ConversionResult::Converted);
    const std::pair<qint64, qint64> before(300, 300 * 301 / 2);
    EXPECT_EQ(sum(root() + u"D1/Dtabn1s.DB"_s), before);
    EXPECT_FALSE(QFile::exists(root() + u"D1/Dtabn1s.DB-journal"_s));
    EXPECT_EQ(rur::testing::snapshot(earlier + u"D1"_s), earlierFiles);  // the earlier file still waits for its writer
}
