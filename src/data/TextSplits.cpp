#include "data/TextSplits.h"

namespace rur::data {

QString Dicp2(const QString &dic)
{
    if (dic.size() <= 2)
        return dic;
    if (dic.at(1).unicode() >= 58)
        return dic.mid(2);
    if (dic.at(0).unicode() > 57)
        return dic.mid(1);
    return dic;
}

QString Ulcd2(const QString &text, int part)
{
    const qsizetype blank = text.lastIndexOf(QLatin1Char(' '));
    if (blank > 0) {
        const QString rest = text.mid(blank + 1);
        if (!rest.isEmpty() && rest.size() <= 8 && rest.at(0) >= QLatin1Char('0') && rest.at(0) <= QLatin1Char('9'))
            return part == 1 ? text.left(blank) : rest;
    }
    return part == 1 ? text : QString();
}

QString Ulcd3(const QString &text, int part, const QString &separator)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (at < 0)
        return part == 1 ? text : QString();
    return part == 1 ? text.left(at) : text.mid(at + separator.size());
}

}  // namespace rur::data
