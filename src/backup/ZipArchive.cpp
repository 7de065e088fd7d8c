#include "backup/ZipArchive.h"

#include "backup/ArchiveReader.h"
#include "backup/ZipErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstdio>
#include <unistd.h>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

// A name beside the target that no other writer uses; the process id keeps two processes apart.
QString tempPathBeside(const QString &target)
{
    const QFileInfo fi(target);
    return fi.absolutePath() + u"/."_s + fi.fileName() + u".tmp"_s + QString::number(::getpid()) + u'-'
           + QString::number(QRandomGenerator::global()->generate(), 16);
}

bool syncFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && ::fsync(f.handle()) == 0;
}

bool renameOver(const QString &temp, const QString &target)
{
    return std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) == 0;
}

// Relative paths of the files to archive, sorted so that archives of equal folders are equal.
void collectFiles(const QDir &base, const QString &folder, const ArchiveOptions &options, const QString &skipPath,
                  QStringList *out)
{
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : entries) {
        if (options.excludedNames.contains(info.fileName(), Qt::CaseInsensitive)
            || info.absoluteFilePath() == skipPath || (options.exclude && options.exclude(info)))
            continue;
        if (info.isDir() && !info.isSymLink())
            collectFiles(base, info.absoluteFilePath(), options, skipPath, out);
        else if (!info.isDir())
            out->append(base.relativeFilePath(info.absoluteFilePath()));
    }
}

QStringList filesOf(const QDir &base, const ArchiveOptions &options, const QString &skipPath)
{
    QStringList out;
    collectFiles(base, base.absolutePath(), options, skipPath, &out);
    out.sort();
    return out;
}

struct ProgressState {
    const ArchiveOptions *options;
    int total;
    int reported;
};

void reportProgress(zip_t *, double fraction, void *data)
{
    auto *state = static_cast<ProgressState *>(data);
    const int done = qBound(0, int(fraction * state->total + 1e-9), state->total);
    if (done > state->reported) {
        state->reported = done;
        state->options->progress(done, state->total);
    }
}

int countMembers(const QString &zipPath)
{
    int code = 0;
    zip_t *za = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!za)
        return -1;
    const zip_int64_t n = zip_get_num_entries(za, 0);
    zip_discard(za);
    return int(n);
}

bool extractMember(zip_t *za, zip_uint64_t index, const QString &target, QString *error)
{
    zip_file_t *zf = zip_fopen_index(za, index, 0);
    if (!zf) {
        setError(error, QString::fromUtf8(zip_strerror(za)));
        return false;
    }
    const QString temp = tempPathBeside(target);
    QFile out(temp);
    bool ok = out.open(QIODevice::WriteOnly);
    char buffer[65536];
    while (ok) {
        const zip_int64_t n = zip_fread(zf, buffer, sizeof buffer);
        if (n < 0) {
            setError(error, QString::fromUtf8(zip_file_strerror(zf)));
            ok = false;
        } else if (n == 0) {
            break;
        } else if (out.write(buffer, n) != n) {
            setError(error, out.errorString());
            ok = false;
        }
    }
    zip_fclose(zf);
    if (ok) {
        out.flush();
        ok = ::fsync(out.handle()) == 0 && out.error() == QFileDevice::NoError;
    }
    out.close();
    // A table's stale rollback journal beside the target would be played back into the new file.
    if (ok)
        QFile::remove(target + u"-journal"_s);
    if (ok && !renameOver(temp, target)) {
        setError(error, u"cannot replace "_s + target);
        ok = false;
    }
    if (!ok)
        QFile::remove(temp);
    return ok;
}

}  // namespace

bool writeDirectoryArchive(const QString &dir, const QString &zipPath, const QStringList &excludedNames,
                           QString *error, int *members)
{
    ArchiveOptions options;
    options.excludedNames = excludedNames;
    return archiveDirectory(dir, zipPath, options, error, members);
}

bool archiveDirectory(const QString &dir, const QString &zipPath, const ArchiveOptions &options, QString *error,
                      int *members)
{
    if (members)
        *members = 0;
    const QDir base(dir);
    if (dir.isEmpty() || !base.exists()) {
        setError(error, u"folder "_s + dir + u" does not exist"_s);
        return false;
    }
    const QString target = QFileInfo(zipPath).absoluteFilePath();
    const QStringList files = filesOf(base, options, target);
    if (files.isEmpty()) {
        setError(error, u"folder "_s + dir + u" holds no files"_s);
        return false;
    }
    for (const QString &name : options.requiredNames) {
        if (!files.contains(name, Qt::CaseInsensitive)) {
            setError(error, u"file "_s + name + u" is missing"_s);
            return false;
        }
    }

    const QString temp = tempPathBeside(target);
    int code = 0;
    zip_t *za = zip_open(QFile::encodeName(temp).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!za) {
        setError(error, zipErrorText(code));
        return false;
    }
    const auto fail = [&](const QString &text) {
        setError(error, text);
        zip_discard(za);
        QFile::remove(temp);
        return false;
    };
    for (const QString &name : files) {
        const QByteArray path = QFile::encodeName(base.absoluteFilePath(name));
        zip_source_t *source = zip_source_file(za, path.constData(), 0, 0);
        if (!source)
            return fail(QString::fromUtf8(zip_strerror(za)));
        const zip_int64_t index = zip_file_add(za, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            return fail(QString::fromUtf8(zip_strerror(za)));
        }
        const bool store = options.level <= 0;
        if (zip_set_file_compression(za, zip_uint64_t(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     store ? 0 : zip_uint32_t(qBound(1, options.level, 9)))
            != 0)
            return fail(QString::fromUtf8(zip_strerror(za)));
    }
    ProgressState progress{&options, int(files.size()), 0};
    if (options.progress)
        zip_register_progress_callback_with_state(za, 0.5 / double(files.size()), reportProgress, nullptr, &progress);
    // The files are read and compressed here; a full disk shows up as a failed close.
    if (zip_close(za) != 0)
        return fail(QString::fromUtf8(zip_strerror(za)));

    const int written = countMembers(temp);
    if (written != int(files.size())) {
        QFile::remove(temp);
        setError(error, u"archive holds %1 of %2 files"_s.arg(written).arg(files.size()));
        return false;
    }
    if ((options.flush && !syncFile(temp)) || !renameOver(temp, target)) {
        QFile::remove(temp);
        setError(error, u"cannot replace "_s + target);
        return false;
    }
    if (options.progress && progress.reported < progress.total)
        options.progress(progress.total, progress.total);
    if (members)
        *members = written;
    return true;
}

bool extractArchive(const QString &zipPath, const QString &targetDir, QString *error, int *members,
                    const QStringList &onlyNames)
{
    if (members)
        *members = 0;
    int code = 0;
    zip_t *za = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &code);
    if (!za) {
        setError(error, zipErrorText(code));
        return false;
    }
    const zip_int64_t count = zip_get_num_entries(za, 0);
    QStringList names;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *raw = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        QString name = raw ? QString::fromUtf8(raw) : QString();
        name.replace(u'\\', u'/');  // some writers store Windows separators
        if (unsafeMemberName(name)) {
            zip_discard(za);
            setError(error, u"unsafe member name "_s + name);
            return false;
        }
        names.append(name);
    }

    const QDir base(targetDir);
    bool ok = base.exists() || QDir().mkpath(targetDir);
    if (!ok)
        setError(error, u"cannot create "_s + targetDir);
    int extracted = 0;
    for (zip_int64_t i = 0; ok && i < count; ++i) {
        const QString &name = names[i];
        if (!onlyNames.isEmpty() && !onlyNames.contains(name, Qt::CaseInsensitive))
            continue;
        const QString target = base.absoluteFilePath(name);
        const QString folder = name.endsWith(u'/') ? target : QFileInfo(target).absolutePath();
        if (!QDir().mkpath(folder)) {
            setError(error, u"cannot create "_s + folder);
            ok = false;
        } else if (!name.endsWith(u'/')) {
            ok = extractMember(za, zip_uint64_t(i), target, error);
            if (ok)
                ++extracted;
        }
    }
    zip_discard(za);
    if (members)
        *members = extracted;
    return ok;
}

QStringList archiveMembers(const QString &zipPath)
{
    QStringList out;
    int code = 0;
    zip_t *za = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, &code);
    if (!za)
        return out;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char *raw = zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            out.append(QString::fromUtf8(raw));
    zip_discard(za);
    return out;
}

}  // namespace rur::backup
