#include "platform/IniFile.h"

#include "platform/Cp1250.h"
#include "platform/IniText.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::platform {

using namespace ini;

namespace {

QString decodeFile(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // Stateless: a multi-byte sequence cut off at the end counts as invalid too.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromCp1250(bytes);
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path))
{
    load();
}

void IniFile::reload()
{
    load();
}

IniFile::Line IniFile::parse(QString text)
{
    Line line;
    line.text = std::move(text);
    const QString trimmed = trimBlanks(line.text);
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']', 1);
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = trimBlanks(QStringView(trimmed).sliced(1, close - 1));
        }
        return line;
    }
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
        return line;
    const qsizetype eq = line.text.indexOf(u'=');
    if (eq < 0)
        return line;
    QString key = trimBlanks(QStringView(line.text).first(eq));
    if (key.isEmpty())
        return line;  // "=value" names nothing; kept as an unknown line
    line.kind = Kind::Key;
    line.name = std::move(key);
    line.value = trimBlanks(QStringView(line.text).sliced(eq + 1));
    return line;
}

class IniFile::ParsedCache {
public:
    const ParsedFile *find(const QString &path, const Stamp &stamp) const
    {
        const auto it = entries_.constFind(path);
        return it != entries_.constEnd() && it->first == stamp ? &it->second : nullptr;
    }
    void store(const QString &path, const Stamp &stamp, ParsedFile parsed)
    {
        // A file changed in the last moments could change again within the resolution of
        // its time stamp without showing it: only settled files are kept.
        const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1'000'000;
        if (nowNs - stamp.modifiedNs < 2'000'000'000)
            return;
        if (entries_.size() >= kMaxEntries && !entries_.contains(path))
            entries_.clear();
        entries_.insert(path, {stamp, std::move(parsed)});
    }

private:
    static constexpr qsizetype kMaxEntries = 32;
    QHash<QString, std::pair<Stamp, ParsedFile>> entries_;
};

IniFile::ParsedCache &IniFile::parsedCache()
{
    static ParsedCache cache;
    return cache;
}

IniFile::Stamp IniFile::stampOf(const QString &path)
{
    Stamp stamp;
    struct stat st{};
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || ::stat(native.constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = static_cast<quint64>(st.st_dev);
    stamp.inode = static_cast<quint64>(st.st_ino);
    stamp.size = static_cast<qint64>(st.st_size);
    stamp.modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return stamp;
}

void IniFile::load()
{
    lines_.clear();
    crlf_ = false;
    finalNewline_ = true;
    unreadable_ = false;
    problem_.clear();
    dirty_ = false;
    // Taken before reading: a change made while we read then shows up as a newer stamp.
    stamp_ = stampOf(path_);
    if (!stamp_.exists)
        return;
    if (const ParsedFile *cached = parsedCache().find(path_, stamp_)) {
        lines_ = cached->lines;
        crlf_ = cached->crlf;
        finalNewline_ = cached->finalNewline;
        return;
    }
    // Opened without waiting (a pipe would block) and checked on the open descriptor.
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st{};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxSize) {
        const bool refused = fd >= 0;
        if (fd >= 0)
            ::close(fd);
        unreadable_ = true;
        if (refused)
            problem_ = u"Soubor nastavení "_s + path_
                       + u" je příliš velký nebo to není obyčejný soubor. Nastavení z něj nelze použít."_s;
        return;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        unreadable_ = true;
        return;
    }
    const QByteArray bytes = file.read(kMaxSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxSize) {
        unreadable_ = true;
        return;
    }
    const QString text = decodeFile(bytes);

    bool sawLineEnd = false;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r') {
            ++i;
            continue;
        }
        const bool pair = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (!sawLineEnd) {
            crlf_ = pair;  // the first line end decides the style of the whole file
            sawLineEnd = true;
        }
        lines_.append(parse(text.sliced(start, i - start)));
        i += pair ? 2 : 1;
        start = i;
    }
    if (start < text.size()) {
        lines_.append(parse(text.sliced(start)));
        finalNewline_ = false;
    }
    parsedCache().store(path_, stamp_, {lines_, crlf_, finalNewline_});
}

void IniFile::refreshBeforeWrite()
{
    if (dirty_)
        return;
    if (unreadable_ || !(stampOf(path_) == stamp_))
        load();
}

bool IniFile::commitChange()
{
    dirty_ = true;
    return save();
}

bool IniFile::save()
{
    if (unreadable_)
        return false;
    const QString eol = crlf_ ? u"\r\n"_s : u"\n"_s;
    QString text;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (i > 0)
            text += eol;
        text += lines_[i].text;
    }
    if (!lines_.isEmpty() && finalNewline_)
        text += eol;

    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    dirty_ = false;
    stamp_ = stampOf(path_);
    return true;
}

qsizetype IniFile::findKey(const QString &section, const QString &key) const
{
    bool inSection = false;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const Line &line = lines_[i];
        if (line.kind == Kind::Section)
            inSection = sameName(line.name, section);
        else if (inSection && line.kind == Kind::Key && sameName(line.name, key))
            return i;
    }
    return -1;
}

qsizetype IniFile::findSection(const QString &section) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Section && sameName(lines_[i].name, section))
            return i;
    }
    return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

}  // namespace rur::platform
