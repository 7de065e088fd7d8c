// The windows of the return: the four entry windows and the finished returns, their rules,
// saving from the menu and every window's place (taxpayer data and rates: taxpayer_windows_test).
#include "forms/vat_windows_fixture.h"
#include "ui/forms/WindowPlacer.h"

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::setRow;
using Answer = platform::Prompter::Answer;
using app::Command;
using rur::testing::EntryWindows;
using rur::testing::FinishedWindows;
using rur::testing::VatWindows;
using rur::testing::WindowScript;

TEST(VatWindowRules, CaptionsQuestionsAndPositions)
{
    EXPECT_EQ(vat::captionWithPeriod(u"1. Zdanitelná plnění"_s, u"březen"_s, QString()), u"1. Zdanitelná plnění - březen"_s);
    EXPECT_EQ(vat::captionWithPeriod(u"A"_s, QString(), u"I."_s), u"A - I. čtvrtletí"_s);
    EXPECT_EQ(vat::captionWithPeriod(u"A"_s, u"březen"_s, u"I."_s), u"A"_s);
    EXPECT_EQ(vat::captionWithPeriod(u"A"_s, u"  "_s, QString()), u"A"_s);
    EXPECT_EQ(vat::coefficientTransferQuestion(0.856), u"Opravdu přenést Koeficient 0,86 z Údajů o poplatníkovi ?"_s);
    EXPECT_EQ(vat::coefficientTransferQuestion(0), u"Opravdu přenést Koeficient 0,00 z Údajů o poplatníkovi ?"_s);

    // Sequence of the windows: nothing before 1, the print selection after 4.
    EXPECT_EQ(vat::previousReturnWindow(1), 0);
    EXPECT_EQ(vat::previousReturnWindow(4), 3);
    EXPECT_EQ(vat::nextReturnWindow(4), 5);
    EXPECT_EQ(vat::nextReturnWindow(5), 0);

    QTemporaryDir dir;
    platform::IniFile ini(dir.path() + u"/D1.ini"_s);
    using vat::WindowId;
    EXPECT_EQ(vat::readWindowPosition(ini, u"D1"_s, WindowId::Taxpayer, 640), QPoint(23, 0));
    EXPECT_EQ(vat::readWindowPosition(ini, u"D1"_s, WindowId::Taxpayer, 641), QPoint(103, 57));
    EXPECT_EQ(vat::readWindowPosition(ini, u"D1"_s, WindowId::Rates, 800), QPoint(215, 209));
    EXPECT_EQ(vat::readWindowPosition(ini, u"D1"_s, WindowId::Finished2, 640), QPoint(0, 0));
    EXPECT_EQ(vat::readWindowPosition(ini, u"D1"_s, WindowId::Return4, 1024), QPoint(80, 62));
    ASSERT_TRUE(vat::writeWindowPosition(ini, u"D1"_s, WindowId::Finished3, QPoint(5, 7)));
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"NarokNaOdpocetSTop"_s, 0), 7);
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"NarokNaOdpocetSLeft"_s, 0), 5);
    EXPECT_EQ(vat::readWindowPosition(ini, u"D1"_s, WindowId::Finished3, 1024), QPoint(5, 7));
}

TEST(VatWindowRules, EveryLineNamesAFieldOfItsTable)
{
    data::TDM1 dm;
    const engine::Table *tables[] = {dm.Dtabn1.get(), dm.Dtabn1.get(), dm.Dtabn2.get(), dm.Dtabn3.get()};
    const engine::Table *finished[] = {dm.Dtabn1s.get(), dm.Dtabn1s.get(), dm.Dtabn2s.get(), nullptr};
    for (int n = 1; n <= 4; ++n) {
        for (const vat::SectionDef &section : vat::returnSections(n))
            for (const vat::LineDef &line : section.lines)
                for (const vat::CellDef &cell : line.cells) {
                    const engine::Table *t = tables[n - 1];
                    ASSERT_TRUE(t->hasField(cell.field)) << n << ' ' << cell.field.toStdString();
                    // What the user types is stored, what the program shows is calculated.
                    EXPECT_EQ(t->def().fields.at(t->def().indexOf(cell.field)).calculated, !vat::isTyped(cell.kind))
                        << cell.field.toStdString();
                    if (finished[n - 1]) {
                        EXPECT_TRUE(finished[n - 1]->hasField(cell.field)) << cell.field.toStdString();
                    }
                    EXPECT_LT(cell.column, section.columns.size()) << cell.field.toStdString();
                }
    }
    EXPECT_EQ(vat::typedFields(1).first(), u"S210"_s);
    EXPECT_EQ(vat::typedFields(1).last(), u"C540"_s);
    EXPECT_EQ(vat::typedFields(2).last(), u"C600"_s);
    EXPECT_EQ(vat::typedFields(3).last(), u"S550a"_s);
}

TEST_F(EntryWindows, PageDownWhileEditingAsksAndCancelKeepsWindow1Open)
{
    WindowScript script({[&](QDialog &d) {
        auto &w = static_cast<vat::TReturnEntryForm &>(d);
        EXPECT_EQ(w.windowTitle(), u"1. Zdanitelná plnění - leden"_s);
        type(w.edit(u"C410"_s), u"700"_s);
        prompter.answers = {Answer::Cancel};
        QTest::keyClick(w.edit(u"C410"_s), Qt::Key_PageDown);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(prompter.texts(),
                  QStringList{u"V tabulce 1. Zdanitelná plnění - leden byly provedeny změny.\nUložit záznam?"_s});
        // The cancelled request is forgotten: closing now opens nothing else. No drops the edit.
        prompter.answers = {Answer::No};
        w.button(u"ZavritButton"_s)->click();
    }});
    form->Dpp1(1);
    EXPECT_EQ(script.shown, QStringList{u"TEtab1Form"_s});
    EXPECT_EQ(prompter.texts().size(), 2);
    EXPECT_TRUE(dm().Dtabn1->field(u"C410"_s).isNull());
    EXPECT_FALSE(dm().Dtabn1->isEditing());
}

TEST_F(EntryWindows, PagingStoresOnYesAndEscInWindow3OpensNothingMore)
{
    {
        WindowScript script({[&](QDialog &d) {
                                 auto &w = static_cast<vat::TReturnEntryForm &>(d);
                                 EXPECT_FALSE(w.button(u"PriorButton"_s)->isEnabled());
                                 type(w.edit(u"C410"_s), u"700"_s);
                                 w.button(u"NextButton"_s)->click();  // Yes by default
                             },
                             [&](QDialog &d) {
                                 auto &w = static_cast<vat::TReturnEntryForm &>(d);
                                 EXPECT_EQ(w.windowTitle(), u"2. Zdanitelná plnění, Doplňující údaje - leden"_s);
                                 QTest::keyClick(w.edit(u"C220"_s), Qt::Key_PageDown);
                             },
                             [&](QDialog &d) {
                                 auto &w = static_cast<vat::TReturnEntryForm &>(d);
                                 QTest::keyClick(w.edit(u"C310"_s), Qt::Key_Escape);
                             }});
        run(Command::Priznani1);
        EXPECT_EQ(script.shown, (QStringList{u"TEtab1Form"_s, u"TEtab4Form"_s, u"TEtab2Form"_s}));
        EXPECT_EQ(dm().Dtabn1->field(u"C410"_s).asFloat(), 700);
    }

    WindowScript alone({[&](QDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); }});
    form->Dpp1(3);
    EXPECT_EQ(alone.shown, QStringList{u"TEtab2Form"_s});
}

TEST_F(EntryWindows, Window4ShowsLine62FromTheStoredWindow1)
{
    WindowScript script({[&](QDialog &d) {
                             auto &w = static_cast<vat::TReturnEntryForm &>(d);
                             type(w.edit(u"C210a"_s), u"5000"_s);
                             QTest::keyClick(w.edit(u"C210a"_s), Qt::Key_F9);
                             EXPECT_FALSE(w.table().isEditing());
                             QTest::keyClick(&w, Qt::Key_PageDown);
                         },
                         [&](QDialog &d) {
                             auto &w = static_cast<vat::TReturnEntryForm &>(d);
                             type(w.edit(u"C600"_s), u"1000"_s);
                             QTest::keyClick(w.edit(u"C600"_s), Qt::Key_PageDown);  // stores on Yes
                         },
                         [&](QDialog &d) { QTest::keyClick(&d, Qt::Key_PageDown); },
                         [&](QDialog &d) {
                             auto &w = static_cast<vat::TReturnEntryForm &>(d);
                             EXPECT_EQ(w.edit(u"C730"_s)->text(), u"4000"_s);
                             EXPECT_EQ(w.edit(u"C753"_s)->text(), u"4000"_s);
                             EXPECT_TRUE(w.edit(u"C730"_s)->isReadOnly());
                             EXPECT_FALSE(w.edit(u"S730"_s)->isReadOnly());
                             EXPECT_TRUE(w.edit(u"S730"_s)->toolTip().startsWith(u"Pomocná kolonka"_s));
                             // The print button waits for the print centre.
                             EXPECT_EQ(w.button(u"TiskButton"_s)->isEnabled(),
                                       form->commandAction(Command::TiskRur)->isEnabled());
                             if (!w.button(u"TiskButton"_s)->isEnabled()) {
                                 QTest::keyClick(&w, Qt::Key_PageDown);
                                 EXPECT_TRUE(w.isVisible());
                             }
                             w.reject();
                         }});
    form->Dpp1(1);
    EXPECT_EQ(script.shown.size(), 4);
    EXPECT_EQ(dm().Dtabn3->field(u"C730"_s).asFloat(), 4000);
}

TEST_F(EntryWindows, Window4PrintsWithPageDownOnceThePrintCentreExists)
{
    int printed = 0;
    form->setCommandHandler(Command::TiskRur, [] {});
    form->setReturnWindowOpener(5, [&] { ++printed; });
    WindowScript script({[&](QDialog &d) {
                             auto &w = static_cast<vat::TReturnEntryForm &>(d);
                             EXPECT_TRUE(w.button(u"TiskButton"_s)->isEnabled());
                             QTest::keyClick(w.edit(u"C570"_s), Qt::Key_PageUp);
                         },
                         [&](QDialog &d) { QTest::keyClick(&d, Qt::Key_PageDown); },
                         [&](QDialog &d) { QTest::keyClick(&d, Qt::Key_PageDown); }});
    form->Dpp1(4);
    EXPECT_EQ(script.shown, (QStringList{u"TEtab3Form"_s, u"TEtab2Form"_s, u"TEtab3Form"_s}));
    EXPECT_EQ(printed, 1);
}

TEST_F(EntryWindows, EditStoreAndCancelKeysAndTheNavigator)
{
    auto w = open<vat::TEtab2Form>();
    QLineEdit *c310 = w->edit(u"C310"_s);
    const auto enabled = [&](const char16_t *name) { return w->button(QString::fromUtf16(name))->isEnabled(); };
    EXPECT_TRUE(enabled(u"EditButton"));
    EXPECT_FALSE(enabled(u"PostButton"));
    QTest::keyClick(c310, Qt::Key_F4);
    EXPECT_TRUE(w->table().isEditing());
    EXPECT_TRUE(enabled(u"PostButton") && enabled(u"CancelButton") && !enabled(u"EditButton"));
    QTest::keyClick(c310, Qt::Key_Escape);  // cancels, does not close
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->table().isEditing());

    type(c310, u"100"_s);
    QTest::keyClick(c310, Qt::Key_F9);  // the typed text is stored without leaving the field
    EXPECT_EQ(dm().Dtabn2->field(u"C310"_s).asFloat(), 100);
    EXPECT_EQ(w->edit(u"K310"_s)->text(), u"21"_s);
    type(c310, u"200"_s);
    w->button(u"CancelButton"_s)->click();
    EXPECT_EQ(c310->text(), u"100"_s);
    // Keys with Ctrl are no keys of the window.
    QTest::keyClick(c310, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_TRUE(w->isVisible());
    QTest::keyClick(c310, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->nextWindow(), 0);
}

TEST_F(EntryWindows, CaptionsFollowThePeriodOfTheTaxpayerData)
{
    setRow(*dm().Prp, {{u"M"_s, QVariant()}, {u"Q"_s, QVariant()}});
    EXPECT_EQ(open<vat::TEtab2Form>()->windowTitle(), u"3. Nárok na odpočet daně"_s);
    setRow(*dm().Prp, {{u"Q"_s, u"II."_s}});
    EXPECT_EQ(open<vat::TEtab3Form>()->windowTitle(), u"4. Výpočet daně, Vypořádání - II. čtvrtletí"_s);
    // Finished returns carry no period in the caption.
    EXPECT_EQ(open<vat::TEtab1sForm>()->windowTitle(), u"1. Zdanitelná plnění"_s);
}

TEST_F(EntryWindows, LeavingLine1Or2SplitsOnlyAChangedText)
{
    auto w = open<vat::TEtab1Form>();
    EXPECT_EQ(w->panel()->columnHeading(0, 0)->text(), u"Částka včetně RUR"_s);
    QLineEdit *s210 = w->edit(u"S210"_s);
    type(s210, u"1210"_s);
    QTest::keyClick(s210, Qt::Key_Return);  // Enter leaves like Tab, past the read-only rate
    EXPECT_EQ(QApplication::focusWidget(), w->edit(u"C210"_s));
    EXPECT_EQ(w->edit(u"C210"_s)->text(), u"1000"_s);
    EXPECT_EQ(w->edit(u"C210a"_s)->text(), u"210"_s);
    EXPECT_EQ(w->edit(u"K210"_s)->text(), u"210"_s);

    // The user corrects the base; entering and leaving line 1 unchanged keeps the correction.
    type(w->edit(u"C210"_s), u"999"_s);
    s210->setFocus();
    QTest::keyClick(s210, Qt::Key_Tab);
    EXPECT_EQ(w->edit(u"C210"_s)->text(), u"999"_s);
    EXPECT_EQ(w->edit(u"C210a"_s)->text(), u"210"_s);

    // Line 2 typed as the tax alone (Dan) at the reduced rate of 15 %.
    setRow(*dm().Prp, {{u"Dan"_s, true}});
    type(w->edit(u"S215"_s), u"150"_s);
    QTest::keyClick(w->edit(u"S215"_s), Qt::Key_Tab);
    EXPECT_EQ(w->edit(u"C215"_s)->text(), u"1000"_s);
    EXPECT_EQ(w->edit(u"C215a"_s)->text(), u"150"_s);
    EXPECT_TRUE(w->table().isEditing());  // nothing stored yet
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(open<vat::TEtab1Form>()->panel()->columnHeading(0, 0)->text(), u"Daň na výstupu"_s);
}

TEST_F(EntryWindows, CoefficientTransferWithShiftF7OrAClick)
{
    setRow(*dm().Prp, {{u"K1"_s, 0.86}});
    setRow(*dm().Dtabn2, {{u"C550"_s, 0.5}});
    auto w = open<vat::TEtab2Form>();
    QLineEdit *c550 = w->edit(u"C550"_s);
    c550->setFocus();
    prompter.answers = {Answer::No};
    QTest::keyClick(c550, Qt::Key_F7, Qt::ShiftModifier);
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu přenést Koeficient 0,86 z Údajů o poplatníkovi ?"_s});
    EXPECT_EQ(c550->text(), u"0,50"_s);
    EXPECT_FALSE(w->table().isEditing());

    QTest::keyClick(c550, Qt::Key_F7, Qt::ShiftModifier);
    EXPECT_EQ(c550->text(), u"0,86"_s);
    EXPECT_TRUE(w->table().isEditing());
    QTest::keyClick(c550, Qt::Key_Escape);  // not stored: Esc takes it back
    EXPECT_EQ(c550->text(), u"0,50"_s);

    QLabel *label = w->findChild<QLabel *>(u"KoeficientLabel"_s);
    ASSERT_NE(label, nullptr);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(prompter.texts().size(), 3);
    EXPECT_EQ(c550->text(), u"0,86"_s);
    QTest::keyClick(c550, Qt::Key_F9);
    EXPECT_DOUBLE_EQ(dm().Dtabn2->field(u"C550"_s).asFloat(), 0.86);
}

TEST_F(FinishedWindows, DeletingInWindow3RemovesThePeriodFromBothTables)
{
    savePeriod(1, u"leden"_s);
    savePeriod(2, u"únor"_s);
    WindowScript script({[&](QDialog &d) {
        auto &w = static_cast<vat::TFinishedForm &>(d);
        EXPECT_EQ(form->statusText(1), u"1/2"_s);
        QTest::keyClick(w.edit(u"C310"_s), Qt::Key_PageDown);
        EXPECT_EQ(form->statusText(1), u"2/2"_s);
        EXPECT_EQ(w.findChild<QLineEdit *>(u"DBEditM"_s)->text(), u"únor"_s);

        prompter.answers = {Answer::No};
        w.button(u"SmazatButton"_s)->click();
        EXPECT_EQ(prompter.texts().last(), u"Opravdu smazat RUR za únor ?"_s);
        EXPECT_EQ(dm().Dtabn2s->recordCount(), 2);

        w.button(u"SmazatButton"_s)->click();
        EXPECT_EQ(dm().Dtabn1s->recordCount(), 1);
        EXPECT_EQ(dm().Dtabn2s->recordCount(), 1);
        EXPECT_EQ(form->statusText(1), u"1/1"_s);
        EXPECT_EQ(QApplication::focusWidget(), w.edit(u"C310"_s));
        EXPECT_TRUE(w.button(u"SmazatButton"_s)->isEnabled());

        w.button(u"SmazatButton"_s)->click();
        EXPECT_EQ(form->statusText(1), u"0/0"_s);
        EXPECT_FALSE(w.button(u"SmazatButton"_s)->isEnabled());
        w.button(u"ZavritButton"_s)->click();
    }});
    run(Command::Hotova3);
    EXPECT_EQ(script.shown, QStringList{u"TEtab2sForm"_s});
    EXPECT_TRUE(dm().Dtabn1s->isEmpty());
    EXPECT_EQ(form->statusText(1), QString());
    EXPECT_FALSE(dm().statusDisplayOn);
}

TEST_F(FinishedWindows, KeysPageTheRowsAndEnterInTheLastFieldGoesRound)
{
    setRow(*dm().Dtabn1, {{u"C410"_s, 100.0}});
    savePeriod(1, u"leden"_s);
    savePeriod(2, u"únor"_s);
    savePeriod(3, u"březen"_s);
    auto w = open<vat::TEtab1sForm>();
    engine::Table &t = w->table();
    QLineEdit *first = w->edit(u"S210"_s);
    EXPECT_TRUE(first->isReadOnly());
    EXPECT_EQ(w->edit(u"C410"_s)->text(), u"100"_s);
    QTest::keyClick(first, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(t.recNo(), 3);
    QTest::keyClick(first, Qt::Key_PageUp);
    EXPECT_EQ(t.recNo(), 2);
    QTest::keyClick(first, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(t.recNo(), 1);
    QTest::keyClick(first, Qt::Key_PageUp);
    EXPECT_EQ(t.recNo(), 1);
    w->button(u"LastButton"_s)->click();
    EXPECT_EQ(w->findChild<QLineEdit *>(u"DBEditM"_s)->text(), u"březen"_s);

    QLineEdit *last = w->edit(u"C540"_s);
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), first);
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), w->edit(u"C520"_s));
}

TEST_F(VatWindows, SavingFromTheMenuReportsInTheStatusBar)
{
    run(Command::UlozeniRur);
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu uložit RUR za leden ?"_s});
    EXPECT_EQ(form->statusText(0), u"RUR za leden bylo uloženo."_s);
    EXPECT_EQ(dm().Prp->field(u"M"_s).asString(), u"únor"_s);
    EXPECT_EQ(open<vat::TEtab1Form>()->windowTitle(), u"1. Zdanitelná plnění - únor"_s);

    prompter.answers = {Answer::Yes, Answer::No};
    setRow(*dm().Prp, {{u"Cislo"_s, 1}, {u"M"_s, u"leden"_s}});
    run(Command::UlozeniPoslednihoRur);
    EXPECT_EQ(form->statusText(0), u"RUR bylo vypořádáno."_s);
    EXPECT_EQ(dm().Prp->field(u"M"_s).asString(), u"leden"_s);
}

TEST_F(VatWindows, EveryWindowOpensClosesAndKeepsItsPlace)
{
    struct Case {
        std::function<std::unique_ptr<QDialog>()> make;
        QString topKey;
    };
    const QList<Case> cases{
        {[&] { return std::make_unique<vat::TEprpForm>(ctx()); }, u"UdajeOPoplatnikovi3Top"_s},
        {[&] { return std::make_unique<vat::TEcisForm>(ctx()); }, u"SazbyDPHTop"_s},
        {[&] { return std::make_unique<vat::TEtab1Form>(ctx()); }, u"ZdanitelnaPlneniTop"_s},
        {[&] { return std::make_unique<vat::TEtab4Form>(ctx()); }, u"DoplnujiciUdajeTop"_s},
        {[&] { return std::make_unique<vat::TEtab2Form>(ctx()); }, u"NarokNaOdpocetTop"_s},
        {[&] { return std::make_unique<vat::TEtab3Form>(ctx()); }, u"VyporadaniDaneTop"_s},
        {[&] { return std::make_unique<vat::TEtab1sForm>(ctx()); }, u"ZdanitelnaPlneniSTop"_s},
        {[&] { return std::make_unique<vat::TEtab4sForm>(ctx()); }, u"DoplnujiciUdajeSTop"_s},
        {[&] { return std::make_unique<vat::TEtab2sForm>(ctx()); }, u"NarokNaOdpocetSTop"_s},
    };
    for (const Case &c : cases) {
        {
            const std::unique_ptr<QDialog> w = c.make();
            w->show();
            w->move(w->x() + 11, 30);
            w->reject();
            EXPECT_FALSE(w->isVisible()) << c.topKey.toStdString();
        }
        const platform::IniFile ini(form->directories().dataSetIni());
        EXPECT_EQ(ini.readInteger(u"D1"_s, c.topKey, -1), 30) << c.topKey.toStdString();
        // Where the frame goes: the toolkit knows a hidden window's frame only when another
        // window has shown one (an earlier test's, in the same process).
        EXPECT_EQ(ui::framePlace(*c.make()).y(), 30) << c.topKey.toStdString();
    }
    EXPECT_TRUE(prompter.messages.isEmpty());
    for (engine::Table *t : {dm().Prp.get(), dm().Dcis.get(), dm().Dtabn1.get(), dm().Dtabn2.get(), dm().Dtabn3.get()})
        EXPECT_FALSE(t->isEditing()) << t->name().toStdString();
}
