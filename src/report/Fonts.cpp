#include "report/Fonts.h"

#include <QFontMetricsF>
#include <QHash>

using namespace Qt::StringLiterals;

namespace rur::report {

namespace {

// Metrics are asked for thousands of times per page; a font's metrics object is made once.
const QFontMetricsF &metricsOf(const FontSpec &spec)
{
    // Kept to the end of the program, never destroyed: fonts must not outlive the application.
    static auto *cache = new QHash<QString, QFontMetricsF *>();
    const QString key = spec.family + u'|' + QString::number(spec.height) + u'|' + QChar(spec.bold ? u'b' : u'-')
                        + QChar(spec.italic ? u'i' : u'-');
    auto it = cache->constFind(key);
    if (it == cache->constEnd())
        it = cache->insert(key, new QFontMetricsF(qfont(spec)));
    return **it;
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
