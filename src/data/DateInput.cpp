#include "data/DateInput.h"

#include "engine/EngineError.h"
#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::data {

QString DatumAll(const QString &input, const QDate &today)
{
    QString text = input;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        bool ok = false;
        const int days = text.toInt(&ok);
        return today.addDays(ok ? days : 0).toString(u"d.M.yyyy"_s);
    }
    text.replace(u',', u'.');
    text.replace(u'/', u'.');
    if (text.size() > 3 && !text.contains(u'.')) {
        text.insert(2, u'.');
        text.insert(5, u'.');
    }
    const qsizetype dots = text.count(u'.');
    const qsizetype last = text.lastIndexOf(u'.') + 1;  // counted from 1, 0 without a dot
    const bool endsInDot = text.endsWith(u'.');
    if (endsInDot && last > 3 && last <= 6 && dots == 2)
        text += today.toString(u"yyyy"_s);
    else if (endsInDot && last > 1 && last < 4 && dots == 1)
        text += today.toString(u"M.yyyy"_s);
    else if (dots == 0 && (text.size() == 1 || text.size() == 2))
        text += today.toString(u".M.yyyy"_s);
    return text;
}

QDate DatumM1(int months, const QDate &date)
{
    // QDate clamps the day to the length of the target month, leap years included.
    return date.addMonths(months);
}

int fullYear(int twoDigitYear, const QDate &today)
{
    const int base = today.year() - 50;
    int year = base / 100 * 100 + twoDigitYear;
    if (year < base)
        year += 100;
    return year;
}

namespace {

bool allDigits(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// d.m.yyyy or d.m.yy; invalid for anything else.
QDate readDate(const QString &text, const QDate &today)
{
    const QStringList parts = text.trimmed().split(u'.');
    if (parts.size() != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2]))
        return {};
    int year = parts[2].toInt();
    if (parts[2].size() == 2)
        year = fullYear(year, today);
    else if (parts[2].size() != 4)
        return {};
    return QDate(year, parts[1].toInt(), parts[0].toInt());
}

}  // namespace

QDate dateFromText(const QString &text, const QDate &today)
{
    return readDate(DatumAll(text, today), today);
}

void setDateText(engine::Field field, const QString &text, const QDate &today)
{
    const QString expanded = DatumAll(text, today);
    if (expanded.trimmed().isEmpty()) {
        field.clear();
        return;
    }
    const QDate date = readDate(expanded, today);
    if (!date.isValid())
        RUR_THROW(engine::ErrInvalidValue, u"„"_s + expanded + u"“ není platné datum."_s);
    field.setValue(date);
}

void attachDateInput(const QList<engine::Table *> &tables, std::function<QDate()> today)
{
    for (engine::Table *table : tables) {
        for (int i = 0; i < table->fieldCount(); ++i) {
            const engine::Field field = table->fieldAt(i);
            if (field.type() != engine::FieldType::Date || field.isCalculated())
                continue;
            table->setOnSetText(field.name(), [today](engine::Field f, const QString &text) {
                setDateText(f, text, today());
            });
        }
    }
}

}  // namespace rur::data
