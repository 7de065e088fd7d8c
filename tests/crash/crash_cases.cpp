#include "crash/crash_cases.h"

#include "backup/ZipArchive.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/LockFile.h"
#include "engine/Sqlite.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"
#include "support/editions.h"
#include "support/paradox_files.h"
#include "support/sibling_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace rur::crash {

namespace {

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(path, target);
    }
}

// rur-cli run to the end for preparing a case; a failure stops the test.
void cli(const Workspace &w, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_DATA_HOME"_s, u"/nonexistent-rur-crash"_s);
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(RUR_CLI_PATH), QStringList{u"--root"_s, w.root()} + args);
    p.waitForFinished(120000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error("preparing failed: rur-cli " + args.join(u' ').toStdString() + ": "
                                 + p.readAllStandardError().toStdString());
}

void newDataSet(Workspace &w)
{
    QDir().mkpath(w.aux());
    cli(w, {u"init"_s, w.root()});
    cli(w, {u"create"_s, u"Pekárna"_s});
}

// Figures on the output and deduction side, distinct powers of two so that any mix shows.
void fillReturn(Workspace &w, int scale)
{
    const auto n = [scale](int v) { return QString::number(v * scale); };
    cli(w, {u"set"_s, u"1"_s, u"Dtabn1"_s, u"C210="_s + n(1024), u"C210a="_s + n(256), u"C215="_s + n(512),
            u"C215a="_s + n(64)});
    cli(w, {u"set"_s, u"1"_s, u"Dtabn2"_s, u"C320="_s + n(2048), u"C320a="_s + n(128)});
}

// Every table file of a folder, as text.
void readTables(const QString &folder, const QString &prefix, State *state)
{
    for (const QString &file : QDir(folder).entryList({u"*.DB"_s}, QDir::Files, QDir::Name)) {
        engine::SqliteFile db;
        QString error;
        if (!db.open(folder + file, false, &error, true))
            throw std::runtime_error((folder + file).toStdString() + ": " + error.toStdString());
        QString text;
        try {
            engine::Statement st(db, u"SELECT * FROM "_s + engine::quoteIdentifier(QFileInfo(file).completeBaseName())
                                         + u" ORDER BY rowid"_s);
            while (st.step()) {
                for (int c = 0; c < st.columnCount(); ++c)
                    text += st.column(c).toString() + u'|';
                text += u'\n';
            }
        } catch (const engine::EngineError &e) {
            throw std::runtime_error((folder + file).toStdString() + ": " + e.message().toStdString());
        }
        state->insert(prefix + file, text);
    }
}

// What a killed process may leave in a folder and a whole one never holds.
QStringList leftovers(const QString &folder, bool dataRoot)
{
    QStringList found;
    for (const QFileInfo &entry :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString name = entry.fileName();
        if (name == QLatin1String(engine::kUsersLockFile) || name == QLatin1String(engine::kDirectoryLockFile)
            || name == u".prevod.lck"_s)
            continue;
        const bool safetyFolder = !dataRoot && name == u"Zaloha"_s;
        const bool aside = dataRoot && name.contains(u".puvodni"_s);
        if (name.startsWith(u'.') || engine::isWorkFile(name) || safetyFolder || aside)
            found.append(name);
    }
    return found;
}

void openDataSet(const base::Directories &root, const QString &dir)
{
    base::Directories dirs = root;
    data::TDM1 dm;
    try {
        datasets::openDataSet(dm, dirs, dir);
    } catch (const engine::EngineError &e) {
        throw std::runtime_error(dir.toStdString() + ": " + e.message().toStdString());
    }
}

}  // namespace

// In memory where the system offers it: a kill is not a power cut, so what the procedures
// flush to the disk matters not, and waiting for the disk would only slow the test.
QString workspaceTemplate()
{
    const QFileInfo shm(u"/dev/shm"_s);
    return (shm.isDir() && shm.isWritable() ? u"/dev/shm"_s : QDir::tempPath()) + u"/rur-crash-XXXXXX"_s;
}

Workspace::Workspace() : dir_(std::make_shared<QTemporaryDir>(workspaceTemplate()))
{
    QDir().mkpath(aux());
}

Workspace Workspace::copy() const
{
    Workspace other;
    copyTree(dir_->path() + u'/', other.dir_->path() + u'/');
    return other;
}

State captureAfterOpening(const Workspace &w, Scope scope)
{
    base::Directories dirs;
    dirs.localDataRoot = dirs.dataRoot = w.root();
    dirs.notFound = false;
    platform::ScriptedPrompter prompter;
    State state;
    QStringList sets{u"D1"_s};
    {
        datasets::Catalogue catalogue(dirs, prompter);
        catalogue.prepare();
        if (scope == Scope::DataRoot) {
            sets.clear();
            for (int r = 0; r < catalogue.Data->recordCount(); ++r)
                sets.append(catalogue.Data->storedValue(r, catalogue.Data->def().indexOf(u"Adresar"_s)).toString());
        }
    }
    for (const QString &dir : std::as_const(sets))
        openDataSet(dirs, dir);
    QStringList litter;
    if (scope == Scope::DataRoot) {
        readTables(w.root(), QString(), &state);
        // Folders of data sets that no catalogue row names.
        for (const QString &dir : QDir(w.root()).entryList({u"D*"_s}, QDir::Dirs))
            if (!sets.contains(dir))
                litter.append(dir);
        litter += leftovers(w.root(), true);
    }
    for (const QString &dir : std::as_const(sets)) {
        readTables(w.root() + dir + u'/', dir + u'/', &state);
        for (const QString &name : leftovers(w.root() + dir + u'/', false))
            litter.append(dir + u'/' + name);
    }
    if (!litter.isEmpty())
        state.insert(u"(zbytky)"_s, litter.join(u", "_s));
    return state;
}

QString describeDifference(const State &now, const State &before, const State &after)
{
    QStringList asBefore, asAfter, neither;
    QStringList keys = now.keys() + before.keys() + after.keys();
    keys.removeDuplicates();
    for (const QString &k : std::as_const(keys)) {
        const bool b = now.value(k) == before.value(k), a = now.value(k) == after.value(k);
        if (k == u"(zbytky)"_s && now.contains(k))
            neither.append(u"left behind: "_s + now.value(k));
        else if (b && !a)
            asBefore.append(k);
        else if (a && !b)
            asAfter.append(k);
        else if (!a && !b)
            neither.append(k);
    }
    return u"between: as before %1; as after %2; neither %3"_s.arg(asBefore.join(u' '), asAfter.join(u' '),
                                                                    neither.join(u' '));
}

const QList<CrashCase> &crashCases()
{
    static const QList<CrashCase> cases = [] {
        const auto onD1 = [](const QStringList &tail) {
            return [tail](const Workspace &w) { return QStringList{u"--root"_s, w.root()} + tail; };
        };
        QList<CrashCase> list;
        list.append({u"save-return"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         fillReturn(w, 1);
                     },
                     onD1({u"save-return"_s, u"1"_s})});
        list.append({u"save-last"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         fillReturn(w, 1);
                         cli(w, {u"save-return"_s, u"1"_s});
                         fillReturn(w, 3);
                     },
                     onD1({u"save-last"_s, u"1"_s})});
        list.append({u"clear-period"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         fillReturn(w, 1);
                     },
                     onD1({u"clear-period"_s, u"1"_s})});
        list.append({u"new-year"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         fillReturn(w, 1);
                         cli(w, {u"save-return"_s, u"1"_s});
                         fillReturn(w, 5);
                     },
                     onD1({u"new-year"_s, u"1"_s})});
        list.append({u"restore"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         fillReturn(w, 1);
                         cli(w, {u"save-return"_s, u"1"_s});
                         cli(w, {u"backup"_s, u"1"_s, w.aux() + u"zaloha.zip"_s});
                         fillReturn(w, 7);
                     },
                     [](const Workspace &w) {
                         return QStringList{u"--root"_s, w.root(), u"restore"_s, u"1"_s, w.aux() + u"zaloha.zip"_s};
                     }});
        list.append({u"transfer-journal"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         fillReturn(w, 1);
                         testing::SiblingFolder journal(w.aux() + u"Rizavuv uvaro 2018"_s, u"Pen.ini"_s);
                         journal.addJournal(1, u"D1"_s, u"2018-01-01"_s, u"2018-01-31"_s,
                                            {{u"2018-01-10"_s, 4096, 860, u"1"_s},
                                             {u"2018-01-11"_s, 8192, 1720, u"40"_s},
                                             {u"2018-01-12"_s, 16384, 2458, u"2"_s}});
                     },
                     [](const Workspace &w) {
                         return QStringList{u"--root"_s, w.root(), u"transfer-journal"_s, u"1"_s, u"--journal"_s,
                                            w.aux() + u"Rizavuv uvaro 2018/Data.DB"_s, u"--set"_s, u"1"_s};
                     }});
        list.append({u"abo"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         cli(w, {u"set"_s, u"1"_s, u"Mtt"_s, u"Cui=123-4567890"_s, u"Kbi=0100"_s});
                         for (const char16_t *vs : {u"Vs=1", u"Vs=2", u"Vs=3"})
                             cli(w, {u"append"_s, u"1"_s, u"Mban"_s, u"Cu2=987654321"_s, u"Kod=0800"_s,
                                     QString::fromUtf16(vs), u"Ca=1000"_s, u"Ds=30.04.2099"_s});
                     },
                     [](const Workspace &w) {
                         return QStringList{u"--root"_s, w.root(), u"abo"_s, u"1"_s, u"--out"_s, w.aux() + u"banka.kpc"_s};
                     },
                     [](const Workspace &w, QString *problem) {
                         QFile file(w.aux() + u"banka.kpc"_s);
                         if (file.exists() && (!file.open(QIODevice::ReadOnly) || !file.readAll().endsWith("5 +\r\n")))
                             *problem = u"the ABO file is not whole"_s;
                         return problem->isEmpty();
                     }});
        list.append({u"backup"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         fillReturn(w, 1);
                     },
                     [](const Workspace &w) {
                         return QStringList{u"--root"_s, w.root(), u"backup"_s, u"1"_s, w.aux() + u"zaloha.zip"_s};
                     },
                     [](const Workspace &w, QString *problem) {
                         // The archive is there whole, with every table and no journal, or not at all.
                         const QString path = w.aux() + u"zaloha.zip"_s;
                         if (!QFile::exists(path))
                             return true;
                         const QStringList members = backup::archiveMembers(path);
                         const QStringList tables = QDir(w.root() + u"D1"_s).entryList({u"*.DB"_s}, QDir::Files);
                         for (const QString &t : tables)
                             if (!members.contains(t))
                                 *problem = u"the archive lacks "_s + t;
                         for (const QString &m : members)
                             if (engine::isWorkFile(m))
                                 *problem = u"the archive holds "_s + m;
                         for (const QString &f : QDir(w.aux()).entryList(QDir::Files | QDir::Hidden))
                             if (f.startsWith(u'.'))
                                 *problem = u"left behind: "_s + f;
                         return problem->isEmpty();
                     },
                     false});
        // A backup of an earlier edition: the data set's tables as Paradox files (the letters'
        // memos in a memo file beside them), converted while they are extracted. (Of the
        // current layout: the upgrade of older tables at the reopening is not what this
        // case is about.)
        list.append({u"restore-paradox"_s, Scope::DataSet,
                     [](Workspace &w) {
                         newDataSet(w);
                         fillReturn(w, 1);
                         testing::runSql(w.root() + u"D1/Mdp.DB"_s, u"INSERT INTO Mdp (Nazev, Text) VALUES (?, ?)"_s,
                                         {u"Dopis"_s, u"Vážení, zasíláme přiznání k DPH."_s.repeated(20)});
                         const QString earlier = w.aux() + u"paradox/"_s;
                         QDir().mkpath(earlier);
                         for (const engine::TableDef &def : data::dataSetTableDefs()) {
                             QFile::copy(w.root() + u"D1/"_s + def.fileName, earlier + def.fileName);
                             testing::rewriteAsParadox(earlier + def.fileName, def);
                         }
                         if (!backup::writeDirectoryArchive(earlier, w.aux() + u"zaloha.zip"_s, {}))
                             throw std::runtime_error("the Paradox archive was not written");
                         fillReturn(w, 7);
                     },
                     [](const Workspace &w) {
                         return QStringList{u"--root"_s, w.root(), u"restore"_s, u"1"_s, w.aux() + u"zaloha.zip"_s};
                     }});
        list.append({u"convert"_s, Scope::DataRoot,
                     [](Workspace &w) {
                         QDir().mkpath(w.aux());
                         cli(w, {u"init"_s, w.root()});
                         testing::makeEdition(w.aux() + u"RUR 2017/"_s, {u"Alfa"_s, u"Beta"_s, u"Gama"_s});
                     },
                     [](const Workspace &w) {
                         return QStringList{u"--root"_s, w.root(), u"convert"_s, u"--from"_s, w.aux() + u"RUR 2017"_s};
                     }});
        list.append({u"import"_s, Scope::DataRoot,
                     [](Workspace &w) {
                         QDir().mkpath(w.aux());
                         cli(w, {u"init"_s, w.root()});
                         testing::makeParadoxEdition(w.aux() + u"RUR 2017/"_s, {u"Alfa"_s, u"Beta"_s, u"Gama"_s});
                     },
                     [](const Workspace &w) {
                         return QStringList{u"--root"_s, w.root(), u"import"_s, w.aux() + u"RUR 2017"_s};
                     }});
        return list;
    }();
    return cases;
}

}  // namespace rur::crash
