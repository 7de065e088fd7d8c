#include "payments/forms/EbzpForm.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "payments/PaymentData.h"
#include "search/forms/FindForms.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/DBGrid.h"
#include "ui/forms/DBNavigator.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/EnterTab.h"
#include "ui/forms/RecordEditor.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::payments {

namespace {


struct AccountEditDef {
    QString field, hint;
    int chars;
};

}  // namespace

TEbzpForm::TEbzpForm(vat::WindowContext ctx, QWidget *parent) : QDialog(parent), ctx_(std::move(ctx))
{
    setWindowTitle(u"Údaje pro platby z účtu"_s);
    setStatusTip(u"F3 - vyhledávání podle čísla banky (F1)"_s);
    setToolTip(statusTip());
    engine::Table *mbzp = ctx_.dm.Mbzp.get();
    editor_ = new ui::RecordEditor(mbzp, &ctx_.prompter, this);
    navigator_ = new ui::TDBNavigator(editor_, this);

    const AccountEditDef defs[] = {{u"Pc"_s, u"Číslo banky pro rychlý výběr"_s, 5},
                            {u"Bai"_s, u"Název banky - tiskne se na příkazech k úhradě"_s, 25},
                            {u"Cui"_s, u"Číslo účtu"_s, 18},
                            {u"Kbi"_s, u"Kód banky"_s, 4},
                            {u"Vi"_s, u"Místo vystavení - tiskne se na příkazech k úhradě"_s, 20}};
    for (const AccountEditDef &d : defs) {
        auto *e = new ui::TDBEditz(this);
        e->setObjectName(u"DBEdit"_s + d.field);
        e->setDataSource(mbzp, d.field);
        e->setPrompter(&ctx_.prompter);
        ui::setEditWidth(*e, d.chars + 1);
        vat::setHint(e, d.hint);
        edits_.append(e);
    }
    // The last field goes round: Enter to the number, Shift+Enter back to the bank code.
    edits_.last()->setEnterTab(false);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(u"Číslo banky"_s, this), 0, 0);
    fields->addWidget(edit(u"Pc"_s), 0, 1, Qt::AlignLeft);
    fields->addWidget(new QLabel(u"Banka"_s, this), 1, 0);
    fields->addWidget(edit(u"Bai"_s), 1, 1, Qt::AlignLeft);
    auto *account = new QHBoxLayout;
    account->addWidget(edit(u"Cui"_s));
    account->addWidget(new QLabel(u"/"_s, this));
    account->addWidget(edit(u"Kbi"_s));
    account->addStretch();
    fields->addWidget(new QLabel(u"Číslo účtu / kód banky"_s, this), 2, 0);
    fields->addLayout(account, 2, 1);
    fields->addWidget(new QLabel(u"Vystaveno v"_s, this), 3, 0);
    fields->addWidget(edit(u"Vi"_s), 3, 1, Qt::AlignLeft);

    grid_ = new ui::TDBGrid(editor_,
                            {{u"Pc"_s, u"Číslo"_s}, {u"Bai"_s, u"Název Banky"_s}, {u"Cui"_s, u"Číslo účtu"_s},
                             {u"Kbi"_s, u"Kód"_s}, {u"Vi"_s, u"Vystaveno v"_s}},
                            this);
    grid_->setObjectName(u"DBGrid1"_s);
    grid_->setMinimumSize(560, 200);
    grid_->horizontalHeader()->setStretchLastSection(true);
    // Each column as wide as its field or its title.
    const int chars[] = {5, 25, 18, 4, 20};
    for (int c = 0; c < grid_->tableModel()->columnCount(); ++c) {
        const int title = int(grid_->tableModel()->headerData(c, Qt::Horizontal).toString().size());
        grid_->setColumnWidth(c, grid_->fontMetrics().averageCharWidth() * (qMax(title, chars[c]) + 1) + 12);
    }
    connect(grid_, &ui::TDBGrid::picked, this, &TEbzpForm::pick);

    prenest_ = vat::makeButton(u"&Přenést"_s, u"PrenestButton"_s, u"Přenese vybraný zápis"_s, this);
    connect(prenest_, &QPushButton::clicked, this, &TEbzpForm::pick);
    QPushButton *close = vat::makeButton(u"&Zavřít"_s, u"ZavritButton"_s, u"Zavřít okno"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(navigator_);
    buttons->addStretch();
    buttons->addWidget(prenest_);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(grid_);

    // Insert and F4 take the focus to the number.
    connect(editor_, &ui::RecordEditor::actionRun, this, [this](ui::RecordAction a) {
        if (a == ui::RecordAction::Insert || a == ui::RecordAction::Edit)
            edit(u"Pc"_s)->setFocus();
    });
    editor_->watchKeys();
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    vat::placeWindow(*this, ctx_, vat::WindowId::PaymentData);
    grid_->setFocus();
}

ui::TDBEditz *TEbzpForm::edit(const QString &field) const
{
    for (ui::TDBEditz *e : edits_)
        if (e->fieldName() == field)
            return e;
    return nullptr;
}

void TEbzpForm::showPosition()
{
    if (!ctx_.dm.Mbzp->isActive())
        return;
    ctx_.dm.Zaznam(*ctx_.dm.Mbzp);
    ctx_.dm.StatusEdit(*ctx_.dm.Mbzp);
}

void TEbzpForm::pick()
{
    accept();
}

bool TEbzpForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        grid_->setFocus();
        if (ctx_.dm.statusDisplayOn)
            showPosition();
    }
    return QDialog::event(event);
}

bool TEbzpForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (key->key() == Qt::Key_F3 && mods == Qt::NoModifier) {
            if (editor_->commitTyped())
                search::Find11(ctx_, this);
            return true;
        }
        if (watched == edit(u"Vi"_s) && ui::isEnterPress(event)) {
            if (mods == Qt::NoModifier)
                edit(u"Pc"_s)->setFocus(Qt::TabFocusReason);
            else if (mods == Qt::ShiftModifier)
                edit(u"Kbi"_s)->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEbzpForm::done(int result)
{
    if (!closed_) {
        if (!editor_->confirmClose(windowTitle()))
            return;
        closed_ = true;
        data::TDM1 &dm = ctx_.dm;
        if (data::StatusDisplay *status = dm.statusDisplay())
            status->setStatusText(1, QString());
        if (!isMaximized() && !isMinimized())
            vat::storeWindowPlace(*this, ctx_, vat::WindowId::PaymentData);
        // The list is read again from its file, on the row the user left.
        const bool displayWasOn = dm.statusDisplayOn;
        dm.statusDisplayOn = false;
        engine::Table &mbzp = *dm.Mbzp;
        try {
            if (mbzp.isActive()) {
                const engine::Table::Bookmark row = mbzp.bookmark();
                mbzp.close();
                mbzp.open();
                mbzp.gotoBookmark(row);
            }
        } catch (const engine::EngineError &e) {
            vat::reportError(ctx_.prompter, e);
        }
        dm.statusDisplayOn = displayWasOn;
    }
    QDialog::done(result);
}

void PrenosBanky1(QWidget *parent, const vat::WindowContext &ctx)
{
    data::TDM1 &dm = ctx.dm;
    dm.statusDisplayOn = true;
    try {
        openBankData(dm);
        TEbzpForm form(ctx, parent);
        if (form.exec() == QDialog::Accepted)
            takeBankData(dm);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
    }
    closeBankData(dm);
    dm.statusDisplayOn = false;
    if (data::StatusDisplay *status = dm.statusDisplay())
        status->setStatusText(1, QString());
}

}  // namespace rur::payments
