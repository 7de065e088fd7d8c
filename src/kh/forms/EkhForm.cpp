#include "kh/forms/EkhForm.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "kh/CsvImport.h"
#include "kh/Register.h"
#include "kh/ReturnTransfer.h"
#include "kh/forms/FindKhForm.h"
#include "platform/Prompter.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/DBGrid.h"
#include "ui/forms/DBNavigator.h"
#include "ui/forms/KalendarForm.h"
#include "ui/forms/RecordEditor.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

// An edit of the row: its column, label, hint, width in characters and its line in the window.
struct RowEditDef {
    Column column;
    const char16_t *label;
    const char16_t *hint;
    int chars;
    int line;
};

constexpr RowEditDef kEdits[] = {
    {Column::Oddil, u"Oddíl", u"Oddíl kontrolního hlášení: A1, A2, A3, A4, A5, B1, B2 nebo B3", 2, 0},
    {Column::Dic, u"DIČ", u"DIČ odběratele (A) nebo dodavatele (B), jen číslice; CZ se vynechá", 11, 0},
    {Column::Stat, u"Stát", u"Kód státu, který přidělil VAT ID (A2, A3), např. DE", 2, 0},
    {Column::Vatid, u"VAT ID", u"DIČ dodavatele (A2) nebo odběratele (A3) z jiného státu, bez kódu státu", 12, 0},
    {Column::Doklad, u"Číslo dokladu", u"Evidenční číslo daňového dokladu", 22, 0},
    {Column::Datum, u"Datum",
     u"Datum uskutečnění plnění (A1, A3, B1) nebo povinnosti přiznat daň (A2, A4, B2) (Shift+F7 - kalendář)", 10, 0},
    {Column::Zaklad1, u"Základ - základní sazba", u"Základ daně v základní sazbě (A1: základ bez rozlišení sazby)", 13, 1},
    {Column::Dan1, u"Daň - základní sazba", u"Daň v základní sazbě", 13, 1},
    {Column::Zaklad2, u"Základ - 1. snížená", u"Základ daně v první snížené sazbě", 13, 1},
    {Column::Dan2, u"Daň - 1. snížená", u"Daň v první snížené sazbě", 13, 1},
    {Column::Zaklad3, u"Základ - 2. snížená", u"Základ daně ve druhé snížené sazbě", 13, 1},
    {Column::Dan3, u"Daň - 2. snížená", u"Daň ve druhé snížené sazbě", 13, 1},
    {Column::Kod, u"Kód plnění", u"Kód předmětu plnění (A1, B1)", 3, 2},
    {Column::Rezim, u"Režim", u"Kód režimu plnění (A4): 0 běžné plnění, 1 § 89, 2 § 90", 1, 2},
    {Column::Oprava, u"Oprava", u"Příznak opravy u nedobytné pohledávky (A4, B2): N, P nebo A", 1, 2},
    {Column::Pomer, u"Poměr", u"Poměrný nárok na odpočet (B2): A nebo N", 1, 2},
    {Column::Radek, u"Řádek", u"Řádek přiznání, na který doklad patří (A2): 3, 4, 5, 6, 9, 12 nebo 13", 2, 2},
};

// The grid's columns: each field's width in characters beside its title.
struct GridColumnDef {
    const char16_t *field;
    const char16_t *title;
    int chars;
};
constexpr GridColumnDef kGridColumns[] = {
    {u"Oddil", u"Oddíl", 3},      {u"Kam", u"Uvede se v", 3},  {u"Dic", u"DIČ", 10},     {u"Stat", u"Stát", 2},
    {u"Vatid", u"VAT ID", 12},    {u"Doklad", u"Doklad", 16},  {u"Datum", u"Datum", 10}, {u"Zaklad1", u"Základ 1", 12},
    {u"Dan1", u"Daň 1", 11},      {u"Zaklad2", u"Základ 2", 12}, {u"Dan2", u"Daň 2", 11}, {u"Zaklad3", u"Základ 3", 12},
    {u"Dan3", u"Daň 3", 11},      {u"Kod", u"Kód", 3},         {u"Rezim", u"Režim", 1},  {u"Oprava", u"Oprava", 1},
    {u"Pomer", u"Poměr", 1},      {u"Radek", u"Řádek", 2},
};

}  // namespace

TEkhForm::TEkhForm(vat::WindowContext ctx, StatementWindowServices services, QWidget *parent)
    : QDialog(parent), ctx_(std::move(ctx)), services_(std::move(services))
{
    setObjectName(u"EkhForm"_s);
    setWindowTitle(vat::captionWithPeriod(u"Kontrolní hlášení"_s, ctx_.dm));
    vat::setHint(this, u"F3 - vyhledávání podle čísla dokladu a DIČ (F1)"_s);
    engine::Table *dkh = ctx_.dm.Dkh.get();
    editor_ = new ui::RecordEditor(dkh, &ctx_.prompter, this);
    editor_->confirmDelete = [this] { return ctx_.prompter.confirm(u"Smazat doklad z rejstříku ?"_s); };
    navigator_ = new ui::TDBNavigator(editor_, this);

    auto *fields = new QGridLayout;
    const ui::DatePicker picker = ui::calendarPicker({ctx_.dataSetIni, ctx_.section, ctx_.screenWidth});
    int column = 0, line = 0;
    for (const RowEditDef &d : kEdits) {
        if (d.line != line) {
            line = d.line;
            column = 0;
        }
        auto *e = new ui::TDBEditz(this);
        const QString field = fieldName(d.column);
        e->setObjectName(u"DBEdit"_s + field);
        e->setDataSource(dkh, field);
        e->setPrompter(&ctx_.prompter);
        ui::setEditWidth(*e, d.chars + 1);
        vat::setHint(e, QString::fromUtf16(d.hint));
        auto *label = new QLabel(QString::fromUtf16(d.label), this);
        if (d.column == Column::Datum)
            ui::attachCalendar(e, label, picker);
        if (d.column >= Column::Zaklad1 && d.column <= Column::Dan3)
            e->setAlignment(Qt::AlignRight);
        fields->addWidget(label, 2 * line, column);
        fields->addWidget(e, 2 * line + 1, column, Qt::AlignLeft);
        edits_.append(e);
        ++column;
    }
    fields->setColumnStretch(6, 1);

    QList<ui::TableModel::Column> columns;
    for (const GridColumnDef &c : kGridColumns)
        columns.append({QString::fromUtf16(c.field), QString::fromUtf16(c.title)});
    grid_ = new ui::TDBGrid(editor_, columns, this);
    grid_->setObjectName(u"DBGrid1"_s);
    grid_->setMinimumSize(900, 260);
    grid_->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < int(std::size(kGridColumns)); ++c) {
        const int title = int(QString::fromUtf16(kGridColumns[c].title).size());
        grid_->setColumnWidth(c, grid_->fontMetrics().averageCharWidth() * (qMax(title, kGridColumns[c].chars) + 1) + 12);
    }
    vat::setHint(grid_, u"Sloupec „Uvede se v“: doklady A4 a B2 do 10 000 Kč včetně daně nebo bez DIČ jdou do součtů A5 a B3"_s);

    QPushButton *nacist = vat::makeButton(u"Načíst &CSV ..."_s, u"NacistButton"_s,
                                          u"Načte doklady ze souboru CSV (UTF-8, středníky, řádek s názvy sloupců)"_s, this);
    connect(nacist, &QPushButton::clicked, this, &TEkhForm::NacistClick);
    QPushButton *prenest = vat::makeButton(u"&Přenést do přiznání"_s, u"PrenestButton"_s,
                                           u"Přenese součty rejstříku do řádků přiznání"_s, this);
    connect(prenest, &QPushButton::clicked, this, &TEkhForm::PrenestClick);
    QPushButton *zavrit = vat::makeButton(u"&Zavřít"_s, u"ZavritButton"_s, u"Zavřít okno"_s, this);
    connect(zavrit, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(navigator_);
    top->addStretch();
    top->addWidget(nacist);
    top->addWidget(prenest);
    top->addWidget(zavrit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addWidget(grid_);

    // Insert and F4 take the focus to the section.
    connect(editor_, &ui::RecordEditor::actionRun, this, [this](ui::RecordAction a) {
        if (a == ui::RecordAction::Insert || a == ui::RecordAction::Edit)
            edit(u"Oddil"_s)->setFocus();
    });
    editor_->watchKeys();
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    vat::placeWindow(*this, ctx_, vat::WindowId::Statement);
    grid_->setFocus();
}

ui::TDBEditz *TEkhForm::edit(const QString &field) const
{
    for (ui::TDBEditz *e : edits_)
        if (e->fieldName() == field)
            return e;
    return nullptr;
}

QPushButton *TEkhForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void TEkhForm::NacistClick()
{
    if (!editor_->commitTyped() || !services_.chooseCsv)
        return;
    try {
        vat::postIfEditing(*ctx_.dm.Dkh);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
        return;
    }
    const QString path = services_.chooseCsv(this, ctx_.dm.Danove.directory());
    if (path.isEmpty())
        return;
    ImportResult result;
    try {
        platform::BusyGuard busy(ctx_.prompter);
        result = importRegisterCsv(ctx_.dm, path, false);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
        return;
    }
    if (!result.error.isEmpty()) {
        ctx_.prompter.error(result.error + u"\nNebyl načten žádný doklad."_s);
        return;
    }
    ctx_.dm.Dkh->last();
    ctx_.prompter.information(u"Počet dokladů načtených do rejstříku: %1."_s.arg(result.rows));
}

void TEkhForm::PrenestClick()
{
    if (!editor_->commitTyped())
        return;
    try {
        vat::postIfEditing(*ctx_.dm.Dkh);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
        return;
    }
    transferToReturn(ctx_.dm, ctx_.prompter);
}

void TEkhForm::search()
{
    if (editor_->commitTyped())
        findInRegister(ctx_, this);
}

void TEkhForm::showPosition()
{
    if (ctx_.dm.statusDisplayOn && ctx_.dm.Dkh->isActive()) {
        ctx_.dm.Zaznam(*ctx_.dm.Dkh);
        ctx_.dm.StatusEdit(*ctx_.dm.Dkh);
    }
}

bool TEkhForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        showPosition();
    return QDialog::event(event);
}

bool TEkhForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F3 && key->modifiers() == Qt::NoModifier) {
            search();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEkhForm::done(int result)
{
    if (!closed_) {
        if (!editor_->confirmClose(windowTitle()))
            return;
        closed_ = true;
        if (!isMaximized() && !isMinimized())
            vat::storeWindowPlace(*this, ctx_, vat::WindowId::Statement);
    }
    QDialog::done(result);
}

void openStatement(QWidget *parent, const vat::WindowContext &ctx, const StatementWindowServices &services)
{
    data::TDM1 &dm = ctx.dm;
    const bool displayWasOn = dm.statusDisplayOn;
    dm.statusDisplayOn = true;
    try {
        engine::Table &dkh = *dm.Dkh;
        if (dkh.isActive())
            dkh.refresh();
        else
            dkh.open();
        dkh.first();
        TEkhForm(ctx, services, parent).exec();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
    }
    dm.Dkh->close();
    dm.statusDisplayOn = displayWasOn;
    if (data::StatusDisplay *status = dm.statusDisplay())
        status->setStatusText(1, QString());
}

}  // namespace rur::kh
