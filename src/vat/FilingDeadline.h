#pragma once

// The period a return is for and the day by which it must be filed and its tax paid. One
// routine for the whole program: the main window's overview, the check of a return and the
// control statement all take their deadlines from here.

#include <QDate>
#include <QString>
#include <optional>

namespace rur::vat {

// The tax period of a return as the taxpayer data names it.
struct ReturnPeriod {
    QDate first, last;
    bool monthly = true;
    int number = 0;  // month 1 to 12 or quarter 1 to 4
    QString name;    // "listopad 2018", "IV. čtvrtletí 2018"
    // December or the fourth quarter: the return saved with the yearly settlement.
    bool lastOfYear() const { return number == (monthly ? 12 : 4); }
};

// The period of the month name (M) or the quarter name (Q) and the year (R); nothing when
// both or neither are filled, the name is unknown or the year is not a four-digit year.
std::optional<ReturnPeriod> returnPeriod(const QString &month, const QString &quarter, const QString &year);

// Easter Sunday of a year of the Gregorian calendar (computed, not listed).
QDate easterSunday(int year);
// A Czech public holiday on which offices are closed: 1 January, Good Friday (since 2016),
// Easter Monday, 1 and 8 May, 5 and 6 July, 28 September, 28 October, 17 November and
// 24 to 26 December.
bool isPublicHoliday(const QDate &day);
bool isWorkingDay(const QDate &day);
// The day itself when it is a working day, else the next working day.
QDate nextWorkingDay(const QDate &day);

// A regular or corrective return is filed and its tax paid by the 25th day after the end of
// the period (or of its part); a deadline falling on a Saturday, a Sunday or a public holiday
// moves to the next working day.
QDate filingDeadline(const QDate &periodEnd);
// A supplementary return is due by the end of the month after the month in which the reasons
// for it were found, moved in the same way.
QDate supplementaryDeadline(const QDate &reasonsFound);

}  // namespace rur::vat
