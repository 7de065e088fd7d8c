#include "report/Expression.h"

#include "report/DataSource.h"
#include "report/ReportError.h"

#include "engine/NumberFormat.h"

using namespace Qt::StringLiterals;

namespace rur::report {

namespace {

[[noreturn]] void invalid(const QString &text)
{
    throw ReportError(u"Neplatný výraz v sestavě: "_s + text);
}

// "Source.Field" split in two; false when the text is not of that form.
bool splitField(const QString &ref, QString *source, QString *field)
{
    const qsizetype dot = ref.indexOf(u'.');
    if (dot <= 0 || dot == ref.size() - 1)
        return false;
    *source = ref.left(dot).trimmed();
    *field = ref.mid(dot + 1).trimmed();
    const auto isName = [](const QString &s) {
        if (s.isEmpty())
            return false;
        for (QChar c : s)
            if (!c.isLetterOrNumber() && c != u'_')
                return false;
        return true;
    };
    return isName(*source) && isName(*field);
}

QVariant valueOf(const QMap<QString, DataSource *> &sources, const QString &source, const QString &field)
{
    const DataSource *s = sources.value(source);
    return s ? s->value(field) : QVariant();
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return true;
    default: return false;
    }
}

}  // namespace

Expression::Expression(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipBlanks = [&] {
        while (i < n && text.at(i).isSpace())
            ++i;
    };
    while (true) {
        skipBlanks();
        if (i >= n)
            invalid(text);
        Term t;
        if (text.at(i) == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            if (close < 0)
                invalid(text);
            t.kind = Term::Text;
            t.text = text.mid(i + 1, close - i - 1);
            i = close + 1;
        } else {
            qsizetype end = i;
            int depth = 0;
            while (end < n && (depth > 0 || text.at(end) != u'+')) {
                if (text.at(end) == u'(')
                    ++depth;
                else if (text.at(end) == u')')
                    --depth;
                ++end;
            }
            const QString word = text.mid(i, end - i).trimmed();
            i = end;
            bool isNum = false;
            const double number = word.toDouble(&isNum);
            if (isNum) {
                t.kind = Term::Number;
                t.number = number;
            } else if (word.compare(u"COUNT"_s, Qt::CaseInsensitive) == 0) {
                t.kind = Term::Count;
            } else if (word.startsWith(u"SUM("_s, Qt::CaseInsensitive) && word.endsWith(u')')) {
                t.kind = Term::Sum;
                if (!splitField(word.mid(4, word.size() - 5), &t.source, &t.field))
                    invalid(text);
            } else {
                t.kind = Term::Field;
                if (!splitField(word, &t.source, &t.field))
                    invalid(text);
            }
        }
        terms_.append(t);
        skipBlanks();
        if (i >= n)
            break;
        if (text.at(i) != u'+')
            invalid(text);
        ++i;
    }
}

QStringList Expression::sourceNames() const
{
    QStringList out;
    for (const Term &t : terms_)
        if ((t.kind == Term::Field || t.kind == Term::Sum) && !out.contains(t.source))
            out.append(t.source);
    return out;
}

bool Expression::hasAggregates() const
{
    for (const Term &t : terms_)
        if (t.kind == Term::Sum || t.kind == Term::Count)
            return true;
    return false;
}

void Expression::accumulate(const QMap<QString, DataSource *> &sources)
{
    for (Term &t : terms_) {
        if (t.kind == Term::Sum)
            t.sum += valueOf(sources, t.source, t.field).toDouble();
        else if (t.kind == Term::Count)
            ++t.count;
    }
}

void Expression::resetAggregates()
{
    for (Term &t : terms_) {
        t.sum = 0;
        t.count = 0;
    }
}

QString Expression::evaluate(const QMap<QString, DataSource *> &sources, const QString &format) const
{
    QList<QVariant> values;
    bool numeric = true;
    for (const Term &t : terms_) {
        QVariant v;
        switch (t.kind) {
        case Term::Text: v = t.text; break;
        case Term::Number: v = t.number; break;
        case Term::Field: v = valueOf(sources, t.source, t.field); break;
        case Term::Sum: v = t.sum; break;
        case Term::Count: v = t.count; break;
        }
        if (!v.isNull() && !isNumber(v))
            numeric = false;
        values.append(v);
    }
    if (numeric) {
        double sum = 0;
        for (const QVariant &v : values)
            sum += v.toDouble();
        return engine::formatFloat(sum, format, u',');
    }
    QString out;
    for (qsizetype k = 0; k < terms_.size(); ++k) {
        const Term &t = terms_[k];
        QString fieldFormat;
        if (t.kind == Term::Field)
            if (const DataSource *s = sources.value(t.source))
                fieldFormat = s->displayFormat(t.field);
        out += formatValue(values[k], fieldFormat);
    }
    return out;
}

}  // namespace rur::report
