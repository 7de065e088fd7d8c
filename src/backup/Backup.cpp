#include "backup/Backup.h"

#include "backup/DataSetWork.h"
#include "backup/FileSwap.h"
#include "base/DataSetRecords.h"
#include "base/Paths.h"
#include "data/DataFileList.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

// The tables whose indexes "obnovit indexy" rebuilds, each opened exclusively; a table that
// can't be opened so is left as it is.
void rebuildIndexes(const QString &dataSetPath)
{
    engine::Database db(u"Indexy"_s);
    db.setDirectory(dataSetPath);
    for (const char16_t *name : {u"Dtab1s", u"Dtab2s", u"Mban", u"Mbzp", u"Maz", u"Mdp", u"Dtabn1s", u"Dtabn2s",
                                 u"Dpsn1", u"Dpsn2"}) {
        engine::Table t(&db, data::dataSetTableDef(QString::fromUtf16(name)));
        t.setExclusive(true);
        try {
            t.open();
            t.rebuildIndexes();
        } catch (const engine::EngineError &) {
        }
        t.close();
    }
    db.disconnect();
}

// An archive written over the data set's own files would destroy them.
bool ownFileOfDataSet(const ClosedDataSet &set, const QString &target)
{
    const QFileInfo info(target);
    if (!base::samePath(base::withSlash(info.absolutePath()), base::withSlash(QDir(set.path()).absolutePath())))
        return false;
    const QString name = info.fileName();
    return data::dataFileList().contains(name, Qt::CaseInsensitive)
           || name.compare(set.directoryName() + u".ini"_s, Qt::CaseInsensitive) == 0
           || name.compare(QLatin1String(engine::kUsersLockFile), Qt::CaseInsensitive) == 0
           || name.compare(QLatin1String(engine::kDirectoryLockFile), Qt::CaseInsensitive) == 0;
}

}  // namespace

bool Zalohovat(ArchiveJob &job, const QString &completePath, bool withIndexes)
{
    platform::Prompter &prompter = job.prompter;
    if (base::isPathMessage(completePath)) {
        prompter.information(QString::fromUtf16(kSetPathMessage));
        return false;
    }
    if (!prompter.confirm(u"Opravdu chcete zazálohovat data ?"_s))
        return false;
    if (completePath.isEmpty()) {
        prompter.information(u"Zadejte cestu pro zálohování dat."_s);
        return false;
    }
    std::optional<platform::BusyGuard> busy(std::in_place, prompter);
    if (job.started)
        job.started();

    ClosedDataSet set(job);
    if (withIndexes)
        rebuildIndexes(set.path());
    const QString target = QFileInfo(completePath).absoluteFilePath();
    bool stored = false;
    if (!ownFileOfDataSet(set, target) && QDir().mkpath(QFileInfo(target).absolutePath())) {
        // The safety archive of a restore goes once the data set is whole; when an earlier
        // restore was cut short and could not be undone it stays, and goes into the archive.
        if (finishInterruptedRestore(set.path()))
            removeSafetyArchive(set.path());
        ArchiveOptions options = dataSetArchiveOptions(set, job);
        options.requiredNames = data::tableFiles(1, int(data::dataFileList().size()));
        stored = archiveDirectory(set.path(), target, options);
        if (stored)
            base::recordBackup(job.dirs.dataSetIni(), {target, QDateTime::currentDateTime()});
    }
    busy.reset();
    set.reopen([&] {
        if (stored)
            prompter.information(QString::fromUtf16(kBackupDoneMessage));
        else
            prompter.error(u"Soubor "_s + completePath + u" nelze vytvořit."_s);
    });
    return stored;
}

}  // namespace rur::backup
