// The payer's accounts (Mbzp), the bank orders (Mban) and the ABO file written from them,
// over data set D1.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "payments/AboFile.h"
#include "payments/PaymentData.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/file_rights.h"
#include "support/rows.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::appendRow;

namespace {

using Values = rur::testing::FieldValues;

class Payments : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dirs.dataSetDir = u"D1"_s;
        if (!dm.Mban->isActive())
            dm.Mban->open();
        if (!dm.Mbzp->isActive())
            dm.Mbzp->open();
    }
    QString iniPath() const { return root.dataSet() + u"D1.ini"_s; }
    QString kpc() const { return root.path() + u"KPC/Banka - D1.kpc"_s; }
    void order(const QString &cu2, const QString &kod, const QString &vs, const QString &ks, const QString &ss,
               double ca, const QDate &ds, const QString &cu1 = u"123-4567890"_s, const QString &kodi = u"0100"_s)
    {
        appendRow(*dm.Mban, {{u"Cu1"_s, cu1}, {u"Kodi"_s, kodi}, {u"Cu2"_s, cu2}, {u"Kod"_s, kod}, {u"Vs"_s, vs},
                          {u"Ks"_s, ks}, {u"Ss"_s, ss}, {u"Ca"_s, ca}, {u"Ds"_s, ds}});
    }
    void numbering(bool on, int from, int to, int next)
    {
        platform::IniFile ini(iniPath());
        payments::writeAboNumbering(ini, {on, from, to, next});
    }
    bool write(const QDate &today = QDate(2018, 4, 25))
    {
        return payments::writeAboFile(dm, {kpc(), today, iniPath()}, prompter);
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QList<int> column(const QString &field)
    {
        QList<int> values;
        dm.Mban->refresh();
        for (int row = 0; row < dm.Mban->recordCount(); ++row)
            values.append(dm.Mban->storedValue(row, dm.Mban->def().indexOf(field)).toInt());
        return values;
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
};

// Future due dates, so that no hook moves them.
const QDate kDue(2099, 4, 30);

TEST_F(Payments, TheExampleFileIsReproducedByteForByte)
{
    numbering(true, 1, 999, 7);
    order(u"987654321"_s, u"0800"_s, u"1234567890"_s, u"0308"_s, u"99"_s, 1000.00, kDue);
    order(u"555666777"_s, u"0300"_s, u"55"_s, QString(), u"1558"_s, 500.50, kDue);
    ASSERT_TRUE(write()) << prompter.errors().join(u'\n').toStdString();
    const QByteArray expected = "UHL1250418" + QByteArray(20, ' ') + "0000000000001999\r\n"
                                "1 1501 007000 0100\r\n"
                                "2 123-4567890 150050 300499\r\n"
                                "987654321 100000 1234567890 08000308 99\r\n"
                                "555666777 50050 55 0300 1558\r\n"
                                "3 +\r\n"
                                "5 +\r\n";
    EXPECT_EQ(read(kpc()), expected);
    EXPECT_EQ(column(u"Rd"_s), (QList<int>{4, 5}));
    EXPECT_EQ(column(u"M1"_s), (QList<int>{1, 1}));
    EXPECT_EQ(payments::readAboNumbering(platform::IniFile(iniPath())).next, 8);
    // Mban1 holds the one group with its sum.
    dm.Mban1->refresh();
    ASSERT_EQ(dm.Mban1->recordCount(), 1);
    EXPECT_DOUBLE_EQ(dm.Mban1->field(u"Cac"_s).asFloat(), 1500.50);
    // Nothing but the file in the folder: the temporary file is gone.
    EXPECT_EQ(QDir(root.path() + u"KPC"_s).entryList(QDir::Files), QStringList{u"Banka - D1.kpc"_s});
}

TEST_F(Payments, GroupsNumberingAndFieldsAsWritten)
{
    // Two due dates of one payer: two accounting files; numbering 5 to 7 starting at 7 gives
    // 007 and 005 and keeps 006 as the next.
    numbering(true, 5, 7, 7);
    order(u"111"_s, u"0800"_s, u"1"_s, u"0308"_s, QString(), 0.29, kDue);
    order(u"222"_s, u"0800"_s, QString(), u"0308"_s, u"5"_s, 1234.5, kDue.addDays(1));
    order(u"333"_s, u"0800"_s, u"3"_s, QString(), QString(), 10, kDue);
    ASSERT_TRUE(write());
    const QStringList lines = QString::fromLatin1(read(kpc())).split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 14) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[1], u"1 1501 007000 0100"_s);
    EXPECT_EQ(lines[2], u"2 123-4567890 1029 300499"_s);
    // No SS: the line ends with bank code and KS, no blank.
    EXPECT_EQ(lines[3], u"111 29 1 08000308"_s);
    EXPECT_EQ(lines[4], u"333 1000 3 0800"_s);
    EXPECT_EQ(lines[7].left(4), u"UHL1"_s);
    EXPECT_EQ(lines[8], u"1 1501 005000 0100"_s);
    EXPECT_EQ(lines[9], u"2 123-4567890 123450 010599"_s);
    // No VS: two blanks between the amount and the bank code.
    EXPECT_EQ(lines[10], u"222 123450  08000308 5"_s);
    EXPECT_EQ(lines.last(), QString());  // the last line ends with CR LF too
    EXPECT_EQ(payments::readAboNumbering(platform::IniFile(iniPath())).next, 6);
    // List order is by date: 111, 333 (30.4.), 222 (1.5.).
    EXPECT_EQ(column(u"Rd"_s), (QList<int>{4, 5, 11}));
    EXPECT_EQ(column(u"M1"_s), (QList<int>{1, 1, 2}));

    // Numbering off: the bare header and the zero file number; the next number untouched.
    numbering(false, 5, 7, 6);
    ASSERT_TRUE(write());
    const QStringList off = QString::fromLatin1(read(kpc())).split(u"\r\n"_s);
    EXPECT_EQ(off[0], u"UHL1"_s);
    EXPECT_EQ(off[1], u"1 1501 000000 0100"_s);
    EXPECT_EQ(payments::readAboNumbering(platform::IniFile(iniPath())).next, 6);
}

TEST_F(Payments, ABadOrderRefusesTheWholeFileAndKeepsTheOldOne)
{
    order(u"987654321"_s, u"0800"_s, u"1"_s, QString(), QString(), 100, kDue);
    ASSERT_TRUE(write());
    const QByteArray old = read(kpc());
    // A quote in an account once broke the grouping filter; now it is refused by name.
    const struct {
        Values values;
        QString field;
    } bad[] = {{{{u"Cu2"_s, u"12'3"_s}}, u"Číslo protiúčtu"_s},
               {{{u"Cu2"_s, u"1234567-1"_s}}, u"Číslo protiúčtu"_s},
               {{{u"Kod"_s, u"08A0"_s}}, u"kód banky protiúčtu"_s},
               {{{u"Kodi"_s, u"100"_s}}, u"kód Vaší banky"_s},
               {{{u"Vs"_s, u"12 34"_s}}, u"VS"_s},
               {{{u"Ks"_s, u"03x8"_s}}, u"KS"_s},
               {{{u"Ss"_s, u"1.5"_s}}, u"SS"_s},
               {{{u"Ca"_s, 0}}, u"částka"_s},
               {{{u"Cu1"_s, u""_s}}, u"Vaše číslo účtu"_s},
               {{{u"Tp"_s, u"A"_s}}, u"typ příkazu"_s}};
    for (const auto &b : bad) {
        order(u"111"_s, u"0800"_s, QString(), QString(), QString(), 5, kDue.addDays(-1));
        dm.Mban->first();  // the new order is the first by date
        dm.Mban->edit();
        for (const auto &[name, value] : b.values)
            dm.Mban->field(name).setValue(value);
        dm.Mban->post();
        prompter.messages.clear();
        EXPECT_FALSE(write()) << b.field.toStdString();
        ASSERT_EQ(prompter.errors().size(), 1);
        EXPECT_TRUE(prompter.errors()[0].startsWith(u"Příkaz na 1. řádku seznamu: "_s)) << prompter.errors()[0].toStdString();
        EXPECT_TRUE(prompter.errors()[0].contains(b.field)) << prompter.errors()[0].toStdString();
        EXPECT_EQ(read(kpc()), old);
        dm.Mban->first();
        dm.Mban->deleteRecord();
    }
}

TEST_F(Payments, AFileThatCannotBeWrittenLeavesTheOldFileAndTheOrders)
{
    order(u"987654321"_s, u"0800"_s, u"1"_s, QString(), QString(), 100, kDue);
    ASSERT_TRUE(write());
    const QByteArray old = read(kpc());
    order(u"555"_s, u"0300"_s, u"2"_s, QString(), QString(), 50, kDue);

    // Killed while the new file is written: the old one is still whole at its name.
    EXPECT_TRUE(rur::testing::killedAt("abo:before-commit", [this] { write(); }));
    EXPECT_EQ(read(kpc()), old);

    // A folder that is a file: the message, the old file, the orders as they were.
    const QString underFile = kpc() + u"/x.kpc"_s;
    EXPECT_FALSE(payments::writeAboFile(dm, {underFile, QDate(2018, 4, 25), iniPath()}, prompter));
    EXPECT_EQ(prompter.errors(), QStringList{u"Soubor "_s + underFile + u" nelze vytvořit."_s});
    EXPECT_EQ(read(kpc()), old);
    EXPECT_EQ(column(u"Rd"_s), (QList<int>{4, 0}));
    EXPECT_EQ(payments::readAboNumbering(platform::IniFile(iniPath())).next, 2);

    prompter.messages.clear();
    const QString folder = root.path() + u"KPC"_s;
    rur::testing::openToEveryone(root.path());
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    {
        const rur::testing::NobodysFileRights nobody;
        ASSERT_TRUE(nobody.active());
        EXPECT_FALSE(write());
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(prompter.errors(), QStringList{u"Soubor "_s + kpc() + u" nelze vytvořit."_s});
    EXPECT_EQ(read(kpc()), old);
}

TEST_F(Payments, AnEmptyListLeavesNoFileAndTheYesAnswerEmptiesTheList)
{
    order(u"987654321"_s, u"0800"_s, u"1"_s, QString(), QString(), 100, kDue);
    ASSERT_TRUE(write());
    ASSERT_TRUE(QFileInfo::exists(kpc()));
    payments::emptyOrders(dm);
    EXPECT_TRUE(dm.Mban->isEmpty());
    EXPECT_TRUE(write());
    EXPECT_FALSE(QFileInfo::exists(kpc()));
}

TEST_F(Payments, NumberingSettingsFallBackAndStayInTheInterval)
{
    platform::IniFile ini(iniPath());
    EXPECT_TRUE(payments::readAboNumbering(ini).on);  // absent: on
    ini.writeString(u"BankaABO"_s, u"UcetniSouboryOd"_s, u"abc"_s);
    ini.writeString(u"BankaABO"_s, u"UcetniSouboryDo"_s, u"x"_s);
    ini.writeString(u"BankaABO"_s, u"CisloProPrikaz"_s, u""_s);
    ini.writeString(u"BankaABO"_s, u"UcetniSoubory"_s, u"0"_s);
    const payments::AboNumbering n = payments::readAboNumbering(ini);
    EXPECT_FALSE(n.on);
    EXPECT_EQ(n.from, 1);
    EXPECT_EQ(n.to, 999);
    EXPECT_EQ(n.next, 1);
    EXPECT_EQ(payments::numberOrDefault(u" 12 "_s, 1), 12);
    EXPECT_EQ(payments::numberOrDefault(u"1x"_s, 999), 999);
    EXPECT_EQ(payments::nextNumberInInterval(3, 5, 7), 5);
    EXPECT_EQ(payments::nextNumberInInterval(9, 5, 7), 7);
    EXPECT_TRUE(payments::startsBankProgram(u"/opt/banka/start"_s, false));
    EXPECT_FALSE(payments::startsBankProgram(u"x"_s, false));
    EXPECT_FALSE(payments::startsBankProgram(u"X"_s, false));
    EXPECT_FALSE(payments::startsBankProgram(QString(), false));
    EXPECT_FALSE(payments::startsBankProgram(u"/opt/banka/start"_s, true));
}

TEST_F(Payments, OrderHooksRoundTheAmountAndMoveDates)
{
    engine::Table &mtt = *dm.Mtt;
    mtt.edit();
    mtt.field(u"Cui"_s).setValue(u"19-2000145399"_s);
    mtt.field(u"Kbi"_s).setValue(u"0800"_s);
    mtt.field(u"Za1"_s).setValue(false);
    mtt.post();
    engine::Table &mban = *dm.Mban;
    mban.append();
    EXPECT_EQ(mban.field(u"Cu1"_s).asString(), u"19-2000145399"_s);
    EXPECT_EQ(mban.field(u"Kodi"_s).asString(), u"0800"_s);
    EXPECT_EQ(mban.field(u"Tp"_s).asString(), u"1"_s);
    mban.field(u"Ca"_s).setValue(10.005);
    mban.post();
    EXPECT_DOUBLE_EQ(mban.field(u"Ca"_s).asFloat(), 10.01);
    EXPECT_EQ(mban.field(u"Ds"_s).asDate(), QDate::currentDate());  // empty: today

    const QDate older = QDate::currentDate().addDays(-10);
    appendRow(mban, {{u"Ds"_s, older}});
    EXPECT_EQ(mban.field(u"Ds"_s).asDate(), older);  // Za1 off: kept
    mtt.edit();
    mtt.field(u"Za1"_s).setValue(true);
    mtt.post();
    mban.edit();
    mban.field(u"Vs"_s).setValue(u"1"_s);
    mban.post();
    EXPECT_EQ(mban.field(u"Ds"_s).asDate(), QDate::currentDate());
}

TEST_F(Payments, BankNumbersAndThePickerCopyIntoThePaymentOrder)
{
    engine::Table &mbzp = *dm.Mbzp;
    mbzp.append();
    EXPECT_TRUE(mbzp.field(u"Pc"_s).isNull());
    EXPECT_FALSE(mbzp.field(u"Cnb"_s).asBoolean());
    mbzp.post();
    EXPECT_EQ(mbzp.field(u"Pc"_s).asInteger(), 0);
    mbzp.append();
    try {
        mbzp.post();
        FAIL() << "a second bank number 0 was stored";
    } catch (const engine::EngineError &e) {
        EXPECT_EQ(e.code(), engine::ErrKeyViolation);
        EXPECT_EQ(e.message(), u"Duplicitní klíč - číslo banky"_s);
    }
    EXPECT_EQ(mbzp.state(), engine::Table::State::Insert);
    mbzp.field(u"Pc"_s).setValue(1);
    mbzp.post();
    for (int pc : {3, 5})
        appendRow(mbzp, {{u"Pc"_s, pc}, {u"Bai"_s, u"Banka %1"_s.arg(pc)}, {u"Nai"_s, u"Jméno %1"_s.arg(pc)},
                      {u"Cui"_s, u"%1-1"_s.arg(pc)}, {u"Kbi"_s, u"0100"_s}, {u"Vi"_s, u"Brno"_s}, {u"Cnb"_s, true}});

    engine::Table &mtt = *dm.Mtt;
    mtt.edit();
    mtt.field(u"Bai"_s).setValue(u"Banka 3"_s);
    mtt.field(u"Cui"_s).setValue(u"3-1"_s);
    mtt.field(u"Kbi"_s).setValue(u"0100"_s);
    mtt.post();
    payments::openBankData(dm);
    EXPECT_EQ(mbzp.field(u"Pc"_s).asInteger(), 3);
    mbzp.next();
    payments::takeBankData(dm);
    mtt.post();
    EXPECT_EQ(mtt.field(u"Bai"_s).asString(), u"Banka 5"_s);
    EXPECT_EQ(mtt.field(u"Nai"_s).asString(), u"Jméno 5"_s);
    EXPECT_EQ(mtt.field(u"Vi"_s).asString(), u"Brno"_s);
    EXPECT_TRUE(mtt.field(u"Cnb"_s).asBoolean());
    // No row matches: the first row.
    mtt.edit();
    mtt.field(u"Kbi"_s).setValue(u"0300"_s);
    mtt.post();
    payments::openBankData(dm);
    EXPECT_EQ(mbzp.recNo(), 1);
    payments::closeBankData(dm);
    EXPECT_FALSE(mbzp.isActive());
}

}  // namespace
