// Reading and changing the values of an ini file held in memory; save() writes them.
#include "platform/IniFile.h"

#include "platform/IniText.h"

using namespace Qt::StringLiterals;

namespace rur::platform {

using namespace ini;

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
