#include "print/PaymentOrder.h"

#include "data/DataM1.h"
#include "data/TableRules.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "print/PrintCentreLayout.h"
#include "report/LayoutLoader.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

// See ReturnPages.cpp: the layouts' resources must be initialised outside any namespace.
static void initPaymentOrderLayout()
{
    Q_INIT_RESOURCE(layouts);
}

namespace rur::print {

namespace {

// Whole numbers of the row: offsets, counts and the two kept integers.
constexpr const char16_t *kWholeNumbers[] = {u"Cad", u"Caz", u"Vh", u"Vl", u"Kop", u"Vho", u"Vlo"};
// Amounts in whole crowns.
constexpr const char16_t *kAmounts[] = {u"Cad1", u"Caz1", u"Cad1s", u"Caz1s", u"Cad1z", u"Caz1z"};

void normaliseNumbers(engine::Table &t)
{
    for (const char16_t *name : kWholeNumbers) {
        engine::Field f = t.field(QString::fromUtf16(name));
        // An empty count of copies can't become 0, which its bounds refuse: it takes the
        // lowest value allowed, so that the row can still be stored.
        const double lowest = std::max(0.0, f.def().minValue.value_or(0.0));
        f.setValue(f.isNull() ? lowest : double(f.asInteger()));
    }
    for (const char16_t *name : kAmounts) {
        engine::Field f = t.field(QString::fromUtf16(name));
        const double rounded = f.isNull() ? 0.0 : engine::textRound(f.asFloat(), u"0"_s);
        if (f.isNull() || rounded != f.asFloat())
            f.setValue(rounded);
    }
}

void calculate(engine::Table &t)
{
    t.field(u"D1s"_s).setValue(weekdayName(t.field(u"D1"_s).asDate()));
    t.field(u"D3s"_s).setValue(weekdayName(t.field(u"D3"_s).asDate()));
    const QString psc = t.field(u"Psc"_s).asString();
    if (!psc.isEmpty())
        t.field(u"Psc1"_s).setValue(postalCodeText(psc));
}

report::ReportLayout paymentOrderLayout()
{
    initPaymentOrderLayout();
    static std::optional<report::ReportLayout> layout;
    if (!layout)
        layout = report::loadLayout(paymentOrderLayoutPath());
    return *layout;
}

}  // namespace

QString weekdayName(const QDate &date)
{
    if (!date.isValid())
        return {};
    // QDate counts Monday as 1 and Sunday as 7.
    static const char16_t *const names[] = {u"pondělí", u"úterý", u"středa", u"čtvrtek",
                                            u"pátek",   u"sobota", u"neděle"};
    return QString::fromUtf16(names[date.dayOfWeek() - 1]);
}

QString postalCodeText(const QString &psc)
{
    if (psc.isEmpty())
        return {};
    return psc.left(3) + u' ' + psc.mid(3, 2);
}

void attachPaymentOrderRules(data::TDM1 &dm)
{
    dm.Mtt->beforePost = normaliseNumbers;
    dm.Mtt->onCalcFields = calculate;
}

void takeTaxIntoPaymentOrder(data::TDM1 &dm)
{
    engine::Table &dtabn3 = *dm.Dtabn3;
    const double tax = dtabn3.isActive() && !dtabn3.isEmpty() ? dtabn3.field(u"C753"_s).asFloat() : 0.0;
    engine::Table &mtt = *dm.Mtt;
    mtt.edit();
    try {
        mtt.field(u"Cad1"_s).setValue(tax);
        mtt.post();
    } catch (...) {
        mtt.cancel();
        throw;
    }
    mtt.close();
    mtt.open();
}

QString paymentOrderLayoutPath()
{
    return u":/layouts/Rbz.json"_s;
}

PaymentOrderReport::PaymentOrderReport(data::TDM1 &dm) : report::Report(paymentOrderLayout()), dm_(dm), mtt_(*dm.Mtt)
{
    setDataSource(u"Mtt"_s, &mtt_);
}

void PaymentOrderReport::applyOffsets(int topMm, int leftMm)
{
    setPageHeaderHeight(report::headerHeightFromMm(topMm));
    setLeftMarginMm(leftMm);
}

report::PreparedReport PaymentOrderReport::prepareWithSettings()
{
    engine::Table &mtt = *dm_.Mtt;
    const bool hasRow = mtt.isActive() && !mtt.isEmpty();
    applyOffsets(hasRow ? mtt.field(u"Vh"_s).asInteger() : 0, hasRow ? mtt.field(u"Vl"_s).asInteger() : 0);
    return prepare();
}

report::PreparedReport preparePaymentOrder(data::TDM1 &dm, int typPisma)
{
    PaymentOrderReport report(dm);
    if (typPisma == 1)
        report::PrevodPisma1(report.layout());
    return report.prepareWithSettings();
}

void registerTableRules()
{
    data::addTableRules("print", [](data::TDM1 &dm) {
        attachPaymentOrderRules(dm);
        // The print settings' fields named as the print centre shows them.
        labelPrintFields(dm);
    });
}

}  // namespace rur::print
