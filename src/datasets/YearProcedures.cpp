#include "datasets/YearProcedures.h"

#include "backup/ZipArchive.h"
#include "base/Paths.h"
#include "data/DataFileList.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Periods.h"
#include "engine/EngineError.h"
#include "engine/GroupTransaction.h"
#include "engine/GroupWrite.h"
#include "engine/LockFile.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

using namespace Qt::StringLiterals;

namespace rur::datasets {

namespace {

bool askTwice(platform::Prompter &prompter, const QString &question)
{
    return prompter.confirm(question) && prompter.confirm(question);
}

// The open tables of the data set's files (files without a table of their own are skipped).
QList<engine::Table *> tablesOf(data::TDM1 &dm, const QStringList &files)
{
    QList<engine::Table *> out;
    for (const QString &file : files)
        if (engine::Table *t = dm.table(QFileInfo(file).completeBaseName()))
            out.append(t);
    return out;
}

// Entries first..last of the data file list, and the register of documents (52), which is
// emptied with the current return and with the finished returns.
QStringList withRegister(int first, int last)
{
    return data::dataFiles(first, last) + data::dataFiles(52, 52);
}

// Tables the data module keeps closed until a window needs them (the register of documents)
// are opened for a change and closed again after it.
class OpenedForChange {
public:
    explicit OpenedForChange(const QList<engine::Table *> &tables)
    {
        for (engine::Table *t : tables)
            if (!t->isActive()) {
                t->open();
                opened_.append(t);
            }
    }
    ~OpenedForChange()
    {
        for (engine::Table *t : std::as_const(opened_))
            t->close();
    }
    OpenedForChange(const OpenedForChange &) = delete;
    OpenedForChange &operator=(const OpenedForChange &) = delete;

private:
    QList<engine::Table *> opened_;
};

// Gives the tables of the files their template rows in place of their own, inside the group
// transaction the caller holds.
void resetToTemplates(data::TDM1 &dm, const QStringList &files)
{
    engine::GroupWrite write;
    for (engine::Table *t : tablesOf(dm, files)) {
        const QList<QVariantMap> rows = data::templateFileRows(dm.templateDirectory(), t->def());
        write.removeAll(*t);
        for (const QVariantMap &row : rows)
            write.insertValues(*t, row);
    }
    write.commit();
}

// The templates a procedure will copy, checked before it changes anything: false (the user
// told) when one of them is not a whole table.
bool templatesUsable(data::TDM1 &dm, const QStringList &files, platform::Prompter &prompter)
{
    const QString templates = dm.templateDirectory();
    for (const QString &file : files) {
        const QString path = templates + file;
        if ((QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            && !engine::tableFileDamage(path, QFileInfo(file).completeBaseName()).isEmpty()) {
            prompter.error(u"Šablona tabulky "_s + file + u" v adresáři "_s + QDir::toNativeSeparators(templates)
                           + u" je poškozená nebo nečitelná."_s);
            return false;
        }
    }
    return true;
}

// The year coefficient of the taxpayer goes into the deduction coefficient of the return.
void carryCoefficient(data::TDM1 &dm)
{
    engine::Table &t = *dm.Dtabn2;
    t.edit();
    try {
        t.field(u"C550"_s).setValue(dm.Prp->field(u"K1"_s).value());
        t.post();
    } catch (...) {
        t.cancel();
        throw;
    }
}

void showDone(data::TDM1 &dm, const QString &text)
{
    if (data::StatusDisplay *display = dm.statusDisplay()) {
        display->setStatusText(0, text);
        display->setStatusText(1, QString());
        display->setStatusText(2, QString());
    }
}

QString taxpayerText(data::TDM1 &dm, const QString &field)
{
    return dm.Prp->isActive() ? dm.Prp->field(field).asString() : QString();
}

}  // namespace

QString yearEndArchiveName(const QString &year, const QString &taxpayerStem, const QDateTime &now)
{
    QString name = year + u' ' + (taxpayerStem.isEmpty() ? now.toString(u"ddMMyyyy-hhmmss"_s) : taxpayerStem);
    for (QChar c : u"\\/:*?\"<>|"_s)
        name.remove(c);
    return name.trimmed();
}

QString yearEndArchiveFolder(const base::Directories &dirs)
{
    return base::withSlash(dirs.dataRoot) + u"Zaloha/Archiv/"_s;
}

bool VymazaniObdobi(data::TDM1 &dm, base::Directories &dirs, platform::Prompter &prompter)
{
    Q_UNUSED(dirs);
    if (!askTwice(prompter, u"Opravdu provést vymazání období ?"_s) || !templatesUsable(dm, withRegister(33, 35), prompter))
        return false;
    platform::BusyGuard busy(prompter);
    {
        // The emptied return and the coefficient carried into it are one change.
        const QList<engine::Table *> tables = tablesOf(dm, withRegister(33, 35));
        const OpenedForChange opened(tables);
        engine::GroupTransaction change(tables);
        resetToTemplates(dm, withRegister(33, 35));
        carryCoefficient(dm);
        change.commit();
    }
    dm.Obnovit1();
    showDone(dm, u"Období bylo vymazáno."_s);
    return true;
}

bool VymazaniRoku(data::TDM1 &dm, base::Directories &dirs, platform::Prompter &prompter)
{
    Q_UNUSED(dirs);
    if (!askTwice(prompter, u"Opravdu provést vymazání celého roku ?"_s) || !templatesUsable(dm, withRegister(36, 39), prompter))
        return false;
    platform::BusyGuard busy(prompter);
    {
        const QList<engine::Table *> tables = tablesOf(dm, withRegister(36, 39));
        const OpenedForChange opened(tables);
        engine::GroupTransaction change(tables);
        resetToTemplates(dm, withRegister(36, 39));
        change.commit();
    }
    dm.Obnovit1();
    showDone(dm, u"Zápisy byly vymazány."_s);
    return true;
}

bool NovyRok(data::TDM1 &dm, base::Directories &dirs, platform::Prompter &prompter)
{
    if (!askTwice(prompter, u"Opravdu provést akci nový rok ?"_s) || !templatesUsable(dm, withRegister(32, 39), prompter))
        return false;
    std::optional<platform::BusyGuard> busy(std::in_place, prompter);

    const QString stem = base::fileStemFromNames(taxpayerText(dm, u"Tia"_s), taxpayerText(dm, u"Jmb"_s),
                                                taxpayerText(dm, u"Pra"_s), taxpayerText(dm, u"Oj1a"_s),
                                                taxpayerText(dm, u"Ojp3"_s));
    const QString name = yearEndArchiveName(taxpayerText(dm, u"R"_s), stem, QDateTime::currentDateTime());
    const QString dataSetPath = dm.Danove.directory();
    const QString dataSetDir = dirs.dataSetDir.isEmpty() ? QDir(dataSetPath).dirName() : dirs.dataSetDir;
    // The tables stay open, and so the data set stays this instance's, while the archive is
    // written: nothing is being written to them meanwhile.

    const QString folder = yearEndArchiveFolder(dirs);
    const bool folderReady = QDir().mkpath(folder);
    // The plain name is never overwritten: a second archive of the same year takes the
    // data-set directory into its name, and a later one replaces that second archive.
    QString path = folder + name + u".zip"_s;
    if (QFileInfo::exists(path))
        path = folder + name + u" - "_s + dataSetDir + u".zip"_s;
    // The data-set ini holds settings rather than the year's figures, the lock files belong
    // to the running instances, and journals and temporary copies are not data.
    backup::ArchiveOptions options;
    options.excludedNames = {dataSetDir + u".ini"_s, QLatin1String(engine::kUsersLockFile),
                             QLatin1String(engine::kDirectoryLockFile)};
    options.exclude = [](const QFileInfo &entry) { return entry.isFile() && engine::isWorkFile(entry.fileName()); };
    // The archive replaces an older one only once it is complete, and nothing is emptied
    // before that: a full disk or an unwritable folder must not cost the year's data.
    if (!folderReady || !backup::archiveDirectory(dataSetPath, path, options)) {
        busy.reset();
        prompter.error(u"Soubor "_s + path + u" nelze vytvořit."_s);
        return false;
    }
    engine::crashPoint("new-year:archived");

    {
        // The emptied year, the first period and the carried coefficient are one change.
        QList<engine::Table *> tables = tablesOf(dm, withRegister(32, 39));
        tables.append(dm.Prp.get());
        const OpenedForChange opened(tables);
        engine::GroupTransaction change(tables);
        resetToTemplates(dm, withRegister(32, 39));
        if (dm.Prp->field(u"Cislo"_s).asInteger() != 1)
            ZmenaObdobi(dm);
        dm.Prp->edit();
        dm.Prp->field(u"P6"_s).clear();
        dm.Prp->post();
        carryCoefficient(dm);
        change.commit();
    }
    dm.Obnovit1();
    dm.NazevDp1();
    showDone(dm, u"Akce nový rok byla provedena."_s);
    return true;
}

}  // namespace rur::datasets
