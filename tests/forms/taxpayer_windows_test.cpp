// The taxpayer-data and rates windows of the return: Enter order across pages, period boxes,
// closing and printing, and the rates reaching every return.
#include "forms/vat_windows_fixture.h"

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::RatesWindow;
using rur::testing::TaxpayerWindow;
using rur::testing::setRow;
using Answer = platform::Prompter::Answer;

TEST_F(TaxpayerWindow, EnterJumpsAcrossThePages)
{
    auto w = open<vat::TEprpForm>();
    const auto at = [&](const char16_t *field) { return w->control(QString::fromUtf16(field)); };
    const auto enter = [&](const char16_t *field, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        at(field)->setFocus();
        QTest::keyClick(at(field), Qt::Key_Return, mods);
    };
    enter(u"Tia");
    EXPECT_EQ(w->pages()->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), at(u"Tds"));
    enter(u"Tds");
    EXPECT_EQ(QApplication::focusWidget(), at(u"Ob"));
    enter(u"Tds", Qt::ShiftModifier);
    EXPECT_EQ(w->pages()->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), at(u"Tia"));
    enter(u"Tia", Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), at(u"Jmb"));

    w->pages()->setCurrentIndex(1);
    enter(u"Zjvpo");
    EXPECT_EQ(w->pages()->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), at(u"Sesjm"));
    enter(u"Sesjm");
    EXPECT_EQ(QApplication::focusWidget(), at(u"Sespr"));
    enter(u"Sesjm", Qt::ShiftModifier);
    EXPECT_EQ(w->pages()->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), at(u"Zjvpo"));
    enter(u"Zjvpo", Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), at(u"Zjvpr"));
}

TEST_F(TaxpayerWindow, EnterFollowsThePageColumnByColumn)
{
    auto w = open<vat::TEprpForm>();
    const QStringList expected{u"M"_s,    u"Cislo"_s, u"Q"_s,    u"R"_s,     u"Od1"_s,   u"Do1"_s,  u"P6"_s,
                               u"Ddp"_s,  u"Dpdr1"_s, u"Dpdo1"_s, u"Dpdd1"_s, u"D"_s,     u"Fuc"_s,  u"Fusp"_s,
                               u"Fuz"_s,  u"Fu"_s,    u"Dic"_s,  u"Rco"_s,   u"P1"_s,    u"P2"_s,   u"P3s"_s,
                               u"P3"_s,   u"K1"_s,    u"K1p"_s,  u"X"_s,     u"Oj1a"_s,  u"Oj1b"_s, u"Oj2"_s,
                               u"Ojp3"_s, u"Pra"_s,   u"Jmb"_s,  u"Tia"_s,   u"Tds"_s};
    w->control(u"M"_s)->setFocus();
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QString field;
        for (const QString &name : expected)
            if (w->control(name) == focus || (focus && w->control(name) == focus->parentWidget()))
                field = name;
        visited.append(field);
        QTest::keyClick(focus, Qt::Key_Return);
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(TaxpayerWindow, PeriodBoxesCaptionsAndThePrintButton)
{
    auto w = open<vat::TEprpForm>();
    auto *month = qobject_cast<ui::TDBComboBoxz *>(w->control(u"M"_s));
    auto *quarter = qobject_cast<ui::TDBComboBoxz *>(w->control(u"Q"_s));
    emit month->activated(11);
    EXPECT_EQ(dm().Prp->field(u"M"_s).asString(), u"prosinec"_s);
    EXPECT_EQ(dm().Prp->field(u"Cislo"_s).asInteger(), 12);
    emit quarter->activated(3);
    EXPECT_EQ(dm().Prp->field(u"Cislo"_s).asInteger(), 4);
    EXPECT_TRUE(dm().Prp->field(u"M"_s).isNull());
    EXPECT_EQ(month->currentIndex(), -1);

    auto *x = qobject_cast<ui::TDBCheckBoxz *>(w->control(u"X"_s));
    auto *tds = qobject_cast<ui::TDBCheckBoxz *>(w->control(u"Tds"_s));
    EXPECT_EQ(x->text(), u"ne"_s);
    EXPECT_FALSE(w->button(u"TiskButton"_s)->isVisible());
    x->click();
    EXPECT_EQ(x->text(), u"ano"_s);
    EXPECT_TRUE(w->button(u"TiskButton"_s)->isVisible());
    EXPECT_EQ(tds->text(), u"fyzická osoba"_s);
    tds->click();
    EXPECT_EQ(tds->text(), u"právnická osoba"_s);
    EXPECT_EQ(qobject_cast<ui::TDBCheckBoxz *>(w->control(u"P2"_s))->text(), u"ne"_s);
}

TEST_F(TaxpayerWindow, ClosingCopiesTheNameCutTo23CharactersAndRenamesTheMainWindow)
{
    const QString name = u"Stavební družstvo Horní Lhota u Ostravy"_s.left(37);
    ASSERT_EQ(name.size(), 37);
    WindowScript script({[&](QDialog &d) {
        auto &w = static_cast<vat::TEprpForm &>(d);
        type(qobject_cast<QLineEdit *>(w.control(u"Oj1a"_s)), name);
        w.button(u"OKButton"_s)->click();  // the typed name reaches the row first
    }});
    run(Command::UdajeOPoplatnikovi);
    EXPECT_EQ(script.shown, QStringList{u"TEprpForm"_s});
    engine::Table &prp = *dm().Prp;
    EXPECT_EQ(prp.field(u"Oj1a"_s).asString(), name);
    EXPECT_EQ(prp.field(u"Oj1"_s).asString(), name.left(23));
    EXPECT_FALSE(prp.isEditing());
    EXPECT_EQ(form->windowTitle(), u"RUR 17.00 - "_s + name);
    const platform::IniFile ini(form->directories().dataSetIni());
    // The default place 103, 57, moved left as far as this screen needs to hold the window.
    const int width = vat::TEprpForm(ctx()).width();
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"UdajeOPoplatnikovi3Top"_s, -1), 57);
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"UdajeOPoplatnikovi3Left"_s, -1), std::max(0, std::min(103, screenWidth - width)));
}

TEST_F(TaxpayerWindow, TiskStoresTheAttachmentAndOpensThePrintSelection)
{
    int printed = 0;
    form->setReturnWindowOpener(5, [&] {
        ++printed;
        EXPECT_FALSE(dm().Prppz->isEditing());
    });
    setRow(*dm().Prp, {{u"X"_s, true}, {u"Emlx"_s, u"a@b.cz"_s}});
    WindowScript script({[&](QDialog &d) {
        auto &w = static_cast<vat::TEprpForm &>(d);
        w.pages()->setCurrentIndex(2);
        auto *memo = qobject_cast<QPlainTextEdit *>(w.control(u"Poz"_s));
        memo->setFocus();
        QTest::keyClicks(memo, u"Oprava faktury 12"_s);
        EXPECT_TRUE(dm().Prppz->isEditing());
        w.button(u"TiskButton"_s)->click();
    }});
    run(Command::UdajeOPoplatnikovi);
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(dm().Prppz->field(u"Poz"_s).asString(), u"Oprava faktury 12"_s);
    EXPECT_EQ(dm().Prp->field(u"Eml"_s).asString(), u"a@b.cz"_s);
}

TEST_F(RatesWindow, ClosingWithoutOkStoresToo)
{
    auto w = open<vat::TEcisForm>();
    type(w->reducedEdit(), u"10,006"_s);
    w->reject();
    EXPECT_EQ(dm().Dcis->field(u"Dd"_s).asFloat(), 10.01);
    EXPECT_FALSE(dm().Dcis->isEditing());
}

TEST_F(RatesWindow, RatesAndTheOptionReachEveryReturnAtOnce)
{
    setRow(*dm().Dtabn1, {{u"C210"_s, 1000.0}});
    savePeriod(1, u"leden"_s);
    dm().Dtabn1s->first();
    ASSERT_EQ(shown(*dm().Dtabn1s, u"K210"_s), u"210"_s);
    WindowScript script({[&](QDialog &d) {
        auto &w = static_cast<vat::TEcisForm &>(d);
        EXPECT_EQ(w.danBox()->text(), u"částku včetně RUR"_s);
        type(w.basicEdit(), u"20,004"_s);
        w.danBox()->click();
        EXPECT_EQ(w.danBox()->text(), u"daň na výstupu"_s);
        w.okButton()->click();
    }});
    run(Command::SazbyRur);
    EXPECT_EQ(script.shown, QStringList{u"TEcisForm"_s});
    EXPECT_EQ(dm().Dcis->field(u"Hd"_s).asFloat(), 20.0);
    EXPECT_TRUE(dm().Prp->field(u"Dan"_s).asBoolean());
    EXPECT_EQ(shown(*dm().Dtabn1, u"K210"_s), u"200"_s);
    EXPECT_EQ(shown(*dm().Dtabn1s, u"K210"_s), u"200"_s);
    EXPECT_EQ(shown(*dm().Dtabn1s, u"C210"_s), u"1000"_s);
}
