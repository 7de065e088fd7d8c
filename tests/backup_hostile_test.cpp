// Restoring what should not be restored: implausible, crafted and damaged archives, journals
// inside an archive, a restored data set that does not open, restores killed midway, and a
// failed move of the files.
#include "backup_restore_fixture.h"

using namespace Qt::StringLiterals;
using namespace rur;
using namespace backup_restore_tests;

TEST_F(BackupRestore, ImplausibleArchivesAreRefusedWithNothingChanged)
{
    fill(u"Živá"_s, 3000);
    const auto before = allFiles(d1());
    const auto unchanged = [&](const char *what) {
        EXPECT_EQ(allFiles(d1()), before) << what;
        EXPECT_EQ(messages(Message::Error).value(messages(Message::Error).size() - 1),
                  u"Chyba při obnově datových souborů."_s)
            << what;
        prompter.messages.clear();
    };

    // Letters asked for, none in the archive.
    craftArchive(archive, tableMembers({u"Mdp.DB"_s}));
    EXPECT_FALSE(restore(archive, backup::ObnovitDopisy));
    unchanged("bez dopisů");

    // Five table files are no backup of a data set, for "vše" and "vše bez údajů".
    craftArchive(archive, tableMembers().mid(0, 5));
    EXPECT_FALSE(restore(archive, backup::ObnovitVse));
    unchanged("pět souborů");
    EXPECT_FALSE(restore(archive, backup::ObnovitBezPoplatnika));
    unchanged("pět souborů bez poplatníka");

    // An archive that is not where the path says.
    EXPECT_FALSE(restore(work.path() + u"/chybi.zip"_s, backup::ObnovitVse));
    EXPECT_EQ(prompter.texts().last(), u"Soubor chybi.zip nebyl nalezen, zkontrolujte správnost cesty."_s);
    EXPECT_EQ(allFiles(d1()), before);
}

TEST_F(BackupRestore, CraftedAndDamagedArchivesAreRefusedWithNothingChanged)
{
    ASSERT_TRUE(backupTo(archive));
    const QByteArray good = readFile(archive);
    fill(u"Živá"_s, 3000);
    const auto before = allFiles(d1());
    const QString outside = work.path() + u"/venku.DB"_s;

    struct Case {
        const char *what;
        std::function<void()> make;
        QString firstError;  // the message before "Chyba při obnově datových souborů."
    };
    const QString cannotOpen = u"Soubor "_s + archive + u" nelze otevřít."_s;
    const QByteArray zeros(4 << 20, '\0');
    const QList<Case> cases{
        {"../ jméno", [&] { craftArchive(archive, tableMembers() << Member{u"../venku.DB"_s, "x"}); }, cannotOpen},
        {"absolutní jméno", [&] { craftArchive(archive, tableMembers() << Member{outside, "x"}); }, cannotOpen},
        {"symbolický odkaz",
         [&] {
             craftArchive(archive, tableMembers({u"Dcis.DB"_s}) << Member{u"Dcis.DB"_s, outside.toUtf8(), S_IFLNK | 0777});
         },
         cannotOpen},
        {"dvakrát totéž jméno",
         [&] { craftArchive(archive, tableMembers() << Member{u"PRP.DB"_s, readFile(d1() + u"Prp.DB"_s)}); }, cannotOpen},
        {"useknutý archiv", [&] { writeFile(archive, good.left(good.size() / 2)); }, cannotOpen},
        {"náhodné bajty",
         [&] {
             QByteArray noise;
             for (int i = 0; i < 5000; ++i)
                 noise.append(char((i * 7919 + 13) % 251));
             writeFile(archive, noise);
         },
         cannotOpen},
        {"bomba", [&] { craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, zeros}); }, cannotOpen},
        {"soubor, který není tabulkou",
         [&] { craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, "Adresář\r\nnení tabulka"}); },
         QString()},
        {"tabulka s poškozenou stránkou",
         [&] {
             QByteArray maz = readFile(d1() + u"Maz.DB"_s);
             ASSERT_GT(maz.size(), 3 * 4096);
             for (qsizetype i = 2 * 4096 + 8; i < 3 * 4096; ++i)
                 maz[i] = char(i * 31);
             craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, maz});
         },
         QString()},
        // Tables that SQLite finds whole but that opening them would refuse: a value that
        // does not fit its field, something beside the table.
        {"text v číselném poli",
         [&] { craftArchive(archive, tableMembers({u"Dtabn1.DB"_s}) << changedTable(u"Dtabn1.DB"_s, u"UPDATE Dtabn1 SET C210 = 'abc'"_s)); },
         QString()},
        {"bajty v číselném poli",
         [&] { craftArchive(archive, tableMembers({u"Dtabn1.DB"_s}) << changedTable(u"Dtabn1.DB"_s, u"UPDATE Dtabn1 SET C210 = x'00ff'"_s)); },
         QString()},
        {"pohled jménem tabulky",
         [&] {
             craftArchive(archive, tableMembers({u"Dtabn1.DB"_s})
                                       << changedTable(u"Dtabn1.DB"_s, u"ALTER TABLE Dtabn1 RENAME TO Jina; "
                                                                       u"CREATE VIEW Dtabn1 AS SELECT * FROM Jina"_s));
         },
         QString()},
        {"spoušť",
         [&] {
             craftArchive(archive, tableMembers({u"Dtabn1.DB"_s})
                                       << changedTable(u"Dtabn1.DB"_s, u"CREATE TRIGGER zamek BEFORE UPDATE ON Dtabn1 "
                                                                       u"BEGIN SELECT RAISE(ABORT, 'zablokovano'); END"_s));
         },
         QString()},
        {"člen větší než tabulka podle hlavičky",
         [&] {
             // The sizes in both headers say 3.75 GiB: refused before a byte is written.
             craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, "x"});
             QByteArray bytes = readFile(archive);
             const qsizetype local = bytes.lastIndexOf(QByteArray("PK\x03\x04", 4));
             const qsizetype central = bytes.lastIndexOf(QByteArray("PK\x01\x02", 4));
             ASSERT_GT(local, 0);
             ASSERT_GT(central, 0);
             for (const qsizetype at : {local + 22, central + 24})
                 bytes.replace(at, 4, QByteArray("\x00\x00\x00\xf0", 4));
             writeFile(archive, bytes);
         },
         cannotOpen},
        {"tabulka bez sloupce, který otevření nedoplní",
         [&] {
             const QString old = work.path() + u"/old/"_s;
             QDir().mkpath(old);
             QFile::remove(old + u"Maz.DB"_s);
             engine::createTableFile(old + u"Maz.DB"_s, data::mazDef().without({u"Email"_s}));
             craftArchive(archive, tableMembers({u"Maz.DB"_s}) << Member{u"Maz.DB"_s, readFile(old + u"Maz.DB"_s)});
         },
         QString()},
    };
    job.byteBudget = 1 << 20;  // the bomb need not reach the real limit to be caught
    for (const Case &c : cases) {
        c.make();
        prompter.messages.clear();
        EXPECT_FALSE(restore(archive, backup::ObnovitVse)) << c.what;
        EXPECT_EQ(allFiles(d1()), before) << c.what;
        EXPECT_FALSE(QFile::exists(outside)) << c.what;
        QStringList expected{u"Chyba při obnově datových souborů."_s};
        if (!c.firstError.isEmpty())
            expected.prepend(c.firstError);
        EXPECT_EQ(messages(Message::Error), expected) << c.what;
        EXPECT_TRUE(dm.tablesOpen()) << c.what;
    }

    // A member named like a table but in a subfolder is never taken for that table.
    job.byteBudget = backup::kMaxArchiveBytes;
    craftArchive(archive, tableMembers({u"Prp.DB"_s}) << Member{u"x/Prp.DB"_s, "cizí obsah"});
    ASSERT_TRUE(restore(archive, backup::ObnovitVse));
    EXPECT_EQ(readFile(d1() + u"Prp.DB"_s), before.value(u"Prp.DB"_s));
    EXPECT_FALSE(QFileInfo::exists(d1() + u"x"_s));
}

TEST_F(BackupRestore, JournalsInAnArchiveAreNeverExtracted)
{
    // A journal restored beside its table would be played back into it on the next opening.
    fill(u"Archiv"_s, 100);
    const QByteArray journal = "\xd9\xd5\x05\xf9\x20\xa1\x63\xd7 cizí žurnál";
    craftArchive(archive, tableMembers() << Member{u"Dtabn1.DB-journal"_s, journal}
                                         << Member{u".Dtabn1.DB.tmp1-ff"_s, "kopie"});
    fill(u"Živá"_s, 200);
    ASSERT_TRUE(restore(archive, backup::ObnovitVse));
    EXPECT_FALSE(QFileInfo::exists(d1() + u"Dtabn1.DB-journal"_s));
    EXPECT_FALSE(QFileInfo::exists(d1() + u".Dtabn1.DB.tmp1-ff"_s));
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Archiv"_s);

    // And a backup never stores one.
    writeFile(d1() + u"Dtabn1.DB-journal"_s, journal);
    ASSERT_TRUE(backupTo(archive));
    EXPECT_FALSE(backup::archiveMembers(archive).contains(u"Dtabn1.DB-journal"_s));
}

TEST_F(BackupRestore, OldFilesComeBackWhenTheRestoredDataSetDoesNotOpen)
{
    // The archive lacks the current return, which the opening then copies from its template;
    // the template is damaged, so the restored data set can't open.
    fill(u"Živá"_s, 3000);
    craftArchive(archive, tableMembers({u"Dtabn3.DB"_s}));
    writeFile(root.path() + u"Data/Dtabn3.DB"_s, "poškozená šablona");
    const auto before = allFiles(d1());
    EXPECT_FALSE(restore(archive, backup::ObnovitVse));
    EXPECT_EQ(messages(Message::Error).value(messages(Message::Error).size() - 1),
              u"Chyba při obnově datových souborů."_s);
    EXPECT_EQ(allFiles(d1()), before);
    EXPECT_TRUE(dm.tablesOpen());
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Živá"_s);
}

TEST_F(BackupRestore, ARestoreKilledAnywhereLeavesOldOrNewTables)
{
    fill(u"Archiv"_s, 100);
    ASSERT_TRUE(backupTo(archive));
    const auto archived = tableRows(d1());
    fill(u"Živá"_s, 200);
    const auto live = tableRows(d1());
    const auto liveFiles = allFiles(d1());
    ASSERT_NE(archived, live);

    // Killed before the last rename, the restore is undone when the data set is opened next;
    // killed after it, the new tables stand.
    const std::pair<const char *, bool> points[] = {{"restore:after-safety", false}, {"restore:extracting", false},
                                                    {"restore:kept-aside", false},   {"restore:moving", false},
                                                    {"restore:moved", true}};
    for (const auto &[point, restored] : points) {
        dm.closeAll();
        dm.Danove.disconnect();
        QDir(d1()).removeRecursively();
        for (auto it = liveFiles.begin(); it != liveFiles.end(); ++it)
            writeFile(d1() + it.key(), it.value());
        datasets::openDataSet(dm, dirs, u"D1"_s);

        ASSERT_TRUE(rur::testing::killedAt(point, [&] { restore(archive, backup::ObnovitVse); })) << point;
        const auto halfway = tableRows(d1());
        for (auto it = halfway.begin(); it != halfway.end(); ++it)
            EXPECT_TRUE(it.value() == live.value(it.key()) || it.value() == archived.value(it.key()))
                << point << " " << it.key().toStdString();

        dm.closeAll();
        dm.Danove.disconnect();
        ASSERT_NO_THROW(datasets::openDataSet(dm, dirs, u"D1"_s)) << point;
        EXPECT_EQ(tableRows(d1()), restored ? archived : live) << point;
        EXPECT_TRUE(QDir(d1()).entryList({u".*"_s}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty()) << point;
    }
}

TEST(FileSwap, AFailedMovePutsEveryOldFileBack)
{
    QTemporaryDir work;
    const QString dir = work.path() + u"/D1/"_s;
    const QString staging = dir + u".obnova-test/"_s;
    writeFile(dir + u"a.DB"_s, "stará a");
    writeFile(dir + u"b.DB"_s, "stará b");
    writeFile(dir + u"b.DB-journal"_s, "žurnál b");
    writeFile(dir + u"r.DB"_s, "ke smazání");
    writeFile(staging + u"a.DB"_s, "nová a");
    writeFile(staging + u"n.DB"_s, "nová n");
    const auto before = allFiles(dir);

    // b.DB has no new version in the staging folder: its rename fails after a.DB and n.DB moved.
    bool restored = false;
    EXPECT_FALSE(backup::moveIntoPlace(dir, staging, {u"a.DB"_s, u"n.DB"_s, u"b.DB"_s}, {u"r.DB"_s}, &restored));
    EXPECT_TRUE(restored);
    auto expected = before;
    expected.remove(u".obnova-test/a.DB"_s);  // moved in, then replaced by the old file again
    expected.remove(u".obnova-test/n.DB"_s);  // moved in, then removed
    EXPECT_EQ(allFiles(dir), expected);

    // The same without the missing file goes through; the old files wait aside until the data
    // set has opened: brought back, they are all there again (the journal with its table).
    const auto old = allFiles(dir);
    const auto stage = [&] {
        writeFile(staging + u"b.DB"_s, "nová b");
        writeFile(staging + u"n.DB"_s, "nová n");
        writeFile(staging + u"a.DB"_s, "nová a");
    };
    stage();
    ASSERT_TRUE(backup::moveIntoPlace(dir, staging, {u"a.DB"_s, u"n.DB"_s, u"b.DB"_s}, {u"r.DB"_s}, &restored));
    EXPECT_EQ(readFile(dir + u"n.DB"_s), "nová n");
    ASSERT_TRUE(backup::bringBackOldFiles(dir));
    EXPECT_EQ(allFiles(dir), old);

    // Once the data set has opened, they go: the old journal with the old table.
    stage();
    ASSERT_TRUE(backup::moveIntoPlace(dir, staging, {u"a.DB"_s, u"n.DB"_s, u"b.DB"_s}, {u"r.DB"_s}, &restored));
    backup::discardOldFiles(dir);
    QDir(staging).removeRecursively();
    EXPECT_EQ(allFiles(dir), (QMap<QString, QByteArray>{{u"a.DB"_s, "nová a"}, {u"b.DB"_s, "nová b"},
                                                          {u"n.DB"_s, "nová n"}}));

    // A move killed halfway is undone by the next opening, new files without an old one too.
    writeFile(staging + u"a.DB"_s, "třetí a");
    writeFile(staging + u"c.DB"_s, "třetí c");
    auto second = allFiles(dir);
    second.remove(u".obnova-test/a.DB"_s);  // the staging folder of a killed restore goes too
    second.remove(u".obnova-test/c.DB"_s);
    ASSERT_TRUE(rur::testing::killedAt(
        "restore:moving", [&] { backup::moveIntoPlace(dir, staging, {u"a.DB"_s, u"c.DB"_s}, {u"n.DB"_s}); }));
    EXPECT_EQ(readFile(dir + u"a.DB"_s), "třetí a");
    EXPECT_TRUE(backup::finishInterruptedRestore(dir));
    EXPECT_EQ(allFiles(dir), second);
}
