#include "ledger/Ledger.h"

#include "data/DataM1.h"
#include "data/TableRules.h"
#include "datasets/Periods.h"
#include "engine/EngineError.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "vat/Rounding.h"

using namespace Qt::StringLiterals;

namespace rur::ledger {

namespace {

bool filled(const QString &text)
{
    return !text.trimmed().isEmpty();
}

void postIfEditing(engine::Table &table)
{
    if (table.isEditing())
        table.post();
}

}  // namespace

QString dateField(int slot)
{
    return u"D%1s"_s.arg(slot);
}

QString amountField(int slot)
{
    return u"Za%1s"_s.arg(slot);
}

void roundAmounts(engine::Table &dzal1)
{
    for (int slot = 1; slot <= kSlots; ++slot) {
        engine::Field f = dzal1.field(amountField(slot));
        f.setValue(f.isNull() ? 0.0 : vat::storeRound0(f.asFloat()));
    }
}

void attachLedgerRules(data::TDM1 &dm)
{
    dm.Dzal1->beforePost = [](engine::Table &t) { roundAmounts(t); };
}

QStringList periodLabels(const QString &month, const QString &quarter)
{
    QStringList labels;
    if (filled(month) && !filled(quarter)) {
        labels = datasets::monthNames();
    } else if (!filled(month) && filled(quarter)) {
        for (const QString &q : datasets::quarterNames())
            labels.append(q + u" čtvrtletí"_s);
    }
    while (labels.size() < kSlots)
        labels.append(QString());
    return labels.mid(0, kSlots);
}

QStringList periodLabels(const data::TDM1 &dm)
{
    const engine::Table &prp = *dm.Prp;
    if (!prp.isActive())
        return periodLabels(QString(), QString());
    return periodLabels(prp.value(prp.def().indexOf(u"M"_s)).toString(),
                        prp.value(prp.def().indexOf(u"Q"_s)).toString());
}

QString ledgerHeading(const QString &year)
{
    return u"Na RUR za rok "_s + year.trimmed() + u" zaplaceno"_s;
}

void prepareLedger(data::TDM1 &dm)
{
    engine::Table &dzal1 = *dm.Dzal1;
    dzal1.edit();
    try {
        const int n = dm.Prp->field(u"Cislo"_s).asInteger();
        if (n >= 1 && n <= kSlots && dzal1.field(dateField(n)).isNull())
            dzal1.field(amountField(n)).setValue(dm.Dtabn3->field(u"C753"_s).asFloat());
        dzal1.post();
    } catch (const engine::EngineError &) {
        dzal1.cancel();
        throw;
    }
    dzal1.refresh();
    dzal1.edit();
}

QString transferQuestion(double amount)
{
    return u"Opravdu přenést daň "_s + engine::formatFloat(amount, u"0"_s) + u" Kč do příkazu k úhradě ?"_s;
}

bool PrenosZ1(data::TDM1 &dm, int slot, platform::Prompter &prompter)
{
    if (slot < 1 || slot > kSlots)
        RUR_THROW(engine::ErrGeneral, u"Neplatné období %1."_s.arg(slot));
    engine::Table &dzal1 = *dm.Dzal1;
    postIfEditing(dzal1);
    const double amount = dzal1.field(amountField(slot)).asFloat();
    const QVariant date = dzal1.field(dateField(slot)).value();
    if (!prompter.confirm(transferQuestion(amount)))
        return false;

    engine::Table &mtt = *dm.Mtt;
    const QStringList fields{u"Cad1"_s, u"D1"_s, u"D3"_s};
    QVariantList before;
    for (const QString &f : fields)
        before.append(mtt.field(f).value());
    const bool wasEditing = mtt.isEditing();
    try {
        mtt.edit();
        mtt.field(u"Cad1"_s).setValue(amount);
        mtt.field(u"D1"_s).setValue(date);
        mtt.field(u"D3"_s).setValue(date);
        // Stored at once: the order is complete whichever window opened the ledger.
        mtt.post();
    } catch (const engine::EngineError &) {
        // The order keeps what it had: an edit begun here is dropped, an edit the user had
        // begun gets its three values back.
        if (!wasEditing) {
            mtt.cancel();
        } else {
            for (int i = 0; i < fields.size(); ++i)
                mtt.field(fields[i]).setValue(before[i]);
        }
        throw;
    }
    return true;
}

void closeLedger(data::TDM1 &dm)
{
    engine::Table &dzal1 = *dm.Dzal1;
    try {
        postIfEditing(dzal1);
    } catch (const engine::EngineError &) {
        dzal1.cancel();
        dzal1.close();
        dzal1.open();
        throw;
    }
    dzal1.close();
    dzal1.open();
}

QList<LedgerSlot> ledgerSlots(const data::TDM1 &dm)
{
    const engine::Table &dzal1 = *dm.Dzal1;
    const QStringList labels = periodLabels(dm);
    QList<LedgerSlot> entries;
    for (int slot = 1; slot <= kSlots; ++slot) {
        LedgerSlot s;
        s.slot = slot;
        s.label = labels[slot - 1];
        if (dzal1.isActive()) {
            s.date = dzal1.value(dzal1.def().indexOf(dateField(slot))).toDate();
            s.amount = dzal1.value(dzal1.def().indexOf(amountField(slot))).toDouble();
        }
        entries.append(s);
    }
    return entries;
}

double totalPaid(const QList<LedgerSlot> &entries)
{
    double total = 0;
    for (const LedgerSlot &s : entries)
        total += s.amount;
    return total;
}

void registerTableRules()
{
    data::addTableRules("ledger", [](data::TDM1 &dm) {
        attachLedgerRules(dm);
    });
}

}  // namespace rur::ledger
