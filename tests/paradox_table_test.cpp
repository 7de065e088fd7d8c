// Paradox tables read by the table engine: every field type written by pxlib's writer read
// back field by field, and damaged files refused whole.
#include "engine/EngineError.h"
#include "engine/ParadoxImport.h"
#include "engine/ParadoxTable.h"
#include "engine/Pxlib.h"
#include "engine/Sqlite.h"
#include "support/files.h"
#include "support/paradox_files.h"
#include "support/printers.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::readFile;
using rur::testing::ParadoxColumn;

namespace {

QString shown(const QVariant &v)
{
    return v.isNull() ? u"NULL"_s : QString::fromLatin1(v.typeName()) + u':' + v.toString();
}

const QString kCzech = u"Příliš žluťoučký kůň úpěl ďábelské ódy"_s;

}  // namespace

TEST(ParadoxTable, EveryFieldTypeReadsBackFieldByField)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Vse.DB"_s);
    const QString longMemo = kCzech.repeated(80);  // 3,120 characters: a memo block of its own
    rur::testing::writeParadoxTable(
        path,
        {{u"Nazev"_s, pxfAlpha, 40}, {u"Cislo"_s, pxfNumber, 8}, {u"Mena"_s, pxfCurrency, 8}, {u"Den"_s, pxfDate, 4},
         {u"Kratke"_s, pxfShort, 2}, {u"Dlouhe"_s, pxfLong, 4}, {u"ID"_s, pxfAutoInc, 4}, {u"Ano"_s, pxfLogical, 1},
         {u"Text"_s, pxfMemoBLOb, 11}, {u"Format"_s, pxfFmtMemoBLOb, 11}, {u"Bcd"_s, pxfBCD, 2},
         {u"Cas"_s, pxfTime, 4}, {u"Okamzik"_s, pxfTimestamp, 8}},
        // The extremes of a short: -32767, as the bytes of -32768 are those of an empty field.
        {{{u"Nazev"_s, kCzech}, {u"Cislo"_s, 1234.5}, {u"Mena"_s, -0.01}, {u"Den"_s, QDate(2018, 3, 15)},
          {u"Kratke"_s, -32767}, {u"Dlouhe"_s, 2147483647}, {u"ID"_s, 1}, {u"Ano"_s, true}, {u"Text"_s, u"Šárka"_s},
          {u"Format"_s, longMemo}, {u"Bcd"_s, 123.45}, {u"Cas"_s, QTime(12, 34, 56)},
          {u"Okamzik"_s, QDateTime(QDate(2018, 3, 15), QTime(8, 9, 10))}},
         // Zeros and false are values, not empty fields; a negative long and date before 1900.
         {{u"Nazev"_s, u"x"_s}, {u"Cislo"_s, 0.0}, {u"Mena"_s, 0.0}, {u"Den"_s, QDate(1899, 12, 30)},
          {u"Kratke"_s, 0}, {u"Dlouhe"_s, -7}, {u"ID"_s, 2}, {u"Ano"_s, false}, {u"Text"_s, u"ř"_s},
          {u"Format"_s, u"a"_s}, {u"Bcd"_s, -0.5}, {u"Cas"_s, QTime(0, 0, 1)},
          {u"Okamzik"_s, QDateTime(QDate(1, 1, 1), QTime(0, 0, 0))}},
         // Every field empty.
         {}});

    engine::ParadoxTable table;
    const engine::ParadoxProblem problem = engine::readParadoxFile(path, &table);
    ASSERT_TRUE(problem.isEmpty()) << problem.detail.toStdString();

    // The fields as the program takes them: type and, for texts, length.
    const std::pair<engine::FieldType, int> types[] = {
        {engine::FieldType::Char, 40},    {engine::FieldType::Float, 0},   {engine::FieldType::Float, 0},
        {engine::FieldType::Date, 0},     {engine::FieldType::Smallint, 0}, {engine::FieldType::Integer, 0},
        {engine::FieldType::AutoInc, 0},  {engine::FieldType::Boolean, 0}, {engine::FieldType::Memo, 0},
        {engine::FieldType::Memo, 0},     {engine::FieldType::Float, 0},   {engine::FieldType::Char, 12},
        {engine::FieldType::Char, 23}};
    ASSERT_EQ(table.fields.size(), 13);
    for (int i = 0; i < 13; ++i) {
        SCOPED_TRACE(table.fields[i].field.name.toStdString());
        EXPECT_EQ(table.fields[i].field.type, types[i].first);
        if (types[i].first == engine::FieldType::Char) {
            EXPECT_EQ(table.fields[i].field.size, types[i].second);
        }
    }

    // Values as a SQLite table file would store them.
    const QList<QVariantList> expected = {
        {kCzech, 1234.5, -0.01, u"2018-03-15"_s, qint64(-32767), qint64(2147483647), qint64(1), qint64(1), u"Šárka"_s,
         longMemo, 123.45, u"12:34:56"_s, u"2018-03-15 08:09:10"_s},
        {u"x"_s, 0.0, 0.0, u"1899-12-30"_s, qint64(0), qint64(-7), qint64(2), qint64(0), u"ř"_s, u"a"_s, -0.5,
         u"00:00:01"_s, u"0001-01-01 00:00:00"_s},
        QVariantList(13),
    };
    ASSERT_EQ(table.rows.size(), 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 13; ++c) {
            SCOPED_TRACE(u"row %1, field %2"_s.arg(r + 1).arg(table.fields[c].field.name).toStdString());
            EXPECT_EQ(shown(table.rows[r][c]), shown(expected[r][c]));
        }
}

TEST(ParadoxTable, OnlyTheWantedFieldsAreRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Pdev.DB"_s);
    rur::testing::writeParadoxTable(path, {{u"Zd"_s, pxfNumber, 8}, {u"Nz"_s, pxfAlpha, 5}},
                               {{{u"Zd"_s, 10.0}, {u"Nz"_s, u"a"_s}}});
    // A byte no windows-1250 character has, in a field that is not read.
    QByteArray bytes = readFile(path);
    const int record = int(quint8(bytes[2]) | quint8(bytes[3]) << 8) + 6;
    bytes[record + 8] = char(0x98);
    engine::ParadoxTable table;
    EXPECT_FALSE(engine::readParadoxTable(bytes, {}, &table).isEmpty());
    const QStringList wanted{u"ZD"_s};
    ASSERT_TRUE(engine::readParadoxTable(bytes, {}, &table, &wanted).isEmpty());
    EXPECT_EQ(table.rows, (QList<QVariantList>{{10.0, QVariant()}}));
}

// Damaged files, each refused as a whole with its reason; the file before the damage reads.
TEST(ParadoxTable, DamagedFilesAreRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Mdp.DB"_s);
    const QString memo = u"Dopis, který se do záznamu nevejde."_s;
    rur::testing::writeParadoxTable(path,
                               {{u"Nazev"_s, pxfAlpha, 10}, {u"Castka"_s, pxfNumber, 8}, {u"Datum"_s, pxfDate, 4},
                                {u"Ano"_s, pxfLogical, 1}, {u"Text"_s, pxfMemoBLOb, 11}},
                               {{{u"Nazev"_s, u"Žák"_s}, {u"Castka"_s, 5.0}, {u"Datum"_s, QDate(2018, 1, 31)},
                                 {u"Ano"_s, true}, {u"Text"_s, memo}},
                                {{u"Nazev"_s, u"Řada"_s}, {u"Text"_s, memo + memo}}});
    const QByteArray good = readFile(path), memos = readFile(dir.filePath(u"Mdp.MB"_s));
    engine::ParadoxTable table;
    ASSERT_TRUE(engine::readParadoxTable(good, memos, &table).isEmpty());
    ASSERT_EQ(table.rows.size(), 2);
    ASSERT_EQ(table.rows[1][4], memo + memo);

    // Positions by the documented layout: the header's own size at 2, the block size in KiB
    // at 5; data blocks follow the header, each with a 6-byte head; the record's fields in
    // order (Nazev 10 bytes, Castka 8, Datum 4, Ano 1, Text 1 + 10).
    const int header = int(quint8(good[2]) | quint8(good[3]) << 8);
    const int block = quint8(good[5]) * 1024;
    const int record = header + 6;
    const int recordSize = int(quint8(good[0]) | quint8(good[1]) << 8);
    const auto put16 = [](QByteArray &b, int at, int v) {
        b[at] = char(v & 0xFF);
        b[at + 1] = char((v >> 8) & 0xFF);
    };
    const auto put32 = [&](QByteArray &b, int at, quint32 v) {
        put16(b, at, int(v & 0xFFFF));
        put16(b, at + 2, int(v >> 16));
    };
    struct Case {
        const char *what;
        std::function<void(QByteArray &data, QByteArray &memos)> damage;
    };
    const Case cases[] = {
        {"cut in its data block", [&](QByteArray &d, QByteArray &) { d.truncate(header + block / 2); }},
        {"cut in its header", [&](QByteArray &d, QByteArray &) { d.truncate(0x70); }},
        {"record size one more than its fields", [&](QByteArray &d, QByteArray &) { put16(d, 0, recordSize + 1); }},
        {"blocks of 32 KiB, beyond the file", [&](QByteArray &d, QByteArray &) { d[5] = char(32); }},
        {"one record more than the blocks hold", [&](QByteArray &d, QByteArray &) { put32(d, 6, 3); }},
        {"one block more than the file holds", [&](QByteArray &d, QByteArray &) { put16(d, 0x0C, 2); }},
        {"a sixth field the header does not describe", [&](QByteArray &d, QByteArray &) { put16(d, 0x21, 6); }},
        {"no field at all", [&](QByteArray &d, QByteArray &) { put16(d, 0x21, 0); }},
        {"field names beyond the header's end", [&](QByteArray &d, QByteArray &) { put16(d, 2, 0x120); }},
        {"a block that points at itself", [&](QByteArray &d, QByteArray &) {
             put32(d, 6, 4);
             put16(d, header, 1);
         }},
        {"a block whose last record lies beyond it",
         [&](QByteArray &d, QByteArray &) { put16(d, header + 4, block); }},
        {"code page 1252", [&](QByteArray &d, QByteArray &) { put16(d, 0x6A, 1252); }},
        {"code page 65001", [&](QByteArray &d, QByteArray &) { put16(d, 0x6A, 65001); }},
        {"a password", [&](QByteArray &d, QByteArray &) { put32(d, 0x5C, 0x1234); }},
        {"a text byte windows-1250 leaves undefined", [&](QByteArray &d, QByteArray &) { d[record + 1] = char(0x81); }},
        {"an infinite amount", [&](QByteArray &d, QByteArray &) {
             d.replace(record + 10, 8, QByteArray::fromHex("fff0000000000000"));
         }},
        {"a date before the year 1", [&](QByteArray &d, QByteArray &) {
             d.replace(record + 18, 4, QByteArray::fromHex("80000000"));
         }},
        {"a logical of neither yes nor no", [&](QByteArray &d, QByteArray &) { d[record + 22] = char(0x85); }},
        {"a memo beyond the memo file", [&](QByteArray &d, QByteArray &m) {
             put32(d, record + 24, quint32((m.size() / 4096 + 1) * 4096 + 0x3F));
         }},
        {"a memo longer than its slot", [&](QByteArray &d, QByteArray &) { put32(d, record + 28, 4000); }},
        {"no memo file", [&](QByteArray &, QByteArray &m) { m.clear(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray data = good, memoBytes = memos;
        c.damage(data, memoBytes);
        engine::ParadoxTable read;
        const engine::ParadoxProblem problem = engine::readParadoxTable(data, memoBytes, &read);
        EXPECT_FALSE(problem.isEmpty());
        EXPECT_TRUE(read.rows.isEmpty());
        EXPECT_TRUE(problem.field.isEmpty());
    }

    // A field of a type the program does not read (a graphic) is named.
    QByteArray graphic = good;
    graphic[0x78 + 2 * 4] = char(pxfGraphic);
    const engine::ParadoxProblem problem = engine::readParadoxTable(graphic, memos, &table);
    EXPECT_EQ(engine::paradoxDamageMessage(u"Mdp.DB"_s, problem),
              u"Tabulka Mdp.DB je poškozená nebo nečitelná. Pole Text je typu obrázek, který program nečte."_s);
}

TEST(ParadoxTable, CodePagesOfTheHeader)
{
    QTemporaryDir dir;
    // "Žluťoučký" in code page 852 and in windows-1250: the same letters, other bytes.
    const QByteArray dos = QByteArray::fromHex("a66c759c6f759f6bec"), windows = QByteArray::fromHex("8e6c759d6f75e86bfd");
    struct Case {
        int codePage;
        QByteArray bytes;
    };
    for (const Case &c : {Case{852, dos}, Case{1250, windows}, Case{0, windows}}) {
        SCOPED_TRACE(c.codePage);
        const QString path = dir.filePath(u"T.DB"_s);
        rur::testing::writeParadoxTable(path, {{u"Jm"_s, pxfAlpha, 12}}, {{{u"Jm"_s, u"x"_s}}}, c.codePage);
        QByteArray data = readFile(path);
        const int record = int(quint8(data[2]) | quint8(data[3]) << 8) + 6;
        data.replace(record, int(c.bytes.size()), c.bytes);
        engine::ParadoxTable table;
        ASSERT_TRUE(engine::readParadoxTable(data, {}, &table).isEmpty());
        EXPECT_EQ(table.rows.value(0).value(0).toString(), u"Žluťoučký"_s);
    }
}

TEST(ParadoxTable, ConversionKeepsTheKeyAndRefusesTwoRowsWithOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Data.DB"_s);
    engine::TableDef def(u"Data"_s, u"Data.DB"_s);
    def.add({engine::integerField(u"Cislo"_s), engine::textField(u"Nazev"_s, 20)}).primaryKey({u"Cislo"_s});
    rur::testing::writeParadoxTable(path, rur::testing::paradoxColumns(def),
                               {{{u"Cislo"_s, 2}, {u"Nazev"_s, u"Beta"_s}}, {{u"Cislo"_s, 1}, {u"Nazev"_s, u"Alfa"_s}}});
    ASSERT_EQ(engine::convertParadoxFile(path, path, &def), QString());
    ASSERT_EQ(engine::tableFileFormatOf(path), engine::TableFileFormat::Sqlite);
    engine::SqliteFile db;
    QString error;
    ASSERT_TRUE(db.open(path, false, &error));
    EXPECT_THROW(db.exec(u"INSERT INTO Data (Cislo, Nazev) VALUES (1, 'Znovu')"_s), engine::EngineError);
    engine::Statement rows(db, u"SELECT Cislo || ' ' || Nazev FROM Data ORDER BY rowid"_s);
    QStringList read;
    while (rows.step())
        read.append(rows.columnText(0));
    EXPECT_EQ(read, (QStringList{u"2 Beta"_s, u"1 Alfa"_s}));

    rur::testing::writeParadoxTable(path, rur::testing::paradoxColumns(def),
                               {{{u"Cislo"_s, 1}, {u"Nazev"_s, u"Alfa"_s}}, {{u"Cislo"_s, 1}, {u"Nazev"_s, u"Beta"_s}}});
    EXPECT_EQ(engine::convertParadoxFile(path, path, &def), u"Tabulka Data.DB je poškozená nebo nečitelná."_s);
    EXPECT_EQ(engine::tableFileFormatOf(path), engine::TableFileFormat::Paradox);
}
