#include "datasets/DataSetAccess.h"

#include "backup/FileSwap.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "engine/Database.h"
#include "engine/LockFile.h"
#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::datasets {

QString resolveDataSet(const app::Directories &dirs, const QString &set)
{
    bool numeric = false;
    const int number = set.toInt(&numeric);
    if (!numeric)
        return set;
    engine::Database nazvy(u"Nazvy"_s);
    nazvy.setDirectory(dirs.dataRoot);
    engine::Table catalogue(&nazvy, data::catalogueDef());
    catalogue.open();
    if (!catalogue.findKey({number}) || catalogue.field(u"Adresar"_s).isNull())
        RUR_THROW(engine::ErrGeneral, u"RUR číslo "_s + QString::number(number) + u" není v seznamu."_s);
    return catalogue.field(u"Adresar"_s).asString();
}

void openDataSet(data::TDM1 &dm, app::Directories &dirs, const QString &dataSetDir)
{
    dirs.dataSetDir = dataSetDir;
    dm.closeAll();
    dm.setDataRoot(dirs.dataRoot);
    dm.Danove.setDirectory(dirs.dataSetPath());
    engine::deleteStaleLockFiles(dirs.dataSetPath());
    engine::deleteStaleLockFiles(dirs.dataRoot + u"Data/"_s);
    // A restore that was cut short while it moved files into place is undone, so that the
    // tables are all old ones rather than a mix.
    backup::finishInterruptedRestore(dirs.dataSetPath());
    dm.OtevritTabulky();
}

}  // namespace rur::datasets
