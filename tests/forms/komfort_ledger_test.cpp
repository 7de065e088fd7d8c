// The print centre's Komfort page with the ledger and the calendar registered by the main
// window: "Daň:" opens the ledger, whose "Příkaz" fills the payment order, and the due date's
// label opens the calendar.
#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "engine/Table.h"
#include "forms/window_script.h"
#include "ledger/forms/Ezal1sForm.h"
#include "platform/Prompter.h"
#include "print/forms/EmtfForm.h"
#include "support/filled_return.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/KalendarForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::OnWindow;

TEST(KomfortLedger, TaxLabelOpensTheLedgerAndDateLabelsTheCalendar)
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
        rur::testing::fillValidReturn(main.dataModule());  // March 2018
        data::TDM1 &dm = main.dataModule();
        const double tax = dm.Dtabn3->field(u"C753"_s).asFloat();
        ASSERT_NE(tax, 0);

        bool ledgerShown = false, calendarShown = false;
        QString proposed;
        OnWindow<ledger::TEzal1sForm> ledgerStep([&](ledger::TEzal1sForm &w) {
            ledgerShown = true;
            proposed = w.amountEdit(3)->text();
            w.dateEdit(3)->setFocus();
            QTest::keyClicks(w.dateEdit(3), u"25.4.2018"_s);
            QTest::mouseClick(w.transferLabel(3), Qt::LeftButton);
        });
        OnWindow<ui::TKalendarForm> calendarStep([&](ui::TKalendarForm &c) {
            calendarShown = true;
            EXPECT_EQ(c.date(), QDate(2018, 4, 25));
            c.DalsiMesic();
            c.findChild<QPushButton *>(u"OKButton"_s)->click();
        });
        OnWindow<print::TEmtfForm> centreStep([&](print::TEmtfForm &centre) {
            EXPECT_EQ(centre.pages()->currentIndex(), print::TEmtfForm::PageKomfort);
            QLabel *taxLabel = centre.label(u"LabelCad10"_s);
            ASSERT_TRUE(taxLabel);
            EXPECT_TRUE(taxLabel->isEnabled());
            QTest::mouseClick(taxLabel, Qt::LeftButton);
            EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), tax);
            EXPECT_EQ(dm.Mtt->field(u"D1"_s).displayText(), u"25.04.2018"_s);
            QLabel *dueLabel = centre.label(u"LabelD10"_s);
            ASSERT_TRUE(dueLabel);
            EXPECT_TRUE(dueLabel->isEnabled());
            QTest::mouseClick(dueLabel, Qt::LeftButton);
            EXPECT_EQ(dm.Mtt->field(u"D1"_s).displayText(), u"25.05.2018"_s);
            centre.reject();
        });
        prompter.messages.clear();
        main.commandAction(app::Command::TiskKomfort)->trigger();
        EXPECT_TRUE(centreStep.done());
        EXPECT_TRUE(ledgerShown);
        EXPECT_TRUE(calendarShown);
        EXPECT_EQ(proposed, QString::number(tax, 'f', 0));
        EXPECT_EQ(prompter.messages.value(0).text,
                  u"Opravdu přenést daň "_s + QString::number(tax, 'f', 0) + u" Kč do příkazu k úhradě ?"_s);
        EXPECT_EQ(dm.Dzal1->field(u"D3s"_s).displayText(), u"25.04.2018"_s);
        main.close();
    }
    QDir::setCurrent(savedCwd);
}
