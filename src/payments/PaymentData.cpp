#include "payments/PaymentData.h"

#include "data/DataM1.h"
#include "data/TableRules.h"
#include "engine/EngineError.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::payments {

using engine::Table;

QString duplicateBankNumberMessage()
{
    return u"Duplicitní klíč - číslo banky"_s;
}

namespace {

const QStringList kBankFields = {u"Bai"_s, u"Nai"_s, u"Cui"_s, u"Kbi"_s, u"Vi"_s, u"Cnb"_s};

void attachMbzp(Table &mbzp)
{
    mbzp.onNewRecord = [](Table &t) {
        t.field(u"Pc"_s).clear();
        t.field(u"Cnb"_s).setValue(false);
    };
    mbzp.beforePost = [](Table &t) {
        engine::Field pc = t.field(u"Pc"_s);
        pc.setValue(pc.isNull() ? 0 : pc.asInteger());
    };
    mbzp.onPostError = [](Table &, const engine::EngineError &e) -> Table::PostErrorAction {
        if (e.code() == engine::ErrKeyViolation)
            throw engine::EngineError(engine::ErrKeyViolation, duplicateBankNumberMessage(), __FILE__, __LINE__);
        return Table::PostErrorAction::Fail;
    };
}

void attachMban(Table &mban, Table &mtt, std::function<QDate()> today)
{
    mban.onNewRecord = [&mtt](Table &t) {
        if (mtt.isActive() && !mtt.isEmpty()) {
            t.field(u"Cu1"_s).setValue(mtt.field(u"Cui"_s).value());
            t.field(u"Kodi"_s).setValue(mtt.field(u"Kbi"_s).value());
        }
        t.field(u"Tp"_s).setValue(u"1"_s);
    };
    mban.beforePost = [&mtt, today = std::move(today)](Table &t) {
        engine::Field ca = t.field(u"Ca"_s);
        if (!ca.isNull())
            ca.setValue(engine::textRound(ca.asFloat(), u"0.00"_s));
        engine::Field ds = t.field(u"Ds"_s);
        const QDate now = today();
        const bool moveOlder = mtt.isActive() && !mtt.isEmpty() && mtt.field(u"Za1"_s).asBoolean();
        if (ds.isNull() || (moveOlder && ds.asDate() < now))
            ds.setValue(now);
    };
}

}  // namespace

void attachPaymentRules(data::TDM1 &dm, std::function<QDate()> today)
{
    attachMbzp(*dm.Mbzp);
    attachMban(*dm.Mban, *dm.Mtt, std::move(today));
}

void openBankData(data::TDM1 &dm)
{
    Table &mbzp = *dm.Mbzp;
    if (mbzp.isActive())
        mbzp.refresh();
    else
        mbzp.open();
    mbzp.first();
    Table &mtt = *dm.Mtt;
    if (!mtt.isActive() || mtt.isEmpty() || mbzp.isEmpty())
        return;
    const QVariantList wanted = {mtt.field(u"Bai"_s).value(), mtt.field(u"Cui"_s).value(), mtt.field(u"Kbi"_s).value()};
    if (!mbzp.locate(u"Bai;Cui;Kbi"_s, wanted))
        mbzp.first();
}

void takeBankData(data::TDM1 &dm)
{
    Table &mbzp = *dm.Mbzp;
    Table &mtt = *dm.Mtt;
    if (!mbzp.isActive() || mbzp.isEmpty() || mbzp.state() == Table::State::Insert)
        return;
    if (!mtt.isActive())
        mtt.open();
    mtt.edit();
    for (const QString &name : kBankFields)
        mtt.field(name).setValue(mbzp.field(name).value());
}

void closeBankData(data::TDM1 &dm)
{
    dm.Mbzp->close();
}

void registerTableRules()
{
    data::addTableRules("payments", [](data::TDM1 &dm) {
        attachPaymentRules(dm, [] { return QDate::currentDate(); });
    });
}

}  // namespace rur::payments
