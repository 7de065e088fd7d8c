#include "datasets/forms/Auto1Form.h"

#include "base/Program.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/CatalogueDialogs.h"
#include "platform/Prompter.h"
#include "ui/TableModel.h"
#include "ui/forms/WindowKeys.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::datasets {

namespace {

struct ButtonDef {
    const char16_t *caption;
    const char16_t *name;
    const char16_t *hint;
    void (TAuto1Form::*handler)();
};

const ButtonDef kButtons[] = {
    {u"&Otevřít", u"OtevritButton", u"Otevře vybrané RUR", &TAuto1Form::OtevritButtonClick},
    {u"Ná&zev", u"NazevButton", u"Název RUR", &TAuto1Form::NazevButtonClick},
    {u"&Nové", u"NoveButton", u"Vytvoření nového RUR", &TAuto1Form::NoveButtonClick},
    {u"&Smazat", u"SmazatButton", u"Smazání vybraného RUR", &TAuto1Form::SmazatButtonClick},
    {u"&Heslo", u"HesloButton", u"Možnost zadat heslo pro RUR", &TAuto1Form::HesloButtonClick},
};

}  // namespace

TAuto1Form::TAuto1Form(Catalogue &catalogue, platform::Prompter &prompter, QWidget *parent)
    : QDialog(parent), catalogue_(catalogue), prompter_(prompter)
{
    setWindowTitle(base::applicationTitle() + u" - výběr"_s);
    auto *layout = new QHBoxLayout(this);

    model_ = new ui::TableModel(catalogue.Data.get(),
                                {{u"Cislo"_s, u"Číslo"_s}, {u"Nazev"_s, u"Název"_s}, {u"Adresar"_s, u"Adresář"_s}}, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(u"Grid"_s);
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->setWordWrap(false);
    // The name takes the spare width; number and directory are as wide as their texts.
    QHeaderView *header = grid_->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->setStatusTip(u"Změna pořadí - pravé tlačítko myši"_s);
    grid_->setToolTip(grid_->statusTip());
    layout->addWidget(grid_, 1);

    auto *buttons = new QVBoxLayout;
    for (const ButtonDef &def : kButtons) {
        auto *b = new QPushButton(QString::fromUtf16(def.caption), this);
        b->setObjectName(QString::fromUtf16(def.name));
        b->setStatusTip(QString::fromUtf16(def.hint));
        b->setToolTip(b->statusTip());
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, def.handler);
        buttons->addWidget(b);
    }
    button(u"OtevritButton"_s)->setDefault(true);
    zobrazovat_ = new QCheckBox(u"Zobrazovat"_s, this);
    zobrazovat_->setObjectName(u"ZobrazovatCheck"_s);
    zobrazovat_->setStatusTip(u"Zobrazovat naposledy zpracovávané RUR"_s);
    zobrazovat_->setToolTip(zobrazovat_->statusTip());
    buttons->addWidget(zobrazovat_);
    buttons->addStretch();
    auto *konec = new QPushButton(u"&Konec"_s, this);
    konec->setObjectName(u"KonecButton"_s);
    konec->setStatusTip(u"Ukončí aplikaci"_s);
    konec->setToolTip(konec->statusTip());
    konec->setAutoDefault(false);
    connect(konec, &QPushButton::clicked, this, [this] { done(ResultEnd); });
    buttons->addWidget(konec);
    layout->addLayout(buttons);

    orderingGroup_ = new QActionGroup(this);
    const std::pair<const char16_t *, int> orderings[] = {
        {u"Řazení - &automaticky", OrderAutomatic}, {u"Řazení - podle ná&zvu", OrderByName}, {u"Řazení - &vlastní", OrderOwn}};
    for (const auto &[caption, ordering] : orderings) {
        QAction *a = orderingGroup_->addAction(QString::fromUtf16(caption));
        a->setCheckable(true);
        a->setData(ordering);
        connect(a, &QAction::triggered, this, [this, ordering] {
            syncTableToGrid();
            catalogue_.setOrdering(ordering);
            syncGridToTable();
        });
    }

    connect(grid_, &QTableView::doubleClicked, this, &TAuto1Form::OtevritButtonClick);
    connect(grid_, &QWidget::customContextMenuRequested, this, &TAuto1Form::showOrderingMenu);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { syncTableToGrid(); });
    connect(catalogue.Data.get(), &engine::Table::recordChanged, this, &TAuto1Form::syncGridToTable);
    watchKeys();
    resize(520, 320);
}

QPushButton *TAuto1Form::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

int TAuto1Form::execSelection()
{
    catalogue_.showSelection();
    zobrazovat_->setChecked(catalogue_.lastUsedPosition());
    updateOrderingChecks();
    syncGridToTable();
    if (catalogue_.isEmpty())
        button(u"NoveButton"_s)->setFocus();
    else
        grid_->setFocus();
    return exec();
}

void TAuto1Form::done(int result)
{
    syncTableToGrid();
    catalogue_.closeSelection(zobrazovat_->isChecked());
    QDialog::done(result);
}

void TAuto1Form::reject()
{
    done(ResultCancel);
}

void TAuto1Form::syncGridToTable()
{
    if (syncing_)
        return;
    syncing_ = true;
    const int row = catalogue_.Data->isActive() ? catalogue_.Data->currentRow() : -1;
    if (row >= 0 && row < model_->rowCount())
        grid_->selectRow(row);
    syncing_ = false;
}

void TAuto1Form::syncTableToGrid()
{
    if (syncing_ || !catalogue_.Data->isActive() || catalogue_.Data->isEditing())
        return;
    const int row = grid_->currentIndex().row();
    if (row < 0 || row == catalogue_.Data->currentRow())
        return;
    syncing_ = true;
    const int number = model_->data(model_->index(row, 0)).toInt();
    catalogue_.Data->locate(u"Cislo"_s, {number});
    syncing_ = false;
}

void TAuto1Form::updateOrderingChecks()
{
    for (QAction *a : orderingGroup_->actions())
        a->setChecked(a->data().toInt() == catalogue_.ordering());
}

void TAuto1Form::showOrderingMenu(const QPoint &pos)
{
    QMenu menu(this);
    updateOrderingChecks();
    menu.addActions(orderingGroup_->actions());
    menu.addSeparator();
    menu.addAction(u"Změnit &pozice RUR"_s, this, &TAuto1Form::PoziceClick);
    menu.addAction(u"Vymazat vlastní &nastavení"_s, this, &TAuto1Form::VymazatNastaveniClick);
    menu.exec(grid_->viewport()->mapToGlobal(pos));
}

void TAuto1Form::OtevritButtonClick()
{
    syncTableToGrid();
    if (catalogue_.isEmpty()) {
        prompter_.information(QString::fromUtf16(Catalogue::kNoDataSets));
        return;
    }
    if (catalogue_.canOpenCurrent())
        done(ResultOpen);
}

void TAuto1Form::NazevButtonClick()
{
    syncTableToGrid();
    if (catalogue_.isEmpty()) {
        prompter_.information(QString::fromUtf16(Catalogue::kNoDataSets));
        return;
    }
    TAu2Form form(catalogue_, this);
    form.exec();
}

void TAuto1Form::NoveButtonClick()
{
    syncTableToGrid();
    if (!catalogue_.beginNew())
        return;
    TAu1Form form(catalogue_, this);
    if (form.exec() == QDialog::Accepted)
        done(ResultOpen);
    else
        syncGridToTable();
}

void TAuto1Form::SmazatButtonClick()
{
    syncTableToGrid();
    catalogue_.deleteCurrent();
    syncGridToTable();
}

void TAuto1Form::HesloButtonClick()
{
    syncTableToGrid();
    if (catalogue_.isEmpty()) {
        prompter_.information(QString::fromUtf16(Catalogue::kNoDataSets));
        return;
    }
    TAu3Form form(catalogue_, this);
    form.exec();
}

void TAuto1Form::PoziceClick()
{
    syncTableToGrid();
    if (catalogue_.isEmpty()) {
        prompter_.information(QString::fromUtf16(Catalogue::kNoDataSets));
        return;
    }
    TAu4Form form(catalogue_, this);
    form.exec();
    updateOrderingChecks();
    syncGridToTable();
}

void TAuto1Form::VymazatNastaveniClick()
{
    syncTableToGrid();
    catalogue_.clearOwnOrder();
    updateOrderingChecks();
    syncGridToTable();
}

void TAuto1Form::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && grid_->hasFocus()) {
        OtevritButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAuto1Form::watchKeys()
{
    auto *keys = new ui::WindowKeys(this);
    // Ctrl+P works only on an empty catalogue: the conversion of earlier data is offered
    // at the next start and the program ends.
    keys->add(Qt::Key_P, Qt::ControlModifier, [this] {
        if (catalogue_.markConversionOffer()) {
            conversionMarked_ = true;
            done(ResultEnd);
        }
    });
    // Ctrl+N: the data root may change; the catalogue is shown again from where it is now.
    keys->add(Qt::Key_N, Qt::ControlModifier, [this] {
        if (!onDataChoice)
            return;
        syncTableToGrid();
        onDataChoice();
        catalogue_.showSelection();
        updateOrderingChecks();
        syncGridToTable();
        grid_->setFocus();
    });
    keys->add(Qt::Key_I, Qt::ControlModifier, [this] {
        if (onInformation)
            onInformation();
    });
    keys->watch();
}

}  // namespace rur::datasets
