#include "datasets/DataSetAccess.h"

#include "backup/FileSwap.h"
#include "data/DataM1.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/LockFile.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::datasets {

bool isDataSetDirectoryName(const QString &name)
{
    static const QRegularExpression pattern(u"^D[0-9]{1,9}$"_s);
    return pattern.match(name).hasMatch();
}

QString invalidDirectoryMessage(const QString &name)
{
    return u"Adresář "_s + name + u" není platný adresář RUR."_s;
}

void openDataSet(data::TDM1 &dm, app::Directories &dirs, const QString &dataSetDir)
{
    if (!isDataSetDirectoryName(dataSetDir))
        RUR_THROW(engine::ErrGeneral, invalidDirectoryMessage(dataSetDir));
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
