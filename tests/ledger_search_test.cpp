// The calendar's steps, the searches of the list windows and the VAT paid ledger, on a data
// set opened as the program opens it; the ledger's commands of rur-cli.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "ledger/Ledger.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "search/Searches.h"
#include "support/rows.h"
#include "support/run_cli.h"
#include "support/test_root.h"
#include "ui/CalendarSteps.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::setRow;
using rur::testing::appendRow;
using rur::testing::reread;

namespace {

QDate d(int day, int month, int year)
{
    return QDate(year, month, day);
}

class DataSet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
};

using Searches = DataSet;
using Ledger = DataSet;

}  // namespace

TEST(CalendarSteps, MonthStepsKeepTheDayOrTakeTheMonthsLastDay)
{
    using namespace ui;
    EXPECT_EQ(nextMonth(d(31, 1, 2018)), d(28, 2, 2018));
    EXPECT_EQ(nextMonth(nextMonth(d(31, 1, 2018))), d(28, 3, 2018));  // not 31 March
    EXPECT_EQ(nextMonth(d(31, 1, 2016)), d(29, 2, 2016));
    EXPECT_EQ(nextMonth(d(29, 2, 2016)), d(29, 3, 2016));
    EXPECT_EQ(nextMonth(d(31, 12, 2018)), d(31, 1, 2019));
    EXPECT_EQ(previousMonth(d(31, 3, 2018)), d(28, 2, 2018));
    EXPECT_EQ(previousMonth(d(31, 3, 2016)), d(29, 2, 2016));
    EXPECT_EQ(previousMonth(d(15, 1, 2018)), d(15, 12, 2017));
    EXPECT_EQ(previousMonth(d(31, 5, 2018)), d(30, 4, 2018));
}

TEST(CalendarSteps, YearStepsLeaveTheLeapDayFirst)
{
    using namespace ui;
    EXPECT_EQ(nextYear(d(29, 2, 2016)), d(28, 2, 2017));
    EXPECT_EQ(previousYear(d(29, 2, 2016)), d(28, 2, 2015));
    // 28 February stays 28 February, also into a leap year.
    EXPECT_EQ(nextYear(d(28, 2, 2015)), d(28, 2, 2016));
    EXPECT_EQ(nextYear(d(31, 12, 2018)), d(31, 12, 2019));
    EXPECT_FALSE(nextMonth(QDate()).isValid());
}

TEST(CalendarSteps, PlaceIsStoredPerDataSetWithDefaultsByScreenWidth)
{
    QTemporaryDir dir;
    platform::IniFile ini(dir.path() + u"/D1.ini"_s);
    EXPECT_EQ(ui::readCalendarPosition(ini, u"D1"_s, 640), QPoint(148, 128));
    EXPECT_EQ(ui::readCalendarPosition(ini, u"D1"_s, 641), QPoint(228, 188));
    ASSERT_TRUE(ui::writeCalendarPosition(ini, u"D1"_s, QPoint(10, 20)));
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"KalendarTop"_s, 0), 20);
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"KalendarLeft"_s, 0), 10);
    EXPECT_EQ(ui::readCalendarPosition(ini, u"D1"_s, 1024), QPoint(10, 20));
    EXPECT_EQ(ui::readCalendarPosition(ini, QString(), 1024), QPoint(228, 188));
}

TEST_F(Searches, BankNumberLandsOnTheNextNumberAndLettersMoveNowhere)
{
    engine::Table &mbzp = *dm.Mbzp;
    mbzp.open();
    for (int pc : {10, 1, 5})
        appendRow(mbzp, {{u"Pc"_s, pc}, {u"Bai"_s, u"Banka %1"_s.arg(pc)}});
    const auto bank = [&] { return mbzp.field(u"Pc"_s).asInteger(); };

    EXPECT_TRUE(search::searchBankNumber(mbzp, u"7"_s));
    EXPECT_EQ(bank(), 10);
    EXPECT_TRUE(search::searchBankNumber(mbzp, u"5"_s));
    EXPECT_EQ(bank(), 5);
    for (const QString &text : {u"x"_s, u"7a"_s, QString(), u"-"_s})
        EXPECT_FALSE(search::searchBankNumber(mbzp, text)) << text.toStdString();
    EXPECT_EQ(bank(), 5);
    // Past the last number the last row; before the first the first.
    EXPECT_TRUE(search::searchBankNumber(mbzp, u"99"_s));
    EXPECT_EQ(bank(), 10);
    EXPECT_TRUE(search::searchBankNumber(mbzp, u"-3"_s));
    EXPECT_EQ(bank(), 1);
    mbzp.close();
    EXPECT_FALSE(search::searchBankNumber(mbzp, u"7"_s));
}

TEST_F(Searches, DocumentNamesInCzechOrderIgnoringCase)
{
    engine::Table &mdp = *dm.Mdp;
    for (const QString &name : {u"Žádost"_s, u"Dopis"_s, u"Chyba"_s, u"Hlášení"_s, u"čestné prohlášení"_s})
        appendRow(mdp, {{u"Nazev"_s, name}});
    const auto name = [&] { return mdp.field(u"Nazev"_s).asString(); };
    EXPECT_TRUE(search::searchText(mdp, u"do"_s));
    EXPECT_EQ(name(), u"Dopis"_s);
    EXPECT_TRUE(search::searchText(mdp, u"c"_s));
    EXPECT_EQ(name(), u"čestné prohlášení"_s);  // č follows c
    EXPECT_TRUE(search::searchText(mdp, u"i"_s));
    EXPECT_EQ(name(), u"Žádost"_s);  // ch follows h in Czech, so nothing between i and ž
    EXPECT_TRUE(search::searchText(mdp, u"h"_s));
    EXPECT_EQ(name(), u"Hlášení"_s);
    EXPECT_TRUE(search::searchText(mdp, QString()));
    EXPECT_EQ(name(), u"čestné prohlášení"_s);  // the first row
}

TEST_F(Searches, AddressBookOrderSwitchesAndItsChoiceIsKept)
{
    engine::Table &maz = *dm.Maz;
    maz.setIndexName(u"Fa"_s);
    maz.open();
    appendRow(maz, {{u"Fa"_s, u"Alfa"_s}, {u"Mi"_s, u"Zlín"_s}});
    appendRow(maz, {{u"Fa"_s, u"Beta"_s}, {u"Mi"_s, u"Brno"_s}});
    appendRow(maz, {{u"Fa"_s, u"Gama"_s}, {u"Mi"_s, u"Opava"_s}});
    const auto firm = [&] { return maz.field(u"Fa"_s).asString(); };

    EXPECT_TRUE(search::searchText(maz, u"g"_s));
    EXPECT_EQ(firm(), u"Gama"_s);
    EXPECT_FALSE(search::setAddressBookOrder(maz, search::ByName));  // already by name: stays
    EXPECT_EQ(firm(), u"Gama"_s);
    EXPECT_TRUE(search::setAddressBookOrder(maz, search::ByPlace));
    EXPECT_EQ(firm(), u"Beta"_s);  // first by place: Brno
    EXPECT_TRUE(search::searchText(maz, u"p"_s));
    EXPECT_EQ(firm(), u"Alfa"_s);  // "p" follows Opava: Zlín
    EXPECT_EQ(search::addressBookCaption(search::ByPlace), u"Adresář - podle místa"_s);
    EXPECT_EQ(search::addressBookCaption(search::ByName), u"Adresář - podle názvu"_s);

    QTemporaryDir dir;
    platform::IniFile ini(dir.path() + u"/D1.ini"_s);
    EXPECT_EQ(search::readAddressSearchBy(ini, u"D1"_s), 0);
    ASSERT_TRUE(search::writeAddressSearchBy(ini, u"D1"_s, 1));
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"Vyhledavani16Podle"_s, -1), 1);
    EXPECT_EQ(search::readAddressSearchBy(ini, u"D1"_s), 1);
    ini.writeInteger(u"D1"_s, u"Vyhledavani16Podle"_s, 7);
    EXPECT_EQ(search::readAddressSearchBy(ini, u"D1"_s), 0);
}

TEST_F(Searches, DateSearchFindsTheDateOrTheNextLaterOrder)
{
    engine::Table &mban = *dm.Mban;
    mban.open();
    for (const QDate &ds : {d(20, 4, 2018), d(10, 4, 2018), d(2, 5, 2018)})
        appendRow(mban, {{u"Ds"_s, ds}, {u"Cu1"_s, ds.toString(u"dd"_s)}});
    const QDate today = d(1, 4, 2018);
    const auto at = [&] { return mban.field(u"Ds"_s).value().toDate(); };

    search::DateSearch found = search::searchByDate(mban, u"20.4.2018"_s, today);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.text, u"20.04.2018"_s);
    EXPECT_TRUE(found.message.isEmpty());
    EXPECT_EQ(at(), d(20, 4, 2018));

    // Shorthand goes through the date completion: "15" is the 15th of today's month.
    found = search::searchByDate(mban, u"15"_s, today);
    EXPECT_FALSE(found.found);
    EXPECT_EQ(found.text, u"15.04.2018"_s);
    EXPECT_EQ(found.message, u"Datum 15.04.2018 není zapsán v elektronickém přenosu příkazů."_s);
    EXPECT_EQ(at(), d(20, 4, 2018));

    found = search::searchByDate(mban, u"3.5.2018"_s, today);
    EXPECT_FALSE(found.found);
    EXPECT_EQ(at(), d(2, 5, 2018));  // nothing later: the last order

    for (const QString &bad : {u"31.2.2018"_s, u"abc"_s, QString()}) {
        try {
            search::searchByDate(mban, bad, today);
            ADD_FAILURE() << "no error for " << bad.toStdString();
        } catch (const engine::EngineError &e) {
            EXPECT_EQ(e.message(), u"Neplatné datum: „"_s + bad + u"“."_s);
        }
        EXPECT_EQ(at(), d(2, 5, 2018));
    }
}

TEST(LedgerLabels, MonthsQuartersOrNothing)
{
    const QStringList monthly = ledger::periodLabels(u"březen"_s, QString());
    ASSERT_EQ(monthly.size(), 12);
    EXPECT_EQ(monthly[0], u"leden"_s);
    EXPECT_EQ(monthly[11], u"prosinec"_s);
    const QStringList quarterly = ledger::periodLabels(QString(), u"II."_s);
    ASSERT_EQ(quarterly.size(), 12);
    EXPECT_EQ(quarterly[0], u"I. čtvrtletí"_s);
    EXPECT_EQ(quarterly[3], u"IV. čtvrtletí"_s);
    for (int i = 4; i < 12; ++i)
        EXPECT_TRUE(quarterly[i].isEmpty());
    for (const QStringList &none : {ledger::periodLabels(u"leden"_s, u"I."_s), ledger::periodLabels(u" "_s, QString())})
        EXPECT_EQ(none, QStringList(12, QString()));
    EXPECT_EQ(ledger::ledgerHeading(u"2018"_s), u"Na RUR za rok 2018 zaplaceno"_s);
    EXPECT_EQ(ledger::transferQuestion(5000), u"Opravdu přenést daň 5000 Kč do příkazu k úhradě ?"_s);
    EXPECT_EQ(ledger::transferQuestion(0), u"Opravdu přenést daň 0 Kč do příkazu k úhradě ?"_s);
}

TEST_F(Ledger, AmountsAreStoredInWholeCrownsAndEmptyAsZero)
{
    engine::Table &dzal1 = *dm.Dzal1;
    dzal1.edit();
    dzal1.field(u"Za1s"_s).setText(u"1234,5"_s);
    dzal1.field(u"Za2s"_s).setText(u"-0,5"_s);
    dzal1.field(u"Za3s"_s).setValue(28.499999999999996);
    dzal1.field(u"Za4s"_s).clear();
    dzal1.post();
    reread(dzal1);
    EXPECT_EQ(dzal1.field(u"Za1s"_s).asFloat(), 1235);
    EXPECT_EQ(dzal1.field(u"Za2s"_s).asFloat(), -1);
    EXPECT_EQ(dzal1.field(u"Za3s"_s).asFloat(), 28);
    EXPECT_FALSE(dzal1.field(u"Za4s"_s).isNull());
    EXPECT_EQ(dzal1.field(u"Za4s"_s).asFloat(), 0);
}

TEST_F(Ledger, OpeningProposesTheReturnsTaxForAnUndatedSlotOnly)
{
    setRow(*dm.Prp, {{u"M"_s, u"březen"_s}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 3}});
    setRow(*dm.Dtabn1, {{u"C210"_s, 10000}, {u"C210a"_s, 2100}});
    dm.Dtabn3->refresh();
    const double tax = dm.Dtabn3->field(u"C753"_s).asFloat();
    ASSERT_EQ(tax, 2100);
    setRow(*dm.Dzal1, {{u"Za3s"_s, 999}, {u"Za2s"_s, 500}});

    ledger::prepareLedger(dm);
    EXPECT_TRUE(dm.Dzal1->isEditing());
    EXPECT_EQ(dm.Dzal1->field(u"Za3s"_s).asFloat(), tax);  // replaced
    EXPECT_EQ(dm.Dzal1->field(u"Za2s"_s).asFloat(), 500);
    ledger::closeLedger(dm);
    EXPECT_FALSE(dm.Dzal1->isEditing());
    EXPECT_EQ(dm.Dzal1->field(u"Za3s"_s).asFloat(), tax);  // posted before the window showed

    // A slot with a date keeps its amount.
    setRow(*dm.Dzal1, {{u"D3s"_s, d(25, 4, 2018)}, {u"Za3s"_s, 777}});
    ledger::prepareLedger(dm);
    EXPECT_EQ(dm.Dzal1->field(u"Za3s"_s).asFloat(), 777);
    ledger::closeLedger(dm);

    const QList<ledger::LedgerSlot> entries = ledger::ledgerSlots(dm);
    ASSERT_EQ(entries.size(), 12);
    EXPECT_EQ(entries[2].label, u"březen"_s);
    EXPECT_EQ(entries[2].date, d(25, 4, 2018));
    EXPECT_EQ(ledger::totalPaid(entries), 777 + 500);
}

TEST_F(Ledger, TransferSetsThePaymentOrderOnYesOnly)
{
    setRow(*dm.Mtt, {{u"Cad1"_s, 1}, {u"D1"_s, d(1, 1, 2018)}, {u"D3"_s, d(2, 1, 2018)}, {u"Vi"_s, u"Brno"_s}});
    dm.Dzal1->edit();
    dm.Dzal1->field(u"Za4s"_s).setValue(5000);
    dm.Dzal1->field(u"D4s"_s).setValue(d(25, 4, 2018));  // not posted yet: the transfer saves it

    prompter.answers = {platform::Prompter::Answer::No};
    EXPECT_FALSE(ledger::PrenosZ1(dm, 4, prompter));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].text, u"Opravdu přenést daň 5000 Kč do příkazu k úhradě ?"_s);
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 1);
    reread(*dm.Dzal1);
    EXPECT_EQ(dm.Dzal1->field(u"Za4s"_s).asFloat(), 5000);

    EXPECT_TRUE(ledger::PrenosZ1(dm, 4, prompter));
    reread(*dm.Mtt);
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 5000);
    EXPECT_EQ(dm.Mtt->field(u"D1"_s).displayText(), u"25.04.2018"_s);
    EXPECT_EQ(dm.Mtt->field(u"D3"_s).displayText(), u"25.04.2018"_s);
    EXPECT_EQ(dm.Mtt->field(u"Vi"_s).asString(), u"Brno"_s);

    // An empty date empties both dates of the order.
    EXPECT_TRUE(ledger::PrenosZ1(dm, 5, prompter));
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 0);
    EXPECT_TRUE(dm.Mtt->field(u"D1"_s).isNull());
    EXPECT_TRUE(dm.Mtt->field(u"D3"_s).isNull());
}

TEST_F(Ledger, ATransferWhoseOrderCannotBeStoredChangesNeitherTable)
{
    setRow(*dm.Mtt, {{u"Cad1"_s, 300}, {u"D1"_s, d(1, 3, 2018)}});
    setRow(*dm.Dzal1, {{u"Za4s"_s, 5000}, {u"D4s"_s, d(25, 4, 2018)}});
    dm.Mtt->beforePost = [](engine::Table &) { RUR_THROW(engine::ErrLocked, u"Tabulku Mtt.DB používá jiný uživatel."_s); };
    EXPECT_THROW(ledger::PrenosZ1(dm, 4, prompter), engine::EngineError);
    EXPECT_FALSE(dm.Mtt->isEditing());
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 300);
    EXPECT_EQ(dm.Mtt->field(u"D1"_s).value().toDate(), d(1, 3, 2018));

    // An edit the user had begun keeps its other changes and gets the three values back.
    dm.Mtt->edit();
    dm.Mtt->field(u"Vi"_s).setValue(u"Olomouc"_s);
    EXPECT_THROW(ledger::PrenosZ1(dm, 4, prompter), engine::EngineError);
    EXPECT_TRUE(dm.Mtt->isEditing());
    EXPECT_EQ(dm.Mtt->field(u"Vi"_s).asString(), u"Olomouc"_s);
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 300);
    reread(*dm.Dzal1);
    EXPECT_EQ(dm.Dzal1->field(u"Za4s"_s).asFloat(), 5000);
}

namespace {

using rur::testing::cli;
using rur::testing::CliResult;

}  // namespace

TEST(LedgerCli, SetShowLedgerAndTransfer)
{
    rur::testing::TestRoot root;
    root.createDataSet(u"D1"_s);
    root.addCatalogueRow(1, u"Firma"_s);
    const QStringList base{u"--root"_s, root.path()};

    CliResult r = cli(base + QStringList{u"set"_s, u"1"_s, u"Prp"_s, u"M=duben"_s, u"Q="_s, u"Cislo=4"_s, u"R=2018"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli(base + QStringList{u"set"_s, u"1"_s, u"Dzal1"_s, u"D3s=25.4.2018"_s, u"Za3s=1234,5"_s, u"Za1s=-0,5"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli(base + QStringList{u"show"_s, u"1"_s, u"Dzal1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject row = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(row.value(u"Za3s"_s).toDouble(), 1235);
    EXPECT_EQ(row.value(u"Za1s"_s).toDouble(), -1);
    EXPECT_EQ(row.value(u"D3s"_s).toString(), u"25.04.2018"_s);

    r = cli(base + QStringList{u"ledger"_s, u"1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 15) << r.out.toStdString();
    EXPECT_EQ(lines[0], u"Na RUR za rok 2018 zaplaceno"_s);
    EXPECT_TRUE(lines[4].startsWith(u"březen"_s)) << lines[4].toStdString();
    EXPECT_TRUE(lines[4].contains(u"25.04.2018"_s));
    EXPECT_TRUE(lines[4].endsWith(u"1235 Kč"_s));
    EXPECT_TRUE(lines[2].endsWith(u"-1 Kč"_s));
    EXPECT_EQ(lines[14], u"Zaplaceno celkem: 1234 Kč"_s);

    r = cli(base + QStringList{u"ledger"_s, u"1"_s, u"--prikaz"_s, u"3"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli(base + QStringList{u"show"_s, u"1"_s, u"Mtt"_s});
    const QJsonObject mtt = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(mtt.value(u"Cad1"_s).toDouble(), 1235);
    EXPECT_EQ(mtt.value(u"D1"_s).toString(), u"25.04.2018"_s);
    EXPECT_EQ(mtt.value(u"D3"_s).toString(), u"25.04.2018"_s);

    r = cli(base + QStringList{u"ledger"_s, u"1"_s, u"--prikaz"_s, u"13"_s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.isEmpty());
}
