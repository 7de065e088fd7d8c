// The tax number's rules: a company's eight digits with their check digit, and a person's
// birth number with its date and, from 1954, its divisibility by eleven.
#include "check/TaxNumber.h"

#include <QDate>
#include <QString>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using check::DicFault;

TEST(TaxNumber, CompanyNumbersAndBirthNumbers)
{
    const QDate today(2018, 5, 2);
    const struct {
        const char *dic;
        DicFault fault;
    } cases[] = {
        {"", DicFault::Empty},
        {"CZ25596641", DicFault::None},          // a company: 176 by the weights 8 to 2 leaves 0, check digit 1
        {"CZ25596642", DicFault::CompanyCheckDigit},
        {"CZ12345678", DicFault::CompanyCheckDigit},  // 112 leaves 2: the check digit is 9
        {"CZ00000019", DicFault::None},          // 1 * 2 = 2 leaves 2: 9
        {"CZ00000060", DicFault::None},          // 6 * 2 = 12 leaves 1: 0
        {"CZ00000051", DicFault::None},          // 5 * 2 = 10 leaves 10: 1 (11 - 10)
        {"CZ00000116", DicFault::None},          // 1 * 3 + 1 * 2 = 5 leaves 5: 6
        {"12345678", DicFault::Format},          // no country code
        {"CZ1234567", DicFault::Format},         // seven digits
        {"CZ12345678901", DicFault::Format},     // eleven
        {"CZ 12345678", DicFault::Format},
        {"CZ530101123", DicFault::None},         // nine digits, born 1.1.1953
        {"CZ540101123", DicFault::NineDigitYear},
        {"CZ535228123", DicFault::None},         // a woman: month + 50
        {"CZ531301123", DicFault::BirthDate},    // month 13
        {"CZ530230123", DicFault::BirthDate},    // 30 February
        {"CZ7103192745", DicFault::None},        // divisible by 11
        {"CZ7103192746", DicFault::CheckDigit},
        {"CZ7161192742", DicFault::None},        // a woman, born 19.11.1971
        {"CZ7113192742", DicFault::BirthDate},   // month 13
        {"CZ0421010007", DicFault::None},        // month + 20, given since 2004
        {"CZ9021010008", DicFault::BirthDate},   // month + 20 in 1990
        {"CZ7801010020", DicFault::None},        // first nine leave 10, check digit 0, before 1985
        {"CZ0801010090", DicFault::CheckDigit},  // the same exception is gone in 2008
        {"CZ2001010009", DicFault::BirthDate},   // born in 2020: after today
    };
    for (const auto &c : cases)
        EXPECT_EQ(int(check::checkDic(QString::fromLatin1(c.dic), today)), int(c.fault)) << c.dic;
}
