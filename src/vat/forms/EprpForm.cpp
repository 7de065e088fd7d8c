#include "vat/forms/EprpForm.h"

#include "app/forms/HelpService.h"
#include "data/DataM1.h"
#include "datasets/Periods.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/EnterTab.h"
#include "vat/TaxpayerRules.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

enum class Input {
    Text,     // text field
    Number,   // number, right-aligned
    Date,     // date dd.mm.yyyy
    YesNo,    // check box showing "ano" / "ne"
    Person,   // check box showing "fyzická osoba" / "právnická osoba"
    Flag,     // check box with its own caption
    Month,    // list of months
    Quarter,  // list of quarters
    Kind,     // kind of the text attachment
};

// A control of the window: its field, label, kind, and place in its group (row and pair of
// label and control columns; kBeside: after the previous control, in its cell). Items are
// listed in the order of the Enter chain.
constexpr int kBeside = -1;

struct Item {
    QString field;
    QString label;
    Input input;
    int group;
    int row;
    int col = 0;
    QString hint = {};
};

struct Group {
    QString title;
    int column;  // 0 left, 1 right, 2 under both
};

struct Page {
    QString title;
    QList<Group> groups;
    QList<Item> items;
};

const QList<Page> &pagesOfTheWindow()
{
    static const QList<Page> pages{
        {u"Stránka 1"_s,
         {{u"Přiznání za zdaňovací období"_s, 0},
          {u"Typ"_s, 0},
          {u"Finanční úřad"_s, 0},
          {u"Daňový subjekt"_s, 1},
          {u"Název právnické osoby:"_s, 1},
          {u"Fyzická osoba:"_s, 1}},
         {{u"M"_s, u"měsíc"_s, Input::Month, 0, 0, 0},
          {u"Cislo"_s, u"Číslo období:"_s, Input::Number, 0, 1, 0},
          {u"Q"_s, u"čtvrtletí"_s, Input::Quarter, 0, 0, 1},
          {u"R"_s, u"Rok:"_s, Input::Text, 0, 1, 1},
          {u"Od1"_s, u"za obd. od"_s, Input::Date, 0, 2, 0},
          {u"Do1"_s, u"do"_s, Input::Date, 0, 2, 1},
          {u"P6"_s, u"Kód zdaň. období násled. roku"_s, Input::Text, 0, 3, 0},
          {u"Ddp"_s, u"Datum"_s, Input::Date, 0, 3, 1},
          {u"Dpdr1"_s, u"řádné"_s, Input::Flag, 1, 0, 0},
          {u"Dpdo1"_s, u"opravné"_s, Input::Flag, 1, 0, kBeside},
          {u"Dpdd1"_s, u"dodatečné"_s, Input::Flag, 1, 0, kBeside},
          {u"D"_s, u"důvody pro podání dodat. přiznání\nzjištěny dne:"_s, Input::Date, 1, 1, 0},
          {u"Fuc"_s, u"Číslo FÚ"_s, Input::Number, 2, 0, 0, u"El. podání - číslo finančního úřadu"_s},
          {u"Fusp"_s, u"Fin. úřadu pro / Specializ. FÚ"_s, Input::Text, 2, 1, 0},
          {u"Rco"_s, u"RČ"_s, Input::Text, 3, 1, 0},
          {u"Fuz"_s, u"Číslo ÚzP"_s, Input::Number, 2, 2, 0, u"El. podání - číslo územního pracoviště FÚ"_s},
          {u"Fu"_s, u"Územní pracoviště v, ve, pro"_s, Input::Text, 2, 3, 0},
          {u"Dic"_s, u"DIČ"_s, Input::Text, 3, 0, 0},
          {u"P1"_s, u"Plátce daně § 6 až § 6f"_s, Input::YesNo, 3, 2, 0},
          {u"P2"_s, u"Identifikovaná osoba § 6g až § 6l"_s, Input::YesNo, 3, 3, 0},
          {u"P3s"_s, u"Skupina § 5a"_s, Input::YesNo, 3, 4, 0},
          {u"P3"_s, u"Neplátce daně § 19 nebo § 108"_s, Input::YesNo, 3, 5, 0},
          {u"K1"_s, u"Koeficient"_s, Input::Number, 3, 6, 0},
          {u"X"_s, u"Neexistují údaje pro stranu 2"_s, Input::YesNo, 3, 7, 0},
          {u"K1p"_s, u"procentní vyjádření"_s, Input::Flag, 3, 6, 1},
          {u"Oj1a"_s, QString(), Input::Text, 4, 0, 0},
          {u"Oj1b"_s, QString(), Input::Text, 4, 1, 0},
          {u"Oj2"_s, u"Dodatek"_s, Input::Text, 4, 2, 0, u"Dodatek (právnická osoba)"_s},
          {u"Ojp3"_s, u"El. podání"_s, Input::Text, 4, 3, 0, u"El. podání - název právnické osoby - 1 řádek"_s},
          {u"Pra"_s, u"Příjmení"_s, Input::Text, 5, 0, 0},
          {u"Jmb"_s, u"Jméno"_s, Input::Text, 5, 1, 0},
          {u"Tia"_s, u"Titul"_s, Input::Text, 5, 2, 0}}},
        {u"Stránka 2"_s,
         {{u"Daňový subjekt"_s, 0},
          {u"Sídlo / bydliště"_s, 0},
          {u"Hlavní ekonomická činnost"_s, 0},
          {u"Podepisující osoba"_s, 1}},
         {{u"Tds"_s, u"Typ daň. subjektu:"_s, Input::Person, 0, 0, 0},
          {u"Ob"_s, u"a) obec"_s, Input::Text, 1, 0, 0},
          {u"Psc"_s, u"b) PSČ"_s, Input::Text, 1, 1, 0},
          {u"Tel"_s, u"c) telefon"_s, Input::Text, 1, 2, 0},
          {u"Ul"_s, u"d) ulice"_s, Input::Text, 1, 3, 0},
          {u"Cpocp"_s, u"e) číslo popisné / orientační"_s, Input::Text, 1, 4, 0},
          {u"Cpoco"_s, u"/"_s, Input::Text, 1, 4, kBeside},
          {u"Emlx"_s, u"f) e-mail"_s, Input::Text, 1, 5, 0},
          {u"Sta2"_s, u"g) stát"_s, Input::Text, 1, 6, 0},
          {u"Hp1c"_s, u"Kód CZ-NACE"_s, Input::Number, 2, 0, 0,
           u"El. podání - kód hlavní ekonomické činnosti podle CZ-NACE, např. 62.01 se zapíše jako 620100"_s},
          {u"Hp1"_s, u"Hlavní ekonomická činnost"_s, Input::Text, 2, 1, 0},
          {u"Kzs"_s, u"Kód podepisující osoby:"_s, Input::Text, 3, 0, 0},
          {u"Tzs"_s, u"Typ:"_s, Input::Person, 3, 1, 0},
          {u"Zjm"_s, u"Jméno(-a) a příjmení /\nNázev právnické osoby"_s, Input::Text, 3, 2, 0},
          {u"Zjmjm"_s, u"jméno"_s, Input::Text, 3, 3, 0, u"El. podání - jméno"_s},
          {u"Zjmpr"_s, u"příjmení"_s, Input::Text, 3, 4, 0, u"El. podání - příjmení"_s},
          {u"Zjmpo"_s, u"název právnické osoby"_s, Input::Text, 3, 5, 0, u"El. podání - název právnické osoby"_s},
          {u"Zde"_s, u"Datum nar. / Ev. č. osvědčení / IČ"_s, Input::Text, 3, 6, 0,
           u"Datum narození / Evidenční číslo osvědčení daň. poradce / IČ právnické osoby"_s},
          {u"Zdedn"_s, u"Datum narození"_s, Input::Date, 3, 7, 0, u"El. podání - datum narození"_s},
          {u"Zdece"_s, u"ev. č. osvědčení"_s, Input::Text, 3, 8, 0,
           u"El. podání - evidenční číslo osvědčení daňového poradce"_s},
          {u"Zdeic"_s, u"IČ"_s, Input::Text, 3, 9, 0, u"El. podání - IČ právnické osoby"_s},
          {u"Zjv"_s, u"Jméno(-a) a příjmení /\nVztah k právnické osobě"_s, Input::Text, 3, 10, 0},
          {u"Zjvjm"_s, u"jméno"_s, Input::Text, 3, 11, 0, u"El. podání - jméno"_s},
          {u"Zjvpr"_s, u"příjmení"_s, Input::Text, 3, 12, 0, u"El. podání - příjmení"_s},
          {u"Zjvpo"_s, u"vztah k právnické osobě"_s, Input::Text, 3, 13, 0, u"El. podání - vztah k právnické osobě"_s}}},
        {u"Stránka 3"_s,
         {{u"Kontaktní osoba:"_s, 0}, {u"Přílohy"_s, 1}},
         {{u"Sesjm"_s, u"Jméno"_s, Input::Text, 0, 0, 0},
          {u"Sespr"_s, u"Příjmení"_s, Input::Text, 0, 1, 0},
          {u"Tes"_s, u"Telefon"_s, Input::Text, 0, 2, 0},
          {u"Pcp"_s, u"Počet příloh / listů"_s, Input::Number, 1, 0, 0},
          {u"Pcl"_s, u"/"_s, Input::Number, 1, 0, kBeside},
          {u"Poznod"_s, u"Textová příloha:"_s, Input::Kind, 1, 1, 0,
           u"O - obecná textová příloha, D - důvody pro podání dodatečného přiznání"_s}}},
    };
    return pages;
}

// Width of a text control from the size of its field.
int textWidth(const QWidget *w, int size)
{
    const int chars = qBound(4, size, 26);
    return chars * w->fontMetrics().averageCharWidth() + 14;
}

}  // namespace

TEprpForm::TEprpForm(WindowContext ctx, QWidget *parent) : QDialog(parent), ctx_(std::move(ctx))
{
    setWindowTitle(u"Údaje o poplatníkovi"_s);
    setStatusTip(u"Nápověda (F1)"_s);
    pages_ = new QTabWidget(this);
    pages_->setFocusPolicy(Qt::NoFocus);
    for (int page = 0; page < pagesOfTheWindow().size(); ++page)
        pages_->addTab(buildPage(page), pagesOfTheWindow()[page].title);

    tisk_ = makeButton(u"&Tisk"_s, u"TiskButton"_s, u"Tisk přiznání k RUR"_s, this);
    QPushButton *ok = makeButton(u"&OK"_s, u"OKButton"_s, u"Uloží údaje a zavře okno"_s, this);
    connect(tisk_, &QPushButton::clicked, this, &TEprpForm::TiskButtonClick);
    connect(ok, &QPushButton::clicked, this, &TEprpForm::OKButtonClick);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(tisk_);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(pages_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The jumps of Enter across the pages.
    for (const QString &field : {u"Tia"_s, u"Tds"_s, u"Zjvpo"_s, u"Sesjm"_s})
        controls_.value(field)->installEventFilter(this);

    engine::Table *prp = ctx_.dm.Prp.get();
    connect(prp, &engine::Table::dataChanged, this, &TEprpForm::updateTisk);
    connect(prp, &engine::Table::recordChanged, this, &TEprpForm::updateTisk);
    connect(prp, &engine::Table::stateChanged, this, &TEprpForm::updateTisk);
    updateTisk();
    placeWindow(*this, ctx_, WindowId::Taxpayer);
    controls_.value(u"M"_s)->setFocus();
}

QWidget *TEprpForm::buildPage(int pageIndex)
{
    const Page &page = pagesOfTheWindow()[pageIndex];
    auto *widget = new QWidget;
    auto *columns = new QHBoxLayout;
    QVBoxLayout *sides[] = {new QVBoxLayout, new QVBoxLayout};
    QList<QGridLayout *> grids;
    for (const Group &group : page.groups) {
        auto *box = new QGroupBox(group.title, widget);
        auto *grid = new QGridLayout(box);
        grid->setVerticalSpacing(3);
        grid->setContentsMargins(8, 6, 8, 6);
        grid->setColumnStretch(7, 1);  // room to spare goes right of the controls
        grids.append(grid);
        sides[group.column]->addWidget(box);
    }
    for (QVBoxLayout *side : sides) {
        side->addStretch();
        columns->addLayout(side);
    }

    engine::Table *prp = ctx_.dm.Prp.get();
    QHBoxLayout *cell = nullptr;
    for (const Item &item : page.items) {
        QGridLayout *grid = grids[item.group];
        QWidget *parent = grid->parentWidget();
        QWidget *control = nullptr;
        switch (item.input) {
        case Input::YesNo:
        case Input::Person:
        case Input::Flag: {
            auto *box = new ui::TDBCheckBoxz(parent);
            box->setDataSource(prp, item.field);
            box->setPrompter(&ctx_.prompter);
            if (item.input == Input::YesNo)
                box->setCaptions(u"ano"_s, u"ne"_s);
            else if (item.input == Input::Person)
                box->setCaptions(u"fyzická osoba"_s, u"právnická osoba"_s);
            else
                box->setText(item.label);
            control = box;
            break;
        }
        case Input::Month:
        case Input::Quarter:
        case Input::Kind: {
            auto *box = new ui::TDBComboBoxz(parent);
            box->setDataSource(prp, item.field);
            box->setPrompter(&ctx_.prompter);
            if (item.input == Input::Kind) {
                box->setItems({u"O"_s, u"D"_s});
            } else {
                const bool month = item.input == Input::Month;
                box->setItems(month ? datasets::monthNames() : datasets::quarterNames());
                connect(box, &ui::TDBComboBoxz::valueChosen, this, [this, month] {
                    try {
                        periodChosen(*ctx_.dm.Prp, month);
                    } catch (const engine::EngineError &e) {
                        reportError(ctx_.prompter, e);
                    }
                });
            }
            control = box;
            break;
        }
        default: {
            auto *edit = new ui::TDBEditz(parent);
            edit->setDataSource(prp, item.field);
            edit->setPrompter(&ctx_.prompter);
            if (item.input == Input::Text) {
                edit->setFixedWidth(textWidth(edit, prp->field(item.field).size()));
            } else {
                edit->setAlignment(Qt::AlignRight);
                edit->setFixedWidth(textWidth(edit, item.input == Input::Date ? 10 : 8));
            }
            control = edit;
            break;
        }
        }
        control->setObjectName(u"DB"_s + item.field);
        if (!item.hint.isEmpty())
            setHint(control, item.hint);
        if (item.col == kBeside) {
            if (item.input != Input::Flag)
                cell->insertWidget(cell->count() - 1, new QLabel(item.label, parent));
            cell->insertWidget(cell->count() - 1, control);
        } else {
            cell = new QHBoxLayout;
            cell->setSpacing(4);
            cell->addWidget(control);
            cell->addStretch();
            // A check box with its own caption takes the place of a label and its control.
            if (item.input == Input::Flag)
                grid->addLayout(cell, item.row, 2 * item.col, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
            else
                grid->addLayout(cell, item.row, 2 * item.col + 1, Qt::AlignLeft | Qt::AlignVCenter);
            if (item.input != Input::Flag && !item.label.isEmpty())
                grid->addWidget(new QLabel(item.label, parent), item.row, 2 * item.col, Qt::AlignLeft | Qt::AlignVCenter);
        }
        controls_.insert(item.field, control);
    }

    auto *layout = new QVBoxLayout(widget);
    layout->addLayout(columns);
    if (pageIndex == 2) {
        layout->addWidget(new QLabel(u"Text přílohy:"_s, widget));
        memo_ = new TDBMemo(widget);
        memo_->setObjectName(u"DBPoz"_s);
        memo_->setDataSource(ctx_.dm.Prppz.get(), u"Poz"_s);
        memo_->setPrompter(&ctx_.prompter);
        memo_->setMinimumHeight(220);
        layout->addWidget(memo_);
        controls_.insert(u"Poz"_s, memo_);
    }
    layout->addStretch();
    return widget;
}

QPushButton *TEprpForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void TEprpForm::updateTisk()
{
    engine::Table &prp = *ctx_.dm.Prp;
    tisk_->setVisible(prp.isActive() && prp.field(u"X"_s).asBoolean());
}

void TEprpForm::showEvent(QShowEvent *event)
{
    memo_->setFont(QFont(ctx_.typPisma != 0 ? u"Courier New CE"_s : u"Courier New"_s));
    QDialog::showEvent(event);
}

void TEprpForm::jumpTo(int page, const QString &field)
{
    pages_->setCurrentIndex(page);
    controls_.value(field)->setFocus(Qt::TabFocusReason);
}

bool TEprpForm::eventFilter(QObject *watched, QEvent *event)
{
    if (!ui::isEnterPress(event))
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return QDialog::eventFilter(watched, event);
    const bool back = key->modifiers().testFlag(Qt::ShiftModifier);
    // Typed text reaches the field before the focus moves.
    if (auto *edit = qobject_cast<ui::TDBEditz *>(watched); edit && !edit->commit())
        return true;
    if (watched == controls_.value(u"Tia"_s) && !back)
        jumpTo(1, u"Tds"_s);
    else if (watched == controls_.value(u"Tds"_s) && back)
        jumpTo(0, u"Tia"_s);
    else if (watched == controls_.value(u"Zjvpo"_s) && !back)
        jumpTo(2, u"Sesjm"_s);
    else if (watched == controls_.value(u"Sesjm"_s) && back)
        jumpTo(1, u"Zjvpo"_s);
    else
        return QDialog::eventFilter(watched, event);
    return true;
}

void TEprpForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        if (ctx_.help)
            ctx_.help->showContext(4);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TEprpForm::OKButtonClick()
{
    if (!commitTyped(this))
        return;
    try {
        postIfEditing(*ctx_.dm.Prp);
        postIfEditing(*ctx_.dm.Prppz);
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
        return;
    }
    reject();
}

void TEprpForm::TiskButtonClick()
{
    accept();
}

void TEprpForm::done(int result)
{
    if (!closed_) {
        if (!commitTyped(this))
            return;
        closed_ = true;
        storeWindowPlace(*this, ctx_, WindowId::Taxpayer);
        postAndReopen({ctx_.dm.Prp.get(), ctx_.dm.Prppz.get()}, ctx_.prompter);
    }
    QDialog::done(result);
}

void Udaje1(const WindowContext &ctx, QWidget *parent, const std::function<void()> &openPrint,
            const QString &focusField)
{
    try {
        ctx.dm.Prp->edit();
    } catch (const engine::EngineError &e) {
        reportError(ctx.prompter, e);
        return;
    }
    int result = QDialog::Rejected;
    {
        TEprpForm form(ctx, parent);
        if (QWidget *control = form.control(focusField)) {
            for (int page = 0; page < form.pages()->count(); ++page)
                if (form.pages()->widget(page)->isAncestorOf(control))
                    form.pages()->setCurrentIndex(page);
            control->setFocus();
        }
        result = form.exec();
    }
    if (result == QDialog::Accepted && openPrint)
        openPrint();
    ctx.dm.NazevDp1();
    try {
        Udaje1Copies(ctx.dm);
    } catch (const engine::EngineError &e) {
        reportError(ctx.prompter, e);
    }
}

}  // namespace rur::vat
