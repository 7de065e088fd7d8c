// The correspondence in the print centre's Komfort page (the documents' and the envelopes'
// printouts, the envelope choice, the sender's button) and the sender window "Odesílatel".
#include "forms/print_centre_fixture.h"

#include "correspondence/Printouts.h"
#include "correspondence/forms/CorrespondenceWindows.h"
#include "correspondence/forms/EazForm.h"
#include "correspondence/forms/EazoForm.h"
#include "correspondence/forms/EdpForm.h"
#include "ui/forms/DBGrid.h"

using namespace print_centre;

namespace {

class KomfortCorrespondence : public PrintCentre {
protected:
    void SetUp() override
    {
        PrintCentre::SetUp();
        correspondence::registerKomfortActions(services->komfort, prompter, [this] {
            vat::WindowContext c{dm, prompter};
            c.dataSetIni = dirs.dataSetIni();
            c.section = dirs.dataSetDir;
            return c;
        });
        dm.Maz->open();
        for (const char16_t *name : {u"Cyril", u"Adam", u"Bára"}) {
            dm.Maz->append();
            dm.Maz->field(u"Fa"_s).setValue(QString::fromUtf16(name));
            dm.Maz->field(u"Psc"_s).setValue(u"11000"_s);
            dm.Maz->post();
        }
        setRow(*dm.Mtt, {{u"Fa"_s, u"Jan Novák"_s}, {u"Ul"_s, u"Dlouhá 1234/5"_s}, {u"Psc"_s, u"60200"_s},
                         {u"Mi"_s, u"Brno"_s}});
    }
    QStringList pageTexts(const report::PreparedReport &r, const QString &item)
    {
        QStringList out;
        for (int p = 0; p < r.pageCount(); ++p)
            out.append(r.find(item, p) ? r.find(item, p)->text : u"-"_s);
        return out;
    }
};

}  // namespace

TEST_F(KomfortCorrespondence, EnvelopesFollowTheChoiceAndTheMarksOfTheAddressBook)
{
    TEmtfForm &w = open(3);
    show();
    for (int n : {3, 5, 6})
        EXPECT_TRUE(w.node(w.komfortTree(), n)->flags() & Qt::ItemIsEnabled) << n;
    EXPECT_TRUE(button(u"OdesilatelButton"_s)->isEnabled());

    // Nothing marked: the message, no preview.
    select(w.komfortTree(), 5);
    button(u"KomNahledButton"_s)->click();
    EXPECT_TRUE(previews.isEmpty());
    EXPECT_EQ(prompter.texts(), QStringList{u"V adresáři není vybrána žadná adresa pro tisk."_s});

    // "Vybrat vše", then the envelope choice typed into the panel reaches the printout.
    button(u"VybratVseButton"_s)->click();
    auto *choice = qobject_cast<QComboBox *>(w.control(u"Mtt"_s, u"Obl"_s, 2));
    ASSERT_NE(choice, nullptr);
    QList<report::PreparedReport> shown;
    onPreview = [&](const print::PreviewRequest &r) { shown.append(*r.report); };
    const struct {
        const char16_t *obl;
        bool sender, mark;
    } choices[] = {{correspondence::kWithoutSender, false, false},
                   {correspondence::kWithSender, true, false},
                   {correspondence::kWithSenderRegistered, true, true}};
    for (const auto &c : choices) {
        const int index = choice->findText(QString::fromUtf16(c.obl));
        ASSERT_GE(index, 0);
        choice->setCurrentIndex(index);
        emit choice->activated(index);  // as the user's choice in the list
        button(u"KomNahledButton"_s)->click();
        ASSERT_FALSE(shown.isEmpty());
        const report::PreparedReport &r = shown.last();
        EXPECT_EQ(r.caption, u"Tisk obálek DL"_s);
        EXPECT_EQ(pageTexts(r, u"QRDBTextFa"_s), (QStringList{u"Adam"_s, u"Bára"_s, u"Cyril"_s}));
        EXPECT_EQ(r.find(u"QRDBTextOdFa"_s) != nullptr, c.sender) << QString::fromUtf16(c.obl).toStdString();
        EXPECT_EQ(r.find(u"QRDBTextOdPsc1"_s) != nullptr, c.sender);
        EXPECT_EQ(r.find(u"QRLabelDoporucene"_s) != nullptr, c.mark);
    }
    EXPECT_EQ(dm.Mtt->field(u"Obl"_s).asString(), QString::fromUtf16(correspondence::kWithSenderRegistered));
    EXPECT_EQ(shown.last().find(u"QRDBTextOdPsc1"_s)->text, u"602 00"_s);

    // C5 prints the three envelopes as pages of a job.
    select(w.komfortTree(), 6);
    button(u"KomTiskButton"_s)->click();
    ASSERT_EQ(jobs->jobs.size(), 1);
    EXPECT_EQ(jobs->jobs[0].caption, u"Tisk obálek C5"_s);
}

TEST_F(KomfortCorrespondence, TheDocumentNamedInThePanelIsPrintedAsLetterOrAttachment)
{
    dm.Mdp->append();
    dm.Mdp->field(u"Nazev"_s).setValue(u"Dopis 2018"_s);
    dm.Mdp->field(u"Rd2"_s).setValue(u"Přiznání k RUR"_s);
    dm.Mdp->field(u"Text"_s).setValue(u"Vážení,\nv příloze zasíláme přiznání."_s);
    dm.Mdp->post();
    TEmtfForm &w = open(3);
    show();
    select(w.komfortTree(), 3);
    type(w.control(u"Mtt"_s, u"Nazev"_s, 1), u"Dopis 2018"_s);
    report::PreparedReport shown;
    onPreview = [&](const print::PreviewRequest &r) { shown = *r.report; };
    button(u"KomNahledButton"_s)->click();
    ASSERT_EQ(previews, QStringList{u"Dopis"_s});
    EXPECT_EQ(shown.find(u"QRMemoText"_s)->text, u"Vážení,\nv příloze zasíláme přiznání."_s);
    EXPECT_EQ(shown.find(u"QRDBTextRd2"_s)->text, u"Přiznání k RUR"_s);
    EXPECT_EQ(dm.Mtt->field(u"Nazev"_s).asString(), u"Dopis 2018"_s);

    // A name no document has: told, nothing shown, no failure message.
    type(w.control(u"Mtt"_s, u"Nazev"_s, 1), u"Jiny"_s);
    prompter.messages.clear();
    button(u"KomNahledButton"_s)->click();
    EXPECT_EQ(previews.size(), 1);
    EXPECT_EQ(prompter.texts(), QStringList{u"Dokument „Jiny“ v tabulce dokumentů není."_s});
}

TEST_F(KomfortCorrespondence, SenderWindowTakesTheTaxpayerOnYesAndSavesOnClosing)
{
    setRow(*dm.Prp, {{u"Tia"_s, u"Ing."_s}, {u"Jmb"_s, u"Jan"_s}, {u"Pra"_s, u"Novák"_s}, {u"Ul"_s, u"Dlouhá"_s},
                     {u"Cpocp"_s, u"1234"_s}, {u"Cpoco"_s, QVariant()}, {u"Psc"_s, u"11000"_s}, {u"Ob"_s, u"Praha"_s}});
    setRow(*dm.Mtt, {{u"Fa"_s, u"Stará firma"_s}});
    TEmtfForm &w = open(3);
    show();
    select(w.komfortTree(), 5);
    bool shown = false;
    WindowScript script({[&](QDialog &d) {
        auto &sender = dynamic_cast<correspondence::TEazoForm &>(d);
        shown = true;
        EXPECT_EQ(sender.windowTitle(), u"Odesílatel"_s);
        EXPECT_TRUE(dm.Mtt->isEditing());
        EXPECT_EQ(sender.edit(u"Fa"_s)->text(), u"Stará firma"_s);
        // No: nothing changes.
        prompter.answers = {platform::Prompter::Answer::No, platform::Prompter::Answer::Yes};
        sender.findChild<QPushButton *>(u"PrenosButton"_s)->click();
        EXPECT_EQ(sender.edit(u"Fa"_s)->text(), u"Stará firma"_s);
        sender.findChild<QPushButton *>(u"PrenosButton"_s)->click();
        EXPECT_EQ(sender.edit(u"Fa"_s)->text(), u"Ing. Jan Novák"_s);
        EXPECT_EQ(sender.edit(u"Ul"_s)->text(), u"Dlouhá 1234"_s);
        EXPECT_EQ(QApplication::focusWidget(), sender.edit(u"Fa"_s));
        // Typed and closed with Esc: the typed place is saved.
        sender.edit(u"Mi"_s)->setFocus();
        sender.edit(u"Mi"_s)->selectAll();
        QTest::keyClicks(sender.edit(u"Mi"_s), u"Praha 1"_s);
        sender.reject();
    }});
    button(u"OdesilatelButton"_s)->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(prompter.texts().mid(0, 2), (QStringList{u"Opravdu přenést adresu z Údajů o poplatníkovi ?"_s,
                                                       u"Opravdu přenést adresu z Údajů o poplatníkovi ?"_s}));
    EXPECT_FALSE(dm.Mtt->isEditing());
    dm.Mtt->close();
    dm.Mtt->open();
    EXPECT_EQ(dm.Mtt->field(u"Fa"_s).asString(), u"Ing. Jan Novák"_s);
    EXPECT_EQ(dm.Mtt->field(u"Psc1"_s).asString(), u"110 00"_s);
    EXPECT_EQ(dm.Mtt->field(u"Mi"_s).asString(), u"Praha 1"_s);
    EXPECT_TRUE(ini().readInteger(dirs.dataSetDir, u"Odesilatel1Top"_s, -1) >= 0);
}

TEST_F(KomfortCorrespondence, PanelButtonsOpenTheAddressBookAndPickADocument)
{
    dm.Mdp->append();
    dm.Mdp->field(u"Nazev"_s).setValue(u"Dopis"_s);
    dm.Mdp->post();
    dm.Mdp->append();
    dm.Mdp->field(u"Nazev"_s).setValue(u"Příloha"_s);
    dm.Mdp->field(u"Typ"_s).setValue(false);
    dm.Mdp->post();
    dm.Maz->close();
    TEmtfForm &w = open(3);
    show();
    select(w.komfortTree(), 5);
    // The address book from the print centre does not offer the print centre again.
    bool bookShown = false;
    {
        WindowScript script({[&](QDialog &d) {
            auto &book = dynamic_cast<correspondence::TEazForm &>(d);
            bookShown = true;
            EXPECT_FALSE(book.printButton()->isVisible());
            EXPECT_TRUE(dm.Maz->isActive());
            book.reject();
        }});
        button(u"AdresarButton"_s)->click();
    }
    EXPECT_TRUE(bookShown);
    EXPECT_FALSE(dm.Maz->isActive());

    // "&Editace": the documents in pick mode; the one chosen goes into the panel's name.
    select(w.komfortTree(), 3);
    {
        WindowScript script({[&](QDialog &d) {
            auto &documents = dynamic_cast<correspondence::TEdpForm &>(d);
            EXPECT_FALSE(documents.printButton()->isVisible());
            documents.grid()->setFocus();
            QTest::keyClick(documents.grid(), Qt::Key_PageDown);
            QTest::keyClick(documents.grid(), Qt::Key_Return);
        }});
        button(u"EditaceButton"_s)->click();
    }
    EXPECT_EQ(dm.Mtt->field(u"Nazev"_s).asString(), u"Příloha"_s);
    EXPECT_EQ(qobject_cast<QLineEdit *>(w.control(u"Mtt"_s, u"Nazev"_s, 1))->text(), u"Příloha"_s);
    EXPECT_EQ(w.focusWidget(), w.control(u"Mtt"_s, u"Vh"_s, 1));
    report::PreparedReport shown;
    onPreview = [&](const print::PreviewRequest &r) { shown = *r.report; };
    button(u"KomNahledButton"_s)->click();
    EXPECT_EQ(shown.caption, u"Příloha"_s);
}
