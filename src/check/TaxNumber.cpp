// The VAT number of a person is CZ and the birth number: YYMMDD and a serial of three digits
// (until 1953) or of four with a check digit (from 1954). Women have 50 added to the month;
// since 2004 a further 20 may be added when a day's serials run out. A ten-digit number is
// divisible by 11, except that numbers given before 1985 whose first nine digits leave 10
// end in 0. A company's number (IČO) has eight digits, the last a check digit over the first
// seven weighted 8 down to 2: the sum's remainder by 11 is 0 for check digit 1, 1 for 0, and
// r for 11 - r.
#include "check/TaxNumber.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::check {

namespace {

int digitsAt(const QString &s, int from, int n)
{
    return s.mid(from, n).toInt();
}

bool birthDateValid(const QString &digits, const QDate &today)
{
    const bool tenDigits = digits.size() == 10;
    const int yy = digitsAt(digits, 0, 2);
    int month = digitsAt(digits, 2, 2);
    const int day = digitsAt(digits, 4, 2);
    const int year = tenDigits && yy < 54 ? 2000 + yy : 1900 + yy;
    if (month > 50)
        month -= 50;
    if (month > 20) {
        if (!tenDigits || year < 2004)
            return false;
        month -= 20;
    }
    const QDate born(year, month, day);
    return born.isValid() && born <= today;
}

bool checkDigitValid(const QString &digits)
{
    const qint64 number = digits.toLongLong();
    if (number % 11 == 0)
        return true;
    // The old exception: the first nine digits leave 10 and the check digit is 0 (until 1985).
    const qint64 first = number / 10;
    const int yy = digitsAt(digits, 0, 2);
    return first % 11 == 10 && number % 10 == 0 && yy >= 54 && yy < 85;
}

bool companyCheckDigitValid(const QString &digits)
{
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += digits[i].digitValue() * (8 - i);
    const int remainder = sum % 11;
    const int check = remainder == 0 ? 1 : (remainder == 1 ? 0 : 11 - remainder);
    return digits[7].digitValue() == check;
}

}  // namespace

DicFault checkDic(const QString &dic, const QDate &today)
{
    if (dic.trimmed().isEmpty())
        return DicFault::Empty;
    static const QRegularExpression form(u"^CZ([0-9]{8,10})$"_s);
    const QRegularExpressionMatch m = form.match(dic);
    if (!m.hasMatch())
        return DicFault::Format;
    const QString digits = m.captured(1);
    if (digits.size() == 8)
        return companyCheckDigitValid(digits) ? DicFault::None : DicFault::CompanyCheckDigit;
    if (digits.size() == 9 && digitsAt(digits, 0, 2) > 53)
        return DicFault::NineDigitYear;
    if (!birthDateValid(digits, today))
        return DicFault::BirthDate;
    if (digits.size() == 10 && !checkDigitValid(digits))
        return DicFault::CheckDigit;
    return DicFault::None;
}

}  // namespace rur::check
