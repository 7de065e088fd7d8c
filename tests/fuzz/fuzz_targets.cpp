#include "fuzz/fuzz_targets.h"

#include "check/ReturnCheck.h"
#include "data/DateInput.h"
#include "engine/EngineError.h"
#include "engine/FilterExpression.h"
#include "engine/ParadoxImport.h"
#include "engine/ParadoxTable.h"
#include "engine/Pxlib.h"
#include "engine/Sqlite.h"
#include "engine/TableCheck.h"
#include "engine/TableDef.h"
#include "engine/TableValues.h"
#include "platform/Cp1250.h"
#include "platform/IniFile.h"
#include "print/XmlText.h"
#include "support/paradox_files.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace rur::fuzz {

namespace {

[[noreturn]] void broken(const char *what, const QByteArray &input)
{
    std::fprintf(stderr, "broken promise: %s\ninput (%lld bytes, hex, first 2000): %s\n", what,
                 static_cast<long long>(input.size()), input.left(2000).toHex().constData());
    std::abort();
}

// The ini reader: whatever the file holds, reading never fails, a write of a plain key
// reads back, and what was there survives the write.
void iniFile(const QByteArray &input)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(u"f.ini"_s);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        f.write(input);
    }
    platform::IniFile ini(path);
    for (const QString &section : ini.sections())
        for (const QString &key : ini.keys(section))
            (void)ini.readInteger(section, key, 0);
    const QStringList before = ini.sections();
    if (!ini.writeString(u"Fuzz"_s, u"Klic"_s, u"Hodnota"_s))
        broken("a plain key could not be written", input);
    platform::IniFile again(path);
    if (again.readString(u"Fuzz"_s, u"Klic"_s) != u"Hodnota"_s)
        broken("a written key did not read back", input);
    for (const QString &section : before)
        if (!again.hasSection(section) && section.compare(u"Fuzz"_s, Qt::CaseInsensitive) != 0)
            broken("a section was lost by a write", input);
}

// Date input: any text gives a date text or the text back, never a crash, and what it
// gives again reads as the same.
void datumAll(const QByteArray &input)
{
    const QDate today(2018, 3, 15);
    const QString text = QString::fromUtf8(input);
    const QString completed = data::DatumAll(text, today);
    if (data::DatumAll(completed, today) != completed && !completed.isEmpty()) {
        // Completing twice may only change what the first pass could not read.
        const QDate first = QDate::fromString(completed, u"dd.MM.yyyy"_s);
        if (first.isValid() && data::DatumAll(completed, today) != first.toString(u"dd.MM.yyyy"_s))
            broken("a completed date completes to another one", input);
    }
}

// Filters: text either becomes one SQL expression over the table's fields, which SQLite
// accepts as a where-clause and nothing more, or is refused with the program's error.
void filter(const QByteArray &input)
{
    engine::TableDef def(u"T"_s, u"T.DB"_s);
    def.add({engine::floatField(u"Cislo"_s), engine::textField(u"Nazev"_s, 20), engine::boolField(u"Typ"_s),
             engine::dateField(u"D1"_s)});
    static engine::SqliteFile *const db = [] {
        auto *file = new engine::SqliteFile;  // for the whole run
        QString error;
        file->open(u":memory:"_s, true, &error);
        file->exec(u"CREATE TABLE T (Cislo FLOAT, Nazev CHAR(20), Typ BOOLEAN, D1 DATE)"_s);
        return file;
    }();
    QString sql;
    try {
        sql = engine::filterToSql(QString::fromUtf8(input), def);
    } catch (const engine::EngineError &e) {
        if (e.message().isEmpty())
            broken("a refused filter without a message", input);
        return;
    }
    const QByteArray statement = "SELECT 1 FROM T WHERE (" + sql.toUtf8() + ")";
    sqlite3_stmt *st = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(db->handle(), statement.constData(), int(statement.size()), &st, &tail);
    sqlite3_finalize(st);
    if (rc != SQLITE_OK)
        broken("an accepted filter that is no SQL expression", input);
    if (tail && *tail)
        broken("an accepted filter that holds more than one statement", input);
}

// The filing file's text: an attribute value is never longer than the limit, never ends
// inside an entity or a UTF-8 character, and holds no raw markup.
void xmlText(const QByteArray &input)
{
    const QByteArray cp1250 = platform::toCp1250(QString::fromUtf8(input));
    const QByteArray escaped = print::escapeAttribute(cp1250);
    for (const int kod : {print::KodUtf8, print::KodCp1250, print::KodIso88592}) {
        const QByteArray value = print::attributeValue(escaped, kod, 9);
        if (value.size() > print::kXmlTextLimit - 9)
            broken("attribute beyond the limit", input);
        if (value.contains('"') || value.contains('<'))
            broken("raw markup in an attribute", input);
        const qsizetype amp = value.lastIndexOf('&');
        if (amp >= 0 && value.indexOf(';', amp) < 0)
            broken("an attribute ends inside an entity", input);
        if (kod == print::KodUtf8) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            (void)utf8.decode(value);
            if (utf8.hasError())
                broken("an attribute that is no UTF-8", input);
        }
    }
    (void)print::memoLines(QString::fromUtf8(input));
}

// A filing file read back for the check: any bytes give no values or attributes whose
// findings name their element and whose period, when read, lies in its range.
void filingValues(const QByteArray &input)
{
    const std::optional<QHash<QString, QString>> attributes = check::filingAttributes(input);
    if (!attributes)
        return;
    for (const check::Finding &f : check::checkAttributeValues(*attributes))
        if (!f.message.startsWith(u"Veta"_s) || f.field.isEmpty())
            broken("an attribute finding that names no element or field", input);
    const check::FieldValues values = check::fieldValuesOf(*attributes, true);
    if (values.contains(u"Prp.Cislo"_s)) {
        const int n = values.value(u"Prp.Cislo"_s).toInt();
        if (n < 1 || n > 12)
            broken("a period number outside 1 to 12 read from the file", input);
    }
}

// A Paradox table, its data file followed by its memo file: refused with a reason and no
// rows, or read with every value fitting the field it was read as; what is read goes into
// a SQLite table as the conversion writes it, where the usual check of values finds nothing.
void paradoxTable(const QByteArray &input)
{
    // The data file ends where its header says its last block ends.
    qsizetype split = input.size();
    if (input.size() > 0x10) {
        const auto le16 = [&](int at) { return int(quint8(input[at]) | quint8(input[at + 1]) << 8); };
        split = std::min<qsizetype>(split, le16(2) + qsizetype(le16(0x0C)) * quint8(input[5]) * 1024);
    }
    engine::ParadoxTable table;
    const engine::ParadoxProblem problem = engine::readParadoxTable(input.left(split), input.mid(split), &table);
    if (!problem.isEmpty()) {
        if (!table.rows.isEmpty() || !table.fields.isEmpty())
            broken("a refused table with rows", input);
        return;
    }
    for (const QVariantList &row : std::as_const(table.rows)) {
        if (row.size() != table.fields.size())
            broken("a row without a value for every field", input);
        QVariant value;
        for (int i = 0; i < row.size(); ++i)
            if (!engine::detail::fromStorage(table.fields[i].field, row[i], &value))
                broken("a value read that does not fit its field", input);
    }
    engine::SqliteFile db;
    QString error;
    if (!db.open(u":memory:"_s, true, &error))
        return;
    const engine::TableDef layout = engine::paradoxTableDef(u"T"_s, table, nullptr);
    try {
        engine::writeParadoxRows(db, layout, table);
    } catch (const engine::EngineError &) {
        broken("a table read that SQLite does not take", input);
    }
    if (!engine::valueDamage(db, u"main"_s, u"T"_s, layout).isEmpty())
        broken("a table read whose values the usual check refuses", input);
}

// Tables written with pxlib: every field type with memos in both kinds of memo block, a
// keyed catalogue, an empty table.
QList<QByteArray> paradoxSeeds()
{
    QTemporaryDir dir;
    const auto bytes = [&](const QString &name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QString czech = u"Příliš žluťoučký kůň"_s;
    testing::writeParadoxTable(dir.filePath(u"A.DB"_s),
                               {{u"Nazev"_s, pxfAlpha, 24}, {u"Cislo"_s, pxfNumber, 8}, {u"Den"_s, pxfDate, 4},
                                {u"S"_s, pxfShort, 2}, {u"L"_s, pxfLong, 4}, {u"ID"_s, pxfAutoInc, 4},
                                {u"Ano"_s, pxfLogical, 1}, {u"Text"_s, pxfMemoBLOb, 11}, {u"Bcd"_s, pxfBCD, 2},
                                {u"Cas"_s, pxfTime, 4}, {u"Okamzik"_s, pxfTimestamp, 8}, {u"Mena"_s, pxfCurrency, 8}},
                               {{{u"Nazev"_s, czech}, {u"Cislo"_s, 1.5}, {u"Den"_s, QDate(2018, 3, 1)}, {u"S"_s, -3},
                                 {u"L"_s, 70000}, {u"ID"_s, 1}, {u"Ano"_s, true}, {u"Text"_s, czech.repeated(3)},
                                 {u"Bcd"_s, 1.25}, {u"Cas"_s, QTime(1, 2, 3)},
                                 {u"Okamzik"_s, QDateTime(QDate(2018, 3, 1), QTime(4, 5, 6))}, {u"Mena"_s, 9.99}},
                                {{u"Nazev"_s, u"b"_s}, {u"Text"_s, czech.repeated(150)}},
                                {}});
    engine::TableDef catalogue(u"Data"_s, u"Data.DB"_s);
    catalogue.add({engine::integerField(u"Cislo"_s), engine::textField(u"Nazev"_s, 20),
                   engine::textField(u"Adresar"_s, 20)});
    testing::writeParadoxTable(dir.filePath(u"B.DB"_s), testing::paradoxColumns(catalogue),
                               {{{u"Cislo"_s, 1}, {u"Nazev"_s, u"Alfa"_s}, {u"Adresar"_s, u"D1"_s}},
                                {{u"Cislo"_s, 2}, {u"Nazev"_s, u"Řepa"_s}, {u"Adresar"_s, u"D2"_s}}},
                               1250, 1);
    testing::writeParadoxTable(dir.filePath(u"C.DB"_s), {{u"X"_s, pxfAlpha, 3}}, {});
    return {bytes(u"A.DB"_s) + bytes(u"A.MB"_s), bytes(u"B.DB"_s), bytes(u"C.DB"_s)};
}

}  // namespace

const QList<Target> &targets()
{
    static const QList<Target> list{
        {"ini", iniFile, {"[Dph]\nRazeni=1\nTypPisma=0\n", "\xEF\xBB\xBF[A]\r\nk=v\r\n;c\r\n", "[a]\n[b\nx=1=2\n"}},
        {"datum", datumAll, {"5", "5.3.", "050318", "+7", "-3", "5,3,18", "31/12/2018", "29.02."}},
        {"filtr", filter,
         {"Cislo = 1", "Typ = True and Nazev <> 'x'", "not (Cislo > 2 or D1 = '2018-01-01')", "Nazev = 'a''b'"}},
        {"xml", xmlText, {"Praha & <okolí> \"x\" ^ 'y'", "čšř€„“–", "&&&&&&&&&&&&&&&&&&&&"}},
        {"podani", filingValues,
         {"<Pisemnost><DPHDP3><VetaD mesic=\"13\" rok=\"18\" typ_platce=\"Q\"/><VetaP dic=\"25596642\" "
          "typ_ds=\"F\"/></DPHDP3></Pisemnost>",
          "<Pisemnost><DPHDP3><VetaD ctvrt=\"4\" d_poddp=\"31.13.2018\"/><Veta5 koef_p20_nov=\"x\"/></DPHDP3></Pisemnost>",
          "<Pisemnost><DPHDP3><VetaD mesic=\"3\" ctvrt=\"9\"/></DPHDP3>"}},
        {"paradox", paradoxTable, paradoxSeeds()},
    };
    return list;
}

}  // namespace rur::fuzz
