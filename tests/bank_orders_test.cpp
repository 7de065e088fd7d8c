// "&Přenést" of the ABO window without its widgets: the questions, the list and the banking
// program; the order made from the payment order; the path settings; the list printout.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "payments/AboFile.h"
#include "payments/AboList.h"
#include "payments/BankOrders.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "report/Render.h"
#include "support/gui_app.h"
#include "support/pdf_text.h"
#include "support/test_root.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using Answer = platform::Prompter::Answer;

namespace {

class BankOrders : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dirs.commonDataFolder = root.path() + u"common"_s;
        dirs.documentsFolder = root.path() + u"documents"_s;
        if (!dm.Mban->isActive())
            dm.Mban->open();
        engine::Table &mtt = *dm.Mtt;
        mtt.edit();
        const QList<std::pair<QString, QVariant>> order = {
            {u"Cui"_s, u"123-4567890"_s}, {u"Kbi"_s, u"0100"_s}, {u"D1"_s, QDate(2099, 4, 30)},
            {u"Cu"_s, u"7720-77628031"_s}, {u"Kb"_s, u"0710"_s}, {u"Vs"_s, u"12345678901"_s},
            {u"Ks"_s, u"1148"_s}, {u"Cad1"_s, 12500.0}};
        for (const auto &[name, value] : order)
            mtt.field(name).setValue(value);
        mtt.post();
    }
    payments::AboTransfer transfer(const QString &program = {})
    {
        payments::AboTransfer t;
        t.fullPath = root.path() + u"KPC/Banka - D1.kpc"_s;
        t.program = program;
        t.dataSetIni = root.dataSet() + u"D1.ini"_s;
        t.today = QDate(2018, 4, 25);
        t.showList = [this] { ++lists; };
        t.startProgram = [this](const QString &p) { started.append(p); };
        return t;
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    int lists = 0;
    QStringList started;
};

TEST_F(BankOrders, ThePaymentOrderBecomesAnOrderWithTextsCutToTheFields)
{
    payments::orderFromPaymentOrder(dm);
    engine::Table &mban = *dm.Mban;
    ASSERT_EQ(mban.recordCount(), 1);
    EXPECT_EQ(mban.field(u"Cu1"_s).asString(), u"123-4567890"_s);
    EXPECT_EQ(mban.field(u"Kodi"_s).asString(), u"0100"_s);
    EXPECT_EQ(mban.field(u"Cu2"_s).asString(), u"7720-77628031"_s);
    EXPECT_EQ(mban.field(u"Kod"_s).asString(), u"0710"_s);
    EXPECT_EQ(mban.field(u"Vs"_s).asString(), u"1234567890"_s);  // 11 characters into 10
    EXPECT_EQ(mban.field(u"Ks"_s).asString(), u"1148"_s);
    EXPECT_DOUBLE_EQ(mban.field(u"Ca"_s).asFloat(), 12500.0);
    EXPECT_EQ(mban.field(u"Ds"_s).asDate(), QDate(2099, 4, 30));
    EXPECT_EQ(mban.field(u"Tp"_s).asString(), u"1"_s);
}

TEST_F(BankOrders, PrenosAsksWritesListsStartsOnceAndEmptiesOnYes)
{
    payments::orderFromPaymentOrder(dm);
    // No to the first question: nothing written.
    prompter.answers = {Answer::No};
    payments::AboTransfer t = transfer(u"/opt/banka/start"_s);
    EXPECT_EQ(payments::Prenos(dm, t, prompter), payments::TransferResult::NotWritten);
    EXPECT_FALSE(QFileInfo::exists(t.fullPath));
    EXPECT_EQ(prompter.texts().value(0), u"Opravdu přenést příkazy do souboru "_s + t.fullPath);

    // Yes, then No to the import question: the file, no list (Z1 off), the program once.
    prompter.messages.clear();
    prompter.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(payments::Prenos(dm, t, prompter), payments::TransferResult::Kept);
    EXPECT_TRUE(QFileInfo::exists(t.fullPath));
    EXPECT_EQ(lists, 0);
    EXPECT_EQ(started, QStringList{u"/opt/banka/start"_s});
    EXPECT_EQ(prompter.texts().value(1), u"Byly příkazy vpořádku načteny do bankovního programu ?"_s);
    EXPECT_EQ(dm.Mban->recordCount(), 1);

    // With Z1 on the list is shown; the program is not started a second time; Yes empties.
    dm.Mtt->edit();
    dm.Mtt->field(u"Z1"_s).setValue(true);
    dm.Mtt->post();
    prompter.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(payments::Prenos(dm, t, prompter), payments::TransferResult::Emptied);
    EXPECT_EQ(lists, 1);
    EXPECT_EQ(started.size(), 1);
    EXPECT_TRUE(dm.Mban->isEmpty());

    // The empty list still asks the last question and leaves no file.
    prompter.messages.clear();
    prompter.answers = {Answer::Yes, Answer::No};
    payments::AboTransfer x = transfer(u"x"_s);
    EXPECT_EQ(payments::Prenos(dm, x, prompter), payments::TransferResult::Kept);
    EXPECT_FALSE(QFileInfo::exists(x.fullPath));
    EXPECT_EQ(prompter.texts().size(), 2);
    EXPECT_EQ(started.size(), 1);  // "x" starts nothing
}

TEST_F(BankOrders, APathMessageIsRefusedBeforeAnyQuestion)
{
    payments::AboTransfer t = transfer();
    t.fullPath = u"Nastavte písmeno disku (např. F:)."_s;
    EXPECT_EQ(payments::Prenos(dm, t, prompter), payments::TransferResult::NotWritten);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].text, u"Nastavte správně cestu."_s);
    EXPECT_EQ(prompter.messages[0].kind, platform::ScriptedPrompter::Message::Information);
}

TEST_F(BankOrders, PathsHistoriesAndTheKpcDeletion)
{
    EXPECT_EQ(payments::defaultAboPath(dirs, 1, u"D1"_s), u"%AdresarDat%/Tervik/RUR 2018/KPC/Banka - D1.kpc"_s);
    EXPECT_EQ(payments::fullAboPath(dirs, payments::defaultAboPath(dirs, 2, u"Firma"_s)),
              root.path() + u"documents/Tervik/RUR 2018/KPC/Banka - Firma.kpc"_s);
    EXPECT_EQ(payments::fullAboPath(dirs, u"%Disk%/x.kpc"_s), u"Nastavte písmeno disku (např. F:)."_s);

    QStringList history;
    for (int i = 0; i < 25; ++i)
        history = payments::pushHistory(history, u"/p/%1.kpc"_s.arg(i));
    history = payments::pushHistory(history, u"/p/20.kpc"_s);
    ASSERT_EQ(history.size(), 20);
    EXPECT_EQ(history[0], u"/p/20.kpc"_s);
    EXPECT_EQ(history[1], u"/p/24.kpc"_s);
    platform::IniFile ini(root.dataSet() + u"D1.ini"_s);
    ASSERT_TRUE(payments::writeAboPaths(ini, {true, history, {u"x"_s}}));
    const payments::AboPaths read = payments::readAboPaths(platform::IniFile(root.dataSet() + u"D1.ini"_s));
    EXPECT_TRUE(read.firmName);
    EXPECT_EQ(read.files, history);
    EXPECT_EQ(read.programs, QStringList{u"x"_s});
    EXPECT_EQ(payments::initialAboPath(dirs, read, u"D1"_s), u"/p/20.kpc"_s);

    // Only a lower-case ".kpc" is deleted.
    for (const QString &name : {u"a.kpc"_s, u"b.KPC"_s, u"c.txt"_s}) {
        QFile f(root.path() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(payments::deleteKpcFile(root.path() + u"a.kpc"_s));
    EXPECT_FALSE(payments::deleteKpcFile(root.path() + u"b.KPC"_s));
    EXPECT_FALSE(payments::deleteKpcFile(root.path() + u"c.txt"_s));
    EXPECT_FALSE(QFileInfo::exists(root.path() + u"a.kpc"_s));
    EXPECT_TRUE(QFileInfo::exists(root.path() + u"b.KPC"_s));
}

TEST_F(BankOrders, TheListShowsEachAccountingFileWithItsTotal)
{
    rur::testing::ensureGuiApplication();
    payments::orderFromPaymentOrder(dm);
    dm.Mtt->edit();
    dm.Mtt->field(u"D1"_s).setValue(QDate(2099, 5, 31));
    dm.Mtt->field(u"Cad1"_s).setValue(100.0);
    dm.Mtt->post();
    payments::orderFromPaymentOrder(dm);
    payments::orderFromPaymentOrder(dm);
    ASSERT_TRUE(payments::writeAboFile(dm, {root.path() + u"a.kpc"_s, QDate(2018, 4, 25), root.dataSet() + u"D1.ini"_s},
                                       prompter));
    const report::PreparedReport list = payments::prepareAboList(dm, QDate(2018, 4, 25), 0);
    EXPECT_EQ(list.caption, u"Elektronický přenos příkazů"_s);
    ASSERT_EQ(list.pageCount(), 1);
    EXPECT_EQ(list.find(u"QRLabelNadpis"_s)->text, u"ELEKTRONICKÝ PŘENOS PŘÍKAZŮ dne"_s);
    EXPECT_EQ(list.find(u"QRLabelDatum"_s)->text, u"25.04.2018"_s);
    QStringList totals, amounts, dates;
    for (const report::PlacedItem *i : list.findAll(u"QRExprSoucet"_s))
        totals.append(i->text);
    for (const report::PlacedItem *i : list.findAll(u"QRDBTextCa"_s))
        amounts.append(i->text);
    for (const report::PlacedItem *i : list.findAll(u"QRDBTextDs"_s))
        dates.append(i->text);
    EXPECT_EQ(totals, (QStringList{u"12500,00"_s, u"200,00"_s}));
    EXPECT_EQ(amounts, (QStringList{u"12500,00"_s, u"100,00"_s, u"100,00"_s}));
    EXPECT_EQ(dates, (QStringList{u"30.04.2099"_s, u"31.05.2099"_s}));

    // In the PDF the amounts and totals stand right-aligned under "Částka", each total
    // below the orders of its accounting file.
    const QString pdf = root.path() + u"seznam.pdf"_s;
    ASSERT_TRUE(report::writePdf(list, pdf));
    const rur::testing::PdfText text(pdf);
    ASSERT_TRUE(text.valid()) << text.error().toStdString();
    QList<QRectF> column, celkem;
    QRectF heading;
    for (const rur::testing::PdfWord &w : text.words(0)) {
        if (w.text == u"Částka"_s && heading.isNull())
            heading = w.box;
        if (w.text == u"12500,00"_s || w.text == u"100,00"_s || w.text == u"200,00"_s)
            column.append(w.box);
        if (w.text == u"CELKEM"_s)
            celkem.append(w.box);
    }
    ASSERT_FALSE(heading.isNull());
    ASSERT_EQ(column.size(), 5);
    for (const QRectF &box : column)
        EXPECT_NEAR(box.right(), heading.right(), 1.0);
    ASSERT_EQ(celkem.size(), 2);
    EXPECT_GT(celkem[0].top(), column[0].top());  // 12500,00 of the first file, then its total
    EXPECT_GT(celkem[1].top(), column[3].top());
}

}  // namespace
