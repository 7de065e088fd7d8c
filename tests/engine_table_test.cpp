#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "engine/TableFile.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace rur::engine;

namespace {

TableDef peopleDef()
{
    return TableDef(u"People"_s, u"People.DB"_s)
        .add({integerField(u"Cislo"_s, 0, 999), textField(u"Nazev"_s, 10), amountField(u"Castka"_s),
              coefficientField(u"K"_s), dateField(u"Den"_s), boolField(u"Ano"_s), memoField(u"Pozn"_s),
              calculated(floatField(u"Dvojnasobek"_s, u"0"_s))})
        .primaryKey({u"Cislo"_s})
        .index(u"Nazev"_s, {u"Nazev"_s});
}

class EngineTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.setDirectory(dir.path());
        createTableFile(db.filePath(u"People.DB"_s), peopleDef());
    }

    void addRow(Table &t, int cislo, const QString &nazev, double castka = 0)
    {
        t.append();
        t.field(u"Cislo"_s).setValue(cislo);
        t.field(u"Nazev"_s).setValue(nazev);
        t.field(u"Castka"_s).setValue(castka);
        t.post();
    }

    QStringList names(Table &t)
    {
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out.append(t.field(u"Nazev"_s).asString());
        return out;
    }

    QTemporaryDir dir;
    Database db{u"Test"_s};
};

int openErrorCode(Table &t)
{
    try {
        t.open();
    } catch (const EngineError &e) {
        return e.code();
    }
    return 0;
}

}  // namespace

TEST_F(EngineTable, OpenFailsWithTheReasonAndATableNamedMessage)
{
    Table missing(&db, TableDef(u"Nic"_s, u"Nic.DB"_s).add(textField(u"A"_s, 1)));
    EXPECT_EQ(openErrorCode(missing), ErrFileMissing);

    // A file of an older layout lacks a declared field.
    TableDef wider = peopleDef();
    wider.add(textField(u"Novy"_s, 5));
    Table old(&db, wider);
    try {
        old.open();
        FAIL() << "opened a table without a declared field";
    } catch (const EngineError &e) {
        EXPECT_EQ(e.code(), ErrFieldMissing);
        EXPECT_EQ(e.message(), u"Tabulka People.DB nemá pole Novy."_s);
    }
    EXPECT_FALSE(old.isActive());

    // Random bytes and a truncated table are unreadable, never "missing".
    QFile junk(db.filePath(u"Junk.DB"_s));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(5000, '\x5a'));
    junk.close();
    Table junkTable(&db, TableDef(u"Junk"_s, u"Junk.DB"_s).add(textField(u"A"_s, 1)));
    try {
        junkTable.open();
        FAIL();
    } catch (const EngineError &e) {
        EXPECT_EQ(e.code(), ErrUnreadable);
        EXPECT_EQ(e.message(), u"Tabulka Junk.DB je poškozená nebo nečitelná."_s);
    }
    QList<QVariantMap> rows;
    for (int i = 1; i < 300; ++i)
        rows.append({{u"Cislo"_s, i}, {u"Nazev"_s, u"Jméno %1"_s.arg(i)}, {u"Castka"_s, double(i)}});
    createTableFile(db.filePath(u"People.DB"_s), peopleDef(), rows);
    QFile people(db.filePath(u"People.DB"_s));
    ASSERT_TRUE(people.open(QIODevice::ReadWrite));
    people.resize(people.size() / 2);
    people.close();
    Table truncated(&db, peopleDef());
    EXPECT_EQ(openErrorCode(truncated), ErrUnreadable);
}

TEST_F(EngineTable, RecordOperationsKeepIndexOrderAndPosition)
{
    Table t(&db, peopleDef());
    t.open();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), 0);
    addRow(t, 3, u"Cihla"_s);
    addRow(t, 1, u"Čáp"_s);
    addRow(t, 2, u"Chata"_s);
    addRow(t, 4, u"Hora"_s);
    EXPECT_EQ(t.recordCount(), 4);
    EXPECT_EQ(names(t), (QStringList{u"Čáp"_s, u"Chata"_s, u"Cihla"_s, u"Hora"_s}));

    // Czech order on the name index: C, Č, H, Ch.
    t.setIndexName(u"Nazev"_s);
    EXPECT_EQ(names(t), (QStringList{u"Cihla"_s, u"Čáp"_s, u"Hora"_s, u"Chata"_s}));
    EXPECT_EQ(t.indexName(), u"Nazev"_s);

    t.setIndexFieldNames(u"Cislo"_s);
    ASSERT_TRUE(t.findKey({2}));
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"Chata"_s);
    const Table::Bookmark mark = t.bookmark();

    // Edit that changes the key moves the row to its place and stays on it.
    t.edit();
    t.field(u"Cislo"_s).setValue(9);
    t.post();
    EXPECT_EQ(t.recNo(), 4);
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"Chata"_s);
    t.first();
    EXPECT_TRUE(t.gotoBookmark(mark));
    EXPECT_EQ(t.field(u"Cislo"_s).asInteger(), 9);

    // Cancel restores the stored values.
    t.edit();
    t.field(u"Nazev"_s).setValue(u"Jiné"_s);
    t.cancel();
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"Chata"_s);

    // Delete keeps the position of the next row.
    ASSERT_TRUE(t.locate(u"Nazev"_s, {u"cihla"_s}, {true, false}));
    t.deleteRecord();
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"Hora"_s);

    // Another cursor on the same file sees the posted rows after a refresh.
    Table other(&db, peopleDef());
    other.open();
    EXPECT_EQ(other.recordCount(), 3);
    addRow(t, 5, u"Pole"_s);
    EXPECT_EQ(other.recordCount(), 3);
    other.refresh();
    EXPECT_EQ(other.recordCount(), 4);

    t.emptyTable();
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.eof());
}

TEST_F(EngineTable, NavigationFlags)
{
    Table t(&db, peopleDef());
    t.open();
    addRow(t, 1, u"A"_s);
    addRow(t, 2, u"B"_s);
    t.first();
    EXPECT_TRUE(t.bof());
    EXPECT_FALSE(t.eof());
    t.next();
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.recNo(), 2);
    t.next();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), 2);
    t.prior();
    t.prior();
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recNo(), 1);
    t.last();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"B"_s);
}

TEST_F(EngineTable, FieldValuesAreConvertedCutAndBounded)
{
    Table t(&db, peopleDef());
    t.open();
    EXPECT_THROW(t.field(u"Nazev"_s).setValue(u"x"_s), EngineError);  // not in edit state
    t.append();
    t.field(u"Cislo"_s).setText(u"7"_s);
    t.field(u"Nazev"_s).setValue(u"Velmi dlouhý název"_s);
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"Velmi dlou"_s);
    t.field(u"Castka"_s).setText(u"1 234,5"_s);
    EXPECT_DOUBLE_EQ(t.field(u"Castka"_s).asFloat(), 1234.5);
    t.field(u"K"_s).setText(u"0,855"_s);  // binary value lies just below the half
    EXPECT_EQ(t.field(u"K"_s).displayText(), u"0,85"_s);
    try {
        t.field(u"K"_s).setValue(12.0);
        FAIL() << "a coefficient above 9.99 was taken";
    } catch (const EngineError &e) {
        EXPECT_EQ(e.code(), ErrOutOfRange);
        EXPECT_TRUE(e.message().contains(u"-9,99 až 9,99"_s)) << e.message().toStdString();
    }
    EXPECT_THROW(t.field(u"Castka"_s).setText(u"abc"_s), EngineError);
    EXPECT_THROW(t.field(u"Den"_s).setText(u"31.02.2018"_s), EngineError);
    t.field(u"Den"_s).setText(u"5.3.2018"_s);
    t.field(u"Ano"_s).setValue(true);
    t.field(u"Pozn"_s).setValue(u"řádek 1\nřádek 2"_s);
    t.field(u"Castka"_s).setText(QString());
    EXPECT_TRUE(t.field(u"Castka"_s).isNull());
    t.post();

    Table again(&db, peopleDef());
    again.open();
    EXPECT_EQ(again.field(u"Cislo"_s).asInteger(), 7);
    EXPECT_TRUE(again.field(u"Castka"_s).isNull());
    EXPECT_EQ(again.field(u"Den"_s).asDate(), QDate(2018, 3, 5));
    EXPECT_EQ(again.field(u"Den"_s).displayText(), u"05.03.2018"_s);
    EXPECT_TRUE(again.field(u"Ano"_s).asBoolean());
    EXPECT_EQ(again.field(u"Pozn"_s).asString(), u"řádek 1\nřádek 2"_s);
    // An empty text reads as null.
    again.edit();
    again.field(u"Nazev"_s).setValue(QString());
    EXPECT_TRUE(again.field(u"Nazev"_s).isNull());
    again.cancel();

    // A row read after a full one holds its own values only, each of its field's type.
    addRow(again, 8, u"Žluťoučký"_s, -0.5);
    Table third(&db, peopleDef());
    third.open();
    third.last();
    EXPECT_EQ(third.field(u"Nazev"_s).asString(), u"Žluťoučký"_s);
    EXPECT_DOUBLE_EQ(third.field(u"Castka"_s).asFloat(), -0.5);
    for (const QString &empty : {u"K"_s, u"Den"_s, u"Ano"_s, u"Pozn"_s})
        EXPECT_TRUE(third.field(empty).isNull()) << empty.toStdString();
    const auto typeAt = [&](int row, const QString &name) { return third.storedValue(row, third.def().indexOf(name)).typeId(); };
    EXPECT_EQ(typeAt(0, u"Cislo"_s), QMetaType::Int);
    EXPECT_EQ(typeAt(0, u"Den"_s), QMetaType::QDate);
    EXPECT_EQ(typeAt(0, u"Ano"_s), QMetaType::Bool);
    EXPECT_EQ(typeAt(0, u"Pozn"_s), QMetaType::QString);
    EXPECT_EQ(typeAt(1, u"Castka"_s), QMetaType::Double);
}

TEST_F(EngineTable, HooksRunInOrderAndPostErrorsCarryTheKeyViolationCode)
{
    Table t(&db, peopleDef());
    QStringList events;
    t.onNewRecord = [&](Table &tb) {
        events << u"new"_s;
        tb.field(u"Ano"_s).setValue(false);
    };
    t.beforePost = [&](Table &tb) {
        events << u"before"_s;
        tb.field(u"Castka"_s).setValue(tb.field(u"Castka"_s).asFloat() + 1);
    };
    t.afterPost = [&](Table &) { events << u"after"_s; };
    t.afterDelete = [&](Table &) { events << u"deleted"_s; };
    t.onCalcFields = [](Table &tb) { tb.field(u"Dvojnasobek"_s).setValue(tb.field(u"Castka"_s).asFloat() * 2); };
    t.setOnSetText(u"Nazev"_s, [](Field f, const QString &text) { f.setValue(text.toUpper()); });
    t.open();
    QSignalSpy states(&t, &Table::stateChanged);

    t.append();
    t.field(u"Cislo"_s).setValue(1);
    t.field(u"Nazev"_s).setText(u"praha"_s);
    t.field(u"Castka"_s).setValue(10.0);
    EXPECT_DOUBLE_EQ(t.field(u"Dvojnasobek"_s).asFloat(), 20.0);  // recomputed while editing
    t.post();
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"PRAHA"_s);
    EXPECT_DOUBLE_EQ(t.field(u"Castka"_s).asFloat(), 11.0);
    EXPECT_DOUBLE_EQ(t.field(u"Dvojnasobek"_s).asFloat(), 22.0);
    EXPECT_FALSE(t.field(u"Ano"_s).asBoolean());
    EXPECT_EQ(states.count(), 2);  // insert, browse
    EXPECT_THROW(t.field(u"Dvojnasobek"_s).setValue(1.0), EngineError);

    // A duplicate key: the post-error hook sees code 9729 and may abandon the save silently.
    int seenCode = 0;
    t.onPostError = [&](Table &, const EngineError &e) {
        seenCode = e.code();
        return Table::PostErrorAction::Abort;
    };
    t.append();
    t.field(u"Cislo"_s).setValue(1);
    try {
        t.post();
        FAIL();
    } catch (const EngineError &e) {
        EXPECT_EQ(e.code(), ErrAbort);
    }
    EXPECT_EQ(seenCode, ErrKeyViolation);
    EXPECT_EQ(t.state(), Table::State::Insert);  // the row stays for the user to mend
    t.cancel();
    EXPECT_EQ(t.recordCount(), 1);
    t.onPostError = nullptr;
    t.append();
    t.field(u"Cislo"_s).setValue(1);
    try {
        t.post();
        FAIL();
    } catch (const EngineError &e) {
        EXPECT_EQ(e.code(), ErrKeyViolation);
    }
    t.cancel();
    t.deleteRecord();
    EXPECT_EQ(events, (QStringList{u"new"_s, u"before"_s, u"after"_s, u"new"_s, u"before"_s, u"new"_s,
                                   u"before"_s, u"deleted"_s}));
}

TEST_F(EngineTable, EditOnAnEmptyTableInsertsTheSingleRow)
{
    Table t(&db, peopleDef());
    t.open();
    t.edit();
    EXPECT_EQ(t.state(), Table::State::Insert);
    t.field(u"Cislo"_s).setValue(1);
    t.post();
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(EngineTable, FilterRangeAndMasterDetail)
{
    Table t(&db, peopleDef());
    t.open();
    for (int i = 1; i <= 6; ++i)
        addRow(t, i, u"N%1"_s.arg(i), i * 10);
    t.setFilter(u"Castka >= 30 and Cislo <> 5"_s);
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_THROW(t.setFilter(u"Castka = 1; drop table People"_s), EngineError);
    EXPECT_THROW(t.setFilter(u"Neznámé = 1"_s), EngineError);
    // Only a well-formed expression is accepted, so SQLite never sees a broken one.
    for (const QString &bad : {u"Castka = = 1"_s, u"Castka = 1 2"_s, u"(Cislo = 1"_s, u"Cislo = 1.2.3"_s,
                               u"Cislo ="_s, u"and Cislo = 1"_s, QString(u"Nazev = 'a"_s + QChar(0) + u"b'"_s)})
        EXPECT_THROW(t.setFilter(bad), EngineError) << bad.toStdString();
    addRow(t, 7, u"O'Brien"_s, 5);
    t.setFilter(u"Nazev = 'O''Brien' or (not Castka > 10 and Cislo = 7)"_s);  // a doubled quote is a quote
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"O'Brien"_s);
    t.setFiltered(false);
    t.locate(u"Cislo"_s, {7});
    t.deleteRecord();
    EXPECT_EQ(t.recordCount(), 6);

    t.setRange({2}, {4});
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.field(u"Cislo"_s).asInteger(), 2);
    t.cancelRange();
    EXPECT_EQ(t.recordCount(), 6);

    createTableFile(db.filePath(u"Detail.DB"_s),
                    TableDef(u"Detail"_s, u"Detail.DB"_s).add({integerField(u"Cislo"_s), textField(u"Heslo"_s, 10)}),
                    {{{u"Cislo"_s, 2}, {u"Heslo"_s, u"a"_s}}, {{u"Cislo"_s, 4}, {u"Heslo"_s, u"b"_s}}});
    Table detail(&db, TableDef(u"Detail"_s, u"Detail.DB"_s).add({integerField(u"Cislo"_s), textField(u"Heslo"_s, 10)}));
    detail.setMasterSource(&t, u"Cislo"_s, u"Cislo"_s);
    detail.open();
    t.findKey({4});
    EXPECT_EQ(detail.recordCount(), 1);
    EXPECT_EQ(detail.field(u"Heslo"_s).asString(), u"b"_s);
    t.findKey({3});
    EXPECT_TRUE(detail.isEmpty());
}

TEST_F(EngineTable, NamedIndexesCanBeAddedAndDeleted)
{
    Table t(&db, peopleDef());
    t.open();
    addRow(t, 1, u"B"_s, 5);
    addRow(t, 2, u"A"_s, 7);
    t.addIndex(u"Castka"_s, u"Castka"_s);
    t.setIndexName(u"Castka"_s);
    EXPECT_EQ(names(t), (QStringList{u"B"_s, u"A"_s}));
    t.deleteIndex(u"Castka"_s);
    EXPECT_THROW(t.setIndexName(u"Castka"_s), EngineError);
    EXPECT_THROW(t.rebuildIndexes(), EngineError);  // only when opened exclusively
}

TEST_F(EngineTable, ExclusiveOpenSeesOtherOpensInThisProcessAndInOthers)
{
    Table shared(&db, peopleDef());
    shared.open();
    Table exclusive(&db, peopleDef());
    exclusive.setExclusive(true);
    EXPECT_EQ(openErrorCode(exclusive), ErrLocked);
    shared.close();
    exclusive.open();
    exclusive.rebuildIndexes();
    Table second(&db, peopleDef());
    EXPECT_EQ(openErrorCode(second), ErrLocked);
    exclusive.close();

    // Another instance: a child process holds the table open while this one tries.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        Database childDb(u"Child"_s);
        childDb.setDirectory(dir.path());
        Table held(&childDb, peopleDef());
        held.open();
        char c = 'x';
        if (write(ready[1], &c, 1) != 1)
            _exit(2);
        sleep(30);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    Table mine(&db, peopleDef());
    mine.setExclusive(true);
    EXPECT_EQ(openErrorCode(mine), ErrLocked);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    mine.open();  // the killed instance's locks are gone with it
    EXPECT_TRUE(mine.isActive());
    close(ready[0]);
    close(ready[1]);
}

TEST_F(EngineTable, ChangingTheDirectoryClosesTheTables)
{
    Table t(&db, peopleDef());
    t.open();
    db.setDirectory(dir.path() + u"/jinde"_s);
    EXPECT_FALSE(t.isActive());
    EXPECT_EQ(openErrorCode(t), ErrFileMissing);
}
