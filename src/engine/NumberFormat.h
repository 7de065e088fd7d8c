#pragma once

#include <QString>
#include <optional>

namespace rur::engine {

// Formats a value with a display pattern such as "0", "0.00", "0.##", "0.0000" or "#,##0.00".
// Rounding works on the exact binary value, halves away from zero (2.5 gives 3, 2.675 gives
// 2.67 because its binary value lies below the half). An empty pattern gives the shortest
// text of at most 15 significant digits. A result that rounds to zero carries no sign.
QString formatFloat(double value, const QString &pattern, QChar decimalSeparator = QLatin1Char(','));

// Text rounding: the value formatted with the pattern and read back.
double textRound(double value, const QString &pattern);

// Reads a number typed by the user or written by the program: "," or "." as the decimal
// separator, blanks ignored. Returns nothing for text that is not a number.
std::optional<double> parseNumber(const QString &text);

// Shortest text in fixed notation that reads back as the same double ("15", "100000",
// "0.85", "-3.5"); "." separator.
QString shortestText(double value);

}  // namespace rur::engine
