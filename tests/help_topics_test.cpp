#include "app/HelpTopics.h"
#include "app/WindowHelp.h"
#include "support/files.h"
#include "support/printers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using rur::testing::writeFile;
using rur::app::HelpTopics;

namespace {

QString shippedHelpRoot()
{
    return QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + u"/../help/"_s;
}

// ---- The help shipped with the program ----

class HelpShipped : public ::testing::Test {
protected:
    HelpTopics topics_{shippedHelpRoot()};
};

TEST_F(HelpShipped, LoadsWithoutProblems)
{
    ASSERT_TRUE(topics_.isLoaded());
    EXPECT_TRUE(topics_.problems().isEmpty()) << topics_.problems().join(u"; "_s).toStdString();
    EXPECT_EQ(topics_.defaultContext(), 1);
}

TEST_F(HelpShipped, WindowsContextsOpenTheirOwnTopics)
{
    // Numbers the windows ask for with F1; a wrong one would silently show the default topic.
    for (int context : {1, 2, 3, 4, 5, 10, 11, 12, 13, 14, 16, 18, 205, 211})
        EXPECT_EQ(topics_.topic(context).context, context) << context;
    EXPECT_EQ(topics_.topic(4).title, u"Údaje o poplatníkovi"_s);
    EXPECT_EQ(topics_.topic(12).title, u"1. Zdanitelná plnění"_s);
    EXPECT_EQ(topics_.topic(13).title, u"2. Zdanitelná plnění, Doplňující údaje"_s);
    EXPECT_EQ(topics_.topic(14).title, u"3. Nárok na odpočet daně"_s);
    EXPECT_EQ(topics_.topic(16).title, u"4. Výpočet daně, Vypořádání"_s);

    const std::pair<int, int> aliases[] = {{6, 12}, {7, 13}, {8, 14}, {9, 16}, {15, 205}, {17, 211}};
    for (const auto &[alias, target] : aliases)
        EXPECT_EQ(topics_.topic(alias).context, target) << alias;
    EXPECT_EQ(topics_.topic(999).context, 1);
}

TEST_F(HelpShipped, EveryPageLoadsLinksWithinTheHelpAndIsReachableFromTheIndex)
{
    static const QRegularExpression href(u"href=\"([^\"]+)\""_s);
    QSet<int> indexed;
    for (const auto &k : topics_.keywords())
        indexed.insert(k.context);

    for (const auto &t : topics_.topics()) {
        const QString page = topics_.html(t.context);
        EXPECT_TRUE(page.contains(u"<h1>"_s + t.title.toHtmlEscaped() + u"</h1>"_s)) << t.file.toStdString();
        for (auto it = href.globalMatch(page); it.hasNext();) {
            const QString link = it.next().captured(1);
            EXPECT_TRUE(topics_.contextForLink(t.context, link).has_value())
                << t.file.toStdString() << " -> " << link.toStdString();
        }
        EXPECT_TRUE(indexed.contains(t.context)) << "no keyword for " << t.file.toStdString();
    }
}

TEST_F(HelpShipped, ResourceFileListsExactlyTheHelpFiles)
{
    QFile qrc(shippedHelpRoot() + u"help.qrc"_s);
    ASSERT_TRUE(qrc.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&qrc);
    QSet<QString> listed;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"file"_s)
            listed.insert(xml.readElementText());
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    QSet<QString> expected{u"topics.ini"_s};
    for (const auto &t : topics_.topics())
        expected.insert(t.file);
    EXPECT_EQ(listed, expected);
    for (const QString &file : listed)
        EXPECT_TRUE(QFileInfo::exists(shippedHelpRoot() + file)) << file.toStdString();
}

// F1 in every window opens a topic of its own; a window class added to the program without
// a line in the window table, or with a number that has no topic, fails here.
TEST_F(HelpShipped, EveryWindowOpensATopicOfItsOwn)
{
    QSet<QString> listed;
    for (const rur::app::WindowHelp &w : rur::app::windowHelpContexts()) {
        const QString name = QString::fromLatin1(w.windowClass);
        EXPECT_FALSE(listed.contains(name)) << "listed twice: " << w.windowClass;
        listed.insert(name);
        EXPECT_TRUE(topics_.hasContext(w.context)) << w.windowClass << " asks for topic " << w.context;
        EXPECT_NE(topics_.topic(w.context).context, topics_.defaultContext()) << w.windowClass << " shows the default";
        EXPECT_EQ(rur::app::helpContextOfWindow(u"rur::x::"_s + name), w.context);
    }
    EXPECT_EQ(rur::app::helpContextOfWindow(u"TNeznamyForm"_s), 0);

    // The window classes of the program, as its sources declare them. Not windows of their
    // own: the bases of several windows, the splash (no keyboard) and the print notice,
    // which never takes the focus.
    const QSet<QString> notWindows{u"TFinishedForm"_s, u"TReturnEntryForm"_s, u"TArchiveForm"_s, u"TSiblingForm"_s, u"TSplashForm"_s,
                                   u"TTiskInfoForm"_s};
    static const QRegularExpression declaration(u"^class (T[A-Za-z0-9]+Form)\\b[^;]*$"_s,
                                                QRegularExpression::MultilineOption);
    const QString sources = QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + u"/../src"_s;
    int found = 0;
    for (QDirIterator it(sources, {u"*.h"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (!path.contains(u"/forms/"_s))
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = declaration.globalMatch(text); m.hasNext();) {
            const QString name = m.next().captured(1);
            ++found;
            if (!notWindows.contains(name)) {
                EXPECT_TRUE(listed.contains(name)) << name.toStdString() << " (" << path.toStdString()
                                                   << ") has no help topic in src/app/WindowHelp.cpp";
            }
        }
    }
    EXPECT_GE(found, 20);
}

// The installed help is found from the folder of the executable: beside it, or in
// share/rur/help of the same prefix as a package installs it; nothing else counts.
TEST(HelpInstalled, FoundFromTheProgramFolder)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString bin = prefix.path() + u"/usr/bin"_s;
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(rur::app::installedHelpRoot(bin), QString());
    EXPECT_EQ(rur::app::installedHelpRoot(QString()), QString());

    // A folder without topics.ini is no help.
    ASSERT_TRUE(QDir().mkpath(prefix.path() + u"/usr/share/rur/help/topics"_s));
    EXPECT_EQ(rur::app::installedHelpRoot(bin), QString());

    writeFile(prefix.path() + u"/usr/share/rur/help/topics.ini"_s, "[Topics]\n1=topics/1.html|Návod\n");
    writeFile(prefix.path() + u"/usr/share/rur/help/topics/1.html"_s, "<h1>Návod</h1>");
    EXPECT_EQ(rur::app::installedHelpRoot(bin), prefix.path() + u"/usr/share/rur/help/"_s);
    EXPECT_EQ(rur::app::installedHelpRoot(bin + u'/'), prefix.path() + u"/usr/share/rur/help/"_s);
    const HelpTopics installed(rur::app::installedHelpRoot(bin));
    EXPECT_EQ(installed.topic(1).title, u"Návod"_s);

    // Help beside the executable (a program unpacked into one folder) comes first.
    writeFile(bin + u"/help/topics.ini"_s, "[Topics]\n1=topics/1.html|Návod\n");
    EXPECT_EQ(rur::app::installedHelpRoot(bin), bin + u"/help/"_s);
}

// ---- Reading the index file ----

class HelpIndexFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    HelpTopics load(const QByteArray &ini)
    {
        writeFile(dir_.filePath(u"topics.ini"_s), ini);
        return HelpTopics(dir_.path());
    }

    QTemporaryDir dir_;
};

TEST_F(HelpIndexFile, ToleratesLayoutAndOrderOfTheFile)
{
    // BOM, comments, blanks, section names in any case, the index before the topics.
    const HelpTopics topics = load("\xEF\xBB\xBF; help\n"
                                   "[INDEX]\n"
                                   "  Sazby  =  5 \n"
                                   "Rates=50\n"
                                   "\n"
                                   "# another comment\n"
                                   "[topics]\n"
                                   "5 = p/5.html | Sazby RUR \r\n"
                                   "1=p/1.html|Úvod\n"
                                   "[Aliases]\n"
                                   "50=5\n");
    EXPECT_TRUE(topics.problems().isEmpty()) << topics.problems().join(u"; "_s).toStdString();
    ASSERT_EQ(topics.topics().size(), 2u);
    EXPECT_EQ(topics.topics()[0].context, 5);
    EXPECT_EQ(topics.topics()[0].file, u"p/5.html"_s);
    EXPECT_EQ(topics.topics()[0].title, u"Sazby RUR"_s);
    EXPECT_EQ(topics.defaultContext(), 1);  // no [General]: topic 1
    ASSERT_EQ(topics.keywords().size(), 2u);
    EXPECT_EQ(topics.keywords()[1].keyword, u"Sazby"_s);
    EXPECT_EQ(topics.keywords()[0].context, 5);  // through the alias
}

TEST_F(HelpIndexFile, DefaultTopic)
{
    EXPECT_EQ(load("[General]\nDefault=3\n[Topics]\n1=a.html|A\n3=c.html|C\n").defaultContext(), 3);
    // A default through an alias is the aliased topic.
    EXPECT_EQ(load("[General]\nDefault=9\n[Topics]\n1=a.html|A\n3=c.html|C\n[Aliases]\n9=3\n")
                  .defaultContext(),
              3);
    // Without topic 1 the first topic of the file.
    const HelpTopics noOne = load("[General]\nDefault=8\n[Topics]\n7=g.html|G\n2=b.html|B\n");
    EXPECT_EQ(noOne.defaultContext(), 7);
    EXPECT_EQ(noOne.problems().size(), 1);
    EXPECT_EQ(noOne.topic(123).context, 7);
    EXPECT_EQ(noOne.topic(-1).context, 7);
}

TEST_F(HelpIndexFile, BrokenEntriesAreSkippedAndReported)
{
    const HelpTopics topics = load("[Topics]\n"
                                   "1=a.html|A\n"
                                   "x=b.html|B\n"        // not a number
                                   "2=|B\n"              // no file
                                   "1=c.html|C\n"        // twice
                                   "4=d.html\n"          // no title: kept, named after the file
                                   "no equals sign\n"
                                   "[Aliases]\n"
                                   "5=77\n"              // leads nowhere
                                   "4=1\n"               // shadows a topic
                                   "[Index]\n"
                                   "A=1\n"
                                   "a=4\n"               // same keyword in another case
                                   "Lost=77\n"
                                   "[Other]\nkey=value\n");
    EXPECT_EQ(topics.problems().size(), 10) << topics.problems().join(u"; "_s).toStdString();
    ASSERT_EQ(topics.topics().size(), 2u);
    EXPECT_EQ(topics.topic(1).file, u"a.html"_s);
    EXPECT_EQ(topics.topic(4).title, u"d"_s);
    EXPECT_FALSE(topics.hasContext(5));
    EXPECT_EQ(topics.topic(4).context, 4);
    ASSERT_EQ(topics.keywords().size(), 1u);
    EXPECT_EQ(topics.keywords()[0].context, 1);
}

TEST_F(HelpIndexFile, MissingFilesGiveCzechNotices)
{
    const HelpTopics none(dir_.filePath(u"nowhere"_s));
    EXPECT_FALSE(none.isLoaded());
    EXPECT_FALSE(none.problems().isEmpty());
    EXPECT_EQ(none.topic(4).context, 0);
    EXPECT_TRUE(none.html(4).contains(u"Nápověda není k dispozici."_s));
    EXPECT_FALSE(none.findKeyword(u"a"_s).has_value());

    const HelpTopics topics = load("[Topics]\n1=pages/1.html|Úvod <1>\n");
    EXPECT_TRUE(topics.html(1).contains(u"Úvod &lt;1&gt;"_s));
    EXPECT_TRUE(topics.html(1).contains(u"nepodařilo načíst"_s));

    writeFile(dir_.filePath(u"pages/1.html"_s), "<h1>Úvod</h1>");
    EXPECT_EQ(topics.html(1), u"<h1>Úvod</h1>"_s);
}

TEST_F(HelpIndexFile, LinksResolveRelativeToTheirPage)
{
    const HelpTopics topics = load("[Topics]\n1=pages/1.html|A\n4=pages/4.html|B\n9=other/9.html|C\n");
    EXPECT_EQ(topics.contextForLink(1, u"4.html"_s), 4);
    EXPECT_EQ(topics.contextForLink(1, u"./4.html#keys"_s), 4);
    EXPECT_EQ(topics.contextForLink(1, u"../other/9.html"_s), 9);
    EXPECT_EQ(topics.contextForLink(9, u"../pages/1.html"_s), 1);
    EXPECT_FALSE(topics.contextForLink(9, u"4.html"_s).has_value());  // other/4.html
    EXPECT_FALSE(topics.contextForLink(1, u"#keys"_s).has_value());
    EXPECT_FALSE(topics.contextForLink(1, u"https://example.cz/4.html"_s).has_value());
    EXPECT_FALSE(topics.contextForLink(1, u"/pages/4.html"_s).has_value());
}

// ---- Keyword requests ----

class HelpKeywordSearch : public HelpIndexFile {
protected:
    void SetUp() override
    {
        HelpIndexFile::SetUp();
        topics_ = std::make_unique<HelpTopics>(load("[Topics]\n1=a.html|A\n"
                                                    "[Index]\n"
                                                    "Zálohování dat=1\n"
                                                    "Dopisy=1\n"
                                                    "Čtvrtletí=1\n"
                                                    "Sazby RUR=1\n"
                                                    "Cena=1\n"
                                                    "Údaje o poplatníkovi=1\n"
                                                    "Sázky=1\n"
                                                    "Tisk=1\n"
                                                    "Tisk obálek=1\n"
                                                    "daň=1\n"));
    }

    QString found(const QString &text) const
    {
        const auto index = topics_->findKeyword(text);
        return index ? topics_->keywords()[*index].keyword : u"<none>"_s;
    }

    std::unique_ptr<HelpTopics> topics_;
};

TEST_F(HelpKeywordSearch, IndexIsInCzechOrderIgnoringCase)
{
    QStringList order;
    for (const auto &k : topics_->keywords())
        order << k.keyword;
    EXPECT_EQ(order, (QStringList{u"Cena"_s, u"Čtvrtletí"_s, u"daň"_s, u"Dopisy"_s, u"Sazby RUR"_s,
                                  u"Sázky"_s, u"Tisk"_s, u"Tisk obálek"_s, u"Údaje o poplatníkovi"_s,
                                  u"Zálohování dat"_s}));
}

TEST_F(HelpKeywordSearch, FindsByPrefixIgnoringCaseThenDiacritics)
{
    EXPECT_EQ(found(u"tisk"_s), u"Tisk"_s);
    EXPECT_EQ(found(u"TISK O"_s), u"Tisk obálek"_s);
    EXPECT_EQ(found(u"  úda "_s), u"Údaje o poplatníkovi"_s);
    EXPECT_EQ(found(u"DAŇ"_s), u"daň"_s);
    // Typed without accents.
    EXPECT_EQ(found(u"udaje"_s), u"Údaje o poplatníkovi"_s);
    EXPECT_EQ(found(u"ctvrt"_s), u"Čtvrtletí"_s);
    EXPECT_EQ(found(u"zalohovani d"_s), u"Zálohování dat"_s);
    // Typed accents pick the keyword that has them, although a plain one comes first.
    EXPECT_EQ(found(u"saz"_s), u"Sazby RUR"_s);
    EXPECT_EQ(found(u"sáz"_s), u"Sázky"_s);
}

TEST_F(HelpKeywordSearch, NothingForEmptyOrUnknownText)
{
    EXPECT_EQ(found(QString()), u"<none>"_s);
    EXPECT_EQ(found(u"   "_s), u"<none>"_s);
    EXPECT_EQ(found(u"xyz"_s), u"<none>"_s);
    EXPECT_EQ(found(u"Tisky"_s), u"<none>"_s);
}

}  // namespace
