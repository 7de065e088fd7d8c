// rur-cli as an accountant's script drives it: a text longer than its field, a question the
// command has no answer for, messages apart from results, a folder the user names, a missing
// data root, the numbers of the ABO file, the help of the window program.
#include "data/DataM1.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "support/filled_return.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using rur::testing::cli;
using rur::testing::CliResult;

namespace {

class CliScripting : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.createDataSet(u"D1"_s);
        root.addCatalogueRow(1, u"Alfa"_s);
    }
    CliResult run(const QStringList &args) { return cli(QStringList{u"--root"_s, root.path()} + args); }
    QJsonObject row(const QString &table)
    {
        return QJsonDocument::fromJson(run({u"show"_s, u"D1"_s, table}).out.toUtf8()).object();
    }
    // Every file of the data root and of D1 but the lock files, for "nothing changed".
    QMap<QString, QByteArray> files()
    {
        QMap<QString, QByteArray> all = rur::testing::snapshot(root.path(), true);
        all.removeIf([](const auto &file) { return file.key().endsWith(u".lck"_s, Qt::CaseInsensitive); });
        return all;
    }

    rur::testing::TestRoot root;
};

TEST_F(CliScripting, ATextLongerThanItsFieldIsRefusedByItsLabelAndNothingIsStored)
{
    const QString email = QString(60, u'a') + u"@b.cz"_s + u'x';  // 66 characters
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        // The taxpayer's phone holds 12 characters, as the 12 boxes of the form.
        {{u"set"_s, u"D1"_s, u"Prp"_s, u"Tel=+420 541 000 111"_s}, u"Text pro pole „c) telefon“ může mít nejvýše 12 znaků."_s},
        // The first text fits, the second does not: neither is stored.
        {{u"set"_s, u"D1"_s, u"Prp"_s, u"Tel=541000111"_s, u"Emlx="_s + email},
         u"Text pro pole „f) e-mail“ může mít nejvýše 65 znaků."_s},
        {{u"set"_s, u"D1"_s, u"Prp"_s, u"Poznod=OD"_s}, u"Text pro pole „Textová příloha“ může mít nejvýše 1 znak."_s},
        // A list window's label; the row is not added.
        {{u"append"_s, u"D1"_s, u"Mbzp"_s, u"Pc=5"_s, u"Bai="_s + QString(26, u'B')},
         u"Text pro pole „Banka“ může mít nejvýše 25 znaků."_s},
        {{u"create"_s, u"Pekárna Dvořák s.r.o."_s}, u"Text pro pole „Název RUR“ může mít nejvýše 20 znaků."_s},
        {{u"rename"_s, u"1"_s, u"Pekárna Dvořák s.r.o."_s}, u"Text pro pole „Název RUR“ může mít nejvýše 20 znaků."_s},
    };
    const QMap<QString, QByteArray> before = files();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliResult r = run(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, c.message + u'\n');
        EXPECT_EQ(r.out, QString());
        EXPECT_TRUE(files() == before) << "something was stored";
    }
    // What fits, to the last character, is typed as it is.
    ASSERT_EQ(run({u"set"_s, u"D1"_s, u"Prp"_s, u"Tel=+42054100011"_s}).exitCode, 0);
    EXPECT_EQ(row(u"Prp"_s).value(u"Tel"_s).toString(), u"+42054100011"_s);
    const CliResult created = run({u"create"_s, u"Pekárna Dvořák s.r.o"_s});
    EXPECT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_EQ(created.out, u"D2\n"_s);
}

TEST_F(CliScripting, SavingAPeriodAlreadySavedAsksTheWindowsQuestionAndStopsWithThree)
{
    ASSERT_EQ(run({u"save-return"_s, u"D1"_s}).exitCode, 0);  // January, not saved yet: no question
    // Back to January, as a user who corrects it.
    rur::testing::withDataSet(root, [](rur::data::TDM1 &dm) {
        rur::testing::setRow(*dm.Prp, {{u"M"_s, u"leden"_s}, {u"Cislo"_s, 1}});
    });
    const QMap<QString, QByteArray> before = files();
    const QString question = u"RUR za leden je uloženo. Přepsat ?\n"_s;
    for (const char16_t *command : {u"save-return", u"save-last"}) {
        SCOPED_TRACE(QString::fromUtf16(command).toStdString());
        const CliResult r = run({QString::fromUtf16(command), u"D1"_s});
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_EQ(r.err, question + u"Příkaz na otázku nezná odpověď, nic neprovedl; odpovězte volbou --overwrite yes "
                                    u"nebo --overwrite no.\n"_s);
        EXPECT_EQ(r.out, QString());
        EXPECT_TRUE(files() == before) << "nothing may change";
    }
    CliResult r = run({u"save-return"_s, u"D1"_s, u"--overwrite"_s, u"no"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, u"Období je uloženo, nic nebylo uloženo.\n"_s);
    EXPECT_TRUE(files() == before);
    r = run({u"save-return"_s, u"D1"_s, u"--overwrite"_s, u"yes"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, u"RUR za leden bylo přepsáno.\n"_s);
    EXPECT_EQ(r.out, QString());

    EXPECT_TRUE(cli({u"--help"_s}).out.contains(u"3 otázka, na kterou příkaz nezná odpověď"_s));
    EXPECT_TRUE(cli({u"save-return"_s, u"--help"_s}).out.contains(u"skončí kódem 3"_s));
}

TEST_F(CliScripting, MessagesGoToStderrAndStdoutCarriesOnlyTheResult)
{
    // The data set in use by another program: show prints no JSON and no sentence on stdout.
    rur::testing::withDataSet(root, [this](rur::data::TDM1 &) {
        const CliResult r = run({u"show"_s, u"D1"_s, u"Prp"_s});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, QString());
        EXPECT_EQ(r.err, u"Toto RUR právě zpracovává jiný uživatel.\n"_s);
    });
    // A procedure's result is the path alone; what it tells the user goes to stderr.
    const QString archive = root.path() + u"zaloha.zip"_s;
    const CliResult r = run({u"backup"_s, u"D1"_s, archive});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, archive + u'\n');
    EXPECT_EQ(r.err, u"Data byla zazálohována.\n"_s);
}

TEST_F(CliScripting, DeleteSaysWhatItDidAndWantsYesForFinishedReturns)
{
    ASSERT_EQ(run({u"create"_s, u"Beta"_s}).exitCode, 0);
    CliResult r = run({u"delete"_s, u"2"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QString());
    EXPECT_EQ(r.err, u"RUR Beta bylo smazáno.\n"_s);
    EXPECT_FALSE(QFileInfo::exists(root.dataSet(u"D2"_s)));

    ASSERT_EQ(run({u"save-return"_s, u"D1"_s}).exitCode, 0);
    const QMap<QString, QByteArray> before = files();
    r = run({u"delete"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, u"RUR Alfa obsahuje hotová přiznání (1). Opravdu smazat RUR Alfa ?\n"
                     u"Příkaz na otázku nezná odpověď, nic neprovedl; odpovězte volbou --yes.\n"_s);
    EXPECT_TRUE(files() == before);
    r = run({u"delete"_s, u"1"_s, u"--yes"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, u"RUR Alfa bylo smazáno.\n"_s);
    EXPECT_EQ(run({u"sets"_s}).out, QString());
}

TEST_F(CliScripting, AFileTheUserNamesGoesOnlyIntoAnExistingFolder)
{
    QTemporaryDir work;
    const QString missing = work.path() + u"/chybi/dalsi"_s;
    const QStringList commands[] = {
        {u"backup"_s, u"D1"_s, missing + u"/zaloha.zip"_s},
        {u"xml"_s, u"D1"_s, u"--out"_s, missing + u"/DPHDP3.xml"_s},
        {u"abo"_s, u"D1"_s, u"--out"_s, missing + u"/prikazy.kpc"_s},
        {u"print"_s, u"D1"_s, u"strana1"_s, u"--pdf"_s, missing + u"/strana1.pdf"_s},
    };
    for (const QStringList &args : commands) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, u"Adresář "_s + missing + u" neexistuje.\n"_s);
        EXPECT_FALSE(QFileInfo::exists(work.path() + u"/chybi"_s));
    }
}

TEST_F(CliScripting, AboNumbersAreThoseTheWindowTakesAndTheFileRefusesOthers)
{
    const QString ini = root.dataSet() + u"D1.ini"_s;
    // Three digits at most, no sign: each refused with nothing stored. (Not a number at all
    // gives the window's default.)
    const QMap<QString, QByteArray> before = files();
    const struct {
        QStringList args;
        const char16_t *option;
    } refused[] = {{{u"--from"_s, u"998"_s, u"--to"_s, u"5000"_s, u"--next"_s, u"999"_s}, u"--to"},
                   {{u"--from"_s, u"-5"_s}, u"--from"},
                   {{u"--next"_s, u"1000"_s}, u"--next"}};
    for (const auto &c : refused) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliResult r = run(QStringList{u"abo-settings"_s, u"D1"_s} + c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, u"Číslo "_s + QString::fromUtf16(c.option)
                             + u" musí být celé číslo od 0 do 999, jaké vezme okno nastavení ABO.\n"_s);
        EXPECT_TRUE(files() == before);
    }
    // A value an older data set kept: a message, no file.
    {
        rur::platform::IniFile settings(ini);
        ASSERT_TRUE(settings.writeInteger(u"BankaABO"_s, u"UcetniSouboryDo"_s, 5000));
    }
    ASSERT_EQ(run({u"set"_s, u"D1"_s, u"Mtt"_s, u"Cui=123-4567890"_s, u"Kbi=0100"_s}).exitCode, 0);
    ASSERT_EQ(run({u"append"_s, u"D1"_s, u"Mban"_s, u"Cu2=987654321"_s, u"Kod=0800"_s, u"Vs=1"_s, u"Ks=0308"_s,
                   u"Ca=1000"_s, u"Ds=30.04.2099"_s})
                  .exitCode,
              0);
    const QString file = root.path() + u"prikazy.kpc"_s;
    const CliResult r = run({u"abo"_s, u"D1"_s, u"--out"_s, file, u"--keep"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Číslování účetních souborů v nastavení ABO (od 1 do 5000, další 1) musí ležet v rozsahu 0 až "
                     u"999. Opravte je v okně Nastavení formátu ABO; soubor nebyl vytvořen.\n"_s);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(CliScripting, WithoutADataRootTheMessageSaysHowToMakeOne)
{
    const QString message =
        u"Adresář s daty neexistuje. Vytvořte ho příkazem rur --install-data nebo rur-cli init ADRESÁŘ.\n"_s;
    for (const QStringList &args : {QStringList{u"--root"_s, root.path() + u"chybi"_s, u"sets"_s},
                                    QStringList{u"--root"_s, root.path() + u"chybi"_s, u"open"_s, u"D1"_s},
                                    QStringList{u"info"_s}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliResult r = cli(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, message);
    }
    // Under --root the special folders are still the system's: where the default paths lead.
    const CliResult r = run({u"info"_s});
    EXPECT_TRUE(r.out.contains(u"\nCommon AppData: /nonexistent-rur-test\n"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\nPersonal: "_s + QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)))
        << r.out.toStdString();
}

TEST_F(CliScripting, LedgerOrderFromASlotWithoutADateSaysSo)
{
    const CliResult r = run({u"ledger"_s, u"D1"_s, u"--prikaz"_s, u"7"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.section(u'\n', 0, 0), u"Do příkazu k úhradě: daň 0 Kč, bez data splatnosti (období 7 nemá datum)."_s);
}

// The window program answers --help and --version on the terminal: no display, no data root.
TEST(WindowProgram, HelpAndVersionNeedNoDisplayAndTouchNoData)
{
    QTemporaryDir home;
    const struct {
        const char *option;
        QString start;
    } cases[] = {{"--help", u"rur: přiznání k RUR"_s}, {"--version", u"rur 17.00\n"_s}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.option);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char16_t *display : {u"DISPLAY", u"WAYLAND_DISPLAY", u"QT_QPA_PLATFORM"})
            env.remove(QString::fromUtf16(display));
        env.insert(u"XDG_DATA_HOME"_s, home.path());
        p.setProcessEnvironment(env);
        p.start(QString::fromUtf8(RUR_PATH), {QString::fromLatin1(c.option)});
        ASSERT_TRUE(p.waitForFinished(20000)) << "the window program started";
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).startsWith(c.start));
        EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
    EXPECT_EQ(cli({u"--version"_s}).out, u"rur-cli 17.00\n"_s);
}

}  // namespace
