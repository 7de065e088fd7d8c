#include "support/test_root.h"

#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "data/Templates.h"
#include "datasets/DataSetAccess.h"
#include "engine/Database.h"
#include "engine/Sqlite.h"
#include "engine/Table.h"
#include "engine/TableFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::testing {

TestRoot::TestRoot() : root_(dir_.path() + u"/root/"_s)
{
    data::installDataRoot(root_);
}

QString TestRoot::createDataSet(const QString &dir) const
{
    const QString target = dataSet(dir);
    QDir().mkpath(target);
    const QString templates = root_ + u"Data/"_s;
    for (const engine::TableDef &def : data::dataSetTableDefs()) {
        QFile::remove(target + def.fileName);
        QFile::copy(templates + def.fileName, target + def.fileName);
    }
    return target;
}

void TestRoot::writeOldTable(const QString &dir, const engine::TableDef &def, const QStringList &missingFields,
                             const QList<QVariantMap> &rows) const
{
    const QString path = dataSet(dir) + def.fileName;
    QFile::remove(path);
    engine::createTableFile(path, def.without(missingFields), rows);
}

void TestRoot::addCatalogueRow(int number, const QString &name, const QString &directory) const
{
    engine::Database db(u"Nazvy"_s);
    db.setDirectory(root_);
    engine::Table t(&db, data::catalogueDef());
    t.open();
    t.append();
    t.field(u"Cislo"_s).setValue(number);
    t.field(u"Pozice"_s).setValue(number);
    t.field(u"Nazev"_s).setValue(name);
    t.field(u"Adresar"_s).setValue(directory.isNull() ? u"D"_s + QString::number(number) : directory);
    t.post();
}

void openNewDataSet(const TestRoot &root, base::Directories &dirs, data::TDM1 &dm)
{
    root.createDataSet();
    dirs.localDataRoot = dirs.dataRoot = root.path();
    dirs.notFound = false;
    datasets::openDataSet(dm, dirs, u"D1"_s);
}

void withDataSet(const TestRoot &root, const std::function<void(data::TDM1 &)> &work, const QString &dir)
{
    base::Directories dirs;
    dirs.localDataRoot = dirs.dataRoot = root.path();
    dirs.notFound = false;
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, dir);
    work(dm);
}

QMap<QString, QByteArray> snapshot(const QString &directory, bool recursive)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(directory, QDir::Files | QDir::Hidden,
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            out.insert(recursive ? QDir(directory).relativeFilePath(path) : it.fileName(), f.readAll());
    }
    return out;
}

bool killedAt(const char *point, const std::function<void()> &work)
{
    const pid_t child = fork();
    if (child == 0) {
        engine::setCrashHook([point](const char *name) {
            if (qstrcmp(name, point) == 0)
                raise(SIGKILL);
        });
        try {
            work();
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

QStringList fileColumns(const QString &path)
{
    engine::SqliteFile db;
    QString error;
    if (!db.open(path, false, &error))
        return {};
    engine::Statement st(db, u"SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"_s);
    if (!st.step())
        return {};
    return engine::tableColumns(db, st.columnText(0));
}

}  // namespace rur::testing
