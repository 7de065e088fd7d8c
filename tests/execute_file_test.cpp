#include "platform/ExecuteFile.h"
#include "support/printers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using rur::platform::ExecuteFile;

namespace {

// Records what ExecuteFile asked for; each action reports the configured result.
struct RecordingLauncher : rur::platform::Launcher {
    bool openUrl(const QUrl &url) override
    {
        actions << u"open "_s + url.toString();
        return openResult;
    }
    bool startProgram(const QString &program) override
    {
        actions << u"start "_s + program;
        return startResult;
    }

    QStringList actions;
    bool openResult = true;
    bool startResult = true;
};

void writeFile(const QString &path, const QByteArray &bytes, bool executable)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

class ExecuteFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        script_ = dir_.filePath(u"bank program.sh"_s);
        writeFile(script_, "#!/bin/sh\nexit 0\n", true);
        text_ = dir_.filePath(u"příkazy.txt"_s);
        writeFile(text_, "text", false);
    }

    QTemporaryDir dir_;
    QString script_;
    QString text_;
    RecordingLauncher launcher_;
};

TEST_F(ExecuteFileTest, AddressesGoToTheirHandler)
{
    EXPECT_TRUE(ExecuteFile(u"https://www.example.cz/rur?a=1"_s, launcher_));
    EXPECT_TRUE(ExecuteFile(u" mailto:podatelna@example.cz "_s, launcher_));
    EXPECT_TRUE(ExecuteFile(u"HTTP://example.cz"_s, launcher_));
    EXPECT_TRUE(ExecuteFile(u"www.example.cz"_s, launcher_));
    EXPECT_EQ(launcher_.actions, (QStringList{u"open https://www.example.cz/rur?a=1"_s,
                                              u"open mailto:podatelna@example.cz"_s,
                                              u"open http://example.cz"_s,
                                              u"open http://www.example.cz"_s}));
}

TEST_F(ExecuteFileTest, ExistingFilesStartOrOpenByKind)
{
    EXPECT_TRUE(ExecuteFile(script_, launcher_));
    EXPECT_TRUE(ExecuteFile(text_, launcher_));
    EXPECT_TRUE(ExecuteFile(dir_.path(), launcher_));  // folders carry the executable bit too
    EXPECT_EQ(launcher_.actions, (QStringList{u"start "_s + script_,
                                              u"open "_s + QUrl::fromLocalFile(text_).toString(),
                                              u"open "_s + QUrl::fromLocalFile(dir_.path()).toString()}));
}

TEST_F(ExecuteFileTest, RelativeProgramStartsFromTheCurrentDirectoryNotThePath)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    const bool started = ExecuteFile(u"bank program.sh"_s, launcher_);
    QDir::setCurrent(previous);
    EXPECT_TRUE(started);
    EXPECT_EQ(launcher_.actions, QStringList{u"start "_s + script_});
}

TEST_F(ExecuteFileTest, DocumentWithExecutableBitOpensWhenItCannotStart)
{
    launcher_.startResult = false;
    EXPECT_TRUE(ExecuteFile(script_, launcher_));
    EXPECT_EQ(launcher_.actions, (QStringList{u"start "_s + script_,
                                              u"open "_s + QUrl::fromLocalFile(script_).toString()}));
}

TEST_F(ExecuteFileTest, NamesLeadingNowhereFail)
{
    EXPECT_FALSE(ExecuteFile(QString(), launcher_));
    EXPECT_FALSE(ExecuteFile(u"   "_s, launcher_));
    EXPECT_FALSE(ExecuteFile(dir_.filePath(u"missing.pdf"_s), launcher_));
    EXPECT_FALSE(ExecuteFile(u"rur-no-such-program-here"_s, launcher_));
    // A Windows path carried over in old data is a missing file, not an address "C:".
    EXPECT_FALSE(ExecuteFile(u"C:\\Banka\\kb.exe"_s, launcher_));
    EXPECT_TRUE(launcher_.actions.isEmpty()) << launcher_.actions.join(u"; "_s).toStdString();

    launcher_.openResult = false;
    EXPECT_FALSE(ExecuteFile(text_, launcher_));
}

TEST_F(ExecuteFileTest, BareProgramNameIsFoundOnThePath)
{
    EXPECT_TRUE(ExecuteFile(u"sh"_s, launcher_));
    ASSERT_EQ(launcher_.actions.size(), 1);
    EXPECT_TRUE(launcher_.actions[0].startsWith(u"start /"_s)) << launcher_.actions[0].toStdString();
    EXPECT_TRUE(launcher_.actions[0].endsWith(u"/sh"_s));
}

TEST_F(ExecuteFileTest, SystemLauncherStartsAProgram)
{
    const QString marker = dir_.filePath(u"marker"_s);
    const QString program = dir_.filePath(u"writes marker.sh"_s);
    writeFile(program, "#!/bin/sh\necho started > '" + marker.toUtf8() + "'\n", true);

    ASSERT_TRUE(ExecuteFile(program));
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(marker) && timer.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(QFileInfo::exists(marker));
}

}  // namespace
