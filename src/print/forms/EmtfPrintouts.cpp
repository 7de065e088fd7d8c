// The printouts of the print centre: the return's pages with page browsing and the print
// range, and the Komfort printouts.
#include "base/Directories.h"
#include "base/Paths.h"
#include "base/UserSettings.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "print/PrintMessages.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/PrevForm.h"
#include "print/forms/PrintServices.h"
#include "report/Printing.h"
#include "report/ReportError.h"
#include "vat/forms/FormParts.h"

#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

// Disables the page's buttons while a command runs.
class RunningGuard {
public:
    RunningGuard(bool &running, std::function<void()> update) : running_(running), update_(std::move(update))
    {
        running_ = true;
        update_();
    }
    ~RunningGuard()
    {
        running_ = false;
        update_();
    }
    RunningGuard(const RunningGuard &) = delete;
    RunningGuard &operator=(const RunningGuard &) = delete;

private:
    bool &running_;
    std::function<void()> update_;
};

}  // namespace

bool TEmtfForm::output(int action, Printout printout, const QString &statusText, BrowseState *browse)
{
    return produce(action, statusText, browse,
                   [this, printout] { return std::optional(preparePrintout(ctx_.dm, printout, ctx_.user.typPisma)); });
}

bool TEmtfForm::produce(int action, const QString &statusText, BrowseState *browse,
                        const std::function<std::optional<report::PreparedReport>()> &make)
{
    if (!vat::commitTyped(this))
        return false;
    Ulozit1();
    PrintServices &services = ctx_.services;
    const QString printer = services.currentPrinter(ctx_.dirs.dataSetDir);
    const Output kind = action == 1 ? Output::Preview : Output::Print;
    return producePrintout(ctx_.dm, ctx_.prompter, kind, make, [&](const report::PreparedReport &prepared) {
        if (kind == Output::Print) {
            const CopyRule rule = copyRuleOf(ctx_.dm);
            return report::Tisk2(prepared, services.printTarget(), printer, rule.copies, rule.printerCopies);
        }
        PreviewRequest request;
        request.report = &prepared;
        request.statusText = statusText;
        request.browse = browse;
        request.printerName = printer;
        request.dataSetIni = dataSetIni();
        services.showPreview(request);
        return true;
    });
}

bool TEmtfForm::PickReport(int action, int page)
{
    return output(action, page == 1 ? Printout::ReturnPage1 : Printout::ReturnPage2,
                  QString::fromUtf16(kShownPageWillPrint), browse_);
}

void TEmtfForm::VyberTypuNahledDp()
{
    const int page = selectedNode(rurTree_);
    if (running_ || page < 1)
        return;
    RunningGuard running(running_, [this] { updateButtons(); });
    if (!vat::commitTyped(this))
        return;
    engine::Table &dmt = *ctx_.dm.Dmt;
    const bool browsing = dmt.isActive() && !dmt.isEmpty() && dmt.field(u"Prh1"_s).asBoolean();
    if (!browsing) {
        PickReport(1, page);
        return;
    }
    BrowseState state;
    browse_ = &state;
    browsePages(state, page, [this](int p) { PickReport(1, p); });
    browse_ = nullptr;
}

void TEmtfForm::VyberTypuTiskDp()
{
    const int page = selectedNode(rurTree_);
    if (running_ || page < 1)
        return;
    RunningGuard running(running_, [this] { updateButtons(); });
    if (!vat::commitTyped(this))
        return;
    engine::Table &dmt = *ctx_.dm.Dmt;
    const QString range = dmt.isActive() && !dmt.isEmpty() ? dmt.field(u"Trh1"_s).asString() : QString();
    for (int p : pagesToPrint(range, page))
        if (!PickReport(2, p))
            return;
}

bool TEmtfForm::PickReportKom(int action)
{
    const int n = selectedNode(komfortTree_);
    const QTreeWidgetItem *item = node(komfortTree_, n);
    if (running_ || !item || !item->parent() || !(item->flags() & Qt::ItemIsEnabled))
        return false;
    bool done = false;
    {
        RunningGuard running(running_, [this] { updateButtons(); });
        const QString status = QString::fromUtf16(kAllPagesWillPrint);
        if (n == kNodeTax) {
            done = output(action, Printout::PaymentOrder, status, nullptr);
        } else if (const KomfortPrintout maker = ctx_.services.komfort.printouts.value(n)) {
            done = produce(action, status, nullptr, [this, maker] { return maker(ctx_.dm, ctx_.user.typPisma); });
        }
    }
    if (done && n == kNodeTax)
        offerBankTransfer();
    return done;
}

void TEmtfForm::offerBankTransfer()
{
    // The command is offered also before the bank orders exist in the program, disabled.
    const auto transfer = ctx_.services.komfort.transferToBank;
    auto *menu = new QMenu(this);
    menu->setObjectName(u"PrenosMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *command = menu->addAction(u"&Přenést příkaz do elektronického styku ?"_s);
    command->setEnabled(bool(transfer));
    if (transfer)
        connect(command, &QAction::triggered, this, [this, transfer] { transfer(this); });
    const QRect place = komfortTree_->visualItemRect(komfortTree_->currentItem());
    menu->popup(komfortTree_->viewport()->mapToGlobal(place.bottomRight()));
}

}  // namespace rur::print
