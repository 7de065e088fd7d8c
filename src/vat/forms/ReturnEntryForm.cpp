#include "vat/forms/ReturnEntryForm.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "ui/HelpRequests.h"
#include "ui/RecordActions.h"
#include "vat/Split.h"
#include "vat/forms/FormParts.h"
#include "vat/forms/ReturnPanel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

WindowId windowId(int number)
{
    return WindowId(int(WindowId::Return1) + number - 1);
}

}  // namespace

TReturnEntryForm::TReturnEntryForm(int number, engine::Table &table, WindowContext ctx, QWidget *parent)
    : QDialog(parent), number_(number), table_(table), ctx_(std::move(ctx))
{
    try {
        table_.refresh();
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
    }
    setWindowTitle(captionWithPeriod(returnWindowCaption(number), ctx_.dm));
    setStatusTip(u"Nápověda (F1)"_s);

    panel_ = new ReturnPanel(returnSections(number), table_, ctx_.prompter, false, this);
    editButton_ = makeButton(u"Opravit"_s, u"EditButton"_s, u"Opravit záznam (F4)"_s, this);
    postButton_ = makeButton(u"Uložit"_s, u"PostButton"_s, u"Uložit záznam (F9)"_s, this);
    cancelButton_ = makeButton(u"Storno"_s, u"CancelButton"_s, u"Stornovat změny (Esc)"_s, this);
    priorButton_ = makeButton(u"<<"_s, u"PriorButton"_s, u"Předchozí část přiznání (PgUp)"_s, this);
    if (number == 4)
        nextButton_ = makeButton(u"&Tisk"_s, u"TiskButton"_s, u"Tisk přiznání k RUR (PgDn)"_s, this);
    else
        nextButton_ = makeButton(u">>"_s, u"NextButton"_s, u"Další část přiznání (PgDn)"_s, this);
    QPushButton *close = makeButton(u"&Zavřít"_s, u"ZavritButton"_s, u"Zavřít okno"_s, this);

    priorButton_->setEnabled(previousReturnWindow(number) != 0);
    if (number == 4)
        nextButton_->setEnabled(ctx_.printAvailable && ctx_.printAvailable());

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {editButton_, postButton_, cancelButton_})
        buttons->addWidget(b);
    buttons->addSpacing(24);
    buttons->addWidget(priorButton_);
    buttons->addWidget(nextButton_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(panel_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(editButton_, &QPushButton::clicked, this, &TReturnEntryForm::editRecord);
    connect(postButton_, &QPushButton::clicked, this, &TReturnEntryForm::postRecord);
    connect(cancelButton_, &QPushButton::clicked, this, &TReturnEntryForm::cancelRecord);
    connect(priorButton_, &QPushButton::clicked, this, [this] { goTo(previousReturnWindow(number_)); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { goTo(nextReturnWindow(number_)); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(&table_, &engine::Table::stateChanged, this, &TReturnEntryForm::updateButtons);
    for (QLineEdit *edit : panel_->findChildren<QLineEdit *>())
        edit->installEventFilter(this);
    updateButtons();

    placeWindow(*this, ctx_, windowId(number));
    if (!panel_->chain().isEmpty())
        panel_->chain().first()->setFocus();
}

TReturnEntryForm::~TReturnEntryForm() = default;

ui::TDBEditz *TReturnEntryForm::edit(const QString &field) const
{
    return panel_->edit(field);
}

QPushButton *TReturnEntryForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void TReturnEntryForm::updateButtons()
{
    const bool editing = table_.isEditing();
    editButton_->setEnabled(table_.isActive() && !editing);
    postButton_->setEnabled(editing);
    cancelButton_->setEnabled(editing);
}

void TReturnEntryForm::editRecord()
{
    try {
        if (table_.state() == engine::Table::State::Browse)
            table_.edit();
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
    }
}

bool TReturnEntryForm::postRecord()
{
    if (!commitTyped(this))
        return false;
    try {
        if (table_.isEditing())
            table_.post();
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
        return false;
    }
    return true;
}

void TReturnEntryForm::cancelRecord()
{
    resetTyped(this);
    if (table_.isEditing())
        table_.cancel();
}

void TReturnEntryForm::goTo(int n)
{
    next_ = n;
    reject();
}

bool TReturnEntryForm::confirmClose()
{
    if (!commitTyped(this))
        return false;
    if (!table_.isEditing())
        return true;
    switch (ctx_.prompter.confirmWithCancel(ui::closeQuestion(windowTitle()))) {
    case platform::Prompter::Answer::Yes:
        return postRecord();
    case platform::Prompter::Answer::No:
        cancelRecord();
        return true;
    case platform::Prompter::Answer::Cancel:
        break;
    }
    return false;
}

void TReturnEntryForm::done(int result)
{
    if (closed_) {
        QDialog::done(result);
        return;
    }
    // A window that stays open forgets where the user wanted to go.
    if (!confirmClose()) {
        next_ = 0;
        return;
    }
    closed_ = true;
    storeWindowPlace(*this, ctx_, windowId(number_));
    try {
        reopenTable(table_);
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
    }
    QDialog::done(result);
}

bool TReturnEntryForm::windowKey(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_F1:
        if (ctx_.help)
            ctx_.help->showContext(returnWindowHelpContext(number_));
        return true;
    case Qt::Key_F4:
        editRecord();
        return true;
    case Qt::Key_F9:
        postRecord();
        return true;
    case Qt::Key_Escape:
        if (table_.isEditing())
            cancelRecord();
        else
            reject();
        return true;
    case Qt::Key_PageUp:
        if (priorButton_->isEnabled())
            goTo(previousReturnWindow(number_));
        return true;
    case Qt::Key_PageDown:
        if (nextButton_->isEnabled())
            goTo(nextReturnWindow(number_));
        return true;
    default:
        return false;
    }
}

bool TReturnEntryForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && windowKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TReturnEntryForm::keyPressEvent(QKeyEvent *event)
{
    if (windowKey(event))
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------

TEtab1Form::TEtab1Form(WindowContext ctx, QWidget *parent) : TReturnEntryForm(1, *ctx.dm.Dtabn1, ctx, parent)
{
    const bool amountIsTax = context().dm.Prp->isActive() && context().dm.Prp->field(u"Dan"_s).asBoolean();
    panel()->setSplitHeading(splitColumnHeading(amountIsTax));
    for (int line : {1, 2}) {
        auto *split = qobject_cast<SplitEdit *>(edit(line == 1 ? u"S210"_s : u"S215"_s));
        connect(split, &SplitEdit::left, this,
                [this, line](const QString &entry, const QString &now) { splitLeft(line, entry, now); });
    }
    Nastaveni1();
}

void TEtab1Form::Nastaveni1()
{
    for (const QString &field : {u"S210"_s, u"S215"_s})
        qobject_cast<SplitEdit *>(edit(field))->rememberText();
}

void TEtab1Form::splitLeft(int line, const QString &textOnEntry, const QString &textNow)
{
    if (!splitNeeded(textOnEntry, textNow))
        return;
    try {
        const double amount = table().field(line == 1 ? u"S210"_s : u"S215"_s).asFloat();
        splitAmount(context().dm, line, amount, context().prompter);
    } catch (const engine::EngineError &e) {
        reportError(context().prompter, e);
    }
}

TEtab4Form::TEtab4Form(WindowContext ctx, QWidget *parent) : TReturnEntryForm(2, *ctx.dm.Dtabn1, ctx, parent) {}

TEtab2Form::TEtab2Form(WindowContext ctx, QWidget *parent) : TReturnEntryForm(3, *ctx.dm.Dtabn2, ctx, parent)
{
    QLabel *coefficient = panel()->columnHeading(1, 0);
    makeClickable(coefficient);
    setHint(coefficient, u"Přenese koeficient z Údajů o poplatníkovi (Shift+F7)"_s);
    coefficient->setObjectName(u"KoeficientLabel"_s);
    coefficient->installEventFilter(this);
}

void TEtab2Form::Koeficient1()
{
    try {
        vat::Koeficient1(context().dm, context().prompter);
    } catch (const engine::EngineError &e) {
        reportError(context().prompter, e);
    }
}

bool TEtab2Form::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panel()->columnHeading(1, 0) && isClick(event)) {
        Koeficient1();
        return true;
    }
    if (watched == edit(u"C550"_s) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F7 && key->modifiers() == Qt::ShiftModifier) {
            Koeficient1();
            return true;
        }
    }
    return TReturnEntryForm::eventFilter(watched, event);
}

TEtab3Form::TEtab3Form(WindowContext ctx, QWidget *parent) : TReturnEntryForm(4, *ctx.dm.Dtabn3, ctx, parent)
{
    // Lines 62 to 66 are computed from the rows of parts 1 and 2 as they are now.
    try {
        for (engine::Table *t : {context().dm.Dtabn1.get(), context().dm.Dtabn2.get(), &table()})
            if (t->isActive())
                t->refresh();
    } catch (const engine::EngineError &e) {
        reportError(context().prompter, e);
    }
}

std::unique_ptr<TReturnEntryForm> makeReturnWindow(int n, const WindowContext &ctx, QWidget *parent)
{
    switch (n) {
    case 1:
        return std::make_unique<TEtab1Form>(ctx, parent);
    case 2:
        return std::make_unique<TEtab4Form>(ctx, parent);
    case 3:
        return std::make_unique<TEtab2Form>(ctx, parent);
    case 4:
        return std::make_unique<TEtab3Form>(ctx, parent);
    default:
        return nullptr;
    }
}

}  // namespace rur::vat
