#pragma once

#include <QString>

namespace rur::data {

// National part of a VAT number: CZ12345678 gives 12345678; 12345678 stays; a text of two
// characters or fewer stays as it is.
QString Dicp2(const QString &dic);

// Splits a street line at its last blank into street (part 1) and house number (part 0)
// when the rest is 1 to 8 characters long and begins with a digit; otherwise the street
// is the whole text and the number is empty. "Dlouhá 12/5" gives "Dlouhá" and "12/5".
QString Ulcd2(const QString &text, int part);

// Splits a text at the first separator: part 1 before it, part 0 after it; without the
// separator part 1 is the whole text and part 0 is empty.
QString Ulcd3(const QString &text, int part, const QString &separator);

}  // namespace rur::data
