#include "correspondence/forms/EazForm.h"

#include "correspondence/AddressBook.h"
#include "correspondence/forms/EditRows.h"
#include "correspondence/forms/WindowPlaces.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "search/Searches.h"
#include "search/forms/FindForms.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/DBNavigator.h"
#include "ui/forms/RecordEditor.h"
#include "ui/forms/WindowKeys.h"
#include "vat/forms/FormParts.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::correspondence {

namespace {

const QString kAddressBookPlace = u"Adresar"_s;
constexpr char16_t kPostalCodeHint[] = u"PSČ pište bez mezery, při tisku se za třetí číslicí vloží mezera";

// The print centre is open: the address book does not offer to open it again.
bool printCentreOpen()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == u"EmtfForm"_s)
            return true;
    return false;
}

}  // namespace

TEazForm::TEazForm(vat::WindowContext ctx, bool firstRow, QWidget *parent)
    : QDialog(parent), ctx_(std::move(ctx)), firstRow_(firstRow), displayWasOn_(ctx_.dm.statusDisplayOn)
{
    setObjectName(u"EazForm"_s);
    engine::Table *maz = ctx_.dm.Maz.get();
    setWindowTitle(search::addressBookCaption(search::ByName));
    vat::setHint(this, u"F3 - vyhledávání podle názvu, místa (F1)"_s);

    editor_ = new ui::RecordEditor(maz, &ctx_.prompter, this);
    editor_->commitTyped = [this] { return vat::commitTyped(this); };
    editor_->resetTyped = [this] { vat::resetTyped(this); };
    // The notes keep their own keys for moving in the text.
    editor_->widgetKeepsKey = [this](QWidget *focus, ui::RecordAction action) {
        return focus == notes_
               && (action == ui::RecordAction::First || action == ui::RecordAction::Prior
                   || action == ui::RecordAction::Next || action == ui::RecordAction::Last);
    };
    navigator_ = new ui::TDBNavigator(editor_, this);

    auto *heading = new QLabel(u"A D R E S Y"_s, this);
    heading->setObjectName(u"NadpisLabel"_s);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto *grid = new QGridLayout;
    int row = 0;
    static constexpr EditRow kRows[] = {
        {u"IČO:", u"Ico", 8},
        {u"DIČ:", u"Dic", 15},
        {u"firma:", u"Fa", 40, u"Název firmy - úřadu"},
        {u"jméno:", u"Jm", 40},
        {u"ulice:", u"Ul", 40},
        {u"PSČ  místo:", u"Psc", 6, kPostalCodeHint},
        {nullptr, u"Mi", 30},
        {u"telefon:", u"Tel", 20},
        {u"fax:", u"Fax", 20},
    };
    QList<QWidget *> order;
    for (ui::TDBEditz *e : addEditRows(*grid, row, this, maz, &ctx_.prompter, kRows))
        order.append(e);
    const auto addRow = [&](const QString &label, QWidget *w) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(w, row, 1, Qt::AlignLeft);
        ++row;
        order.append(w);
    };
    printMark_ = new ui::TDBCheckBoxz(this);
    printMark_->setObjectName(u"DBCheckBoxO"_s);
    printMark_->setDataSource(maz, u"O"_s);
    printMark_->setPrompter(&ctx_.prompter);
    printMark_->setCaptions(printMarkCaption(true), printMarkCaption(false));
    vat::setHint(printMark_, u"Zaškrtuno - ano (tisknout)"_s);
    addRow(u"Tisk  ?:"_s, printMark_);
    notes_ = new vat::TDBMemo(this);
    notes_->setObjectName(u"DBMemoP"_s);
    notes_->setDataSource(maz, u"P"_s);
    notes_->setPrompter(&ctx_.prompter);
    notes_->setFixedHeight(notes_->fontMetrics().lineSpacing() * 5 + 12);
    grid->addWidget(new QLabel(u"další údaje:"_s, this), row, 0, Qt::AlignTop);
    grid->addWidget(notes_, row, 1);
    order.append(notes_);
    // Enter moves on in this order; from the fax it goes to the print mark, Shift+Enter back.
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    print_ = vat::makeButton(u"&Tisk"_s, u"TiskButton"_s, u"Tisk - adresář"_s, this);
    connect(print_, &QPushButton::clicked, this, [this] {
        if (editor_->confirmClose(windowTitle()))
            done(PrintResult);
    });
    print_->setVisible(!printCentreOpen());

    auto *top = new QHBoxLayout;
    top->addWidget(navigator_);
    top->addStretch();
    top->addWidget(heading);
    top->addStretch();
    top->addWidget(print_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A new address: the print mark first.
    connect(editor_, &ui::RecordEditor::actionRun, this, [this](ui::RecordAction action) {
        if (action == ui::RecordAction::Insert)
            printMark_->setFocus();
    });
    editor_->watchKeys();
    auto *keys = new ui::WindowKeys(this);
    keys->add(Qt::Key_F3, Qt::NoModifier, [this] { search(); });
    keys->add(Qt::Key_F5, Qt::NoModifier, [this] { reread(); });
    keys->watch();
    placeWindow(*this, ctx_, kAddressBookPlace, {150, 60});
    edit(u"Ico"_s)->setFocus();
}

ui::TDBEditz *TEazForm::edit(const QString &field) const
{
    return findChild<ui::TDBEditz *>(u"DBEdit"_s + field);
}

void TEazForm::applyOrder()
{
    const int order = search::readAddressSearchBy(platform::IniFile(ctx_.dataSetIni), ctx_.section);
    try {
        search::setAddressBookOrder(*ctx_.dm.Maz, order);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
    setWindowTitle(search::addressBookCaption(order));
}

void TEazForm::activated()
{
    engine::Table &maz = *ctx_.dm.Maz;
    if (!maz.isActive())
        return;
    ctx_.dm.statusDisplayOn = true;
    ctx_.dm.Zaznam(maz);
    applyOrder();
    if (firstRow_) {
        firstRow_ = false;
        if (!maz.isEditing())
            maz.first();
    }
}

void TEazForm::search()
{
    if (!vat::commitTyped(this))
        return;
    search::Find16(ctx_, this, [this](const QString &caption) { setWindowTitle(caption); });
    applyOrder();
}

bool TEazForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return QDialog::event(event);
}

void TEazForm::reread()
{
    if (ctx_.dm.Maz->isEditing())
        return;
    try {
        ctx_.dm.Maz->refresh();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
}

void TEazForm::done(int result)
{
    if (!closed_) {
        if (!editor_->confirmClose(windowTitle()))
            return;
        closed_ = true;
        engine::Table &maz = *ctx_.dm.Maz;
        try {
            search::setAddressBookOrder(maz, search::ByName);
        } catch (const engine::EngineError &) {
            // The order is made again when the book opens next.
        }
        maz.close();
        ctx_.dm.statusDisplayOn = displayWasOn_;
        if (data::StatusDisplay *status = ctx_.dm.statusDisplay())
            status->setStatusText(1, QString());
        storeWindowPlace(*this, ctx_, kAddressBookPlace);
    }
    QDialog::done(result);
}

int openAddressBook(QWidget *parent, const vat::WindowContext &ctx, bool firstRow)
{
    engine::Table &maz = *ctx.dm.Maz;
    try {
        if (maz.isActive())
            maz.refresh();
        else
            maz.open();
        if (firstRow)
            maz.first();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
        return QDialog::Rejected;
    }
    return TEazForm(ctx, firstRow, parent).exec();
}

}  // namespace rur::correspondence
