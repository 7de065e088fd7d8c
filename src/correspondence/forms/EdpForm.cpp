#include "correspondence/forms/EdpForm.h"

#include "correspondence/Documents.h"
#include "correspondence/forms/EditRows.h"
#include "correspondence/forms/WindowPlaces.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "search/forms/FindForms.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/DBGrid.h"
#include "ui/forms/DBNavigator.h"
#include "ui/forms/RecordEditor.h"
#include "ui/forms/WindowKeys.h"
#include "vat/forms/FormParts.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::correspondence {

namespace {

const QString kDocumentsPlace = u"Dopisy1"_s;

void clearSecondPanel(data::TDM1 &dm)
{
    if (data::StatusDisplay *status = dm.statusDisplay())
        status->setStatusText(1, QString());
}

}  // namespace

TEdpForm::TEdpForm(vat::WindowContext ctx, Mode mode, QWidget *parent)
    : QDialog(parent), ctx_(std::move(ctx)), mode_(mode), displayWasOn_(ctx_.dm.statusDisplayOn)
{
    setObjectName(u"EdpForm"_s);
    setWindowTitle(u"Dokumenty - dopisy"_s);
    vat::setHint(this, u"F3 - vyhledávání podle názvu (F1)"_s);
    engine::Table *mdp = ctx_.dm.Mdp.get();

    editor_ = new ui::RecordEditor(mdp, &ctx_.prompter, this);
    editor_->commitTyped = [this] { return vat::commitTyped(this); };
    editor_->resetTyped = [this] { vat::resetTyped(this); };
    editor_->confirmDelete = [this] { return ctx_.prompter.confirm(QString::fromUtf16(kDeleteQuestion)); };
    editor_->widgetKeepsKey = [this](QWidget *focus, ui::RecordAction action) {
        return focus == text_
               && (action == ui::RecordAction::First || action == ui::RecordAction::Prior
                   || action == ui::RecordAction::Next || action == ui::RecordAction::Last);
    };
    navigator_ = new ui::TDBNavigator(editor_, this);
    grid_ = new ui::TDBGrid(editor_, {{u"Nazev"_s, u"Název"_s}}, this);
    grid_->setObjectName(u"DBGrid"_s);
    vat::setHint(grid_, u"Výběr dokumentu"_s);
    grid_->setFixedWidth(grid_->fontMetrics().averageCharWidth() * 32 + 40);
    grid_->horizontalHeader()->setStretchLastSection(true);
    connect(grid_, &ui::TDBGrid::picked, this, [this] {
        if (mode_ == Mode::Pick && editor_->confirmClose(windowTitle()))
            done(QDialog::Accepted);
    });

    static constexpr EditRow kRows[] = {
        {u"Název dokumentu:", u"Nazev", 30},
        {u"Dopis - záhlaví:", u"Rd1", 60},
        {u"Dopis / Příloha - další údaje:", u"Rd2", 60, u"Dopis - Věc, Příloha - číslo přílohy"},
    };
    auto *fields = new QGridLayout;
    int row = 0;
    const QList<ui::TDBEditz *> edits = addEditRows(*fields, row, this, mdp, &ctx_.prompter, kRows);
    ui::TDBEditz *name = edits[0];
    type_ = new ui::TDBCheckBoxz(this);
    type_->setObjectName(u"DBCheckBoxTyp"_s);
    type_->setDataSource(mdp, u"Typ"_s);
    type_->setPrompter(&ctx_.prompter);
    type_->setCaptions(documentTypeCaption(true), documentTypeCaption(false));
    vat::setHint(type_, u"Typ dokumentu (zaškrtnuto - dopis, nezaškrtnuto - příloha)"_s);
    text_ = new vat::TDBMemo(this);
    text_->setObjectName(u"DBMemoText"_s);
    text_->setDataSource(mdp, u"Text"_s);
    text_->setPrompter(&ctx_.prompter);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    vat::setHint(text_, u"Text dokumentu"_s);
    text_->setMinimumSize(text_->fontMetrics().averageCharWidth() * 80, text_->fontMetrics().lineSpacing() * 16);
    fields->addWidget(type_, 0, 2);
    for (qsizetype i = 1; i < edits.size(); ++i)
        setTabOrder(edits[i - 1], edits[i]);
    setTabOrder(edits.last(), type_);
    setTabOrder(type_, text_);

    duplicate_ = vat::makeButton(u"D&uplikovat"_s, u"DuplikaceButton"_s, u"Duplikovat dokument (Ctrl+D)"_s, this);
    connect(duplicate_, &QPushButton::clicked, this, &TEdpForm::DuplikaceClick);
    print_ = vat::makeButton(u"&Tisk"_s, u"TiskButton"_s, u"Tisk - dokumenty - dopisy"_s, this);
    connect(print_, &QPushButton::clicked, this, [this] {
        if (editor_->confirmClose(windowTitle()))
            done(PrintResult);
    });
    print_->setVisible(mode_ == Mode::Edit);

    auto *top = new QHBoxLayout;
    top->addWidget(navigator_);
    top->addWidget(duplicate_);
    top->addStretch();
    top->addWidget(print_);
    auto *right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(text_);
    auto *body = new QHBoxLayout;
    body->addWidget(grid_);
    body->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body);

    // A new document, and F4 from the list: the name is typed next.
    connect(editor_, &ui::RecordEditor::actionRun, this, [this, name](ui::RecordAction action) {
        if (action == ui::RecordAction::Insert || (action == ui::RecordAction::Edit && grid_->hasFocus()))
            name->setFocus();
        updateDuplicate();
    });
    connect(mdp, &engine::Table::recordChanged, this, &TEdpForm::updateDuplicate);
    connect(mdp, &engine::Table::rowsReloaded, this, &TEdpForm::updateDuplicate);
    connect(mdp, &engine::Table::stateChanged, this, &TEdpForm::updateDuplicate);
    updateDuplicate();
    editor_->watchKeys();
    auto *keys = new ui::WindowKeys(this);
    keys->add(Qt::Key_F3, Qt::NoModifier, [this] {
        if (vat::commitTyped(this))
            search::Find12(ctx_, this);
    });
    keys->add(Qt::Key_D, Qt::ControlModifier, [this] { DuplikaceClick(); });
    keys->watch();
    placeWindow(*this, ctx_, kDocumentsPlace, {100, 40});
    grid_->setFocus();
}

ui::TDBEditz *TEdpForm::edit(const QString &field) const
{
    return findChild<ui::TDBEditz *>(u"DBEdit"_s + field);
}

void TEdpForm::activated()
{
    if (!ctx_.dm.Mdp->isActive())
        return;
    ctx_.dm.statusDisplayOn = true;
    ctx_.dm.Zaznam(*ctx_.dm.Mdp);
}

void TEdpForm::updateDuplicate()
{
    // An empty list has nothing to duplicate.
    const engine::Table &mdp = *ctx_.dm.Mdp;
    duplicate_->setEnabled(mdp.isActive() && !mdp.isEmpty());
}

void TEdpForm::DuplikaceClick()
{
    if (!duplicate_->isEnabled() || !vat::commitTyped(this))
        return;
    try {
        if (Duplikace(ctx_.dm, ctx_.prompter))
            edit(u"Nazev"_s)->setFocus();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
}

bool TEdpForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return QDialog::event(event);
}

void TEdpForm::done(int result)
{
    if (!closed_) {
        if (!editor_->confirmClose(windowTitle()))
            return;
        closed_ = true;
        clearSecondPanel(ctx_.dm);
        storeWindowPlace(*this, ctx_, kDocumentsPlace);
        // The file's rows again, on the same document.
        engine::Table &mdp = *ctx_.dm.Mdp;
        ctx_.dm.statusDisplayOn = false;
        try {
            const QString current = mdp.isEmpty() ? QString() : mdp.field(u"Nazev"_s).asString();
            mdp.close();
            mdp.open();
            if (!current.isEmpty())
                mdp.locate(u"Nazev"_s, {current});
        } catch (const engine::EngineError &e) {
            vat::reportError(ctx_.prompter, e);
        }
        ctx_.dm.statusDisplayOn = displayWasOn_;
    }
    QDialog::done(result);
}

namespace {

// Opens or rereads Mdp on its first row; false (the user told) when it can't be read.
bool rereadDocuments(const vat::WindowContext &ctx)
{
    engine::Table &mdp = *ctx.dm.Mdp;
    try {
        if (mdp.isActive())
            mdp.refresh();
        else
            mdp.open();
        mdp.first();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
        return false;
    }
    return true;
}

QString currentName(data::TDM1 &dm)
{
    engine::Table &mdp = *dm.Mdp;
    return mdp.isActive() && !mdp.isEmpty() ? mdp.field(u"Nazev"_s).asString() : QString();
}

}  // namespace

bool openDocuments(QWidget *parent, const vat::WindowContext &ctx)
{
    if (!rereadDocuments(ctx))
        return false;
    if (TEdpForm(ctx, TEdpForm::Mode::Edit, parent).exec() != TEdpForm::PrintResult)
        return false;
    engine::Table &mtt = *ctx.dm.Mtt;
    try {
        mtt.edit();
        mtt.field(u"Nazev"_s).setValue(currentName(ctx.dm));
        mtt.post();
        mtt.close();
        mtt.open();
    } catch (const engine::EngineError &e) {
        if (mtt.isActive() && mtt.isEditing())
            mtt.cancel();
        vat::reportError(ctx.prompter, e);
        return false;
    }
    return true;
}

void pickDocument(QWidget *parent, const vat::WindowContext &ctx)
{
    ctx.dm.statusDisplayOn = true;
    if (rereadDocuments(ctx)) {
        engine::Table &mtt = *ctx.dm.Mtt;
        const QString chosen = mtt.isActive() && !mtt.isEmpty() ? mtt.field(u"Nazev"_s).asString() : QString();
        if (!chosen.isEmpty())
            ctx.dm.Mdp->locate(u"Nazev"_s, {chosen});
        TEdpForm(ctx, TEdpForm::Mode::Pick, parent).exec();
        try {
            if (!mtt.isEditing())
                mtt.edit();
            mtt.field(u"Nazev"_s).setValue(currentName(ctx.dm));
        } catch (const engine::EngineError &e) {
            vat::reportError(ctx.prompter, e);
        }
    }
    ctx.dm.statusDisplayOn = false;
    clearSecondPanel(ctx.dm);
}

}  // namespace rur::correspondence
