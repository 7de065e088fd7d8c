// rur-cli and the control statement: a register imported, shown and appended to, checked,
// transferred into the return and written as a file, and its list printed.
#include "support/pdf_text.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using rur::testing::cli;
using rur::testing::CliResult;

namespace {

class CliStatement : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.createDataSet(u"D1"_s);
        root.addCatalogueRow(1, u"Alfa"_s);
        // A company's March 2018 at the rates of the templates.
        ASSERT_EQ(run({u"set"_s, u"1"_s, u"Prp"_s, u"M=březen"_s, u"Cislo=3"_s, u"R=2018"_s, u"Dic=CZ12345678"_s,
                       u"Ddp=20.4.2018"_s})
                      .exitCode,
                  0);
    }
    CliResult run(const QStringList &args) { return cli(QStringList{u"--root"_s, root.path()} + args); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = scratch.path() + u'/' + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QJsonArray register_()
    {
        const CliResult r = run({u"show"_s, u"1"_s, u"Dkh"_s, u"--all"_s});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).array();
    }

    rur::testing::TestRoot root;
    QTemporaryDir scratch;
};

}  // namespace

TEST_F(CliStatement, FromImportToFileThroughCheckAndTransfer)
{
    const QString csv = write(u"brezen.csv"_s,
                              "oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek\n"
                              "A4;CZ27082440;;;FV-1;5.3.2018;100000;21000;;;;;;;;;\n"
                              "A4;27082440;;;FV-2;6.3.2018;1000;210;;;;;;;;;\n");
    CliResult r = run({u"kh-import"_s, u"1"_s, csv});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), u"Počet dokladů načtených do rejstříku kontrolního hlášení: 2 (v rejstříku celkem 2)."_s);
    // As a window types it: "CZ" dropped; where the row goes shown beside it.
    r = run({u"append"_s, u"1"_s, u"Dkh"_s, u"Oddil=b2"_s, u"Dic=CZ45274649"_s, u"Doklad=DF-1"_s, u"Datum=7.3.2018"_s,
             u"Zaklad1=20000"_s, u"Dan1=4200"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = run({u"append"_s, u"1"_s, u"Dkh"_s, u"Oddil=B7"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Oddíl musí být A1, A2, A3, A4, A5, B1, B2 nebo B3, ne „B7“."_s)) << r.err.toStdString();
    const QJsonArray rows = register_();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject().value(u"Dic"_s).toString(), u"27082440"_s);
    EXPECT_EQ(rows[0].toObject().value(u"Kam"_s).toString(), u"A4"_s);
    EXPECT_EQ(rows[1].toObject().value(u"Kam"_s).toString(), u"A5"_s);
    EXPECT_EQ(rows[2].toObject().value(u"Oddil"_s).toString(), u"B2"_s);
    EXPECT_EQ(rows[2].toObject().value(u"Dic"_s).toString(), u"45274649"_s);

    // The empty return disagrees with the register on lines 1 and 40.
    r = run({u"kh-check"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(u"Chyba: ř. 1 (Dtabn1.C210): přiznání 0 Kč, kontrolní hlášení 101 000 Kč.\n"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"Chyba: ř. 40 (Dtabn2.C310): přiznání 0 Kč, kontrolní hlášení 20 000 Kč.\n"_s)) << r.out.toStdString();

    r = run({u"kh-transfer"_s, u"1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"Údaje kontrolního hlášení byly přeneseny do přiznání."_s)) << r.err.toStdString();
    r = run({u"show"_s, u"1"_s, u"Dtabn1"_s});
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object().value(u"C210"_s).toDouble(), 101000.0);
    r = run({u"kh-check"_s, u"1"_s});
    EXPECT_FALSE(r.out.contains(u"ř. 1 ("_s)) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u"ř. 40 ("_s)) << r.out.toStdString();

    // The file where --out says, in the form asked for.
    const QString out = scratch.path() + u"/KH.xml"_s;
    r = run({u"kh-xml"_s, u"1"_s, u"--out"_s, out, u"--forma"_s, u"N"_s, u"--zjisteno"_s, u"2.5.2018"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), out);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray xml = file.readAll();
    EXPECT_TRUE(xml.contains("khdph_forma=\"N\" d_zjist=\"02.05.2018\""));
    EXPECT_TRUE(xml.contains("<VetaA4 c_radku=\"1\" dic_odb=\"27082440\" c_evid_dd=\"FV-1\""));
    EXPECT_TRUE(xml.contains("<VetaA5 zakl_dane1=\"1000\" dan1=\"210\"/>"));
    EXPECT_EQ(run({u"kh-xml"_s, u"1"_s, u"--forma"_s, u"X"_s}).exitCode, 1);
    r = run({u"kh-check"_s, u"1"_s, u"--zjisteno"_s, u"31.2.2018"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"„31.2.2018“ není platné datum"_s)) << r.err.toStdString();

    // The list of the register as a PDF.
    const QString pdf = scratch.path() + u"/rejstrik.pdf"_s;
    r = run({u"print"_s, u"1"_s, u"kh"_s, u"--pdf"_s, pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const rur::testing::PdfText text(pdf);
    ASSERT_TRUE(text.valid()) << text.error().toStdString();
    QStringList words;
    for (const rur::testing::PdfWord &w : text.words(0))
        words.append(w.text);
    EXPECT_TRUE(words.contains(u"REJSTŘÍK"_s)) << words.join(u' ').toStdString();
    EXPECT_TRUE(words.contains(u"FV-2"_s));
    EXPECT_TRUE(words.contains(u"100000,00"_s)) << words.join(u' ').toStdString();
}

TEST_F(CliStatement, ABadFileNamesItsCellAndLoadsNothing)
{
    const QString csv = write(u"spatne.csv"_s,
                              "oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek\n"
                              "A4;27082440;;;FV-1;5.3.2018;100000;21000;;;;;;;;;\n"
                              "A4;27082440;;;FV-2;6.3.2018;1000;21O;;;;;;;;;\n");
    const CliResult r = run({u"kh-import"_s, u"1"_s, csv});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Řádek 3, sloupec dan1: daň 1 musí být částka s nejvýše dvěma desetinnými místy („21O“).\n"
                     u"Nebyl načten žádný doklad.\n"_s);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(register_().isEmpty());
}
