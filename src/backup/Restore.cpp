#include "backup/Restore.h"

#include "backup/ArchiveReader.h"
#include "backup/DataSetWork.h"
#include "backup/FileSwap.h"
#include "base/Paths.h"
#include "data/DataFileList.h"
#include "data/DataM1.h"
#include "data/SchemaUpgrade.h"
#include "data/Schemas.h"
#include "engine/EngineError.h"
#include "engine/ParadoxImport.h"
#include "engine/TableCheck.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

int listSize()
{
    return int(data::dataFileList().size());
}

// A table file from an archive is usable when it passes the check that opening the table
// makes, values included; it may lack only fields that the opening adds to older tables.
bool tableUsable(const QString &path, const engine::TableDef &def)
{
    return engine::tableFileDamage(path, def, data::upgradeColumns(def.name)).isEmpty();
}

bool allTablesUsable(const QString &folder, const QStringList &files)
{
    for (const engine::TableDef &def : data::dataSetTableDefs())
        if (files.contains(def.fileName) && !tableUsable(folder + def.fileName, def))
            return false;
    return true;
}

QString notBroughtBackMessage(const QString &dataSetPath)
{
    return u"Původní data se nepodařilo vrátit, zůstávají v souboru "_s + safetyArchivePath(dataSetPath) + u'.';
}

struct Outcome {
    int count = 0;         // table files restored
    QString message;       // error shown before the result
    bool whole = true;     // the data set is its old or its new self
    bool swapped = false;  // the new files are in place, the old ones still kept aside
};

// A backup made by an earlier edition holds Paradox tables, with memo files beside those
// that have memo fields: each table becomes a table file of the same name in the staging
// folder, before the checks. False (with the message) when one can't.
bool convertParadoxTables(ArchiveReader &reader, const QString &folder, const QStringList &extracted, qint64 *budget,
                          const QString &archivePath, Outcome *outcome)
{
    for (const QString &name : extracted) {
        if (engine::tableFileFormatOf(folder + name) != engine::TableFileFormat::Paradox)
            continue;
        const QString memos = QFileInfo(name).completeBaseName() + u".MB"_s;
        const qint64 index = reader.find(memos);
        if (index >= 0 && (reader.declaredSize(index) > kMaxMemberBytes || !reader.extract(index, folder + memos, budget))) {
            outcome->message = u"Soubor "_s + archivePath + u" nelze otevřít."_s;
            return false;
        }
        const engine::TableDef def = data::dataSetTableDef(QFileInfo(name).completeBaseName());
        outcome->message = engine::convertParadoxFile(folder + name, folder + name, &def);
        QFile::remove(folder + memos);
        if (!outcome->message.isEmpty())
            return false;
        engine::crashPoint("restore:converting");
    }
    return true;
}

// Steps of the restore after the safety archive: extract, check, move into place.
void restoreFiles(ArchiveJob &job, const ClosedDataSet &set, ArchiveReader &reader, const QString &archivePath,
                  int choice, Outcome *outcome)
{
    QTemporaryDir staging(stagingFolderTemplate(set.path()));
    if (!staging.isValid())
        return;
    const QString folder = staging.path() + u'/';
    // A member larger than a table can be is refused before anything is written.
    for (const QString &name : restoredFiles(choice)) {
        const qint64 index = reader.find(name);
        if (index >= 0 && reader.declaredSize(index) > kMaxMemberBytes) {
            outcome->message = u"Soubor "_s + archivePath + u" nelze otevřít."_s;
            return;
        }
    }
    QStringList extracted;
    qint64 budget = job.byteBudget;
    for (const QString &name : restoredFiles(choice)) {
        const qint64 index = reader.find(name);
        if (index < 0)
            continue;  // a name the archive doesn't hold extracts nothing
        if (!reader.extract(index, folder + name, &budget)) {
            outcome->message = u"Soubor "_s + archivePath + u" nelze otevřít."_s;
            return;
        }
        extracted.append(name);
        if (job.tick)
            job.tick();
        engine::crashPoint("restore:extracting");
    }
    if (extracted.isEmpty())
        return;
    if (!convertParadoxTables(reader, folder, extracted, &budget, archivePath, outcome))
        return;
    const bool whole = choice == ObnovitVse || choice == ObnovitBezPoplatnika;
    if (whole && extracted.size() < kMinimumRestoredTables)
        return;
    if (!allTablesUsable(folder, extracted))
        return;
    bool restored = true;
    if (!moveIntoPlace(set.path(), folder, extracted, removedFiles(choice), &restored)) {
        outcome->whole = restored;
        if (!restored)
            outcome->message = notBroughtBackMessage(set.path());
        return;
    }
    outcome->count = int(extracted.size());
    outcome->swapped = true;
}


}  // namespace

QStringList restoredFiles(int choice)
{
    switch (choice) {
    case ObnovitVse: return data::tableFiles(1, listSize());
    // The taxpayer data are Prp (5) and its attachment (50, 51); the register of documents
    // (52 on) belongs to the period and comes back with it.
    case ObnovitBezPoplatnika: return data::tableFiles(1, 4) + data::tableFiles(6, 49) + data::tableFiles(52, listSize());
    case ObnovitDopisy: return data::tableFiles(29, 31);
    case ObnovitAdresar: return data::tableFiles(22, 28);
    default: return {};
    }
}

QStringList removedFiles(int choice)
{
    switch (choice) {
    case ObnovitVse: return data::tableFiles(33, listSize());
    case ObnovitBezPoplatnika: return data::tableFiles(33, 49) + data::tableFiles(52, listSize());
    default: return {};
    }
}

bool Obnovit(ArchiveJob &job, const QString &completePath, int choice)
{
    platform::Prompter &prompter = job.prompter;
    if (base::isPathMessage(completePath)) {
        prompter.information(QString::fromUtf16(kSetPathMessage));
        return false;
    }
    if (!prompter.confirm(u"Opravdu chcete obnovit data ?"_s))
        return false;
    if (!QFileInfo(completePath).isFile()) {
        prompter.information(u"Soubor "_s + QFileInfo(completePath).fileName()
                             + u" nebyl nalezen, zkontrolujte správnost cesty."_s);
        return false;
    }
    std::optional<platform::BusyGuard> busy(std::in_place, prompter);
    if (job.started)
        job.started();

    ClosedDataSet set(job);
    Outcome outcome;
    ArchiveReader reader;
    // A restore cut short earlier is undone first; when even that fails, its safety archive
    // is the only whole copy and must not be replaced.
    outcome.whole = finishInterruptedRestore(set.path());
    if (!reader.open(completePath)) {
        outcome.message = u"Soubor "_s + completePath + u" nelze otevřít."_s;
    } else {
        const QString safety = safetyArchivePath(set.path());
        // Not flushed by itself: the move of the restored files flushes the file system first.
        ArchiveOptions options = dataSetArchiveOptions(set, job);
        options.flush = false;
        // Deleted once the restore is done: stored, not compressed, so it costs a copy only.
        options.level = 0;
        const bool saved = outcome.whole && QDir().mkpath(QFileInfo(safety).absolutePath())
                           && archiveDirectory(set.path(), safety, options);
        engine::crashPoint("restore:after-safety");
        if (!saved)
            outcome.message = u"Záložní soubor "_s + completePath + u" nelze vytvořit."_s;
        else
            restoreFiles(job, set, reader, completePath, choice, &outcome);
    }
    reader.close();

    QDir::setCurrent(job.dirs.dataRoot);
    // The old files and the safety archive go only once the data set has opened with the new
    // files; when it does not, the old files come back.
    if (outcome.swapped) {
        if (set.tryReopen()) {
            discardOldFiles(set.path());
        } else {
            set.close();
            outcome.count = 0;
            outcome.whole = bringBackOldFiles(set.path());
            if (!outcome.whole)
                outcome.message = notBroughtBackMessage(set.path());
        }
    }
    if (outcome.whole)
        removeSafetyArchive(set.path());
    busy.reset();
    set.reopen([&] {
        if (!outcome.message.isEmpty())
            prompter.error(outcome.message);
        if (outcome.count < 1)
            prompter.error(QString::fromUtf16(kRestoreFailedMessage));
        else
            prompter.information(QString::fromUtf16(kRestoreDoneMessage));
    });
    return outcome.count >= 1;
}

}  // namespace rur::backup
