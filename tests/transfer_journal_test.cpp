// The transfer from a cash journal into the current return: which entries count, how the
// codes land on the lines, what the return holds afterwards, what happens to bad journals
// and to a transfer killed half-way; and finding the journal's folder.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "support/rows.h"
#include "support/sibling_files.h"
#include "support/test_root.h"
#include "transfer/JournalTransfer.h"
#include "transfer/SiblingData.h"
#include "transfer/SiblingSearch.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::setRow;
using rur::testing::reread;
using rur::testing::JournalEntry;
using Answer = platform::Prompter::Answer;
using transfer::TransferResult;

namespace {

const QString kFailedToShow = u"Údaje o poplatníkovi nelze zobrazit.\nZkontrolujte cestu k Peněžnímu deníku (adresář).\n"
                              u"Zkontrolujte, zda máte program Rizavuv uvaro zavřený."_s;

class JournalTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        setRow(*dm.Prp, {{u"K1"_s, 0.85}});
    }

    double value(engine::Table &t, const QString &field) { return t.field(field).asFloat(); }
    // The three tables of the current return as their files hold them.
    QMap<QString, QVariantList> returnRows()
    {
        QMap<QString, QVariantList> rows;
        for (engine::Table *t : {dm.Dtabn1.get(), dm.Dtabn2.get(), dm.Dtabn3.get()}) {
            reread(*t);
            rows.insert(t->name(), t->rowValues(0));
        }
        return rows;
    }
    // A journal of one data set (D1) with the period and the entries.
    QString journalWith(const QString &from, const QString &to, const QList<JournalEntry> &entries)
    {
        journal.addJournal(1, u"D1"_s, from, to, entries, {{u"Ico"_s, u"12345678"_s}, {u"Pr"_s, u"Novák"_s}});
        return journal.catalogue();
    }
    // Every file of the journal's folder with a digest of its bytes; the lock files of the
    // running program left out.
    QStringList journalFiles() const
    {
        QStringList out;
        const auto files = rur::testing::snapshot(journal.path(), true);
        for (auto it = files.begin(); it != files.end(); ++it)
            if (!it.key().endsWith(u".lck"_s))
                out.append(it.key() + u' ' + QString::fromLatin1(QCryptographicHash::hash(it.value(), QCryptographicHash::Sha1).toHex()));
        return out;
    }
    TransferResult transfer(const QString &catalogue)
    {
        transfer::SiblingData data(transfer::SiblingKind::Journal);
        if (!data.show(catalogue, 1)) {
            problem = data.problem();
            return TransferResult::Failed;
        }
        return transfer::transferJournal(dm, data, prompter);
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    QTemporaryDir folders;
    rur::testing::SiblingFolder journal{folders.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s};
    QString problem;
};

}  // namespace

TEST_F(JournalTransfer, EveryCodeLandsOnItsLineEachCodeRoundedBeforeThePartsAreAdded)
{
    const QString in = u"2018-01-15"_s;
    const QList<JournalEntry> entries = {
        // The period's bounds count; the days around them don't.
        {u"2018-01-01"_s, 1, 0, u"1"_s}, {u"2018-01-31"_s, 2, 0, u"1"_s},
        {u"2017-12-31"_s, 100000, 7, u"1"_s}, {u"2018-02-01"_s, 100000, 7, u"1"_s},
        {in, 1000, 210, u"1"_s},
        {in, 1000.50, 150.08, u"2"_s}, {in, 200.50, 20.05, u"2p"_s},
        {in, 3000, 630, u"3"_s}, {in, 4000, 600, u"4"_s}, {in, 5000, 1050, u"5"_s}, {in, 6000, 900, u"6"_s},
        {in, 7000, 1470, u"7"_s}, {in, 8000, 1200, u"8"_s}, {in, 9000, 1890, u"9"_s}, {in, 10000, 2100, u"10"_s},
        {in, 11000, 1650, u"11"_s}, {in, 12000, 2520, u"12"_s}, {in, 13000, 1950, u"13"_s},
        // Value lines take the base, the tax lines 33, 34 and 61 the tax.
        {in, 20000, 1, u"20"_s}, {in, 21000, 1, u"21"_s}, {in, 22000, 1, u"22"_s}, {in, 23000, 1, u"23"_s},
        {in, 24000, 1, u"24"_s}, {in, 25000, 1, u"25"_s}, {in, 26000, 1, u"26"_s}, {in, 30000, 1, u"30"_s},
        {in, 31000, 1, u"31"_s}, {in, 32000, 1, u"32"_s}, {in, 1, 33000, u"33"_s}, {in, 1, 34000, u"34"_s},
        {in, 50000, 1, u"50"_s}, {in, 51000, 1, u"51a"_s}, {in, 51500, 1, u"51b"_s}, {in, 1, 61000, u"61"_s},
        {in, 40000, 8400, u"40"_s}, {in, 400, 84, u"k40"_s}, {in, 41000, 6150, u"41"_s}, {in, 410, 61, u"k41"_s},
        {in, 2000, 300, u"2v"_s}, {in, 20, 3, u"k2v"_s}, {in, 42000, 8820, u"42"_s}, {in, 420, 88, u"k42"_s},
        {in, 43000, 9030, u"43"_s}, {in, 430, 90, u"k43"_s}, {in, 44000, 6600, u"44"_s}, {in, 440, 66, u"k44"_s},
        {in, 1, 4500, u"45"_s}, {in, 1, 45, u"k45"_s}, {in, 47000, 9870, u"47"_s}, {in, 470, 98, u"k47"_s},
        // Codes that are not the mapping's, letter for letter, are left out.
        {in, 999999, 99, u"K40"_s}, {in, 999999, 99, u" 40"_s}, {in, 999999, 99, u"40 "_s},
        {in, 999999, 99, u"99"_s}, {in, 999999, 99, QString()},
        // Amounts in halves: 12.5 + 12.5 in one code is 25, not 13 + 13.
        {in, 12.5, 0, u"51a"_s}, {in, 12.5, 0, u"51a"_s}};
    ASSERT_EQ(transfer(journalWith(u"2018-01-01"_s, u"2018-01-31"_s, entries)), TransferResult::Done) << problem.toStdString();
    EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu chcete přenest údaje z Peněžního deníku ?"_s,
                                             u"Údaje z Peněžního deníku byly přeneseny."_s}));

    const QList<std::pair<const char16_t *, double>> part1 = {
        {u"C210", 1003},   {u"C210a", 210},  {u"C215", 1202},  {u"C215a", 170},  {u"C220", 3000},  {u"C220a", 630},
        {u"C225", 4000},   {u"C225a", 600},  {u"C230", 5000},  {u"C230a", 1050}, {u"C235", 6000},  {u"C235a", 900},
        {u"C260", 7000},   {u"C260a", 1470}, {u"C265", 8000},  {u"C265a", 1200}, {u"C255", 9000},  {u"C255a", 1890},
        {u"C110", 10000},  {u"C110a", 2100}, {u"C111", 11000}, {u"C111a", 1650}, {u"C270", 12000}, {u"C270a", 2520},
        {u"C275", 13000},  {u"C275a", 1950}, {u"C410", 20000}, {u"C21", 21000},  {u"C430", 22000}, {u"C425", 23000},
        {u"C24", 24000},   {u"C25", 25000},  {u"C440", 26000}, {u"C810", 30000}, {u"C815", 31000}, {u"C32", 32000},
        {u"C33", 33000},   {u"C34", 34000},  {u"C530", 50000}, {u"C520", 51025}, {u"C540", 51500}, {u"C600", 61000}};
    const QList<std::pair<const char16_t *, double>> part2 = {
        {u"C310", 40400}, {u"C310a", 8400}, {u"C310b", 84}, {u"C315", 43430}, {u"C315a", 6450}, {u"C315b", 64},
        {u"C340", 42420}, {u"C340a", 8820}, {u"C340b", 88}, {u"C320", 43430}, {u"C320a", 9030}, {u"C320b", 90},
        {u"C325", 44440}, {u"C325a", 6600}, {u"C325b", 66}, {u"C370a", 4500}, {u"C370b", 45}, {u"C48", 47470},
        {u"C48a", 9870},  {u"C48b", 98},    {u"C550", 0.85}};
    for (const auto &[table, fields] : {std::pair{dm.Dtabn1.get(), part1}, std::pair{dm.Dtabn2.get(), part2}}) {
        reread(*table);
        for (const auto &[field, expected] : fields)
            EXPECT_EQ(value(*table, QString::fromUtf16(field)), expected) << QString::fromUtf16(field).toStdString();
    }
    // The store hooks ran: the control values are there.
    EXPECT_EQ(value(*dm.Dtabn1, u"K210"_s), 211);
}

TEST_F(JournalTransfer, TheReturnIsReplacedWholeAndAnEmptyPeriodEndTransfersNothing)
{
    setRow(*dm.Dtabn1, {{u"C210"_s, 5000.0}, {u"S210"_s, 1210.0}, {u"S215"_s, 110.0}, {u"C240"_s, 3.0}});
    setRow(*dm.Dtabn2, {{u"C310"_s, 800.0}, {u"S550a"_s, 123.0}, {u"C345"_s, 9.0}});
    setRow(*dm.Dtabn3, {{u"C560"_s, 0.5}, {u"C570"_s, 99.0}, {u"S730"_s, 1.0}, {u"S754"_s, 2.0}});
    const QString catalogue = journalWith(u"2018-01-01"_s, QString(), {{u"2018-01-15"_s, 1000, 210, u"1"_s}});
    ASSERT_EQ(transfer(catalogue), TransferResult::Done) << problem.toStdString();

    reread(*dm.Dtabn1);
    reread(*dm.Dtabn2);
    reread(*dm.Dtabn3);
    for (const QString &field : {u"C210"_s, u"C210a"_s, u"S210"_s, u"S215"_s, u"C240"_s})
        EXPECT_EQ(dm.Dtabn1->field(field).value(), QVariant(0.0)) << field.toStdString();
    EXPECT_EQ(value(*dm.Dtabn2, u"C310"_s), 0);
    EXPECT_EQ(value(*dm.Dtabn2, u"C345"_s), 0);
    EXPECT_EQ(value(*dm.Dtabn2, u"C550"_s), 0.85);
    EXPECT_TRUE(dm.Dtabn2->field(u"S550a"_s).isNull());
    for (const QString &field : {u"S730"_s, u"S754"_s})
        EXPECT_TRUE(dm.Dtabn3->field(field).isNull()) << field.toStdString();
    EXPECT_EQ(value(*dm.Dtabn3, u"C560"_s), 0);
    EXPECT_EQ(value(*dm.Dtabn3, u"C570"_s), 0);
    // Part 3 is the template's row as it is: blank, not 0.
    for (const QString &field : {u"C560"_s, u"C560a"_s, u"C570"_s, u"C580"_s, u"C710"_s})
        EXPECT_TRUE(dm.Dtabn3->field(field).isNull()) << field.toStdString();
    for (engine::Table *t : {dm.Dtabn1.get(), dm.Dtabn2.get(), dm.Dtabn3.get()})
        EXPECT_EQ(t->recordCount(), 1);
}

TEST_F(JournalTransfer, ThePeriodIsCheckedAndStoredInTheJournalAndNoChangesNothing)
{
    const QString catalogue = journalWith(u"2018-01-01"_s, u"2018-01-31"_s, {{u"2018-02-10"_s, 700, 147, u"1"_s}});
    const QString dmtPath = journal.path() + u"D1/Dmt.DB"_s;
    const auto returnBefore = returnRows();
    transfer::SiblingData data(transfer::SiblingKind::Journal, [] { return QDate(2018, 3, 5); });
    ASSERT_TRUE(data.show(catalogue, 1)) << data.problem().toStdString();
    engine::Table &period = *data.period();

    // A reversed or incomplete period stops the transfer before the question.
    period.edit();
    period.field(u"Dz"_s).setText(u"1.2."_s);  // shorthand: 1 February of this year
    period.field(u"Dk"_s).setText(u"31.1.2018"_s);
    EXPECT_EQ(transfer::transferJournal(dm, data, prompter), TransferResult::Failed);
    period.field(u"Dk"_s).clear();
    EXPECT_EQ(transfer::transferJournal(dm, data, prompter), TransferResult::Failed);
    EXPECT_EQ(prompter.texts(), (QStringList{u"Datum konec období nemůže být menší než datum začátek období."_s,
                                             u"Zadejte datum."_s}));
    EXPECT_TRUE(period.isEditing());

    // The user says No: the period is stored all the same (it was saved before the question).
    period.field(u"Dk"_s).setText(u"28.2.2018"_s);
    prompter.messages.clear();
    prompter.answers = {Answer::No};
    EXPECT_EQ(transfer::transferJournal(dm, data, prompter), TransferResult::Declined);
    EXPECT_EQ(returnRows(), returnBefore);
    data.close();
    QVariantList stored;
    {
        transfer::SiblingData again(transfer::SiblingKind::Journal);
        ASSERT_TRUE(again.show(catalogue, 1));
        stored = {again.period()->field(u"Dz"_s).value(), again.period()->field(u"Dk"_s).value()};
        EXPECT_EQ(transfer::transferJournal(dm, again, prompter), TransferResult::Done);
    }
    EXPECT_EQ(stored, (QVariantList{QDate(2018, 2, 1), QDate(2018, 2, 28)}));
    reread(*dm.Dtabn1);
    EXPECT_EQ(value(*dm.Dtabn1, u"C210"_s), 700);

    // Only Dz and Dk of the journal's settings row were written: an empty text stays an
    // empty text, and a column unknown to the program keeps its value.
    rur::testing::runSql(dmtPath, u"ALTER TABLE Dmt ADD Vlastni CHAR(10) DEFAULT 'x'"_s);
    transfer::SiblingData third(transfer::SiblingKind::Journal);
    ASSERT_TRUE(third.show(catalogue, 1));
    third.period()->edit();
    third.period()->field(u"Dz"_s).setText(u"2.2.2018"_s);
    ASSERT_TRUE(transfer::saveJournalPeriod(*third.period(), prompter));
    engine::SqliteFile file;
    QString error;
    ASSERT_TRUE(file.open(dmtPath, false, &error, true));
    engine::Statement st(file, u"SELECT typeof(\"Cast\"), Ns, Vlastni, Dz, Dk FROM Dmt"_s);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnText(0), u"text"_s);
    EXPECT_EQ(st.columnText(1), u"Sloupce"_s);
    EXPECT_EQ(st.columnText(2), u"x"_s);
    EXPECT_EQ(st.columnText(3), u"2018-02-02"_s);
    EXPECT_EQ(st.columnText(4), u"2018-02-28"_s);
}

TEST_F(JournalTransfer, AJournalThatCantBeReadChangesNothingOnEitherSide)
{
    const QString catalogue = journalWith(u"2018-01-01"_s, u"2018-01-31"_s, {{u"2018-01-15"_s, 1000, 210, u"1"_s}});
    const QString d1 = journal.path() + u"D1/"_s;
    setRow(*dm.Dtabn1, {{u"C210"_s, 42.0}});
    const auto returnBefore = returnRows();
    const QByteArray goodEntries = [&] {
        QFile f(d1 + u"Pdev.DB"_s);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const auto writeEntries = [&](const QByteArray &bytes) {
        QFile f(d1 + u"Pdev.DB"_s);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    const QList<std::pair<const char *, std::function<void()>>> damages = {
        {"entries without Cdph", [&] {
             rur::testing::runSql(d1 + u"Pdev.DB"_s, u"ALTER TABLE Pdev DROP COLUMN Cdph"_s);
         }},
        {"entries without Ncl, which the sum doesn't read", [&] {
             rur::testing::runSql(d1 + u"Pdev.DB"_s, u"ALTER TABLE Pdev DROP COLUMN Ncl"_s);
         }},
        {"a text where a number belongs", [&] {
             rur::testing::runSql(d1 + u"Pdev.DB"_s, u"UPDATE Pdev SET Zd = 'tisíc'"_s);
         }},
        {"an impossible date", [&] { rur::testing::runSql(d1 + u"Pdev.DB"_s, u"UPDATE Pdev SET D = '2018-02-30'"_s); }},
        {"a truncated file", [&] { writeEntries(goodEntries.left(goodEntries.size() / 2)); }},
        {"no file", [&] { QFile::remove(d1 + u"Pdev.DB"_s); }},
    };
    for (const auto &[what, damage] : damages) {
        SCOPED_TRACE(what);
        writeEntries(goodEntries);
        damage();
        const QStringList journalBefore = journalFiles();
        prompter.messages.clear();
        EXPECT_EQ(transfer(catalogue), TransferResult::Failed);
        EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu chcete přenest údaje z Peněžního deníku ?"_s, kFailedToShow}));
        EXPECT_EQ(returnRows(), returnBefore);
        EXPECT_EQ(journalFiles(), journalBefore);
    }

    // The tables shown in the window are checked as they are shown.
    writeEntries(goodEntries);
    const QList<std::pair<const char *, std::function<void()>>> unshowable = {
        {"taxpayer without Ico", [&] { rur::testing::runSql(d1 + u"Dosu.DB"_s, u"ALTER TABLE Dosu DROP COLUMN Ico"_s); }},
        {"settings without a row", [&] { rur::testing::runSql(d1 + u"Dmt.DB"_s, u"DELETE FROM Dmt"_s); }},
        {"settings without Kop", [&] { rur::testing::runSql(d1 + u"Dmt.DB"_s, u"ALTER TABLE Dmt DROP COLUMN Kop"_s); }},
        {"a folder outside the journal", [&] {
             rur::testing::runSql(journal.catalogue(), u"UPDATE Data SET Adresar = '../D1'"_s);
         }},
        {"no catalogue", [&] { QFile::remove(journal.catalogue()); }},
    };
    for (const auto &[what, damage] : unshowable) {
        SCOPED_TRACE(what);
        damage();
        transfer::SiblingData data(transfer::SiblingKind::Journal);
        EXPECT_FALSE(data.show(catalogue, 1));
        EXPECT_FALSE(data.isShown());
        EXPECT_FALSE(data.problem().isEmpty());
    }
    EXPECT_EQ(returnRows(), returnBefore);
}

TEST_F(JournalTransfer, ABadTemplateIsToldAndTheReturnStaysAsItWas)
{
    const QString catalogue = journalWith(u"2018-01-01"_s, u"2018-01-31"_s, {{u"2018-01-15"_s, 1000, 210, u"1"_s}});
    setRow(*dm.Dtabn3, {{u"C570"_s, 99.0}});
    const auto before = returnRows();
    QFile tpl(root.path() + u"Data/Dtabn3.DB"_s);
    ASSERT_TRUE(tpl.open(QIODevice::WriteOnly | QIODevice::Truncate));
    tpl.write("not a table");
    tpl.close();
    EXPECT_EQ(transfer(catalogue), TransferResult::Failed);
    ASSERT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(prompter.errors()[0].startsWith(u"Údaje z Peněžního deníku se nepodařilo přenést.\nŠablona tabulky Dtabn3.DB"_s))
        << prompter.errors()[0].toStdString();
    EXPECT_EQ(returnRows(), before);
}

TEST_F(JournalTransfer, AKilledTransferLeavesTheOldReturnOrTheTransferredOne)
{
    const QString catalogue = journalWith(u"2018-01-01"_s, u"2018-01-31"_s,
                                          {{u"2018-01-15"_s, 1000, 210, u"1"_s}, {u"2018-01-16"_s, 300, 63, u"40"_s}});
    setRow(*dm.Dtabn1, {{u"C210"_s, 42.0}, {u"S210"_s, 50.0}});
    setRow(*dm.Dtabn3, {{u"C570"_s, 99.0}});
    const auto before = returnRows();
    // Three deletes and three inserts: die after each of them but the last, before the commit.
    for (int step = 1; step <= 6; ++step) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(rur::testing::killedAt("group:between", [&] {
            int seen = 0;
            engine::setCrashHook([&seen, step](const char *name) {
                if (qstrcmp(name, "group:between") == 0 && ++seen == step)
                    raise(SIGKILL);
            });
            transfer(catalogue);
        }));
        EXPECT_EQ(returnRows(), before);
    }
    ASSERT_EQ(transfer(catalogue), TransferResult::Done);
    const auto after = returnRows();
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000);
    EXPECT_EQ(dm.Dtabn1->field(u"S210"_s).asFloat(), 0);
    EXPECT_EQ(dm.Dtabn2->field(u"C310"_s).asFloat(), 300);
    EXPECT_EQ(dm.Dtabn3->field(u"C570"_s).asFloat(), 0);
    EXPECT_NE(after, before);
}

TEST_F(JournalTransfer, TheJournalIsFoundBesideTheProgramOrTheDataFolder)
{
    QTemporaryDir tmp;
    base::Directories place;
    place.programDir = tmp.path() + u"/prg/bin/"_s;
    place.localDataRoot = place.dataRoot = tmp.path() + u"/data/RUR 2018/"_s;
    const transfer::SiblingProgram &program = transfer::siblingProgram(transfer::SiblingKind::Journal);
    const auto folder = [&](const QString &where, int year, bool withIni) {
        const QString dir = tmp.path() + where + u"/Rizavuv uvaro "_s + QString::number(year) + u'/';
        QDir().mkpath(dir);
        rur::testing::runSql(dir + u"Data.DB"_s, QString::fromLatin1(rur::testing::kCatalogueTable));
        if (withIni) {
            QFile ini(dir + u"Pen.ini"_s);
            EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        }
        return dir;
    };

    // Nothing there: the data folder's neighbour of the program's year is proposed.
    EXPECT_EQ(transfer::searchCatalogue(place, program, 2018), tmp.path() + u"/data/Rizavuv uvaro 2018/Data.DB"_s);
    folder(u"/prg"_s, 2016, true);
    const QString y2017 = folder(u"/prg"_s, 2017, true);
    folder(u"/prg"_s, 2018, false);  // no Pen.ini: not a journal's folder
    EXPECT_EQ(transfer::searchCatalogue(place, program, 2018), y2017 + u"Data.DB"_s);
    // A stored path that names no file, or resolves to the path message, starts the search.
    EXPECT_EQ(transfer::proposedCataloguePath(place, program, u"%Neznamy%/Data.DB"_s, 2018), y2017 + u"Data.DB"_s);
    EXPECT_EQ(transfer::proposedCataloguePath(place, program, u"Data.DB"_s, 2018), y2017 + u"Data.DB"_s);
    EXPECT_EQ(transfer::proposedCataloguePath(place, program, tmp.path() + u"/nic/Data.DB"_s, 2018), y2017 + u"Data.DB"_s);
    const QString stored = folder(u"/jinde"_s, 2010, false) + u"Data.DB"_s;
    EXPECT_EQ(transfer::proposedCataloguePath(place, program, stored, 2018), stored);

    // The same year beside the data folder wins over the program's; a journal on the network
    // ([Pen] Net=1) names its catalogue's folder.
    const QString besideData = folder(u"/data"_s, 2017, true);
    EXPECT_EQ(transfer::searchCatalogue(place, program, 2018), besideData + u"Data.DB"_s);
    QFile ini(besideData + u"Pen.ini"_s);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Pen]\nNet=1\nPath=/mnt/sit/Rizavuv/\n").toUtf8());
    ini.close();
    EXPECT_EQ(transfer::searchCatalogue(place, program, 2018), u"/mnt/sit/Rizavuv/Data.DB"_s);
}

TEST_F(JournalTransfer, AJournalProgramHoldingItsEntriesAloneKeepsTheTransferOut)
{
    const QString catalogue = journalWith(u"2018-01-01"_s, u"2018-01-31"_s, {{u"2018-01-15"_s, 1000, 210, u"1"_s}});
    // The journal program takes the byte of Pdev in its lock file exclusively, as the table
    // file documentation describes it, with nothing but fcntl.
    const QByteArray lockPath = QFile::encodeName(journal.path() + u"D1/Pdoxusrs.lck"_s);
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_GE(fd, 0);
    struct flock alone{};
    alone.l_type = F_WRLCK;
    alone.l_whence = SEEK_SET;
    alone.l_start = 260990947649;
    alone.l_len = 1;
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &alone), 0);
    EXPECT_EQ(transfer(catalogue), TransferResult::Failed);
    EXPECT_EQ(prompter.texts().value(1), kFailedToShow);
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 0);
    ::close(fd);
    EXPECT_EQ(transfer(catalogue), TransferResult::Done);
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000);
}
