// The sender of letters and payment orders filled from the taxpayer data.
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "datasets/SenderData.h"
#include "support/filled_return.h"
#include "support/test_root.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

class SenderData : public ::testing::Test {
protected:
    void SetUp() override
    {
        rur::testing::openNewDataSet(root, dirs, dm);
    }
    void TearDown() override { QDir::setCurrent(savedCwd); }

    // The sender after a transfer from a taxpayer row with these values.
    QStringList senderFrom(const QVariantMap &taxpayer)
    {
        QVariantMap cleared;
        for (const char16_t *field : {u"Tia", u"Jmb", u"Pra", u"Oj1a", u"Ojp3", u"Ul", u"Cpocp", u"Cpoco", u"Psc", u"Ob"})
            cleared.insert(QString::fromUtf16(field), QVariant());
        for (auto it = taxpayer.begin(); it != taxpayer.end(); ++it)
            cleared.insert(it.key(), it.value());
        rur::testing::setRow(*dm.Prp, rur::testing::inNameOrder(cleared));
        datasets::PrenosUdaju1(dm);
        dm.Mtt->refresh();
        QStringList out;
        for (const char16_t *field : {u"Fa", u"Ul", u"Psc", u"Mi"})
            out.append(dm.Mtt->field(QString::fromUtf16(field)).asString());
        return out;
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    const QString savedCwd = QDir::currentPath();
};

}  // namespace

TEST_F(SenderData, PersonOrCompanyWithTheStreetAndItsNumbers)
{
    EXPECT_EQ(senderFrom({{u"Jmb"_s, u"Jan"_s}, {u"Pra"_s, u"Novák"_s}, {u"Ul"_s, u"Dlouhá"_s}, {u"Cpocp"_s, u"1234"_s},
                          {u"Cpoco"_s, u"5a"_s}, {u"Psc"_s, u"11000"_s}, {u"Ob"_s, u"Praha 1"_s}}),
              (QStringList{u"Jan Novák"_s, u"Dlouhá 1234/5a"_s, u"11000"_s, u"Praha 1"_s}));
    EXPECT_EQ(senderFrom({{u"Tia"_s, u"Ing."_s}, {u"Pra"_s, u"Nováková"_s}, {u"Ul"_s, u"Krátká"_s}, {u"Cpocp"_s, u"12"_s}}),
              (QStringList{u"Ing. Nováková"_s, u"Krátká 12"_s, QString(), QString()}));
    // The full company name when there is one; the street number alone when that is all.
    EXPECT_EQ(senderFrom({{u"Oj1a"_s, u"ABC"_s}, {u"Ojp3"_s, u"ABC stavební s.r.o."_s}, {u"Ul"_s, u"Polní"_s},
                          {u"Cpoco"_s, u"7"_s}}),
              (QStringList{u"ABC stavební s.r.o."_s, u"Polní 7"_s, QString(), QString()}));
    EXPECT_EQ(senderFrom({{u"Oj1a"_s, u"ABC"_s}}).value(0), u"ABC"_s);
    // A row naming both a person and a company, or neither, gives no name.
    EXPECT_EQ(senderFrom({{u"Pra"_s, u"Novák"_s}, {u"Oj1a"_s, u"ABC"_s}}).value(0), QString());
    EXPECT_EQ(senderFrom({{u"Ul"_s, u"Polní"_s}}), (QStringList{QString(), u"Polní"_s, QString(), QString()}));
    // A long company name is cut to the sender's 35 characters.
    const QString longName = u"Společnost s velmi dlouhým názvem pro dopisy a.s."_s;
    EXPECT_EQ(senderFrom({{u"Ojp3"_s, longName}}).value(0), longName.left(35));
}
