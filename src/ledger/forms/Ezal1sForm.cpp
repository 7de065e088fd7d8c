#include "ledger/forms/Ezal1sForm.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "ledger/Ledger.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/KalendarForm.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::ledger {

TEzal1sForm::TEzal1sForm(vat::WindowContext ctx, QWidget *parent) : QDialog(parent), ctx_(std::move(ctx))
{
    setWindowTitle(u"Na RUR zaplaceno"_s);
    engine::Table *dzal1 = ctx_.dm.Dzal1.get();
    const engine::Table &prp = *ctx_.dm.Prp;
    heading_ = new QLabel(ledgerHeading(prp.isActive() ? prp.value(prp.def().indexOf(u"R"_s)).toString() : QString()), this);
    heading_->setObjectName(u"NadpisLabel"_s);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    const QStringList labels = periodLabels(ctx_.dm);
    const ui::DatePicker picker = ui::calendarPicker({ctx_.dataSetIni, ctx_.section, ctx_.screenWidth});
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    for (int slot = 1; slot <= kSlots; ++slot) {
        const int row = slot - 1;
        auto *period = new QLabel(labels[row], this);
        period->setObjectName(u"ObdobiLabel%1"_s.arg(slot));
        period->setMinimumWidth(period->fontMetrics().horizontalAdvance(u"III. čtvrtletí"_s) + 8);
        auto *dateLabel = new QLabel(u"Datum"_s, this);
        dateLabel->setObjectName(u"DatumLabel%1"_s.arg(slot));
        auto *date = new ui::TDBEditz(this);
        date->setObjectName(u"DB"_s + dateField(slot));
        date->setDataSource(dzal1, dateField(slot));
        date->setPrompter(&ctx_.prompter);
        ui::setEditWidth(*date, 10);
        vat::setHint(date, u"Datum"_s);
        ui::attachCalendar(date, dateLabel, picker);
        auto *amount = new ui::TDBEditz(this);
        amount->setObjectName(u"DB"_s + amountField(slot));
        amount->setDataSource(dzal1, amountField(slot));
        amount->setPrompter(&ctx_.prompter);
        amount->setAlignment(Qt::AlignRight);
        ui::setEditWidth(*amount, 13);
        vat::setHint(amount, u"Částka v Kč"_s);
        auto *transfer = new QLabel(u"Příkaz"_s, this);
        transfer->setObjectName(u"PrikazLabel%1"_s.arg(slot));
        ui::makeLabelClickable(transfer);
        transfer->installEventFilter(this);
        grid->addWidget(period, row, 0);
        grid->addWidget(dateLabel, row, 1);
        grid->addWidget(date, row, 2);
        grid->addWidget(amount, row, 3);
        grid->addWidget(new QLabel(u"Kč"_s, this), row, 4);
        grid->addWidget(transfer, row, 5);
        periods_.append(period);
        dateLabels_.append(dateLabel);
        transfers_.append(transfer);
        dates_.append(date);
        amounts_.append(amount);
    }

    QPushButton *ok = vat::makeButton(u"&OK"_s, u"OKButton"_s, u"Uloží údaje a zavře okno"_s, this);
    connect(ok, &QPushButton::clicked, this, &TEzal1sForm::OKButtonClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading_, 0, Qt::AlignHCenter);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    vat::placeWindow(*this, ctx_, vat::WindowId::Ledger);
    dates_.first()->setFocus();
}

bool TEzal1sForm::eventFilter(QObject *watched, QEvent *event)
{
    if (vat::isClick(event)) {
        const int index = transfers_.indexOf(static_cast<QLabel *>(watched));
        if (index >= 0) {
            PrenosZ1(index + 1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEzal1sForm::OKButtonClick()
{
    if (!vat::commitTyped(this))
        return;
    try {
        vat::postIfEditing(*ctx_.dm.Dzal1);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
        return;
    }
    accept();
}

void TEzal1sForm::PrenosZ1(int slot)
{
    if (!vat::commitTyped(this))
        return;
    try {
        if (ledger::PrenosZ1(ctx_.dm, slot, ctx_.prompter))
            accept();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
}

void TEzal1sForm::done(int result)
{
    if (!closed_) {
        if (!vat::commitTyped(this))
            return;
        closed_ = true;
        vat::storeWindowPlace(*this, ctx_, vat::WindowId::Ledger);
        try {
            closeLedger(ctx_.dm);
        } catch (const engine::EngineError &e) {
            vat::reportError(ctx_.prompter, e);
        }
    }
    QDialog::done(result);
}

void openLedger(QWidget *parent, const vat::WindowContext &ctx)
{
    try {
        prepareLedger(ctx.dm);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
        return;
    }
    TEzal1sForm(ctx, parent).exec();
    if (data::StatusDisplay *status = ctx.dm.statusDisplay())
        status->setStatusText(1, QString());
}

}  // namespace rur::ledger
