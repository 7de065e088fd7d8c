#include "datasets/SenderData.h"

#include "data/DataM1.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace rur::datasets {

void PrenosUdaju1(data::TDM1 &dm)
{
    engine::Table &prp = *dm.Prp;
    engine::Table &mtt = *dm.Mtt;
    const auto text = [&](const char16_t *name) { return prp.field(QString::fromUtf16(name)).asString(); };
    const QString tia = text(u"Tia"), jmb = text(u"Jmb"), pra = text(u"Pra"), oj1a = text(u"Oj1a"),
                  ojp3 = text(u"Ojp3");
    const bool personal = !tia.isEmpty() || !jmb.isEmpty() || !pra.isEmpty();
    const bool company = !oj1a.isEmpty() || !ojp3.isEmpty();
    QString name;
    if (personal && !company) {
        // Single blanks between the parts that are there: no double blank for a missing title.
        QStringList parts;
        for (const QString &part : {tia, jmb, pra})
            if (!part.trimmed().isEmpty())
                parts.append(part.trimmed());
        name = parts.join(u' ');
    } else if (!personal && company) {
        name = ojp3.isEmpty() ? oj1a : ojp3;
    }
    const QString orientation = text(u"Cpoco"), descriptive = text(u"Cpocp");
    const QString numbers = !orientation.isEmpty() && !descriptive.isEmpty() ? descriptive + u'/' + orientation
                                                                             : descriptive + orientation;

    mtt.edit();  // an empty one-row table gets its row here
    try {
        mtt.field(u"Fa"_s).setValue(name.trimmed());
        mtt.field(u"Ul"_s).setValue((text(u"Ul") + u' ' + numbers).trimmed());
        mtt.field(u"Psc"_s).setValue(text(u"Psc"));
        mtt.field(u"Mi"_s).setValue(text(u"Ob"));
        mtt.post();
    } catch (...) {
        mtt.cancel();
        throw;
    }
}

}  // namespace rur::datasets
