#include "print/forms/EmtfForm.h"

#include "base/Directories.h"
#include "base/Paths.h"
#include "base/UserSettings.h"
#include "check/forms/ReturnCheckForm.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/forms/EpodForm.h"
#include "print/forms/PrintServices.h"
#include "ui/forms/WindowPlacer.h"
#include "vat/forms/FormParts.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

inline constexpr char16_t kNoPrinter[] = u"Není nainstalována žádná tiskárna.";
inline constexpr char16_t kMarkAll[] = u"Opravdu vybrat vše pro tisk ?";
inline constexpr char16_t kUnmarkAll[] = u"Opravdu zrušit výběr pro tisk ?";

}  // namespace

TEmtfForm::TEmtfForm(PrintCentreContext &ctx, int mode, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(u"EmtfForm"_s);
    setWindowTitle(u"Tisk"_s);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(u"Stranky"_s);
    pages_->setFocusPolicy(Qt::NoFocus);
    pages_->addTab(buildRurPage(), u"RUR"_s);
    pages_->addTab(buildKomfortPage(), u"Komfort"_s);
    pages_->addTab(buildPrinterPage(), u"Tiskárna"_s);
    for (const PrintCentrePage &page : std::as_const(ctx_.services.pages))
        pages_->addTab(page.build(ctx_, *this), page.title);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(pages_);

    // F6 previews or prints the selected node of the page shown.
    auto *f6 = new QAction(u"Tisk nebo náhled (F6)"_s, this);
    f6->setObjectName(u"F6Command"_s);
    f6->setShortcut(QKeySequence(Qt::Key_F6));
    f6->setShortcutContext(Qt::WindowShortcut);
    connect(f6, &QAction::triggered, this, &TEmtfForm::F6Key);
    addAction(f6);

    // What later parts of the program bring is usable once they have registered it.
    const KomfortActions &komfort = ctx_.services.komfort;
    for (int n = 0; n < komfortNodes().size(); ++n) {
        QTreeWidgetItem *item = node(komfortTree_, n);
        const bool available = komfortNodes()[n].level == 0 || n == kNodeTax || komfort.printouts.contains(n);
        if (!available)
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
    }
    button(u"BankaButton"_s)->setEnabled(bool(komfort.bank));
    button(u"EditaceButton"_s)->setEnabled(bool(komfort.documents));
    button(u"AdresarButton"_s)->setEnabled(bool(komfort.addressBook));
    button(u"OdesilatelButton"_s)->setEnabled(bool(komfort.sender));
    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        auto *l = qobject_cast<QLabel *>(it.key());
        if (!l)
            continue;
        const PanelAction a = it.value().action;
        const bool available = (a == PanelAction::Calendar && komfort.calendar)
                               || (a == PanelAction::BankData && komfort.bankData)
                               || (a == PanelAction::TaxPaid && komfort.taxPaid)
                               || (a == PanelAction::Documents && komfort.documents);
        l->setEnabled(available);
        if (available)
            vat::makeClickable(l);
    }

    // Opening: the place, the printers, the settings and the printer they choose.
    adjustSize();
    const platform::IniFile ini(dataSetIni());
    settings_ = readPrintSettings(ini);
    ui::placeFrameAt(*this, settings_.place.value_or(defaultPrintCentrePlace(ctx_.screenWidth)));
    Nacist1();

    const int page = mode == 2 ? PageRur : (mode == 3 ? PageKomfort : (settings_.activePage == 2 ? PageKomfort : PageRur));
    pages_->setCurrentIndex(page);
    QTreeWidget *tree = page == PageKomfort ? komfortTree_ : rurTree_;
    tree->setCurrentItem(node(tree, 0));
    panels_->setCurrentIndex(0);
    tree->setFocus();
    updateButtons();
}

TEmtfForm::~TEmtfForm() = default;

QTreeWidgetItem *TEmtfForm::node(QTreeWidget *tree, int number) const
{
    QTreeWidgetItemIterator it(tree);
    for (; *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() == number)
            return *it;
    return nullptr;
}

int TEmtfForm::selectedNode(QTreeWidget *tree) const
{
    const QTreeWidgetItem *item = tree->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

QPushButton *TEmtfForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QWidget *TEmtfForm::control(const QString &table, const QString &field, int panel) const
{
    return controls_.value(table + u'.' + field + u'#' + QString::number(panel));
}

QLabel *TEmtfForm::label(const QString &objectName) const
{
    return findChild<QLabel *>(objectName);
}

QString TEmtfForm::dataSetIni() const
{
    return ctx_.dirs.dataSetDir.isEmpty() ? QString() : ctx_.dirs.dataSetIni();
}

void TEmtfForm::updateButtons()
{
    const auto printable = [this](QTreeWidget *tree) {
        const QTreeWidgetItem *item = tree ? tree->currentItem() : nullptr;
        return !running_ && item && item->parent() && (item->flags() & Qt::ItemIsEnabled);
    };
    if (QPushButton *b = button(u"NahledButton"_s)) {
        b->setEnabled(printable(rurTree_));
        button(u"TiskButton"_s)->setEnabled(printable(rurTree_));
    }
    if (QPushButton *b = button(u"KomNahledButton"_s)) {
        b->setEnabled(printable(komfortTree_));
        button(u"KomTiskButton"_s)->setEnabled(printable(komfortTree_));
    }
}

void TEmtfForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    rurTree_->expandAll();
    komfortTree_->expandAll();
}

bool TEmtfForm::eventFilter(QObject *watched, QEvent *event)
{
    const auto action = actions_.find(watched);
    if (action != actions_.end()) {
        const bool shiftF7 = event->type() == QEvent::KeyPress
                             && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F7
                             && static_cast<QKeyEvent *>(event)->modifiers() == Qt::ShiftModifier;
        const bool labelClick = qobject_cast<QLabel *>(watched) && vat::isClick(event)
                                && static_cast<QWidget *>(watched)->isEnabled();
        if (shiftF7 || labelClick) {
            runAction(action.value().action, action.value().field);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TEmtfForm::runAction(PanelAction action, const QString &field)
{
    const KomfortActions &komfort = ctx_.services.komfort;
    switch (action) {
    case PanelAction::None: return;
    case PanelAction::BankData: runKomfort(komfort.bankData); return;
    case PanelAction::TaxPaid: runKomfort(komfort.taxPaid); return;
    case PanelAction::Documents: runKomfort(komfort.documents); return;
    case PanelAction::Calendar: {
        if (!komfort.calendar)
            return;
        try {
            engine::Table &mtt = *ctx_.dm.Mtt;
            const QDate picked = komfort.calendar(this, mtt.field(field).asDate());
            if (picked.isValid()) {
                if (!mtt.isEditing())
                    mtt.edit();
                mtt.field(field).setValue(picked);
            }
        } catch (const engine::EngineError &e) {
            vat::reportError(ctx_.prompter, e);
        }
        return;
    }
    }
}

void TEmtfForm::runKomfort(const std::function<void(QWidget *)> &action)
{
    if (!action || !vat::commitTyped(this))
        return;
    action(this);
}

void TEmtfForm::markAddresses(bool marked)
{
    if (!ctx_.prompter.confirm(QString::fromUtf16(marked ? kMarkAll : kUnmarkAll)))
        return;
    try {
        platform::BusyGuard busy(ctx_.prompter);
        markAllAddresses(ctx_.dm, marked);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
}

void TEmtfForm::F6Key()
{
    const int page = pages_->currentIndex();
    if (page == PageRur && button(u"TiskButton"_s)->isEnabled()) {
        if (f6Print_->isChecked())
            VyberTypuTiskDp();
        else
            VyberTypuNahledDp();
    } else if (page == PageKomfort && button(u"KomTiskButton"_s)->isEnabled()) {
        PickReportKom(f6Print_->isChecked() ? 2 : 1);
    }
}

void TEmtfForm::Nacist1()
{
    const platform::IniFile ini(dataSetIni());
    settings_ = readPrintSettings(ini);
    (settings_.f6Prints ? f6Print_ : f6Preview_)->setChecked(true);
    useDefault_->setChecked(settings_.useDefault);
    (ctx_.user.typPisma == 1 ? fontCe_ : fontPlain_)->setChecked(true);
    xml_ = readXmlPathSettings(ini);
    ctx_.services.VyberTisk1(2, this, ctx_.dirs.dataSetDir, dataSetIni());
    fillPrinters();
}

void TEmtfForm::Ulozit1()
{
    settings_.f6Prints = f6Print_->isChecked();
    settings_.useDefault = useDefault_->isChecked();
    ctx_.user.typPisma = fontCe_->isChecked() ? 1 : 0;
    if (dataSetIni().isEmpty())
        return;
    platform::IniFile ini(dataSetIni());
    writePrintSettings(ini, settings_, ctx_.services.currentPrinter(ctx_.dirs.dataSetDir));
    writeXmlPathSettings(ini, xml_);
}

void TEmtfForm::fillPrinters()
{
    filling_ = true;
    printerList_->clear();
    const QStringList installed = ctx_.services.installedPrinters();
    if (installed.isEmpty()) {
        auto *none = new QListWidgetItem(QString::fromUtf16(kNoPrinter), printerList_);
        none->setFlags(Qt::NoItemFlags);
    }
    const QString current = ctx_.services.currentPrinter(ctx_.dirs.dataSetDir);
    for (const QString &name : installed) {
        auto *item = new QListWidgetItem(name, printerList_);
        if (name == current) {
            printerList_->setCurrentItem(item);
            printerList_->scrollToItem(item);
        }
    }
    filling_ = false;
}

void TEmtfForm::choosePrinter(const QString &name)
{
    Ulozit1();
    ctx_.services.setCurrentPrinter(name);
    if (!useDefault_->isChecked() && !dataSetIni().isEmpty()) {
        platform::IniFile ini(dataSetIni());
        ini.writeString(u"Tisk"_s, u"Tiskarna"_s, name);
    }
}

void TEmtfForm::NastaveniTiskarnyClick()
{
    Ulozit1();
    ctx_.services.VyberTisk1(1, this, ctx_.dirs.dataSetDir, dataSetIni());
    fillPrinters();
}

FilingContext TEmtfForm::filingContext()
{
    return FilingContext{ctx_.dm, ctx_.dirs, ctx_.user, xml_, ctx_.prompter};
}

void TEmtfForm::UlozitDataClick()
{
    if (!vat::commitTyped(this))
        return;
    FilingContext filing = filingContext();
    try {
        check::saveFilingFileChecked(this, ctx_.windows, filing);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
}

void TEmtfForm::NastaveniClick()
{
    FilingContext filing = filingContext();
    showFilingSettings(filing, this);
    Ulozit1();
}

void TEmtfForm::KontrolaClick()
{
    if (!vat::commitTyped(this))
        return;
    check::showReturnCheck(this, ctx_.windows, ctx_.user.kodovani);
}

void TEmtfForm::done(int result)
{
    // A refused value stays in its field, which has the focus: the user corrects it first.
    if (!vat::commitTyped(this))
        return;
    if (!dataSetIni().isEmpty()) {
        platform::IniFile ini(dataSetIni());
        const int page = pages_->currentIndex();
        writePrintCentrePlace(ini, ui::framePlace(*this), page == PageRur ? 1 : (page == PageKomfort ? 2 : 0));
    }
    Ulozit1();
    vat::postAndReopen({ctx_.dm.Dmt.get(), ctx_.dm.Mtt.get(), ctx_.dm.Prp.get()}, ctx_.prompter);
    QDialog::done(result);
}

}  // namespace rur::print
