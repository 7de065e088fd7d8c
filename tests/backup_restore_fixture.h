#pragma once

// What the backup and restore tests share: a data set opened in a private data root, archives
// written member by member, and the files and rows of a folder to compare before and after.
#include "backup/Backup.h"
#include "backup/FileSwap.h"
#include "backup/Restore.h"
#include "backup/ZipArchive.h"
#include "base/Directories.h"
#include "data/DataFileList.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "datasets/DataSetAccess.h"
#include "engine/Database.h"
#include "engine/JsonRows.h"
#include "engine/Sqlite.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"
#include "support/files.h"
#include "support/paradox_files.h"
#include "support/test_root.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::readFile;
using rur::testing::writeFile;
using Message = platform::ScriptedPrompter::Message;

namespace backup_restore_tests {

// Every file under a folder, hidden ones and subfolders included, by relative path.
inline QMap<QString, QByteArray> allFiles(const QString &dir)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        out.insert(QDir(dir).relativeFilePath(path), f.open(QIODevice::ReadOnly) ? f.readAll() : "?");
    }
    return out;
}

// The rows of every table of a data-set directory, read as the program reads them.
inline QMap<QString, QString> tableRows(const QString &dir)
{
    QMap<QString, QString> out;
    engine::Database db(u"Kontrola"_s);
    db.setDirectory(dir);
    for (const engine::TableDef &def : data::dataSetTableDefs()) {
        engine::Table t(&db, def);
        try {
            t.open();
            out.insert(def.name, engine::rowsToJson(t));
        } catch (const engine::EngineError &e) {
            out.insert(def.name, u"chyba: "_s + e.message());
        }
    }
    return out;
}

struct Member {
    QString name;
    QByteArray bytes;
    zip_uint32_t mode = 0;  // Unix file type and permissions; 0 keeps libzip's default
};

// An archive built member by member, as another program or an attacker might build it.
inline void craftArchive(const QString &path, const QList<Member> &members)
{
    QFile::remove(path);
    int code = 0;
    zip_t *za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(za, nullptr);
    QList<QByteArray> keep;  // the buffers must live until the archive is written
    for (const Member &m : members) {
        keep.append(m.bytes);
        zip_source_t *src = zip_source_buffer(za, keep.last().constData(), zip_uint64_t(keep.last().size()), 0);
        const zip_int64_t index = zip_file_add(za, m.name.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(index, 0) << m.name.toStdString();
        if (m.mode)
            zip_file_set_external_attributes(za, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX, m.mode << 16);
    }
    ASSERT_EQ(zip_close(za), 0);
}

class BackupRestore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        archive = work.path() + u"/D1.zip"_s;
    }

    QString d1() const { return root.dataSet(); }

    static void setValues(engine::Table &t, const QVariantMap &values, bool append = false)
    {
        append ? t.append() : t.edit();
        for (auto it = values.begin(); it != values.end(); ++it)
            t.field(it.key()).setValue(it.value());
        t.post();
    }

    // Marks the taxpayer, the return, the finished returns, the VAT paid ledger, the address
    // book and the letters of the open data set with a tag.
    void fill(const QString &tag, double amount)
    {
        setValues(*dm.Prp, {{u"Oj1a"_s, tag}});
        setValues(*dm.Prppz, {{u"Poz"_s, tag}});
        setValues(*dm.Dtabn1, {{u"C210"_s, amount}});
        setValues(*dm.Dtabn1s, {{u"Cislo"_s, int(amount) % 12 + 1}, {u"C210"_s, amount}}, true);
        setValues(*dm.Dzal1, {{u"Za1s"_s, amount}});
        dm.Maz->open();
        setValues(*dm.Maz, {{u"Fa"_s, tag}}, true);
        setValues(*dm.Mdp, {{u"Nazev"_s, tag}}, true);
        dm.Dkh->open();
        setValues(*dm.Dkh, {{u"Oddil"_s, u"A4"_s}, {u"Doklad"_s, tag}, {u"Zaklad1"_s, amount}}, true);
    }

    bool backupTo(const QString &path) { return backup::Zalohovat(job, path, false); }
    bool restore(const QString &path, int choice) { return backup::Obnovit(job, path, choice); }

    QStringList messages(Message::Kind kind) const
    {
        QStringList out;
        for (const Message &m : prompter.messages)
            if (m.kind == kind)
                out.append(m.text);
        return out;
    }

    // A table file of the data set changed by SQL, as an archive member.
    Member changedTable(const QString &file, const QString &statements) const
    {
        const QString copy = work.path() + u"/zmena/"_s + file;
        QDir().mkpath(QFileInfo(copy).absolutePath());
        QFile::remove(copy);
        QFile::copy(d1() + file, copy);
        {
            engine::SqliteFile db;
            QString error;
            db.open(copy, false, &error);
            db.exec(statements);
        }
        return {file, readFile(copy)};
    }

    // The table files of the data set as archive members.
    QList<Member> tableMembers(const QStringList &except = {}) const
    {
        QList<Member> out;
        for (const QString &name : data::tableFiles(1, 51))
            if (!except.contains(name))
                out.append({name, readFile(d1() + name)});
        return out;
    }

    rur::testing::TestRoot root;
    QTemporaryDir work;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    backup::ArchiveJob job{dm, dirs, prompter};
    QString archive;
};

}  // namespace backup_restore_tests
