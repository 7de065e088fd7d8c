// The descriptions of tables and fields: docs/tables.md is what the program writes from them,
// every table and field is in it, and rur-cli tables and fields print the same.
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "data/TableGuide.h"
#include "engine/Table.h"
#include "support/run_cli.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using rur::testing::cli;

TEST(TableGuide, TheReferencePageIsUpToDateAndNamesEveryTableAndField)
{
    QFile file(QString::fromUtf8(RUR_SOURCE_DIR) + u"/docs/tables.md"_s);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "docs/tables.md";
    const QString page = QString::fromUtf8(file.readAll());

    // Each table as a section, each of its fields as a row of it.
    rur::data::TDM1 dm;
    QList<rur::engine::TableDef> defs;
    for (const rur::engine::Table *t : dm.tables())
        defs.append(t->def());
    defs << rur::data::catalogueDef() << rur::data::passwordsDef();
    for (const rur::engine::TableDef &def : defs) {
        SCOPED_TRACE(def.name.toStdString());
        const qsizetype at = page.indexOf(u"\n## "_s + def.name + u'\n');
        ASSERT_GE(at, 0) << "no section";
        const QString section = page.mid(at, page.indexOf(u"\n## "_s, at + 1) - at);
        for (const rur::engine::FieldDef &f : def.fields)
            EXPECT_TRUE(section.contains(u"\n| `"_s + f.name + u"` |"_s)) << f.name.toStdString();
    }
    EXPECT_TRUE(page == rur::data::tablesReferencePage())
        << "docs/tables.md differs from the descriptions: rur-cli tables --markdown > docs/tables.md";
}

TEST(TableGuide, FieldsShowTypeLengthLabelAndWhatAProcedureComputes)
{
    const auto line = [](const QString &table, const QString &field) {
        for (const QString &l : cli({u"fields"_s, table}).out.split(u'\n'))
            if (l.startsWith(field + u'\t'))
                return l;
        return QString();
    };
    // A typed text with its window's label; a copy a procedure keeps; a calculated line; the
    // label of a list window.
    EXPECT_EQ(line(u"Prp"_s, u"Tel"_s).section(u'\t', 0, 4), u"Tel\ttext\t12\tc) telefon\t"_s);
    EXPECT_EQ(line(u"Prp"_s, u"Oj1"_s).section(u'\t', 0, 4), u"Oj1\ttext\t23\t\tplní postup"_s);
    EXPECT_EQ(line(u"prp"_s, u"Tds"_s).section(u'\t', 1, 3), u"ano/ne\t\tTyp daň. subjektu"_s);
    EXPECT_EQ(line(u"Dtabn3"_s, u"S753"_s).section(u'\t', 0, 4), u"S753\tčíslo\t\tř. 64\t"_s);
    EXPECT_EQ(line(u"Dtabn3"_s, u"C753"_s).section(u'\t', 0, 4), u"C753\tčíslo\t\t\tpočítá se"_s);
    EXPECT_EQ(line(u"Mbzp"_s, u"Bai"_s).section(u'\t', 0, 3), u"Bai\ttext\t25\tBanka"_s);

    const auto unknown = cli({u"fields"_s, u"Prq"_s});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, u"Tabulka Prq neexistuje; seznam tabulek vypíše rur-cli tables.\n"_s);
    const QString tables = cli({u"tables"_s}).out;
    EXPECT_TRUE(tables.startsWith(u"Dcis\tSazby daně"_s)) << tables.toStdString();
    EXPECT_TRUE(tables.contains(u"\nData\tSeznam RUR v datovém adresáři"_s));
}
