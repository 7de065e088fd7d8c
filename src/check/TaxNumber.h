#pragma once

#include <QDate>
#include <QString>

namespace rur::check {

// What is wrong with a Czech VAT number (DIČ): "CZ" followed by 8 digits (a company number,
// IČO) or by the 9 or 10 digits of a person's birth number.
enum class DicFault {
    None,
    Empty,
    Format,         // not CZ and 8 to 10 digits
    NineDigitYear,  // nine-digit birth numbers were given only until 1953
    BirthDate,      // no real date of birth in the number, or one after today
    CheckDigit,     // a ten-digit birth number not divisible by 11
    CompanyCheckDigit,  // an eight-digit company number (IČO) whose last digit is wrong
};

DicFault checkDic(const QString &dic, const QDate &today);

}  // namespace rur::check
