#include "data/FileStem.h"

#include "base/Paths.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

namespace rur::data {

QString NazevSb1(TDM1 &dm, const base::Directories &dirs)
{
    try {
        engine::Table &prp = *dm.Prp;
        if (!prp.isActive())
            prp.open();
        const auto text = [&](const char16_t *name) { return prp.field(QString::fromUtf16(name)).asString(); };
        const QString stem = base::fileStemFromNames(text(u"Tia"), text(u"Jmb"), text(u"Pra"), text(u"Oj1a"), text(u"Ojp3"));
        if (!stem.isEmpty())
            return stem;
    } catch (const engine::EngineError &) {
    }
    return dirs.dataSetDir;
}

}  // namespace rur::data
