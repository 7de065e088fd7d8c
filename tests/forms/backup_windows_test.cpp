// The backup and restore windows and the window of the own folder, offscreen with scripted
// answers; the menu commands of the main window that open them.
#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "backup/ArchivePaths.h"
#include "backup/Restore.h"
#include "backup/ZipArchive.h"
#include "backup/forms/Exd2Form.h"
#include "backup/forms/ExdForm.h"
#include "base/Paths.h"
#include "data/DataM1.h"
#include "data/FileStem.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "datasets/forms/Auto1Form.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "support/test_root.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using Answer = platform::Prompter::Answer;

namespace {

class BackupWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dirs.commonDataFolder = folders.path() + u"/common"_s;
        dirs.documentsFolder = folders.path() + u"/docs"_s;
        dm.Prp->edit();
        dm.Prp->field(u"Ojp3"_s).setValue(u"Alfa: s.r.o."_s);
        dm.Prp->post();
        ctx.taxpayerStem = data::NazevSb1(dm, dirs);
    }
    void TearDown() override { QDir::setCurrent(savedCwd); }

    template <typename Window>
    std::unique_ptr<Window> shown()
    {
        auto w = std::make_unique<Window>(ctx);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }
    platform::IniFile ini() const { return platform::IniFile(dirs.dataSetIni()); }
    static void typeTemplate(backup::TArchiveForm &w, const QString &text)
    {
        w.pathList()->setFocus();
        w.pathList()->lineEdit()->selectAll();
        QTest::keyClicks(w.pathList()->lineEdit(), text);
        QTest::keyClick(w.pathList()->lineEdit(), Qt::Key_Return);
    }

    rur::testing::TestRoot root;
    QTemporaryDir folders;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    backup::ArchiveWindowContext ctx{dm, dirs, prompter};
    QString savedCwd = QDir::currentPath();
};

}  // namespace

TEST_F(BackupWindows, TheWindowsOpenOnTheStoredPathsOrTheDataFolder)
{
    {
        const auto w = shown<backup::TExdForm>();
        EXPECT_EQ(w->windowTitle(), u"Zálohování dat"_s);
        EXPECT_EQ(w->pos(), QPoint(84, 204));
        EXPECT_EQ(w->pathList()->currentText(), u"%AdresarDat%/Tervik/RUR 2018/Zaloha/D1.zip"_s);
        EXPECT_EQ(w->completePath()->text(), dirs.commonDataFolder + u"/Tervik/RUR 2018/Zaloha/D1.zip"_s);
        EXPECT_TRUE(w->progressBar()->isHidden());
        w->move(30, 40);
        w->reject();
    }
    EXPECT_EQ(ini().readInteger(u"D1"_s, u"ZalohovaniDatTop"_s, 0), 40);
    platform::IniFile settings = ini();
    settings.writeString(u"Cesty"_s, u"0"_s, u"%AdresarUziv%/a.zip"_s);
    settings.writeString(u"Cesty"_s, u"2"_s, u"/mnt/b.zip"_s);
    settings.writeBool(u"Cesty"_s, u"Nazev"_s, true);
    settings.writeBool(u"Cesty"_s, u"Obnovit"_s, true);
    {
        const auto w = shown<backup::TExdForm>();
        EXPECT_EQ(w->pos(), QPoint(30, 40));
        EXPECT_EQ(w->templates(), (QStringList{u"%AdresarUziv%/a.zip"_s, u"/mnt/b.zip"_s}));
        EXPECT_EQ(w->completePath()->text(), dirs.documentsFolder + u"/a.zip"_s);
        EXPECT_TRUE(w->firmNameBox()->isChecked());
        EXPECT_TRUE(w->rebuildIndexesBox()->isChecked());
        // The path buttons take the firm name into the file name.
        w->button(u"AdresarUzivatelButton"_s)->click();
        EXPECT_EQ(w->pathList()->currentText(), u"%AdresarUziv%/Tervik/RUR 2018/Zaloha/Alfa s.r.o..zip"_s);
        w->firmNameBox()->setChecked(false);
        w->button(u"VymenneMediumButton"_s)->click();
        EXPECT_EQ(w->completePath()->text(), u"Nastavte písmeno disku (např. F:)."_s);
        // A path that can't be resolved stops before the question.
        w->button(u"ZalohovatButton"_s)->click();
        EXPECT_EQ(prompter.texts(), QStringList{u"Nastavte správně cestu."_s});
        w->reject();
    }
    {
        const auto w = shown<backup::TExd1Form>();
        EXPECT_EQ(w->windowTitle(), u"Obnovení dat"_s);
        EXPECT_EQ(w->pos(), QPoint(84, 178));
        EXPECT_EQ(w->choice(), backup::ObnovitVse);
        EXPECT_EQ(w->templates().size(), 2);  // shared with the backup window
        w->reject();
    }
}

TEST_F(BackupWindows, ABackupMovesTheBarWithTheFilesAndRemembersItsPath)
{
    const QString archive = folders.path() + u"/zalohy/D1.zip"_s;
    {
        const auto w = shown<backup::TExdForm>();
        typeTemplate(*w, archive);
        EXPECT_TRUE(w->completePath()->hasFocus());  // Enter in the list moves on
        QList<int> seen;
        QObject::connect(w->progressBar(), &QProgressBar::valueChanged, [&](int v) {
            if (w->progressBar()->isVisible())
                seen.append(v);
        });
        w->rebuildIndexesBox()->setChecked(true);
        w->button(u"ZalohovatButton"_s)->click();
        EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu chcete zazálohovat data ?"_s, u"Data byla zazálohována."_s}));
        EXPECT_TRUE(QFile::exists(archive));
        // Step by step, two for each stored file, before the end is reached.
        ASSERT_GE(seen.size(), 10);
        EXPECT_EQ(seen.value(0), 2);
        EXPECT_EQ(seen.value(1), 4);
        EXPECT_LT(seen.value(seen.size() - 2), 65);
        EXPECT_TRUE(w->progressBar()->isHidden());
        EXPECT_EQ(w->templates().value(0), archive);
        EXPECT_TRUE(dm.tablesOpen());
        w->reject();
    }
    const backup::PathSettings stored = backup::readPathSettings(ini());
    EXPECT_EQ(stored.remembered.value(0), archive);
    EXPECT_TRUE(stored.obnovit);
    EXPECT_EQ(QDir::currentPath(), QDir(root.path()).absolutePath());

    // The restore window restores the address book from it in steps of ten.
    dm.Maz->open();
    dm.Maz->append();
    dm.Maz->field(u"Fa"_s).setValue(u"Nová adresa"_s);
    dm.Maz->post();
    {
        const auto w = shown<backup::TExd1Form>();
        EXPECT_EQ(w->pathList()->currentText(), archive);
        w->findChild<QRadioButton *>(u"Volba3"_s)->click();
        QList<int> seen;
        QObject::connect(w->progressBar(), &QProgressBar::valueChanged, [&](int v) { seen.append(v); });
        prompter.messages.clear();
        w->button(u"ObnovitButton"_s)->click();
        EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu chcete obnovit data ?"_s, u"Data byla obnovena."_s}));
        EXPECT_EQ(seen.value(1), 10);
        w->reject();
    }
    dm.Maz->open();
    EXPECT_EQ(dm.Maz->recordCount(), 0);
}

TEST_F(BackupWindows, TheOwnFolderAndTheErasingOfPaths)
{
    // No own folder yet: the button opens the window that chooses one; it stores the folder
    // and puts the archive into it.
    const QString own = folders.path() + u"/vlastni"_s;
    QDir().mkpath(own);
    {
        const auto w = shown<backup::TExdForm>();
        QPoint chooserAt;
        QTimer script;
        QObject::connect(&script, &QTimer::timeout, [&] {
            auto *chooser = qobject_cast<backup::TExd2Form *>(QApplication::activeModalWidget());
            if (!chooser || !chooser->isActiveWindow())
                return;
            script.stop();
            chooserAt = chooser->pos();
            chooser->setFolder(own);
            chooser->accept();
        });
        script.start(10);
        w->button(u"VlastniButton"_s)->click();
        EXPECT_EQ(chooserAt, QPoint(277, 155));
        EXPECT_EQ(ini().readString(u"Cesty"_s, u"Vlastni"_s), own + u'/');
        EXPECT_EQ(w->completePath()->text(), own + u"/D1.zip"_s);
        EXPECT_EQ(w->pathList()->currentText(), base::CestyTyp3(dirs, own + u"/D1.zip"_s));

        // From now on the button takes the stored folder, and the window opens there.
        w->firmNameBox()->setChecked(true);
        bool asked = false;
        w->chooseOwnFolder = [&] { asked = true; };
        w->button(u"VlastniButton"_s)->click();
        EXPECT_FALSE(asked);
        EXPECT_EQ(w->completePath()->text(), own + u"/Alfa s.r.o..zip"_s);
        backup::TExd2Form again(dirs, 1024);
        EXPECT_EQ(again.folder(), own + u'/');
        w->reject();
    }

    // "Vymazání uložených cest - ostatní" keeps the paths of these windows.
    platform::IniFile settings = ini();
    for (const QString &section : {u"Banka1"_s, u"Bankah1"_s, u"Prenos"_s, u"XML"_s, u"Tisk"_s})
        settings.writeString(section, u"Cesta"_s, u"x"_s);
    {
        const auto w = shown<backup::TExd1Form>();
        prompter.messages.clear();
        w->ownFolderMenu()->actions().at(2)->trigger();
        EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu vymazat uložené cesty - ostatní ?"_s, u"Cesty byly vymazány."_s}));
        EXPECT_FALSE(w->isVisible());
    }
    settings.reload();
    EXPECT_EQ(settings.sections().filter(u"Banka"_s), QStringList());
    EXPECT_FALSE(settings.hasSection(u"XML"_s));
    EXPECT_TRUE(settings.hasSection(u"Tisk"_s));
    EXPECT_TRUE(settings.hasKey(u"Cesty"_s, u"Vlastni"_s));

    // "Vymazání uložených cest": a No keeps them; a Yes erases them and closes the window
    // without writing them again, and the next window shows the data folder's template.
    {
        const auto w = shown<backup::TExdForm>();
        typeTemplate(*w, u"/jinde/D1.zip"_s);
        prompter.answers = {Answer::No};
        w->ownFolderMenu()->actions().at(1)->trigger();
        EXPECT_TRUE(w->isVisible());
        w->ownFolderMenu()->actions().at(1)->trigger();
        EXPECT_FALSE(w->isVisible());
    }
    settings.reload();
    EXPECT_FALSE(settings.hasSection(u"Cesty"_s));
    {
        const auto w = shown<backup::TExdForm>();
        EXPECT_EQ(w->pathList()->currentText(), u"%AdresarDat%/Tervik/RUR 2018/Zaloha/D1.zip"_s);
        w->reject();
    }
}

TEST_F(BackupWindows, EnterAndShiftEnterMoveBetweenThePathAndTheCheckBox)
{
    const auto w = shown<backup::TExd1Form>();
    w->pathList()->setFocus();
    QTest::keyClick(w->pathList()->lineEdit(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_TRUE(w->firmNameBox()->hasFocus());
    QTest::keyClick(w->firmNameBox(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_TRUE(w->button(u"VlastniButton"_s)->hasFocus());
    w->firmNameBox()->setFocus();
    QTest::keyClick(w->firmNameBox(), Qt::Key_Enter);
    EXPECT_TRUE(w->pathList()->hasFocus() || w->pathList()->lineEdit()->hasFocus());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

TEST(BackupMenu, TheMenuOpensBothWindowsOnTheOpenDataSet)
{
    QTemporaryDir tmp;
    const QString cwd = QDir::currentPath();
    const QString common = tmp.path() + u"/common"_s;
    data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
    platform::ScriptedPrompter prompter;
    {
        app::TMainForm form({tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1280, 1024)}, prompter);
        QAction *backupAction = form.commandAction(app::Command::Zalohovani);
        QAction *restoreAction = form.commandAction(app::Command::Obnoveni);
        EXPECT_FALSE(backupAction->isEnabled());  // no data set open yet
        form.catalogue()->beginNew();
        ASSERT_TRUE(form.catalogue()->finishNew(u"Beta"_s));
        form.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        form.VyberDanoveho();
        ASSERT_TRUE(backupAction->isEnabled());
        ASSERT_TRUE(restoreAction->isEnabled());

        QStringList opened;
        QTimer poll;
        QPointer<QWidget> last;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == last || !modal->isActiveWindow())
                return;
            last = modal;
            opened.append(modal->objectName());
            if (auto *w = qobject_cast<backup::TArchiveForm *>(modal)) {
                opened.append(w->completePath()->text());
                w->reject();
            }
        });
        poll.start(10);
        backupAction->trigger();
        restoreAction->trigger();
        EXPECT_EQ(opened, (QStringList{u"TExdForm"_s, common + u"/Tervik/RUR 2018/Zaloha/D1.zip"_s, u"TExd1Form"_s,
                                       common + u"/Tervik/RUR 2018/Zaloha/D1.zip"_s}));
        EXPECT_TRUE(form.dataSetOpen());
    }
    QDir::setCurrent(cwd);
}
