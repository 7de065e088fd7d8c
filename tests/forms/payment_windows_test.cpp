// "Údaje pro platby z účtu", "Elektronický přenos příkazů - ABO" and "Nastavení formátu ABO"
// over data set D1 with scripted answers, and both opened from the print centre's Komfort page.
#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "datasets/forms/Auto1Form.h"
#include "engine/Table.h"
#include "forms/window_script.h"
#include "payments/AboFile.h"
#include "payments/BankOrders.h"
#include "payments/forms/EbanForm.h"
#include "payments/forms/EbanaForm.h"
#include "payments/forms/EbzpForm.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/forms/EmtfForm.h"
#include "report/PreparedReport.h"
#include "search/forms/FindForms.h"
#include "support/rows.h"
#include "support/test_root.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/DBGrid.h"
#include "ui/forms/Editz.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::OnWindow;
using rur::testing::appendRow;
using Answer = platform::Prompter::Answer;

namespace {

void type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

class PaymentWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dirs.commonDataFolder = root.path() + u"common"_s;
        dirs.documentsFolder = root.path() + u"documents"_s;
        services.dirs = dirs;
        services.preview = [this](const report::PreparedReport &r) { previews.append(r.caption); };
        services.startProgram = [this](const QString &p) { started.append(p); };
        services.chooseFile = [this](QWidget *, const QString &folder, const QString &) {
            folders.append(folder);
            return chosen;
        };
    }
    void TearDown() override { QDir::setCurrent(savedCwd); }
    vat::WindowContext ctx()
    {
        vat::WindowContext c{dm, prompter};
        c.dataSetIni = root.dataSet() + u"D1.ini"_s;
        c.section = u"D1"_s;
        c.screenWidth = 1280;
        return c;
    }
    void banks()
    {
        for (int pc : {1, 3, 5})
            appendRow(*dm.Mbzp, {{u"Pc"_s, pc}, {u"Bai"_s, u"Banka %1"_s.arg(pc)}, {u"Nai"_s, u"Jméno %1"_s.arg(pc)},
                                 {u"Cui"_s, u"%1-1"_s.arg(pc)}, {u"Kbi"_s, u"0100"_s}, {u"Vi"_s, u"Brno"_s},
                                 {u"Cnb"_s, pc == 5}});
        dm.Mbzp->close();
    }

    rur::testing::TestRoot root;
    const QString savedCwd = QDir::currentPath();
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    payments::BankWindowServices services;
    QStringList previews, started, folders;
    QString chosen;
};

TEST_F(PaymentWindows, PickerStartsOnTheOrdersBankAndCopiesTheRowWithEnter)
{
    banks();
    dm.Mtt->edit();
    dm.Mtt->field(u"Bai"_s).setValue(u"Banka 3"_s);
    dm.Mtt->field(u"Cui"_s).setValue(u"3-1"_s);
    dm.Mtt->field(u"Kbi"_s).setValue(u"0100"_s);
    dm.Mtt->post();
    int startRow = 0;
    OnWindow<payments::TEbzpForm> step([&](payments::TEbzpForm &w) {
        EXPECT_EQ(w.windowTitle(), u"Údaje pro platby z účtu"_s);
        startRow = dm.Mbzp->recNo();
        EXPECT_EQ(w.grid()->selectionModel()->currentIndex().row(), 1);
        EXPECT_EQ(w.edit(u"Bai"_s)->text(), u"Banka 3"_s);
        QTest::keyClick(w.grid(), Qt::Key_PageDown);
        QTest::keyClick(w.grid(), Qt::Key_Return);
    });
    payments::PrenosBanky1(nullptr, ctx());
    EXPECT_TRUE(step.done());
    EXPECT_EQ(startRow, 2);
    EXPECT_EQ(dm.Mtt->field(u"Bai"_s).asString(), u"Banka 5"_s);
    EXPECT_EQ(dm.Mtt->field(u"Nai"_s).asString(), u"Jméno 5"_s);
    EXPECT_TRUE(dm.Mtt->field(u"Cnb"_s).asBoolean());
    EXPECT_FALSE(dm.Mbzp->isActive());
    EXPECT_FALSE(dm.statusDisplayOn);
    EXPECT_TRUE(platform::IniFile(root.dataSet() + u"D1.ini"_s).hasKey(u"D1"_s, u"UdajeProPlatbyTop"_s));
}

TEST_F(PaymentWindows, PickerEditsWithItsKeysAndAsksBeforeClosing)
{
    banks();
    QString duplicate;
    OnWindow<payments::TEbzpForm> step([&](payments::TEbzpForm &w) {
        // Insert takes the focus to the number; a used number is refused and stays in edit.
        QTest::keyClick(w.grid(), Qt::Key_Insert);
        EXPECT_EQ(dm.Mbzp->state(), engine::Table::State::Insert);
        EXPECT_EQ(QApplication::focusWidget(), w.edit(u"Pc"_s));
        QTest::keyClicks(w.edit(u"Pc"_s), u"3"_s);
        QTest::keyClick(w.edit(u"Pc"_s), Qt::Key_F9);
        duplicate = prompter.errors().value(0);
        EXPECT_EQ(dm.Mbzp->state(), engine::Table::State::Insert);
        // Enter in the last field goes round to the number; Shift+Enter back to the code.
        w.edit(u"Vi"_s)->setFocus();
        QTest::keyClick(w.edit(u"Vi"_s), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), w.edit(u"Pc"_s));
        w.edit(u"Vi"_s)->setFocus();
        QTest::keyClick(w.edit(u"Vi"_s), Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), w.edit(u"Kbi"_s));
        // Esc drops the new row; F4 edits, and closing asks: Cancel stays, No drops.
        QTest::keyClick(w.edit(u"Kbi"_s), Qt::Key_Escape);
        EXPECT_EQ(dm.Mbzp->state(), engine::Table::State::Browse);
        EXPECT_EQ(dm.Mbzp->recordCount(), 3);
        QTest::keyClick(w.grid(), Qt::Key_F4);
        type(w.edit(u"Bai"_s), u"Jina"_s);
        prompter.answers = {Answer::Cancel, Answer::No};
        w.reject();
        EXPECT_TRUE(w.isVisible());
        w.reject();
    });
    payments::PrenosBanky1(nullptr, ctx());
    EXPECT_TRUE(step.done());
    EXPECT_EQ(duplicate, u"Duplicitní klíč - číslo banky"_s);
    EXPECT_EQ(prompter.texts().count(u"V tabulce Údaje pro platby z účtu byly provedeny změny.\nUložit záznam?"_s), 2);
    dm.Mbzp->open();
    EXPECT_EQ(dm.Mbzp->field(u"Bai"_s).asString(), u"Banka 1"_s);
    EXPECT_EQ(dm.Mtt->field(u"Bai"_s).asString(), QString());  // closed without a pick
}

TEST_F(PaymentWindows, PickerSearchesByBankNumberWithF3)
{
    banks();
    OnWindow<search::TFind11Form> find([&](search::TFind11Form &f) {
        QTest::keyClicks(f.edit(), u"4"_s);
        f.accept();
    });
    int row = 0;
    OnWindow<payments::TEbzpForm> step([&](payments::TEbzpForm &w) {
        QTest::keyClick(w.grid(), Qt::Key_F3);
        row = w.grid()->selectionModel()->currentIndex().row();
        w.reject();
    });
    payments::PrenosBanky1(nullptr, ctx());
    EXPECT_TRUE(find.done());
    EXPECT_EQ(row, 2);  // 4 finds bank 5
}

TEST_F(PaymentWindows, AboWindowEntersOrdersWritesTheFileAndEmptiesOnYes)
{
    dm.Mtt->edit();
    dm.Mtt->field(u"Cui"_s).setValue(u"123-4567890"_s);
    dm.Mtt->field(u"Kbi"_s).setValue(u"0100"_s);
    dm.Mtt->field(u"Z1"_s).setValue(true);
    dm.Mtt->post();
    const QString kpc = root.path() + u"out/Banka.kpc"_s;
    OnWindow<payments::TEbanForm> step([&](payments::TEbanForm &w) {
        EXPECT_EQ(w.windowTitle(), u"Elektronický přenos příkazů - ABO"_s);
        // The data folder's default path, expanded below the box.
        EXPECT_EQ(w.fileBox()->currentText(), u"%AdresarDat%/Tervik/RUR 2018/KPC/Banka - D1.kpc"_s);
        EXPECT_EQ(w.fullPath()->text(), root.path() + u"common/Tervik/RUR 2018/KPC/Banka - D1.kpc"_s);
        QTest::keyClick(w.grid(), Qt::Key_F2);
        EXPECT_EQ(w.edit(u"Cu1"_s)->text(), u"123-4567890"_s);
        type(w.edit(u"Cu2"_s), u"987654321"_s);
        type(w.edit(u"Kod"_s), u"0800"_s);
        type(w.edit(u"Vs"_s), u"55"_s);
        type(w.edit(u"Ca"_s), u"500,5"_s);
        type(w.edit(u"Ds"_s), u"30.4.2099"_s);
        QTest::keyClick(w.edit(u"Ds"_s), Qt::Key_F9);
        EXPECT_EQ(dm.Mban->recordCount(), 1);
        w.fileBox()->setCurrentText(kpc);
        w.programBox()->setCurrentText(u"/opt/banka"_s);
        prompter.answers = {Answer::Yes, Answer::Yes};
        w.button(u"PrenestButton"_s)->click();
    });
    payments::BankaOtevrit(nullptr, ctx(), services);
    EXPECT_TRUE(step.done());
    QFile f(kpc);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("987654321 50050 55 0800\r\n"));
    EXPECT_EQ(previews, QStringList{u"Elektronický přenos příkazů"_s});
    EXPECT_EQ(started, QStringList{u"/opt/banka"_s});
    EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu přenést příkazy do souboru "_s + kpc,
                                             u"Byly příkazy vpořádku načteny do bankovního programu ?"_s}));
    dm.Mban->open();
    EXPECT_TRUE(dm.Mban->isEmpty());
    // The paths went to the top of their histories.
    const payments::AboPaths paths = payments::readAboPaths(platform::IniFile(root.dataSet() + u"D1.ini"_s));
    EXPECT_EQ(paths.files.value(0), kpc);
    EXPECT_EQ(paths.programs.value(0), u"/opt/banka"_s);
}

TEST_F(PaymentWindows, AboWindowPathButtonsAndTheKpcDeletion)
{
    appendRow(*dm.Mban, {{u"Cu1"_s, u"1"_s}, {u"Kodi"_s, u"0100"_s}, {u"Cu2"_s, u"2"_s}, {u"Kod"_s, u"0800"_s},
                         {u"Ca"_s, 1.0}, {u"Ds"_s, QDate(2099, 1, 1)}});
    QDir().mkpath(root.path() + u"documents/Tervik/RUR 2018/KPC"_s);
    const QString userFile = root.path() + u"documents/Tervik/RUR 2018/KPC/Banka - D1.kpc"_s;
    {
        QFile f(userFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    chosen = root.path() + u"common/vlastni"_s;
    OnWindow<payments::TEbanForm> step([&](payments::TEbanForm &w) {
        w.button(u"AdresarUzivButton"_s)->click();
        EXPECT_EQ(w.fileBox()->currentText(), u"%AdresarUziv%/Tervik/RUR 2018/KPC/Banka - D1.kpc"_s);
        EXPECT_EQ(w.fullPath()->text(), userFile);
        prompter.answers = {Answer::No, Answer::Yes};
        w.button(u"SmazatButton"_s)->click();
        EXPECT_TRUE(QFileInfo::exists(userFile));
        w.button(u"SmazatButton"_s)->click();
        EXPECT_FALSE(QFileInfo::exists(userFile));
        EXPECT_EQ(QApplication::focusWidget(), w.button(u"ZavritButton"_s));
        // "..." starts in the file's folder; the chosen file comes back as a template.
        w.button(u"SouborButton"_s)->click();
        EXPECT_EQ(w.fullPath()->text(), root.path() + u"common/vlastni.kpc"_s);
        EXPECT_EQ(w.fileBox()->currentText(), u"%AdresarDat%/vlastni.kpc"_s);
        // A drive template cannot be written.
        w.fileBox()->setCurrentText(u"%Disk%/x.kpc"_s);
        prompter.messages.clear();
        w.button(u"PrenestButton"_s)->click();
        EXPECT_EQ(prompter.messages.value(0).text, u"Nastavte správně cestu."_s);
        w.reject();
    });
    payments::BankaOtevrit(nullptr, ctx(), services);
    EXPECT_TRUE(step.done());
    EXPECT_EQ(folders, QStringList{root.path() + u"documents/Tervik/RUR 2018/KPC"_s});
    EXPECT_FALSE(dm.Mban->isActive());
}

TEST_F(PaymentWindows, SettingsWindowNormalisesItsNumbersAndKeepsThem)
{
    payments::TEbanaForm w(ctx());
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.numberingBox()->text(), u"ano"_s);
    type(w.fromEdit(), u"5"_s);
    type(w.toEdit(), u"ab"_s);
    type(w.nextEdit(), u"900"_s);
    w.numberingBox()->setFocus();  // leaving "Číslo pro další příkaz"
    EXPECT_EQ(w.toEdit()->text(), u"999"_s);
    EXPECT_EQ(w.nextEdit()->text(), u"900"_s);
    type(w.toEdit(), u"7"_s);
    w.nextEdit()->setFocus();
    w.numberingBox()->setFocus();
    EXPECT_EQ(w.nextEdit()->text(), u"7"_s);
    w.numberingBox()->click();
    EXPECT_EQ(w.numberingBox()->text(), u"ne"_s);
    w.olderDateBox()->click();
    w.OKButtonClick();
    const payments::AboNumbering n = payments::readAboNumbering(platform::IniFile(root.dataSet() + u"D1.ini"_s));
    EXPECT_FALSE(n.on);
    EXPECT_EQ(n.from, 5);
    EXPECT_EQ(n.to, 7);
    EXPECT_EQ(n.next, 7);
    EXPECT_TRUE(dm.Mtt->field(u"Za1"_s).asBoolean());
}

TEST(PaymentKomfort, BankLabelAndBankButtonOpenTheirWindows)
{
    QTemporaryDir tmp;
    const QString savedCwd = QDir::currentPath();
    const QString common = tmp.path() + u"/common"_s;
    data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
    platform::ScriptedPrompter prompter;
    const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1280, 1024)};
    {
        app::TMainForm main(env, prompter);
        main.catalogue()->beginNew();
        ASSERT_TRUE(main.catalogue()->finishNew(u"Firma"_s));
        main.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        main.VyberDanoveho();
        ASSERT_TRUE(main.dataSetOpen());
        bool pickerShown = false, aboShown = false;
        OnWindow<payments::TEbzpForm> picker([&](payments::TEbzpForm &w) {
            pickerShown = true;
            w.reject();
        });
        OnWindow<payments::TEbanForm> abo([&](payments::TEbanForm &w) {
            aboShown = true;
            w.reject();
        });
        OnWindow<print::TEmtfForm> centre([&](print::TEmtfForm &c) {
            QLabel *bank = c.label(u"LabelBai0"_s);
            ASSERT_TRUE(bank);
            EXPECT_TRUE(bank->isEnabled());
            QTest::mouseClick(bank, Qt::LeftButton);
            QPushButton *banka = c.button(u"BankaButton"_s);
            ASSERT_TRUE(banka);
            EXPECT_TRUE(banka->isEnabled());
            banka->click();
            c.reject();
        });
        main.commandAction(app::Command::TiskKomfort)->trigger();
        EXPECT_TRUE(centre.done());
        EXPECT_TRUE(pickerShown);
        EXPECT_TRUE(aboShown);
        main.close();
    }
    QDir::setCurrent(savedCwd);
}

}  // namespace
