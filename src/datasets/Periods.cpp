#include "datasets/Periods.h"

#include "data/DataM1.h"
#include "data/DateInput.h"

using namespace Qt::StringLiterals;

namespace rur::datasets {

const QStringList &monthNames()
{
    static const QStringList names{u"leden"_s, u"únor"_s,     u"březen"_s, u"duben"_s, u"květen"_s,   u"červen"_s,
                                   u"červenec"_s, u"srpen"_s, u"září"_s,   u"říjen"_s, u"listopad"_s, u"prosinec"_s};
    return names;
}

const QStringList &quarterNames()
{
    static const QStringList names{u"I."_s, u"II."_s, u"III."_s, u"IV."_s};
    return names;
}

void ZmenaObdobi(data::TDM1 &dm)
{
    engine::Table &prp = *dm.Prp;
    const QString month = prp.field(u"M"_s).asString().trimmed();
    const QString quarter = prp.field(u"Q"_s).asString().trimmed();
    const bool monthly = !month.isEmpty() && quarter.isEmpty();
    const bool quarterly = month.isEmpty() && !quarter.isEmpty();
    if (monthly || quarterly) {
        const QStringList &names = monthly ? monthNames() : quarterNames();
        const int found = int(names.indexOf(monthly ? month : quarter));
        if (found >= 0) {
            int number = found + 2;
            QString year = prp.field(u"R"_s).asString();
            if (number > names.size()) {
                number = 1;
                bool numeric = false;
                const int y = year.trimmed().toInt(&numeric);
                if (numeric)
                    year = QString::number(y + 1);
            }
            prp.edit();
            try {
                prp.field(u"M"_s).setValue(monthly ? names[number - 1] : QString());
                prp.field(u"Q"_s).setValue(quarterly ? names[number - 1] : QString());
                prp.field(u"Cislo"_s).setValue(number);
                prp.field(u"R"_s).setValue(year);
                engine::Field ddp = prp.field(u"Ddp"_s);
                if (!ddp.isNull())
                    ddp.setValue(data::DatumM1(monthly ? 1 : 3, ddp.asDate()));
                // Coefficients are printed as percentages from April 2011 (the second quarter) on.
                if (number == (monthly ? 4 : 2) && year.trimmed() == u"2011"_s)
                    prp.field(u"K1p"_s).setValue(true);
                prp.post();
            } catch (...) {
                prp.cancel();  // leave no half-changed period behind
                throw;
            }
        }
    }
    prp.close();
    prp.open();
}

}  // namespace rur::datasets
