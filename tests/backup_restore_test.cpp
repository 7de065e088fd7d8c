// Backing a data set up into a ZIP archive and restoring it: the choices, archives of older
// editions and of other data sets, crafted and damaged archives, and restores killed midway.
#include "app/Directories.h"
#include "backup/Backup.h"
#include "backup/FileSwap.h"
#include "backup/Restore.h"
#include "backup/ZipArchive.h"
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
using Message = platform::ScriptedPrompter::Message;

namespace {

// Every file under a folder, hidden ones and subfolders included, by relative path.
QMap<QString, QByteArray> allFiles(const QString &dir)
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

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The rows of every table of a data-set directory, read as the program reads them.
QMap<QString, QString> tableRows(const QString &dir)
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
void craftArchive(const QString &path, const QList<Member> &members)
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
        root.createDataSet();
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.notFound = false;
        datasets::openDataSet(dm, dirs, u"D1"_s);
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
    app::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    backup::ArchiveJob job{dm, dirs, prompter};
    QString archive;
};

}  // namespace

TEST_F(BackupRestore, EachChoiceBringsBackItsTablesAndKeepsTheRest)
{
    fill(u"Archivní s.r.o."_s, 1000);
    writeFile(d1() + u"D1.ini"_s, "[Cesty]\n0=x.zip\n");
    writeFile(d1() + u"poznamka.txt"_s, "navic");
    ASSERT_TRUE(backupTo(archive));
    EXPECT_EQ(messages(Message::Information), QStringList{u"Data byla zazálohována."_s});
    // The live ini, with the backup just recorded in it.
    const QByteArray liveIni = readFile(d1() + u"D1.ini"_s);
    EXPECT_TRUE(liveIni.startsWith("[Cesty]\n0=x.zip\n")) << liveIni.toStdString();
    EXPECT_TRUE(liveIni.contains("[Prehled]")) << liveIni.toStdString();
    QStringList members = backup::archiveMembers(archive);
    EXPECT_FALSE(members.contains(u"D1.ini"_s));
    EXPECT_FALSE(members.contains(u"Pdoxusrs.lck"_s));
    EXPECT_TRUE(members.contains(u"poznamka.txt"_s));
    const int listed = int(data::dataFileList().size());
    ASSERT_EQ(listed, 52);
    for (const QString &name : data::tableFiles(1, listed))
        EXPECT_TRUE(members.contains(name)) << name.toStdString();
    EXPECT_TRUE(members.contains(u"Dkh.DB"_s));
    const auto archived = tableRows(d1());

    fill(u"Nová a.s."_s, 2000);
    const auto changed = tableRows(d1());
    ASSERT_NE(changed, archived);
    const auto expect = [&](const QStringList &fromArchive) {
        auto expected = changed;
        for (const QString &name : fromArchive)
            expected[name] = archived[name];
        EXPECT_EQ(tableRows(d1()), expected);
    };

    prompter.messages.clear();
    ASSERT_TRUE(restore(archive, backup::ObnovitAdresar));
    EXPECT_EQ(messages(Message::Information), QStringList{u"Data byla obnovena."_s});
    expect({u"Maz"_s});
    ASSERT_TRUE(restore(archive, backup::ObnovitDopisy));
    expect({u"Maz"_s, u"Mdp"_s});
    ASSERT_TRUE(restore(archive, backup::ObnovitBezPoplatnika));
    auto allButTaxpayer = changed.keys();
    allButTaxpayer.removeAll(u"Prp"_s);
    allButTaxpayer.removeAll(u"Prppz"_s);
    ASSERT_TRUE(allButTaxpayer.contains(u"Dkh"_s));  // the register of the period comes back
    expect(allButTaxpayer);
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Nová a.s."_s);
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000.0);

    ASSERT_TRUE(restore(archive, backup::ObnovitVse));
    EXPECT_EQ(tableRows(d1()), archived);
    EXPECT_TRUE(dm.tablesOpen());
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Archivní s.r.o."_s);
    EXPECT_TRUE(messages(Message::Error).isEmpty()) << messages(Message::Error).join(u'\n').toStdString();
    // Neither the safety archive nor any working folder stays behind, and the ini is the live one.
    EXPECT_FALSE(QFileInfo::exists(d1() + u"Zaloha"_s));
    EXPECT_TRUE(QDir(d1()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(readFile(d1() + u"D1.ini"_s), liveIni);
}

TEST_F(BackupRestore, ABackupReplacesAnArchiveOnlyWhenItIsComplete)
{
    ASSERT_TRUE(backupTo(archive));
    writeFile(d1() + u"druhy.txt"_s, "2");
    ASSERT_TRUE(backupTo(archive));
    EXPECT_TRUE(backup::archiveMembers(archive).contains(u"druhy.txt"_s));
    const QByteArray good = readFile(archive);

    // A table file missing from the data set makes no archive; the older one stays.
    prompter.messages.clear();
    QFile::remove(d1() + u"Mdp.DB"_s);
    EXPECT_FALSE(backupTo(archive));
    EXPECT_EQ(messages(Message::Error), QStringList{u"Soubor "_s + archive + u" nelze vytvořit."_s});
    EXPECT_EQ(readFile(archive), good);
    EXPECT_TRUE(QFile::exists(d1() + u"Mdp.DB"_s));  // the reopening brought an empty one

    // Never over a file of the data set itself.
    const QByteArray prp = readFile(d1() + u"Prp.DB"_s);
    EXPECT_FALSE(backupTo(d1() + u"Prp.DB"_s));
    EXPECT_EQ(readFile(d1() + u"Prp.DB"_s), prp);

    // Paths the template could not resolve, a No and an empty path write nothing.
    prompter.messages.clear();
    EXPECT_FALSE(backupTo(u"Nastavte písmeno disku (např. F:)."_s));
    prompter.answers = {platform::Prompter::Answer::No};
    EXPECT_FALSE(backupTo(work.path() + u"/ne.zip"_s));
    EXPECT_FALSE(backupTo(QString()));
    EXPECT_EQ(prompter.texts(), (QStringList{u"Nastavte správně cestu."_s, u"Opravdu chcete zazálohovat data ?"_s,
                                             u"Opravdu chcete zazálohovat data ?"_s,
                                             u"Zadejte cestu pro zálohování dat."_s}));
    EXPECT_FALSE(QFile::exists(work.path() + u"/ne.zip"_s));

    // A safety archive left by an earlier restore is not part of the backup.
    writeFile(backup::safetyArchivePath(d1()), "stará záloha");
    ASSERT_TRUE(backupTo(archive));
    EXPECT_FALSE(QFileInfo::exists(d1() + u"Zaloha"_s));
    EXPECT_FALSE(backup::archiveMembers(archive).contains(u"Zaloha/Zaloha.zip"_s));
}

TEST_F(BackupRestore, ImplausibleArchivesAreRefusedWithNothingChanged)
{
    fill(u"Živá"_s, 3000);
    const auto before = allFiles(d1());
    const auto unchanged = [&](const char *what) {
        EXPECT_EQ(allFiles(d1()), before) << what;
        EXPECT_EQ(messages(Message::Error).value(messages(Message::Error).size() - 1),
                  u"Chyba při obnově datových souborů."_s)
            << what;
        prompter.messages.clear();
    };

    // Letters asked for, none in the archive.
    craftArchive(archive, tableMembers({u"Mdp.DB"_s}));
    EXPECT_FALSE(restore(archive, backup::ObnovitDopisy));
    unchanged("bez dopisů");

    // Five table files are no backup of a data set, for "vše" and "vše bez údajů".
    craftArchive(archive, tableMembers().mid(0, 5));
    EXPECT_FALSE(restore(archive, backup::ObnovitVse));
    unchanged("pět souborů");
    EXPECT_FALSE(restore(archive, backup::ObnovitBezPoplatnika));
    unchanged("pět souborů bez poplatníka");

    // An archive that is not where the path says.
    EXPECT_FALSE(restore(work.path() + u"/chybi.zip"_s, backup::ObnovitVse));
    EXPECT_EQ(prompter.texts().last(), u"Soubor chybi.zip nebyl nalezen, zkontrolujte správnost cesty."_s);
    EXPECT_EQ(allFiles(d1()), before);
}

TEST_F(BackupRestore, AnArchiveOfAnOlderEditionLeavesTheNewerTablesToBeCreatedEmpty)
{
    // The older edition had no current-return tables of this layout, no finished returns of
    // it and no attachment, and its taxpayer table lacked the tax office columns.
    QList<Member> members = tableMembers(data::tableFiles(33, 51) + QStringList{u"Prp.DB"_s});
    const QString old = work.path() + u"/old/"_s;
    QDir().mkpath(old);
    engine::createTableFile(old + u"Prp.DB"_s, data::prpDef().without({u"Fusp"_s, u"Fuz"_s}),
                            {{{u"Oj1a"_s, u"Stará firma"_s}, {u"M"_s, u"březen"_s}, {u"Cislo"_s, 3},
                              {u"R"_s, u"2017"_s}, {u"Fuc"_s, 451}}});
    members.append({u"Prp.DB"_s, readFile(old + u"Prp.DB"_s)});
    craftArchive(archive, members);

    fill(u"Nová"_s, 5000);
    // "vše bez údajů o poplatníkovi" from it: the current period's tables, the register of
    // documents among them, come back empty; the taxpayer stays.
    ASSERT_TRUE(restore(archive, backup::ObnovitBezPoplatnika)) << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Nová"_s);
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 0.0);
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 0);
    fill(u"Nová"_s, 5000);
    ASSERT_TRUE(restore(archive, backup::ObnovitVse)) << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Stará firma"_s);
    EXPECT_TRUE(dm.Prp->hasField(u"Fusp"_s));
    EXPECT_TRUE(dm.Prp->field(u"Fuc"_s).isNull());  // emptied as the column addition does
    // The return and the attachment came back as their empty templates, not as the live ones.
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 0.0);
    EXPECT_EQ(dm.Dtabn1s->recordCount(), 0);
    EXPECT_TRUE(dm.Prppz->field(u"Poz"_s).isNull());
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 0);  // the archive had no register: it is made empty
    EXPECT_EQ(rur::testing::fileColumns(d1() + u"Prp.DB"_s).contains(u"Fuz"_s), true);
}

// A backup the earlier Windows edition made: its tables Paradox files, the memos of the
// letters, the address book and the taxpayer's notes in memo files beside them, and the
// lock files and indexes of the Paradox engine among the members.
TEST_F(BackupRestore, AnArchiveOfAnEarlierWindowsEditionHoldsParadoxTables)
{
    fill(u"Žluťoučký kůň s.r.o."_s, 1000);
    setValues(*dm.Mdp, {{u"Nazev"_s, u"Dlouhý dopis"_s}, {u"Text"_s, u"Vážení, ďábelské ódy.\r\n"_s.repeated(300)}}, true);
    const auto before = tableRows(d1());
    const QString old = work.path() + u"/paradox/"_s;
    QList<Member> members;
    for (const engine::TableDef &def : data::dataSetTableDefs()) {
        QDir().mkpath(old);
        QFile::copy(d1() + def.fileName, old + def.fileName);
        rur::testing::rewriteAsParadox(old + def.fileName, def);
        members.append({def.fileName, readFile(old + def.fileName)});
        const QString memos = def.name + u".MB"_s;
        if (QFile::exists(old + memos))
            members.append({memos, readFile(old + memos)});
    }
    members += {{u"Pdoxusrs.lck"_s, "NET\x01"}, {u"Paradox.lck"_s, "\x02"}, {u"Mdp.PX"_s, QByteArray(2048, '\x01')}};
    craftArchive(archive, members);

    fill(u"Nová"_s, 5000);
    ASSERT_TRUE(restore(archive, backup::ObnovitVse)) << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(tableRows(d1()), before);
    // Neither the memo files nor the index nor the other engine's lock files came along.
    const QStringList left = QDir(d1()).entryList({u"*.MB"_s, u"*.PX"_s}, QDir::Files);
    EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
    EXPECT_NE(readFile(d1() + u"Paradox.lck"_s), "\x02");
    EXPECT_NE(readFile(d1() + u"Pdoxusrs.lck"_s), "NET\x01");

    // A Paradox table cut short: nothing restored, the table named.
    const auto now = allFiles(d1());
    members.removeIf([](const Member &m) { return m.name == u"Prp.DB"_s; });
    QByteArray prp = readFile(old + u"Prp.DB"_s);
    prp.chop(1000);
    members.append({u"Prp.DB"_s, prp});
    craftArchive(archive, members);
    prompter.messages.clear();
    EXPECT_FALSE(restore(archive, backup::ObnovitVse));
    EXPECT_TRUE(prompter.texts().contains(u"Tabulka Prp.DB je poškozená nebo nečitelná."_s))
        << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(allFiles(d1()), now);
}

TEST_F(BackupRestore, AnArchiveOfOneDataSetRestoresIntoAnother)
{
    fill(u"Firma z D1"_s, 700);
    ASSERT_TRUE(backupTo(archive));
    const auto first = tableRows(d1());

    root.createDataSet(u"D2"_s);
    datasets::openDataSet(dm, dirs, u"D2"_s);
    ASSERT_TRUE(restore(archive, backup::ObnovitVse));
    EXPECT_EQ(tableRows(root.dataSet(u"D2"_s)), first);
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Firma z D1"_s);
}

TEST_F(BackupRestore, CraftedAndDamagedArchivesAreRefusedWithNothingChanged)
{
    ASSERT_TRUE(backupTo(archive));
    const QByteArray good = readFile(archive);
    fill(u"Živá"_s, 3000);
    const auto before = allFiles(d1());
    const QString outside = work.path() + u"/venku.DB"_s;

    struct Case {
        const char *what;
        std::function<void()> make;
        QString firstError;  // the message before "Chyba při obnově datových souborů."
    };
    const QString cannotOpen = u"Soubor "_s + archive + u" nelze otevřít."_s;
    const QByteArray zeros(4 << 20, '\0');
    const QList<Case> cases{
        {"../ jméno", [&] { craftArchive(archive, tableMembers() << Member{u"../venku.DB"_s, "x"}); }, cannotOpen},
        {"absolutní jméno", [&] { craftArchive(archive, tableMembers() << Member{outside, "x"}); }, cannotOpen},
        {"symbolický odkaz",
         [&] {
             craftArchive(archive, tableMembers({u"Dcis.DB"_s}) << Member{u"Dcis.DB"_s, outside.toUtf8(), S_IFLNK | 0777});
         },
         cannotOpen},
        {"dvakrát totéž jméno",
         [&] { craftArchive(archive, tableMembers() << Member{u"PRP.DB"_s, readFile(d1() + u"Prp.DB"_s)}); }, cannotOpen},
        {"useknutý archiv", [&] { writeFile(archive, good.left(good.size() / 2)); }, cannotOpen},
        {"náhodné bajty",
         [&] {
             QByteArray noise;
             for (int i = 0; i < 5000; ++i)
                 noise.append(char((i * 7919 + 13) % 251));
             writeFile(archive, noise);
         },
         cannotOpen},
        {"bomba", [&] { craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, zeros}); }, cannotOpen},
        {"soubor, který není tabulkou",
         [&] { craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, "Adresář\r\nnení tabulka"}); },
         QString()},
        {"tabulka s poškozenou stránkou",
         [&] {
             QByteArray maz = readFile(d1() + u"Maz.DB"_s);
             ASSERT_GT(maz.size(), 3 * 4096);
             for (qsizetype i = 2 * 4096 + 8; i < 3 * 4096; ++i)
                 maz[i] = char(i * 31);
             craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, maz});
         },
         QString()},
        // Tables that SQLite finds whole but that opening them would refuse: a value that
        // does not fit its field, something beside the table.
        {"text v číselném poli",
         [&] { craftArchive(archive, tableMembers({u"Dtabn1.DB"_s}) << changedTable(u"Dtabn1.DB"_s, u"UPDATE Dtabn1 SET C210 = 'abc'"_s)); },
         QString()},
        {"bajty v číselném poli",
         [&] { craftArchive(archive, tableMembers({u"Dtabn1.DB"_s}) << changedTable(u"Dtabn1.DB"_s, u"UPDATE Dtabn1 SET C210 = x'00ff'"_s)); },
         QString()},
        {"pohled jménem tabulky",
         [&] {
             craftArchive(archive, tableMembers({u"Dtabn1.DB"_s})
                                       << changedTable(u"Dtabn1.DB"_s, u"ALTER TABLE Dtabn1 RENAME TO Jina; "
                                                                       u"CREATE VIEW Dtabn1 AS SELECT * FROM Jina"_s));
         },
         QString()},
        {"spoušť",
         [&] {
             craftArchive(archive, tableMembers({u"Dtabn1.DB"_s})
                                       << changedTable(u"Dtabn1.DB"_s, u"CREATE TRIGGER zamek BEFORE UPDATE ON Dtabn1 "
                                                                       u"BEGIN SELECT RAISE(ABORT, 'zablokovano'); END"_s));
         },
         QString()},
        {"člen větší než tabulka podle hlavičky",
         [&] {
             // The sizes in both headers say 3.75 GiB: refused before a byte is written.
             craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, "x"});
             QByteArray bytes = readFile(archive);
             const qsizetype local = bytes.lastIndexOf(QByteArray("PK\x03\x04", 4));
             const qsizetype central = bytes.lastIndexOf(QByteArray("PK\x01\x02", 4));
             ASSERT_GT(local, 0);
             ASSERT_GT(central, 0);
             for (const qsizetype at : {local + 22, central + 24})
                 bytes.replace(at, 4, QByteArray("\x00\x00\x00\xf0", 4));
             writeFile(archive, bytes);
         },
         cannotOpen},
        {"tabulka bez sloupce, který otevření nedoplní",
         [&] {
             const QString old = work.path() + u"/old/"_s;
             QDir().mkpath(old);
             QFile::remove(old + u"Maz.DB"_s);
             engine::createTableFile(old + u"Maz.DB"_s, data::mazDef().without({u"Email"_s}));
             craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, readFile(old + u"Maz.DB"_s)});
         },
         QString()},
    };
    job.byteBudget = 1 << 20;  // the bomb need not reach the real limit to be caught
    for (const Case &c : cases) {
        c.make();
        prompter.messages.clear();
        EXPECT_FALSE(restore(archive, backup::ObnovitVse)) << c.what;
        EXPECT_EQ(allFiles(d1()), before) << c.what;
        EXPECT_FALSE(QFile::exists(outside)) << c.what;
        QStringList expected{u"Chyba při obnově datových souborů."_s};
        if (!c.firstError.isEmpty())
            expected.prepend(c.firstError);
        EXPECT_EQ(messages(Message::Error), expected) << c.what;
        EXPECT_TRUE(dm.tablesOpen()) << c.what;
    }

    // A member named like a table but in a subfolder is never taken for that table.
    job.byteBudget = backup::kMaxArchiveBytes;
    craftArchive(archive, tableMembers({u"Prp.DB"_s}) << Member{u"x/Prp.DB"_s, "cizí obsah"});
    ASSERT_TRUE(restore(archive, backup::ObnovitVse));
    EXPECT_EQ(readFile(d1() + u"Prp.DB"_s), before.value(u"Prp.DB"_s));
    EXPECT_FALSE(QFileInfo::exists(d1() + u"x"_s));
}

TEST_F(BackupRestore, JournalsInAnArchiveAreNeverExtracted)
{
    // A journal restored beside its table would be played back into it on the next opening.
    fill(u"Archiv"_s, 100);
    const QByteArray journal = "\xd9\xd5\x05\xf9\x20\xa1\x63\xd7 cizí žurnál";
    craftArchive(archive, tableMembers() << Member{u"Dtabn1.DB-journal"_s, journal}
                                         << Member{u".Dtabn1.DB.tmp1-ff"_s, "kopie"});
    fill(u"Živá"_s, 200);
    ASSERT_TRUE(restore(archive, backup::ObnovitVse));
    EXPECT_FALSE(QFileInfo::exists(d1() + u"Dtabn1.DB-journal"_s));
    EXPECT_FALSE(QFileInfo::exists(d1() + u".Dtabn1.DB.tmp1-ff"_s));
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Archiv"_s);

    // And a backup never stores one.
    writeFile(d1() + u"Dtabn1.DB-journal"_s, journal);
    ASSERT_TRUE(backupTo(archive));
    EXPECT_FALSE(backup::archiveMembers(archive).contains(u"Dtabn1.DB-journal"_s));
}

TEST_F(BackupRestore, OldFilesComeBackWhenTheRestoredDataSetDoesNotOpen)
{
    // The archive lacks the current return, which the opening then copies from its template;
    // the template is damaged, so the restored data set can't open.
    fill(u"Živá"_s, 3000);
    craftArchive(archive, tableMembers({u"Dtabn3.DB"_s}));
    writeFile(root.path() + u"Data/Dtabn3.DB"_s, "poškozená šablona");
    const auto before = allFiles(d1());
    EXPECT_FALSE(restore(archive, backup::ObnovitVse));
    EXPECT_EQ(messages(Message::Error).value(messages(Message::Error).size() - 1),
              u"Chyba při obnově datových souborů."_s);
    EXPECT_EQ(allFiles(d1()), before);
    EXPECT_TRUE(dm.tablesOpen());
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Živá"_s);
}

TEST_F(BackupRestore, ARestoreKilledAnywhereLeavesOldOrNewTables)
{
    fill(u"Archiv"_s, 100);
    ASSERT_TRUE(backupTo(archive));
    const auto archived = tableRows(d1());
    fill(u"Živá"_s, 200);
    const auto live = tableRows(d1());
    const auto liveFiles = allFiles(d1());
    ASSERT_NE(archived, live);

    // Killed before the last rename, the restore is undone when the data set is opened next;
    // killed after it, the new tables stand.
    const std::pair<const char *, bool> points[] = {{"restore:after-safety", false}, {"restore:extracting", false},
                                                    {"restore:kept-aside", false},   {"restore:moving", false},
                                                    {"restore:moved", true}};
    for (const auto &[point, restored] : points) {
        dm.closeAll();
        dm.Danove.disconnect();
        QDir(d1()).removeRecursively();
        for (auto it = liveFiles.begin(); it != liveFiles.end(); ++it)
            writeFile(d1() + it.key(), it.value());
        datasets::openDataSet(dm, dirs, u"D1"_s);

        ASSERT_TRUE(rur::testing::killedAt(point, [&] { restore(archive, backup::ObnovitVse); })) << point;
        const auto halfway = tableRows(d1());
        for (auto it = halfway.begin(); it != halfway.end(); ++it)
            EXPECT_TRUE(it.value() == live.value(it.key()) || it.value() == archived.value(it.key()))
                << point << " " << it.key().toStdString();

        dm.closeAll();
        dm.Danove.disconnect();
        ASSERT_NO_THROW(datasets::openDataSet(dm, dirs, u"D1"_s)) << point;
        EXPECT_EQ(tableRows(d1()), restored ? archived : live) << point;
        EXPECT_TRUE(QDir(d1()).entryList({u".*"_s}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty()) << point;
    }
}

TEST(FileSwap, AFailedMovePutsEveryOldFileBack)
{
    QTemporaryDir work;
    const QString dir = work.path() + u"/D1/"_s;
    const QString staging = dir + u".obnova-test/"_s;
    writeFile(dir + u"a.DB"_s, "stará a");
    writeFile(dir + u"b.DB"_s, "stará b");
    writeFile(dir + u"b.DB-journal"_s, "žurnál b");
    writeFile(dir + u"r.DB"_s, "ke smazání");
    writeFile(staging + u"a.DB"_s, "nová a");
    writeFile(staging + u"n.DB"_s, "nová n");
    const auto before = allFiles(dir);

    // b.DB has no new version in the staging folder: its rename fails after a.DB and n.DB moved.
    bool restored = false;
    EXPECT_FALSE(backup::moveIntoPlace(dir, staging, {u"a.DB"_s, u"n.DB"_s, u"b.DB"_s}, {u"r.DB"_s}, &restored));
    EXPECT_TRUE(restored);
    auto expected = before;
    expected.remove(u".obnova-test/a.DB"_s);  // moved in, then replaced by the old file again
    expected.remove(u".obnova-test/n.DB"_s);  // moved in, then removed
    EXPECT_EQ(allFiles(dir), expected);

    // The same without the missing file goes through; the old files wait aside until the data
    // set has opened: brought back, they are all there again (the journal with its table).
    const auto old = allFiles(dir);
    const auto stage = [&] {
        writeFile(staging + u"b.DB"_s, "nová b");
        writeFile(staging + u"n.DB"_s, "nová n");
        writeFile(staging + u"a.DB"_s, "nová a");
    };
    stage();
    ASSERT_TRUE(backup::moveIntoPlace(dir, staging, {u"a.DB"_s, u"n.DB"_s, u"b.DB"_s}, {u"r.DB"_s}, &restored));
    EXPECT_EQ(readFile(dir + u"n.DB"_s), "nová n");
    ASSERT_TRUE(backup::bringBackOldFiles(dir));
    EXPECT_EQ(allFiles(dir), old);

    // Once the data set has opened, they go: the old journal with the old table.
    stage();
    ASSERT_TRUE(backup::moveIntoPlace(dir, staging, {u"a.DB"_s, u"n.DB"_s, u"b.DB"_s}, {u"r.DB"_s}, &restored));
    backup::discardOldFiles(dir);
    QDir(staging).removeRecursively();
    EXPECT_EQ(allFiles(dir), (QMap<QString, QByteArray>{{u"a.DB"_s, "nová a"}, {u"b.DB"_s, "nová b"},
                                                          {u"n.DB"_s, "nová n"}}));

    // A move killed halfway is undone by the next opening, new files without an old one too.
    writeFile(staging + u"a.DB"_s, "třetí a");
    writeFile(staging + u"c.DB"_s, "třetí c");
    auto second = allFiles(dir);
    second.remove(u".obnova-test/a.DB"_s);  // the staging folder of a killed restore goes too
    second.remove(u".obnova-test/c.DB"_s);
    ASSERT_TRUE(rur::testing::killedAt(
        "restore:moving", [&] { backup::moveIntoPlace(dir, staging, {u"a.DB"_s, u"c.DB"_s}, {u"n.DB"_s}); }));
    EXPECT_EQ(readFile(dir + u"a.DB"_s), "třetí a");
    EXPECT_TRUE(backup::finishInterruptedRestore(dir));
    EXPECT_EQ(allFiles(dir), second);
}
