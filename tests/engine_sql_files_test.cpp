#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/GroupWrite.h"
#include "engine/LocalSql.h"
#include "engine/LockFile.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "support/test_root.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace rur::engine;

namespace {

TableDef shortDef()
{
    return TableDef(u"Kratka"_s, u"Kratka.DB"_s).add({textField(u"A"_s, 5), amountField(u"B"_s)});
}

}  // namespace

TEST(EngineSql, AlterTableAddsAllColumnsOfAStatementOrNone)
{
    QTemporaryDir dir;
    Database db(u"Danove"_s);
    db.setDirectory(dir.path());
    createTableFile(db.filePath(u"Kratka.DB"_s), shortDef(), {{{u"A"_s, u"x"_s}}});

    executeSql(db, u"Alter Table Kratka Add C Char(9)\n, Add D Date\n, Add E Boolean, Add F Smallint, Add G Integer"_s);
    EXPECT_EQ(rur::testing::fileColumns(db.filePath(u"Kratka.DB"_s)),
              (QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s}));

    // H is new but C exists: the statement fails and H is not added either.
    EXPECT_THROW(executeSql(db, u"Alter Table Kratka Add H Float, Add C Char(9)"_s), EngineError);
    EXPECT_FALSE(rur::testing::fileColumns(db.filePath(u"Kratka.DB"_s)).contains(u"H"_s));

    EXPECT_THROW(executeSql(db, u"Alter Table Kratka Add H Varchar(3)"_s), EngineError);
    EXPECT_THROW(executeSql(db, u"Alter Table Chybi Add H Float"_s), EngineError);
    EXPECT_THROW(executeSql(db, u"Drop Table Kratka"_s), EngineError);

    // The row kept its value; the new columns are empty.
    TableDef wider = shortDef();
    wider.add({textField(u"C"_s, 9), dateField(u"D"_s), boolField(u"E"_s)});
    Table t(&db, wider);
    t.open();
    EXPECT_EQ(t.field(u"A"_s).asString(), u"x"_s);
    EXPECT_TRUE(t.field(u"C"_s).isNull());
    t.close();

    executeSql(db, u"Update Kratka set E = True"_s);
    t.open();
    EXPECT_TRUE(t.field(u"E"_s).asBoolean());
}

TEST(EngineSql, SelectQueriesAreReadOnlyAndOrdered)
{
    QTemporaryDir dir;
    Database db(u"Danove"_s);
    db.setDirectory(dir.path());
    createTableFile(db.filePath(u"Kratka.DB"_s), shortDef(),
                    {{{u"A"_s, u"b"_s}, {u"B"_s, 2.0}}, {{u"A"_s, u"a"_s}, {u"B"_s, 3.0}}, {{u"A"_s, u"c"_s}, {u"B"_s, 1.0}}});
    Table q(&db, shortDef());
    q.setSelectStatement(u"Select * From Kratka where B >= 2 order by A"_s);
    q.open();
    ASSERT_EQ(q.recordCount(), 2);
    EXPECT_EQ(q.field(u"A"_s).asString(), u"a"_s);
    EXPECT_THROW(q.edit(), EngineError);
    q.setSelectStatement(u"Select * from Kratka order by B desc"_s);
    EXPECT_EQ(q.recordCount(), 3);
    EXPECT_EQ(q.field(u"A"_s).asString(), u"a"_s);
    EXPECT_THROW(q.setSelectStatement(u"Select A from Kratka"_s), EngineError);
    EXPECT_THROW(q.setSelectStatement(u"Select * from Kratka where A = 'x' union select 1"_s), EngineError);
}

TEST(EngineFiles, StaleLockFilesGoOnlyWhenNobodyHoldsThem)
{
    QTemporaryDir dir;
    const QString d = dir.path() + u'/';
    {
        Database db(u"Danove"_s);
        db.setDirectory(d);
        createTableFile(db.filePath(u"Kratka.DB"_s), shortDef());
        Table t(&db, shortDef());
        t.open();
        ASSERT_TRUE(QFile::exists(d + u"Pdoxusrs.lck"_s));
        ASSERT_TRUE(QFile::exists(d + u"Paradox.lck"_s));
        deleteStaleLockFiles(d);
        EXPECT_TRUE(QFile::exists(d + u"Pdoxusrs.lck"_s));
        EXPECT_TRUE(QFile::exists(d + u"Paradox.lck"_s));

        // The instance still sees its own table after a failed clean-up.
        Table exclusive(&db, shortDef());
        exclusive.setExclusive(true);
        EXPECT_THROW(exclusive.open(), EngineError);
    }
    // Closed and disconnected: both files are stale now.
    deleteStaleLockFiles(d);
    EXPECT_FALSE(QFile::exists(d + u"Pdoxusrs.lck"_s));
    EXPECT_FALSE(QFile::exists(d + u"Paradox.lck"_s));

    // Paradox.lck stays while Pdoxusrs.lck can't be deleted.
    LockFile users(d + u"Pdoxusrs.lck"_s);
    ASSERT_TRUE(users.lockShared(0));
    LockFile directory(d + u"Paradox.lck"_s);
    ASSERT_TRUE(directory.lockShared(0));
    directory.unlock(0);
    deleteStaleLockFiles(d);
    EXPECT_TRUE(QFile::exists(d + u"Paradox.lck"_s));
}

TEST(EngineFiles, AKilledCopyLeavesTheOldOrTheNewFileWhole)
{
    QTemporaryDir dir;
    Database db(u"Danove"_s);
    db.setDirectory(dir.path());
    const QString source = db.filePath(u"Zdroj.DB"_s);
    const QString target = db.filePath(u"Kratka.DB"_s);
    QList<QVariantMap> many;
    for (int i = 0; i < 3000; ++i)
        many.append({{u"A"_s, u"n%1"_s.arg(i)}, {u"B"_s, double(i)}});
    createTableFile(source, shortDef(), many);

    for (const char *point : {"replace:writing", "replace:before-rename", "replace:after-rename"}) {
        createTableFile(target, shortDef(), {{{u"A"_s, u"old"_s}}});
        ASSERT_TRUE(rur::testing::killedAt(point, [&] { replaceFileAtomically(source, target); })) << point;
        Table t(&db, shortDef());
        ASSERT_NO_THROW(t.open()) << point;
        EXPECT_TRUE(t.recordCount() == 1 || t.recordCount() == 3000) << point;
    }
    EXPECT_FALSE(replaceFileAtomically(db.filePath(u"Chybi.DB"_s), target));
}

TEST(EngineFiles, AKilledWriteLeavesTheTableAsBefore)
{
    QTemporaryDir dir;
    Database db(u"Danove"_s);
    db.setDirectory(dir.path());
    createTableFile(db.filePath(u"Kratka.DB"_s), shortDef(), {{{u"A"_s, u"old"_s}}});
    ASSERT_TRUE(rur::testing::killedAt("table:before-commit", [&] {
        Table t(&db, shortDef());
        t.open();
        t.edit();
        t.field(u"A"_s).setValue(u"new"_s);
        t.post();
    }));
    Table t(&db, shortDef());
    t.open();
    EXPECT_EQ(t.field(u"A"_s).asString(), u"old"_s);
}

TEST(NumberFormat, RoundsHalvesAwayFromZeroOnTheExactBinaryValue)
{
    EXPECT_EQ(formatFloat(2.5, u"0"_s), u"3"_s);
    EXPECT_EQ(formatFloat(-2.5, u"0"_s), u"-3"_s);
    EXPECT_EQ(formatFloat(0.125, u"0.00"_s), u"0,13"_s);
    EXPECT_EQ(formatFloat(2.675, u"0.00"_s), u"2,67"_s);  // binary value below the half
    EXPECT_EQ(formatFloat(28.499999999999996, u"0"_s), u"28"_s);
    EXPECT_EQ(formatFloat(99999999999.5, u"0"_s), u"100000000000"_s);
    EXPECT_EQ(formatFloat(-0.4, u"0"_s), u"0"_s);
    EXPECT_EQ(formatFloat(0.85, u"0.##"_s), u"0,85"_s);
    EXPECT_EQ(formatFloat(0.5, u"0.##"_s), u"0,5"_s);
    EXPECT_EQ(formatFloat(1.0, u"0.##"_s), u"1"_s);
    EXPECT_EQ(formatFloat(1.0, u"0.0000"_s), u"1,0000"_s);
    EXPECT_EQ(formatFloat(1234567.891, u"#,##0.00"_s), u"1\u00a0234\u00a0567,89"_s);
    EXPECT_EQ(formatFloat(21.006, u"0.00"_s, u'.'), u"21.01"_s);
    EXPECT_DOUBLE_EQ(textRound(14.994, u"0.00"_s), 14.99);
    EXPECT_DOUBLE_EQ(textRound(-7.5, u"0"_s), -8.0);
}

TEST(NumberFormat, ParsesCzechAndPlainNumbers)
{
    EXPECT_EQ(parseNumber(u"1 234,5"_s), 1234.5);
    EXPECT_EQ(parseNumber(u"-0.25"_s), -0.25);
    EXPECT_EQ(parseNumber(u"+3"_s), 3.0);
    EXPECT_FALSE(parseNumber(u""_s));
    EXPECT_FALSE(parseNumber(u"12a"_s));
    EXPECT_FALSE(parseNumber(u"1,2,3"_s));
    EXPECT_FALSE(parseNumber(u"inf"_s));
    EXPECT_EQ(shortestText(0.1), u"0.1"_s);
    EXPECT_EQ(shortestText(15.0), u"15"_s);
}

TEST(EngineFiles, AGroupWriteStoresRowsOfSeveralTablesTogetherOrNotAtAll)
{
    QTemporaryDir dir;
    Database db(u"Danove"_s);
    db.setDirectory(dir.path());
    const TableDef first = TableDef(u"Prvni"_s, u"Prvni.DB"_s).add({integerField(u"Cislo"_s), amountField(u"A"_s)}).primaryKey({u"Cislo"_s});
    const TableDef second = TableDef(u"Druha"_s, u"Druha.DB"_s).add({integerField(u"Cislo"_s), amountField(u"B"_s)}).primaryKey({u"Cislo"_s});
    createTableFile(db.filePath(first.fileName), first, {{{u"Cislo"_s, 1}, {u"A"_s, 1.0}}});
    createTableFile(db.filePath(second.fileName), second, {{{u"Cislo"_s, 1}, {u"B"_s, 1.0}}, {{u"Cislo"_s, 2}, {u"B"_s, 2.0}}});
    Table a(&db, first), b(&db, second);
    a.open();
    b.open();
    const auto stage = [&](int cislo) {
        a.append();
        a.field(u"Cislo"_s).setValue(cislo);
        a.field(u"A"_s).setValue(10.4);
        b.append();
        b.field(u"Cislo"_s).setValue(cislo);
    };

    // The second table already holds period 2: nothing of the group is stored.
    stage(2);
    GroupWrite clash;
    clash.insert(a);
    clash.insert(b);
    try {
        clash.commit();
        FAIL();
    } catch (const EngineError &e) {
        EXPECT_EQ(e.code(), ErrKeyViolation);
    }
    a.cancel();
    b.cancel();
    a.refresh();
    EXPECT_EQ(a.recordCount(), 1);

    // An overwrite: old rows deleted and new ones stored in one go.
    a.beforePost = [](Table &t) { t.field(u"A"_s).setValue(std::round(t.field(u"A"_s).asFloat())); };
    stage(1);
    GroupWrite overwrite;
    overwrite.remove(a, u"Cislo"_s, 1);
    overwrite.remove(b, u"Cislo"_s, 1);
    overwrite.insert(a);
    overwrite.insert(b);
    overwrite.commit();
    EXPECT_EQ(a.state(), Table::State::Browse);
    EXPECT_EQ(a.recordCount(), 1);
    EXPECT_EQ(a.field(u"A"_s).asFloat(), 10.0);
    EXPECT_EQ(b.recordCount(), 2);
    EXPECT_EQ(b.field(u"Cislo"_s).asInteger(), 1);

    // Killed between the two inserts: neither table has period 3.
    ASSERT_TRUE(rur::testing::killedAt("group:between", [&] {
        stage(3);
        GroupWrite g;
        g.insert(a);
        g.insert(b);
        g.commit();
    }));
    a.refresh();
    b.refresh();
    EXPECT_FALSE(a.findKey({3}));
    EXPECT_FALSE(b.findKey({3}));
}
