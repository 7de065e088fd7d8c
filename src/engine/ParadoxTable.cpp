// Reading Paradox tables: the structure of the data file is checked here (header, field
// descriptions, the chain of data blocks), then pxlib reads the header and turns the record
// bytes into values (the memos aside, see memoValue), which are checked against their fields.
#include "engine/ParadoxTable.h"

#include "engine/ParadoxLayout.h"
#include "engine/Pxlib.h"
#include "engine/PxlibDocument.h"
#include "engine/TableFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

// One table read by pxlib from memory: the bytes can't change between the checks and the
// reading, and pxlib's file functions read from the checked copy.
class PxReader {
public:
    explicit PxReader(const QByteArray &data)
        : file_(data.isEmpty() ? nullptr : ::fmemopen(const_cast<char *>(data.constData()), size_t(data.size()), "r"))
    {
    }
    ~PxReader()
    {
        document_.reset();  // pxlib never closes a file it was handed open
        if (file_)
            std::fclose(file_);
    }
    PxReader(const PxReader &) = delete;
    PxReader &operator=(const PxReader &) = delete;

    bool open() { return doc() && file_ && PX_open_fp(doc(), file_) >= 0; }
    pxdoc_t *doc() const { return document_->get(); }
    void release(void *p) const { document_->release(p); }

private:
    FILE *file_;
    std::unique_ptr<PxlibDocument> document_ = std::make_unique<PxlibDocument>();
};

bool allZero(const char *p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i])
            return false;
    return true;
}

// What pxlib read from the header must be what the checks found.
bool sameFields(pxdoc_t *doc, const ParadoxLayout &layout, const TextDecoder &names)
{
    if (PX_get_num_fields(doc) != int(layout.fields.size()) || PX_get_recordsize(doc) != layout.recordSize)
        return false;
    for (int i = 0; i < layout.fields.size(); ++i) {
        const pxfield_t *f = PX_get_field(doc, i);
        const LayoutField &mine = layout.fields[i];
        QString name;
        if (!f || !f->px_fname || quint8(f->px_ftype) != mine.typeCode || f->px_flen != mine.length
            || !names.decode(QByteArray(f->px_fname), &name) || name != mine.name)
            return false;
    }
    return true;
}

QString dateText(qint64 julianDay)
{
    const QDate d = QDate::fromJulianDay(julianDay);
    return d.isValid() && d.year() >= 1 && d.year() <= 9999 ? d.toString(Qt::ISODate) : QString();
}

QString timeText(qint64 ms)
{
    if (ms < 0 || ms >= 86400000)
        return {};
    const QTime t = QTime::fromMSecsSinceStartOfDay(int(ms));
    return t.toString(t.msec() ? u"HH:mm:ss.zzz"_s : u"HH:mm:ss"_s);
}

// Days from 1 January of the year 1 (day 1) to the Julian day number.
constexpr qint64 kDayOffset = 1721425;

class ValueReader {
public:
    ValueReader(const PxReader &px, const ParadoxLayout &layout, const QByteArray &memos, const TextDecoder &text)
        : px_(px), layout_(layout), memos_(memos), text_(text)
    {
    }

    // The value of field i from its bytes, as a SQLite file stores it; false when the bytes
    // hold no value of the field's type.
    bool read(int i, char *p, QVariant *out)
    {
        const LayoutField &f = layout_.fields[i];
        *out = QVariant();
        switch (f.typeCode) {
        case pxfAlpha: {
            if (p[0] == '\0')
                return true;
            char *s = nullptr;
            if (PX_get_data_alpha(px_.doc(), p, f.length, &s) < 0 || !s)
                return false;
            const QByteArray bytes(s, qsizetype(::strnlen(s, size_t(f.length))));
            px_.release(s);
            return textValue(bytes, out);
        }
        case pxfShort: {
            short v = 0;
            if (allZero(p, 2))
                return true;
            PX_get_data_short(px_.doc(), p, 2, &v);
            *out = qint64(v);
            return true;
        }
        // pxlib tells an empty four-byte field by comparing eight bytes, so the emptiness is
        // told here first.
        case pxfLong:
        case pxfAutoInc:
        case pxfDate:
        case pxfTime: {
            if (allZero(p, 4))
                return true;
            long v = 0;
            PX_get_data_long(px_.doc(), p, 4, &v);
            if (f.typeCode == pxfDate || f.typeCode == pxfTime) {
                const QString text = f.typeCode == pxfDate ? dateText(qint64(v) + kDayOffset) : timeText(qint64(v));
                *out = text;
                return !text.isEmpty();
            }
            *out = qint64(v);
            return true;
        }
        case pxfNumber:
        case pxfCurrency:
        case pxfTimestamp: {
            if (allZero(p, 8))
                return true;
            double v = 0;
            PX_get_data_double(px_.doc(), p, 8, &v);
            if (!std::isfinite(v))
                return false;
            if (f.typeCode != pxfTimestamp) {
                *out = v;
                return true;
            }
            const double days = std::floor(v / 86400000.0);
            const QString date = v >= 0 && days < 4e6 ? dateText(qint64(days) + kDayOffset) : QString();
            const QString time = timeText(qint64(v - days * 86400000.0));
            *out = date + u' ' + time;
            return !date.isEmpty() && !time.isEmpty();
        }
        case pxfLogical: {
            if (p[0] == '\0')
                return true;
            char v = 0;
            PX_get_data_byte(px_.doc(), p, 1, &v);
            *out = qint64(v);
            return v == 0 || v == 1;
        }
        case pxfBCD: {
            if (p[0] == '\0')
                return true;
            char *s = nullptr;
            if (PX_get_data_bcd(px_.doc(), reinterpret_cast<unsigned char *>(p), f.decimals, &s) <= 0 || !s)
                return false;
            QByteArray number(s);
            px_.release(s);
            // pxlib writes the decimal point of the C library's locale.
            const char point = std::localeconv()->decimal_point[0];
            number.replace(point, '.');
            bool ok = false;
            const double v = number.toDouble(&ok);
            *out = v;
            return ok && std::isfinite(v);
        }
        case pxfMemoBLOb:
        case pxfFmtMemoBLOb:
            return memoValue(f, p, out);
        }
        return false;
    }

private:
    bool textValue(const QByteArray &bytes, QVariant *out) const
    {
        // A NUL inside a memo would cut it short in every file it goes on to.
        QString text;
        if (bytes.contains('\0') || !text_.decode(bytes, &text))
            return false;
        if (!text.isEmpty())
            *out = text;
        return true;
    }

    // pxlib's memo reading is not used: opening a memo file (PX_open_blob_fp of pxlib 0.6.8)
    // reads each block's 12-byte head into a smaller buffer on the stack.
    bool memoValue(const LayoutField &f, const char *p, QVariant *out) const
    {
        QByteArray bytes;
        if (!memoBytes(p, f.length, memos_, &bytes))
            return false;
        while (bytes.endsWith('\0'))
            bytes.chop(1);
        return textValue(bytes, out);
    }

    const PxReader &px_;
    const ParadoxLayout &layout_;
    const QByteArray &memos_;
    const TextDecoder &text_;
};

// A regular file of at most limit bytes, read whole; the check and the read are on one
// descriptor, so a pipe or device can't stand in for the file.
bool readBounded(const QString &path, qint64 limit, QByteArray *out)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st{};
    bool ok = fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= limit;
    if (ok) {
        out->resize(qsizetype(st.st_size));
        qint64 done = 0;
        while (ok && done < st.st_size) {
            const ssize_t n = ::read(fd, out->data() + done, size_t(st.st_size - done));
            ok = n > 0;
            done += n > 0 ? n : 0;
        }
    }
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// The memo file beside a table: the same name ending in .MB, in any case.
QString memoFileBeside(const QString &path)
{
    const QFileInfo info(path);
    const QString wanted = info.completeBaseName() + u".MB"_s;
    if (QFileInfo(info.dir().filePath(wanted)).isFile())
        return info.dir().filePath(wanted);
    for (const QString &name : info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return info.dir().filePath(name);
    return {};
}

}  // namespace

TableFileFormat tableFileFormat(const QByteArray &head)
{
    if (head.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return TableFileFormat::Sqlite;
    return looksLikeParadoxHeader(head) ? TableFileFormat::Paradox : TableFileFormat::Unknown;
}

TableFileFormat tableFileFormatOf(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return TableFileFormat::Unknown;
    struct stat st{};
    QByteArray head(128, '\0');
    ssize_t n = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        n = ::read(fd, head.data(), size_t(head.size()));
    ::close(fd);
    if (n <= 0)
        return TableFileFormat::Unknown;
    head.truncate(n);
    return tableFileFormat(head);
}

ParadoxProblem readParadoxTable(const QByteArray &data, const QByteArray &memos, ParadoxTable *table,
                                const QStringList *wanted)
{
    *table = ParadoxTable();
    ParadoxLayout layout;
    if (ParadoxProblem problem = checkParadoxLayout(data, &layout); !problem.isEmpty())
        return problem;
    const TextDecoder text(layout.codePage);
    PxReader px(data);
    if (!px.open() || !sameFields(px.doc(), layout, text))
        return {u"knihovna pxlib hlavičku nepřečetla"_s, {}, {}};

    QList<bool> readField;
    for (const LayoutField &f : std::as_const(layout.fields)) {
        readField.append(!wanted || wanted->contains(f.name, Qt::CaseInsensitive));
        table->fields.append({f.typeCode, f.length, f.field});
    }
    ValueReader values(px, layout, memos, text);
    QByteArray record(layout.recordSize, '\0');
    table->rows.reserve(layout.recordOffsets.size());
    for (const qsizetype offset : std::as_const(layout.recordOffsets)) {
        std::memcpy(record.data(), data.constData() + offset, size_t(layout.recordSize));
        QVariantList row(layout.fields.size());
        int at = 0;
        for (int i = 0; i < layout.fields.size(); ++i) {
            if (readField[i] && !values.read(i, record.data() + at, &row[i])) {
                const QString where = QString::number(table->rows.size() + 1);
                *table = ParadoxTable();
                return {u"hodnota pole "_s + layout.fields[i].name + u" v záznamu "_s + where + u" neodpovídá typu"_s,
                        {}, {}};
            }
            at += layout.fields[i].length;
        }
        table->rows.append(std::move(row));
    }
    return {};
}

ParadoxProblem readParadoxFile(const QString &path, ParadoxTable *table, const QStringList *wanted)
{
    *table = ParadoxTable();
    QByteArray data, memos;
    if (!readBounded(path, kMaxTableFileSize, &data))
        return {u"není to soubor přiměřené velikosti"_s, {}, {}};
    const QString memoPath = memoFileBeside(path);
    if (!memoPath.isEmpty() && !readBounded(memoPath, kMaxTableFileSize, &memos))
        return {u"soubor poznámek není soubor přiměřené velikosti"_s, {}, {}};
    return readParadoxTable(data, memos, table, wanted);
}

QString paradoxDamageMessage(const QString &fileName, const ParadoxProblem &problem)
{
    QString message = u"Tabulka "_s + fileName + u" je poškozená nebo nečitelná."_s;
    if (!problem.field.isEmpty())
        message += u" Pole "_s + problem.field + u" je typu "_s + problem.typeName + u", který program nečte."_s;
    return message;
}

}  // namespace rur::engine
