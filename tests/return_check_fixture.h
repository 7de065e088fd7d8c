// A data set with a valid, fully filled return: the fixture the tests of the return's check
// share, with the findings as rur-cli prints them.
#pragma once

#include "base/Directories.h"
#include "check/ReturnCheck.h"
#include "data/DataM1.h"
#include "print/XmlText.h"
#include "support/filled_return.h"
#include "support/test_root.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace rur::testing {

inline QStringList findingLines(const QList<check::Finding> &findings)
{
    QStringList out;
    for (const check::Finding &f : findings)
        out.append(check::findingLine(f));
    return out;
}

class ReturnCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        openNewDataSet(root, dirs, dm);
        fillValidReturn(dm);
    }

    QList<check::Finding> content() { return check::checkContent(dm, kValidReturnToday); }
    QList<check::Finding> all(int kodovani = print::KodUtf8)
    {
        return check::KontrolaRur(dm, kodovani, kValidReturnToday);
    }
    // The one finding of the content check, or a failure listing what was found instead.
    check::Finding only()
    {
        const QList<check::Finding> found = content();
        EXPECT_EQ(found.size(), 1) << findingLines(found).join(u'\n').toStdString();
        return found.value(0);
    }

    TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
};

}  // namespace rur::testing
