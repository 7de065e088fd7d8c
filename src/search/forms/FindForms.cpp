#include "search/forms/FindForms.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "search/Searches.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/Editz.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::search {

FindForm::FindForm(vat::WindowContext ctx, int windowId, QWidget *parent)
    : QDialog(parent), ctx_(std::move(ctx)), windowId_(windowId)
{
    setWindowTitle(u"Vyhledávání"_s);
}

void FindForm::build(QWidget *content, const QString &hint, int maxLength, QPushButton *extra)
{
    // Only the date search moves on with Enter; elsewhere Enter presses "&Zavřít".
    edit_->setEnterTab(extra != nullptr);
    edit_->setMaxLength(maxLength);
    ui::fitMaxLength(*edit_);
    vat::setHint(edit_, hint);
    close_ = new QPushButton(u"&Zavřít"_s, this);
    close_->setObjectName(u"ZavritButton"_s);
    close_->setAutoDefault(false);
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    if (extra)
        buttons->addWidget(extra);
    buttons->addWidget(close_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(content);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    vat::placeWindow(*this, ctx_, vat::WindowId(windowId_));
    edit_->setFocus();
}

void FindForm::done(int result)
{
    if (!closed_) {
        closed_ = true;
        closing();
        vat::storeWindowPlace(*this, ctx_, vat::WindowId(windowId_));
    }
    // "&Zavřít" is also the cancel button, and it closes with OK.
    QDialog::done(result == QDialog::Rejected ? QDialog::Accepted : result);
}

namespace {

// A group box around the edit, titled as the window says what it searches by.
QGroupBox *editGroup(const QString &title, ui::TEditz *edit, QWidget *parent)
{
    auto *group = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(edit);
    return group;
}

}  // namespace

TFind10Form::TFind10Form(vat::WindowContext ctx, QWidget *parent)
    : FindForm(std::move(ctx), int(vat::WindowId::Find10), parent)
{
    setWindowTitle(u"Vyhledávání podle datumu"_s);
    edit_ = new ui::TEditz(this);
    edit_->setObjectName(u"DatumEdit"_s);
    find_ = new QPushButton(u"&Najdi"_s, this);
    find_->setObjectName(u"NajdiButton"_s);
    find_->setAutoDefault(false);
    connect(find_, &QPushButton::clicked, this, &TFind10Form::NajdiButtonClick);
    auto *content = new QWidget(this);
    auto *layout = new QHBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
    // Enter moves from the date to "&Najdi", whose Enter presses it.
    build(content, u"Napište datum, který hledáte"_s, 10, find_);
}

void TFind10Form::NajdiButtonClick()
{
    DateSearch found;
    try {
        found = searchByDate(*ctx_.dm.Mban, edit_->text(), QDate::currentDate());
    } catch (const engine::EngineError &e) {
        // The text stays for correcting.
        ctx_.prompter.error(e.message());
        edit_->setFocus();
        return;
    }
    edit_->setText(found.text);
    if (!found.message.isEmpty())
        ctx_.prompter.information(found.message);
}

TFind11Form::TFind11Form(vat::WindowContext ctx, QWidget *parent)
    : FindForm(std::move(ctx), int(vat::WindowId::Find11), parent)
{
    edit_ = new ui::TEditz(this);
    edit_->setObjectName(u"BankaEdit"_s);
    build(editGroup(u"Vyhledávat podle čísla banky"_s, edit_, this), u"Napište číslo banky, které hledáte"_s, 5);
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString &text) { searchBankNumber(*ctx_.dm.Mbzp, text); });
}

TFind12Form::TFind12Form(vat::WindowContext ctx, QWidget *parent)
    : FindForm(std::move(ctx), int(vat::WindowId::Find12), parent)
{
    edit_ = new ui::TEditz(this);
    edit_->setObjectName(u"NazevEdit"_s);
    build(editGroup(u"Vyhledávat podle názvu"_s, edit_, this), u"Napište název, který hledáte"_s, 35);
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString &text) { searchText(*ctx_.dm.Mdp, text); });
}

TFind16Form::TFind16Form(vat::WindowContext ctx, std::function<void(const QString &)> setCaption, QWidget *parent)
    : FindForm(std::move(ctx), int(vat::WindowId::Find16), parent), setCaption_(std::move(setCaption))
{
    edit_ = new ui::TEditz(this);
    edit_->setObjectName(u"HledatEdit"_s);
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *radios = new QGroupBox(u"Vyhledávat podle"_s, content);
    radios->setObjectName(u"PodleGroup"_s);
    auto *radioLayout = new QHBoxLayout(radios);
    order_ = new QButtonGroup(this);
    const QString captions[] = {u"Názvu"_s, u"Místa"_s};
    for (int i = 0; i < 2; ++i) {
        auto *radio = new QRadioButton(captions[i], radios);
        radio->setObjectName(i == ByName ? u"NazvuRadio"_s : u"MistaRadio"_s);
        radio->setFocusPolicy(Qt::NoFocus);
        radioLayout->addWidget(radio);
        order_->addButton(radio, i);
    }
    const int stored = readAddressSearchBy(platform::IniFile(ctx_.dataSetIni), ctx_.dataSetIni.isEmpty() ? QString() : ctx_.section);
    order_->button(stored)->setChecked(true);
    connect(order_, &QButtonGroup::idClicked, this, &TFind16Form::orderChosen);
    layout->addWidget(radios);
    layout->addWidget(edit_);
    build(content, u"Zapište název nebo číslo, zápis se vyhledá"_s, 40);
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString &text) { searchText(*ctx_.dm.Maz, text); });
}

void TFind16Form::orderChosen(int order)
{
    try {
        if (setAddressBookOrder(*ctx_.dm.Maz, order) && setCaption_)
            setCaption_(addressBookCaption(order));
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
    edit_->setFocus();
}

void TFind16Form::closing()
{
    if (ctx_.dataSetIni.isEmpty())
        return;
    platform::IniFile ini(ctx_.dataSetIni);
    writeAddressSearchBy(ini, ctx_.section, order_->checkedId());
}

void Find10(const vat::WindowContext &ctx, QWidget *parent)
{
    TFind10Form(ctx, parent).exec();
}

void Find11(const vat::WindowContext &ctx, QWidget *parent)
{
    TFind11Form(ctx, parent).exec();
}

void Find12(const vat::WindowContext &ctx, QWidget *parent)
{
    TFind12Form(ctx, parent).exec();
}

void Find16(const vat::WindowContext &ctx, QWidget *parent, const std::function<void(const QString &)> &setCaption)
{
    TFind16Form(ctx, setCaption, parent).exec();
}

}  // namespace rur::search
