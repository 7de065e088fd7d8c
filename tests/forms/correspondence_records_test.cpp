// The address book "Adresář" and the documents "Dokumenty - dopisy": their record keys, hooks,
// orders and captions, the close question, the duplicate and the pick mode of the print centre.
#include "base/Directories.h"
#include "correspondence/forms/EazForm.h"
#include "correspondence/forms/EdpForm.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "forms/window_script.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "search/Searches.h"
#include "support/filled_return.h"
#include "support/test_root.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/DBGrid.h"
#include "vat/forms/FormParts.h"
#include "vat/forms/WindowContext.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using correspondence::TEazForm;
using correspondence::TEdpForm;
using platform::Prompter;
using rur::testing::WindowScript;

namespace {

class RecordWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
    }
    void TearDown() override { dm.closeAll(); }

    vat::WindowContext ctx()
    {
        vat::WindowContext c{dm, prompter};
        c.dataSetIni = dirs.dataSetIni();
        c.section = dirs.dataSetDir;
        return c;
    }
    void addAddress(const QString &fa, const QString &mi)
    {
        if (!dm.Maz->isActive())
            dm.Maz->open();
        dm.Maz->append();
        dm.Maz->field(u"Fa"_s).setValue(fa);
        dm.Maz->field(u"Mi"_s).setValue(mi);
        dm.Maz->post();
    }
    void addDocument(const QString &nazev, bool letter)
    {
        dm.Mdp->append();
        dm.Mdp->field(u"Nazev"_s).setValue(nazev);
        dm.Mdp->field(u"Typ"_s).setValue(letter);
        dm.Mdp->field(u"Text"_s).setValue(u"řádek 1\nřádek 2"_s);
        dm.Mdp->post();
    }
    static void show(QDialog &w)
    {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static void key(QWidget *to, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(to, k, m); }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
};

}  // namespace

TEST_F(RecordWindows, AddressBookKeysInsertSaveMoveAndDeleteWithoutAsking)
{
    addAddress(u"Cyril"_s, u"Brno"_s);
    addAddress(u"Adam"_s, u"Ostrava"_s);
    engine::Table &maz = *dm.Maz;
    dm.Maz->close();
    TEazForm w(ctx(), true);
    ASSERT_FALSE(maz.isActive());
    maz.open();
    show(w);
    EXPECT_EQ(w.windowTitle(), u"Adresář - podle názvu"_s);
    EXPECT_EQ(w.edit(u"Fa"_s)->text(), u"Adam"_s);  // first row by name
    EXPECT_EQ(w.printMark()->text(), u"ne"_s);

    // Insert: unmarked, the focus on the print mark; typed and saved with F9.
    key(w.edit(u"Fa"_s), Qt::Key_Insert);
    ASSERT_EQ(maz.state(), engine::Table::State::Insert);
    EXPECT_EQ(QApplication::focusWidget(), w.printMark());
    QTest::keyClick(w.printMark(), Qt::Key_Space);
    EXPECT_EQ(w.printMark()->text(), u"ano"_s);
    w.edit(u"Fa"_s)->setFocus();
    QTest::keyClicks(w.edit(u"Fa"_s), u"Bara"_s);
    w.edit(u"Psc"_s)->setFocus();
    QTest::keyClicks(w.edit(u"Psc"_s), u"12345"_s);
    key(w.edit(u"Psc"_s), Qt::Key_F9);
    ASSERT_EQ(maz.state(), engine::Table::State::Browse);
    EXPECT_EQ(maz.recordCount(), 3);
    EXPECT_EQ(maz.field(u"Psc1"_s).asString(), u"123 45"_s);
    EXPECT_TRUE(maz.field(u"O"_s).asBoolean());

    // Moves: Ctrl+Home, PgDn, Ctrl+End, PgUp.
    key(w.edit(u"Ico"_s), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(maz.field(u"Fa"_s).asString(), u"Adam"_s);
    key(w.edit(u"Ico"_s), Qt::Key_PageDown);
    EXPECT_EQ(maz.field(u"Fa"_s).asString(), u"Bara"_s);
    key(w.edit(u"Ico"_s), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(maz.field(u"Fa"_s).asString(), u"Cyril"_s);
    key(w.edit(u"Ico"_s), Qt::Key_PageUp);
    EXPECT_EQ(maz.field(u"Fa"_s).asString(), u"Bara"_s);
    // PgDn in the notes stays there.
    w.notes()->setFocus();
    key(w.notes(), Qt::Key_PageDown);
    EXPECT_EQ(maz.field(u"Fa"_s).asString(), u"Bara"_s);

    // Ctrl+Y deletes at once.
    prompter.messages.clear();
    key(w.edit(u"Ico"_s), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(maz.recordCount(), 2);
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Typed and closed: the question with Cancel keeps the window, No drops the typing.
    w.edit(u"Tel"_s)->setFocus();
    QTest::keyClicks(w.edit(u"Tel"_s), u"123"_s);
    prompter.answers = {Prompter::Answer::Cancel};
    key(w.edit(u"Tel"_s), Qt::Key_Escape);  // cancels the edit first
    EXPECT_EQ(maz.state(), engine::Table::State::Browse);
    QTest::keyClicks(w.edit(u"Tel"_s), u"456"_s);
    w.reject();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(prompter.texts().last(), u"V tabulce Adresář - podle názvu byly provedeny změny.\nUložit záznam?"_s);
    prompter.answers = {Prompter::Answer::No};
    w.reject();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(maz.isActive());
    EXPECT_GE(platform::IniFile(dirs.dataSetIni()).readInteger(dirs.dataSetDir, u"AdresarTop"_s, -1), 0);
}

TEST_F(RecordWindows, AddressBookFollowsTheSearchWindowsOrder)
{
    addAddress(u"Adam"_s, u"Ostrava"_s);
    addAddress(u"Cyril"_s, u"Brno"_s);
    {
        platform::IniFile ini(dirs.dataSetIni());
        search::writeAddressSearchBy(ini, dirs.dataSetDir, search::ByPlace);
    }
    TEazForm w(ctx(), true);
    show(w);
    EXPECT_EQ(w.windowTitle(), u"Adresář - podle místa"_s);
    EXPECT_EQ(dm.Maz->field(u"Mi"_s).asString(), u"Brno"_s);
    // F3 opens the search; back in the book the order is applied again.
    bool searched = false;
    WindowScript script({[&](QDialog &d) {
        searched = d.windowTitle() == u"Vyhledávání"_s;
        d.reject();
    }});
    key(w.edit(u"Fa"_s), Qt::Key_F3);
    EXPECT_TRUE(searched);
    EXPECT_EQ(w.windowTitle(), u"Adresář - podle místa"_s);
    w.reject();
    // Closed, the book is ordered by name again.
    dm.Maz->open();
    EXPECT_EQ(dm.Maz->indexName(), u"Fa"_s);
}

TEST_F(RecordWindows, DocumentsRefuseADuplicateNameAndDuplicateOnCtrlD)
{
    addDocument(u"Dopis"_s, true);
    addDocument(u"Příloha"_s, false);
    dm.Mdp->first();
    TEdpForm w(ctx(), TEdpForm::Mode::Edit);
    show(w);
    EXPECT_TRUE(w.printButton()->isVisible());
    EXPECT_EQ(w.typeBox()->text(), u"dopis"_s);
    key(w.grid(), Qt::Key_PageDown);
    EXPECT_EQ(w.typeBox()->text(), u"příloha"_s);

    // Insert: a letter, the focus on the name; a name that exists is refused, the row stays.
    key(w.grid(), Qt::Key_Insert);
    ASSERT_EQ(dm.Mdp->state(), engine::Table::State::Insert);
    EXPECT_EQ(QApplication::focusWidget(), w.edit(u"Nazev"_s));
    EXPECT_EQ(w.typeBox()->text(), u"dopis"_s);
    QTest::keyClicks(w.edit(u"Nazev"_s), u"Dopis"_s);
    key(w.edit(u"Nazev"_s), Qt::Key_F9);
    EXPECT_EQ(prompter.errors(), QStringList{u"Duplicitní klíč - název"_s});
    EXPECT_EQ(dm.Mdp->state(), engine::Table::State::Insert);
    key(w.edit(u"Nazev"_s), Qt::Key_Escape);
    EXPECT_EQ(dm.Mdp->recordCount(), 2);

    // Ctrl+D: asked, then a copy without a name in insert state.
    key(w.grid(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(prompter.texts().last(), u"Duplikovat tento dokument ?"_s);
    ASSERT_EQ(dm.Mdp->state(), engine::Table::State::Insert);
    EXPECT_EQ(w.edit(u"Nazev"_s)->text(), QString());
    EXPECT_EQ(QApplication::focusWidget(), w.edit(u"Nazev"_s));
    QTest::keyClicks(w.edit(u"Nazev"_s), u"Kopie"_s);
    key(w.edit(u"Nazev"_s), Qt::Key_F9);
    EXPECT_EQ(dm.Mdp->recordCount(), 3);
    EXPECT_EQ(dm.Mdp->field(u"Text"_s).asString(), u"řádek 1\nřádek 2"_s);

    // Ctrl+Y asks; No keeps the document, Yes deletes it.
    prompter.answers = {Prompter::Answer::No};
    key(w.grid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(prompter.texts().last(), u"Smazat záznam?"_s);
    EXPECT_EQ(dm.Mdp->recordCount(), 3);
    key(w.grid(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(dm.Mdp->recordCount(), 2);

    // "&Tisk" closes the window for printing.
    w.printButton()->click();
    EXPECT_EQ(w.result(), TEdpForm::PrintResult);
}

TEST_F(RecordWindows, PickModeChoosesTheDocumentForThePrintCentre)
{
    addDocument(u"A"_s, true);
    addDocument(u"B"_s, false);
    addDocument(u"C"_s, true);
    rur::testing::setRow(*dm.Mtt, {{u"Nazev"_s, u"B"_s}});
    bool shown = false;
    {
        WindowScript script({[&](QDialog &d) {
            auto &w = dynamic_cast<TEdpForm &>(d);
            shown = true;
            EXPECT_FALSE(w.printButton()->isVisible());
            EXPECT_EQ(w.edit(u"Nazev"_s)->text(), u"B"_s);  // on the chosen document
            key(w.grid(), Qt::Key_PageDown);
            w.grid()->setFocus();
            key(w.grid(), Qt::Key_Return);
        }});
        correspondence::pickDocument(nullptr, ctx());
    }
    EXPECT_TRUE(shown);
    EXPECT_TRUE(dm.Mtt->isEditing());
    EXPECT_EQ(dm.Mtt->field(u"Nazev"_s).asString(), u"C"_s);
    dm.Mtt->post();

    // The menu's edit mode: "&Tisk" stores the document's name for the print centre.
    WindowScript edit({[&](QDialog &d) {
        auto &w = dynamic_cast<TEdpForm &>(d);
        EXPECT_EQ(w.edit(u"Nazev"_s)->text(), u"A"_s);  // the first row
        w.grid()->setFocus();
        key(w.grid(), Qt::Key_Return);  // picks nothing in edit mode
        EXPECT_TRUE(w.isVisible());
        w.printButton()->click();
    }});
    EXPECT_TRUE(correspondence::openDocuments(nullptr, ctx()));
    EXPECT_FALSE(dm.Mtt->isEditing());
    EXPECT_EQ(dm.Mtt->field(u"Nazev"_s).asString(), u"A"_s);
}
