// The data of the earlier Windows editions and of the sibling programs as Paradox files: an
// earlier data root taken over, and the transfers from a Paradox cash journal and income-tax
// return, which give the figures the same files give in SQLite.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/SchemaUpgrade.h"
#include "data/Schemas.h"
#include "datasets/Catalogue.h"
#include "datasets/Conversion.h"
#include "datasets/DataSetAccess.h"
#include "engine/Database.h"
#include "engine/LockFile.h"
#include "engine/ParadoxTable.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "support/editions.h"
#include "support/paradox_files.h"
#include "support/printers.h"
#include "support/run_cli.h"
#include "support/sibling_files.h"
#include "support/test_root.h"
#include "transfer/JournalTransfer.h"
#include "transfer/SiblingData.h"
#include "transfer/TaxReturnTransfer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

const QByteArray kEarlierLock = QByteArray("\x01\x00NET", 5).repeated(20);
const QString kLetter = u"Vážení,\r\nzasíláme přiznání k DPH za březen. Děkujeme za spolupráci.\r\n"_s.repeated(40);

// An earlier data root of three data sets in Paradox: the first with a taxpayer and a
// letter of its own, the second protected by a password, the third with a taxpayer table
// cut short.
void makeEarlierRoot(const QString &earlier)
{
    rur::testing::makeEdition(earlier, {u"Alfa"_s, u"Beta"_s, u"Gama"_s});
    rur::testing::setPassword(earlier, 2, u"tajné"_s);
    rur::testing::runSql(earlier + u"D1/Prp.DB"_s, u"UPDATE Prp SET Oj1 = ?, Dic = ?"_s,
                    {u"Žluťoučký kůň s.r.o."_s, u"CZ12345678"_s});
    rur::testing::runSql(earlier + u"D1/Mdp.DB"_s, u"INSERT INTO Mdp (Nazev, Text) VALUES (?, ?)"_s,
                    {u"Průvodní dopis"_s, kLetter});
    rur::testing::rewriteFolderAsParadox(earlier);
    for (const char16_t *set : {u"D1", u"D2", u"D3"})
        rur::testing::rewriteFolderAsParadox(earlier + QString::fromUtf16(set));
    QFile prp(earlier + u"D3/Prp.DB"_s);
    ASSERT_TRUE(prp.resize(prp.size() - 100));
    // The lock files the earlier edition left beside its tables.
    for (const QString &dir : {earlier, earlier + u"D1/"_s, earlier + u"D2/"_s})
        for (const char16_t *name : {u"Pdoxusrs.lck", u"Paradox.lck", u"Rur.lck"}) {
            QFile lock(dir + QString::fromUtf16(name));
            ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
            lock.write(kEarlierLock);
        }
}

// No file of the folder holds the bytes of an earlier edition's lock file.
bool holdsNoEarlierLock(const QString &folder)
{
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile f(folder + name);
        if (f.open(QIODevice::ReadOnly) && f.readAll() == kEarlierLock)
            return false;
    }
    return true;
}

QString tableText(engine::Database &db, const engine::TableDef &def)
{
    engine::Table t(&db, def);
    t.open();
    QStringList rows;
    for (t.first(); !t.eof(); t.next()) {
        QStringList values;
        for (int i = 0; i < t.fieldCount(); ++i)
            values.append(t.fieldAt(i).asString());
        rows.append(values.join(u'|'));
    }
    return rows.join(u'\n');
}

}  // namespace

TEST(ParadoxData, AnEarlierDataRootOfParadoxFilesIsTakenOverButTheDamagedDataSet)
{
    QTemporaryDir tmp;
    const QString earlier = tmp.path() + u"/RUR 2017/"_s;
    makeEarlierRoot(earlier);
    ASSERT_EQ(engine::tableFileFormatOf(earlier + u"D1/Prp.DB"_s), engine::TableFileFormat::Paradox);
    ASSERT_TRUE(QFile::exists(earlier + u"D1/Mdp.MB"_s));

    rur::testing::TestRoot root;
    base::Directories dirs;
    dirs.localDataRoot = dirs.dataRoot = root.path();
    dirs.notFound = false;
    platform::ScriptedPrompter prompter;
    datasets::ConversionResult result;
    {
        // Locks held on the lock files do not make a data set one in use.
        engine::LockFile users(earlier + u"D1/Pdoxusrs.lck"_s), directory(earlier + u"D1/Paradox.lck"_s);
        ASSERT_TRUE(users.lockExclusive(0) && users.lockExclusive(engine::LockFile::tableSlot(u"Prp"_s)));
        ASSERT_TRUE(directory.lockExclusive(0));
        datasets::Catalogue catalogue(dirs, prompter);
        catalogue.prepare();
        result = datasets::KontrolaInst2(catalogue, dirs, earlier + u"Data.DB"_s, prompter);
    }
    EXPECT_EQ(result.status, datasets::ConversionResult::Converted);
    EXPECT_EQ(result.converted, (QStringList{u"D1"_s, u"D2"_s}));
    EXPECT_EQ(result.skipped, QStringList{u"Gama (D3): Tabulka Prp.DB je poškozená nebo nečitelná."_s});
    EXPECT_FALSE(QDir(root.path() + u"D3"_s).exists());

    // Catalogue and passwords came over; the data sets open (their tables upgraded) with
    // the taxpayer and the letter of the earlier edition, every table now a SQLite file.
    engine::Database names(u"Nazvy"_s);
    names.setDirectory(root.path());
    EXPECT_EQ(tableText(names, data::catalogueDef()), u"1|1|Alfa|D1\n2|2|Beta|D2"_s);
    EXPECT_EQ(tableText(names, data::passwordsDef()), u"2|tajné"_s);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    EXPECT_EQ(dm.Prp->field(u"Oj1"_s).asString(), u"Žluťoučký kůň s.r.o."_s);
    EXPECT_EQ(dm.Prp->field(u"Dic"_s).asString(), u"CZ12345678"_s);
    ASSERT_TRUE(dm.Mdp->locate(u"Nazev"_s, {u"Průvodní dopis"_s}));
    EXPECT_EQ(dm.Mdp->field(u"Text"_s).asString(), kLetter);
    for (const QString &file : QDir(root.dataSet()).entryList({u"*.DB"_s}, QDir::Files)) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(engine::tableFileFormatOf(root.dataSet() + file), engine::TableFileFormat::Sqlite);
    }
    EXPECT_TRUE(QDir(root.dataSet()).entryList({u"*.MB"_s}, QDir::Files).isEmpty());
    for (const QString &column : data::upgradeColumns(u"Prp"_s))
        EXPECT_TRUE(rur::testing::fileColumns(root.dataSet() + u"Prp.DB"_s).contains(column, Qt::CaseInsensitive))
            << column.toStdString();
}

TEST(ParadoxData, ImportReportsPerDataSetWhatItTookAndWhatItLeft)
{
    QTemporaryDir tmp;
    const QString earlier = tmp.path() + u"/RUR 2017/"_s;
    makeEarlierRoot(earlier);
    rur::testing::TestRoot root;
    const rur::testing::CliResult r = rur::testing::cli({u"--root"_s, root.path(), u"import"_s, earlier});
    EXPECT_EQ(r.exitCode, 1);  // a data set was left out
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    // Every table of the templates and no settings file (the edition's data sets have none).
    QStringList tables;
    for (const engine::TableDef &def : data::dataSetTableDefs())
        tables.append(def.fileName);
    EXPECT_EQ(lines[0], u"převzato: Alfa (D1): "_s + tables.join(u", "_s));
    EXPECT_EQ(lines[1], u"převzato: Beta (D2): "_s + tables.join(u", "_s));
    EXPECT_EQ(lines[2], u"vynecháno: Gama (D3): Tabulka Prp.DB je poškozená nebo nečitelná."_s);
    for (const QString &folder : {root.path(), root.path() + u"D1/"_s, root.path() + u"D2/"_s}) {
        SCOPED_TRACE(folder.toStdString());
        EXPECT_TRUE(holdsNoEarlierLock(folder));
        EXPECT_FALSE(QFile::exists(folder + u"Rur.lck"_s));
    }
    EXPECT_EQ(rur::testing::cli({u"--root"_s, root.path(), u"sets"_s}).out, u"1\tAlfa\tD1\n2\tBeta\tD2\n"_s);
}

namespace {

// A cash journal and an income-tax return transferred into a new data set, from SQLite
// files or from the same data as Paradox files; the figures are the stored values of the
// taxpayer row and of the current return afterwards.
class SiblingTransfer {
public:
    explicit SiblingTransfer(bool paradox) : paradox_(paradox)
    {
        root_.createDataSet();
        dirs_.localDataRoot = dirs_.dataRoot = root_.path();
        dirs_.notFound = false;
        datasets::openDataSet(dm_, dirs_, u"D1"_s);
    }

    QStringList run()
    {
        transfer::SiblingData journal(transfer::SiblingKind::Journal);
        if (!journal.show(makeJournal(), 1))
            return {u"journal not shown: "_s + journal.problem()};
        if (transfer::transferJournal(dm_, journal, prompter_) != transfer::TransferResult::Done)
            return {u"journal not transferred"_s};
        transfer::SiblingData taxReturn(transfer::SiblingKind::TaxReturnPO);
        if (!taxReturn.show(makeTaxReturn(), 1))
            return {u"tax return not shown: "_s + taxReturn.problem()};
        if (transfer::transferTaxpayer(dm_, taxReturn, prompter_) != transfer::TransferResult::Done)
            return {u"tax return not transferred"_s};
        QStringList out;
        for (engine::Table *t : {dm_.Prp.get(), dm_.Dtabn1.get(), dm_.Dtabn2.get()}) {
            t->close();
            t->open();
            for (int i = 0; i < t->fieldCount(); ++i)
                if (!t->fieldAt(i).isCalculated() && !t->fieldAt(i).isNull())
                    out.append(t->name() + u'.' + t->fieldAt(i).name() + u'=' + t->fieldAt(i).asString());
        }
        return out;
    }

private:
    // Entries of distinct powers of two, so that any entry counted wrongly shows; one lies
    // after the period.
    QString makeJournal()
    {
        rur::testing::SiblingFolder folder(tmp_.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s);
        const QString set = folder.addJournal(1, u"D1"_s, u"2018-01-01"_s, u"2018-01-31"_s,
                                              {{u"2018-01-01"_s, 4096, 1024, u"1"_s},
                                               {u"2018-01-31"_s, 8192, 2048, u"40"_s},
                                               {u"2018-01-15"_s, 512, 128, u"k40"_s},
                                               {u"2018-02-01"_s, 16384, 4096, u"1"_s}},
                                              {{u"Ico"_s, u"12345678"_s}, {u"Pr"_s, u"Čermák"_s}});
        if (paradox_) {
            rur::testing::rewriteAsParadox(folder.catalogue(), transfer::siblingCatalogueDef());
            rur::testing::rewriteAsParadox(set + u"Dosu.DB"_s, transfer::journalTaxpayerDef());
            rur::testing::rewriteAsParadox(set + u"Dmt.DB"_s, transfer::journalSettingsDef());
            rur::testing::rewriteAsParadox(set + u"Pdev.DB"_s, transfer::journalEntriesDef());
        }
        return folder.catalogue();
    }
    QString makeTaxReturn()
    {
        rur::testing::SiblingFolder folder(tmp_.path() + u"/Ziradi vududera DI 2018"_s, u"Dan.ini"_s);
        const QString set = folder.addTaxReturn(1, u"D1"_s, true,
                                                {{u"Fu"_s, u"Praha 10"_s}, {u"Dic"_s, u"CZ25596642"_s},
                                                 {u"Oj1"_s, u"Šťastná řeka a.s."_s}, {u"Mi"_s, u"Říčany"_s},
                                                 {u"Psc"_s, u"25101"_s}, {u"Ul"_s, u"Ústřední 5"_s}});
        if (paradox_) {
            rur::testing::rewriteAsParadox(folder.catalogue(), transfer::siblingCatalogueDef());
            rur::testing::rewriteAsParadox(set + u"Prp.DB"_s, transfer::corporateTaxpayerDef());
        }
        return folder.catalogue();
    }

    bool paradox_;
    rur::testing::TestRoot root_;
    base::Directories dirs_;
    data::TDM1 dm_;
    platform::ScriptedPrompter prompter_;
    QTemporaryDir tmp_;
};

}  // namespace

TEST(ParadoxData, TheTransfersGiveTheSameFiguresFromParadoxFilesAsFromSqliteFiles)
{
    const QStringList fromSqlite = SiblingTransfer(false).run();
    const QStringList fromParadox = SiblingTransfer(true).run();
    // The entries of the period on their lines (k40 in the reduced column of line 40), and
    // the taxpayer's name and town: what makes the comparison mean something.
    for (const QString &figure : {u"Dtabn1.C210=4096"_s, u"Dtabn1.C210a=1024"_s, u"Dtabn2.C310=8704"_s,
                                  u"Dtabn2.C310a=2048"_s, u"Dtabn2.C310b=128"_s, u"Prp.Oj1a=Šťastná řeka a.s."_s,
                                  u"Prp.Ob=Říčany"_s})
        EXPECT_TRUE(fromSqlite.contains(figure)) << figure.toStdString() << "\n" << fromSqlite.join(u' ').toStdString();
    EXPECT_EQ(fromParadox, fromSqlite);
}

// A Paradox journal is read without locks: the lock files the earlier programs left (and
// even held) neither stop the reading nor change, and nothing is written beside them.
TEST(ParadoxData, TheLockFilesOfTheEarlierProgramsAreIgnored)
{
    QTemporaryDir tmp;
    rur::testing::SiblingFolder folder(tmp.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s);
    const QString set = folder.addJournal(1, u"D1"_s, u"2018-01-01"_s, u"2018-01-31"_s,
                                          {{u"2018-01-10"_s, 100, 21, u"1"_s}});
    rur::testing::rewriteAsParadox(folder.catalogue(), transfer::siblingCatalogueDef());
    rur::testing::rewriteAsParadox(set + u"Dosu.DB"_s, transfer::journalTaxpayerDef());
    rur::testing::rewriteAsParadox(set + u"Dmt.DB"_s, transfer::journalSettingsDef());
    rur::testing::rewriteAsParadox(set + u"Pdev.DB"_s, transfer::journalEntriesDef());
    for (const QString &dir : {folder.path(), set})
        for (const char16_t *name : {u"Pdoxusrs.lck", u"Paradox.lck", u"PDOXUSRS.NET"}) {
            QFile lock(dir + QString::fromUtf16(name));
            ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
            lock.write(QByteArray("\x01\x00NET", 5).repeated(20));
        }
    // Another program holds every lock a reader could ask for.
    engine::LockFile users(set + u"Pdoxusrs.lck"_s), directory(set + u"Paradox.lck"_s);
    ASSERT_TRUE(users.lockExclusive(0) && users.lockExclusive(engine::LockFile::tableSlot(u"Pdev"_s)));
    ASSERT_TRUE(directory.lockExclusive(0));
    const auto before = rur::testing::snapshot(folder.path(), true);

    transfer::SiblingData journal(transfer::SiblingKind::Journal);
    ASSERT_TRUE(journal.show(folder.catalogue(), 1)) << journal.problem().toStdString();
    EXPECT_EQ(journal.periodReadOnlyReason(), u"Tabulka Dmt.DB je ve formátu Paradox, program ji jen čte."_s);
    const engine::Table &entries = journal.openEntries();
    EXPECT_EQ(entries.recordCount(), 1);
    journal.close();
    EXPECT_EQ(rur::testing::snapshot(folder.path(), true), before);
}

// The period of a Paradox journal is the one it holds: the command line can't store another.
TEST(ParadoxData, APeriodCanNotBeStoredIntoAParadoxJournal)
{
    QTemporaryDir tmp;
    rur::testing::TestRoot root;
    root.addCatalogueRow(1, u"Pekárna"_s);
    root.createDataSet();
    rur::testing::SiblingFolder folder(tmp.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s);
    const QString set = folder.addJournal(1, u"D1"_s, u"2018-01-01"_s, u"2018-01-31"_s,
                                          {{u"2018-01-10"_s, 100, 21, u"1"_s}, {u"2018-02-10"_s, 1000, 210, u"1"_s}});
    rur::testing::rewriteAsParadox(set + u"Dmt.DB"_s, transfer::journalSettingsDef());
    const QStringList transfer{u"--root"_s, root.path(), u"transfer-journal"_s, u"1"_s, u"--journal"_s, folder.catalogue()};
    rur::testing::CliResult r = rur::testing::cli(transfer + QStringList{u"--from"_s, u"1.2.2018"_s, u"--to"_s, u"28.2.2018"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Tabulka Dmt.DB je ve formátu Paradox, program ji jen čte.\n"_s);
    // Without a period of its own the transfer takes the journal's, January.
    r = rur::testing::cli(transfer);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    rur::testing::withDataSet(root, [](data::TDM1 &dm) { EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 100.0); });
}

// A damaged Paradox table of a sibling is refused with its name, and the return stays.
TEST(ParadoxData, ADamagedParadoxJournalIsRefusedAndTheReturnStays)
{
    QTemporaryDir tmp;
    rur::testing::TestRoot root;
    root.addCatalogueRow(1, u"Pekárna"_s);
    root.createDataSet();
    rur::testing::SiblingFolder folder(tmp.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s);
    const QString set = folder.addJournal(1, u"D1"_s, u"2018-01-01"_s, u"2018-01-31"_s,
                                          {{u"2018-01-10"_s, 100, 21, u"1"_s}});
    rur::testing::rewriteAsParadox(set + u"Dosu.DB"_s, transfer::journalTaxpayerDef());
    QFile dosu(set + u"Dosu.DB"_s);
    ASSERT_TRUE(dosu.resize(dosu.size() - 1));
    const auto tables = [&] {
        auto files = rur::testing::snapshot(root.dataSet());
        files.removeIf([](auto it) { return !it.key().endsWith(u".DB"_s); });
        return files;
    };
    const auto before = tables();
    const rur::testing::CliResult r = rur::testing::cli(
        {u"--root"_s, root.path(), u"transfer-journal"_s, u"1"_s, u"--journal"_s, folder.catalogue()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith(u"\nTabulka Dosu.DB je poškozená nebo nečitelná.\n"_s)) << r.err.toStdString();
    EXPECT_EQ(tables(), before);
}
