#include "payments/forms/EbanaForm.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "payments/AboFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/Editz.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::payments {

namespace {

ui::TEditz *numberEdit(const QString &name, const QString &hint, int value, QWidget *parent)
{
    auto *e = new ui::TEditz(parent);
    e->setObjectName(name);
    e->setMaxLength(3);
    e->setFixedWidth(ui::digitsEditWidth(*e, e->maxLength()));
    e->setText(QString::number(value));
    vat::setHint(e, hint);
    return e;
}

void followCaption(QCheckBox *box)
{
    const auto caption = [box] { box->setText(box->isChecked() ? u"ano"_s : u"ne"_s); };
    QObject::connect(box, &QCheckBox::toggled, box, caption);
    caption();
}

}  // namespace

TEbanaForm::TEbanaForm(vat::WindowContext ctx, QWidget *parent) : QDialog(parent), ctx_(std::move(ctx))
{
    setWindowTitle(u"Nastavení formátu ABO"_s);
    const AboNumbering n = readAboNumbering(platform::IniFile(ctx_.dataSetIni));
    numbering_ = new QCheckBox(this);
    numbering_->setObjectName(u"UcetniSouboryCheckBox"_s);
    numbering_->setChecked(n.on);
    vat::setHint(numbering_, u"ano - používat interval účetních souborů"_s);
    followCaption(numbering_);
    from_ = numberEdit(u"OdEdit"_s, u"nastavení intervalu od čísla"_s, n.from, this);
    to_ = numberEdit(u"DoEdit"_s, u"nastavení intervalu do čísla"_s, n.to, this);
    next_ = numberEdit(u"CisloEdit"_s, u"číslo pro další příkaz"_s, n.next, this);

    engine::Table *mtt = ctx_.dm.Mtt.get();
    const auto mttBox = [&](const QString &field, const QString &hint) {
        auto *box = new ui::TDBCheckBoxz(this);
        box->setObjectName(u"DBCheckBox"_s + field);
        box->setDataSource(mtt, field);
        box->setPrompter(&ctx_.prompter);
        box->setCaptions(u"ano"_s, u"ne"_s);
        vat::setHint(box, hint);
        return box;
    };
    z1_ = mttBox(u"Z1"_s, u"ano - vytisknout platby po uložení do souboru"_s);
    za1_ = mttBox(u"Za1"_s, u"ano - v el. styku s bankou změnit starší datum na aktuální"_s);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(u"Používat interval účetních souborů"_s, this), 0, 0);
    grid->addWidget(numbering_, 0, 1, 1, 4);
    grid->addWidget(new QLabel(u"Interval účetních souborů"_s, this), 1, 0);
    grid->addWidget(new QLabel(u"od:"_s, this), 1, 1);
    grid->addWidget(from_, 1, 2);
    grid->addWidget(new QLabel(u"do:"_s, this), 1, 3);
    grid->addWidget(to_, 1, 4);
    grid->addWidget(new QLabel(u"Číslo pro další příkaz"_s, this), 2, 0);
    grid->addWidget(next_, 2, 2);
    grid->addWidget(new QLabel(u"Tisk plateb po uložení do souboru"_s, this), 3, 0);
    grid->addWidget(z1_, 3, 1, 1, 4);
    grid->addWidget(new QLabel(u"Změnit starší datum na aktuální"_s, this), 4, 0);
    grid->addWidget(za1_, 4, 1, 1, 4);

    QPushButton *ok = vat::makeButton(u"&OK"_s, u"OKButton"_s, u"Uloží nastavení a zavře okno"_s, this);
    connect(ok, &QPushButton::clicked, this, &TEbanaForm::OKButtonClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (ui::TEditz *e : {from_, to_, next_})
        e->installEventFilter(this);
    vat::placeWindow(*this, ctx_, vat::WindowId::AboSettings);
    numbering_->setFocus();
}

void TEbanaForm::normalise(ui::TEditz *edit)
{
    if (edit == from_)
        from_->setText(QString::number(numberOrDefault(from_->text(), 1)));
    else if (edit == to_)
        to_->setText(QString::number(numberOrDefault(to_->text(), 999)));
    else if (edit == next_)
        next_->setText(QString::number(nextNumberInInterval(numberOrDefault(next_->text(), 1),
                                                            numberOrDefault(from_->text(), 1),
                                                            numberOrDefault(to_->text(), 999))));
}

bool TEbanaForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut)
        normalise(static_cast<ui::TEditz *>(watched));
    return QDialog::eventFilter(watched, event);
}

void TEbanaForm::OKButtonClick()
{
    if (QWidget *focus = focusWidget())
        if (auto *e = qobject_cast<ui::TEditz *>(focus))
            normalise(e);
    try {
        vat::postIfEditing(*ctx_.dm.Mtt);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
        return;
    }
    accept();
}

void TEbanaForm::done(int result)
{
    if (!closed_) {
        closed_ = true;
        for (ui::TEditz *e : {from_, to_, next_})
            normalise(e);
        if (!isMaximized() && !isMinimized())
            vat::storeWindowPlace(*this, ctx_, vat::WindowId::AboSettings);
        platform::IniFile ini(ctx_.dataSetIni);
        writeAboNumbering(ini, {numbering_->isChecked(), numberOrDefault(from_->text(), 1),
                                numberOrDefault(to_->text(), 999), numberOrDefault(next_->text(), 1)});
        vat::postAndReopen({ctx_.dm.Mtt.get()}, ctx_.prompter);
    }
    QDialog::done(result);
}

}  // namespace rur::payments
