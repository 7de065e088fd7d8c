#include "backup/ArchiveReader.h"

#include "backup/ZipErrors.h"

#include <QFile>
#include <limits>
#include <sys/stat.h>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

// Only plain files and folders belong in an archive of a data set. Archives of other
// systems carry no file type and count as plain files.
bool specialFile(zip_t *za, zip_uint64_t index)
{
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(za, index, 0, &opsys, &attributes) != 0)
        return true;
    if (opsys != ZIP_OPSYS_UNIX)
        return false;
    const zip_uint32_t type = (attributes >> 16) & S_IFMT;
    return type != 0 && type != S_IFREG && type != S_IFDIR;
}

bool directoryEntry(zip_t *za, zip_uint64_t index, const QString &name)
{
    if (name.endsWith(u'/'))
        return true;
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    return zip_file_get_external_attributes(za, index, 0, &opsys, &attributes) == 0 && opsys == ZIP_OPSYS_UNIX
           && ((attributes >> 16) & S_IFMT) == S_IFDIR;
}

}  // namespace

bool unsafeMemberName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'/') || (name.size() >= 2 && name[1] == u':'))
        return true;
    return name.split(u'/').contains(u".."_s);
}

ArchiveReader::~ArchiveReader()
{
    close();
}

void ArchiveReader::close()
{
    if (za_)
        zip_discard(za_);
    za_ = nullptr;
    topLevel_.clear();
}

bool ArchiveReader::open(const QString &path, QString *error)
{
    close();
    int code = 0;
    zip_t *za = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!za) {
        setError(error, zipErrorText(code));
        return false;
    }
    const auto refuse = [&](const QString &text) {
        zip_discard(za);
        topLevel_.clear();
        setError(error, text);
        return false;
    };
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *raw = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!raw)
            return refuse(QString::fromUtf8(zip_strerror(za)));
        QString name = QString::fromUtf8(raw);
        name.replace(u'\\', u'/');  // some writers store Windows separators
        if (unsafeMemberName(name))
            return refuse(u"unsafe member name "_s + name);
        if (specialFile(za, zip_uint64_t(i)))
            return refuse(u"member "_s + name + u" is not a plain file"_s);
        if (name.contains(u'/') || directoryEntry(za, zip_uint64_t(i), name))
            continue;
        const QString key = name.toLower();
        if (topLevel_.contains(key))
            return refuse(u"member "_s + name + u" appears twice"_s);
        topLevel_.insert(key, i);
    }
    za_ = za;
    return true;
}

qint64 ArchiveReader::find(const QString &name) const
{
    return topLevel_.value(name.toLower(), -1);
}

qint64 ArchiveReader::declaredSize(qint64 index) const
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (!za_ || index < 0 || zip_stat_index(za_, zip_uint64_t(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        return -1;
    return st.size > zip_uint64_t(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::max()
                                                                       : qint64(st.size);
}

bool ArchiveReader::extract(qint64 index, const QString &target, qint64 *budget, QString *error)
{
    if (!za_ || index < 0) {
        setError(error, u"no such member"_s);
        return false;
    }
    const qint64 limit = qMin(kMaxMemberBytes, budget ? *budget : kMaxArchiveBytes);
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(za_, zip_uint64_t(index), 0, &st) != 0) {
        setError(error, QString::fromUtf8(zip_strerror(za_)));
        return false;
    }
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(limit)) {
        setError(error, u"member too large"_s);
        return false;
    }
    zip_file_t *zf = zip_fopen_index(za_, zip_uint64_t(index), 0);
    if (!zf) {
        setError(error, QString::fromUtf8(zip_strerror(za_)));
        return false;
    }
    QFile out(target);
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    if (!ok)
        setError(error, out.errorString());
    qint64 written = 0;
    char buffer[65536];
    while (ok) {
        const zip_int64_t n = zip_fread(zf, buffer, sizeof buffer);
        if (n < 0) {
            setError(error, QString::fromUtf8(zip_file_strerror(zf)));
            ok = false;
        } else if (n == 0) {
            break;
        } else if (written + n > limit) {
            // The header said less than the data holds: the member is not what it claims.
            setError(error, u"member too large"_s);
            ok = false;
        } else if (out.write(buffer, n) != n) {
            setError(error, out.errorString());
            ok = false;
        } else {
            written += n;
        }
    }
    zip_fclose(zf);
    if (out.isOpen()) {
        out.close();
        if (ok && out.error() != QFileDevice::NoError) {
            setError(error, out.errorString());
            ok = false;
        }
        if (!ok)
            out.remove();
    }
    if (ok && budget)
        *budget -= written;
    return ok;
}

}  // namespace rur::backup
