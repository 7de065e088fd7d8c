#include "platform/IniFile.h"
#include "support/printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using rur::platform::IniFile;

namespace {

class IniFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString path(const QString &name = u"rur.ini"_s) const { return dir_.filePath(name); }

    void put(const QByteArray &bytes, const QString &name = u"rur.ini"_s) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray contents(const QString &name = u"rur.ini"_s) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
};

class IniFileRead : public IniFixture {};
class IniFileWrite : public IniFixture {};

TEST_F(IniFileRead, NamesIgnoreCaseAndBlanksValuesAreTrimmed)
{
    put("[Nastaven\xC3\xAD]\n  Cesta =  /data/rur \t\n[\xC4\x8C\xC3\x8DSLA]\nPo\xC4\x8D" "et=5\n"_ba);
    IniFile ini(path());
    EXPECT_EQ(ini.readString(u"NASTAVENÍ"_s, u"cesta"_s), u"/data/rur"_s);
    EXPECT_EQ(ini.readString(u" nastavení "_s, u" CESTA "_s), u"/data/rur"_s);
    EXPECT_EQ(ini.readInteger(u"čísla"_s, u"POČET"_s, 0), 5);
    EXPECT_TRUE(ini.hasSection(u"Čísla"_s));
    EXPECT_FALSE(ini.hasSection(u"Cisla"_s));
    EXPECT_FALSE(ini.hasKey(u"Nastavení"_s, u"Počet"_s));  // keys belong to their section
    EXPECT_EQ(ini.sections(), (QStringList{u"Nastavení"_s, u"ČÍSLA"_s}));
    EXPECT_EQ(ini.readString(u"Nastavení"_s, u"Chybí"_s, u"def"_s), u"def"_s);
}

TEST_F(IniFileRead, FirstDuplicateWinsAndRepeatedSectionContinues)
{
    put("[A]\nk=1\nK=2\n[B]\nx=1\n[a]\nk=3\nm=4\n"_ba);
    IniFile ini(path());
    EXPECT_EQ(ini.readString(u"A"_s, u"k"_s), u"1"_s);
    EXPECT_EQ(ini.readString(u"A"_s, u"m"_s), u"4"_s);
    EXPECT_EQ(ini.keys(u"a"_s), (QStringList{u"k"_s, u"m"_s}));
    EXPECT_EQ(ini.sections(), (QStringList{u"A"_s, u"B"_s}));
    EXPECT_TRUE(ini.keys(u"missing"_s).isEmpty());
}

TEST_F(IniFileRead, OddContentDoesNotBreakReading)
{
    const QByteArray longLine(1 << 20, 'x');
    put("loose=1\n=5\n  = 6\njunk line\n[open\nnul=a\0b\n"_ba + longLine + "\n[]\nempty=\n[S]\r\n=7\r\nk=v=w\r\n"_ba);
    IniFile ini(path());
    // Lines before the first section and "[open" without ']' belong to no section.
    EXPECT_FALSE(ini.hasKey(QString(), u"loose"_s));
    EXPECT_FALSE(ini.hasKey(u"open"_s, u"nul"_s));
    EXPECT_EQ(ini.sections(), (QStringList{QString(), u"S"_s}));
    EXPECT_TRUE(ini.hasKey(QString(), u"empty"_s));
    EXPECT_EQ(ini.readString(QString(), u"empty"_s, u"def"_s), QString());
    EXPECT_EQ(ini.keys(u"S"_s), QStringList{u"k"_s});  // "=7" names no key
    EXPECT_EQ(ini.readString(u"S"_s, u"k"_s), u"v=w"_s);
    EXPECT_EQ(ini.readString(u"S"_s, QString(), u"def"_s), u"def"_s);
}

TEST_F(IniFileRead, NoSectionsAndMissingFile)
{
    put("a=1\nb=2\n"_ba);
    IniFile ini(path());
    EXPECT_TRUE(ini.sections().isEmpty());
    EXPECT_EQ(ini.readInteger(QString(), u"a"_s, 9), 9);

    IniFile missing(path(u"none.ini"_s));
    EXPECT_TRUE(missing.sections().isEmpty());
    EXPECT_EQ(missing.readString(u"S"_s, u"k"_s, u"def"_s), u"def"_s);
    EXPECT_FALSE(QFile::exists(path(u"none.ini"_s)));  // reading never creates the file
}

TEST_F(IniFileRead, IntegersAndBooleans)
{
    put("[N]\nplain= 42 \nneg=-7\nplus=+3\ntrail=12abc\nword=abc\nempty=\nsign=-\nmin=-2147483648\n"
        "over=2147483648\nunder=-2147483649\nhuge=99999999999\nendless=123456789012345678901234567890\n"
        "space=1 2\nzeroText=0abc\ntwo=2\n"_ba);
    IniFile ini(path());
    EXPECT_EQ(ini.readInteger(u"N"_s, u"plain"_s, -1), 42);
    EXPECT_EQ(ini.readInteger(u"N"_s, u"neg"_s, -1), -7);
    EXPECT_EQ(ini.readInteger(u"N"_s, u"plus"_s, -1), 3);
    EXPECT_EQ(ini.readInteger(u"N"_s, u"trail"_s, -1), 12);
    EXPECT_EQ(ini.readInteger(u"N"_s, u"space"_s, -1), 1);
    EXPECT_EQ(ini.readInteger(u"N"_s, u"min"_s, -1), -2147483647 - 1);
    for (const QString &key : {u"word"_s, u"empty"_s, u"sign"_s, u"over"_s, u"under"_s, u"huge"_s, u"endless"_s,
                               u"missing"_s})
        EXPECT_EQ(ini.readInteger(u"N"_s, key, -1), -1) << key.toStdString();

    EXPECT_TRUE(ini.readBool(u"N"_s, u"two"_s, false));
    EXPECT_TRUE(ini.readBool(u"N"_s, u"trail"_s, false));
    EXPECT_FALSE(ini.readBool(u"N"_s, u"zeroText"_s, true));
    for (const bool def : {false, true}) {
        EXPECT_EQ(ini.readBool(u"N"_s, u"word"_s, def), def);
        EXPECT_EQ(ini.readBool(u"N"_s, u"missing"_s, def), def);
    }
}

TEST_F(IniFileRead, Windows1250AndBom)
{
    // "Příliš žluťoučký kůň" in windows-1250: not valid UTF-8.
    put("[Firma]\r\nN\xE1zev=P\xF8\xED\x6C\x69\x9A \x9E\x6C\x75\x9D\x6F\x75\xE8\x6B\xFD \x6B\xF9\xF2\r\n"_ba);
    IniFile ini(path());
    EXPECT_EQ(ini.readString(u"firma"_s, u"název"_s), u"Příliš žluťoučký kůň"_s);

    put("\xEF\xBB\xBF[B\xC3\xA1ze]\nk=\xC5\xA1\n"_ba, u"bom.ini"_s);
    IniFile bom(path(u"bom.ini"_s));
    EXPECT_EQ(bom.sections(), QStringList{u"Báze"_s});
    EXPECT_EQ(bom.readString(u"Báze"_s, u"k"_s), u"š"_s);
    ASSERT_TRUE(bom.writeString(u"Báze"_s, u"k"_s, u"ř"_s));
    EXPECT_EQ(contents(u"bom.ini"_s), "[B\xC3\xA1ze]\nk=\xC5\x99\n"_ba);

    // A multi-byte sequence cut short at the end is not UTF-8 either.
    put("[A]\nk=\xC5"_ba, u"cut.ini"_s);
    EXPECT_EQ(IniFile(path(u"cut.ini"_s)).readString(u"A"_s, u"k"_s), u"Ĺ"_s);
}

TEST_F(IniFileRead, LineEndsOfEveryKind)
{
    put("[A]\r\na=1\rb=2\nc=3"_ba);
    IniFile ini(path());
    EXPECT_EQ(ini.keys(u"A"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(ini.readString(u"A"_s, u"c"_s), u"3"_s);
}

TEST_F(IniFileRead, ReloadSeesChangesOnDisk)
{
    put("[A]\nk=1\n"_ba);
    IniFile ini(path());
    put("[A]\nk=2\n"_ba);
    EXPECT_EQ(ini.readString(u"A"_s, u"k"_s), u"1"_s);
    ini.reload();
    EXPECT_EQ(ini.readString(u"A"_s, u"k"_s), u"2"_s);
}

TEST_F(IniFileWrite, UnknownLinesSurviveByteForByte)
{
    const QByteArray head = "; RUR settings\n  leading text without equals\nbefore=section\n\n"_ba;
    const QByteArray tail = "# hash comment\n\t; indented comment\nodd line [x]\n=orphan\n  Key  =  old  \n\n"
                            "[Other]\n;c\n"_ba;
    put(head + "[Main]\n"_ba + tail);
    IniFile ini(path());
    ASSERT_TRUE(ini.writeString(u"main"_s, u"KEY"_s, u"new"_s));
    // The key keeps its spelling and the spacing before the value.
    EXPECT_EQ(contents(), head + "[Main]\n"_ba
                              + "# hash comment\n\t; indented comment\nodd line [x]\n=orphan\n  Key  =  new\n\n"
                                "[Other]\n;c\n"_ba);
}

TEST_F(IniFileWrite, CrlfKeptOtherwiseLf)
{
    put("[A]\r\nk=1\r\n"_ba);
    ASSERT_TRUE(IniFile(path()).writeString(u"A"_s, u"n"_s, u"2"_s));
    EXPECT_EQ(contents(), "[A]\r\nk=1\r\nn=2\r\n"_ba);

    put("[A]\rk=1\r"_ba, u"cr.ini"_s);
    ASSERT_TRUE(IniFile(path(u"cr.ini"_s)).writeString(u"A"_s, u"k"_s, u"2"_s));
    EXPECT_EQ(contents(u"cr.ini"_s), "[A]\nk=2\n"_ba);

    // A file without a final line end keeps it that way unless a line is added at the end.
    put("[A]\nk=1\n[B]\nx=1"_ba, u"open.ini"_s);
    IniFile open(path(u"open.ini"_s));
    ASSERT_TRUE(open.writeString(u"A"_s, u"k"_s, u"2"_s));
    EXPECT_EQ(contents(u"open.ini"_s), "[A]\nk=2\n[B]\nx=1"_ba);
    ASSERT_TRUE(open.writeString(u"B"_s, u"y"_s, u"2"_s));
    EXPECT_EQ(contents(u"open.ini"_s), "[A]\nk=2\n[B]\nx=1\ny=2\n"_ba);
}

TEST_F(IniFileWrite, NewKeysAndSectionsGoToTheRightPlace)
{
    put("top\n[A]\nx=1\n; about x\n\n; about B\n[B]\n; only a comment\n\n[C]\ny=2\n\n"_ba);
    IniFile ini(path());
    ASSERT_TRUE(ini.writeString(u"a"_s, u"z"_s, u"3"_s));
    ASSERT_TRUE(ini.writeInteger(u"B"_s, u"count"_s, -4));
    ASSERT_TRUE(ini.writeBool(u"C"_s, u"on"_s, true));
    ASSERT_TRUE(ini.writeBool(u"C"_s, u"off"_s, false));
    ASSERT_TRUE(ini.writeString(u"Nová"_s, u"k"_s, u"v"_s));
    EXPECT_EQ(contents(), "top\n[A]\nx=1\nz=3\n; about x\n\n; about B\n[B]\n; only a comment\ncount=-4\n\n"
                          "[C]\ny=2\non=1\noff=0\n\n[Nov\xC3\xA1]\nk=v\n"_ba);
    EXPECT_EQ(ini.readInteger(u"b"_s, u"COUNT"_s, 0), -4);

    // Into a repeated section: a new key joins the first block, an existing one is updated
    // where it stands.
    put("[A]\nk=1\n[B]\n[A]\nm=2\n"_ba, u"dup.ini"_s);
    IniFile dup(path(u"dup.ini"_s));
    ASSERT_TRUE(dup.writeString(u"A"_s, u"n"_s, u"3"_s));
    ASSERT_TRUE(dup.writeString(u"A"_s, u"M"_s, u"4"_s));
    EXPECT_EQ(contents(u"dup.ini"_s), "[A]\nk=1\nn=3\n[B]\n[A]\nm=4\n"_ba);

    // Only the first of duplicate keys is rewritten.
    put("[A]\nk=1\nk=2\n"_ba, u"twice.ini"_s);
    ASSERT_TRUE(IniFile(path(u"twice.ini"_s)).writeString(u"A"_s, u"K"_s, u"9"_s));
    EXPECT_EQ(contents(u"twice.ini"_s), "[A]\nk=9\nk=2\n"_ba);
}

TEST_F(IniFileWrite, NewFileAndNoBlankLineDoubled)
{
    IniFile ini(path());
    ASSERT_TRUE(ini.writeString(u"A"_s, u"k"_s, u"1"_s));
    ASSERT_TRUE(ini.writeString(u"B"_s, u"k"_s, u"2"_s));
    EXPECT_EQ(contents(), "[A]\nk=1\n\n[B]\nk=2\n"_ba);

    put("[A]\nk=1\n\n"_ba, u"blank.ini"_s);
    ASSERT_TRUE(IniFile(path(u"blank.ini"_s)).writeString(u"B"_s, u"k"_s, u"2"_s));
    EXPECT_EQ(contents(u"blank.ini"_s), "[A]\nk=1\n\n[B]\nk=2\n"_ba);

    // The save goes through a temporary file that must not be left behind.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{u"blank.ini"_s, u"rur.ini"_s}));
}

TEST_F(IniFileWrite, EraseSection)
{
    const QByteArray text = "; head\n[A]\na=1\n\n; about B\n[B]\nb=1\n; inside B\n\n[a]\nc=1\n\n[C]\nc=1\n"_ba;
    put(text);
    IniFile ini(path());
    ASSERT_TRUE(ini.eraseSection(u"b"_s));
    EXPECT_EQ(contents(), "; head\n[A]\na=1\n\n; about B\n[a]\nc=1\n\n[C]\nc=1\n"_ba);
    // Both blocks go; comments right above another section's header stay with it.
    ASSERT_TRUE(ini.eraseSection(u"A"_s));
    EXPECT_EQ(contents(), "; head\n; about B\n[C]\nc=1\n"_ba);
    EXPECT_FALSE(ini.hasSection(u"a"_s));
    ASSERT_TRUE(ini.eraseSection(u"Missing"_s));
    EXPECT_EQ(contents(), "; head\n; about B\n[C]\nc=1\n"_ba);

    // The last section takes its separating blank lines along.
    put("[A]\na=1\n\n[B]\nb=1"_ba, u"last.ini"_s);
    ASSERT_TRUE(IniFile(path(u"last.ini"_s)).eraseSection(u"B"_s));
    EXPECT_EQ(contents(u"last.ini"_s), "[A]\na=1\n"_ba);
}

TEST_F(IniFileWrite, DeleteKeyRemovesDuplicatesToo)
{
    put("[A]\nk=1\nx=2\n[B]\nk=5\n[A]\nK=3\n"_ba);
    IniFile ini(path());
    ASSERT_TRUE(ini.deleteKey(u"a"_s, u"k"_s));
    EXPECT_FALSE(ini.hasKey(u"A"_s, u"k"_s));
    EXPECT_EQ(contents(), "[A]\nx=2\n[B]\nk=5\n[A]\n"_ba);
    ASSERT_TRUE(ini.deleteKey(u"A"_s, u"none"_s));
    ASSERT_TRUE(ini.deleteKey(u"none"_s, u"k"_s));
    EXPECT_EQ(contents(), "[A]\nx=2\n[B]\nk=5\n[A]\n"_ba);
}

TEST_F(IniFileWrite, FailedSaveReturnsFalseAndKeepsTheChange)
{
    const QString missingDir = path(u"sub"_s);
    IniFile ini(missingDir + u"/rur.ini"_s);
    EXPECT_FALSE(ini.writeString(u"A"_s, u"k"_s, u"1"_s));
    EXPECT_EQ(ini.readString(u"A"_s, u"k"_s), u"1"_s);
    // Once the directory exists, the next save writes the earlier change as well.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(u"sub"_s));
    ASSERT_TRUE(ini.writeString(u"A"_s, u"n"_s, u"2"_s));
    EXPECT_EQ(contents(u"sub/rur.ini"_s), "[A]\nk=1\nn=2\n"_ba);

    put("plain file"_ba, u"notdir"_s);
    IniFile underFile(path(u"notdir"_s) + u"/rur.ini"_s);
    EXPECT_FALSE(underFile.writeInteger(u"A"_s, u"k"_s, 1));
    EXPECT_FALSE(underFile.save());
    EXPECT_EQ(contents(u"notdir"_s), "plain file"_ba);

    IniFile directory(missingDir);
    EXPECT_FALSE(directory.writeBool(u"A"_s, u"k"_s, true));
    EXPECT_FALSE(directory.eraseSection(u"A"_s));
    EXPECT_TRUE(QFileInfo(missingDir).isDir());
}

TEST_F(IniFileWrite, NamesAndValuesThatDoNotFitALineAreRefused)
{
    put("[A]\nk=1\n"_ba);
    IniFile ini(path());
    EXPECT_FALSE(ini.writeString(u"A"_s, QString(), u"v"_s));
    EXPECT_FALSE(ini.writeString(u"A"_s, u"  "_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"A"_s, u"a=b"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"A"_s, u";k"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"A"_s, u"k"_s, u"two\nlines"_s));
    EXPECT_FALSE(ini.writeString(u"A"_s, u"k"_s, u"cr\r"_s));
    EXPECT_FALSE(ini.writeString(u"A]"_s, u"k"_s, u"v"_s));
    EXPECT_FALSE(ini.writeString(u"A\nB"_s, u"k"_s, u"v"_s));
    EXPECT_EQ(ini.readString(u"A"_s, u"k"_s), u"1"_s);
    EXPECT_EQ(contents(), "[A]\nk=1\n"_ba);
    // Blanks around names are not part of them.
    ASSERT_TRUE(ini.writeString(u" a "_s, u" k "_s, u"2"_s));
    EXPECT_EQ(contents(), "[A]\nk=2\n"_ba);
}

TEST_F(IniFileWrite, OddContentSurvivesAWrite)
{
    const QByteArray longLine(1 << 20, 'y');
    const QByteArray text = "=5\nnul\0line\n"_ba + longLine + "\n[S]\nk=a\0b\n"_ba;
    put(text);
    IniFile ini(path());
    EXPECT_EQ(ini.readString(u"S"_s, u"k"_s), u"a\0b"_s);
    ASSERT_TRUE(ini.writeString(u"S"_s, u"n"_s, u"1"_s));
    EXPECT_EQ(contents(), text + "n=1\n"_ba);
}

TEST_F(IniFileWrite, TwoObjectsOnOneFileDoNotLoseEachOthersWrites)
{
    IniFile first(path());
    IniFile second(path());
    ASSERT_TRUE(first.writeString(u"A"_s, u"one"_s, u"1"_s));
    ASSERT_TRUE(second.writeString(u"A"_s, u"two"_s, u"2"_s));
    ASSERT_TRUE(first.writeString(u"B"_s, u"three"_s, u"3"_s));
    EXPECT_EQ(contents(), "[A]\none=1\ntwo=2\n\n[B]\nthree=3\n"_ba);
}

}  // namespace
