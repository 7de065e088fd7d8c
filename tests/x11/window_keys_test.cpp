// The keys of the windows on a real desktop: a window's own key does the window's action in
// every field of the window (the field's own binding of the key never runs), F4 from the
// documents' list edits the name, and a list with nothing to duplicate offers no duplicate.
#include "correspondence/Documents.h"
#include "correspondence/forms/EazForm.h"
#include "correspondence/forms/EdpForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "engine/Table.h"
#include "forms/window_script.h"
#include "payments/PaymentData.h"
#include "payments/forms/EbanForm.h"
#include "payments/forms/EbzpForm.h"
#include "print/forms/PrevForm.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/DBGrid.h"
#include "x11/x11_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using platform::Prompter;
using rur::testing::WindowScript;

namespace {

QString describe(const QWidget &w)
{
    return QString::fromLatin1(w.metaObject()->className()) + u' ' + w.objectName();
}

// The fields of a window where its keys are pressed: edits, memos, lists and list boxes
// that can take the focus.
QList<QWidget *> fieldsOf(QWidget &window)
{
    QList<QWidget *> out;
    for (QWidget *w : window.findChildren<QWidget *>()) {
        const bool field = (qobject_cast<QLineEdit *>(w) && !qobject_cast<QComboBox *>(w->parentWidget()))
                           || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QAbstractItemView *>(w)
                           || qobject_cast<QComboBox *>(w);
        if (field && w->window() == &window && w->isVisibleTo(&window) && w->isEnabled() && w->focusPolicy() != Qt::NoFocus)
            out.append(w);
    }
    return out;
}

QString textOf(const QWidget *w)
{
    if (const auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (const auto *m = qobject_cast<const QPlainTextEdit *>(w))
        return m->toPlainText();
    return {};
}

// Presses the key in every field of the shown window; `acted` tells whether the window did
// its action for that press. What the field holds stays as it was.
void pressInEveryField(QWidget &window, QKeyCombination key, const std::function<bool()> &acted)
{
    const QList<QWidget *> fields = fieldsOf(window);
    ASSERT_FALSE(fields.isEmpty());
    for (QWidget *field : fields) {
        SCOPED_TRACE(describe(*field).toStdString());
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 2000));
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->setCursorPosition(0);
        if (auto *memo = qobject_cast<QPlainTextEdit *>(field))
            memo->moveCursor(QTextCursor::Start);
        const QString before = textOf(field);
        QTest::keyClick(field, key.key(), key.keyboardModifiers());
        EXPECT_TRUE(acted());
        EXPECT_EQ(textOf(field).toStdString(), before.toStdString());
    }
}

class WindowKeys : public rur::testing::OpenedDataSet {
protected:
    void addDocument(const QString &name, const QString &header)
    {
        engine::Table &mdp = *form->dataModule().Mdp;
        mdp.append();
        mdp.field(u"Nazev"_s).setValue(name);
        mdp.field(u"Rd1"_s).setValue(header);
        mdp.field(u"Rd2"_s).setValue(header);
        mdp.field(u"Text"_s).setValue(u"Vážení,\nzasíláme přiznání."_s);
        mdp.post();
    }
    // A window of the program opened from another one shows once more in the script.
    std::function<bool()> opens(WindowScript &script, const QString &window)
    {
        return [&script, window, count = qsizetype(0)]() mutable {
            const bool shown = script.shown.size() == count + 1 && script.shown.last() == window;
            count = script.shown.size();
            return shown;
        };
    }
};

TEST_F(WindowKeys, DocumentsDuplicateAndSearchFromEveryField)
{
    addDocument(u"Průvodní dopis"_s, u"Finanční úřad"_s);
    addDocument(u"Příloha 1"_s, u"Finanční úřad"_s);
    engine::Table &mdp = *form->dataModule().Mdp;
    mdp.first();
    correspondence::TEdpForm w(ctx(), correspondence::TEdpForm::Mode::Edit);
    rur::testing::showFramed(w);

    // Ctrl+D asks "Duplikovat tento dokument ?" (answered No) wherever it is pressed; the
    // name's own Ctrl+D deletes nothing.
    qsizetype asked = 0;
    prompter.answers = {Prompter::Answer::No};
    pressInEveryField(w, Qt::CTRL | Qt::Key_D, [&] {
        prompter.answers = {Prompter::Answer::No};
        const QStringList texts = prompter.texts();
        const bool duplicate = texts.size() == asked + 1 && texts.last() == QString::fromUtf16(correspondence::kDuplicateQuestion);
        asked = texts.size();
        return duplicate;
    });
    EXPECT_EQ(mdp.recordCount(), 2);

    WindowScript script({});
    pressInEveryField(w, QKeyCombination(Qt::Key_F3), opens(script, u"TFind12Form"_s));
    w.reject();
}

TEST_F(WindowKeys, F4InTheDocumentsListEditsTheName)
{
    addDocument(u"Dopis"_s, u"Úřad"_s);
    form->dataModule().Mdp->first();
    correspondence::TEdpForm w(ctx(), correspondence::TEdpForm::Mode::Edit);
    rur::testing::showFramed(w);
    w.grid()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.grid()->hasFocus(); }, 2000));

    QTest::keyClick(w.grid(), Qt::Key_F4);
    ui::TDBEditz *name = w.edit(u"Nazev"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return name->hasFocus(); }, 2000));
    EXPECT_TRUE(form->dataModule().Mdp->isEditing());
    // What is typed next is the name's.
    name->end(false);
    QTest::keyClicks(QApplication::focusWidget(), u" 2019"_s);
    EXPECT_EQ(name->text(), u"Dopis 2019"_s);
    prompter.answers = {Prompter::Answer::No};
    w.reject();
}

TEST_F(WindowKeys, AnEmptyDocumentListHasNothingToDuplicate)
{
    engine::Table &mdp = *form->dataModule().Mdp;
    ASSERT_TRUE(mdp.isEmpty());
    correspondence::TEdpForm w(ctx(), correspondence::TEdpForm::Mode::Edit);
    rur::testing::showFramed(w);
    EXPECT_FALSE(w.duplicateButton()->isEnabled());
    QTest::keyClick(w.grid(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(prompter.texts(), QStringList());
    EXPECT_TRUE(mdp.isEmpty());

    // A document typed and stored: now there is one to duplicate.
    QTest::keyClick(w.grid(), Qt::Key_Insert);
    QTest::keyClicks(w.edit(u"Nazev"_s), u"Dopis"_s);
    QTest::keyClick(w.edit(u"Nazev"_s), Qt::Key_F9);
    EXPECT_EQ(mdp.recordCount(), 1);
    EXPECT_TRUE(w.duplicateButton()->isEnabled());
    w.reject();
}

TEST_F(WindowKeys, AddressBookSearchesAndRereadsFromEveryField)
{
    engine::Table &maz = *form->dataModule().Maz;
    maz.open();
    maz.append();
    maz.field(u"Ico"_s).setValue(u"12345678"_s);
    maz.field(u"Fa"_s).setValue(u"Stavebniny Dvořák"_s);
    maz.field(u"P"_s).setValue(u"poznámka"_s);
    maz.post();
    maz.first();
    correspondence::TEazForm w(ctx(), true);
    rur::testing::showFramed(w);
    WindowScript script({});
    pressInEveryField(w, QKeyCombination(Qt::Key_F3), opens(script, u"TFind16Form"_s));
    QSignalSpy reread(&maz, &engine::Table::rowsReloaded);
    pressInEveryField(w, QKeyCombination(Qt::Key_F5), [&, count = qsizetype(0)]() mutable {
        const bool again = reread.size() > count;
        count = reread.size();
        return again;
    });
    w.reject();
    maz.close();
}

TEST_F(WindowKeys, TheSelectionsKeysWorkInItsList)
{
    datasets::TAuto1Form &w = *form->selectionForm();
    int choices = 0, informations = 0;
    w.onDataChoice = [&] { ++choices; };
    w.onInformation = [&] { ++informations; };
    form->catalogue()->showSelection();
    rur::testing::showFramed(w);
    pressInEveryField(w, Qt::CTRL | Qt::Key_N, [&, count = 0]() mutable { return choices == ++count; });
    pressInEveryField(w, Qt::CTRL | Qt::Key_I, [&, count = 0]() mutable { return informations == ++count; });
    w.hide();

    // Ctrl+P in the list of an empty catalogue ends the selection.
    QTemporaryDir empty;
    data::installDataRoot(empty.path() + u"/common/Tervik/RUR 2018/"_s);
    app::TMainForm other({empty.path() + u"/prg"_s, empty.path() + u"/common"_s, empty.path() + u"/docs"_s, QSize(1024, 768)},
                         prompter);
    datasets::TAuto1Form &selection = *other.selectionForm();
    other.catalogue()->showSelection();
    ASSERT_TRUE(other.catalogue()->isEmpty());
    rur::testing::showFramed(selection);
    pressInEveryField(selection, Qt::CTRL | Qt::Key_P,
                      [&] { return !selection.isVisible() && selection.result() == datasets::TAuto1Form::ResultEnd; });
}

TEST_F(WindowKeys, BankWindowsSearchFromEveryField)
{
    data::TDM1 &dm = form->dataModule();
    payments::openBankData(dm);
    {
        payments::TEbzpForm w(ctx());
        rur::testing::showFramed(w);
        WindowScript script({});
        pressInEveryField(w, QKeyCombination(Qt::Key_F3), opens(script, u"TFind11Form"_s));
        w.reject();
    }
    {
        if (!dm.Mban->isActive())
            dm.Mban->open();
        payments::BankWindowServices services;
        services.dirs = form->directories();
        payments::TEbanForm w(ctx(), services);
        rur::testing::showFramed(w);
        WindowScript script({});
        pressInEveryField(w, QKeyCombination(Qt::Key_F3), opens(script, u"TFind10Form"_s));
        w.reject();
    }
    payments::closeBankData(dm);
}

TEST_F(WindowKeys, ThePreviewPagesFromTheZoomBox)
{
    report::PreparedReport twoPages;
    twoPages.caption = u"Dopis"_s;
    twoPages.pageSizeUnits = QSizeF(794, 1123);
    twoPages.pages.resize(2);
    print::TPrevForm w(form->dataModule(), prompter);
    print::PreviewRequest request;
    request.report = &twoPages;
    w.showRequest(request);
    rur::testing::showFramed(w);
    // Each key moves to the page it names, also where the zoom box's edit has its own use of
    // the key (Ctrl+Home, Ctrl+End).
    const std::pair<QKeyCombination, QString> keys[] = {{QKeyCombination(Qt::Key_PageDown), u"Strana 2 z 2"_s},
                                                        {QKeyCombination(Qt::Key_PageUp), u"Strana 1 z 2"_s},
                                                        {Qt::CTRL | Qt::Key_End, u"Strana 2 z 2"_s},
                                                        {Qt::CTRL | Qt::Key_Home, u"Strana 1 z 2"_s}};
    for (const auto &[key, page] : keys) {
        const bool toLast = page == u"Strana 2 z 2"_s;
        w.button(toLast ? u"FirstButton"_s : u"LastButton"_s)->click();
        pressInEveryField(w, key, [&w, page, toLast] {
            const bool moved = w.pagePanel()->text() == page;
            // Back at the other end for the next press.
            w.button(toLast ? u"FirstButton"_s : u"LastButton"_s)->click();
            return moved;
        });
    }
    w.reject();
}

}  // namespace
