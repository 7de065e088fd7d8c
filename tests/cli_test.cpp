#include "support/run_cli.h"
#include "support/test_root.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Result = rur::testing::CliResult;
using rur::testing::cli;

}  // namespace

TEST(Cli, InitCreatesACompleteDataRoot)
{
    QTemporaryDir dir;
    const QString root = dir.path() + u"/novy"_s;
    const Result r = cli({u"init"_s, root});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const char16_t *file : {u"Data.DB", u"Uziv.DB", u"Dph.ini", u"Data/Verze.ini", u"Data/Data.DB",
                                 u"Data/Uziv.DB", u"Data/Prp.DB", u"Data/Dzal1.DB", u"Data/Prppz.DB"})
        EXPECT_TRUE(QFile::exists(root + u'/' + QString::fromUtf16(file))) << QString::fromUtf16(file).toStdString();
    QFile version(root + u"/Data/Verze.ini"_s);
    ASSERT_TRUE(version.open(QIODevice::ReadOnly));
    EXPECT_TRUE(version.readAll().contains("Data=1700"));
}

TEST(Cli, ShowPrintsRowsAsJsonAndOpenAcceptsNumbersAndDirectories)
{
    rur::testing::TestRoot root;
    root.createDataSet(u"D1"_s);
    root.createDataSet(u"D7"_s);
    root.addCatalogueRow(1, u"První"_s);

    Result r = cli({u"--root"_s, root.path(), u"open"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    r = cli({u"--root"_s, root.path(), u"open"_s, u"D7"_s});  // not in the catalogue
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({u"--root"_s, root.path(), u"open"_s, u"7"_s});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.trimmed(), u"RUR číslo 7 není v seznamu."_s);

    r = cli({u"--root"_s, root.path(), u"show"_s, u"1"_s, u"Prp"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject prp = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(prp.value(u"M"_s).toString(), u"leden"_s);
    EXPECT_EQ(prp.value(u"Cislo"_s).toInt(), 1);
    EXPECT_TRUE(prp.value(u"P1"_s).toBool());
    EXPECT_TRUE(prp.value(u"Q"_s).isNull());
    EXPECT_TRUE(prp.contains(u"Obd"_s));  // calculated fields are listed too

    r = cli({u"--root"_s, root.path(), u"show"_s, u"D1"_s, u"Dmt"_s});
    const QJsonObject dmt = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(dmt.value(u"Trh1"_s).toString(), u"vybranou stránku"_s);
    EXPECT_EQ(dmt.value(u"Vln"_s).toInt(), 8);

    r = cli({u"--root"_s, root.path(), u"show"_s, u"D1"_s, u"Mban"_s, u"--all"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QJsonDocument::fromJson(r.out.toUtf8()).array().isEmpty());
    r = cli({u"--root"_s, root.path(), u"show"_s, u"D1"_s, u"Dcis"_s, u"--all"_s});
    const QJsonArray rates = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rates.size(), 1);
    EXPECT_EQ(rates[0].toObject().value(u"Hd"_s).toDouble(), 21.0);

    r = cli({u"--root"_s, root.path(), u"show"_s, u"D1"_s, u"Nic"_s});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.trimmed(), u"Tabulka Nic neexistuje."_s);
}

TEST(Cli, ADamagedTableFailsWithTheProgramsMessage)
{
    rur::testing::TestRoot root;
    root.createDataSet();
    QFile dmt(root.dataSet() + u"Dmt.DB"_s);
    ASSERT_TRUE(dmt.open(QIODevice::WriteOnly | QIODevice::Truncate));
    dmt.write(QByteArray(3000, '\x42'));
    dmt.close();
    const Result r = cli({u"--root"_s, root.path(), u"open"_s, u"D1"_s});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.trimmed(), u"Nepodařilo se otevřít všechny tabulky.\nTabulka Dmt.DB je poškozená nebo nečitelná."_s);

    const Result noRoot = cli({u"--root"_s, root.path() + u"chybi"_s, u"open"_s, u"D1"_s});
    EXPECT_NE(noRoot.exitCode, 0);
    EXPECT_EQ(noRoot.err.trimmed(),
              u"Adresář s daty neexistuje. Vytvořte ho příkazem rur --install-data nebo rur-cli init ADRESÁŘ."_s);
    EXPECT_EQ(cli({u"neznámý"_s}).exitCode, 2);
}

TEST(Cli, CatalogueCommandsAndPasswords)
{
    QTemporaryDir dir;
    const QString root = dir.path() + u"/r"_s;
    ASSERT_EQ(cli({u"init"_s, root}).exitCode, 0);
    const auto run = [&](QStringList args) {
        args.prepend(root);
        args.prepend(u"--root"_s);
        return cli(args);
    };
    EXPECT_EQ(run({u"create"_s, u"Beta"_s}).out.trimmed(), u"D1"_s);
    EXPECT_EQ(run({u"create"_s, u"Alfa"_s}).out.trimmed(), u"D2"_s);
    EXPECT_EQ(run({u"sets"_s}).out, u"1\tBeta\tD1\n2\tAlfa\tD2\n"_s);
    ASSERT_EQ(run({u"rename"_s, u"D1"_s, u"Gama"_s}).exitCode, 0);

    ASSERT_EQ(run({u"password"_s, u"2"_s, u"Tajne"_s}).exitCode, 0);
    Result r = run({u"open"_s, u"2"_s});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.trimmed(), u"Neplatné heslo pro toto RUR."_s);
    EXPECT_NE(run({u"--password"_s, u"tajne"_s, u"open"_s, u"2"_s}).exitCode, 0);
    EXPECT_EQ(run({u"--password"_s, u"Tajne"_s, u"open"_s, u"2"_s}).exitCode, 0);
    EXPECT_NE(run({u"delete"_s, u"2"_s}).exitCode, 0);
    EXPECT_NE(run({u"password"_s, u"2"_s, u"--old"_s, u"spatne"_s, u""_s}).exitCode, 0);
    ASSERT_EQ(run({u"password"_s, u"2"_s, u"--old"_s, u"Tajne"_s, u""_s}).exitCode, 0);
    EXPECT_EQ(run({u"open"_s, u"2"_s}).exitCode, 0);

    ASSERT_EQ(run({u"delete"_s, u"2"_s}).exitCode, 0);
    EXPECT_EQ(run({u"sets"_s}).out, u"1\tGama\tD1\n"_s);
    EXPECT_FALSE(QFile::exists(root + u"/D2/Dcis.DB"_s));
    EXPECT_NE(run({u"delete"_s, u"7"_s}).exitCode, 0);
}

TEST(Cli, NumbersPrintAsPlainDecimalsAndProceduresTellTheirResult)
{
    rur::testing::TestRoot root;
    root.createDataSet(u"D1"_s);
    root.addCatalogueRow(1, u"První"_s);
    const auto run = [&](QStringList args) { return cli(QStringList{u"--root"_s, root.path()} + args); };
    ASSERT_EQ(run({u"set"_s, u"1"_s, u"Dtabn1"_s, u"C210=100000"_s, u"C215=-2500000"_s}).exitCode, 0);
    const QString json = run({u"show"_s, u"1"_s, u"Dtabn1"_s}).out;
    EXPECT_TRUE(json.contains(u"\"C210\": 100000,"_s)) << json.toStdString();
    EXPECT_TRUE(json.contains(u"\"C215\": -2500000,"_s));
    EXPECT_FALSE(json.contains(u"e+"_s));
    ASSERT_EQ(run({u"set"_s, u"1"_s, u"Prp"_s, u"K1=0,85"_s}).exitCode, 0);
    EXPECT_TRUE(run({u"show"_s, u"1"_s, u"Prp"_s}).out.contains(u"\"K1\": 0.85,"_s));

    const Result cleared = run({u"clear-period"_s, u"1"_s});
    EXPECT_EQ(cleared.exitCode, 0);
    EXPECT_EQ(cleared.err.trimmed(), u"Období bylo vymazáno."_s);
    EXPECT_EQ(run({u"clear-year"_s, u"1"_s}).err.trimmed(), u"Zápisy byly vymazány."_s);
}
