#include "platform/IniText.h"

#include <algorithm>
#include <limits>

namespace rur::platform::ini {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

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

bool storableSection(const QString &section)
{
    return !section.contains(u']') && !hasLineBreak(section);
}

bool storableKey(const QString &key)
{
    return !key.isEmpty() && !key.contains(u'=') && !key.startsWith(u';') && !key.startsWith(u'#')
        && !key.startsWith(u'[') && !hasLineBreak(key);
}

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

}  // namespace rur::platform::ini
