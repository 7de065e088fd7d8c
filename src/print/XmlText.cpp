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

// ISO 8859-2 byte of each windows-1250 byte 0x80..0xFF: the same character where ISO 8859-2
// has it (most letters sit at the same place, fifteen elsewhere), '?' where it has none
// (the typographic quotes and dashes, the euro sign, ©, ®, µ ...). Copying such a byte would
// write another letter or a control code.
constexpr unsigned char kIsoFromCp1250[128] = {
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0xA9, 0x3F, 0xA6, 0xAB, 0xAE, 0xAC,
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0xB9, 0x3F, 0xB6, 0xBB, 0xBE, 0xBC,
    0xA0, 0xB7, 0xA2, 0xA3, 0xA4, 0xA1, 0x3F, 0xA7, 0xA8, 0x3F, 0xAA, 0x3F, 0x3F, 0xAD, 0x3F, 0xAF,
    0xB0, 0x3F, 0xB2, 0xB3, 0xB4, 0x3F, 0x3F, 0x3F, 0xB8, 0xB1, 0xBA, 0x3F, 0xA5, 0xBD, 0xB5, 0xBF,
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF,
    0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF,
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,
};

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
                out.append(static_cast<char>(kIsoFromCp1250[b - 0x80]));
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
    // Every '&' of an escaped text starts an entity: one left without its ';' would make
    // the file no XML at all, so the cut goes before it.
    const qsizetype amp = cut > 0 ? converted.lastIndexOf('&', cut - 1) : -1;
    const qsizetype semicolon = amp >= 0 ? converted.indexOf(';', amp) : -1;
    if (amp >= 0 && (semicolon < 0 || semicolon >= cut))
        cut = amp;
    return converted.left(cut);
}

QByteArray attributeValue(const QByteArray &escapedCp1250, int kodovani, qsizetype nameLength)
{
    return cutConverted(convertFromCp1250(escapedCp1250, kodovani), kXmlTextLimit - nameLength, kodovani);
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
