// rur-cli --help and COMMAND --help: every command described with an example that the
// program itself accepts; a wrong option or argument gives that command's usage and 2.
#include "support/run_cli.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Result = rur::testing::CliResult;

Result helpCli(const QStringList &args, const QString &workDir = QString())
{
    rur::testing::CliOptions options;
    options.workingDir = workDir;
    return rur::testing::cli(args, options);
}

// The command names of the listing in `rur-cli --help`.
QStringList listedCommands(const QString &help)
{
    const qsizetype at = help.indexOf(u"\nPříkazy:\n"_s);
    if (at < 0)
        return {};
    static const QRegularExpression line(u"^  ([a-z][a-z-]*)( |$)"_s, QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = line.globalMatch(help.mid(at)); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

}  // namespace

TEST(CliHelp, EveryCommandHasAnExampleTheProgramAccepts)
{
    const Result all = helpCli({u"--help"_s});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    EXPECT_TRUE(all.out.startsWith(u"rur-cli: "_s));
    EXPECT_TRUE(all.out.contains(u"--root ADRESÁŘ"_s));
    const QStringList names = listedCommands(all.out);
    for (const char16_t *expected : {u"init", u"create", u"xml", u"print", u"backup", u"restore", u"check", u"help"})
        EXPECT_TRUE(names.contains(QString::fromUtf16(expected))) << QString::fromUtf16(expected).toStdString();

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const Result one = helpCli({name, u"--help"_s});
        ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
        EXPECT_EQ(helpCli({u"help"_s, name}).out, one.out);
        // Only this command's usage, then its example.
        EXPECT_EQ(listedCommands(u"\nPříkazy:\n"_s + one.out.section(u'\n', 1)).value(0), name);
        static const QRegularExpression exampleLine(u"\nPříklad:\n  (rur-cli [^\n]+)"_s);
        const QRegularExpressionMatch example = exampleLine.match(one.out);
        ASSERT_TRUE(example.hasMatch()) << "no example: " << one.out.toStdString();
        EXPECT_TRUE(all.out.contains(u"příklad: "_s + example.captured(1)));

        // The example names its command and passes the program's own check of the command
        // line: run without a data root it fails for the missing data (1) or works (0),
        // never with the usage (2).
        QStringList args = QProcess::splitCommand(example.captured(1)).mid(1);
        EXPECT_TRUE(args.contains(name)) << example.captured(1).toStdString();
        args.prepend(work.path() + u"/chybi"_s);
        args.prepend(u"--root"_s);
        const Result run = helpCli(args, work.path());
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode << ' ' << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(u"Použití:"_s)) << run.err.toStdString();
    }
}

TEST(CliHelp, WrongOptionOrArgumentPrintsThatCommandsUsage)
{
    const auto expectUsageOf = [](const Result &r, const QString &usageStart, const QString &message) {
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith(message)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(u"\nPoužití: rur-cli"_s)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(u"\n  "_s + usageStart)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(u"\nPříklad:\n  rur-cli "_s)) << r.err.toStdString();
        // The usage of that command alone, not the list of all.
        EXPECT_FALSE(r.err.contains(u"\n  init "_s)) << r.err.toStdString();
    };
    // An option of another command, an option no command has.
    expectUsageOf(helpCli({u"sets"_s, u"--all"_s}), u"sets"_s, u"Neznámá volba --all příkazu sets."_s);
    expectUsageOf(helpCli({u"backup"_s, u"D1"_s, u"--indexi"_s}), u"backup RUR"_s,
                  u"Neznámá volba --indexi příkazu backup."_s);
    expectUsageOf(helpCli({u"sets"_s, u"--out"_s, u"x.xml"_s}), u"sets"_s, u"Neznámá volba --out příkazu sets."_s);
    // Too many or too few arguments; a report that does not exist.
    const Result extra = helpCli({u"sets"_s, u"navic"_s});
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_TRUE(extra.err.contains(u"\n  sets "_s));
    const Result print = helpCli({u"print"_s, u"D1"_s, u"obalka"_s, u"--pdf"_s, u"x.pdf"_s});
    EXPECT_EQ(print.exitCode, 2);
    EXPECT_TRUE(print.err.startsWith(u"Neznámá sestava obalka."_s)) << print.err.toStdString();
    EXPECT_TRUE(print.err.contains(u"\n  print RUR SESTAVA --pdf SOUBOR"_s));

    // An unknown command or none: the list of commands and where to read more.
    const Result unknown = helpCli({u"zaloha"_s});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith(u"Neznámý příkaz zaloha."_s)) << unknown.err.toStdString();
    EXPECT_TRUE(unknown.err.contains(u"rur-cli --help"_s));
    EXPECT_EQ(helpCli({}).exitCode, 2);
    EXPECT_EQ(helpCli({u"zaloha"_s, u"--help"_s}).exitCode, 2);
    EXPECT_EQ(helpCli({u"-h"_s}).exitCode, 0);
    // Options known to every command are no slip.
    EXPECT_EQ(helpCli({u"--root"_s, u"/nonexistent-rur-root"_s, u"sets"_s}).exitCode, 1);
}

namespace {

QString sourceFile(const QString &relative)
{
    QFile f(QString::fromUtf8(RUR_SOURCE_DIR) + u'/' + relative);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

// A user reads about the commands in the README and the manual page: every command is there,
// and the help lists them in the README's order, whatever order the program's files were
// linked in.
TEST(CliHelp, ReadmeAndManualPageNameEveryCommandInTheHelpsOrder)
{
    const QStringList listed = listedCommands(helpCli({u"--help"_s}).out);
    ASSERT_FALSE(listed.isEmpty());

    const QString readme = sourceFile(u"README.md"_s);
    const qsizetype from = readme.indexOf(u"- `rur-cli`"_s), to = readme.indexOf(u"- `make screenshots`"_s);
    ASSERT_TRUE(from >= 0 && to > from) << "the rur-cli part of README.md";
    static const QRegularExpression mention(u"`([a-z][a-z-]*)[ `]"_s);
    QStringList inReadme;
    for (const auto &m : mention.globalMatch(readme.mid(from, to - from)))
        if (listed.contains(m.captured(1)) && !inReadme.contains(m.captured(1)))
            inReadme.append(m.captured(1));
    EXPECT_EQ(inReadme, listed) << "README: " << inReadme.join(u' ').toStdString();

    // The manual page's list of commands, one ".B name" line each, in the same order.
    const QString manual = sourceFile(u"packaging/rur-cli.1"_s);
    static const QRegularExpression manEntry(u"^\\.B ([a-z][a-z\\\\-]*)$"_s, QRegularExpression::MultilineOption);
    QStringList inManual;
    for (const auto &m : manEntry.globalMatch(manual.mid(manual.indexOf(u".SH PŘÍKAZY"_s))))
        inManual.append(m.captured(1).remove(u'\\'));
    EXPECT_EQ(inManual, listed) << "rur-cli.1: " << inManual.join(u' ').toStdString();
}
