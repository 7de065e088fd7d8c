// The rules of the print centre that need no window: its settings in the data-set ini, the
// printer they choose, the pages "Tisk" prints, the course of a printout with its failures,
// the marks of the address book, and rur-cli's printing with copies.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/PrintCentreLayout.h"
#include "print/PrintJobs.h"
#include "print/PrintMessages.h"
#include "print/PrintSettings.h"
#include "support/filled_return.h"
#include "support/gui_app.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::cli;
using rur::testing::CliResult;
using rur::testing::setRow;

namespace {

// The status bar of the main window, as the data module writes to it.
class StatusRecorder : public data::StatusDisplay {
public:
    void setStatusText(int panel, const QString &text) override { texts.append({panel, text}); }
    void setCaption(const QString &) override {}
    QList<std::pair<int, QString>> texts;
};

// Counts the hourglass: every "busy" must be followed by its "not busy".
class CountingPrompter : public platform::ScriptedPrompter {
public:
    void setBusy(bool busy) override { depth += busy ? 1 : -1; }
    int depth = 0;
};

class PrintJobs : public ::testing::Test {
protected:
    void SetUp() override
    {
        rur::testing::ensureGuiApplication();
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dm.setStatusDisplay(&status);
    }
    void TearDown() override { dm.setStatusDisplay(nullptr); }

    bool allOpenAndBrowsing()
    {
        for (engine::Table *t : {dm.Dmt.get(), dm.Mtt.get(), dm.Prp.get()})
            if (!t->isActive() || t->isEditing())
                return false;
        return true;
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    StatusRecorder status;
    CountingPrompter prompter;
};


}  // namespace

TEST(PrintSettings, ReadWriteAndTheStoredPrinterWhileItExists)
{
    rur::testing::TestRoot root;
    platform::IniFile ini(root.path() + u"D1.ini"_s);
    print::PrintSettings s = print::readPrintSettings(ini);
    EXPECT_FALSE(s.f6Prints);
    EXPECT_TRUE(s.useDefault);
    EXPECT_EQ(s.activePage, 1);
    EXPECT_FALSE(s.place.has_value());

    // The printer is stored only while the data set keeps its own.
    s.f6Prints = true;
    ASSERT_TRUE(print::writePrintSettings(ini, s, u"Kancelář"_s));
    EXPECT_EQ(ini.readString(u"Tisk"_s, u"Tiskarna"_s), QString());
    s.useDefault = false;
    ASSERT_TRUE(print::writePrintSettings(ini, s, u"Kancelář"_s));
    ASSERT_TRUE(print::writePrintCentrePlace(ini, {95, 82}, 2));
    // The "Tiskárna" page is not remembered as the page to open.
    ASSERT_TRUE(print::writePrintCentrePlace(ini, {10, 20}, 0));
    const print::PrintSettings back = print::readPrintSettings(platform::IniFile(ini.path()));
    EXPECT_TRUE(back.f6Prints);
    EXPECT_FALSE(back.useDefault);
    EXPECT_EQ(back.printer, u"Kancelář"_s);
    EXPECT_EQ(back.activePage, 2);
    EXPECT_EQ(back.place, QPoint(10, 20));
    EXPECT_EQ(ini.readString(u"Tisk"_s, u"Vychozi"_s), u"0"_s);

    // A printer that is gone gives the default one; with the default chosen the current stays.
    const QStringList installed = {u"Kancelář"_s, u"Sklad"_s};
    EXPECT_EQ(print::choosePrinter(back, installed, u"Sklad"_s, u"Sklad"_s), u"Kancelář"_s);
    EXPECT_EQ(print::choosePrinter(back, {u"Sklad"_s}, u"Sklad"_s, QString()), u"Sklad"_s);
    EXPECT_EQ(print::choosePrinter(back, {}, QString(), u"Kancelář"_s), QString());
    print::PrintSettings byDefault = back;
    byDefault.useDefault = true;
    EXPECT_EQ(print::choosePrinter(byDefault, installed, u"Sklad"_s, u"Kancelář"_s), u"Kancelář"_s);

    // The set-up dialog may list "name on port".
    EXPECT_EQ(print::printerFromSetup(u"kancelář on LPT1:"_s, installed), u"Kancelář"_s);
    EXPECT_EQ(print::printerFromSetup(u"Sklad"_s, installed), u"Sklad"_s);
    EXPECT_EQ(print::printerFromSetup(u"HP on 2. patro on USB"_s, {u"HP on 2. patro"_s}), u"HP on 2. patro"_s);

    EXPECT_EQ(print::defaultPrintCentrePlace(640), QPoint(15, 0));
    EXPECT_EQ(print::defaultPrintCentrePlace(1024), QPoint(95, 82));
}

TEST(PrintCentreLayout, TreesPanelsAndThePagesEachRangePrints)
{
    QStringList captions;
    for (const print::PrintNode &n : print::komfortNodes())
        captions.append(QString::number(n.level) + n.caption);
    EXPECT_EQ(captions, (QStringList{u"0Příkazy do banky"_s, u"1Daň"_s, u"0Dokumenty - dopisy"_s,
                                     u"1Tisk dokumentů - dopisů"_s, u"0Tisk z adresáře"_s, u"1Obálky DL"_s,
                                     u"1Obálky C5"_s}));
    QStringList panels;
    for (int n = 0; n < 7; ++n)
        panels.append(print::komfortPanelName(print::komfortPanelOf(n)));
    EXPECT_EQ(panels, (QStringList{u"Dan"_s, u"Dan"_s, u"Dokumenty"_s, u"Dokumenty"_s, u"Obalky"_s, u"Obalky"_s,
                                   u"Obalky"_s}));

    using print::pagesToPrint;
    EXPECT_EQ(pagesToPrint(u"vybranou stránku"_s, 2), QList<int>{2});
    EXPECT_EQ(pagesToPrint(u"všechny stránky"_s, 2), (QList<int>{1, 2}));
    EXPECT_EQ(pagesToPrint(u"liché stránky"_s, 2), QList<int>{1});
    EXPECT_EQ(pagesToPrint(u"sudé stránky"_s, 1), QList<int>{2});
    EXPECT_EQ(pagesToPrint(QString(), 1), QList<int>{1});
}

TEST_F(PrintJobs, APrintoutPostsTheTablesAndClearsTheStatusAfterItsMessage)
{
    setRow(*dm.Dmt, {{u"Kop"_s, 3}, {u"Pk"_s, true}});
    const print::CopyRule rule = print::copyRuleOf(dm);
    EXPECT_EQ(rule.copies, 3);
    EXPECT_TRUE(rule.printerCopies);

    // A value typed but not posted is stored by the printout, and printed.
    dm.Mtt->edit();
    dm.Mtt->field(u"Cad1"_s).setValue(99.5);
    QString printed;
    const bool ok = print::producePrintout(
        dm, prompter, print::Output::Print,
        [&] { return std::optional(print::preparePrintout(dm, print::Printout::PaymentOrder, 0)); },
        [&](const report::PreparedReport &r) {
            printed = r.find(u"QRDBTextCad1"_s)->text;
            EXPECT_EQ(prompter.depth, 1);  // the hourglass while the job goes out
            return true;
        });
    EXPECT_TRUE(ok);
    EXPECT_EQ(printed, u"100,00"_s);
    EXPECT_TRUE(allOpenAndBrowsing());
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 100.0);
    EXPECT_EQ(prompter.depth, 0);
    ASSERT_GE(status.texts.size(), 2);
    EXPECT_EQ(status.texts.first(), std::make_pair(0, QString::fromUtf16(print::kSendingToPrinter)));
    EXPECT_EQ(status.texts.last(), std::make_pair(0, QString()));
    EXPECT_TRUE(prompter.messages.isEmpty());

    // A preview gets the normal cursor back before it is shown.
    print::producePrintout(
        dm, prompter, print::Output::Preview,
        [&] { return std::optional(print::preparePrintout(dm, print::Printout::ReturnPage1, 0)); },
        [&](const report::PreparedReport &) {
            EXPECT_EQ(prompter.depth, 0);
            return true;
        });
    EXPECT_EQ(status.texts.at(status.texts.size() - 2).second, QString::fromUtf16(print::kPreparingPreview));

    // Nothing to print (an envelope without addresses) is no failure.
    EXPECT_FALSE(print::producePrintout(
        dm, prompter, print::Output::Print, [] { return std::optional<report::PreparedReport>(); },
        [](const report::PreparedReport &) { return true; }));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(PrintJobs, FailuresSayTheyFailedAndLeaveTheTablesOpen)
{
    const auto expectFailure = [&](const char *what) {
        ASSERT_EQ(prompter.messages.size(), 1) << what;
        EXPECT_EQ(prompter.messages[0].kind, platform::ScriptedPrompter::Message::Information) << what;
        EXPECT_EQ(prompter.messages[0].text, QString::fromUtf16(print::kPrintFailed)) << what;
        EXPECT_EQ(prompter.depth, 0) << what;
        EXPECT_EQ(status.texts.last(), std::make_pair(0, QString())) << what;
        EXPECT_TRUE(allOpenAndBrowsing()) << what;
        prompter.messages.clear();
    };
    const auto payment = [&] { return std::optional(print::preparePrintout(dm, print::Printout::PaymentOrder, 0)); };
    int sent = 0;
    const auto send = [&](const report::PreparedReport &) { return ++sent, true; };

    // A printer that refuses the job.
    EXPECT_FALSE(print::producePrintout(dm, prompter, print::Output::Print, payment,
                                        [](const report::PreparedReport &) { return false; }));
    expectFailure("refused job");

    // A table that can't be posted: nothing goes out, the edit is dropped.
    dm.Mtt->beforePost = [](engine::Table &) { RUR_THROW(engine::ErrGeneral, u"Tabulku Mtt nelze uložit."_s); };
    dm.Mtt->edit();
    dm.Mtt->field(u"Vs"_s).setValue(u"123"_s);
    EXPECT_FALSE(print::producePrintout(dm, prompter, print::Output::Print, payment, send));
    expectFailure("table not posted");
    EXPECT_EQ(sent, 0);
    EXPECT_TRUE(dm.Mtt->field(u"Vs"_s).isNull());

    // A table that can't be opened again after its post: it is opened again afterwards.
    dm.Mtt->beforePost = nullptr;
    const QString file = dm.Prp->filePath();
    const QString hidden = file + u".pryc"_s;
    dm.Prp->beforePost = [&](engine::Table &) { QFile::rename(file, hidden); };
    EXPECT_FALSE(print::producePrintout(dm, prompter, print::Output::Print, payment, send));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(sent, 0);
    dm.Prp->beforePost = nullptr;
    ASSERT_TRUE(QFile::rename(hidden, file));
    prompter.messages.clear();
    // The next printout opens what was left closed, and goes out.
    EXPECT_TRUE(print::producePrintout(dm, prompter, print::Output::Print, payment, send));
    EXPECT_EQ(sent, 1);
    EXPECT_TRUE(allOpenAndBrowsing());
}

TEST_F(PrintJobs, AllAddressesAreMarkedForPrintingOrNone)
{
    dm.Maz->open();
    for (const char16_t *firm : {u"Finanční úřad", u"Banka", u"Účetní"}) {
        dm.Maz->append();
        dm.Maz->field(u"Fa"_s).setValue(QString::fromUtf16(firm));
        dm.Maz->post();
    }
    const auto marked = [&] {
        int n = 0;
        for (dm.Maz->first(); !dm.Maz->eof(); dm.Maz->next())
            n += dm.Maz->field(u"O"_s).asBoolean() ? 1 : 0;
        return n;
    };
    print::markAllAddresses(dm, true);
    EXPECT_EQ(marked(), 3);
    print::markAllAddresses(dm, false);
    EXPECT_EQ(marked(), 0);
}

TEST_F(PrintJobs, RurCliPrintsWithCopiesAndRefusesWhatItCannotDo)
{
    dm.closeAll();
    const QStringList base = {u"--root"_s, root.path(), u"print"_s, u"D1"_s};
    // Copies are checked before anything is opened or printed.
    for (const QString &bad : {u"0"_s, u"1000"_s, u"dva"_s}) {
        const CliResult r = cli(base + QStringList{u"strana1"_s, u"--printer"_s, u"X"_s, u"--copies"_s, bad});
        EXPECT_EQ(r.exitCode, 2) << bad.toStdString();
        EXPECT_TRUE(r.err.contains(u"Počet kopií musí být celé číslo od 1 do 999."_s)) << r.err.toStdString();
    }
    CliResult r = cli(base + QStringList{u"prikaz"_s, u"--pdf"_s, root.path() + u"p.pdf"_s, u"--copies"_s, u"2"_s});
    EXPECT_EQ(r.exitCode, 2);
    // A printer that isn't there: the job fails, and says so.
    r = cli(base + QStringList{u"prikaz"_s, u"--printer"_s, u"Neexistující tiskárna"_s, u"--copies"_s, u"3"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), QString::fromUtf16(print::kPrintFailed));
    r = cli(base + QStringList{u"obalka"_s, u"--pdf"_s, root.path() + u"p.pdf"_s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"strana1, strana2, prikaz"_s)) << r.err.toStdString();
}
