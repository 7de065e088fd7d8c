// The settings of a data set that belonged to the earlier installation, removed from a copy
// of its ini. The work is done on the bytes: the file keeps its code page, line ends and
// every line the program doesn't touch, and it is written once.
#include "datasets/Conversion.h"

#include <QList>

using namespace Qt::StringLiterals;

namespace rur::datasets {

namespace {

QByteArray trimBlanks(QByteArray s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && (s[begin] == ' ' || s[begin] == '\t' || s[begin] == '\r'))
        ++begin;
    while (end > begin && (s[end - 1] == ' ' || s[end - 1] == '\t' || s[end - 1] == '\r'))
        --end;
    return s.mid(begin, end - begin);
}

bool sameName(const QByteArray &a, const QString &b)
{
    return QString::fromLatin1(a).compare(b, Qt::CaseInsensitive) == 0;
}

// The section a header line opens; null for any other line.
QByteArray sectionOf(const QByteArray &line)
{
    const QByteArray t = trimBlanks(line);
    if (!t.startsWith('['))
        return {};
    const qsizetype close = t.indexOf(']', 1);
    return close > 0 ? trimBlanks(t.mid(1, close - 1)) : QByteArray();
}

}  // namespace

QByteArray clearEarlierSettings(const QByteArray &ini, const QString &section)
{
    static const QStringList erased = {u"Cesty"_s, u"Banka1"_s, u"Bankah1"_s, u"Prenos"_s,
                                       u"XML"_s,   u"Banka"_s,  u"Bankah"_s};
    QList<QByteArray> lines = ini.split('\n');

    // Keys of the data set's section and their values (the first of duplicates counts).
    struct Key {
        qsizetype line;
        QByteArray name;
        QByteArray value;
    };
    QList<Key> keys;
    QByteArray current;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const QByteArray s = sectionOf(lines[i]); !s.isNull()) {
            current = s;
            continue;
        }
        const QByteArray t = trimBlanks(lines[i]);
        const qsizetype eq = lines[i].indexOf('=');
        if (!sameName(current, section) || t.startsWith(';') || t.startsWith('#') || eq < 0)
            continue;
        const QByteArray name = trimBlanks(lines[i].left(eq));
        if (!name.isEmpty())
            keys.append({i, name, trimBlanks(lines[i].mid(eq + 1))});
    }
    const auto filled = [&](const QString &name) {
        for (const Key &k : std::as_const(keys))
            if (sameName(k.name, name))
                return !k.value.isEmpty();
        return false;
    };
    QStringList cleared;
    const auto clearWith = [&](const QString &key, const QString &companion) {
        if (filled(key))
            cleared << key << companion;
    };
    clearWith(u"PrenosSZ"_s, u"PrenosSZCislo"_s);
    clearWith(u"PrenosPO"_s, u"PrenosPOCislo"_s);
    clearWith(u"Denik"_s, QString());
    for (int n = 1; n <= 10; ++n) {
        const QString key = u"Denik2"_s + QString::number(n);
        clearWith(key, key + u"Cislo"_s);
    }
    for (const Key &k : std::as_const(keys)) {
        if (!cleared.contains(QString::fromLatin1(k.name), Qt::CaseInsensitive))
            continue;
        QByteArray &line = lines[k.line];
        const bool cr = line.endsWith('\r');
        line = line.left(line.indexOf('=') + 1);
        if (cr)
            line.append('\r');
    }

    QList<QByteArray> kept;
    bool dropping = false;
    for (const QByteArray &line : std::as_const(lines)) {
        if (const QByteArray s = sectionOf(line); !s.isNull())
            dropping = erased.contains(QString::fromLatin1(s), Qt::CaseInsensitive);
        if (!dropping)
            kept.append(line);
    }
    return kept.join('\n');
}

}  // namespace rur::datasets
