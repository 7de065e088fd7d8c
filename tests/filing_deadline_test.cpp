// The period of a return and the day by which it is filed and paid: Easter, the public
// holidays and the move past weekends and holidays.
#include "support/printers.h"
#include "vat/FilingDeadline.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using rur::vat::filingDeadline;

namespace {

TEST(FilingDeadline, EasterSundayOfKnownYears)
{
    const QDate known[] = {
        {2000, 4, 23}, {2008, 3, 23}, {2011, 4, 24}, {2016, 3, 27}, {2018, 4, 1},  {2019, 4, 21},
        {2024, 3, 31}, {2025, 4, 20}, {2038, 4, 25},  // the latest possible date
        {2285, 3, 22},                                // the earliest possible date
    };
    for (const QDate &easter : known)
        EXPECT_EQ(rur::vat::easterSunday(easter.year()), easter);
}

TEST(FilingDeadline, PublicHolidays)
{
    const struct {
        QDate day;
        bool holiday;
        const char *why;
    } cases[] = {
        {{2019, 1, 1}, true, "New Year"},
        {{2015, 4, 3}, false, "Good Friday before 2016 was a working day"},
        {{2016, 3, 25}, true, "Good Friday, the first year"},
        {{2019, 4, 19}, true, "Good Friday"},
        {{2015, 4, 6}, true, "Easter Monday"},
        {{2024, 4, 1}, true, "Easter Monday"},
        {{2024, 3, 31}, false, "Easter Sunday is a Sunday, no holiday of its own"},
        {{2018, 5, 1}, true, "1 May"},
        {{2018, 5, 8}, true, "8 May"},
        {{2018, 7, 5}, true, "5 July"},
        {{2018, 7, 6}, true, "6 July"},
        {{2018, 9, 28}, true, "28 September"},
        {{2018, 10, 28}, true, "28 October"},
        {{2018, 11, 17}, true, "17 November"},
        {{2018, 12, 24}, true, "Christmas Eve"},
        {{2018, 12, 26}, true, "St Stephen's Day"},
        {{2018, 12, 27}, false, "an ordinary Thursday"},
        {{2018, 12, 31}, false, "New Year's Eve is a working day"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(rur::vat::isPublicHoliday(c.day), c.holiday) << c.why;
}

// The 25th day after the end of a period (or of its part), moved to the next working day.
TEST(FilingDeadline, TwentyFifthDayMovedPastWeekendsAndHolidays)
{
    const struct {
        QDate end;
        QDate deadline;
        const char *why;
    } cases[] = {
        {{2018, 3, 31}, {2018, 4, 25}, "March 2018: a Wednesday"},
        {{2018, 7, 31}, {2018, 8, 27}, "July 2018: the 25th is a Saturday"},
        {{2018, 10, 31}, {2018, 11, 26}, "October 2018: a Sunday"},
        {{2018, 11, 30}, {2018, 12, 27}, "November 2018: 25 and 26 December"},
        {{2020, 11, 30}, {2020, 12, 28}, "November 2020: Christmas Day on a Friday, then the weekend"},
        {{2019, 11, 29}, {2019, 12, 27}, "a part of November 2019: Christmas Eve to St Stephen's Day"},
        {{2016, 2, 29}, {2016, 3, 29}, "February 2016: Good Friday, the weekend and Easter Monday"},
        {{2005, 2, 28}, {2005, 3, 25}, "February 2005: Good Friday was no holiday yet"},
        {{2011, 3, 31}, {2011, 4, 26}, "March 2011 or the first quarter of 2011: Easter Monday"},
        {{2019, 3, 25}, {2019, 4, 23}, "a part of March 2019: Good Friday to Easter Monday"},
        {{2018, 12, 31}, {2019, 1, 25}, "the fourth quarter of 2018: a Friday"},
        {{2018, 12, 7}, {2019, 1, 2}, "New Year's Day"},
        {{2019, 6, 10}, {2019, 7, 8}, "5 July on a Friday, 6 July on a Saturday"},
        {{2020, 4, 6}, {2020, 5, 4}, "1 May on a Friday"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(filingDeadline(c.end), c.deadline) << c.why;
    EXPECT_FALSE(filingDeadline(QDate()).isValid());
}

TEST(FilingDeadline, SupplementaryReturnByTheEndOfTheNextMonth)
{
    EXPECT_EQ(rur::vat::supplementaryDeadline({2019, 1, 10}), QDate(2019, 2, 28));
    EXPECT_EQ(rur::vat::supplementaryDeadline({2018, 11, 30}), QDate(2018, 12, 31));
    EXPECT_EQ(rur::vat::supplementaryDeadline({2019, 7, 12}), QDate(2019, 9, 2)) << "31 August 2019 is a Saturday";
    EXPECT_FALSE(rur::vat::supplementaryDeadline(QDate()).isValid());
}

TEST(FilingDeadline, PeriodOfTheTaxpayerData)
{
    const auto november = rur::vat::returnPeriod(u"listopad"_s, QString(), u"2018"_s);
    ASSERT_TRUE(november);
    EXPECT_EQ(november->first, QDate(2018, 11, 1));
    EXPECT_EQ(november->last, QDate(2018, 11, 30));
    EXPECT_EQ(november->name, u"listopad 2018"_s);
    EXPECT_FALSE(november->lastOfYear());

    const auto fourth = rur::vat::returnPeriod(QString(), u"IV."_s, u"2018"_s);
    ASSERT_TRUE(fourth);
    EXPECT_EQ(fourth->first, QDate(2018, 10, 1));
    EXPECT_EQ(fourth->last, QDate(2018, 12, 31));
    EXPECT_EQ(fourth->name, u"IV. čtvrtletí 2018"_s);
    EXPECT_TRUE(fourth->lastOfYear());
    EXPECT_TRUE(rur::vat::returnPeriod(u"prosinec"_s, QString(), u"2018"_s)->lastOfYear());
    // Fields as the table keeps them, padded with blanks.
    EXPECT_EQ(rur::vat::returnPeriod(u"únor "_s, u" "_s, u"2016"_s)->last, QDate(2016, 2, 29));

    const struct {
        const char16_t *month, *quarter, *year;
    } unclear[] = {
        {u"listopad", u"IV.", u"2018"},  // both
        {u"", u"", u"2018"},             // neither
        {u"Listopad", u"", u"2018"},     // no month of the list
        {u"", u"V.", u"2018"},
        {u"listopad", u"", u"18"},       // no four-digit year
        {u"listopad", u"", u"20x8"},
    };
    for (const auto &c : unclear)
        EXPECT_FALSE(rur::vat::returnPeriod(QString::fromUtf16(c.month), QString::fromUtf16(c.quarter),
                                            QString::fromUtf16(c.year)))
            << QString::fromUtf16(c.month).toStdString() << "/" << QString::fromUtf16(c.quarter).toStdString() << "/"
            << QString::fromUtf16(c.year).toStdString();
}

}  // namespace
