// Files the program reads are untrusted: damaged tables, foreign tables, devices, pipes, huge
// settings files. Each is refused with a Czech message, quickly, and leaves every file of the
// data root as it was.
#include "support/filled_return.h"
#include "support/test_root.h"

#include "data/DataM1.h"
#include "engine/Sqlite.h"
#include "support/printers.h"
#include "support/run_cli.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Result = rur::testing::CliResult;

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.createDataSet(u"D1"_s);
        root.addCatalogueRow(1, u"První"_s);
    }
    Result run(const QStringList &args, const QString &workingDir = {})
    {
        rur::testing::CliOptions options;
        options.workingDir = workingDir;
        options.timeoutMs = 20000;
        Result r = rur::testing::cli(QStringList{u"--root"_s, root.path()} + args, options);
        r.err = r.err.trimmed();
        return r;
    }
    // Every file of the data root but the lock files, which belong to running programs.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> all = rur::testing::snapshot(root.path(), true);
        all.removeIf([](const auto &entry) { return entry.key().endsWith(u".lck"_s); });
        return all;
    }
    void write(const QString &path, const QByteArray &bytes) const
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void sql(const QString &path, const QString &statements) const
    {
        rur::engine::SqliteFile db;
        QString error;
        ASSERT_TRUE(db.open(path, true, &error)) << error.toStdString();
        db.exec(statements);
    }

    rur::testing::TestRoot root;
};

const QString kOpenFailed = u"Nepodařilo se otevřít všechny tabulky."_s;

TEST_F(HostileFiles, ATruncatedTableIsRefusedAndNeverRewritten)
{
    const QByteArray whole = read(root.dataSet() + u"Prp.DB"_s);
    ASSERT_GT(whole.size(), 4096);
    for (const int length : {100, 4096, 6000, int(whole.size()) - 1}) {
        write(root.dataSet() + u"Prp.DB"_s, whole.left(length));
        const auto before = files();
        for (const QStringList &command : {QStringList{u"show"_s, u"1"_s, u"Prp"_s},
                                           QStringList{u"set"_s, u"1"_s, u"Prp"_s, u"Tel=123"_s}}) {
            const Result r = run(command);
            EXPECT_EQ(r.exitCode, 1) << length;
            EXPECT_EQ(r.err, kOpenFailed + u"\nTabulka Prp.DB je poškozená nebo nečitelná."_s) << length;
        }
        EXPECT_EQ(files(), before) << length;
    }
}

TEST_F(HostileFiles, AFileHoldingAnotherTableStaysUntouched)
{
    QFile::remove(root.dataSet() + u"Prp.DB"_s);
    sql(root.dataSet() + u"Prp.DB"_s, u"CREATE TABLE Foo (a TEXT); INSERT INTO Foo VALUES ('cizí data')"_s);
    const auto before = files();
    const Result r = run({u"open"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, kOpenFailed + u"\nTabulka Prp.DB je poškozená nebo nečitelná."_s);
    EXPECT_EQ(files(), before);
}

TEST_F(HostileFiles, AValueThatDoesNotFitItsColumnMakesTheTableDamaged)
{
    const struct {
        QString table, statement;
    } cases[] = {
        {u"Dtabn1"_s, u"UPDATE Dtabn1 SET C210 = '12 345 Kč'"_s},
        {u"Prp"_s, u"UPDATE Prp SET Cislo = 1.5"_s},
        {u"Prp"_s, u"UPDATE Prp SET Ddp = '32.13.2018'"_s},
        // What the file format forbids: bytes, a time after the date, text that is not UTF-8
        // or holds a NUL, none of which a field can show or a filing file carry.
        {u"Prp"_s, u"UPDATE Prp SET Dic = x'0102'"_s},
        {u"Prp"_s, u"UPDATE Prp SET Ddp = '2018-01-15 10:00:00'"_s},
        {u"Prp"_s, u"UPDATE Prp SET Oj1a = CAST(x'C328' AS TEXT)"_s},
        {u"Prp"_s, u"UPDATE Prp SET Oj1a = CAST(x'410042' AS TEXT)"_s},
        // Anything beside the table changes what reading or writing it does.
        {u"Dtabn1"_s, u"CREATE TRIGGER zamek BEFORE UPDATE ON Dtabn1 BEGIN SELECT RAISE(ABORT, 'zablokovano'); END"_s},
        {u"Dtabn1"_s, u"CREATE TABLE Jina (a TEXT)"_s},
        {u"Dtabn1"_s, u"CREATE VIEW Pohled AS SELECT * FROM Dtabn1"_s},
        {u"Dtabn1"_s, u"ALTER TABLE Dtabn1 RENAME TO Stara; CREATE VIEW Dtabn1 AS SELECT * FROM Stara"_s},
    };
    for (const auto &c : cases) {
        const QString path = root.dataSet() + c.table + u".DB"_s;
        const QByteArray good = read(path);
        sql(path, c.statement);
        const auto before = files();
        const Result r = run({u"set"_s, u"1"_s, c.table, u"C10=1"_s});
        EXPECT_EQ(r.exitCode, 1) << c.statement.toStdString();
        EXPECT_EQ(r.err, kOpenFailed + u"\nTabulka "_s + c.table + u".DB je poškozená nebo nečitelná."_s);
        EXPECT_EQ(files(), before) << c.statement.toStdString();
        write(path, good);
    }
}

TEST_F(HostileFiles, ADamagedTemplateReplacesNoGoodTable)
{
    // Each procedure with a damaged template of a table it empties.
    for (const auto &[procedure, table] : {std::pair{u"clear-period"_s, u"Dtabn2.DB"_s},
                                           std::pair{u"clear-year"_s, u"Dtabn2s.DB"_s},
                                           std::pair{u"new-year"_s, u"Dtabn2.DB"_s}}) {
        const QString templ = root.path() + u"Data/"_s + table;
        const QByteArray good = read(templ);
        write(templ, good.left(3000));
        const auto before = files();
        const Result r = run({procedure, u"1"_s});
        EXPECT_EQ(r.exitCode, 1) << procedure.toStdString();
        EXPECT_EQ(r.err, u"Šablona tabulky "_s + table + u" v adresáři "_s + root.path() + u"Data/ je poškozená nebo nečitelná."_s)
            << procedure.toStdString();
        EXPECT_EQ(files(), before) << procedure.toStdString();
        write(templ, good);
    }
    write(root.path() + u"Data/Dtabn2.DB"_s, read(root.path() + u"Data/Dtabn2.DB"_s).left(3000));
    EXPECT_EQ(run({u"open"_s, u"1"_s}).exitCode, 0);
    // A new data set is not made from it either.
    const Result created = run({u"create"_s, u"Nová"_s});
    EXPECT_EQ(created.exitCode, 1);
    EXPECT_TRUE(created.err.startsWith(u"Šablona tabulky Dtabn2.DB"_s)) << created.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(root.path() + u"D2"_s));
}

TEST_F(HostileFiles, DevicesAndPipesNeitherHangNorFillTheDisk)
{
    // A template linked to an endless device, and one that is a pipe nobody writes to.
    const QString dzal = root.path() + u"Data/Dzal1.DB"_s;
    QFile::remove(dzal);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, dzal));
    Result r = run({u"create"_s, u"Nová"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_LT(r.elapsedMs, 10000);
    EXPECT_EQ(r.err, u"Šablona tabulky Dzal1.DB v adresáři "_s + root.path() + u"Data/ je poškozená nebo nečitelná."_s);
    QFile::remove(dzal);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dzal).constData(), 0600), 0);
    r = run({u"new-year"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err, u"(hangs)"_s);

    // Settings files: the program's own and the data set's.
    const QString expectedEnd = u" je příliš velký nebo to není obyčejný soubor. Nastavení z něj nelze použít."_s;
    const QString dph = root.path() + u"Dph.ini"_s;
    QFile::remove(dph);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, dph));
    r = run({u"sets"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Soubor nastavení "_s + dph + expectedEnd);
    QFile::remove(dph);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dph).constData(), 0600), 0);
    EXPECT_EQ(run({u"sets"_s}).err, u"Soubor nastavení "_s + dph + expectedEnd);
    QFile::remove(dph);

    const QString setIni = root.dataSet() + u"D1.ini"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(setIni).constData(), 0600), 0);
    r = run({u"show"_s, u"1"_s, u"Prp"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Soubor nastavení "_s + setIni + expectedEnd);
}

TEST_F(HostileFiles, AHugeSettingsFileIsRefusedQuickly)
{
    const QString dph = root.path() + u"Dph.ini"_s;
    QByteArray huge = "[Dph]\nRazeni=1\n";
    huge += QByteArray(50 << 20, 'x');
    write(dph, huge);
    const Result r = run({u"create"_s, u"Nová"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_LT(r.elapsedMs, 5000);
    EXPECT_EQ(r.err, u"Soubor nastavení "_s + dph
                         + u" je příliš velký nebo to není obyčejný soubor. Nastavení z něj nelze použít."_s);
    EXPECT_EQ(QFileInfo(dph).size(), huge.size());
}

TEST_F(HostileFiles, SmallOnes)
{
    // A relative output path lands where the command was started, not in the data root.
    QTemporaryDir here;
    const Result xml = run({u"xml"_s, u"1"_s, u"--out"_s, u"podani.xml"_s}, here.path());
    EXPECT_EQ(xml.exitCode, 0) << xml.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(here.filePath(u"podani.xml"_s)));
    EXPECT_FALSE(QFileInfo::exists(root.path() + u"podani.xml"_s));

    // A character outside the Basic Multilingual Plane is kept whole or left out where the
    // program cuts a text to its field; typed, a text that long is refused.
    rur::testing::withDataSet(root, [](rur::data::TDM1 &dm) {
        rur::testing::setRow(*dm.Prp, {{u"Tel"_s, u"12345678901😀"_s}});
    });
    EXPECT_TRUE(run({u"show"_s, u"1"_s, u"Prp"_s}).out.contains(u"\"Tel\": \"12345678901\""_s));
    EXPECT_EQ(run({u"set"_s, u"1"_s, u"Prp"_s, u"Tel=12345678901😀"_s}).exitCode, 1);

    // Names with control characters would break every list of data sets.
    for (const QString &name : {u"A\tB"_s, u"A\nB"_s}) {
        const Result r = run({u"create"_s, name});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, u"Název RUR nesmí obsahovat řídicí znaky (tabulátor, konec řádku)."_s);
    }
    EXPECT_EQ(run({u"rename"_s, u"1"_s, u"X\tY"_s}).exitCode, 1);
    EXPECT_EQ(run({u"sets"_s}).out, u"1\tPrvní\tD1\n"_s);

    // Every table of the data set takes typed values, also those no window keeps open.
    for (const QString &table : {u"Dtab1"_s, u"Dtab1s"_s, u"Dpsn1"_s, u"Mban1"_s}) {
        const Result r = run({u"set"_s, u"1"_s, table, u"Cislo=1"_s});
        EXPECT_NE(r.err, u"Tabulka "_s + table + u" není otevřená."_s);
    }
    const Result maz = run({u"set"_s, u"1"_s, u"Maz"_s, u"Fa=Odběratel s.r.o."_s});
    EXPECT_EQ(maz.exitCode, 0) << maz.err.toStdString();
    EXPECT_TRUE(run({u"show"_s, u"1"_s, u"Maz"_s, u"--all"_s}).out.contains(u"Odběratel s.r.o."_s));
}

}  // namespace
