#include "vat/forms/EcisForm.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/EditWidth.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::vat {

TEcisForm::TEcisForm(WindowContext ctx, QWidget *parent) : QDialog(parent), ctx_(std::move(ctx))
{
    setWindowTitle(u"Sazby RUR"_s);
    auto *box = new QGroupBox(u"Sazby daně"_s, this);
    auto *grid = new QGridLayout(box);
    const auto rate = [&](const QString &field, const QString &caption, int row) {
        auto *edit = new ui::TDBEditz(box);
        edit->setObjectName(u"DBEdit"_s + field);
        edit->setDataSource(ctx_.dm.Dcis.get(), field);
        edit->setPrompter(&ctx_.prompter);
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(std::max(70, ui::fieldEditWidth(*edit)));
        grid->addWidget(new QLabel(caption, box), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(u"%"_s, box), row, 2);
        return edit;
    };
    reduced_ = rate(u"Dd"_s, u"Snížená sazba daně"_s, 0);
    basic_ = rate(u"Hd"_s, u"Základní sazba daně"_s, 1);

    dan_ = new ui::TDBCheckBoxz(box);
    dan_->setObjectName(u"DBCheckBoxDan"_s);
    dan_->setDataSource(ctx_.dm.Prp.get(), u"Dan"_s);
    dan_->setPrompter(&ctx_.prompter);
    dan_->setCaptions(u"daň na výstupu"_s, u"částku včetně RUR"_s);
    setHint(dan_, u"Zdanitelná plnění - zapisovat částku včetně RUR nebo daň na výstupu"_s);
    grid->addWidget(new QLabel(u"Zapisovat"_s, box), 2, 0);
    grid->addWidget(dan_, 2, 1, 1, 2);

    ok_ = makeButton(u"&OK"_s, u"OKButton"_s, u"Uloží sazby a zavře okno"_s, this);
    connect(ok_, &QPushButton::clicked, this, &TEcisForm::OKButtonClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    placeWindow(*this, ctx_, WindowId::Rates);
    reduced_->setFocus();
}

void TEcisForm::OKButtonClick()
{
    if (!commitTyped(this))
        return;
    try {
        postIfEditing(*ctx_.dm.Dcis);
        postIfEditing(*ctx_.dm.Prp);
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
        return;
    }
    accept();
}

void TEcisForm::done(int result)
{
    if (!closed_) {
        if (!commitTyped(this))
            return;
        closed_ = true;
        storeWindowPlace(*this, ctx_, WindowId::Rates);
        postAndReopen({ctx_.dm.Dcis.get(), ctx_.dm.Prp.get()}, ctx_.prompter);
    }
    QDialog::done(result);
}

void SazbyRur(const WindowContext &ctx, QWidget *parent)
{
    try {
        ctx.dm.Prp->edit();
        ctx.dm.Dcis->edit();
    } catch (const engine::EngineError &e) {
        reportError(ctx.prompter, e);
        return;
    }
    {
        TEcisForm form(ctx, parent);
        form.exec();
    }
    try {
        afterRatesChanged(ctx.dm);
    } catch (const engine::EngineError &e) {
        reportError(ctx.prompter, e);
    }
}

}  // namespace rur::vat
