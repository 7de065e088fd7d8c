#include "backup/DataSetWork.h"

#include "backup/Backup.h"
#include "backup/FileSwap.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/TableFile.h"

#include <QDir>
#include <QFile>
#include <exception>

using namespace Qt::StringLiterals;

namespace rur::backup {

ClosedDataSet::ClosedDataSet(ArchiveJob &job)
    : job_(job), path_(job.dm.Danove.directory()), lock_(path_ + QLatin1String(engine::kUsersLockFile))
{
    // Held as an open taxpayer-rates table holds it, and taken before the tables let go of
    // theirs: another instance's test whether the data set is in use says it is throughout.
    lock_.lockShared(0);
    lock_.lockShared(engine::LockFile::tableSlot(u"Dcis"_s));
    close();
}

void ClosedDataSet::close()
{
    job_.dm.closeAll();
    job_.dm.Danove.disconnect();
}

bool ClosedDataSet::tryReopen()
{
    try {
        job_.dm.OtevritTabulky();
        return true;
    } catch (const engine::EngineError &) {
        close();
        return false;
    }
}

QString ClosedDataSet::directoryName() const
{
    return job_.dirs.dataSetDir.isEmpty() ? QDir(path_).dirName() : job_.dirs.dataSetDir;
}

void ClosedDataSet::reopen(const std::function<void()> &report)
{
    std::exception_ptr failure;
    try {
        job_.dm.OtevritTabulky();
    } catch (...) {
        failure = std::current_exception();
    }
    if (data::StatusDisplay *display = job_.dm.statusDisplay())
        display->setStatusText(1, QString());
    if (job_.finished)
        job_.finished();
    report();
    if (failure)
        std::rethrow_exception(failure);
}

ArchiveOptions dataSetArchiveOptions(const ClosedDataSet &set, ArchiveJob &job)
{
    ArchiveOptions options;
    options.excludedNames = {set.directoryName() + u".ini"_s, QLatin1String(engine::kUsersLockFile),
                             QLatin1String(engine::kDirectoryLockFile)};
    const QString top = QDir(set.path()).absolutePath();
    // Journals and temporary copies are not data, and a journal restored beside a table
    // would be played back into it.
    options.exclude = [top](const QFileInfo &entry) {
        return (entry.absolutePath() == top && isRestoreWorkFolder(entry))
               || (entry.isFile() && engine::isWorkFile(entry.fileName()));
    };
    if (job.tick)
        options.progress = [&job, reported = 0](int done, int) mutable {
            for (; reported < done; ++reported)
                job.tick();
        };
    return options;
}

QString safetyArchivePath(const QString &dataSetPath)
{
    return base::withSlash(dataSetPath) + u"Zaloha/Zaloha.zip"_s;
}

void removeSafetyArchive(const QString &dataSetPath)
{
    const QString path = safetyArchivePath(dataSetPath);
    QFile::remove(path);
    // A safety archive whose writing was cut short is a temporary copy beside it.
    const QDir folder = QFileInfo(path).absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        if (engine::isWorkFile(name) && name.startsWith(u'.' + QFileInfo(path).fileName()))
            QFile::remove(folder.filePath(name));
    QDir().rmdir(folder.absolutePath());
}

}  // namespace rur::backup
