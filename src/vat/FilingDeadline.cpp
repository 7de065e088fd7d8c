#include "vat/FilingDeadline.h"

#include "datasets/Periods.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::vat {

std::optional<ReturnPeriod> returnPeriod(const QString &month, const QString &quarter, const QString &year)
{
    const QString m = month.trimmed(), q = quarter.trimmed(), r = year.trimmed();
    static const QRegularExpression fourDigits(u"^[0-9]{4}$"_s);
    if (m.isEmpty() == q.isEmpty() || !fourDigits.match(r).hasMatch() || r.toInt() < 1900)
        return std::nullopt;
    ReturnPeriod p;
    p.monthly = !m.isEmpty();
    p.number = int((p.monthly ? datasets::monthNames() : datasets::quarterNames()).indexOf(p.monthly ? m : q)) + 1;
    if (p.number == 0)
        return std::nullopt;
    p.first = QDate(r.toInt(), p.monthly ? p.number : 3 * p.number - 2, 1);
    p.last = p.first.addMonths(p.monthly ? 1 : 3).addDays(-1);
    p.name = p.monthly ? m + u' ' + r : q + u" čtvrtletí "_s + r;
    return p;
}

QDate easterSunday(int year)
{
    // The anonymous Gregorian computus (Meeus, Jones, Butcher).
    const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

bool isPublicHoliday(const QDate &day)
{
    if (!day.isValid())
        return false;
    static constexpr int fixed[][2] = {{1, 1},  {5, 1},   {5, 8},   {7, 5},   {7, 6},  {9, 28},
                                       {10, 28}, {11, 17}, {12, 24}, {12, 25}, {12, 26}};
    for (const auto &[month, dayOfMonth] : fixed)
        if (day.month() == month && day.day() == dayOfMonth)
            return true;
    const QDate easter = easterSunday(day.year());
    return day == easter.addDays(1) || (day.year() >= 2016 && day == easter.addDays(-2));
}

bool isWorkingDay(const QDate &day)
{
    return day.isValid() && day.dayOfWeek() <= 5 && !isPublicHoliday(day);
}

QDate nextWorkingDay(const QDate &day)
{
    QDate d = day;
    while (d.isValid() && !isWorkingDay(d))
        d = d.addDays(1);
    return d;
}

QDate filingDeadline(const QDate &periodEnd)
{
    return periodEnd.isValid() ? nextWorkingDay(periodEnd.addDays(25)) : QDate();
}

QDate supplementaryDeadline(const QDate &reasonsFound)
{
    if (!reasonsFound.isValid())
        return {};
    const QDate nextMonth = QDate(reasonsFound.year(), reasonsFound.month(), 1).addMonths(1);
    return nextWorkingDay(nextMonth.addDays(nextMonth.daysInMonth() - 1));
}

}  // namespace rur::vat
