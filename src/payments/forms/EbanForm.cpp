#include "payments/forms/EbanForm.h"

#include "base/Paths.h"
#include "data/DataM1.h"
#include "data/FileStem.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "payments/AboList.h"
#include "payments/BankOrders.h"
#include "payments/forms/EbanaForm.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "report/ReportError.h"
#include "search/forms/FindForms.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/DBGrid.h"
#include "ui/forms/DBNavigator.h"
#include "ui/forms/EditWidth.h"
#include "ui/forms/EnterTab.h"
#include "ui/forms/KalendarForm.h"
#include "ui/forms/RecordEditor.h"
#include "vat/WindowRules.h"
#include "vat/forms/FormParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::payments {

namespace {


struct OrderEditDef {
    QString field, label, hint;
    int chars;
};

QComboBox *historyBox(const QString &name, const QString &hint, const QStringList &history, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(history);
    box->setMinimumWidth(420);
    vat::setHint(box, hint);
    return box;
}

}  // namespace

TEbanForm::TEbanForm(vat::WindowContext ctx, BankWindowServices services, QWidget *parent)
    : QDialog(parent), ctx_(std::move(ctx)), services_(std::move(services))
{
    setWindowTitle(u"Elektronický přenos příkazů - ABO"_s);
    setStatusTip(u"F3 - vyhledávání podle datumu, nápověda (F1)"_s);
    setToolTip(statusTip());
    engine::Table *mban = ctx_.dm.Mban.get();
    editor_ = new ui::RecordEditor(mban, &ctx_.prompter, this);
    navigator_ = new ui::TDBNavigator(editor_, this);

    // The order being entered or changed: the grid only lists them.
    const OrderEditDef defs[] = {{u"Cu1"_s, u"Vaše číslo účtu"_s, u"Vaše číslo účtu"_s, 18},
                            {u"Kodi"_s, u"Kód"_s, u"Kód Vaší banky"_s, 4},
                            {u"Cu2"_s, u"Číslo protiúčtu"_s, u"Číslo účtu příjemce"_s, 18},
                            {u"Kod"_s, u"Kód"_s, u"Kód banky příjemce"_s, 4},
                            {u"Vs"_s, u"VS"_s, u"Variabilní symbol"_s, 10},
                            {u"Ks"_s, u"KS"_s, u"Konstantní symbol"_s, 4},
                            {u"Ss"_s, u"SS"_s, u"Specifický symbol"_s, 10},
                            {u"Ca"_s, u"Částka"_s, u"Částka v Kč"_s, 14},
                            {u"Ds"_s, u"Datum"_s, u"Datum splatnosti (Shift+F7 - kalendář)"_s, 10},
                            {u"Tp"_s, u"Typ"_s, u"Typ příkazu: 1 - platba"_s, 1},
                            {u"Upp"_s, u"Údaje pro potřebu příkazce"_s, u"Údaje pro potřebu příkazce"_s, 35}};
    auto *fields = new QGridLayout;
    const ui::DatePicker picker = ui::calendarPicker({ctx_.dataSetIni, ctx_.section, ctx_.screenWidth});
    int column = 0, row = 0;
    for (const OrderEditDef &d : defs) {
        auto *e = new ui::TDBEditz(this);
        e->setObjectName(u"DBEdit"_s + d.field);
        e->setDataSource(mban, d.field);
        e->setPrompter(&ctx_.prompter);
        ui::setEditWidth(*e, d.chars + 1);
        vat::setHint(e, d.hint);
        auto *label = new QLabel(d.label, this);
        if (d.field == u"Ds"_s)
            ui::attachCalendar(e, label, picker);
        if (d.field == u"Ca"_s)
            e->setAlignment(Qt::AlignRight);
        // The payer's note spans the rest of its row.
        const int span = d.field == u"Upp"_s ? 4 : 1;
        fields->addWidget(label, row, column, 1, span);
        fields->addWidget(e, row + 1, column, 1, span, Qt::AlignLeft);
        edits_.append(e);
        if (++column == 7 || d.field == u"Ss"_s) {
            column = 0;
            row += 2;
        }
    }

    grid_ = new ui::TDBGrid(editor_,
                            {{u"Rd"_s, u"Řd."_s}, {u"Cu1"_s, u"Vaše číslo účtu"_s}, {u"Kodi"_s, u"Kód"_s},
                             {u"Cu2"_s, u"Číslo protiúčtu"_s}, {u"Kod"_s, u"Kód"_s}, {u"Vs"_s, u"VS"_s},
                             {u"Ks"_s, u"KS"_s}, {u"Ss"_s, u"SS"_s}, {u"Ca"_s, u"Částka"_s}, {u"Ds"_s, u"Datum"_s},
                             {u"Tp"_s, u"Typ"_s}},
                            this);
    grid_->setObjectName(u"DBGrid1"_s);
    grid_->setMinimumSize(860, 200);
    grid_->horizontalHeader()->setStretchLastSection(true);
    // Each column as wide as its field or its title.
    const int chars[] = {4, 18, 4, 18, 4, 11, 4, 11, 13, 10, 3};
    for (int c = 0; c < grid_->tableModel()->columnCount(); ++c) {
        const int title = int(grid_->tableModel()->headerData(c, Qt::Horizontal).toString().size());
        grid_->setColumnWidth(c, grid_->fontMetrics().averageCharWidth() * (qMax(title, chars[c]) + 1) + 12);
    }

    // The file and the banking program.
    const platform::IniFile ini(ctx_.dataSetIni);
    const AboPaths paths = readAboPaths(ini);
    firmName_ = new QCheckBox(u"v názvu souboru - název firmy"_s, this);
    firmName_->setObjectName(u"NazevCheckBox"_s);
    firmName_->setChecked(paths.firmName);
    fileBox_ = historyBox(u"SouborComboBox"_s, u"Výběr cesty pro uložení souboru"_s, paths.files, this);
    fileBox_->setCurrentText(initialAboPath(services_.dirs, paths, fileStem(paths.firmName)));
    connect(fileBox_->lineEdit(), &QLineEdit::editingFinished, this, &TEbanForm::refreshFullPath);
    connect(fileBox_, &QComboBox::activated, this, &TEbanForm::refreshFullPath);
    fullPath_ = new QLineEdit(this);
    fullPath_->setObjectName(u"CestaEdit"_s);
    fullPath_->setReadOnly(true);
    vat::setHint(fullPath_, u"Kompletní cesta - např. pro kopírování (Ctrl + C)"_s);
    programBox_ = historyBox(u"ProgramComboBox"_s, u"Výběr cesty pro spuštění bankovního programu"_s, paths.programs, this);

    const auto button = [this](const QString &caption, const QString &name, const QString &hint, void (TEbanForm::*slot)()) {
        QPushButton *b = vat::makeButton(caption, name, hint, this);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    QPushButton *souborDots = button(u"..."_s, u"SouborButton"_s, u"Výběr souboru"_s, &TEbanForm::SouborClick);
    QPushButton *programDots = button(u"..."_s, u"ProgramButton"_s, u"Výběr bankovního programu"_s, &TEbanForm::ProgramClick);
    QPushButton *dat = vat::makeButton(u"Adresář &dat"_s, u"AdresarDatButton"_s, u"Cesta do adresáře dat"_s, this);
    connect(dat, &QPushButton::clicked, this, [this] { AdresarClick(1); });
    QPushButton *uziv = vat::makeButton(u"Adresář &uživatele"_s, u"AdresarUzivButton"_s, u"Cesta do adresáře uživatele"_s, this);
    connect(uziv, &QPushButton::clicked, this, [this] { AdresarClick(2); });
    QPushButton *smazat = button(u"&Smazat KPC soubor"_s, u"SmazatButton"_s, u"Smaže uvedený KPC soubor"_s, &TEbanForm::SmazatClick);
    QPushButton *nastaveni = button(u"&Nastavení"_s, u"NastaveniButton"_s, u"Nastavení formátu ABO"_s, &TEbanForm::NastaveniClick);
    prenest_ = button(u"&Přenést"_s, u"PrenestButton"_s, u"Přenese příkazy do souboru"_s, &TEbanForm::PrenestClick);
    zavrit_ = button(u"&Zavřít"_s, u"ZavritButton"_s, u"Zavřít okno"_s, &QDialog::reject);
    // The buttons of the path part take the focus: Enter moves there from the boxes.
    for (QPushButton *b : {prenest_, zavrit_})
        b->setFocusPolicy(Qt::StrongFocus);

    auto *top = new QHBoxLayout;
    top->addWidget(navigator_);
    top->addStretch();
    top->addWidget(nastaveni);
    auto *files = new QGridLayout;
    files->addWidget(new QLabel(u"Soubor:"_s, this), 0, 0);
    files->addWidget(fileBox_, 0, 1);
    files->addWidget(souborDots, 0, 2);
    files->addWidget(fullPath_, 1, 1);
    auto *pathButtons = new QHBoxLayout;
    pathButtons->addWidget(dat);
    pathButtons->addWidget(uziv);
    pathButtons->addWidget(firmName_);
    pathButtons->addStretch();
    pathButtons->addWidget(smazat);
    files->addLayout(pathButtons, 2, 1);
    files->addWidget(new QLabel(u"Program:"_s, this), 3, 0);
    files->addWidget(programBox_, 3, 1);
    files->addWidget(programDots, 3, 2);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(prenest_);
    bottom->addWidget(zavrit_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addWidget(grid_);
    layout->addLayout(files);
    layout->addLayout(bottom);

    connect(editor_, &ui::RecordEditor::actionRun, this, [this](ui::RecordAction a) {
        if (a == ui::RecordAction::Insert || a == ui::RecordAction::Edit)
            edit(u"Cu1"_s)->setFocus();
    });
    editor_->watchKeys();
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    refreshFullPath();
    vat::placeWindow(*this, ctx_, vat::WindowId::BankOrders);
    grid_->setFocus();
}

ui::TDBEditz *TEbanForm::edit(const QString &field) const
{
    for (ui::TDBEditz *e : edits_)
        if (e->fieldName() == field)
            return e;
    return nullptr;
}

QPushButton *TEbanForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QString TEbanForm::fileStem(bool firmName)
{
    return firmName ? data::NazevSb1(ctx_.dm, services_.dirs) : services_.dirs.dataSetDir;
}

void TEbanForm::refreshFullPath()
{
    fullPath_->setText(fullAboPath(services_.dirs, fileBox_->currentText()));
}

void TEbanForm::AdresarClick(int type)
{
    fileBox_->setCurrentText(defaultAboPath(services_.dirs, type, fileStem(firmName_->isChecked())));
    refreshFullPath();
}

void TEbanForm::SouborClick()
{
    refreshFullPath();
    const QString full = fullPath_->text();
    QString folder;
    if (base::isPathMessage(full))
        folder = services_.dirs.localDataRoot;
    else if (QFileInfo(QFileInfo(full).absolutePath()).isDir())
        folder = QFileInfo(full).absolutePath();
    else
        folder = base::DirTyp(services_.dirs, 2, full);
    if (!services_.chooseFile)
        return;
    const QString chosen = services_.chooseFile(this, folder, u"textové soubory (*.kpc);;všechny soubory (*)"_s);
    if (chosen.isEmpty())
        return;
    const QString path = QFileInfo(chosen).suffix().isEmpty() ? chosen + u".kpc"_s : chosen;
    fullPath_->setText(path);
    fileBox_->setCurrentText(base::CestyTyp3(services_.dirs, path));
}

void TEbanForm::ProgramClick()
{
    const QFileInfo current(programBox_->currentText().trimmed());
    const QString folder = !programBox_->currentText().trimmed().isEmpty() && QFileInfo(current.absolutePath()).isDir()
                               ? current.absolutePath()
                               : base::DirTyp(services_.dirs, 5, QString());
    if (!services_.chooseProgram)
        return;
    const QString chosen =
        services_.chooseProgram(this, folder, u"programové soubory (*.bat *.exe *.lnk *.sh);;všechny soubory (*)"_s);
    if (!chosen.isEmpty())
        programBox_->setCurrentText(chosen);
}

void TEbanForm::SmazatClick()
{
    refreshFullPath();
    if (ctx_.prompter.confirm(u"Opravdu smazat uvedený KPC soubor ?"_s))
        deleteKpcFile(fullPath_->text());
    zavrit_->setFocus();
}

void TEbanForm::NastaveniClick()
{
    TEbanaForm(ctx_, this).exec();
}

void TEbanForm::PrenestClick()
{
    if (!editor_->commitTyped())
        return;
    refreshFullPath();
    AboTransfer transfer;
    transfer.fullPath = fullPath_->text();
    transfer.program = programBox_->currentText();
    transfer.dataSetIni = ctx_.dataSetIni;
    transfer.today = QDate::currentDate();
    transfer.programStarted = programStarted_;
    transfer.showList = [this] {
        try {
            const report::PreparedReport list = prepareAboList(ctx_.dm, QDate::currentDate(), ctx_.typPisma);
            if (services_.preview)
                services_.preview(list);
        } catch (const report::ReportError &) {
            ctx_.prompter.information(u"Tisk se nepodařilo vytvořit."_s);
        } catch (const engine::EngineError &) {
            ctx_.prompter.information(u"Tisk se nepodařilo vytvořit."_s);
        }
    };
    transfer.startProgram = services_.startProgram;
    TransferResult result = TransferResult::NotWritten;
    try {
        result = Prenos(ctx_.dm, transfer, ctx_.prompter);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
    programStarted_ = transfer.programStarted;
    showPosition();
    if (result == TransferResult::Emptied)
        accept();
}

void TEbanForm::showPosition()
{
    if (ctx_.dm.statusDisplayOn && ctx_.dm.Mban->isActive()) {
        ctx_.dm.Zaznam(*ctx_.dm.Mban);
        ctx_.dm.StatusEdit(*ctx_.dm.Mban);
    }
}

bool TEbanForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        showPosition();
    return QDialog::event(event);
}

bool TEbanForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (key->key() == Qt::Key_F3 && mods == Qt::NoModifier) {
            if (editor_->commitTyped())
                search::Find10(ctx_, this);
            return true;
        }
        // Enter and Shift+Enter in the path part.
        if (ui::isEnterPress(event) && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
            const bool back = mods == Qt::ShiftModifier;
            QWidget *to = nullptr;
            if (watched == fileBox_ || watched == fileBox_->lineEdit()) {
                refreshFullPath();
                to = back ? static_cast<QWidget *>(firmName_) : fullPath_;
            } else if (watched == firmName_) {
                to = back ? static_cast<QWidget *>(grid_) : fileBox_;
            } else if (watched == programBox_ || watched == programBox_->lineEdit()) {
                to = back ? static_cast<QWidget *>(fullPath_) : prenest_;
            }
            if (to) {
                to->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEbanForm::done(int result)
{
    if (!closed_) {
        if (!editor_->commitTyped())
            return;
        try {
            vat::postIfEditing(*ctx_.dm.Mtt);
            vat::postIfEditing(*ctx_.dm.Mban);
        } catch (const engine::EngineError &e) {
            vat::reportError(ctx_.prompter, e);
            return;
        }
        closed_ = true;
        platform::IniFile ini(ctx_.dataSetIni);
        AboPaths paths = readAboPaths(ini);
        paths.firmName = firmName_->isChecked();
        paths.files = pushHistory(paths.files, fileBox_->currentText());
        paths.programs = pushHistory(paths.programs, programBox_->currentText());
        if (!ctx_.dataSetIni.isEmpty())
            writeAboPaths(ini, paths);
        if (!isMaximized() && !isMinimized())
            vat::storeWindowPlace(*this, ctx_, vat::WindowId::BankOrders);
        if (!services_.dirs.dataRoot.isEmpty())
            QDir::setCurrent(services_.dirs.dataRoot);
    }
    QDialog::done(result);
}

void BankaOtevrit(QWidget *parent, const vat::WindowContext &ctx, const BankWindowServices &services)
{
    data::TDM1 &dm = ctx.dm;
    dm.statusDisplayOn = true;
    try {
        engine::Table &mban = *dm.Mban;
        if (mban.isActive())
            mban.refresh();
        else
            mban.open();
        mban.first();
        TEbanForm(ctx, services, parent).exec();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
    }
    dm.Mban->close();
    dm.Mban1->close();
    dm.statusDisplayOn = false;
    if (data::StatusDisplay *status = dm.statusDisplay())
        status->setStatusText(1, QString());
}

void transferPaymentOrder(QWidget *parent, const vat::WindowContext &ctx, const BankWindowServices &services)
{
    try {
        orderFromPaymentOrder(ctx.dm);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
        return;
    }
    BankaOtevrit(parent, ctx, services);
}

}  // namespace rur::payments
