#include "transfer/forms/SiblingForm.h"

#include "base/Directories.h"
#include "base/Paths.h"
#include "base/Program.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "transfer/SiblingSearch.h"
#include "ui/TableModel.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/EnterTab.h"
#include "ui/forms/WindowPlacer.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::transfer {

namespace {

void setHint(QWidget *w, const QString &hint)
{
    w->setStatusTip(hint);
    w->setToolTip(hint);
}

QPushButton *makeButton(QWidget *parent, const QString &caption, const QString &name, const QString &hint = {})
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!hint.isEmpty())
        setHint(b, hint);
    return b;
}

QString openCatalogueFile(QWidget *parent, const QString &startFolder)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({u"datové soubory (*.DB)"_s, u"všechny soubory (*.*)"_s});
    dialog.setDefaultSuffix(u"DB"_s);
    dialog.setDirectory(startFolder);
    dialog.selectFile(u"Data.DB"_s);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

bool plainEnter(const QEvent *event)
{
    return ui::isEnterPress(event) && !(static_cast<const QKeyEvent *>(event)->modifiers() & Qt::ShiftModifier);
}

}  // namespace

TSiblingForm::TSiblingForm(const TransferWindowContext &ctx, SiblingKind kind, const QList<ShownField> &shown,
                           QWidget *parent)
    : QDialog(parent), ctx_(ctx), sibling_(kind, ctx.today)
{
    const SiblingProgram &program = sibling_.program();
    setWindowTitle(program.caption);
    chooseFile = [this](const QString &startFolder) { return openCatalogueFile(this, startFolder); };

    auto *layout = new QVBoxLayout(this);
    auto *pathRow = new QHBoxLayout;
    path_ = new QLineEdit(this);
    path_->setObjectName(u"CestaEdit"_s);
    path_->setMinimumWidth(420);
    setHint(path_, program.pathHint);
    QPushButton *choose = makeButton(this, u"..."_s, u"VyberButton"_s, u"Výběr adresáře"_s);
    choose->setFixedWidth(choose->fontMetrics().horizontalAdvance(u"..."_s) + 24);
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(choose);
    layout->addLayout(pathRow);

    model_ = new ui::TableModel(&sibling_.catalogue(),
                                {{u"Cislo"_s, u"Číslo"_s}, {u"Nazev"_s, u"Název"_s}, {u"Adresar"_s, u"Adresář"_s}}, this);
    grid_ = new QTableView(this);
    grid_->setObjectName(u"Grid"_s);
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->setWordWrap(false);
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    grid_->setMinimumHeight(140);
    layout->addWidget(grid_, 1);

    auto *fields = new QGridLayout;
    for (int i = 0; i < shown.size(); ++i) {
        const ShownField &f = shown[i];
        auto *label = new QLabel(QString::fromUtf16(f.label), this);
        ui::TDBEditz *edit = addEdit(&sibling_.taxpayer(), QString::fromUtf16(f.field),
                                     f.hint ? QString::fromUtf16(f.hint) : QString());
        label->setBuddy(edit);
        fields->addWidget(label, i / 2, (i % 2) * 2);
        fields->addWidget(edit, i / 2, (i % 2) * 2 + 1);
    }
    layout->addLayout(fields);
    own_ = new QGridLayout;
    layout->addLayout(own_);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    prenest_ = makeButton(this, u"&Přenést"_s, u"PrenestButton"_s, program.runHint);
    QPushButton *close = makeButton(this, u"&Zavřít"_s, u"ZavritButton"_s);
    buttons->addWidget(prenest_);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(choose, &QPushButton::clicked, this, &TSiblingForm::VyberButtonClick);
    connect(prenest_, &QPushButton::clicked, this, &TSiblingForm::PrenestButtonClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (sibling_.isShown())
            PrenestButtonClick();
    });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TSiblingForm::rowChanged);
    connect(&sibling_.catalogue(), &engine::Table::recordChanged, this, &TSiblingForm::syncGridToTable);
    connect(&sibling_.catalogue(), &engine::Table::rowsReloaded, this, &TSiblingForm::syncGridToTable);
    path_->installEventFilter(this);
    grid_->installEventFilter(this);

    // Where the sibling's catalogue is: the stored path, else the search.
    const bool small = ctx_.screenWidth <= 640;
    QPoint place(small ? 4 : 84, small ? 56 : 136);
    QString stored;
    if (!ctx_.dirs.dataSetDir.isEmpty()) {
        const platform::IniFile ini(ctx_.dirs.dataSetIni());
        place.setY(ini.readInteger(ctx_.dirs.dataSetDir, program.positionKey + u"Top"_s, place.y()));
        place.setX(ini.readInteger(ctx_.dirs.dataSetDir, program.positionKey + u"Left"_s, place.x()));
        const SiblingChoice choice = readSiblingChoice(ini, program);
        stored = choice.pathTemplate;
        rememberedNumber_ = choice.number;
    }
    path_->setText(proposedCataloguePath(ctx_.dirs, program, stored, base::kProgramYear));
    setShown(false);
    ui::placeFrameAt(*this, place);
}

QPushButton *TSiblingForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

ui::TDBEditz *TSiblingForm::addEdit(engine::Table *table, const QString &field, const QString &hint)
{
    auto *edit = new ui::TDBEditz(this);
    edit->setObjectName(field + u"Edit"_s);
    edit->setPrompter(&ctx_.prompter);
    edit->setDataSource(table, field);
    edit->setMinimumWidth(ui::fieldEditWidth(*edit));
    if (!hint.isEmpty())
        setHint(edit, hint);
    edits_.insert(field, edit);
    return edit;
}

void TSiblingForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    Zobrazit();
}

void TSiblingForm::setShown(bool shown)
{
    siblingOpened();
    prenest_->setEnabled(shown);
    if (shown)
        grid_->setFocus();
    else
        path_->setFocus();
}

void TSiblingForm::Zobrazit()
{
    const bool shown = sibling_.show(path_->text().trimmed(), rememberedNumber_);
    syncGridToTable();
    setShown(shown);
    if (!shown)
        ctx_.prompter.information(sibling_.program().showFailed);
}

void TSiblingForm::syncGridToTable()
{
    if (syncing_)
        return;
    syncing_ = true;
    const engine::Table &catalogue = sibling_.catalogue();
    const int row = catalogue.isActive() ? catalogue.currentRow() : -1;
    if (row >= 0 && row < model_->rowCount())
        grid_->selectRow(row);
    syncing_ = false;
}

// The grid moved: the catalogue follows and the new row's tables are opened. A period typed
// for the row left is stored first (or dropped after the check has said why).
void TSiblingForm::rowChanged()
{
    engine::Table &catalogue = sibling_.catalogue();
    const int row = grid_->currentIndex().row();
    if (syncing_ || !catalogue.isActive() || row < 0 || row == catalogue.currentRow())
        return;
    if (engine::Table *period = sibling_.period(); period && period->isActive() && commitTyped()
        && !saveJournalPeriod(*period, ctx_.prompter))
        period->cancel();
    syncing_ = true;
    catalogue.first();
    for (int i = 0; i < row; ++i)
        catalogue.next();
    syncing_ = false;
    const bool open = sibling_.openCurrentRow();
    siblingOpened();
    prenest_->setEnabled(open);
    if (!open)
        ctx_.prompter.information(sibling_.program().showFailed);
}

void TSiblingForm::VyberButtonClick()
{
    const QString text = path_->text().trimmed();
    QString start = QFileInfo(text).absolutePath();
    if (text.isEmpty() || !QFileInfo(start).isDir())
        start = base::DirTyp2(ctx_.dirs, text, base::DirTyp(ctx_.dirs, 1, text));
    const QString chosen = chooseFile(start);
    if (chosen.isEmpty())
        return;
    path_->setText(chosen);
    Zobrazit();
}

void TSiblingForm::PrenestButtonClick()
{
    if (!sibling_.isShown() || !commitTyped())
        return;
    if (runTransfer() == TransferResult::Done)
        accept();
}

bool TSiblingForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == path_ && plainEnter(event)) {
        Zobrazit();
        return true;
    }
    if (watched == grid_ && plainEnter(event)) {
        if (sibling_.isShown())
            PrenestButtonClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TSiblingForm::done(int result)
{
    const SiblingProgram &program = sibling_.program();
    const int number = sibling_.currentNumber();
    const QString pathTemplate = base::CestyTyp3(ctx_.dirs, path_->text().trimmed());
    if (!ctx_.dirs.dataSetDir.isEmpty()) {
        platform::IniFile ini(ctx_.dirs.dataSetIni());
        const QPoint place = ui::framePlace(*this);
        ini.writeInteger(ctx_.dirs.dataSetDir, program.positionKey + u"Top"_s, place.y());
        ini.writeInteger(ctx_.dirs.dataSetDir, program.positionKey + u"Left"_s, place.x());
        if (sibling_.isShown() || path_->text().trimmed().isEmpty())
            writeSiblingChoice(ini, program, {pathTemplate, number});
    }
    // A period the check refuses keeps the window open, with the message.
    if (engine::Table *period = sibling_.period();
        period && period->isActive() && (!commitTyped() || !saveJournalPeriod(*period, ctx_.prompter)))
        return;
    path_->setText(pathTemplate);
    sibling_.close();
    QDir::setCurrent(ctx_.dirs.dataRoot);
    QDialog::done(result);
}

}  // namespace rur::transfer
