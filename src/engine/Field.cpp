#include "engine/Field.h"

#include "engine/EngineError.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace rur::engine {

QString formatDate(const QDate &date)
{
    return date.isValid() ? date.toString(u"dd.MM.yyyy"_s) : QString();
}

QDate parseDate(const QString &text)
{
    const QStringList parts = text.trimmed().split(u'.');
    if (parts.size() != 3)
        return {};
    bool okD = false, okM = false, okY = false;
    const int d = parts[0].toInt(&okD), m = parts[1].toInt(&okM), y = parts[2].toInt(&okY);
    if (!okD || !okM || !okY || parts[2].size() != 4)
        return {};
    return QDate(y, m, d);
}

namespace {

QString numberText(double v)
{
    return formatFloat(v, QString(), u',');
}

[[noreturn]] void invalidValue(const FieldDef &f, const QString &text)
{
    RUR_THROW(ErrInvalidValue, u"„"_s + text + u"“ není platná hodnota pro "_s + fieldCaption(f) + u'.');
}

// A sum or product that overflowed the numbers: no field holds it, and it must not pass as 0.
[[noreturn]] void notFinite(const FieldDef &f)
{
    QString message = u"Hodnota není platná pro "_s + fieldCaption(f) + u'.';
    if (f.minValue && f.maxValue)
        message += u" Povolený rozsah je "_s + formatFloat(*f.minValue, f.displayFormat) + u" až "_s
                   + formatFloat(*f.maxValue, f.displayFormat) + u'.';
    RUR_THROW(ErrOutOfRange, message);
}

}  // namespace

QVariant convertToFieldType(const FieldDef &f, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    switch (f.type) {
    case FieldType::Float: {
        if (isText) {
            if (value.toString().trimmed().isEmpty())
                return {};
            const auto v = parseNumber(value.toString());
            if (!v)
                invalidValue(f, value.toString());
            if (!std::isfinite(*v))
                notFinite(f);
            return *v;
        }
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok)
            invalidValue(f, value.toString());
        if (!std::isfinite(v))
            notFinite(f);
        return v;
    }
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::AutoInc: {
        double v = 0;
        if (isText) {
            if (value.toString().trimmed().isEmpty())
                return {};
            const auto parsed = parseNumber(value.toString());
            if (!parsed)
                invalidValue(f, value.toString());
            v = *parsed;
        } else {
            bool ok = false;
            v = value.toDouble(&ok);
            if (!ok)
                invalidValue(f, value.toString());
        }
        if (!std::isfinite(v))
            notFinite(f);
        // A typed fraction is refused rather than silently rounded; a computed one is
        // rounded halves away from zero.
        if (isText && v != std::trunc(v))
            invalidValue(f, value.toString());
        v = std::round(v);
        const double lo = f.type == FieldType::Smallint ? -32768.0 : -2147483648.0;
        const double hi = f.type == FieldType::Smallint ? 32767.0 : 2147483647.0;
        if (!(v >= lo && v <= hi))
            RUR_THROW(ErrOutOfRange, u"Hodnota "_s + numberText(v) + u" není platná pro "_s + fieldCaption(f) + u'.');
        return int(v);
    }
    case FieldType::Char: {
        QString s = value.toString();
        // A character outside the Basic Multilingual Plane takes two units: it is kept whole
        // or left out, never cut in half.
        if (f.size > 0 && s.size() > f.size)
            s.truncate(s.at(f.size - 1).isHighSurrogate() ? f.size - 1 : f.size);
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Memo: {
        const QString s = value.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Boolean:
        if (isText) {
            const QString s = value.toString().trimmed();
            if (s.isEmpty())
                return {};
            if (s.compare(u"true"_s, Qt::CaseInsensitive) == 0 || s == u"1"_s)
                return true;
            if (s.compare(u"false"_s, Qt::CaseInsensitive) == 0 || s == u"0"_s)
                return false;
            invalidValue(f, s);
        }
        return value.toBool();
    case FieldType::Date: {
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().isValid() ? value : QVariant();
        const QString s = value.toString().trimmed();
        if (s.isEmpty())
            return {};
        QDate d = parseDate(s);
        if (!d.isValid())
            d = QDate::fromString(s, Qt::ISODate);
        if (!d.isValid())
            invalidValue(f, s);
        return d;
    }
    }
    return value;
}

const FieldDef &Field::def() const
{
    return table_->def().fields[index_];
}

QVariant Field::value() const
{
    return table_->value(index_);
}

QString Field::asString() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    switch (type()) {
    case FieldType::Date: return formatDate(v.toDate());
    case FieldType::Float: return formatFloat(v.toDouble(), QString(), u',');
    case FieldType::Boolean: return v.toBool() ? u"True"_s : u"False"_s;
    default: return v.toString();
    }
}

double Field::asFloat() const
{
    return value().toDouble();
}

int Field::asInteger() const
{
    const QVariant v = value();
    if (type() == FieldType::Float)
        return int(std::round(v.toDouble()));
    return v.toInt();
}

bool Field::asBoolean() const
{
    return value().toBool();
}

QDate Field::asDate() const
{
    return value().toDate();
}

void Field::setValue(const QVariant &v)
{
    table_->setValue(index_, v);
}

void Field::setText(const QString &text)
{
    table_->setFieldText(index_, text);
}

QString Field::displayText() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (type() == FieldType::Float)
        return formatFloat(v.toDouble(), displayFormat(), u',');
    return asString();
}

}  // namespace rur::engine
