#include "support/paradox_files.h"

#include "data/SchemaUpgrade.h"
#include "data/Schemas.h"
#include "engine/Pxlib.h"
#include "engine/PxlibDocument.h"
#include "engine/Sqlite.h"
#include "platform/Cp1250.h"
#include "support/editions.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace rur::testing {

namespace {

// Days from 1 January of the year 1 (day 1) to the Julian day number.
constexpr qint64 kDayOffset = 1721425;

// A file pxlib writes into and never closes itself.
struct OwnFile {
    explicit OwnFile(const QString &path) : file(std::fopen(QFile::encodeName(path).constData(), "w+b"))
    {
        if (!file)
            throw std::runtime_error("cannot create " + path.toStdString());
    }
    ~OwnFile() { std::fclose(file); }
    OwnFile(const OwnFile &) = delete;
    OwnFile &operator=(const OwnFile &) = delete;
    FILE *file;
};

qint64 days(const QVariant &v)
{
    const QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : QDate::fromString(v.toString(), Qt::ISODate);
    return d.toJulianDay() - kDayOffset;
}

}  // namespace

QList<ParadoxColumn> paradoxColumns(const engine::TableDef &def)
{
    QList<ParadoxColumn> out;
    for (const engine::FieldDef &f : def.storedFields()) {
        switch (f.type) {
        case engine::FieldType::Float: out.append({f.name, pxfNumber, 8}); break;
        case engine::FieldType::Char: out.append({f.name, pxfAlpha, f.size}); break;
        case engine::FieldType::Boolean: out.append({f.name, pxfLogical, 1}); break;
        case engine::FieldType::Date: out.append({f.name, pxfDate, 4}); break;
        case engine::FieldType::Smallint: out.append({f.name, pxfShort, 2}); break;
        case engine::FieldType::Integer: out.append({f.name, pxfLong, 4}); break;
        case engine::FieldType::AutoInc: out.append({f.name, pxfAutoInc, 4}); break;
        case engine::FieldType::Memo: out.append({f.name, pxfMemoBLOb, 11}); break;
        }
    }
    return out;
}

void writeParadoxTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<QVariantMap> &rows,
                       int codePage, int keyFields)
{
    bool memos = false;
    for (const ParadoxColumn &c : columns)
        memos = memos || c.type == pxfMemoBLOb || c.type == pxfFmtMemoBLOb;
    const QString memoPath = QFileInfo(path).dir().filePath(QFileInfo(path).completeBaseName() + u".MB"_s);
    QFile::remove(memoPath);
    OwnFile data(path);
    std::optional<OwnFile> memoFile;
    if (memos)
        memoFile.emplace(memoPath);
    {
        engine::PxlibDocument document;
        pxdoc_t *doc = document.get();
        // pxlib frees the field array and the names with the document.
        auto *fields = static_cast<pxfield_t *>(doc->malloc(doc, sizeof(pxfield_t) * size_t(columns.size()), "fields"));
        for (int i = 0; i < columns.size(); ++i) {
            fields[i].px_fname = PX_strdup(doc, columns[i].name.toLatin1().constData());
            fields[i].px_ftype = char(columns[i].type);
            fields[i].px_flen = columns[i].type == pxfBCD ? 17 : columns[i].length;
            fields[i].px_fdc = columns[i].type == pxfBCD ? columns[i].length : 0;
        }
        if (PX_create_fp(doc, fields, int(columns.size()), data.file, pxfFileTypNonIndexDB) < 0)
            throw std::runtime_error("pxlib could not create " + path.toStdString());
        // Setting the table's name writes the header, with the code page.
        doc->px_head->px_doscodepage = codePage;
        PX_set_tablename(doc, QFileInfo(path).fileName().toLatin1().constData());
        if (keyFields > 0)
            PX_set_value(doc, "numprimkeys", float(keyFields));
        if (memos && PX_create_blob_fp(PX_new_blob(doc), memoFile->file) < 0)
            throw std::runtime_error("pxlib could not create " + memoPath.toStdString());
        // Records are made field by field and put whole: PX_insert_record would write a BCD
        // value with the field's 17 bytes as its number of decimals.
        QByteArray record(doc->px_head->px_recordsize, '\0');
        for (const QVariantMap &row : rows) {
            record.fill('\0');
            char *at = record.data();
            for (int i = 0; i < columns.size(); ++i) {
                const int type = columns[i].type, length = fields[i].px_flen;
                const QVariant value = row.value(columns[i].name);
                const bool empty = value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
                QByteArray text;
                switch (empty ? 0 : type) {
                case 0: break;  // all bytes zero: an empty field
                case pxfAlpha:
                    text = platform::toCp1250(value.toString());
                    PX_put_data_alpha(doc, at, length, text.data());
                    break;
                case pxfMemoBLOb:
                case pxfFmtMemoBLOb:
                    text = platform::toCp1250(value.toString());
                    if (PX_put_data_blob(doc, at, length, text.data(), int(text.size())) < 0)
                        throw std::runtime_error("pxlib could not write a memo into " + memoPath.toStdString());
                    break;
                case pxfBCD:
                    text = QByteArray::number(value.toDouble(), 'f', columns[i].length);
                    PX_put_data_bcd(doc, at, columns[i].length, text.data());
                    break;
                case pxfNumber:
                case pxfCurrency: PX_put_data_double(doc, at, 8, value.toDouble()); break;
                case pxfTimestamp: {
                    const QDateTime t = value.toDateTime();
                    PX_put_data_double(doc, at, 8, double(days(t.date())) * 86400000.0 + t.time().msecsSinceStartOfDay());
                    break;
                }
                case pxfDate: PX_put_data_long(doc, at, 4, int(days(value))); break;
                case pxfTime: PX_put_data_long(doc, at, 4, value.toTime().msecsSinceStartOfDay()); break;
                case pxfShort: PX_put_data_short(doc, at, 2, short(value.toInt())); break;
                case pxfLogical: PX_put_data_byte(doc, at, 1, value.toBool() ? 1 : 0); break;
                default: PX_put_data_long(doc, at, 4, value.toInt());
                }
                at += length;
            }
            if (PX_put_record(doc, record.data()) < 0)
                throw std::runtime_error("pxlib could not write a record into " + path.toStdString());
        }
        PX_close(doc);
    }
}

void rewriteAsParadox(const QString &path, const engine::TableDef &def)
{
    QList<QVariantMap> rows;
    engine::TableDef present(def.name, def.fileName);
    {
        engine::SqliteFile db;
        QString error;
        if (!db.open(path, false, &error, true))
            throw std::runtime_error(path.toStdString() + ": " + error.toStdString());
        QStringList columns;
        engine::Statement info(db, u"SELECT name FROM pragma_table_info(?)"_s);
        info.bind(1, def.name);
        while (info.step())
            columns.append(info.columnText(0));
        for (const engine::FieldDef &f : def.storedFields())
            if (columns.contains(f.name, Qt::CaseInsensitive))
                present.add(f);
        QStringList names;
        for (const engine::FieldDef &f : present.fields)
            names.append(engine::quoteIdentifier(f.name));
        engine::Statement select(db, u"SELECT "_s + names.join(u", "_s) + u" FROM "_s + engine::quoteIdentifier(def.name)
                                         + u" ORDER BY rowid"_s);
        while (select.step()) {
            QVariantMap row;
            for (int c = 0; c < present.fields.size(); ++c)
                row.insert(present.fields[c].name, select.column(c));
            rows.append(row);
        }
    }
    writeParadoxTable(path, paradoxColumns(present), rows);
}

void rewriteFolderAsParadox(const QString &folder)
{
    const QString base = QDir::cleanPath(folder) + u'/';
    for (const QString &file : QDir(base).entryList({u"*.DB"_s}, QDir::Files)) {
        const QString name = QFileInfo(file).completeBaseName();
        engine::TableDef def = name.compare(u"Data"_s, Qt::CaseInsensitive) == 0   ? data::catalogueDef()
                               : name.compare(u"Uziv"_s, Qt::CaseInsensitive) == 0 ? data::passwordsDef()
                                                                                   : data::dataSetTableDef(name);
        if (def.name.isEmpty())
            continue;
        rewriteAsParadox(base + file, def.without(data::upgradeColumns(def.name)));
    }
}

void makeParadoxEdition(const QString &root, const QStringList &names)
{
    makeEdition(root, names);
    rewriteFolderAsParadox(root);
    for (int i = 1; i <= names.size(); ++i)
        rewriteFolderAsParadox(QDir::cleanPath(root) + u"/D"_s + QString::number(i));
}

}  // namespace rur::testing
