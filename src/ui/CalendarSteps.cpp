#include "ui/CalendarSteps.h"

#include "engine/Table.h"
#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::ui {

namespace {

// The remembered day in the given month, or the month's last day.
QDate dayInMonth(int year, int month, int day)
{
    const QDate first(year, month, 1);
    return QDate(year, month, qMin(day, first.daysInMonth()));
}

QDate yearStep(const QDate &date, int years)
{
    if (!date.isValid())
        return date;
    QDate from = date;
    if (from.month() == 2 && from.day() == 29)
        from = QDate(from.year(), 2, 28);
    return QDate(from.year() + years, from.month(), from.day());
}

constexpr int kSmallScreenWidth = 640;

}  // namespace

QDate previousMonth(const QDate &date)
{
    if (!date.isValid())
        return date;
    // The last day of the previous month, then the remembered day in it.
    const QDate lastOfPrevious = QDate(date.year(), date.month(), 1).addDays(-1);
    return dayInMonth(lastOfPrevious.year(), lastOfPrevious.month(), date.day());
}

QDate nextMonth(const QDate &date)
{
    if (!date.isValid())
        return date;
    const QDate firstOfNext = QDate(date.year(), date.month(), date.daysInMonth()).addDays(1);
    return dayInMonth(firstOfNext.year(), firstOfNext.month(), date.day());
}

QDate previousYear(const QDate &date)
{
    return yearStep(date, -1);
}

QDate nextYear(const QDate &date)
{
    return yearStep(date, 1);
}

QPoint readCalendarPosition(const platform::IniFile &ini, const QString &section, int screenWidth)
{
    const QPoint def = screenWidth <= kSmallScreenWidth ? QPoint(148, 128) : QPoint(228, 188);
    if (section.isEmpty())
        return def;
    return {ini.readInteger(section, u"KalendarLeft"_s, def.x()), ini.readInteger(section, u"KalendarTop"_s, def.y())};
}

bool writeCalendarPosition(platform::IniFile &ini, const QString &section, QPoint position)
{
    if (section.isEmpty())
        return true;
    return ini.writeInteger(section, u"KalendarTop"_s, position.y())
           && ini.writeInteger(section, u"KalendarLeft"_s, position.x());
}

QDate calendarStartDate(const engine::Table &table, const QString &fieldName, const QDate &today)
{
    if (!table.isActive())
        return today;
    const int index = table.def().indexOf(fieldName);
    const QDate date = index >= 0 ? table.value(index).toDate() : QDate();
    return date.isValid() ? date : today;
}

}  // namespace rur::ui
