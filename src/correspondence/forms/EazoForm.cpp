#include "correspondence/forms/EazoForm.h"

#include "correspondence/AddressBook.h"
#include "correspondence/forms/EditRows.h"
#include "correspondence/forms/WindowPlaces.h"
#include "data/DataM1.h"
#include "datasets/SenderData.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "ui/forms/DBEditz.h"
#include "vat/forms/FormParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::correspondence {

namespace {

inline constexpr char16_t kTransferQuestion[] = u"Opravdu přenést adresu z Údajů o poplatníkovi ?";
const QString kSenderPlace = u"Odesilatel1"_s;

}  // namespace

TEazoForm::TEazoForm(vat::WindowContext ctx, QWidget *parent) : QDialog(parent), ctx_(std::move(ctx))
{
    setObjectName(u"EazoForm"_s);
    setWindowTitle(u"Odesílatel"_s);
    static constexpr EditRow kRows[] = {
        {u"firma:", u"Fa", 40, u"Název Vaší firmy"},
        {u"ulice:", u"Ul", 40},
        {u"PSČ  místo:", u"Psc", 6, u"PSČ pište bez mezery, při tisku se za třetí číslicí vloží mezera"},
        {nullptr, u"Mi", 30},
    };
    auto *grid = new QGridLayout;
    int row = 0;
    const QList<ui::TDBEditz *> edits = addEditRows(*grid, row, this, ctx_.dm.Mtt.get(), &ctx_.prompter, kRows);

    QPushButton *ok = vat::makeButton(u"&OK"_s, u"OKButton"_s, u"Uloží odesílatele a zavře okno"_s, this);
    QPushButton *transfer =
        vat::makeButton(u"&Přenos"_s, u"PrenosButton"_s, u"Přenos adresy z Údajů o poplatníkovi"_s, this);
    connect(ok, &QPushButton::clicked, this, &TEazoForm::OKButtonClick);
    connect(transfer, &QPushButton::clicked, this, &TEazoForm::PrenosButtonClick);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(transfer);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    placeWindow(*this, ctx_, kSenderPlace, {200, 150});
    edits.first()->setFocus();
}

ui::TDBEditz *TEazoForm::edit(const QString &field) const
{
    return findChild<ui::TDBEditz *>(u"DBEdit"_s + field);
}

void TEazoForm::OKButtonClick()
{
    if (!vat::commitTyped(this))
        return;
    try {
        vat::postIfEditing(*ctx_.dm.Mtt);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
        return;
    }
    accept();
}

void TEazoForm::PrenosButtonClick()
{
    if (!ctx_.prompter.confirm(QString::fromUtf16(kTransferQuestion)))
        return;
    vat::resetTyped(this);
    try {
        datasets::PrenosUdaju1(ctx_.dm);
        ctx_.dm.Mtt->edit();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
    edit(u"Fa"_s)->setFocus();
}

void TEazoForm::done(int result)
{
    if (!closed_) {
        if (!vat::commitTyped(this))
            return;
        closed_ = true;
        storeWindowPlace(*this, ctx_, kSenderPlace);
        try {
            closeSender(ctx_.dm);
        } catch (const engine::EngineError &e) {
            vat::reportError(ctx_.prompter, e);
        }
    }
    QDialog::done(result);
}

void openSender(QWidget *parent, const vat::WindowContext &ctx)
{
    try {
        correspondence::openSender(ctx.dm);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
        return;
    }
    TEazoForm(ctx, parent).exec();
}

}  // namespace rur::correspondence
