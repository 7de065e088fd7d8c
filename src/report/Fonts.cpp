#include "report/Fonts.h"

#include <QFontMetricsF>
#include <QList>

using namespace Qt::StringLiterals;

namespace rur::report {

namespace {

// Fonts and their metrics are asked for thousands of times per page, for a handful of
// distinct fonts: each is made once. Kept to the end of the program and never destroyed, as
// fonts must not outlive the application.
struct CachedFont {
    FontSpec spec;
    QFont font;
    QFontMetricsF metrics;
};

const CachedFont &cached(const FontSpec &spec)
{
    static auto *cache = new QList<CachedFont *>();
    for (const CachedFont *c : std::as_const(*cache))
        if (c->spec.height == spec.height && c->spec.bold == spec.bold && c->spec.italic == spec.italic
            && c->spec.underline == spec.underline && c->spec.family == spec.family)
            return *c;
    QFont font = qfont(spec);
    cache->append(new CachedFont{spec, font, QFontMetricsF(font)});
    return *cache->last();
}

const QFontMetricsF &metricsOf(const FontSpec &spec)
{
    return cached(spec).metrics;
}

}  // namespace

QString resolveFamily(const QString &name)
{
    QString base = name.trimmed();
    if (base.endsWith(u" CE"_s, Qt::CaseInsensitive))
        base.chop(3);
    static const std::pair<const char16_t *, const char16_t *> twins[] = {
        {u"Arial", u"Liberation Sans"},
        {u"Courier New", u"Liberation Mono"},
        {u"Times New Roman", u"Liberation Serif"},
    };
    for (const auto &[family, twin] : twins)
        if (base.compare(QString::fromUtf16(family), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(twin);
    return base;
}

QFont qfont(const FontSpec &spec)
{
    QFont f(resolveFamily(spec.family));
    f.setPixelSize(qMax(1, spec.height));
    f.setBold(spec.bold);
    f.setItalic(spec.italic);
    f.setUnderline(spec.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

const QFont &fontOf(const FontSpec &spec)
{
    return cached(spec).font;
}

double textWidth(const FontSpec &spec, const QString &text)
{
    return text.isEmpty() ? 0.0 : metricsOf(spec).horizontalAdvance(text);
}

double lineHeight(const FontSpec &spec)
{
    return metricsOf(spec).lineSpacing();
}

QStringList wrapLines(const FontSpec &spec, const QString &text, double width)
{
    const QFontMetricsF &fm = metricsOf(spec);
    QStringList out;
    QString normalised = text;
    normalised.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    for (const QString &paragraph : normalised.split(u'\n')) {
        if (paragraph.isEmpty() || width <= 0 || fm.horizontalAdvance(paragraph) <= width) {
            out.append(paragraph);
            continue;
        }
        QString line;
        qsizetype i = 0;
        while (i < paragraph.size()) {
            // The next word with the blanks before it.
            qsizetype end = i;
            while (end < paragraph.size() && paragraph.at(end) == u' ')
                ++end;
            while (end < paragraph.size() && paragraph.at(end) != u' ')
                ++end;
            const QString piece = paragraph.mid(i, end - i);
            if (fm.horizontalAdvance(line + piece) <= width) {
                line += piece;
                i = end;
                continue;
            }
            if (!line.trimmed().isEmpty()) {
                out.append(line);
                line.clear();
                // A new line does not start with the blanks that separated the words.
                while (i < paragraph.size() && paragraph.at(i) == u' ')
                    ++i;
                continue;
            }
            // A word wider than the line is broken where it reaches the edge.
            QString word = piece.trimmed();
            i = end;
            while (!word.isEmpty()) {
                qsizetype n = 1;
                while (n < word.size() && fm.horizontalAdvance(word.left(n + 1)) <= width)
                    ++n;
                if (n == word.size()) {
                    line = word;
                    break;
                }
                out.append(word.left(n));
                word = word.mid(n);
            }
        }
        if (!line.isEmpty() || out.isEmpty())
            out.append(line);
    }
    return out;
}

}  // namespace rur::report
