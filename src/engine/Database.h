#pragma once

#include <QList>
#include <QString>
#include <memory>

namespace rur::engine {

class LockFile;
class Table;

// A database alias (Danove, Nazvy): a directory of table files. Changing the directory
// disconnects it, which closes every table opened through it.
class Database {
public:
    explicit Database(QString aliasName);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    QString aliasName() const { return alias_; }
    QString directory() const { return directory_; }  // ends in '/'
    void setDirectory(const QString &directory);
    QString filePath(const QString &fileName) const { return directory_ + fileName; }

    bool isConnected() const { return connected_; }
    // Connecting marks the directory as used by this instance (a shared lock on its
    // Paradox.lck), so that stale-lock cleaners of other instances leave it alone.
    void connect();
    void disconnect();

private:
    friend class Table;
    void attach(Table *table);
    void detach(Table *table);

    QString alias_;
    QString directory_;
    bool connected_ = false;
    std::unique_ptr<LockFile> directoryLock_;
    QList<Table *> tables_;
};

QString withTrailingSlash(const QString &directory);

}  // namespace rur::engine
