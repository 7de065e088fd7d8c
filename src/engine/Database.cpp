#include "engine/Database.h"

#include "engine/LockFile.h"
#include "engine/Table.h"

namespace rur::engine {

QString withTrailingSlash(const QString &directory)
{
    if (directory.isEmpty() || directory.endsWith(u'/'))
        return directory;
    return directory + u'/';
}

Database::Database(QString aliasName) : alias_(std::move(aliasName)) {}

Database::~Database()
{
    disconnect();
    for (Table *t : tables_)
        t->database_ = nullptr;
}

void Database::setDirectory(const QString &directory)
{
    disconnect();
    directory_ = withTrailingSlash(directory);
}

void Database::connect()
{
    if (connected_)
        return;
    directoryLock_ = std::make_unique<LockFile>(directory_ + QLatin1String(kDirectoryLockFile));
    directoryLock_->lockShared(0);  // best effort: a read-only directory still works
    connected_ = true;
}

void Database::disconnect()
{
    const QList<Table *> open = tables_;
    for (Table *t : open)
        t->close();
    directoryLock_.reset();
    connected_ = false;
}

void Database::attach(Table *table)
{
    if (!tables_.contains(table))
        tables_.append(table);
}

void Database::detach(Table *table)
{
    tables_.removeAll(table);
}

}  // namespace rur::engine
