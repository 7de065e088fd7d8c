#include "platform/IniFile.h"

#include "platform/Cp1250.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::platform {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

// Only spaces and tabs count, as in the Windows reader; QString::trimmed would also eat
// no-break spaces, which can be part of a value.
QString trimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin).toString();
}

bool isBlankLine(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), isBlank);
}

bool isCommentLine(const QString &text)
{
    const QString t = trimBlanks(text);
    return t.startsWith(u';') || t.startsWith(u'#');
}

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(const QString &s)
{
    return s.contains(u'\n') || s.contains(u'\r');
}

// Names that would read back as something else once written into a line.
bool storableSection(const QString &section)
{
    return !section.contains(u']') && !hasLineBreak(section);
}

bool storableKey(const QString &key)
{
    return !key.isEmpty() && !key.contains(u'=') && !key.startsWith(u';') && !key.startsWith(u'#')
        && !key.startsWith(u'[') && !hasLineBreak(key);
}

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

// Sign and leading digits, the rest ignored; false when there are no digits or the number
// doesn't fit an int.
bool parseLeadingInteger(const QString &text, int &result)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 limit = static_cast<qint64>(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    const qsizetype firstDigit = i;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > limit)
            return false;
    }
    if (i == firstDigit)
        return false;
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return false;
    result = static_cast<int>(value);
    return true;
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

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const qsizetype i = findKey(trimBlanks(section), trimBlanks(key));
    return i < 0 ? def : lines_[i].value;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const qsizetype i = findKey(trimBlanks(section), trimBlanks(key));
    int value = def;
    if (i < 0 || !parseLeadingInteger(lines_[i].value, value))
        return def;
    return value;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findKey(trimBlanks(section), trimBlanks(key)) >= 0;
}

bool IniFile::hasSection(const QString &section) const
{
    return findSection(trimBlanks(section)) >= 0;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Line &line : lines_) {
        if (line.kind == Kind::Section && !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    const QString wanted = trimBlanks(section);
    QStringList names;
    bool inSection = false;
    for (const Line &line : lines_) {
        if (line.kind == Kind::Section)
            inSection = sameName(line.name, wanted);
        else if (inSection && line.kind == Kind::Key && !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    }
    return names;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    if (!storableSection(sectionName) || !storableKey(keyName) || hasLineBreak(value))
        return false;
    refreshBeforeWrite();

    // An existing key keeps its spelling and the spacing around '='; only the value changes.
    if (const qsizetype i = findKey(sectionName, keyName); i >= 0) {
        const QString &old = lines_[i].text;
        qsizetype valueStart = old.indexOf(u'=') + 1;
        while (valueStart < old.size() && isBlank(old[valueStart]))
            ++valueStart;
        QString text = old.first(valueStart) + value;
        if (text == old && !dirty_)
            return true;
        lines_[i] = parse(std::move(text));
        return commitChange();
    }

    Line keyLine = parse(keyName + u'=' + value);
    if (const qsizetype header = findSection(sectionName); header >= 0) {
        // After the section's last key, so that blank lines and comments leading into the
        // next section stay where they are; in a section without keys, after the comments
        // that open it.
        const qsizetype end = sectionEnd(header);
        qsizetype at = -1;
        for (qsizetype i = header + 1; i < end; ++i) {
            if (lines_[i].kind == Kind::Key)
                at = i + 1;
        }
        if (at < 0) {
            at = header + 1;
            while (at < end && isCommentLine(lines_[at].text))
                ++at;
        }
        if (at == lines_.size())
            finalNewline_ = true;
        lines_.insert(at, std::move(keyLine));
        return commitChange();
    }

    if (!lines_.isEmpty() && !isBlankLine(lines_.last().text))
        lines_.append(parse(QString()));
    lines_.append(parse(u'[' + sectionName + u']'));
    lines_.append(std::move(keyLine));
    finalNewline_ = true;
    return commitChange();
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeString(section, key, value ? u"1"_s : u"0"_s);
}

bool IniFile::eraseSection(const QString &section)
{
    const QString sectionName = trimBlanks(section);
    refreshBeforeWrite();
    if (unreadable_)
        return false;  // whether there is anything to remove is unknown
    bool changed = false;
    for (qsizetype header = findSection(sectionName); header >= 0; header = findSection(sectionName)) {
        const qsizetype end = sectionEnd(header);
        const bool wasLast = end == lines_.size();
        qsizetype keepFrom = end;
        if (!wasLast) {
            // Comments right above the next header describe that section.
            while (keepFrom > header + 1 && isCommentLine(lines_[keepFrom - 1].text))
                --keepFrom;
        }
        lines_.remove(header, keepFrom - header);
        if (wasLast) {
            // It was the last section: drop the blank lines that separated it, too.
            while (header > 0 && isBlankLine(lines_[header - 1].text)) {
                lines_.remove(header - 1);
                --header;
            }
            finalNewline_ = true;
        }
        changed = true;
    }
    return changed ? commitChange() : true;
}

bool IniFile::deleteKey(const QString &section, const QString &key)
{
    const QString sectionName = trimBlanks(section);
    const QString keyName = trimBlanks(key);
    refreshBeforeWrite();
    if (unreadable_)
        return false;  // whether there is anything to remove is unknown
    bool changed = false;
    for (qsizetype i = findKey(sectionName, keyName); i >= 0; i = findKey(sectionName, keyName)) {
        lines_.remove(i);
        if (i == lines_.size())
            finalNewline_ = true;
        changed = true;
    }
    return changed ? commitChange() : true;
}

}  // namespace rur::platform
