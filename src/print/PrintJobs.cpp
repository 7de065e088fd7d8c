#include "print/PrintJobs.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/LocalSql.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "print/PaymentOrder.h"
#include "print/PrintMessages.h"
#include "print/ReturnPages.h"
#include "report/ReportError.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

QList<engine::Table *> printTables(data::TDM1 &dm)
{
    return {dm.Dmt.get(), dm.Mtt.get(), dm.Prp.get()};
}

void setStatus(data::TDM1 &dm, const QString &text)
{
    if (data::StatusDisplay *display = dm.statusDisplay())
        display->setStatusText(0, text);
}

}  // namespace

std::optional<Printout> printoutNamed(const QString &name)
{
    const std::pair<const char16_t *, Printout> names[] = {
        {u"strana1", Printout::ReturnPage1}, {u"strana2", Printout::ReturnPage2}, {u"prikaz", Printout::PaymentOrder}};
    for (const auto &[n, printout] : names)
        if (name.compare(QString::fromUtf16(n), Qt::CaseInsensitive) == 0)
            return printout;
    return std::nullopt;
}

CopyRule copyRuleOf(data::TDM1 &dm)
{
    engine::Table &dmt = *dm.Dmt;
    if (!dmt.isActive() || dmt.isEmpty())
        return {};
    return {qMax(1, dmt.field(u"Kop"_s).asInteger()), dmt.field(u"Pk"_s).asBoolean()};
}

void postPrintTables(data::TDM1 &dm)
{
    for (engine::Table *t : printTables(dm)) {
        // One that an earlier failure left closed is opened first.
        if (!t->isActive())
            t->open();
        t->edit();
        try {
            t->post();
        } catch (...) {
            t->cancel();
            throw;
        }
    }
    for (engine::Table *t : printTables(dm)) {
        t->close();
        t->open();
    }
}

void keepPrintTablesOpen(data::TDM1 &dm)
{
    for (engine::Table *t : printTables(dm)) {
        try {
            if (t->isEditing())
                t->cancel();
            if (!t->isActive())
                t->open();
        } catch (const engine::EngineError &) {
            // The table stays as it is; the failure has been reported as the printout's.
        }
    }
}

report::PreparedReport preparePrintout(data::TDM1 &dm, Printout printout, int typPisma)
{
    switch (printout) {
    case Printout::ReturnPage1: return prepareReturnPage(dm, 1, typPisma);
    case Printout::ReturnPage2: return prepareReturnPage(dm, 2, typPisma);
    case Printout::PaymentOrder: return preparePaymentOrder(dm, typPisma);
    }
    throw report::ReportError(u"Neznámá sestava."_s);
}

bool producePrintout(data::TDM1 &dm, platform::Prompter &prompter, Output output,
                     const std::function<std::optional<report::PreparedReport>()> &make,
                     const std::function<bool(const report::PreparedReport &)> &send)
{
    bool sent = false, nothing = false;
    {
        std::optional<platform::BusyGuard> busy(std::in_place, prompter);
        try {
            postPrintTables(dm);
            setStatus(dm, QString::fromUtf16(output == Output::Preview ? kPreparingPreview : kSendingToPrinter));
            const std::optional<report::PreparedReport> prepared = make();
            nothing = !prepared;
            // The preview is a window of its own: the user works in it with the normal cursor.
            if (output == Output::Preview)
                busy.reset();
            sent = prepared && send(*prepared);
        } catch (const engine::EngineError &) {
            sent = false;
        } catch (const report::ReportError &) {
            sent = false;
        }
        if (!sent)
            keepPrintTablesOpen(dm);
    }
    setStatus(dm, QString());
    if (!sent && !nothing)
        prompter.information(QString::fromUtf16(kPrintFailed));
    return sent;
}

void markAllAddresses(data::TDM1 &dm, bool marked)
{
    engine::executeSql(dm.Danove, marked ? u"Update Maz set O = True"_s : u"Update Maz set O = False"_s);
    if (dm.Maz->isActive())
        dm.Maz->refresh();
}

}  // namespace rur::print
