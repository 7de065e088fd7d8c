#include "check/forms/ReturnCheckForm.h"

#include "base/Paths.h"
#include "base/UserSettings.h"
#include "engine/EngineError.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "ui/forms/DBEditz.h"
#include "vat/ReturnLines.h"
#include "vat/forms/EprpForm.h"
#include "vat/forms/FormParts.h"
#include "vat/forms/ReturnEntryForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::check {

namespace {

bool windowHasField(int n, const QString &field)
{
    for (const vat::SectionDef &section : vat::returnSections(n))
        for (const vat::LineDef &line : section.lines)
            for (const vat::CellDef &cell : line.cells)
                if (cell.field == field)
                    return true;
    return false;
}

}  // namespace

TReturnCheckForm::TReturnCheckForm(const vat::WindowContext &ctx, std::function<QList<Finding>()> recheck,
                                   QWidget *parent)
    : QDialog(parent), ctx_(ctx), recheck_(std::move(recheck))
{
    setWindowTitle(u"Kontrola přiznání"_s);
    // The check is opened from the print centre: window 4 does not go on to printing from here.
    ctx_.printAvailable = [] { return false; };

    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    list_ = new QTreeWidget(this);
    list_->setObjectName(u"FindingsList"_s);
    list_->setColumnCount(3);
    list_->setHeaderLabels({u"Druh"_s, u"Kde opravit"_s, u"Popis"_s});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setWordWrap(true);
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(760, 300);
    vat::setHint(list_, u"Dvojklikem otevřete okno, ve kterém se údaj opravuje"_s);

    open_ = vat::makeButton(u"&Opravit"_s, u"OpravitButton"_s, u"Otevře okno s vybraným údajem"_s, this);
    QPushButton *close = vat::makeButton(u"&Zavřít"_s, u"ZavritButton"_s, u"Zavřít okno"_s, this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        openFinding(list_->indexOfTopLevelItem(item));
    });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] {
        const int i = list_->indexOfTopLevelItem(list_->currentItem());
        open_->setEnabled(i >= 0 && windowOf(findings_.value(i)) >= 0);
    });
    connect(open_, &QPushButton::clicked, this, &TReturnCheckForm::openSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    open_->setEnabled(false);
}

QPushButton *TReturnCheckForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void TReturnCheckForm::setFindings(const QList<Finding> &findings, const QString &heading)
{
    findings_ = findings;
    heading_->setText(heading.isEmpty() ? summaryText(findings) : heading);
    list_->clear();
    const QIcon errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const Finding &f : findings) {
        auto *item = new QTreeWidgetItem(list_, {severityText(f.severity), f.where, f.message});
        item->setIcon(0, f.severity == Severity::Error ? errorIcon : warningIcon);
        item->setToolTip(2, f.message);
    }
    for (int column : {0, 1})
        list_->resizeColumnToContents(column);
    if (!findings.isEmpty())
        list_->setCurrentItem(list_->topLevelItem(0));
    open_->setEnabled(!findings.isEmpty() && windowOf(findings.first()) >= 0);
}

int TReturnCheckForm::windowOf(const Finding &finding)
{
    if (finding.field.isEmpty())
        return -1;
    if (finding.table == u"Prp"_s || finding.table == u"Prppz"_s)
        return 0;
    QList<int> windows;
    if (finding.table == u"Dtabn1"_s)
        windows = {1, 2};
    else if (finding.table == u"Dtabn2"_s)
        windows = {3};
    else if (finding.table == u"Dtabn3"_s)
        windows = {4};
    for (int n : windows)
        if (windowHasField(n, finding.field))
            return n;
    return -1;
}

void TReturnCheckForm::openSelected()
{
    openFinding(list_->indexOfTopLevelItem(list_->currentItem()));
}

void TReturnCheckForm::openReturnWindow(int n, const QString &field)
{
    QString focus = field;
    // Paging on from the window stays among the four windows of the return.
    while (n >= 1 && n <= 4) {
        const std::unique_ptr<vat::TReturnEntryForm> window = vat::makeReturnWindow(n, ctx_, this);
        if (ui::TDBEditz *edit = window->edit(focus))
            edit->setFocus();
        focus.clear();
        window->exec();
        n = window->nextWindow();
    }
}

void TReturnCheckForm::openFinding(int index)
{
    if (index < 0 || index >= findings_.size())
        return;
    const Finding finding = findings_[index];
    const int window = windowOf(finding);
    if (window < 0)
        return;
    if (window == 0)
        vat::Udaje1(ctx_, this, {}, finding.field);
    else
        openReturnWindow(window, finding.field);
    if (!recheck_)
        return;
    try {
        setFindings(recheck_(), QString());
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
    }
}

void showReturnCheck(QWidget *parent, const vat::WindowContext &ctx, int kodovani)
{
    const auto recheck = [&ctx, kodovani] { return KontrolaRur(ctx.dm, kodovani); };
    QList<Finding> findings;
    try {
        platform::BusyGuard busy(ctx.prompter);
        findings = recheck();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
        return;
    }
    if (findings.isEmpty()) {
        ctx.prompter.information(QString::fromUtf16(kNothingFound));
        return;
    }
    TReturnCheckForm form(ctx, recheck, parent);
    form.setFindings(findings);
    form.exec();
}

void showFilingFileCheck(QWidget *parent, const vat::WindowContext &ctx, const QString &path, int kodovani)
{
    QList<Finding> findings;
    try {
        platform::BusyGuard busy(ctx.prompter);
        findings = checkWrittenFile(ctx.dm, path);
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx.prompter, e);
        return;
    }
    if (findings.isEmpty())
        return;
    // After a correction the list follows the current return; the file is saved again by the user.
    TReturnCheckForm form(ctx, [&ctx, kodovani] { return KontrolaRur(ctx.dm, kodovani); }, parent);
    form.setFindings(findings, u"Soubor "_s + path + u" byl uložen. "_s + summaryText(findings));
    form.exec();
}

QString saveFilingFileChecked(QWidget *parent, const vat::WindowContext &ctx, print::FilingContext &filing)
{
    print::FilingContext checked = filing;
    checked.afterWrite = [parent, &ctx, &filing](const QString &path) {
        if (filing.afterWrite)
            filing.afterWrite(path);
        showFilingFileCheck(parent, ctx, path, filing.user.kodovani);
    };
    return print::saveFilingFile(checked);
}

}  // namespace rur::check
