#include "print/XmlText.h"

#include "platform/Cp1250.h"

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

bool isUtf8(int kodovani)
{
    return kodovani != KodCp1250 && kodovani != KodIso88592 && kodovani != KodCp1250L2;
}

// UTF-8 form of each byte 0x80..0xFF. The five bytes the code page leaves undefined never
// come out of toCp1250; should one arrive anyway it is written as '?'.
const std::array<QByteArray, 128> &utf8Table()
{
    static const std::array<QByteArray, 128> table = [] {
        std::array<QByteArray, 128> t;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QString c = platform::fromCp1250(QByteArray(1, static_cast<char>(b)));
            t[b - 0x80] = c == QString(QChar(QChar::ReplacementCharacter)) ? QByteArray("?") : c.toUtf8();
        }
        return t;
    }();
    return table;
}

// ISO 8859-2 byte of each byte 0x80..0xFF: the letters that sit elsewhere move, the rest stay.
const std::array<char, 128> &isoTable()
{
    static const std::array<char, 128> table = [] {
        std::array<char, 128> t;
        for (int b = 0x80; b <= 0xFF; ++b)
            t[b - 0x80] = static_cast<char>(b);
        constexpr unsigned char moves[][2] = {{0x8A, 0xA9}, {0x8C, 0xA6}, {0x8D, 0xAB}, {0x8E, 0xAE}, {0x8F, 0xAC},
                                              {0x9A, 0xB9}, {0x9C, 0xB6}, {0x9D, 0xBB}, {0x9E, 0xBE}, {0x9F, 0xBC},
                                              {0xA1, 0xB7}, {0xA5, 0xA1}, {0xB9, 0xB1}, {0xBC, 0xA5}, {0xBE, 0xB5}};
        for (const auto &m : moves)
            t[m[0] - 0x80] = static_cast<char>(m[1]);
        return t;
    }();
    return table;
}

}  // namespace

QStringList encodingLabels()
{
    return {u"UTF-8"_s, u"windows-1250"_s, u"iso-8859-2"_s, u"UTF-8 (L2)"_s, u"windows-1250 (L2)"_s};
}

QString declarationEncoding(int kodovani)
{
    switch (kodovani) {
    case KodCp1250:
    case KodCp1250L2: return u"windows-1250"_s;
    case KodIso88592: return u"iso-8859-2"_s;
    default: return u"UTF-8"_s;
    }
}

QByteArray escapeAttribute(const QByteArray &cp1250, qsizetype limit)
{
    QByteArray text = cp1250;
    text.replace('^', QByteArray());
    // Control characters (pasted text can bring them) are not allowed in an XML file at all;
    // they become "?" like any other character the file cannot carry.
    for (char &ch : text)
        if (static_cast<unsigned char>(ch) < 0x20 && ch != '\t' && ch != '\n' && ch != '\r')
            ch = '?';
    constexpr std::pair<char, const char *> entities[] = {
        {'&', "&amp;"}, {'"', "&quot;"}, {'<', "&lt;"}, {'>', "&gt;"}};
    for (const auto &[c, entity] : entities) {
        if (!text.contains(c))
            continue;
        const qsizetype grow = qsizetype(qstrlen(entity)) - 1;
        qsizetype length = text.size();
        bool dropping = false;
        QByteArray out;
        out.reserve(text.size() + 16);
        for (const char ch : std::as_const(text)) {
            if (ch != c) {
                out.append(ch);
                continue;
            }
            if (!dropping && length + grow > limit)
                dropping = true;
            if (dropping) {
                --length;
                continue;
            }
            out.append(entity);
            length += grow;
        }
        text = out;
    }
    return text;
}

QByteArray convertFromCp1250(const QByteArray &cp1250, int kodovani, qsizetype limit)
{
    QByteArray out;
    out.reserve(qMin(limit, cp1250.size() * (isUtf8(kodovani) ? 2 : 1)));
    const bool utf8 = isUtf8(kodovani);
    const bool iso = kodovani == KodIso88592;
    for (const char ch : cp1250) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80 || (!utf8 && !iso)) {
            if (out.size() < limit)
                out.append(ch);
        } else if (iso) {
            if (out.size() < limit)
                out.append(isoTable()[b - 0x80]);
        } else {
            const QByteArray &form = utf8Table()[b - 0x80];
            if (out.size() + form.size() <= limit)
                out.append(form);
        }
    }
    return out;
}

QByteArray cutConverted(const QByteArray &converted, qsizetype limit, int kodovani)
{
    if (converted.size() <= limit)
        return converted;
    qsizetype cut = qMax<qsizetype>(limit, 0);
    if (isUtf8(kodovani))
        while (cut > 0 && (static_cast<unsigned char>(converted.at(cut)) & 0xC0) == 0x80)
            --cut;
    return converted.left(cut);
}

QByteArray upperCp1250(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        const QChar capital = c.toUpper();
        if (platform::representableInCp1250(capital))
            c = capital;
    }
    return platform::toCp1250(upper);
}

QStringList memoLines(const QString &memo)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < memo.size(); ++i) {
        const QChar c = memo.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(memo.mid(start, i - start));
        if (c == u'\r' && i + 1 < memo.size() && memo.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < memo.size())
        lines.append(memo.mid(start));
    return lines;
}

}  // namespace rur::print
