#include "vat/forms/FinishedForm.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/EnterTab.h"
#include "vat/Saving.h"
#include "vat/forms/FormParts.h"
#include "vat/forms/ReturnPanel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::vat {

TFinishedForm::TFinishedForm(int part, engine::Table &table, WindowId id, WindowContext ctx, QWidget *parent)
    : QDialog(parent), table_(table), id_(id), ctx_(std::move(ctx)), displayWasOn_(ctx_.dm.statusDisplayOn)
{
    setWindowTitle(returnWindowCaption(part));
    try {
        table_.refresh();
        table_.first();
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
    }

    panel_ = new ReturnPanel(returnSections(part), table_, ctx_.prompter, true, this);
    if (part == 1) {
        const bool amountIsTax = ctx_.dm.Prp->isActive() && ctx_.dm.Prp->field(u"Dan"_s).asBoolean();
        panel_->setSplitHeading(splitColumnHeading(amountIsTax));
    }

    // The period of the row shown.
    auto *period = new QHBoxLayout;
    for (const auto &[caption, field] : {std::pair{u"Měsíc"_s, u"M"_s}, std::pair{u"Čtvrtletí"_s, u"Q"_s}}) {
        auto *edit = new ui::TDBEditz(this);
        edit->setObjectName(u"DBEdit"_s + field);
        edit->setDataSource(&table_, field);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
        edit->setFixedWidth(std::max(100, ui::fieldEditWidth(*edit)));
        edit->setStyleSheet(u"background-color: #f6f6f6;"_s);
        period->addWidget(new QLabel(caption, this));
        period->addWidget(edit);
        period->addSpacing(16);
    }
    period->addStretch();

    auto *buttons = new QHBoxLayout;
    const std::tuple<QString, QString, QString, void (TFinishedForm::*)()> navigator[] = {
        {u"|<"_s, u"FirstButton"_s, u"První záznam (Ctrl+Home)"_s, &TFinishedForm::firstRow},
        {u"<"_s, u"PriorButton"_s, u"Předchozí záznam (PgUp)"_s, &TFinishedForm::priorRow},
        {u">"_s, u"NextButton"_s, u"Další záznam (PgDn)"_s, &TFinishedForm::nextRow},
        {u">|"_s, u"LastButton"_s, u"Poslední záznam (Ctrl+End)"_s, &TFinishedForm::lastRow}};
    for (const auto &[caption, name, hint, slot] : navigator) {
        QPushButton *b = makeButton(caption, name, hint, this);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    }
    buttons->addSpacing(24);
    smazat_ = makeButton(u"&Smazat"_s, u"SmazatButton"_s, u"Smaže vybraný měsíc nebo čtvrtletí"_s, this);
    connect(smazat_, &QPushButton::clicked, this, &TFinishedForm::SmazatButtonClick);
    buttons->addWidget(smazat_);
    buttons->addStretch();
    QPushButton *close = makeButton(u"&Zavřít"_s, u"ZavritButton"_s, u"Zavřít okno"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(panel_);
    layout->addLayout(period);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->installEventFilter(this);
    smazat_->setEnabled(table_.isActive() && !table_.isEmpty());
    placeWindow(*this, ctx_, id_);
    if (!panel_->chain().isEmpty())
        panel_->chain().first()->setFocus();
}

TFinishedForm::~TFinishedForm()
{
    // A window destroyed without closing leaves the status display as it found it too.
    if (!closed_)
        ctx_.dm.statusDisplayOn = displayWasOn_;
}

ui::TDBEditz *TFinishedForm::edit(const QString &field) const
{
    return panel_->edit(field);
}

QPushButton *TFinishedForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void TFinishedForm::showPosition()
{
    if (!table_.isActive())
        return;
    ctx_.dm.statusDisplayOn = true;
    ctx_.dm.Zaznam(table_);
    ctx_.dm.StatusEdit(table_);
}

void TFinishedForm::firstRow()
{
    if (table_.isActive() && table_.recNo() > 1)
        table_.first();
}

void TFinishedForm::priorRow()
{
    if (table_.isActive() && table_.recNo() > 1)
        table_.prior();
}

void TFinishedForm::nextRow()
{
    if (table_.isActive() && table_.recNo() < table_.recordCount())
        table_.next();
}

void TFinishedForm::lastRow()
{
    if (table_.isActive() && table_.recNo() < table_.recordCount())
        table_.last();
}

void TFinishedForm::SmazatButtonClick()
{
    if (!table_.isActive() || table_.isEmpty())
        return;
    try {
        if (!deleteFinishedPeriod(ctx_.dm, table_.field(u"Cislo"_s).asInteger(), ctx_.prompter))
            return;
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
        return;
    }
    showPosition();
    smazat_->setEnabled(!table_.isEmpty());
    if (!panel_->chain().isEmpty())
        panel_->chain().first()->setFocus();
}

void TFinishedForm::done(int result)
{
    if (!closed_) {
        closed_ = true;
        storeWindowPlace(*this, ctx_, id_);
        ctx_.dm.statusDisplayOn = displayWasOn_;
        try {
            reopenTable(*ctx_.dm.Dtabn1s);
            reopenTable(*ctx_.dm.Dtabn2s);
        } catch (const engine::EngineError &e) {
            reportError(ctx_.prompter, e);
        }
    }
    QDialog::done(result);
}

bool TFinishedForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        showPosition();
    return QDialog::event(event);
}

bool TFinishedForm::windowKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::ControlModifier && event->key() == Qt::Key_Home)
        firstRow();
    else if (mods == Qt::ControlModifier && event->key() == Qt::Key_End)
        lastRow();
    else if (mods == Qt::NoModifier && event->key() == Qt::Key_PageUp)
        priorRow();
    else if (mods == Qt::NoModifier && event->key() == Qt::Key_PageDown)
        nextRow();
    else
        return false;
    return true;
}

bool TFinishedForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (windowKey(key))
            return true;
        // Enter in the last field goes round to the first one.
        const auto &chain = panel_->chain();
        if (!chain.isEmpty() && watched == chain.last() && ui::isEnterPress(event)
            && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
            chain.first()->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFinishedForm::keyPressEvent(QKeyEvent *event)
{
    if (windowKey(event))
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

TEtab1sForm::TEtab1sForm(WindowContext ctx, QWidget *parent)
    : TFinishedForm(1, *ctx.dm.Dtabn1s, WindowId::Finished1, ctx, parent)
{
}

TEtab4sForm::TEtab4sForm(WindowContext ctx, QWidget *parent)
    : TFinishedForm(2, *ctx.dm.Dtabn1s, WindowId::Finished2, ctx, parent)
{
}

TEtab2sForm::TEtab2sForm(WindowContext ctx, QWidget *parent)
    : TFinishedForm(3, *ctx.dm.Dtabn2s, WindowId::Finished3, ctx, parent)
{
}

std::unique_ptr<TFinishedForm> makeFinishedWindow(int n, const WindowContext &ctx, QWidget *parent)
{
    switch (n) {
    case 1:
        return std::make_unique<TEtab1sForm>(ctx, parent);
    case 2:
        return std::make_unique<TEtab4sForm>(ctx, parent);
    case 3:
        return std::make_unique<TEtab2sForm>(ctx, parent);
    default:
        return nullptr;
    }
}

}  // namespace rur::vat
