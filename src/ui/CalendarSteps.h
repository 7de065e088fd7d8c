#pragma once

// The calendar's rules without its window: the month and year steps, where the window
// stands, and what KDatum does to the date field it was opened for.

#include <QDate>
#include <QPoint>
#include <QString>

namespace rur::engine {
class Table;
}
namespace rur::platform {
class IniFile;
}

namespace rur::ui {

// One month back or on: the same day of the month, or the month's last day when it is
// shorter (31 January gives 28 or 29 February, and that gives 28 or 29 March).
QDate previousMonth(const QDate &date);
QDate nextMonth(const QDate &date);
// One year back or on: 29 February becomes 28 February first.
QDate previousYear(const QDate &date);
QDate nextYear(const QDate &date);

// The calendar's place: the stored KalendarTop / KalendarLeft of the data set's section, or
// (148, 128) on a screen narrower than 641 pixels and (228, 188) on a larger one. Without a
// section (no data set) the default. Points are (left, top).
QPoint readCalendarPosition(const platform::IniFile &ini, const QString &section, int screenWidth);
bool writeCalendarPosition(platform::IniFile &ini, const QString &section, QPoint position);

// The date the calendar starts on for a field: its date, or today when it is empty.
QDate calendarStartDate(const engine::Table &table, const QString &fieldName, const QDate &today);

}  // namespace rur::ui
