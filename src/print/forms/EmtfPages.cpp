// The three pages of the print centre, built from the descriptions of its trees and fields.
#include "data/DataM1.h"
#include "engine/Table.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/PrintServices.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/EditWidth.h"
#include "vat/forms/FormParts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

QPushButton *addButton(QWidget *parent, const QString &caption, const QString &name, const QString &hint = {})
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!hint.isEmpty())
        vat::setHint(b, hint);
    return b;
}

}  // namespace

QTreeWidget *TEmtfForm::buildTree(const QList<PrintNode> &nodes, const QString &name)
{
    auto *tree = new QTreeWidget;
    tree->setObjectName(name);
    tree->setHeaderLabel(u"Vyberte tiskovou sestavu"_s);
    tree->header()->setSectionsClickable(false);
    // Every node stays expanded: the user can't fold a branch away.
    tree->setItemsExpandable(false);
    QTreeWidgetItem *root = nullptr;
    for (int i = 0; i < nodes.size(); ++i) {
        auto *item = nodes[i].level == 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(root);
        if (nodes[i].level == 0)
            root = item;
        item->setText(0, nodes[i].caption);
        item->setData(0, Qt::UserRole, i);
    }
    tree->expandAll();
    connect(tree, &QTreeWidget::itemCollapsed, tree, [tree](QTreeWidgetItem *item) { tree->expandItem(item); });
    connect(tree, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, tree](QTreeWidgetItem *item) {
        if (!item || item->parent() == nullptr || !(item->flags() & Qt::ItemIsEnabled))
            return;
        if (tree == rurTree_)
            VyberTypuNahledDp();
        else
            PickReportKom(1);
    });
    return tree;
}

void TEmtfForm::addFields(QWidget *parent, QGridLayout *grid, const QList<PanelField> &fields, int panel)
{
    QHBoxLayout *cell = nullptr;
    for (const PanelField &f : fields) {
        engine::Table *table = ctx_.dm.table(f.table);
        QWidget *control = nullptr;
        switch (f.input) {
        case PanelInput::Check: {
            auto *box = new ui::TDBCheckBoxz(f.label, parent);
            box->setDataSource(table, f.field);
            box->setPrompter(&ctx_.prompter);
            control = box;
            break;
        }
        case PanelInput::List: {
            auto *box = new ui::TDBComboBoxz(parent);
            box->setItems(f.items);
            box->setDataSource(table, f.field);
            box->setPrompter(&ctx_.prompter);
            control = box;
            break;
        }
        default: {
            auto *edit = new ui::TDBEditz(parent);
            edit->setDataSource(table, f.field);
            edit->setPrompter(&ctx_.prompter);
            const engine::FieldDef &def = table->def().fields[table->def().indexOf(f.field)];
            const bool number = f.input == PanelInput::Number;
            ui::setEditWidth(*edit, qBound(4, number ? 8 : (f.input == PanelInput::Date ? 10 : def.size), 20));
            if (number)
                edit->setAlignment(Qt::AlignRight);
            if (f.input == PanelInput::Shown) {
                edit->setReadOnly(true);
                edit->setFocusPolicy(Qt::NoFocus);
            }
            control = edit;
        }
        }
        control->setObjectName(f.table + f.field + (panel >= 0 ? QString::number(panel) : QString()));
        controls_.insert(f.table + u'.' + f.field + u'#' + QString::number(panel), control);
        if (f.action != PanelAction::None) {
            actions_.insert(control, {f.action, f.field});
            control->installEventFilter(this);
        }

        QLabel *label = nullptr;
        if (!f.label.isEmpty() && f.input != PanelInput::Check) {
            label = new QLabel(f.label, parent);
            label->setObjectName(u"Label"_s + f.field + (panel >= 0 ? QString::number(panel) : QString()));
            label->setBuddy(control);
            if (f.labelOpens) {
                actions_.insert(label, {f.action, f.field});
                label->installEventFilter(this);
            }
        }
        if (f.col == kBesideField && cell) {
            if (label)
                cell->addWidget(label);
            cell->addWidget(control);
            continue;
        }
        cell = new QHBoxLayout;
        cell->setContentsMargins(0, 0, 0, 0);
        cell->addWidget(control);
        if (f.input == PanelInput::Check) {
            grid->addLayout(cell, f.row, f.col * 2, 1, 2);
        } else {
            if (label)
                grid->addWidget(label, f.row, f.col * 2);
            grid->addLayout(cell, f.row, f.col * 2 + 1);
        }
        cell->addStretch();
    }
}

void TEmtfForm::addFilingGroup(QWidget *page, QBoxLayout *layout)
{
    auto *group = new QGroupBox(u"Data pro elektronické podání"_s, page);
    auto *row = new QHBoxLayout(group);
    QPushButton *save = addButton(group, u"&Uložit data"_s, u"UlozitDataButton"_s, u"Uloží data pro elektronické podání"_s);
    QPushButton *settings = addButton(group, u"N&astavení"_s, u"NastaveniButton"_s, u"Nastavení souboru pro elektronické podání"_s);
    QPushButton *check = addButton(group, u"&Kontrola"_s, u"KontrolaButton"_s, u"Kontrola přiznání před podáním"_s);
    row->addWidget(save);
    row->addWidget(settings);
    row->addWidget(check);
    row->addStretch();
    connect(save, &QPushButton::clicked, this, [this] { UlozitDataClick(); });
    connect(settings, &QPushButton::clicked, this, [this] { NastaveniClick(); });
    connect(check, &QPushButton::clicked, this, [this] { KontrolaClick(); });
    layout->addWidget(group);
}

QWidget *TEmtfForm::buildRurPage()
{
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    auto *left = new QVBoxLayout;
    rurTree_ = buildTree(rurNodes(), u"RurTree"_s);
    left->addWidget(rurTree_, 1);
    auto *buttons = new QHBoxLayout;
    QPushButton *preview = addButton(page, u"&Náhled"_s, u"NahledButton"_s, u"Náhled před tiskem"_s);
    QPushButton *print = addButton(page, u"&Tisk"_s, u"TiskButton"_s, u"Tisk vybrané sestavy"_s);
    connect(preview, &QPushButton::clicked, this, [this] { VyberTypuNahledDp(); });
    connect(print, &QPushButton::clicked, this, [this] { VyberTypuTiskDp(); });
    buttons->addWidget(preview);
    buttons->addWidget(print);
    left->addLayout(buttons);
    layout->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    auto *settings = new QGroupBox(u"Nastavení tisku"_s, page);
    auto *grid = new QGridLayout(settings);
    addFields(settings, grid, rurPageFields(), -1);
    right->addWidget(settings);
    addFilingGroup(page, right);
    right->addStretch();
    layout->addLayout(right, 2);
    return page;
}

QWidget *TEmtfForm::buildPanel(KomfortPanel panel)
{
    auto *box = new QGroupBox;
    box->setObjectName(komfortPanelName(panel));
    auto *layout = new QVBoxLayout(box);
    const int n = int(panel);
    if (panel == KomfortPanel::Obalky) {
        auto *title = new QLabel(u"TISK OBÁLEK - VÝBĚR"_s, box);
        title->setObjectName(u"ObalkyTitle"_s);
        layout->addWidget(title);
    }
    auto *grid = new QGridLayout;
    addFields(box, grid, komfortPanelFields(panel), n);
    layout->addLayout(grid);
    auto *buttons = new QGridLayout;
    const auto add = [&](const QString &caption, const QString &name, const QString &hint, int row, int col,
                         std::function<void()> click) {
        QPushButton *b = addButton(box, caption, name, hint);
        connect(b, &QPushButton::clicked, this, std::move(click));
        buttons->addWidget(b, row, col);
        return b;
    };
    if (panel == KomfortPanel::Dokumenty) {
        add(u"&Editace"_s, u"EditaceButton"_s, u"Úprava dokumentů - dopisů"_s, 0, 0, [this] {
            runKomfort(ctx_.services.komfort.documents);
            if (QWidget *top = control(u"Mtt"_s, u"Vh"_s, int(KomfortPanel::Dokumenty)))
                top->setFocus();
        });
    }
    if (panel == KomfortPanel::Obalky) {
        add(u"&Vybrat vše"_s, u"VybratVseButton"_s, u"Vybere všechny adresy pro tisk"_s, 0, 0,
            [this] { markAddresses(true); });
        add(u"Z&rušit vše"_s, u"ZrusitVseButton"_s, u"Zruší výběr adres pro tisk"_s, 0, 1,
            [this] { markAddresses(false); });
        add(u"&Adresář"_s, u"AdresarButton"_s, u"Adresář"_s, 1, 0, [this] { runKomfort(ctx_.services.komfort.addressBook); });
        add(u"&Odesílatel"_s, u"OdesilatelButton"_s, u"Odesílatel"_s, 1, 1,
            [this] { runKomfort(ctx_.services.komfort.sender); });
        add(u"Nastav&ení tiskárny"_s, u"NastaveniTiskarnyObalkyButton"_s, u"Nastavení tiskárny"_s, 2, 0,
            [this] { NastaveniTiskarnyClick(); });
    }
    layout->addLayout(buttons);
    layout->addStretch();
    return box;
}

QWidget *TEmtfForm::buildKomfortPage()
{
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    auto *left = new QVBoxLayout;
    komfortTree_ = buildTree(komfortNodes(), u"KomfortTree"_s);
    left->addWidget(komfortTree_, 1);
    auto *buttons = new QHBoxLayout;
    QPushButton *preview = addButton(page, u"&Náhled"_s, u"KomNahledButton"_s, u"Náhled před tiskem"_s);
    QPushButton *print = addButton(page, u"&Tisk"_s, u"KomTiskButton"_s, u"Tisk vybrané sestavy"_s);
    QPushButton *bank = addButton(page, u"&Banka"_s, u"BankaButton"_s, u"Elektronický přenos příkazů - ABO"_s);
    connect(preview, &QPushButton::clicked, this, [this] { PickReportKom(1); });
    connect(print, &QPushButton::clicked, this, [this] { PickReportKom(2); });
    connect(bank, &QPushButton::clicked, this, [this] { runKomfort(ctx_.services.komfort.bank); });
    buttons->addWidget(preview);
    buttons->addWidget(print);
    buttons->addWidget(bank);
    left->addLayout(buttons);
    layout->addLayout(left, 1);

    panels_ = new QStackedWidget(page);
    panels_->setObjectName(u"KomfortPanels"_s);
    for (KomfortPanel p : {KomfortPanel::Dan, KomfortPanel::Dokumenty, KomfortPanel::Obalky})
        panels_->addWidget(buildPanel(p));
    layout->addWidget(panels_, 2);
    connect(komfortTree_, &QTreeWidget::currentItemChanged, this, [this] {
        const int n = selectedNode(komfortTree_);
        if (n >= 0)
            panels_->setCurrentIndex(int(komfortPanelOf(n)));
    });
    return page;
}

QWidget *TEmtfForm::buildPrinterPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    QPushButton *setup = addButton(page, u"Nastav&ení tiskárny"_s, u"NastaveniTiskarnyButton"_s, u"Nastavení tiskárny"_s);
    connect(setup, &QPushButton::clicked, this, [this] { NastaveniTiskarnyClick(); });
    auto *top = new QHBoxLayout;
    top->addWidget(setup);
    top->addStretch();
    layout->addLayout(top);

    auto *f6 = new QGroupBox(u"Klávesa F6"_s, page);
    auto *f6Row = new QHBoxLayout(f6);
    f6Print_ = new QRadioButton(u"Tisk"_s, f6);
    f6Print_->setObjectName(u"F6TiskRadio"_s);
    f6Preview_ = new QRadioButton(u"Náhled"_s, f6);
    f6Preview_->setObjectName(u"F6NahledRadio"_s);
    f6Row->addWidget(f6Print_);
    f6Row->addWidget(f6Preview_);
    f6Row->addStretch();
    layout->addWidget(f6);

    auto *printers = new QGroupBox(u"Výběr tiskárny pro tisk:"_s, page);
    auto *printersLayout = new QVBoxLayout(printers);
    printerList_ = new QListWidget(printers);
    printerList_->setObjectName(u"TiskarnyList"_s);
    printersLayout->addWidget(printerList_);
    useDefault_ = new QCheckBox(u"Při otevření firmy nastavit tiskárnu na výchozí"_s, printers);
    useDefault_->setObjectName(u"VychoziCheckBox"_s);
    printersLayout->addWidget(useDefault_);
    layout->addWidget(printers, 1);
    connect(printerList_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (!filling_ && item && (item->flags() & Qt::ItemIsSelectable))
            choosePrinter(item->text());
    });

    auto *fonts = new QGroupBox(u"Typ písma v tisku"_s, page);
    auto *fontsLayout = new QVBoxLayout(fonts);
    fontPlain_ = new QRadioButton(u"Arial, Courier New, Times New Roman"_s, fonts);
    fontPlain_->setObjectName(u"PismoRadio"_s);
    fontCe_ = new QRadioButton(u"Arial CE, Courier New CE, Times New Roman CE"_s, fonts);
    fontCe_->setObjectName(u"PismoCeRadio"_s);
    fontsLayout->addWidget(fontPlain_);
    fontsLayout->addWidget(fontCe_);
    auto *note = new QLabel(u"Po změně typu písma zavřete a znovu\notevřete okno s tiskem."_s, fonts);
    note->setObjectName(u"PismoPoznamka"_s);
    fontsLayout->addWidget(note);
    layout->addWidget(fonts);
    return page;
}

}  // namespace rur::print
