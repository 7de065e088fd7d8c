#include "vat/forms/EprpForm.h"

#include "data/DataM1.h"
#include "datasets/Periods.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "ui/HelpRequests.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/EnterTab.h"
#include "ui/forms/KalendarForm.h"
#include "vat/TaxpayerLayout.h"
#include "vat/TaxpayerRules.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::vat {

TEprpForm::TEprpForm(WindowContext ctx, QWidget *parent) : QDialog(parent), ctx_(std::move(ctx))
{
    setWindowTitle(u"Údaje o poplatníkovi"_s);
    setStatusTip(u"Nápověda (F1)"_s);
    pages_ = new QTabWidget(this);
    pages_->setFocusPolicy(Qt::NoFocus);
    for (int page = 0; page < taxpayerPages().size(); ++page)
        pages_->addTab(buildPage(page), taxpayerPages()[page].title);

    tisk_ = makeButton(u"&Tisk"_s, u"TiskButton"_s, u"Tisk přiznání k RUR"_s, this);
    QPushButton *ok = makeButton(u"&OK"_s, u"OKButton"_s, u"Uloží údaje a zavře okno"_s, this);
    connect(tisk_, &QPushButton::clicked, this, &TEprpForm::TiskButtonClick);
    connect(ok, &QPushButton::clicked, this, &TEprpForm::OKButtonClick);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(tisk_);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(pages_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The jumps of Enter across the pages.
    for (const QString &field : {u"Tia"_s, u"Tds"_s, u"Zjvpo"_s, u"Sesjm"_s})
        controls_.value(field)->installEventFilter(this);

    engine::Table *prp = ctx_.dm.Prp.get();
    connect(prp, &engine::Table::dataChanged, this, &TEprpForm::updateTisk);
    connect(prp, &engine::Table::recordChanged, this, &TEprpForm::updateTisk);
    connect(prp, &engine::Table::stateChanged, this, &TEprpForm::updateTisk);
    updateTisk();
    placeWindow(*this, ctx_, WindowId::Taxpayer);
    controls_.value(u"M"_s)->setFocus();
}

QWidget *TEprpForm::buildPage(int pageIndex)
{
    const TaxpayerPage &page = taxpayerPages()[pageIndex];
    auto *widget = new QWidget;
    auto *columns = new QHBoxLayout;
    QVBoxLayout *sides[] = {new QVBoxLayout, new QVBoxLayout};
    QList<QGridLayout *> grids;
    for (const TaxpayerGroup &group : page.groups) {
        auto *box = new QGroupBox(group.title, widget);
        auto *grid = new QGridLayout(box);
        grid->setVerticalSpacing(3);
        grid->setContentsMargins(8, 6, 8, 6);
        grid->setColumnStretch(7, 1);  // room to spare goes right of the controls
        grids.append(grid);
        sides[group.column]->addWidget(box);
    }
    for (QVBoxLayout *side : sides) {
        side->addStretch();
        columns->addLayout(side);
    }

    engine::Table *prp = ctx_.dm.Prp.get();
    QHBoxLayout *cell = nullptr;
    for (const TaxpayerItem &item : page.items) {
        QGridLayout *grid = grids[item.group];
        QWidget *parent = grid->parentWidget();
        QWidget *control = nullptr;
        switch (item.input) {
        case TaxpayerInput::YesNo:
        case TaxpayerInput::Person:
        case TaxpayerInput::Flag: {
            auto *box = new ui::TDBCheckBoxz(parent);
            box->setDataSource(prp, item.field);
            box->setPrompter(&ctx_.prompter);
            if (item.input == TaxpayerInput::YesNo)
                box->setCaptions(u"ano"_s, u"ne"_s);
            else if (item.input == TaxpayerInput::Person)
                box->setCaptions(u"fyzická osoba"_s, u"právnická osoba"_s);
            else
                box->setText(item.label);
            control = box;
            break;
        }
        case TaxpayerInput::Month:
        case TaxpayerInput::Quarter:
        case TaxpayerInput::Kind: {
            auto *box = new ui::TDBComboBoxz(parent);
            box->setDataSource(prp, item.field);
            box->setPrompter(&ctx_.prompter);
            if (item.input == TaxpayerInput::Kind) {
                box->setItems({u"O"_s, u"D"_s});
            } else {
                const bool month = item.input == TaxpayerInput::Month;
                box->setItems(month ? datasets::monthNames() : datasets::quarterNames());
                connect(box, &ui::TDBComboBoxz::valueChosen, this, [this, month] {
                    try {
                        periodChosen(*ctx_.dm.Prp, month);
                    } catch (const engine::EngineError &e) {
                        reportError(ctx_.prompter, e);
                    }
                });
            }
            control = box;
            break;
        }
        default: {
            auto *edit = new ui::TDBEditz(parent);
            edit->setDataSource(prp, item.field);
            edit->setPrompter(&ctx_.prompter);
            if (item.input == TaxpayerInput::Text) {
                ui::setEditWidth(*edit, qBound(4, prp->field(item.field).size(), ui::kShownTextChars));
            } else {
                edit->setAlignment(Qt::AlignRight);
                ui::setEditWidth(*edit, item.input == TaxpayerInput::Date ? 10 : 8);
            }
            control = edit;
            break;
        }
        }
        control->setObjectName(u"DB"_s + item.field);
        if (!item.hint.isEmpty())
            setHint(control, item.hint);
        QLabel *label = nullptr;
        if (item.col == kBeside) {
            if (item.input != TaxpayerInput::Flag) {
                label = new QLabel(item.label, parent);
                cell->insertWidget(cell->count() - 1, label);
            }
            cell->insertWidget(cell->count() - 1, control);
        } else {
            cell = new QHBoxLayout;
            cell->setSpacing(4);
            cell->addWidget(control);
            cell->addStretch();
            // A check box with its own caption takes the place of a label and its control.
            if (item.input == TaxpayerInput::Flag)
                grid->addLayout(cell, item.row, 2 * item.col, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
            else
                grid->addLayout(cell, item.row, 2 * item.col + 1, Qt::AlignLeft | Qt::AlignVCenter);
            if (item.input != TaxpayerInput::Flag && !item.label.isEmpty()) {
                label = new QLabel(item.label, parent);
                grid->addWidget(label, item.row, 2 * item.col, Qt::AlignLeft | Qt::AlignVCenter);
            }
        }
        // Shift+F7 in a date and a click on its label open the calendar.
        if (item.input == TaxpayerInput::Date)
            ui::attachCalendar(static_cast<ui::TDBEditz *>(control), label,
                               ui::calendarPicker({ctx_.dataSetIni, ctx_.section, ctx_.screenWidth}));
        controls_.insert(item.field, control);
    }

    auto *layout = new QVBoxLayout(widget);
    layout->addLayout(columns);
    if (pageIndex == 2) {
        layout->addWidget(new QLabel(u"Text přílohy:"_s, widget));
        memo_ = new TDBMemo(widget);
        memo_->setObjectName(u"DBPoz"_s);
        memo_->setDataSource(ctx_.dm.Prppz.get(), u"Poz"_s);
        memo_->setPrompter(&ctx_.prompter);
        memo_->setMinimumHeight(220);
        layout->addWidget(memo_);
        controls_.insert(u"Poz"_s, memo_);
    }
    layout->addStretch();
    return widget;
}

QPushButton *TEprpForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void TEprpForm::updateTisk()
{
    engine::Table &prp = *ctx_.dm.Prp;
    tisk_->setVisible(prp.isActive() && prp.field(u"X"_s).asBoolean());
}

void TEprpForm::showEvent(QShowEvent *event)
{
    memo_->setFont(QFont(ctx_.typPisma != 0 ? u"Courier New CE"_s : u"Courier New"_s));
    QDialog::showEvent(event);
}

void TEprpForm::jumpTo(int page, const QString &field)
{
    pages_->setCurrentIndex(page);
    controls_.value(field)->setFocus(Qt::TabFocusReason);
}

bool TEprpForm::eventFilter(QObject *watched, QEvent *event)
{
    if (!ui::isEnterPress(event))
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return QDialog::eventFilter(watched, event);
    const bool back = key->modifiers().testFlag(Qt::ShiftModifier);
    // Typed text reaches the field before the focus moves.
    if (auto *edit = qobject_cast<ui::TDBEditz *>(watched); edit && !edit->commit())
        return true;
    if (watched == controls_.value(u"Tia"_s) && !back)
        jumpTo(1, u"Tds"_s);
    else if (watched == controls_.value(u"Tds"_s) && back)
        jumpTo(0, u"Tia"_s);
    else if (watched == controls_.value(u"Zjvpo"_s) && !back)
        jumpTo(2, u"Sesjm"_s);
    else if (watched == controls_.value(u"Sesjm"_s) && back)
        jumpTo(1, u"Zjvpo"_s);
    else
        return QDialog::eventFilter(watched, event);
    return true;
}

void TEprpForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        if (ctx_.help)
            ctx_.help->showContext(4);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TEprpForm::OKButtonClick()
{
    if (!commitTyped(this))
        return;
    try {
        postIfEditing(*ctx_.dm.Prp);
        postIfEditing(*ctx_.dm.Prppz);
    } catch (const engine::EngineError &e) {
        reportError(ctx_.prompter, e);
        return;
    }
    reject();
}

void TEprpForm::TiskButtonClick()
{
    accept();
}

void TEprpForm::done(int result)
{
    if (!closed_) {
        if (!commitTyped(this))
            return;
        closed_ = true;
        storeWindowPlace(*this, ctx_, WindowId::Taxpayer);
        postAndReopen({ctx_.dm.Prp.get(), ctx_.dm.Prppz.get()}, ctx_.prompter);
    }
    QDialog::done(result);
}

void Udaje1(const WindowContext &ctx, QWidget *parent, const std::function<void()> &openPrint,
            const QString &focusField)
{
    try {
        ctx.dm.Prp->edit();
    } catch (const engine::EngineError &e) {
        reportError(ctx.prompter, e);
        return;
    }
    int result = QDialog::Rejected;
    {
        TEprpForm form(ctx, parent);
        if (QWidget *control = form.control(focusField)) {
            for (int page = 0; page < form.pages()->count(); ++page)
                if (form.pages()->widget(page)->isAncestorOf(control))
                    form.pages()->setCurrentIndex(page);
            control->setFocus();
        }
        result = form.exec();
    }
    if (result == QDialog::Accepted && openPrint)
        openPrint();
    ctx.dm.NazevDp1();
    try {
        Udaje1Copies(ctx.dm);
    } catch (const engine::EngineError &e) {
        reportError(ctx.prompter, e);
    }
}

}  // namespace rur::vat
