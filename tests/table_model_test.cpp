#include "engine/Database.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "ui/TableModel.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;

// The list model over a table: consistent for Qt's model checker through re-reads, inserts,
// deletes and reorders, and showing values as the fields display them.
TEST(TableModel, FollowsTheTableAndShowsDisplayTexts)
{
    QTemporaryDir dir;
    engine::Database db(u"Danove"_s);
    db.setDirectory(dir.path());
    const engine::TableDef def = engine::TableDef(u"Seznam"_s, u"Seznam.DB"_s)
                                     .add({engine::integerField(u"Cislo"_s), engine::textField(u"Nazev"_s, 20),
                                           engine::floatField(u"Castka"_s, u"0.00"_s), engine::boolField(u"Ano"_s)})
                                     .primaryKey({u"Cislo"_s})
                                     .index(u"Nazev"_s, {u"Nazev"_s});
    engine::createTableFile(db.filePath(def.fileName), def,
                            {{{u"Cislo"_s, 2}, {u"Nazev"_s, u"Beta"_s}, {u"Castka"_s, 1234.5}, {u"Ano"_s, 1}},
                             {{u"Cislo"_s, 1}, {u"Nazev"_s, u"Alfa"_s}}});
    engine::Table table(&db, def);
    ui::TableModel model(&table, {{u"Cislo"_s, u"Číslo"_s}, {u"Nazev"_s, u"Název"_s}, {u"Castka"_s, u"Částka"_s},
                                  {u"Ano"_s, u"Tisk"_s}});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 0);  // closed table
    table.open();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), u"Název"_s);
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), u"1234,50"_s);
    EXPECT_EQ(model.data(model.index(1, 3)).toString(), u"ano"_s);
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QString());

    table.append();
    table.field(u"Cislo"_s).setValue(3);
    table.field(u"Nazev"_s).setValue(u"Aaa"_s);
    table.post();
    EXPECT_EQ(model.rowCount(), 3);
    table.setIndexName(u"Nazev"_s);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), u"Aaa"_s);
    table.first();
    table.deleteRecord();
    EXPECT_EQ(model.rowCount(), 2);
    table.close();
    EXPECT_EQ(model.rowCount(), 0);
}
