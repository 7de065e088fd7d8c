#include "datasets/forms/CatalogueDialogs.h"

#include "datasets/Catalogue.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/Editz.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::datasets {

namespace {

QPushButton *addButton(QLayout *layout, QWidget *parent, const QString &caption, const QString &name)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    layout->addWidget(b);
    return b;
}

QLineEdit *passwordEdit(QWidget *parent, const QString &name)
{
    auto *e = new ui::TEditz(parent);
    e->setObjectName(name);
    e->setEchoMode(QLineEdit::Password);
    e->setMaxLength(10);
    ui::fitMaxLength(*e);
    return e;
}

}  // namespace

TAu1Form::TAu1Form(Catalogue &catalogue, QWidget *parent) : QDialog(parent), catalogue_(catalogue)
{
    setWindowTitle(u"Nové RUR"_s);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    name_ = new ui::TEditz(this);
    name_->setObjectName(u"NazevEdit"_s);
    name_->setMaxLength(20);
    ui::fitMaxLength(*name_);
    name_->setStatusTip(u"Název RUR"_s);
    form->addRow(u"Název RUR"_s, name_);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    rur_ = addButton(buttons, this, u"&RUR"_s, u"RurButton"_s);
    close_ = addButton(buttons, this, u"&Zavřít"_s, u"ZavritButton"_s);
    layout->addLayout(buttons);
    connect(rur_, &QPushButton::clicked, this, &TAu1Form::RurButtonClick);
    connect(close_, &QPushButton::clicked, this, &TAu1Form::reject);
}

void TAu1Form::RurButtonClick()
{
    rur_->setEnabled(false);
    close_->setEnabled(false);
    const bool created = catalogue_.finishNew(name_->text());
    rur_->setEnabled(true);
    close_->setEnabled(true);
    if (created)
        accept();
    else if (!catalogue_.newPending())
        QDialog::reject();  // the row was cancelled (the directory could not be made)
}

void TAu1Form::reject()
{
    catalogue_.cancelNew();
    QDialog::reject();
}

TAu2Form::TAu2Form(Catalogue &catalogue, QWidget *parent) : QDialog(parent), catalogue_(catalogue)
{
    setWindowTitle(u"Název RUR č. "_s + QString::number(catalogue.currentNumber()));
    auto *layout = new QVBoxLayout(this);
    name_ = new ui::TEditz(this);
    name_->setObjectName(u"NazevEdit"_s);
    name_->setMaxLength(20);
    ui::fitMaxLength(*name_);
    name_->setText(catalogue.currentName());
    layout->addWidget(name_);
    auto *ok = new QPushButton(u"&OK"_s, this);
    ok->setObjectName(u"OKButton"_s);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAu2Form::done(int result)
{
    catalogue_.rename(name_->text());
    QDialog::done(result);
}

TAu3Form::TAu3Form(Catalogue &catalogue, QWidget *parent) : QDialog(parent), catalogue_(catalogue)
{
    setWindowTitle(u"Heslo pro RUR "_s + catalogue.currentName());
    const bool change = catalogue.hasPassword();
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    present_ = passwordEdit(this, u"PuvodniEdit"_s);
    new_ = passwordEdit(this, u"NoveEdit"_s);
    if (change)
        form->addRow(u"Původní heslo"_s, present_);
    else
        present_->hide();
    form->addRow(u"Nové heslo"_s, new_);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    action_ = addButton(buttons, this, change ? u"&Změnit"_s : u"&Přidat"_s, u"ActionButton"_s);
    auto *close = addButton(buttons, this, u"&Zavřít"_s, u"ZavritButton"_s);
    layout->addLayout(buttons);
    connect(action_, &QPushButton::clicked, this, &TAu3Form::ActionButtonClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void TAu3Form::ActionButtonClick()
{
    const bool done = catalogue_.hasPassword() ? catalogue_.changePassword(present_->text(), new_->text())
                                               : catalogue_.addPassword(new_->text());
    if (done)
        accept();
    else if (catalogue_.hasPassword())
        present_->setFocus();  // a wrong present password is typed again
}

TAu4Form::TAu4Form(Catalogue &catalogue, QWidget *parent) : QDialog(parent), catalogue_(catalogue)
{
    setWindowTitle(u"Pozice RUR"_s);
    auto *layout = new QHBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(u"PoziceList"_s);
    const int current = catalogue.currentNumber();
    const QStringList rows = catalogue.ownOrderList();
    list_->addItems(rows);
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].section(u' ', 0, 0).toInt() == current)
            list_->setCurrentRow(i);
    layout->addWidget(list_);
    auto *buttons = new QVBoxLayout;
    connect(addButton(buttons, this, u"&Nahoru"_s, u"NahoruButton"_s), &QPushButton::clicked, this,
            [this] { move(list_->currentRow() - 1); });
    connect(addButton(buttons, this, u"&Dolů"_s, u"DoluButton"_s), &QPushButton::clicked, this,
            [this] { move(list_->currentRow() + 1); });
    connect(addButton(buttons, this, u"&První"_s, u"PrvniButton"_s), &QPushButton::clicked, this, [this] { move(0); });
    connect(addButton(buttons, this, u"P&oslední"_s, u"PosledniButton"_s), &QPushButton::clicked, this,
            [this] { move(list_->count() - 1); });
    buttons->addStretch();
    connect(addButton(buttons, this, u"&Zavřít"_s, u"ZavritButton"_s), &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons);
}

void TAu4Form::move(int to)
{
    const int from = list_->currentRow();
    if (from < 0 || to < 0 || to >= list_->count() || to == from)
        return;
    QListWidgetItem *item = list_->takeItem(from);
    list_->insertItem(to, item);
    list_->setCurrentRow(to);
}

void TAu4Form::done(int result)
{
    QStringList rows;
    for (int i = 0; i < list_->count(); ++i)
        rows.append(list_->item(i)->text());
    catalogue_.applyOwnOrder(rows);
    QDialog::done(result);
}

}  // namespace rur::datasets
