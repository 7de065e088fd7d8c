// Importing documents into the register: every section from one file, the cells a spreadsheet
// writes, and hostile or mistaken files, each refused with its line and column and the
// register left as it was.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/JsonRows.h"
#include "engine/Table.h"
#include "kh/CsvImport.h"
#include "kh/Register.h"
#include "support/test_root.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

const QByteArray kHeader = "oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek\n";

class RegisterImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
    }

    kh::ImportResult import(const QByteArray &bytes, bool replace = false)
    {
        const QString path = scratch.path() + u"/doklady.csv"_s;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        return kh::importRegisterCsv(dm, path, replace);
    }
    QString rows()
    {
        if (!dm.Dkh->isActive())
            dm.Dkh->open();
        return engine::rowsToJson(*dm.Dkh);
    }

    QTemporaryDir scratch;
    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
};

}  // namespace

TEST_F(RegisterImport, EverySectionComesInAsTheWindowWouldStoreIt)
{
    const QByteArray file = "\xEF\xBB\xBF" + kHeader
                            + "A1;CZ27082440;;;FV-A1;5.3.2018;50 000,00;;;;;;4;;;;\r\n"
                              "a2;;de;123 456 789;DE-77;06.03.2018;20000;4200;;;;;;;;;3\r\n"
                              "A3;;SK;2020202020;ZL-1;8.3.2018;300000;;;;;;;;;;\r\n"
                              "A4;27082440;;;\"FV;100 \"\"B\"\"\";9.3.2018;8264.46;1735.54;;;;;;0;n;;\r\n"
                              "A5;;;;;;5000;1050;;;1000;100;;;;;\r\n"
                              "B2;45274649;;;DF-200;13.3.2018;-30000;-6300;;;;;;;N;ano;\r\n"
                              "\r\n";
    const kh::ImportResult result = import(file);
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_EQ(result.rows, 6);
    const QList<kh::Document> docs = kh::readRegister(*dm.Dkh);
    ASSERT_EQ(docs.size(), 6);
    EXPECT_EQ(docs[0].dic, u"27082440"_s);
    EXPECT_EQ(docs[0].base[0], 5000000);
    EXPECT_EQ(docs[1].section, kh::Section::A2);
    EXPECT_EQ(docs[1].stat, u"DE"_s);
    EXPECT_EQ(docs[1].vatid, u"123456789"_s);
    EXPECT_EQ(docs[1].radek, 3);
    EXPECT_EQ(docs[3].doklad, u"FV;100 \"B\""_s);  // a quoted cell keeps its separator and quotes
    EXPECT_EQ(docs[3].oprava, u"N"_s);
    EXPECT_EQ(docs[3].rezim, u"0"_s);
    EXPECT_EQ(docs[3].base[0], 826446);
    EXPECT_EQ(docs[4].base[2], 100000);
    EXPECT_FALSE(docs[4].datum.isValid());
    EXPECT_EQ(docs[5].tax[0], -630000);
    EXPECT_EQ(docs[5].pomer, u"A"_s);
    // Where each row goes is the program's: the second A4 row of 10 000 Kč is summed in A5.
    dm.Dkh->goToRow(3);
    EXPECT_EQ(dm.Dkh->field(u"Kam"_s).asString(), u"A5"_s);
    dm.Dkh->goToRow(5);
    EXPECT_EQ(dm.Dkh->field(u"Kam"_s).asString(), u"B2"_s);

    // A second file adds its rows; --replace empties the register first.
    ASSERT_TRUE(import(kHeader + "B3;;;;X;1.3.2018;10;2,1;;;;;;;;;\n").error.isEmpty());
    EXPECT_EQ(dm.Dkh->recordCount(), 7);
    ASSERT_TRUE(import(kHeader + "B3;;;;Y;1.3.2018;10;2,1;;;;;;;;;\n", true).error.isEmpty());
    EXPECT_EQ(kh::readRegister(*dm.Dkh).value(0).doklad, u"Y"_s);
    EXPECT_EQ(dm.Dkh->recordCount(), 1);
    // Columns in another order are read by their names.
    ASSERT_TRUE(import("datum;oddil;zaklad1;dan1;radek;pomer;oprava;rezim;kod;dan3;zaklad3;dan2;zaklad2;doklad;vatid;stat;dic\n"
                       "2.3.2018;B3;20;4,2;;;;;;;;;;Z;;;\n")
                    .error.isEmpty());
    EXPECT_EQ(kh::readRegister(*dm.Dkh).value(1).base[0], 2000);
}

TEST_F(RegisterImport, ABadFileIsRefusedWholeWithItsLineAndColumn)
{
    ASSERT_TRUE(import(kHeader + "A4;27082440;;;FV-1;1.3.2018;20000;4200;;;;;;;;;\n").error.isEmpty());
    const QString before = rows();
    const QByteArray good = "A4;27082440;;;FV-2;1.3.2018;20000;4200;;;;;;;;;\n";
    const struct Case {
        const char *why;
        QByteArray file;
        const char16_t *error;
    } cases[] = {
        {"empty file", "", u"Soubor je prázdný, chybí v něm hlavička se sloupci."},
        {"header only blanks", "\n\n", u"Soubor je prázdný, chybí v něm hlavička se sloupci."},
        {"not UTF-8", kHeader + "A4;27082440;;;FV-\xE8;1.3.2018;1;;;;;;;;;;\n", u"Soubor není v kódování UTF-8."},
        {"unknown column",
         "oddil;dic;stat;vatid;doklad;datum;zaklad;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek\n" + good,
         u"Řádek 1: neznámý sloupec „zaklad“ v hlavičce. Hlavička má sloupce oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;"
         u"zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek."},
        {"missing column", "oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer\n" + good,
         u"Řádek 1: v hlavičce chybí sloupec radek."},
        {"column twice",
         "oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek;dic\n" + good,
         u"Řádek 1: sloupec dic je v hlavičce dvakrát."},
        {"a cell short", kHeader + good + "A4;27082440;;;FV-3;1.3.2018;20000;4200;;;;;;;;\n",
         u"Řádek 3: má 16 sloupců, hlavička 17."},
        {"three decimals", kHeader + good + "A4;27082440;;;FV-3;1.3.2018;20000;4200,125;;;;;;;;;\n",
         u"Řádek 3, sloupec dan1: daň 1 musí být částka s nejvýše dvěma desetinnými místy („4200,125“)."},
        {"no date", kHeader + good + "A4;27082440;;;FV-3;2018-03-01;20000;4200;;;;;;;;;\n",
         u"Řádek 3, sloupec datum: datum musí být datum ve tvaru d.m.rrrr („2018-03-01“)."},
        {"foreign DIČ", kHeader + good + "B2;SK2020202020;;;DF-1;1.3.2018;20000;4200;;;;;;;;;\n",
         u"Řádek 3, sloupec dic: DIČ musí být číselná část DIČ (nejvýše 10 číslic) („SK2020202020“)."},
        {"no section", kHeader + good + ";27082440;;;FV-3;1.3.2018;20000;4200;;;;;;;;;\n",
         u"Řádek 3, sloupec oddil: chybí oddíl (A1 až B3)."},
        {"a cell the section lacks", kHeader + good + "A1;27082440;;;FV-3;1.3.2018;20000;4200;;;;;4;;;;\n",
         u"Řádek 3, sloupec dan1: oddíl A1 nemá údaj „daň 1“; buňka má zůstat prázdná."},
        {"line of the return outside A2", kHeader + good + "A4;27082440;;;FV-3;1.3.2018;20000;4200;;;;;;;;;3\n",
         u"Řádek 3, sloupec radek: oddíl A4 nemá údaj „řádek přiznání“; buňka má zůstat prázdná."},
        {"open quote", kHeader + good + "A4;27082440;;;\"FV-3;1.3.2018;20000;4200;;;;;;;;;\n",
         u"Řádek 3: uvozovky nejsou uzavřeny."},
        // A quoted line break belongs to its cell: the fault is named on the line the row began.
        {"line break in a cell", kHeader + "A4;27082440;;;\"FV\n4\";1.3.2018;20000;x;;;;;;;;;\n" + good,
         u"Řádek 2, sloupec dan1: daň 1 musí být částka s nejvýše dvěma desetinnými místy („x“)."},
    };
    // Rows go into the register as they are read: a fault after good rows takes back those
    // rows, and with --replace the deletion of the register's own.
    for (const bool replace : {false, true}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.why) + (replace ? ", replacing" : ""));
            const kh::ImportResult result = import(c.file, replace);
            EXPECT_EQ(result.error, QString::fromUtf16(c.error));
            EXPECT_EQ(result.rows, 0);
            dm.Dkh->refresh();
            EXPECT_EQ(rows(), before);
        }
    }
    // A file that is not there, or is a folder.
    EXPECT_EQ(kh::importRegisterCsv(dm, scratch.path() + u"/chybi.csv"_s, false).error,
              u"Soubor "_s + scratch.path() + u"/chybi.csv nelze přečíst."_s);
    EXPECT_FALSE(kh::importRegisterCsv(dm, scratch.path(), false).error.isEmpty());
    EXPECT_EQ(rows(), before);
}

TEST_F(RegisterImport, AnImportKilledHalfWayLeavesTheRegisterAsItWas)
{
    QByteArray file = kHeader;
    for (int i = 0; i < 200; ++i)
        file += "B2;45274649;;;DF-" + QByteArray::number(i) + ";1.3.2018;20000;4200;;;;;;;;;\n";
    ASSERT_TRUE(import(kHeader + "B3;;;;X;1.3.2018;10;2,1;;;;;;;;;\n").error.isEmpty());
    const QString before = rows();
    ASSERT_TRUE(rur::testing::killedAt("group:between", [&] { import(file, true); }));
    dm.Dkh->refresh();
    EXPECT_EQ(rows(), before);
}
