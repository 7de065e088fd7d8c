// "Kontrola přiznání": the findings as the user sees them, the windows a double click opens at
// the line to fix, the list after the fix, "&Kontrola" and "&Uložit data" with their check.
#include "app/Startup.h"
#include "base/Directories.h"
#include "check/ReturnCheck.h"
#include "check/forms/ReturnCheckForm.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "support/filled_return.h"
#include "support/test_root.h"
#include "ui/forms/DBEditz.h"
#include "vat/forms/EprpForm.h"
#include "vat/forms/ReturnEntryForm.h"
#include "forms/window_script.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using check::Finding;
using check::Severity;
using rur::testing::setRow;

namespace {

using rur::testing::WindowScript;

class ReturnCheckWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.createDataSet();
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.dataSetDir = u"D1"_s;
        dirs.notFound = false;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        rur::testing::fillValidReturn(dm);
    }
    vat::WindowContext ctx()
    {
        vat::WindowContext c{dm, prompter};
        c.dataSetIni = dirs.dataSetIni();
        c.section = u"D1"_s;
        return c;
    }
    QList<Finding> recheck() { return check::KontrolaRur(dm, 0, rur::testing::kValidReturnToday); }
    static QStringList rows(const check::TReturnCheckForm &form)
    {
        QStringList out;
        for (int i = 0; i < form.list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = form.list()->topLevelItem(i);
            out.append(item->text(0) + u" | "_s + item->text(1));
        }
        return out;
    }
    static void doubleClick(check::TReturnCheckForm &form, int row)
    {
        QTreeWidget *list = form.list();
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        // A double click is a click and then the double click, as the system delivers it.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
};

TEST_F(ReturnCheckWindow, DoubleClickOpensTheWindowAtTheLineAndTheListFollowsTheFix)
{
    setRow(*dm.Dtabn1, {{u"C220a"_s, 99.0}});  // line 3: control value 6300
    setRow(*dm.Prp, {{u"Fuc"_s, QVariant()}});
    const vat::WindowContext c = ctx();
    check::TReturnCheckForm form(c, [this] { return recheck(); });
    form.setFindings(recheck());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.heading()->text(), u"Kontrola našla 1 chybu a 1 upozornění."_s);
    EXPECT_EQ(rows(form), (QStringList{u"Chyba | Číslo FÚ"_s, u"Upozornění | ř. 3"_s}));

    // Line 3 is typed in window 2, where the focus waits in its tax.
    QString focused;
    {
        WindowScript fixLine3({[&](QDialog &d) {
            auto &window = dynamic_cast<vat::TReturnEntryForm &>(d);
            focused = QApplication::focusWidget() == window.edit(u"C220a"_s) ? u"C220a"_s : u"?"_s;
            setRow(window.table(), {{u"C220a"_s, 6300.0}});
            d.reject();
        }});
        doubleClick(form, 1);
        EXPECT_EQ(fixLine3.shown, QStringList{u"TEtab4Form"_s});
    }
    EXPECT_EQ(focused, u"C220a"_s);
    EXPECT_EQ(rows(form), QStringList{u"Chyba | Číslo FÚ"_s});

    // The tax office is typed on page 1 of the taxpayer data; "&OK" stores it.
    int page = -1;
    {
        WindowScript fixOffice({[&](QDialog &d) {
            auto &window = dynamic_cast<vat::TEprpForm &>(d);
            page = window.pages()->currentIndex();
            focused = QApplication::focusWidget() == window.control(u"Fuc"_s) ? u"Fuc"_s : u"?"_s;
            dm.Prp->field(u"Fuc"_s).setValue(451);
            window.OKButtonClick();
        }});
        form.button(u"OpravitButton"_s)->click();
        EXPECT_EQ(fixOffice.shown, QStringList{u"TEprpForm"_s});
    }
    EXPECT_EQ(page, 0);
    EXPECT_EQ(focused, u"Fuc"_s);
    EXPECT_EQ(rows(form), QStringList());
    EXPECT_EQ(form.heading()->text(), u"Kontrola nenašla v přiznání nic k opravě."_s);
    EXPECT_FALSE(form.button(u"OpravitButton"_s)->isEnabled());
}

TEST_F(ReturnCheckWindow, FindingsOpenTheirWindowOrNone)
{
    const vat::WindowContext c = ctx();
    check::TReturnCheckForm form(c, {});
    form.setFindings({{Severity::Error, u"Text přílohy"_s, u"VetaR 2: ..."_s, u"Prppz"_s, u"Poz"_s},
                      {Severity::Error, QString(), u"Soubor ..."_s, QString(), QString()},
                      {Severity::Error, u"ř. 62"_s, u"..."_s, u"Dtabn3"_s, u"S730"_s},
                      {Severity::Error, u"ř. 52"_s, u"..."_s, u"Dtabn2"_s, u"C550"_s},
                      {Severity::Warning, u"ř. 1"_s, u"..."_s, u"Dtabn1"_s, u"C210a"_s}});
    EXPECT_EQ(check::TReturnCheckForm::windowOf(form.findings()[0]), 0);
    EXPECT_EQ(check::TReturnCheckForm::windowOf(form.findings()[1]), -1);
    EXPECT_EQ(check::TReturnCheckForm::windowOf(form.findings()[2]), 4);
    EXPECT_EQ(check::TReturnCheckForm::windowOf(form.findings()[3]), 3);
    EXPECT_EQ(check::TReturnCheckForm::windowOf(form.findings()[4]), 1);

    // The attachment is on page 3 of the taxpayer data.
    int page = -1;
    bool memoFocused = false;
    {
        WindowScript script({[&](QDialog &d) {
            auto &window = dynamic_cast<vat::TEprpForm &>(d);
            page = window.pages()->currentIndex();
            memoFocused = QApplication::focusWidget() == window.control(u"Poz"_s);
            window.OKButtonClick();
        }});
        form.openFinding(0);
        form.openFinding(1);  // nowhere to go: no window
        EXPECT_EQ(script.shown, QStringList{u"TEprpForm"_s});
    }
    EXPECT_EQ(page, 2);
    EXPECT_TRUE(memoFocused);
    EXPECT_EQ(form.findings().size(), 5) << "without a check to run again the list stays";

    // Paging from the window opened goes on among the windows of the return.
    WindowScript paging({[](QDialog &d) { dynamic_cast<vat::TReturnEntryForm &>(d).goTo(3); },
                         [](QDialog &d) { d.reject(); }});
    form.openFinding(2);
    EXPECT_EQ(paging.shown, (QStringList{u"TEtab3Form"_s, u"TEtab2Form"_s}));
}

TEST_F(ReturnCheckWindow, KontrolaShowsTheFindingsOrSaysThereAreNone)
{
    const vat::WindowContext c = ctx();
    {
        WindowScript none({});
        check::showReturnCheck(nullptr, c, 0);
        EXPECT_EQ(none.shown, QStringList());
        EXPECT_EQ(prompter.texts(), QStringList{u"Kontrola nenašla v přiznání nic k opravě."_s});
    }
    setRow(*dm.Dtabn3, {{u"S753"_s, 10.0}, {u"S754"_s, 20.0}});
    QStringList listed;
    WindowScript script({[&](QDialog &d) {
        listed = rows(dynamic_cast<check::TReturnCheckForm &>(d));
        d.reject();
    }});
    check::showReturnCheck(nullptr, c, 0);
    EXPECT_EQ(script.shown, QStringList{u"TReturnCheckForm"_s});
    EXPECT_EQ(listed, QStringList{u"Chyba | ř. 64"_s});
}

TEST_F(ReturnCheckWindow, SavingTheFileIsFollowedByItsCheck)
{
    QTemporaryDir out;
    base::UserSettings user;
    print::XmlPathSettings xml{out.path() + u"/DPHDP3.xml"_s, false};
    print::FilingContext filing{dm, dirs, user, xml, prompter};
    const vat::WindowContext c = ctx();
    {
        WindowScript none({});
        EXPECT_EQ(check::saveFilingFileChecked(nullptr, c, filing), xml.pathTemplate);
        EXPECT_EQ(none.shown, QStringList());
        EXPECT_EQ(prompter.texts(), QStringList{u"Data byla uložena do XML souboru."_s});
    }
    setRow(*dm.Prp, {{u"Dic"_s, QVariant()}});
    QString heading;
    WindowScript script({[&](QDialog &d) {
        heading = dynamic_cast<check::TReturnCheckForm &>(d).heading()->text();
        d.reject();
    }});
    EXPECT_EQ(check::saveFilingFileChecked(nullptr, c, filing), xml.pathTemplate);
    EXPECT_EQ(script.shown, QStringList{u"TReturnCheckForm"_s});
    EXPECT_EQ(heading, u"Soubor "_s + xml.pathTemplate + u" byl uložen. Kontrola našla 1 chybu."_s);
    EXPECT_TRUE(QFile::exists(xml.pathTemplate)) << "the file stays for the user to decide";
}

}  // namespace
