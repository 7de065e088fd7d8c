// The rows a table holds in memory. After its own save or deletion the table reads that row
// alone and puts it in its place; after anyone else's write it reads them all. Either way
// the rows must be those a fresh opening reads, in the same order, under every index order,
// filter and range.
#include "engine/Database.h"
#include "engine/GroupWrite.h"
#include "engine/Table.h"
#include "engine/TableFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <random>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

engine::TableDef keyedByNumber()
{
    return engine::TableDef(u"People"_s, u"People.DB"_s)
        .add({engine::integerField(u"Cislo"_s, 0, 99999), engine::textField(u"Nazev"_s, 10),
              engine::amountField(u"Castka"_s), engine::dateField(u"Den"_s)})
        .primaryKey({u"Cislo"_s})
        .index(u"Nazev"_s, {u"Nazev"_s});
}

// The register's kind of table: the key is the row id.
engine::TableDef keyedByRowId()
{
    return engine::TableDef(u"Docs"_s, u"Docs.DB"_s)
        .add({engine::autoIncField(u"ID"_s), engine::textField(u"Nazev"_s, 10), engine::amountField(u"Castka"_s)})
        .primaryKey({u"ID"_s})
        .index(u"Nazev"_s, {u"Nazev"_s});
}

class EngineRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.setDirectory(dir.path());
        engine::createTableFile(db.filePath(u"People.DB"_s), keyedByNumber());
        engine::createTableFile(db.filePath(u"Docs.DB"_s), keyedByRowId());
    }

    // Every row's values in the table's order.
    static QStringList rowsOf(engine::Table &t)
    {
        QStringList out;
        for (int r = 0; r < t.recordCount(); ++r) {
            QStringList values;
            for (int f = 0; f < t.fieldCount(); ++f)
                values.append(t.storedValue(r, f).toString());
            out.append(values.join(u'|'));
        }
        return out;
    }

    // Random saves, key changes and deletions through `t`, now and then a row added through
    // another table over the file; after each, the rows against a fresh opening set up alike.
    void compareWithFreshReads(const engine::TableDef &def, const std::function<void(engine::Table &)> &setUp)
    {
        QFile::remove(db.filePath(def.fileName));
        engine::createTableFile(db.filePath(def.fileName), def);
        engine::Table t(&db, def), other(&db, def);
        t.open();
        other.open();
        setUp(t);
        std::mt19937 random(29);
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        const QStringList names = {u"Šimon"_s, u"Adam"_s, u"Čeněk"_s, u"adam"_s, u"Zikmund"_s, QString()};
        const bool ownKey = def.field(u"Cislo"_s) != nullptr;
        int next = 1;
        for (int step = 0; step < 200; ++step) {
            const int what = pick(10);
            if (what < 4 || t.isEmpty()) {
                t.append();
                if (ownKey)
                    t.field(u"Cislo"_s).setValue(next += 1 + pick(3));
                t.field(u"Nazev"_s).setValue(names[pick(int(names.size()))]);
                t.field(u"Castka"_s).setValue(pick(300));
                t.post();
            } else if (what < 8) {
                t.goToRow(pick(t.recordCount()));
                t.edit();
                t.field(u"Nazev"_s).setValue(names[pick(int(names.size()))]);
                t.field(u"Castka"_s).setValue(pick(300));
                if (ownKey && pick(3) == 0)
                    t.field(u"Cislo"_s).setValue(next += 1 + pick(3));
                t.post();
            } else if (what < 9) {
                t.goToRow(pick(t.recordCount()));
                t.deleteRecord();
            } else {
                // Another connection's row, then an own one: the own save reads every row.
                for (engine::Table *writer : {&other, &t}) {
                    writer->append();
                    if (ownKey)
                        writer->field(u"Cislo"_s).setValue(next += 1 + pick(3));
                    writer->field(u"Nazev"_s).setValue(names[pick(int(names.size()))]);
                    writer->field(u"Castka"_s).setValue(pick(300));
                    writer->post();
                }
            }
            engine::Table fresh(&db, def);
            setUp(fresh);
            fresh.open();
            ASSERT_EQ(rowsOf(t), rowsOf(fresh)) << "step " << step << ", operation " << what;
        }
    }

    QTemporaryDir dir;
    engine::Database db{u"Test"_s};
};

}  // namespace

TEST_F(EngineRows, AfterOwnWritesTheRowsAreThoseAFreshOpeningReads)
{
    const std::function<void(engine::Table &)> orders[] = {
        [](engine::Table &) {},
        [](engine::Table &t) { t.setIndexName(u"Nazev"_s); },  // equal names: in the order of the row ids
        [](engine::Table &t) {
            t.setFilter(u"Castka > 100"_s);
            t.setFiltered(true);
        },
        [](engine::Table &t) {
            t.setIndexName(u"Nazev"_s);
            t.setRange({u"B"_s}, {u"Z"_s});
        },
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("order " + std::to_string(i));
        compareWithFreshReads(keyedByNumber(), orders[i]);
        compareWithFreshReads(keyedByRowId(), orders[i]);
    }
}

// The saved row stays the current one where the order put it; a row the filter no longer
// takes leaves the cursor on the row that came after it.
TEST_F(EngineRows, TheSavedRowStaysCurrentInItsNewPlace)
{
    engine::Table t(&db, keyedByNumber());
    t.open();
    t.setIndexName(u"Nazev"_s);
    for (const auto &[cislo, nazev] : {std::pair{1, u"Cyril"_s}, {2, u"Adam"_s}, {3, u"Boris"_s}}) {
        t.append();
        t.field(u"Cislo"_s).setValue(cislo);
        t.field(u"Nazev"_s).setValue(nazev);
        t.field(u"Castka"_s).setValue(200);
        t.post();
        EXPECT_EQ(t.field(u"Cislo"_s).asInteger(), cislo);
    }
    t.first();
    t.edit();
    t.field(u"Nazev"_s).setValue(u"Žofie"_s);
    t.post();
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_EQ(t.field(u"Cislo"_s).asInteger(), 2);

    t.setFilter(u"Castka > 100"_s);
    t.setFiltered(true);
    t.first();  // Boris
    t.edit();
    t.field(u"Castka"_s).setValue(50);
    t.post();
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(t.field(u"Nazev"_s).asString(), u"Cyril"_s);
}

// A large register is read again before a check only when someone else wrote it: the own
// writes are in the rows already, every other connection's (another table over the file, a
// group write, another user) is seen.
TEST_F(EngineRows, RefreshIfChangedReadsAgainOnlyWhatAnotherConnectionWrote)
{
    engine::Table mine(&db, keyedByNumber()), theirs(&db, keyedByNumber());
    mine.open();
    theirs.open();
    const auto names = [](engine::Table &t) {
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out.append(t.field(u"Nazev"_s).asString());
        return out;
    };
    mine.append();
    mine.field(u"Cislo"_s).setValue(1);
    mine.field(u"Nazev"_s).setValue(u"Alois"_s);
    mine.post();
    EXPECT_FALSE(mine.refreshIfChanged());
    EXPECT_TRUE(theirs.refreshIfChanged());
    EXPECT_EQ(names(theirs), QStringList{u"Alois"_s});
    EXPECT_FALSE(theirs.refreshIfChanged());

    engine::GroupWrite write;
    write.insertValues(theirs, {{u"Cislo"_s, 2}, {u"Nazev"_s, u"Bohumil"_s}});
    write.commit();
    EXPECT_EQ(names(theirs), (QStringList{u"Alois"_s, u"Bohumil"_s}));
    EXPECT_FALSE(theirs.refreshIfChanged());
    EXPECT_TRUE(mine.refreshIfChanged());
    EXPECT_EQ(names(mine), (QStringList{u"Alois"_s, u"Bohumil"_s}));

    // A filter reads its rows at once; the next unchanged check reads nothing.
    theirs.setFilter(u"Cislo = 2"_s);
    theirs.setFiltered(true);
    EXPECT_EQ(names(theirs), QStringList{u"Bohumil"_s});
    EXPECT_FALSE(theirs.refreshIfChanged());
    mine.first();
    mine.deleteRecord();
    EXPECT_TRUE(theirs.refreshIfChanged());
    EXPECT_EQ(names(theirs), QStringList{u"Bohumil"_s});
    theirs.close();
    theirs.open();
    EXPECT_FALSE(theirs.refreshIfChanged());
}
