#include "datasets/DataSetAccess.h"

#include "backup/DataSetWork.h"
#include "backup/FileSwap.h"
#include "data/DataM1.h"
#include "datasets/Catalogue.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/LockFile.h"
#include "engine/TableFile.h"

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

void openDataSet(data::TDM1 &dm, base::Directories &dirs, const QString &dataSetDir)
{
    if (!isDataSetDirectoryName(dataSetDir))
        RUR_THROW(engine::ErrGeneral, invalidDirectoryMessage(dataSetDir));
    dirs.dataSetDir = dataSetDir;
    dm.closeAll();
    dm.setDataRoot(dirs.dataRoot);
    dm.Danove.setDirectory(dirs.dataSetPath());
    engine::deleteStaleLockFiles(dirs.dataSetPath());
    engine::deleteStaleLockFiles(dirs.dataRoot + u"Data/"_s);
    // Whether another instance uses the data set, and the mark that this one now does, are
    // one step: the byte of the rates table is taken alone and then shared, until the table
    // itself holds it. Two instances that both found the data set free can't both open it.
    engine::LockFile claim(dirs.dataSetPath() + QLatin1String(engine::kUsersLockFile));
    const std::int64_t slot = engine::LockFile::tableSlot(u"Dcis"_s);
    if (engine::isWritablePath(dirs.dataSetPath()) && (!claim.lockExclusive(slot) || !claim.lockShared(slot)))
        RUR_THROW(engine::ErrLocked, QString::fromUtf16(Catalogue::kInUse));
    // A restore that was cut short while it moved files into place is undone, so that the
    // tables are all old ones rather than a mix; its safety archive goes once nothing of the
    // restore is left to undo.
    if (backup::finishInterruptedRestore(dirs.dataSetPath()))
        backup::removeSafetyArchive(dirs.dataSetPath());
    // What killed procedures left beside the tables goes, now that no other instance can
    // be working here.
    engine::removeWorkFiles(dirs.dataSetPath());
    dm.OtevritTabulky();
}

}  // namespace rur::datasets
