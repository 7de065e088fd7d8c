#include "support/sibling_files.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace rur::testing {

const char kCatalogueTable[] = "CREATE TABLE Data (Cislo INT PRIMARY KEY, Nazev CHAR(20), Adresar CHAR(20))";
const char kJournalTaxpayerTable[] =
    "CREATE TABLE Dosu (Ico CHAR(8), Dic CHAR(15), Rok CHAR(4), Fa CHAR(35), Pr CHAR(16), Jm CHAR(14), Ti CHAR(6), "
    "Mi CHAR(25), Ul CHAR(20), Cd CHAR(8), Psc CHAR(6), Tel CHAR(20), Mi4 CHAR(25), Ul4 CHAR(20), Cd4 CHAR(8), "
    "Psc4 CHAR(6), Tel4 CHAR(20), Dz DATE, Dk DATE, Do1 DATE, Dd1 DATE, Jo1 CHAR(25), Do2 DATE, Dd2 DATE, "
    "Jo2 CHAR(25), Do3 DATE, Dd3 DATE, Jo3 CHAR(25), Dn CHAR(15), Ra BOOLEAN, Zp BOOLEAN, Kof BOOLEAN, Ev BOOLEAN, "
    "Pan BOOLEAN, Sl FLOAT, Sh FLOAT, Dpan BOOLEAN, Dev DATE)";
const char kJournalSettingsTable[] =
    "CREATE TABLE Dmt (Stro SMALLINT, Strd SMALLINT, Dcs SMALLINT, Dce SMALLINT, Cast CHAR(15), Cs SMALLINT, "
    "Ccz SMALLINT, Cck SMALLINT, Ns CHAR(60), Dz DATE, Dk DATE, Dzv DATE, Dkv DATE, Vh SMALLINT, Vs SMALLINT, "
    "Vl SMALLINT, Kop SMALLINT, Pk BOOLEAN, Den BOOLEAN)";
const char kJournalEntriesTable[] =
    "CREATE TABLE Pdev (ID INTEGER PRIMARY KEY AUTOINCREMENT, D DATE, Ad CHAR(2), Cd INT, Pv CHAR(1), Nz CHAR(28), "
    "Ca FLOAT, Sd FLOAT, Zd FLOAT, Dan FLOAT, Cdph CHAR(3), Ncl CHAR(40), Dpan BOOLEAN, Nzp BOOLEAN)";
const char kCorporateTaxpayerTable[] =
    "CREATE TABLE Prp (Fu CHAR(20), Dic CHAR(15), Oj1 CHAR(35), Mi CHAR(16), Psc CHAR(5), Ul CHAR(22), Jmo CHAR(10), "
    "Pro CHAR(22), Pkp CHAR(40), Hp1 CHAR(40), Hp2 CHAR(40))";
const char kPersonalTaxpayerTable[] =
    "CREATE TABLE Dosu (Fuv CHAR(25), Dic CHAR(15), Pr CHAR(16), Jm CHAR(14), Ti CHAR(6), Mi CHAR(25), Ul CHAR(20), "
    "Cd CHAR(8), Psc CHAR(6))";

namespace {

class Connection {
public:
    explicit Connection(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr)
            != SQLITE_OK)
            fail(path);
    }
    ~Connection() { sqlite3_close_v2(db_); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void run(const QString &sql, const QVariantList &values = {})
    {
        if (values.isEmpty()) {
            char *message = nullptr;
            if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
                sqlite3_free(message);
                fail(sql);
            }
            return;
        }
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            fail(sql);
        bind(st, values);
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            fail(sql);
    }
    sqlite3 *handle() const { return db_; }

    static void bind(sqlite3_stmt *st, const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &v = values[i];
            if (v.isNull())
                sqlite3_bind_null(st, i + 1);
            else if (v.typeId() == QMetaType::Double)
                sqlite3_bind_double(st, i + 1, v.toDouble());
            else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Bool)
                sqlite3_bind_int64(st, i + 1, v.toLongLong());
            else
                sqlite3_bind_text(st, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        }
    }

private:
    [[noreturn]] void fail(const QString &what)
    {
        const QString error = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
        throw std::runtime_error((u"sqlite3: "_s + error + u" in "_s + what).toStdString());
    }
    sqlite3 *db_ = nullptr;
};

// INSERT of one row from field names and texts (an empty map inserts a row of NULLs).
void insertRow(Connection &db, const QString &table, const QMap<QString, QString> &values)
{
    if (values.isEmpty()) {
        db.run(u"INSERT INTO "_s + table + u" DEFAULT VALUES"_s);
        return;
    }
    QStringList marks;
    QVariantList bound;
    for (auto it = values.begin(); it != values.end(); ++it) {
        marks.append(u"?"_s);
        bound.append(it.value());
    }
    db.run(u"INSERT INTO "_s + table + u" ("_s + values.keys().join(u", "_s) + u") VALUES ("_s + marks.join(u", "_s)
               + u')',
           bound);
}

QVariant isoDate(const QString &date)
{
    return date.isEmpty() ? QVariant() : QVariant(date);
}

}  // namespace

void runSql(const QString &path, const QString &sql, const QVariantList &values)
{
    Connection db(path);
    db.run(sql, values);
}

void writeJournalEntries(const QString &pdevPath, const QList<JournalEntry> &entries)
{
    Connection db(pdevPath);
    db.run(u"BEGIN"_s);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db.handle(), "INSERT INTO Pdev (D, Ad, Cd, Pv, Nz, Ca, Sd, Zd, Dan, Cdph, Ncl, Dpan, Nzp) "
                                    "VALUES (?, 'PD', 1, 'p', 'Zápis', 0, 21, ?, ?, ?, 'Členění', 0, 0)",
                       -1, &st, nullptr);
    for (const JournalEntry &e : entries) {
        Connection::bind(st, {isoDate(e.date), e.base, e.tax, e.code});
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    db.run(u"COMMIT"_s);
}

SiblingFolder::SiblingFolder(const QString &folder, const QString &iniFile, const QString &iniText)
    : folder_(QDir::cleanPath(folder) + u'/')
{
    QDir().mkpath(folder_);
    QFile ini(folder_ + iniFile);
    if (ini.open(QIODevice::WriteOnly))
        ini.write(iniText.toUtf8());
    runSql(catalogue(), QString::fromLatin1(kCatalogueTable));
}

QString SiblingFolder::addDataSet(int number, const QString &name, const QString &directory)
{
    runSql(catalogue(), u"INSERT INTO Data VALUES (?, ?, ?)"_s, {number, name, directory});
    QDir().mkpath(folder_ + directory);
    return folder_ + directory + u'/';
}

QString SiblingFolder::addJournal(int number, const QString &directory, const QString &from, const QString &to,
                                  const QList<JournalEntry> &entries, const QMap<QString, QString> &taxpayer)
{
    const QString dir = addDataSet(number, u"Deník "_s + QString::number(number), directory);
    {
        Connection dosu(dir + u"Dosu.DB"_s);
        dosu.run(QString::fromLatin1(kJournalTaxpayerTable));
        insertRow(dosu, u"Dosu"_s, taxpayer);
    }
    {
        Connection dmt(dir + u"Dmt.DB"_s);
        dmt.run(QString::fromLatin1(kJournalSettingsTable));
        dmt.run(u"INSERT INTO Dmt (Stro, Cast, Ns, Dz, Dk, Kop, Pk) VALUES (1, '', 'Sloupce', ?, ?, 1, 0)"_s,
                {isoDate(from), isoDate(to)});
    }
    runSql(dir + u"Pdev.DB"_s, QString::fromLatin1(kJournalEntriesTable));
    writeJournalEntries(dir + u"Pdev.DB"_s, entries);
    return dir;
}

QString SiblingFolder::addTaxReturn(int number, const QString &directory, bool corporate,
                                    const QMap<QString, QString> &taxpayer)
{
    const QString dir = addDataSet(number, u"Přiznání "_s + QString::number(number), directory);
    Connection db(dir + (corporate ? u"Prp.DB"_s : u"Dosu.DB"_s));
    db.run(QString::fromLatin1(corporate ? kCorporateTaxpayerTable : kPersonalTaxpayerTable));
    insertRow(db, corporate ? u"Prp"_s : u"Dosu"_s, taxpayer);
    return dir;
}

}  // namespace rur::testing
