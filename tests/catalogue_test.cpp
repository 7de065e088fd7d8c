#include "data/DataM1.h"
#include "data/Schemas.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "engine/Sqlite.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace rur;
using datasets::Catalogue;
using platform::Prompter;

namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.notFound = false;
        catalogue = std::make_unique<Catalogue>(dirs, prompter);
        catalogue->statusSink = [this](const QString &text) { status = text; };
        catalogue->prepare();
        catalogue->showSelection();
    }

    // Creates a data set through the two steps of the window "Nové RUR".
    QString create(const QString &name)
    {
        catalogue->beginNew();
        const QString dir = catalogue->Data->field(u"Adresar"_s).asString();
        EXPECT_TRUE(catalogue->finishNew(name));
        return dir;
    }

    QStringList numbers()
    {
        QStringList out;
        for (int r = 0; r < catalogue->Data->recordCount(); ++r)
            out.append(catalogue->Data->storedValue(r, 0).toString());
        return out;
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<Catalogue> catalogue;
    QString status;
};

}  // namespace

TEST_F(CatalogueTest, NewDataSetsFillTheFirstGapInTheNumbering)
{
    EXPECT_TRUE(catalogue->isEmpty());
    EXPECT_EQ(create(u"První"_s), u"D1"_s);
    EXPECT_EQ(catalogue->Data->field(u"Pozice"_s).asInteger(), 1);
    EXPECT_TRUE(QFile::exists(root.path() + u"D1/Dcis.DB"_s));
    EXPECT_TRUE(QFile::exists(root.path() + u"D1/Prppz.DB"_s));
    EXPECT_EQ(prompter.texts().last(), u"Opravdu chcete vytvořit RUR První ?"_s);
    create(u"Druhé"_s);
    create(u"Třetí"_s);
    create(u"Čtvrté"_s);
    // 1, 2, 4 give 3; 1, 2, 3 give 4.
    ASSERT_TRUE(catalogue->Data->locate(u"Cislo"_s, {3}));
    catalogue->Data->deleteRecord();
    EXPECT_EQ(catalogue->nextNumber(), 3);
    EXPECT_EQ(create(u"Znovu třetí"_s), u"D3"_s);
    EXPECT_EQ(catalogue->nextNumber(), 5);

    // A No at the question keeps the window and the row; closing cancels it.
    prompter.answers = {Prompter::Answer::No};
    catalogue->beginNew();
    EXPECT_FALSE(catalogue->finishNew(u"Nic"_s));
    EXPECT_TRUE(catalogue->newPending());
    catalogue->cancelNew();
    EXPECT_EQ(catalogue->Data->recordCount(), 4);
    EXPECT_FALSE(QDir(root.path() + u"D5"_s).exists());
}

TEST_F(CatalogueTest, ADirectoryThatCannotBeMadeLeavesNoCatalogueRow)
{
    QFile blocker(root.path() + u"D1"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    catalogue->beginNew();
    EXPECT_FALSE(catalogue->finishNew(u"Blokované"_s));
    EXPECT_FALSE(catalogue->newPending());
    EXPECT_TRUE(catalogue->isEmpty());
    EXPECT_EQ(prompter.errors(), QStringList{u"Adresář "_s + root.path() + u"D1 nelze vytvořit."_s});
}

TEST_F(CatalogueTest, DeletingAsksTwiceAndANoAtEitherDeletesNothing)
{
    create(u"Firma"_s);
    QFile(root.path() + u"D1/D1.ini"_s).open(QIODevice::WriteOnly);
    for (const QList<Prompter::Answer> &answers :
         {QList<Prompter::Answer>{Prompter::Answer::No}, QList<Prompter::Answer>{Prompter::Answer::Yes, Prompter::Answer::No}}) {
        prompter.answers = answers;
        EXPECT_FALSE(catalogue->deleteCurrent());
        EXPECT_EQ(catalogue->Data->recordCount(), 1);
        EXPECT_TRUE(QFile::exists(root.path() + u"D1/Prp.DB"_s));
    }
    EXPECT_EQ(status, u"Vymaže vybrané RUR z disku. P O Z O R  -  máte uložena data ?"_s);
    catalogue->addPassword(u"x"_s);
    prompter.textAnswers = {u"x"_s};
    prompter.messages.clear();
    EXPECT_TRUE(catalogue->deleteCurrent());
    EXPECT_EQ(prompter.texts(), (QStringList{u"Zadejte heslo"_s, u"Opravdu smazat RUR Firma ?"_s,
                                             u"Opravdu smazat RUR Firma ?"_s}));
    EXPECT_TRUE(catalogue->isEmpty());
    EXPECT_FALSE(QDir(root.path() + u"D1"_s).exists());
    EXPECT_EQ(status, u"RUR Firma bylo vymazáno."_s);
    catalogue->Uziv->setMasterSource(nullptr, {}, {});
    catalogue->Uziv->refresh();
    EXPECT_TRUE(catalogue->Uziv->isEmpty());  // its password went with it

    // A directory that still holds a file of the user stays.
    create(u"Další"_s);
    QFile(root.path() + u"D1/moje.txt"_s).open(QIODevice::WriteOnly);
    EXPECT_TRUE(catalogue->deleteCurrent());
    EXPECT_TRUE(QFile::exists(root.path() + u"D1/moje.txt"_s));
    EXPECT_FALSE(QFile::exists(root.path() + u"D1/Dcis.DB"_s));
}

TEST_F(CatalogueTest, PasswordsAreCaseSensitiveAndCanBeChangedOrRemoved)
{
    create(u"Tajné"_s);
    EXPECT_FALSE(catalogue->hasPassword());
    EXPECT_TRUE(catalogue->canOpenCurrent());
    ASSERT_TRUE(catalogue->addPassword(u"HesLo"_s));
    EXPECT_TRUE(catalogue->hasPassword());

    prompter.textAnswers = {u"heslo"_s};
    EXPECT_FALSE(catalogue->canOpenCurrent());
    EXPECT_EQ(prompter.texts().last(), u"Neplatné heslo pro toto RUR."_s);
    prompter.textAnswers = {u"HesLo"_s};
    EXPECT_TRUE(catalogue->canOpenCurrent());
    EXPECT_FALSE(catalogue->canOpenCurrent());  // a cancelled prompt opens nothing

    EXPECT_FALSE(catalogue->changePassword(u"HESLO"_s, u"nové"_s));
    EXPECT_EQ(prompter.texts().last(), u"Neplatné heslo."_s);
    EXPECT_TRUE(catalogue->changePassword(u"HesLo"_s, u"nové"_s));
    EXPECT_EQ(prompter.texts().last(), u"Heslo bylo změněno."_s);
    EXPECT_EQ(catalogue->Uziv->field(u"Heslo"_s).asString(), u"nové"_s);
    EXPECT_TRUE(catalogue->changePassword(u"nové"_s, QString()));
    EXPECT_FALSE(catalogue->hasPassword());
}

TEST_F(CatalogueTest, OwnOrderingPlacesANewDataSetNextToTheCurrentOne)
{
    create(u"A"_s);
    create(u"B"_s);
    create(u"C"_s);
    catalogue->applyOwnOrder({u"3 C"_s, u"1 A"_s, u"2 B"_s});
    EXPECT_EQ(catalogue->ordering(), datasets::OrderOwn);
    EXPECT_EQ(numbers(), (QStringList{u"3"_s, u"1"_s, u"2"_s}));
    ASSERT_TRUE(catalogue->Data->locate(u"Cislo"_s, {1}));
    create(u"D"_s);
    EXPECT_EQ(numbers(), (QStringList{u"3"_s, u"1"_s, u"4"_s, u"2"_s}));
    EXPECT_EQ(catalogue->ownOrderList(), (QStringList{u"3 C"_s, u"1 A"_s, u"4 D"_s, u"2 B"_s}));

    catalogue->setOrdering(datasets::OrderByName);
    EXPECT_EQ(numbers(), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
    EXPECT_EQ(platform::IniFile(root.path() + u"Dph.ini"_s).readInteger(u"Dph"_s, u"Razeni"_s, -1), 2);

    prompter.answers = {Prompter::Answer::No};
    EXPECT_FALSE(catalogue->clearOwnOrder());
    EXPECT_TRUE(catalogue->clearOwnOrder());
    EXPECT_EQ(catalogue->ordering(), datasets::OrderAutomatic);
    catalogue->setOrdering(datasets::OrderOwn);
    EXPECT_EQ(numbers(), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
}

TEST_F(CatalogueTest, ClearingTheOwnOrderingWhileItIsActiveResetsEveryRow)
{
    for (const QString &name : {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s})
        create(name);
    ASSERT_TRUE(catalogue->applyOwnOrder({u"5 E"_s, u"4 D"_s, u"3 C"_s, u"2 B"_s, u"1 A"_s}));
    ASSERT_EQ(catalogue->ordering(), datasets::OrderOwn);
    ASSERT_TRUE(catalogue->Data->locate(u"Cislo"_s, {3}));
    EXPECT_TRUE(catalogue->clearOwnOrder());
    EXPECT_EQ(catalogue->currentNumber(), 3);
    for (int r = 0; r < catalogue->Data->recordCount(); ++r) {
        const QVariantList row = catalogue->Data->rowValues(r);
        EXPECT_EQ(row[1].toInt(), row[0].toInt()) << "Pozice of data set " << row[0].toInt();
    }
}

TEST_F(CatalogueTest, TheSelectionReopensOnTheLastUsedRowOrTheFirst)
{
    create(u"A"_s);
    create(u"B"_s);
    create(u"C"_s);
    ASSERT_TRUE(catalogue->Data->locate(u"Cislo"_s, {2}));
    catalogue->closeSelection(true);
    EXPECT_EQ(catalogue->currentNumber(), 2);
    catalogue->Data->first();
    catalogue->showSelection();
    EXPECT_EQ(catalogue->currentNumber(), 2);

    catalogue->closeSelection(false);
    catalogue->showSelection();
    EXPECT_FALSE(catalogue->lastUsedPosition());
    EXPECT_EQ(catalogue->currentNumber(), 1);
    EXPECT_TRUE(catalogue->rename(u"Nové jméno"_s));
    EXPECT_EQ(catalogue->currentName(), u"Nové jméno"_s);
}

TEST_F(CatalogueTest, ADataSetOpenElsewhereIsInUse)
{
    create(u"Sdílené"_s);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        data::TDM1 dm;
        base::Directories d = dirs;
        datasets::openDataSet(dm, d, u"D1"_s);
        char c = 'x';
        if (write(ready[1], &c, 1) != 1)
            _exit(2);
        sleep(30);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_FALSE(catalogue->canOpenCurrent());
    EXPECT_EQ(prompter.texts().last(), u"Toto RUR právě zpracovává jiný uživatel."_s);
    prompter.answers = {};
    EXPECT_FALSE(catalogue->deleteCurrent());
    EXPECT_TRUE(QFile::exists(root.path() + u"D1/Dcis.DB"_s));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(catalogue->canOpenCurrent());
    close(ready[0]);
    close(ready[1]);
}

TEST_F(CatalogueTest, AnOlderCatalogueGetsPositionsAndKeepsItsRows)
{
    catalogue.reset();
    QFile::remove(root.path() + u"Data.DB"_s);
    engine::createTableFile(root.path() + u"Data.DB"_s, data::catalogueDef().without({u"Pozice"_s}),
                            {{{u"Cislo"_s, 5}, {u"Nazev"_s, u"Pět"_s}, {u"Adresar"_s, u"D5"_s}},
                             {{u"Cislo"_s, 2}, {u"Nazev"_s, u"Dva"_s}, {u"Adresar"_s, u"D2"_s}}});
    catalogue = std::make_unique<Catalogue>(dirs, prompter);
    catalogue->prepare();
    catalogue->showSelection();
    ASSERT_EQ(catalogue->Data->recordCount(), 2);
    ASSERT_TRUE(catalogue->Data->locate(u"Cislo"_s, {5}));
    EXPECT_EQ(catalogue->Data->field(u"Pozice"_s).asInteger(), 5);
    EXPECT_EQ(catalogue->currentName(), u"Pět"_s);
}

TEST_F(CatalogueTest, ConversionOfferOnlyOnAnEmptyCatalogue)
{
    EXPECT_TRUE(catalogue->markConversionOffer());
    const platform::IniFile local(root.path() + u"Dph.ini"_s);
    EXPECT_EQ(local.readString(u"Dph"_s, u"Prevod218o"_s), u"1"_s);
    EXPECT_EQ(prompter.texts().last(), u"Změny se projeví při novém spuštění programu."_s);
    create(u"A"_s);
    EXPECT_FALSE(catalogue->markConversionOffer());
}

TEST_F(CatalogueTest, ALockedCatalogueIsReportedInCzechAndKeepsTheRow)
{
    create(u"Firma"_s);
    create(u"Druhá"_s);
    // Another program holds a write lock on the catalogue file.
    engine::SqliteFile other;
    QString error;
    ASSERT_TRUE(other.open(root.path() + u"Data.DB"_s, false, &error));
    other.exec(u"BEGIN EXCLUSIVE"_s);
    prompter.messages.clear();
    EXPECT_FALSE(catalogue->rename(u"Jiná"_s));
    EXPECT_EQ(prompter.errors(), QStringList{u"Tabulku Data.DB právě používá jiný uživatel. Zkuste to znovu."_s});
    EXPECT_FALSE(catalogue->Data->isEditing());
    prompter.messages.clear();
    EXPECT_FALSE(catalogue->deleteCurrent());
    EXPECT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(QFile::exists(root.path() + catalogue->currentDirectory() + u"/Dcis.DB"_s));  // files kept
    other.exec(u"ROLLBACK"_s);
    catalogue->Data->refresh();
    EXPECT_EQ(catalogue->Data->recordCount(), 2);
    EXPECT_TRUE(catalogue->rename(u"Jiná"_s));
}
