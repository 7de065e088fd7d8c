// The taxpayer data taken from an income-tax return: what the legal person's (PO) and the
// individual's (SZ) returns write into Prp, what they leave alone, and bad sibling tables.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "support/sibling_files.h"
#include "support/test_root.h"
#include "transfer/SiblingData.h"
#include "transfer/TaxReturnTransfer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using Answer = platform::Prompter::Answer;
using transfer::SiblingKind;
using transfer::TransferResult;

namespace {

class TaxpayerTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        // What the taxpayer data held before: the transfers overwrite some of it.
        dm.Prp->edit();
        for (const auto &[field, value] : QList<std::pair<QString, QVariant>>{
                 {u"Jmb"_s, u"Jan"_s}, {u"Pra"_s, u"Dvořák"_s}, {u"Tia"_s, u"Ing."_s}, {u"Oj1a"_s, u"Stará firma"_s},
                 {u"Cpocp"_s, u"99"_s}, {u"Cpoco"_s, u"9"_s}, {u"Hp1"_s, u"Obchod"_s}, {u"Tel"_s, u"123456"_s}})
            dm.Prp->field(field).setValue(value);
        dm.Prp->post();
    }

    // The sibling's return of data set 1, with the given taxpayer row.
    QString returnWith(bool corporate, const QMap<QString, QString> &taxpayer)
    {
        sibling.addTaxReturn(1, u"D1"_s, corporate, taxpayer);
        return sibling.catalogue();
    }
    TransferResult transfer(SiblingKind kind, const QString &catalogue)
    {
        transfer::SiblingData data(kind);
        if (!data.show(catalogue, 1))
            return TransferResult::Failed;
        return transfer::transferTaxpayer(dm, data, prompter);
    }
    QString prp(const QString &field) { return dm.Prp->field(field).asString(); }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    QTemporaryDir folders;
    rur::testing::SiblingFolder sibling{folders.path() + u"/Ziradi vududera DI 2018"_s, u"Dan.ini"_s};
};

}  // namespace

TEST_F(TaxpayerTransfer, ALegalPersonsReturnGivesNameAddressAndOfficeAndLeavesThePersonAlone)
{
    const QString hp1 = u"Výroba, obchod a služby neuvedené v přílohách 1 až 3"_s.left(40);
    const QString catalogue = returnWith(true, {{u"Fu"_s, u"Praha 1"_s},
                                                {u"Dic"_s, u"CZ12345678"_s},
                                                {u"Oj1"_s, u"Alfa s.r.o."_s},
                                                {u"Mi"_s, u"Praha"_s},
                                                {u"Psc"_s, u"11000"_s},
                                                {u"Ul"_s, u"Dlouhá 1234/56a"_s},
                                                {u"Hp1"_s, hp1}});
    ASSERT_EQ(transfer(SiblingKind::TaxReturnPO, catalogue), TransferResult::Done);
    EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu chcete přenest údaje o poplatníkovi ?"_s,
                                             u"Údaje o poplatníkovi byly přeneseny."_s}));
    dm.Prp->close();
    dm.Prp->open();
    const QList<std::pair<QString, QString>> expected = {
        {u"Fu"_s, u"Praha 1"_s},  {u"Dic"_s, u"CZ12345678"_s}, {u"Oj1a"_s, u"Alfa s.r.o."_s},
        {u"Ojp3"_s, u"Alfa s.r.o."_s}, {u"Ul"_s, u"Dlouhá"_s}, {u"Cpocp"_s, u"1234"_s}, {u"Cpoco"_s, u"56a"_s},
        {u"Psc"_s, u"11000"_s},   {u"Ob"_s, u"Praha"_s},
        {u"Hp1"_s, hp1.left(37)},  // cut to the width of the taxpayer's field
        // Not the PO return's to write:
        {u"Jmb"_s, u"Jan"_s},     {u"Pra"_s, u"Dvořák"_s},     {u"Tia"_s, u"Ing."_s},  {u"Tel"_s, u"123456"_s}};
    for (const auto &[field, value] : expected)
        EXPECT_EQ(prp(field), value) << field.toStdString();
    EXPECT_FALSE(dm.Prp->field(u"Tds"_s).asBoolean());

    // A street line whose last blank is followed by a letter goes whole into the street, and
    // the house number of the previous transfer does not survive.
    rur::testing::runSql(sibling.path() + u"D1/Prp.DB"_s, u"UPDATE Prp SET Ul = 'Nábřeží 5. května'"_s);
    ASSERT_EQ(transfer(SiblingKind::TaxReturnPO, catalogue), TransferResult::Done);
    EXPECT_EQ(prp(u"Ul"_s), u"Nábřeží 5. května"_s);
    EXPECT_TRUE(prp(u"Cpocp"_s).isEmpty());
    EXPECT_TRUE(prp(u"Cpoco"_s).isEmpty());
}

TEST_F(TaxpayerTransfer, AnIndividualsReturnGivesThePersonAndLeavesTheCompanyName)
{
    rur::testing::SiblingFolder personal(folders.path() + u"/Redovo zevedara ZU 2018"_s, u"Dan.ini"_s);
    personal.addTaxReturn(3, u"D3"_s, false,
                          {{u"Fuv"_s, u"Brno-venkov"_s}, {u"Dic"_s, u"CZ7001011234"_s}, {u"Pr"_s, u"Malá"_s},
                           {u"Jm"_s, u"Eva"_s}, {u"Ti"_s, u"Mgr."_s}, {u"Mi"_s, u"Brno"_s},
                           {u"Ul"_s, u"Kounicova 12"_s}, {u"Cd"_s, u"1234/5"_s}, {u"Psc"_s, u"602 00"_s}});
    transfer::SiblingData data(SiblingKind::TaxReturnSZ);
    ASSERT_TRUE(data.show(personal.catalogue(), 3));
    ASSERT_EQ(transfer::transferTaxpayer(dm, data, prompter), TransferResult::Done);
    EXPECT_FALSE(data.isRowOpen());
    const QList<std::pair<QString, QString>> expected = {
        {u"Fu"_s, u"Brno-venkov"_s}, {u"Dic"_s, u"CZ7001011234"_s}, {u"Jmb"_s, u"Eva"_s},
        {u"Pra"_s, u"Malá"_s},       {u"Tia"_s, u"Mgr."_s},         {u"Ob"_s, u"Brno"_s},
        {u"Ul"_s, u"Kounicova 12"_s},  // the street line as it is
        {u"Cpocp"_s, u"1234"_s},     {u"Cpoco"_s, u"5"_s},          {u"Psc"_s, u"60200"_s},
        {u"Oj1a"_s, u"Stará firma"_s}, {u"Hp1"_s, u"Obchod"_s}};
    for (const auto &[field, value] : expected)
        EXPECT_EQ(prp(field), value) << field.toStdString();
    EXPECT_TRUE(dm.Prp->field(u"Tds"_s).asBoolean());
}

TEST_F(TaxpayerTransfer, NoOrABadSiblingTableLeavesTheTaxpayerDataAsItWas)
{
    const QString catalogue = returnWith(true, {{u"Dic"_s, u"CZ1"_s}, {u"Oj1"_s, u"Nová"_s}});
    const auto before = rur::testing::snapshot(root.dataSet());
    prompter.answers = {Answer::No};
    EXPECT_EQ(transfer(SiblingKind::TaxReturnPO, catalogue), TransferResult::Declined);
    EXPECT_EQ(rur::testing::snapshot(root.dataSet()), before);

    // The sibling changed its file after the window showed it: the transfer reads it anew.
    transfer::SiblingData data(SiblingKind::TaxReturnPO);
    ASSERT_TRUE(data.show(catalogue, 1));
    rur::testing::runSql(sibling.path() + u"D1/Prp.DB"_s, u"UPDATE Prp SET Oj1 = 'Novější'"_s);
    ASSERT_EQ(transfer::transferTaxpayer(dm, data, prompter), TransferResult::Done);
    EXPECT_EQ(prp(u"Oj1a"_s), u"Novější"_s);

    // A table that lacks a field, is empty, or isn't the individual's layout can't be shown.
    const QString prpFile = sibling.path() + u"D1/Prp.DB"_s;
    rur::testing::runSql(prpFile, u"DELETE FROM Prp"_s);
    EXPECT_FALSE(transfer::SiblingData(SiblingKind::TaxReturnPO).show(catalogue, 1));
    rur::testing::runSql(prpFile, u"INSERT INTO Prp (Oj1) VALUES ('X')"_s);
    EXPECT_TRUE(transfer::SiblingData(SiblingKind::TaxReturnPO).show(catalogue, 1));
    rur::testing::runSql(prpFile, u"ALTER TABLE Prp DROP COLUMN Hp2"_s);
    EXPECT_FALSE(transfer::SiblingData(SiblingKind::TaxReturnPO).show(catalogue, 1));
    EXPECT_FALSE(transfer::SiblingData(SiblingKind::TaxReturnSZ).show(catalogue, 1));  // no Dosu.DB there

    // Damaged after it was shown: the table engine's message, and nothing changes.
    rur::testing::runSql(prpFile, u"ALTER TABLE Prp ADD Hp2 CHAR(40)"_s);
    transfer::SiblingData shown(SiblingKind::TaxReturnPO);
    ASSERT_TRUE(shown.show(catalogue, 1));
    QFile damaged(prpFile);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    const auto beforeDamage = rur::testing::snapshot(root.dataSet());
    prompter.messages.clear();
    EXPECT_EQ(transfer::transferTaxpayer(dm, shown, prompter), TransferResult::Failed);
    EXPECT_EQ(prompter.errors(), QStringList{u"Tabulka Prp.DB je poškozená nebo nečitelná."_s});
    EXPECT_EQ(rur::testing::snapshot(root.dataSet()), beforeDamage);
}
