// Rules of the taxpayer row (Prp).
#include "vat/TaxpayerRules.h"

#include "data/DataM1.h"
#include "data/TextSplits.h"
#include "engine/NumberFormat.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

// The two texts joined by the separator when both are filled, else whichever is filled.
QString joined(const QString &first, const QString &separator, const QString &second)
{
    if (!first.isEmpty() && !second.isEmpty())
        return first + separator + second;
    return first + second;
}

void calcTaxpayer(engine::Table &t)
{
    const auto text = [&t](const QString &name) { return t.field(name).asString(); };
    const QString month = text(u"M"_s), quarter = text(u"Q"_s);
    QString period;
    if (!month.isEmpty() && quarter.isEmpty())
        period = u"za měsíc "_s + month;
    else if (!quarter.isEmpty() && month.isEmpty())
        period = u"za "_s + quarter + u" čtvrtletí"_s;
    // Each text is cut to its field's size on assignment.
    t.field(u"Obd"_s).setValue(period);
    t.field(u"Dick"_s).setValue(data::Dicp2(text(u"Dic"_s)));
    t.field(u"Cpok"_s).setValue(joined(text(u"Cpocp"_s), u"/"_s, text(u"Cpoco"_s)));
    t.field(u"Sesk"_s).setValue(joined(text(u"Sesjm"_s), u" "_s, text(u"Sespr"_s)));
}

}  // namespace

void attachTaxpayerRules(data::TDM1 &dm)
{
    dm.Prp->beforePost = [](engine::Table &t) {
        engine::Field k1 = t.field(u"K1"_s);
        k1.setValue(engine::textRound(k1.asFloat(), u"0.00"_s));
        if (t.field(u"Poznod"_s).isNull())
            t.field(u"Poznod"_s).setValue(u"O"_s);
    };
    dm.Prp->onCalcFields = calcTaxpayer;
    // The year goes into the filing file as it stands; anything but four digits would be
    // refused by the tax portal long after the user typed it. Empty stays allowed while the
    // window is being filled.
    dm.Prp->setOnSetText(u"R"_s, [](engine::Field f, const QString &text) {
        static const QRegularExpression fourDigits(u"^[0-9]{4}$"_s);
        const QString year = text.trimmed();
        if (!year.isEmpty() && !fourDigits.match(year).hasMatch())
            RUR_THROW(engine::ErrInvalidValue,
                      u"„"_s + text + u"“ není platný rok. Zapište rok čtyřmi číslicemi, například 2018."_s);
        f.setValue(year);
    });
}

void Udaje1Copies(data::TDM1 &dm)
{
    engine::Table &prp = *dm.Prp;
    // Target and source in the order of the copies: Jm takes Jma as just cut from Jmb, St takes
    // Sta as just cut from Sta2.
    static const char16_t *const copies[][2] = {{u"Oj1", u"Oj1a"}, {u"Pr", u"Pra"}, {u"Jma", u"Jmb"},
                                                {u"Jm", u"Jma"},   {u"Mi", u"Mia"}, {u"Sta", u"Sta2"},
                                                {u"St", u"Sta"},   {u"Eml", u"Emlx"}};
    prp.edit();
    try {
        for (const auto &copy : copies)
            prp.field(QString::fromUtf16(copy[0])).setValue(prp.field(QString::fromUtf16(copy[1])).value());
        prp.post();
    } catch (...) {
        prp.cancel();
        throw;
    }
    prp.close();
    prp.open();
}

}  // namespace rur::vat
