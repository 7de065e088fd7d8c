#pragma once

#include "engine/Field.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

namespace rur::engine {
class Table;
}

namespace rur::data {

// Completes shorthand date input: "+7" or "-3" days from today, "," and "/" as separators,
// ddmmyy or ddmmyyyy without separators, and a missing month or year taken from today
// ("5" and "5." give the 5th of this month, "5.3." the 5th of March this year).
QString DatumAll(const QString &text, const QDate &today);

// Adds months to a date; a day beyond the end of the target month becomes its last day.
QDate DatumM1(int months, const QDate &date);

// A two-digit year as the year within 50 years of today (today - 50 .. today + 49).
int fullYear(int twoDigitYear, const QDate &today);

// Typed text as a date: expanded with DatumAll, a two-digit year read as above; an invalid
// date for empty text and for anything that is not a date.
QDate dateFromText(const QString &text, const QDate &today);

// Stores typed text in a date field: expands it with DatumAll, reads a two-digit year as
// above and sets the date. Empty text empties the field; anything else that is not a date
// throws EngineError "„<text>“ není platné datum." and leaves the field as it was.
void setDateText(engine::Field field, const QString &text, const QDate &today);

// Installs the date input above as the set-text hook of every stored date field.
void attachDateInput(const QList<engine::Table *> &tables, std::function<QDate()> today);

}  // namespace rur::data
