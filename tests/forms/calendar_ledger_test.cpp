// The calendar, the date fields that open it, the search windows and the VAT paid ledger,
// over data set D1 with scripted answers.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "ledger/Ledger.h"
#include "ledger/forms/Ezal1sForm.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "search/forms/FindForms.h"
#include "support/rows.h"
#include "support/test_root.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/Editz.h"
#include "ui/forms/KalendarForm.h"
#include "vat/forms/EprpForm.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::setRow;
using rur::testing::appendRow;

namespace {

QDate d(int day, int month, int year)
{
    return QDate(year, month, day);
}

// Acts once on the calendar when it is the active modal window.
class OnCalendar : public QObject {
public:
    explicit OnCalendar(std::function<void(ui::TKalendarForm &)> act) : act_(std::move(act))
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto *calendar = qobject_cast<ui::TKalendarForm *>(QApplication::activeModalWidget());
            if (!calendar || !calendar->isVisible() || done_)
                return;
            done_ = true;
            act_(*calendar);
        });
        timer_.start(5);
    }
    bool done() const { return done_; }

private:
    std::function<void(ui::TKalendarForm &)> act_;
    QTimer timer_;
    bool done_ = false;
};

void click(QLabel *label)
{
    QTest::mouseClick(label, Qt::LeftButton);
}

class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dirs.dataSetDir = u"D1"_s;
    }
    vat::WindowContext ctx()
    {
        vat::WindowContext c{dm, prompter};
        c.dataSetIni = root.dataSet() + u"D1.ini"_s;
        c.section = u"D1"_s;
        c.screenWidth = 1280;
        return c;
    }
    QString ini(const QString &key) { return platform::IniFile(root.dataSet() + u"D1.ini"_s).readString(u"D1"_s, key); }
    template <typename W>
    static void showActive(W &w)
    {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
};

using Calendar = Windows;
using SearchWindows = Windows;
using LedgerWindow = Windows;

}  // namespace

TEST_F(Calendar, StepsByButtonsAndKeysAndShowsTheDate)
{
    ui::TKalendarForm calendar({root.dataSet() + u"D1.ini"_s, u"D1"_s, 1280});
    calendar.setDate(d(31, 1, 2016));
    showActive(calendar);
    EXPECT_EQ(calendar.windowTitle(), u"Kalendář"_s);
    EXPECT_EQ(calendar.grid()->firstDayOfWeek(), Qt::Monday);
    EXPECT_TRUE(calendar.grid()->hasFocus() || calendar.grid()->isAncestorOf(QApplication::focusWidget()));
    auto *next = calendar.findChild<QPushButton *>(u"DalsiMesicButton"_s);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->text(), u"měsíc >"_s);
    EXPECT_EQ(next->toolTip(), u"Další měsíc v kalendáři (PgDn)"_s);
    EXPECT_EQ(calendar.findChild<QPushButton *>(u"PredchoziRokButton"_s)->toolTip(), u"Předchozí rok v kalendáři (Ctrl+PgUp)"_s);

    next->click();
    EXPECT_EQ(calendar.date(), d(29, 2, 2016));
    EXPECT_EQ(calendar.dateLabel()->text(), u"29.02.2016"_s);
    QWidget *grid = QApplication::focusWidget();
    ASSERT_TRUE(grid);
    QTest::keyClick(grid, Qt::Key_PageDown);
    EXPECT_EQ(calendar.date(), d(29, 3, 2016));
    QTest::keyClick(grid, Qt::Key_PageUp);
    QTest::keyClick(grid, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(calendar.date(), d(28, 2, 2017));
    EXPECT_EQ(calendar.dateLabel()->text(), u"28.02.2017"_s);
    EXPECT_EQ(calendar.grid()->monthShown(), 2);
    QTest::keyClick(grid, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(calendar.date(), d(28, 2, 2016));

    // A double click on a day chooses it and closes with OK.
    auto *view = calendar.grid()->findChild<QTableView *>();
    ASSERT_TRUE(view);
    QModelIndex day15;
    for (int r = 1; r < view->model()->rowCount() && !day15.isValid(); ++r)
        for (int c = 0; c < view->model()->columnCount(); ++c) {
            const QModelIndex i = view->model()->index(r, c);
            if (i.data().toInt() == 15) {
                day15 = i;
                break;
            }
        }
    ASSERT_TRUE(day15.isValid());
    const QPoint at = view->visualRect(day15).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(calendar.result(), QDialog::Accepted);
    EXPECT_FALSE(calendar.isVisible());
    EXPECT_EQ(calendar.date(), d(15, 2, 2016));
    // Its place is kept when it hides.
    EXPECT_FALSE(ini(u"KalendarTop"_s).isEmpty());
    EXPECT_FALSE(ini(u"KalendarLeft"_s).isEmpty());
}

TEST_F(Calendar, ShiftF7InAnEmptyDateOpensTodayAndStornoLeavesItEmpty)
{
    vat::TEprpForm form(ctx());
    dm.Prp->cancel();
    showActive(form);
    auto *ddp = form.findChild<ui::TDBEditz *>(u"DBDdp"_s);
    ASSERT_TRUE(ddp);
    ddp->setFocus();
    QDate shown;
    {
        OnCalendar storno([&](ui::TKalendarForm &c) {
            shown = c.date();
            c.findChild<QPushButton *>(u"StornoButton"_s)->click();
        });
        QTest::keyClick(ddp, Qt::Key_F7, Qt::ShiftModifier);
        ASSERT_TRUE(storno.done());
    }
    EXPECT_EQ(shown, QDate::currentDate());
    EXPECT_TRUE(dm.Prp->field(u"Ddp"_s).isNull());
    EXPECT_FALSE(dm.Prp->isEditing());
    EXPECT_TRUE(ddp->text().isEmpty());

    // OK writes the chosen date and leaves the table in edit.
    {
        OnCalendar ok([&](ui::TKalendarForm &c) {
            c.setDate(d(15, 3, 2018));
            c.findChild<QPushButton *>(u"OKButton"_s)->click();
        });
        QTest::keyClick(ddp, Qt::Key_F7, Qt::ShiftModifier);
        ASSERT_TRUE(ok.done());
    }
    EXPECT_TRUE(dm.Prp->isEditing());
    EXPECT_EQ(dm.Prp->field(u"Ddp"_s).value().toDate(), d(15, 3, 2018));
    EXPECT_EQ(ddp->text(), u"15.03.2018"_s);

    // The underlined label opens it too, on the field's date; text typed but not yet stored
    // reaches the field first.
    auto *od1 = form.findChild<ui::TDBEditz *>(u"DBOd1"_s);
    ASSERT_TRUE(od1);
    od1->setFocus();
    od1->selectAll();
    QTest::keyClicks(od1, u"1.2.2018"_s);
    QLabel *label = nullptr;
    for (QLabel *l : form.findChildren<QLabel *>())
        if (l->text() == u"za obd. od"_s)
            label = l;
    ASSERT_TRUE(label);
    EXPECT_TRUE(label->font().underline());
    {
        OnCalendar next([&](ui::TKalendarForm &c) {
            shown = c.date();
            c.DalsiMesic();
            c.findChild<QPushButton *>(u"OKButton"_s)->click();
        });
        click(label);
        ASSERT_TRUE(next.done());
    }
    EXPECT_EQ(shown, d(1, 2, 2018));
    EXPECT_EQ(dm.Prp->field(u"Od1"_s).value().toDate(), d(1, 3, 2018));
    dm.Prp->cancel();
}

TEST_F(SearchWindows, DateSearchTellsAboutABadDateAndAMissingOrder)
{
    dm.Mban->open();
    appendRow(*dm.Mban, {{u"Ds"_s, d(10, 4, 2018)}});
    appendRow(*dm.Mban, {{u"Ds"_s, d(20, 4, 2018)}});
    dm.Mban->first();
    search::TFind10Form form(ctx());
    showActive(form);
    EXPECT_EQ(form.windowTitle(), u"Vyhledávání podle datumu"_s);
    EXPECT_EQ(form.edit()->maxLength(), 10);
    EXPECT_EQ(form.edit()->toolTip(), u"Napište datum, který hledáte"_s);

    QTest::keyClicks(form.edit(), u"31.2.2018"_s);
    form.findButton()->click();
    ASSERT_EQ(prompter.errors(), QStringList{u"Neplatné datum: „31.2.2018“."_s});
    EXPECT_EQ(form.edit()->text(), u"31.2.2018"_s);
    EXPECT_EQ(dm.Mban->field(u"Ds"_s).value().toDate(), d(10, 4, 2018));

    prompter.messages.clear();
    form.edit()->selectAll();
    QTest::keyClicks(form.edit(), u"15.4.2018"_s);
    // Enter moves to "&Najdi", whose Enter presses it.
    QTest::keyClick(form.edit(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(prompter.texts(), QStringList{u"Datum 15.04.2018 není zapsán v elektronickém přenosu příkazů."_s});
    EXPECT_EQ(form.edit()->text(), u"15.04.2018"_s);
    EXPECT_EQ(dm.Mban->field(u"Ds"_s).value().toDate(), d(20, 4, 2018));

    form.closeButton()->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(ini(u"Vyhledavani10Top"_s).isEmpty());
}

TEST_F(SearchWindows, BankNumberSearchFollowsEveryChange)
{
    dm.Mbzp->open();
    for (int pc : {1, 5, 10})
        appendRow(*dm.Mbzp, {{u"Pc"_s, pc}});
    dm.Mbzp->first();
    search::TFind11Form form(ctx());
    showActive(form);
    EXPECT_EQ(form.windowTitle(), u"Vyhledávání"_s);
    QTest::keyClick(form.edit(), Qt::Key_7);
    EXPECT_EQ(dm.Mbzp->field(u"Pc"_s).asInteger(), 10);
    QTest::keyClick(form.edit(), Qt::Key_A);  // "7a": nowhere, nothing said
    EXPECT_EQ(dm.Mbzp->field(u"Pc"_s).asInteger(), 10);
    EXPECT_TRUE(prompter.messages.isEmpty());
    // Esc closes with OK too.
    QTest::keyClick(form.edit(), Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(SearchWindows, AddressBookSwitchesOrderAndRemembersIt)
{
    dm.Maz->setIndexName(u"Fa"_s);
    dm.Maz->open();
    appendRow(*dm.Maz, {{u"Fa"_s, u"Alfa"_s}, {u"Mi"_s, u"Zlín"_s}});
    appendRow(*dm.Maz, {{u"Fa"_s, u"Beta"_s}, {u"Mi"_s, u"Brno"_s}});
    QString caption;
    {
        search::TFind16Form form(ctx(), [&](const QString &c) { caption = c; });
        showActive(form);
        EXPECT_EQ(form.orderGroup()->checkedId(), 0);
        EXPECT_EQ(form.edit()->maxLength(), 40);
        form.orderGroup()->button(1)->click();
        EXPECT_EQ(caption, u"Adresář - podle místa"_s);
        EXPECT_EQ(dm.Maz->indexName(), u"Mi"_s);
        EXPECT_EQ(dm.Maz->field(u"Fa"_s).asString(), u"Beta"_s);
        QTest::keyClicks(form.edit(), u"c"_s);
        EXPECT_EQ(dm.Maz->field(u"Fa"_s).asString(), u"Alfa"_s);
        form.closeButton()->click();
    }
    EXPECT_EQ(ini(u"Vyhledavani16Podle"_s), u"1"_s);
    caption.clear();
    search::TFind16Form again(ctx(), [&](const QString &c) { caption = c; });
    EXPECT_EQ(again.orderGroup()->checkedId(), 1);
    again.orderGroup()->button(1)->click();  // already by place: nothing changes
    EXPECT_TRUE(caption.isEmpty());
    again.orderGroup()->button(0)->click();
    EXPECT_EQ(caption, u"Adresář - podle názvu"_s);
    again.reject();
}

TEST_F(LedgerWindow, QuarterlyLabelsRoundingAndOK)
{
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, u"II."_s}, {u"Cislo"_s, 2}, {u"R"_s, u"2018"_s}});
    ledger::prepareLedger(dm);
    ledger::TEzal1sForm form(ctx());
    showActive(form);
    EXPECT_EQ(form.windowTitle(), u"Na RUR zaplaceno"_s);
    EXPECT_EQ(form.heading()->text(), u"Na RUR za rok 2018 zaplaceno"_s);
    EXPECT_EQ(form.periodLabel(1)->text(), u"I. čtvrtletí"_s);
    EXPECT_EQ(form.periodLabel(4)->text(), u"IV. čtvrtletí"_s);
    EXPECT_TRUE(form.periodLabel(5)->text().isEmpty());
    EXPECT_FALSE(form.amountEdit(9)->isReadOnly());
    EXPECT_EQ(form.amountEdit(1)->toolTip(), u"Částka v Kč"_s);

    form.amountEdit(9)->setFocus();
    form.amountEdit(9)->selectAll();
    QTest::keyClicks(form.amountEdit(9), u"1234,5"_s);
    form.amountEdit(10)->setFocus();
    form.amountEdit(10)->selectAll();
    QTest::keyClicks(form.amountEdit(10), u"-0,5"_s);  // still being typed when OK comes
    form.findChild<QPushButton *>(u"OKButton"_s)->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(dm.Dzal1->isEditing());
    EXPECT_EQ(dm.Dzal1->field(u"Za9s"_s).asFloat(), 1235);
    EXPECT_EQ(dm.Dzal1->field(u"Za10s"_s).asFloat(), -1);
    EXPECT_EQ(ini(u"ZaplacenoDPH1Top"_s).isEmpty(), false);
}

TEST_F(LedgerWindow, PrikazHandsTheSlotToThePaymentOrder)
{
    setRow(*dm.Prp, {{u"M"_s, u"duben"_s}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 4}});
    ledger::prepareLedger(dm);
    ledger::TEzal1sForm form(ctx());
    showActive(form);
    EXPECT_EQ(form.periodLabel(4)->text(), u"duben"_s);
    EXPECT_TRUE(form.transferLabel(4)->font().underline());

    // The date from the calendar through its label, the amount typed.
    {
        OnCalendar ok([&](ui::TKalendarForm &c) {
            c.setDate(d(25, 4, 2018));
            c.findChild<QPushButton *>(u"OKButton"_s)->click();
        });
        click(form.dateLabel(4));
        ASSERT_TRUE(ok.done());
    }
    EXPECT_EQ(form.dateEdit(4)->text(), u"25.04.2018"_s);
    form.amountEdit(4)->setFocus();
    form.amountEdit(4)->selectAll();
    QTest::keyClicks(form.amountEdit(4), u"5000"_s);

    // No keeps the window open and the order as it was.
    const double before = dm.Mtt->field(u"Cad1"_s).asFloat();
    prompter.answers = {platform::Prompter::Answer::No};
    click(form.transferLabel(4));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(prompter.messages.value(0).text, u"Opravdu přenést daň 5000 Kč do příkazu k úhradě ?"_s);
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), before);

    // An order that can't be stored: the window stays with its values, the order unchanged.
    const auto rules = dm.Mtt->beforePost;
    dm.Mtt->beforePost = [](engine::Table &) { RUR_THROW(engine::ErrLocked, u"Tabulka Mtt.DB je zamčena."_s); };
    prompter.messages.clear();
    click(form.transferLabel(4));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(prompter.errors(), QStringList{u"Tabulka Mtt.DB je zamčena."_s});
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), before);
    EXPECT_EQ(form.amountEdit(4)->text(), u"5000"_s);

    // Yes: the order takes amount and dates, and the window closes.
    dm.Mtt->beforePost = rules;
    click(form.transferLabel(4));
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    dm.Mtt->close();
    dm.Mtt->open();
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 5000);
    EXPECT_EQ(dm.Mtt->field(u"D1"_s).displayText(), u"25.04.2018"_s);
    EXPECT_EQ(dm.Mtt->field(u"D3"_s).displayText(), u"25.04.2018"_s);
    EXPECT_EQ(dm.Dzal1->field(u"Za4s"_s).asFloat(), 5000);
}

TEST_F(LedgerWindow, OpenLedgerProposesTheTaxShowsTheWindowAndClearsTheRecordPanel)
{
    struct Panels : data::StatusDisplay {
        void setStatusText(int panel, const QString &text) override { texts[panel] = text; }
        void setCaption(const QString &) override {}
        QMap<int, QString> texts;
    } panels;
    dm.setStatusDisplay(&panels);
    panels.texts[1] = u"3/5"_s;
    setRow(*dm.Prp, {{u"M"_s, u"březen"_s}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 3}});
    setRow(*dm.Dtabn1, {{u"C210"_s, 10000}, {u"C210a"_s, 2100}});
    dm.Dtabn3->refresh();
    ASSERT_EQ(dm.Dtabn3->field(u"C753"_s).asFloat(), 2100);

    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto *window = qobject_cast<ledger::TEzal1sForm *>(QApplication::activeModalWidget());
        if (!window || !window->isVisible() || !window->isActiveWindow() || !shown.isEmpty())
            return;
        shown = window->amountEdit(3)->text();
        EXPECT_TRUE(dm.Dzal1->isEditing());
        QTest::keyClick(window, Qt::Key_Escape);
    });
    closer.start(5);
    ledger::openLedger(nullptr, ctx());
    dm.setStatusDisplay(nullptr);

    EXPECT_EQ(shown, u"2100"_s);
    EXPECT_FALSE(dm.Dzal1->isEditing());
    EXPECT_EQ(dm.Dzal1->field(u"Za3s"_s).asFloat(), 2100);
    EXPECT_EQ(panels.texts.value(1, u"?"_s), QString());
    EXPECT_EQ(ini(u"ZaplacenoDPH1Left"_s).isEmpty(), false);
}

TEST_F(SearchWindows, EnterInTheNameSearchClosesAtTheRowFound)
{
    for (const QString &name : {u"Dopis"_s, u"Příloha"_s})
        appendRow(*dm.Mdp, {{u"Nazev"_s, name}});
    dm.Mdp->first();
    search::TFind12Form form(ctx());
    showActive(form);
    QTest::keyClicks(form.edit(), u"pr"_s);
    EXPECT_EQ(dm.Mdp->field(u"Nazev"_s).asString(), u"Příloha"_s);
    QTest::keyClick(form.edit(), Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(dm.Mdp->field(u"Nazev"_s).asString(), u"Příloha"_s);
}
