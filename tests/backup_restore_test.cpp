// Backing a data set up into a ZIP archive and restoring it: the choices, a backup that
// replaces an archive, archives of older editions and of other data sets.
#include "backup_restore_fixture.h"

using namespace Qt::StringLiterals;
using namespace rur;
using namespace backup_restore_tests;

TEST_F(BackupRestore, EachChoiceBringsBackItsTablesAndKeepsTheRest)
{
    fill(u"Archivní s.r.o."_s, 1000);
    writeFile(d1() + u"D1.ini"_s, "[Cesty]\n0=x.zip\n");
    writeFile(d1() + u"poznamka.txt"_s, "navic");
    ASSERT_TRUE(backupTo(archive));
    EXPECT_EQ(messages(Message::Information), QStringList{u"Data byla zazálohována."_s});
    // The live ini, with the backup just recorded in it.
    const QByteArray liveIni = readFile(d1() + u"D1.ini"_s);
    EXPECT_TRUE(liveIni.startsWith("[Cesty]\n0=x.zip\n")) << liveIni.toStdString();
    EXPECT_TRUE(liveIni.contains("[Prehled]")) << liveIni.toStdString();
    QStringList members = backup::archiveMembers(archive);
    EXPECT_FALSE(members.contains(u"D1.ini"_s));
    EXPECT_FALSE(members.contains(u"Pdoxusrs.lck"_s));
    EXPECT_TRUE(members.contains(u"poznamka.txt"_s));
    const int listed = int(data::dataFileList().size());
    ASSERT_EQ(listed, 52);
    for (const QString &name : data::tableFiles(1, listed))
        EXPECT_TRUE(members.contains(name)) << name.toStdString();
    EXPECT_TRUE(members.contains(u"Dkh.DB"_s));
    const auto archived = tableRows(d1());

    fill(u"Nová a.s."_s, 2000);
    const auto changed = tableRows(d1());
    ASSERT_NE(changed, archived);
    const auto expect = [&](const QStringList &fromArchive) {
        auto expected = changed;
        for (const QString &name : fromArchive)
            expected[name] = archived[name];
        EXPECT_EQ(tableRows(d1()), expected);
    };

    prompter.messages.clear();
    ASSERT_TRUE(restore(archive, backup::ObnovitAdresar));
    EXPECT_EQ(messages(Message::Information), QStringList{u"Data byla obnovena."_s});
    expect({u"Maz"_s});
    ASSERT_TRUE(restore(archive, backup::ObnovitDopisy));
    expect({u"Maz"_s, u"Mdp"_s});
    ASSERT_TRUE(restore(archive, backup::ObnovitBezPoplatnika));
    auto allButTaxpayer = changed.keys();
    allButTaxpayer.removeAll(u"Prp"_s);
    allButTaxpayer.removeAll(u"Prppz"_s);
    ASSERT_TRUE(allButTaxpayer.contains(u"Dkh"_s));  // the register of the period comes back
    expect(allButTaxpayer);
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Nová a.s."_s);
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000.0);

    ASSERT_TRUE(restore(archive, backup::ObnovitVse));
    EXPECT_EQ(tableRows(d1()), archived);
    EXPECT_TRUE(dm.tablesOpen());
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Archivní s.r.o."_s);
    EXPECT_TRUE(messages(Message::Error).isEmpty()) << messages(Message::Error).join(u'\n').toStdString();
    // Neither the safety archive nor any working folder stays behind, and the ini is the live one.
    EXPECT_FALSE(QFileInfo::exists(d1() + u"Zaloha"_s));
    EXPECT_TRUE(QDir(d1()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(readFile(d1() + u"D1.ini"_s), liveIni);
}

TEST_F(BackupRestore, ABackupReplacesAnArchiveOnlyWhenItIsComplete)
{
    ASSERT_TRUE(backupTo(archive));
    writeFile(d1() + u"druhy.txt"_s, "2");
    ASSERT_TRUE(backupTo(archive));
    EXPECT_TRUE(backup::archiveMembers(archive).contains(u"druhy.txt"_s));
    const QByteArray good = readFile(archive);

    // A table file missing from the data set makes no archive; the older one stays.
    prompter.messages.clear();
    QFile::remove(d1() + u"Mdp.DB"_s);
    EXPECT_FALSE(backupTo(archive));
    EXPECT_EQ(messages(Message::Error), QStringList{u"Soubor "_s + archive + u" nelze vytvořit."_s});
    EXPECT_EQ(readFile(archive), good);
    EXPECT_TRUE(QFile::exists(d1() + u"Mdp.DB"_s));  // the reopening brought an empty one

    // Never over a file of the data set itself.
    const QByteArray prp = readFile(d1() + u"Prp.DB"_s);
    EXPECT_FALSE(backupTo(d1() + u"Prp.DB"_s));
    EXPECT_EQ(readFile(d1() + u"Prp.DB"_s), prp);

    // Paths the template could not resolve, a No and an empty path write nothing.
    prompter.messages.clear();
    EXPECT_FALSE(backupTo(u"Nastavte písmeno disku (např. F:)."_s));
    prompter.answers = {platform::Prompter::Answer::No};
    EXPECT_FALSE(backupTo(work.path() + u"/ne.zip"_s));
    EXPECT_FALSE(backupTo(QString()));
    EXPECT_EQ(prompter.texts(), (QStringList{u"Nastavte správně cestu."_s, u"Opravdu chcete zazálohovat data ?"_s,
                                             u"Opravdu chcete zazálohovat data ?"_s,
                                             u"Zadejte cestu pro zálohování dat."_s}));
    EXPECT_FALSE(QFile::exists(work.path() + u"/ne.zip"_s));

    // A safety archive left by an earlier restore is not part of the backup.
    writeFile(backup::safetyArchivePath(d1()), "stará záloha");
    ASSERT_TRUE(backupTo(archive));
    EXPECT_FALSE(QFileInfo::exists(d1() + u"Zaloha"_s));
    EXPECT_FALSE(backup::archiveMembers(archive).contains(u"Zaloha/Zaloha.zip"_s));
}

TEST_F(BackupRestore, AnArchiveOfAnOlderEditionLeavesTheNewerTablesToBeCreatedEmpty)
{
    // The older edition had no current-return tables of this layout, no finished returns of
    // it and no attachment, and its taxpayer table lacked the tax office columns.
    QList<Member> members = tableMembers(data::tableFiles(33, 51) + QStringList{u"Prp.DB"_s});
    const QString old = work.path() + u"/old/"_s;
    QDir().mkpath(old);
    engine::createTableFile(old + u"Prp.DB"_s, data::prpDef().without({u"Fusp"_s, u"Fuz"_s}),
                            {{{u"Oj1a"_s, u"Stará firma"_s}, {u"M"_s, u"březen"_s}, {u"Cislo"_s, 3},
                              {u"R"_s, u"2017"_s}, {u"Fuc"_s, 451}}});
    members.append({u"Prp.DB"_s, readFile(old + u"Prp.DB"_s)});
    craftArchive(archive, members);

    fill(u"Nová"_s, 5000);
    // "vše bez údajů o poplatníkovi" from it: the current period's tables, the register of
    // documents among them, come back empty; the taxpayer stays.
    ASSERT_TRUE(restore(archive, backup::ObnovitBezPoplatnika)) << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Nová"_s);
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 0.0);
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 0);
    fill(u"Nová"_s, 5000);
    ASSERT_TRUE(restore(archive, backup::ObnovitVse)) << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Stará firma"_s);
    EXPECT_TRUE(dm.Prp->hasField(u"Fusp"_s));
    EXPECT_TRUE(dm.Prp->field(u"Fuc"_s).isNull());  // emptied as the column addition does
    // The return and the attachment came back as their empty templates, not as the live ones.
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 0.0);
    EXPECT_EQ(dm.Dtabn1s->recordCount(), 0);
    EXPECT_TRUE(dm.Prppz->field(u"Poz"_s).isNull());
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 0);  // the archive had no register: it is made empty
    EXPECT_EQ(rur::testing::fileColumns(d1() + u"Prp.DB"_s).contains(u"Fuz"_s), true);
}

// A backup the earlier Windows edition made: its tables Paradox files, the memos of the
// letters, the address book and the taxpayer's notes in memo files beside them, and the
// lock files and indexes of the Paradox engine among the members.
TEST_F(BackupRestore, AnArchiveOfAnEarlierWindowsEditionHoldsParadoxTables)
{
    fill(u"Žluťoučký kůň s.r.o."_s, 1000);
    setValues(*dm.Mdp, {{u"Nazev"_s, u"Dlouhý dopis"_s}, {u"Text"_s, u"Vážení, ďábelské ódy.\r\n"_s.repeated(300)}}, true);
    const auto before = tableRows(d1());
    const QString old = work.path() + u"/paradox/"_s;
    QList<Member> members;
    for (const engine::TableDef &def : data::dataSetTableDefs()) {
        QDir().mkpath(old);
        QFile::copy(d1() + def.fileName, old + def.fileName);
        rur::testing::rewriteAsParadox(old + def.fileName, def);
        members.append({def.fileName, readFile(old + def.fileName)});
        const QString memos = def.name + u".MB"_s;
        if (QFile::exists(old + memos))
            members.append({memos, readFile(old + memos)});
    }
    members += {{u"Pdoxusrs.lck"_s, "NET\x01"}, {u"Paradox.lck"_s, "\x02"}, {u"Mdp.PX"_s, QByteArray(2048, '\x01')}};
    craftArchive(archive, members);

    fill(u"Nová"_s, 5000);
    ASSERT_TRUE(restore(archive, backup::ObnovitVse)) << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(tableRows(d1()), before);
    // Neither the memo files nor the index nor the other engine's lock files came along.
    const QStringList left = QDir(d1()).entryList({u"*.MB"_s, u"*.PX"_s}, QDir::Files);
    EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
    EXPECT_NE(readFile(d1() + u"Paradox.lck"_s), "\x02");
    EXPECT_NE(readFile(d1() + u"Pdoxusrs.lck"_s), "NET\x01");

    // A Paradox table cut short: nothing restored, the table named.
    const auto now = allFiles(d1());
    members.removeIf([](const Member &m) { return m.name == u"Prp.DB"_s; });
    QByteArray prp = readFile(old + u"Prp.DB"_s);
    prp.chop(1000);
    members.append({u"Prp.DB"_s, prp});
    craftArchive(archive, members);
    prompter.messages.clear();
    EXPECT_FALSE(restore(archive, backup::ObnovitVse));
    EXPECT_TRUE(prompter.texts().contains(u"Tabulka Prp.DB je poškozená nebo nečitelná."_s))
        << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(allFiles(d1()), now);
}

TEST_F(BackupRestore, AnArchiveOfOneDataSetRestoresIntoAnother)
{
    fill(u"Firma z D1"_s, 700);
    ASSERT_TRUE(backupTo(archive));
    const auto first = tableRows(d1());

    root.createDataSet(u"D2"_s);
    datasets::openDataSet(dm, dirs, u"D2"_s);
    ASSERT_TRUE(restore(archive, backup::ObnovitVse));
    EXPECT_EQ(tableRows(root.dataSet(u"D2"_s)), first);
    EXPECT_EQ(dm.Prp->field(u"Oj1a"_s).asString(), u"Firma z D1"_s);
}
