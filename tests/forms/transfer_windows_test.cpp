// The transfer windows of the cash journal and the income-tax returns, offscreen with
// scripted answers, over sibling data written with plain SQLite; and the main window's
// commands that open them and what opens after them.
#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "datasets/forms/Auto1Form.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "support/sibling_files.h"
#include "support/test_root.h"
#include "transfer/forms/EsdForm.h"
#include "transfer/forms/EspForm.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/KalendarForm.h"
#include "forms/window_script.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using Answer = platform::Prompter::Answer;

namespace {

const QString kJournalFailed = u"Údaje o poplatníkovi nelze zobrazit.\nZkontrolujte cestu k Peněžnímu deníku (adresář).\n"
                               u"Zkontrolujte, zda máte program Rizavuv uvaro zavřený."_s;

class TransferWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        root.createDataSet();
        // The searches look beside the program's folder and the local data root: both lie in
        // a folder of the test's own.
        dirs.dataRoot = root.path();
        dirs.localDataRoot = folders.path() + u"/data/RUR 2018/"_s;
        dirs.programDir = folders.path() + u"/prg/bin/"_s;
        dirs.notFound = false;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        journal.addJournal(1, u"D1"_s, QString(), QString(), {{u"2018-01-10"_s, 1000, 210, u"1"_s}},
                           {{u"Ico"_s, u"11111111"_s}, {u"Pr"_s, u"První"_s}});
        journal.addJournal(2, u"D2"_s, u"2018-01-01"_s, u"2018-01-31"_s, {{u"2018-01-10"_s, 2000, 420, u"1"_s}},
                           {{u"Ico"_s, u"22222222"_s}, {u"Pr"_s, u"Druhý"_s}});
    }
    void TearDown() override { QDir::setCurrent(savedCwd); }

    platform::IniFile ini() const { return platform::IniFile(dirs.dataSetIni()); }
    void remember(const QString &path, int number)
    {
        platform::IniFile settings = ini();
        settings.writeString(u"Prenos"_s, u"Denik"_s, path);
        settings.writeInteger(u"Prenos"_s, u"DenikCislo"_s, number);
    }
    template <typename Window>
    std::unique_ptr<Window> shown()
    {
        auto w = std::make_unique<Window>(ctx);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }
    static QString text(transfer::TSiblingForm &w, const QString &field) { return w.fieldEdit(field)->text(); }
    static void type(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

    QTemporaryDir folders;
    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    transfer::TransferWindowContext ctx{dm, dirs, prompter, 1280, [] { return QDate(2018, 3, 1); }};
    rur::testing::SiblingFolder journal{folders.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s};
    QString savedCwd = QDir::currentPath();
};

using rur::testing::WindowScript;

}  // namespace

TEST_F(TransferWindows, TheJournalWindowOpensOnTheRememberedDataSetAndTransfersThePeriodTyped)
{
    remember(journal.catalogue(), 2);
    {
        const auto w = shown<transfer::TEsdForm>();
        EXPECT_EQ(w->windowTitle(), u"Přenos údajů z Peněžního deníku"_s);
        EXPECT_EQ(w->pos(), QPoint(84, 136));
        EXPECT_EQ(w->pathEdit()->text(), journal.catalogue());
        EXPECT_EQ(w->grid()->model()->rowCount(), 2);
        EXPECT_EQ(w->grid()->currentIndex().row(), 1);
        EXPECT_EQ(text(*w, u"Ico"_s), u"22222222"_s);
        EXPECT_EQ(text(*w, u"Dk"_s), u"31.01.2018"_s);
        EXPECT_TRUE(w->button(u"PrenestButton"_s)->isEnabled());
        EXPECT_TRUE(w->grid()->hasFocus());

        // The other data set: its taxpayer and its own, empty, period.
        w->grid()->setCurrentIndex(w->grid()->model()->index(0, 0));
        EXPECT_EQ(text(*w, u"Ico"_s), u"11111111"_s);
        EXPECT_EQ(text(*w, u"Pr"_s), u"První"_s);
        EXPECT_TRUE(text(*w, u"Dz"_s).isEmpty());
        type(w->fieldEdit(u"Dz"_s), u"1.1."_s);  // shorthand: this year
        QTest::keyClick(w->fieldEdit(u"Dz"_s), Qt::Key_Return);
        EXPECT_TRUE(w->fieldEdit(u"Dk"_s)->hasFocus());  // Enter moves on
        type(w->fieldEdit(u"Dk"_s), u"31012018"_s);
        QTest::mouseClick(w->button(u"PrenestButton"_s), Qt::LeftButton);
        EXPECT_EQ(w->result(), QDialog::Accepted);
        EXPECT_FALSE(w->isVisible());
    }
    EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu chcete přenest údaje z Peněžního deníku ?"_s,
                                             u"Údaje z Peněžního deníku byly přeneseny."_s}));
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000);
    EXPECT_EQ(ini().readInteger(u"Prenos"_s, u"DenikCislo"_s, 0), 1);
    EXPECT_EQ(ini().readInteger(u"D1"_s, u"Denik1Left"_s, 0), 84);
    transfer::SiblingData stored(transfer::SiblingKind::Journal);
    ASSERT_TRUE(stored.show(journal.catalogue(), 1));
    EXPECT_EQ(stored.period()->field(u"Dz"_s).asDate(), QDate(2018, 1, 1));
    EXPECT_EQ(stored.period()->field(u"Dk"_s).asDate(), QDate(2018, 1, 31));
}

TEST_F(TransferWindows, AWrongPathIsToldAndTheTransferWaitsForAPathThatShows)
{
    {
        const auto w = shown<transfer::TEsdForm>();
        // Nothing stored and nothing found: the data folder's neighbour is proposed, and it
        // isn't there.
        EXPECT_EQ(w->pathEdit()->text(), folders.path() + u"/data/Rizavuv uvaro 2018/Data.DB"_s);
        EXPECT_EQ(prompter.texts(), QStringList{kJournalFailed});
        EXPECT_FALSE(w->button(u"PrenestButton"_s)->isEnabled());
        EXPECT_TRUE(w->pathEdit()->hasFocus());
        QTest::keyClick(w->grid(), Qt::Key_Return);  // nothing to transfer
        EXPECT_TRUE(w->isVisible());
        // The calendar labels "od" and "do" have no period to act on: disabled, without a hint,
        // and a click opens nothing.
        int calendars = 0;
        w->openCalendar = [&](ui::TDBEditz *) { ++calendars; };
        const auto labels = [&] {
            QStringList out;
            for (const QLabel *l : w->findChildren<QLabel *>())
                if (l->text() == u"od"_s || l->text() == u"do"_s)
                    out.append(l->text() + (l->isEnabled() ? u" enabled "_s : u" disabled "_s) + l->toolTip());
            return out;
        };
        EXPECT_EQ(labels(), (QStringList{u"od disabled "_s, u"do disabled "_s}));
        for (QLabel *l : w->findChildren<QLabel *>())
            if (l->text() == u"od"_s)
                QTest::mouseClick(l, Qt::LeftButton);
        EXPECT_EQ(calendars, 0);

        w->pathEdit()->selectAll();
        type(w->pathEdit(), journal.catalogue());
        QTest::keyClick(w->pathEdit(), Qt::Key_Return);
        EXPECT_TRUE(w->button(u"PrenestButton"_s)->isEnabled());
        EXPECT_TRUE(w->grid()->hasFocus());
        EXPECT_EQ(text(*w, u"Ico"_s), u"11111111"_s);  // no number remembered: the first row
        const QString hint = u"Zvolte, za jaké období chcete RUR přenést"_s;
        EXPECT_EQ(labels(), (QStringList{u"od enabled "_s + hint, u"do enabled "_s + hint}));
        for (QLabel *l : w->findChildren<QLabel *>())
            if (l->text() == u"od"_s)
                QTest::mouseClick(l, Qt::LeftButton);
        EXPECT_EQ(calendars, 1);

        // "..." starts in the folder of the path and shows what is picked.
        QString start;
        w->chooseFile = [&](const QString &folder) {
            start = folder;
            return folders.path() + u"/jinde/Data.DB"_s;
        };
        prompter.messages.clear();
        QTest::mouseClick(w->findChild<QPushButton *>(u"VyberButton"_s), Qt::LeftButton);
        EXPECT_EQ(start, journal.path().chopped(1));
        EXPECT_EQ(prompter.texts(), QStringList{kJournalFailed});
        EXPECT_FALSE(w->button(u"PrenestButton"_s)->isEnabled());
        EXPECT_EQ(labels(), (QStringList{u"od disabled "_s, u"do disabled "_s}));
        w->reject();
    }
    // A path that showed nothing is not remembered; the position is.
    EXPECT_FALSE(ini().hasKey(u"Prenos"_s, u"Denik"_s));
    EXPECT_TRUE(ini().hasKey(u"D1"_s, u"Denik1Top"_s));
}

TEST_F(TransferWindows, AReversedPeriodIsToldAndKeepsTheWindowOpen)
{
    remember(journal.catalogue(), 2);
    const auto w = shown<transfer::TEsdForm>();
    w->fieldEdit(u"Dz"_s)->selectAll();
    type(w->fieldEdit(u"Dz"_s), u"1.2.2018"_s);
    QTest::keyClick(w->fieldEdit(u"Dz"_s), Qt::Key_Return);
    prompter.messages.clear();
    w->reject();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(prompter.texts(), QStringList{u"Datum konec období nemůže být menší než datum začátek období."_s});
    QTest::mouseClick(w->button(u"PrenestButton"_s), Qt::LeftButton);  // refused the same way, no question
    EXPECT_EQ(prompter.texts().size(), 2);
    EXPECT_TRUE(w->isVisible());

    // Shift+F7 opens the calendar, whose OK puts its date into the field.
    QTimer::singleShot(50, [] {
        auto *calendar = qobject_cast<ui::TKalendarForm *>(QApplication::activeModalWidget());
        ASSERT_TRUE(calendar);
        calendar->setDate(QDate(2018, 2, 27));
        calendar->findChild<QPushButton *>(u"OKButton"_s)->click();
    });
    QTest::keyClick(w->fieldEdit(u"Dk"_s), Qt::Key_F7, Qt::ShiftModifier);
    EXPECT_EQ(w->fieldEdit(u"Dk"_s)->text(), u"27.02.2018"_s);

    // The labels reach the calendar too.
    QStringList asked;
    w->openCalendar = [&](ui::TDBEditz *field) { asked.append(field->fieldName()); };
    QTest::keyClick(w->fieldEdit(u"Dk"_s), Qt::Key_F7, Qt::ShiftModifier);
    EXPECT_EQ(asked, QStringList{u"Dk"_s});

    w->fieldEdit(u"Dk"_s)->selectAll();
    type(w->fieldEdit(u"Dk"_s), u"28.2.2018"_s);
    w->reject();
    EXPECT_FALSE(w->isVisible());
    transfer::SiblingData stored(transfer::SiblingKind::Journal);
    ASSERT_TRUE(stored.show(journal.catalogue(), 2));
    EXPECT_EQ(stored.period()->field(u"Dk"_s).asDate(), QDate(2018, 2, 28));
}

TEST_F(TransferWindows, TheIncomeTaxWindowsFillTheTaxpayerFromTheGridWithEnter)
{
    rur::testing::SiblingFolder po(folders.path() + u"/Ziradi vududera DI 2018"_s, u"Dan.ini"_s);
    po.addTaxReturn(4, u"P4"_s, true, {{u"Dic"_s, u"CZ44444444"_s}, {u"Oj1"_s, u"Čtyřka a.s."_s}});
    platform::IniFile settings = ini();
    settings.writeString(u"Prenos"_s, u"DanPO"_s, po.catalogue());
    {
        const auto w = shown<transfer::TEspForm>();
        EXPECT_EQ(w->windowTitle(), u"Přenos údajů o poplatníkovi z daňového přiznání PO"_s);
        EXPECT_EQ(text(*w, u"Oj1"_s), u"Čtyřka a.s."_s);
        EXPECT_EQ(w->fieldEdit(u"Dic"_s)->toolTip(), u"Daňové identifikační číslo"_s);
        EXPECT_TRUE(w->fieldEdit(u"Dic"_s)->isReadOnly());
        prompter.answers = {Answer::No};
        QTest::keyClick(w->grid(), Qt::Key_Return);
        EXPECT_TRUE(w->isVisible());
        QTest::keyClick(w->grid(), Qt::Key_Return);
        EXPECT_EQ(w->result(), QDialog::Accepted);
    }
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Čtyřka a.s."_s);
    EXPECT_EQ(ini().readInteger(u"Prenos"_s, u"DanPOCislo"_s, 0), 4);

    transfer::TEsfForm sz(ctx);
    EXPECT_EQ(sz.windowTitle(), u"Přenos údajů o poplatníkovi z daňového přiznání SZ"_s);
    EXPECT_EQ(sz.pathEdit()->text(), folders.path() + u"/data/Redovo zevedara ZU 2018/Data.DB"_s);
}

TEST(TransferCommands, AfterATransferTheMainWindowOpensTheReturnOrTheTaxpayerData)
{
    QTemporaryDir tmp;
    const QString common = tmp.path() + u"/common"_s;
    data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
    platform::ScriptedPrompter prompter;
    app::TMainForm form({tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1280, 1024)}, prompter);
    form.catalogue()->beginNew();
    ASSERT_TRUE(form.catalogue()->finishNew(u"Firma"_s));
    form.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
    form.VyberDanoveho();
    ASSERT_TRUE(form.dataSetOpen());
    // Beside the data folder, where the search finds them.
    rur::testing::SiblingFolder journal(common + u"/Tervik/Rizavuv uvaro 2017"_s, u"Pen.ini"_s);
    journal.addJournal(1, u"D1"_s, u"2018-01-01"_s, u"2018-01-31"_s, {{u"2018-01-10"_s, 700, 147, u"1"_s}});
    rur::testing::SiblingFolder sz(common + u"/Tervik/Redovo zevedara ZU 2018"_s, u"Dan.ini"_s);
    sz.addTaxReturn(1, u"D1"_s, false, {{u"Pr"_s, u"Malá"_s}});
    QList<int> opened;
    form.setReturnWindowOpener(1, [&] { opened.append(1); });
    const auto transferStep = [](QDialog &d) {
        QTest::mouseClick(d.findChild<QPushButton *>(u"PrenestButton"_s), Qt::LeftButton);
    };

    for (const app::Command command : {app::Command::PrenosDenik, app::Command::PrenosSz}) {
        QAction *action = form.commandAction(command);
        ASSERT_TRUE(action && action->isEnabled());
    }
    {
        WindowScript script({transferStep});
        form.commandAction(app::Command::PrenosDenik)->trigger();
        EXPECT_EQ(script.shown, QStringList{u"TEsdForm"_s});
    }
    EXPECT_EQ(opened, QList<int>{1});
    EXPECT_EQ(form.dataModule().Dtabn1->field(u"C210"_s).asFloat(), 700);
    {
        WindowScript script({transferStep});
        form.commandAction(app::Command::PrenosSz)->trigger();
        EXPECT_EQ(script.shown, (QStringList{u"TEsfForm"_s, u"TEprpForm"_s}));
    }
    EXPECT_EQ(form.dataModule().Prp->field(u"Pra"_s).asString(), u"Malá"_s);
    // Leaving a window without a transfer opens nothing after it.
    {
        WindowScript script({});
        form.commandAction(app::Command::PrenosDenik)->trigger();
        EXPECT_EQ(script.shown, QStringList{u"TEsdForm"_s});
    }
    EXPECT_EQ(opened, QList<int>{1});
}
