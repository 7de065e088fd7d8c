// The windows of the first start and of Ctrl+N / Ctrl+I in the selection: "Výběr práce s
// daty", "Informace" and "Převod dat z předchozích verzí".
#include "app/forms/Au5Form.h"
#include "app/forms/Au9Form.h"
#include "app/forms/MainForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Au8Form.h"
#include "datasets/forms/Auto1Form.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/editions.h"
#include "support/printers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using app::TMainForm;
using platform::IniFile;

namespace {

// Runs a step on the next modal dialog of that class once it is shown.
template <typename Dialog>
void onNextDialog(std::function<void(Dialog &)> step)
{
    QTimer::singleShot(0, qApp, [step] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(20, qApp, [step] { onNextDialog<Dialog>(step); });
            return;
        }
        step(*dialog);
    });
}

// The program in prg/, its data root Tervik/RUR 2018/ in the common folder, an earlier
// edition beside it and a shared folder elsewhere.
class FirstStartWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(tmp.path() + u"/prg"_s));
        rur::data::installDataRoot(local());
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(savedCwd);
    }
    QString common() const { return tmp.path() + u"/common"_s; }
    QString local() const { return common() + u"/Tervik/RUR 2018/"_s; }
    QString earlier() const { return common() + u"/Tervik/RUR 2017/"_s; }
    QString share() const { return tmp.path() + u"/mnt/RUR218/"_s; }
    IniFile dph() const { return IniFile(local() + u"Dph.ini"_s); }

    void start(bool askAtFirstStart = true)
    {
        TMainForm::Environment env{tmp.path() + u"/prg"_s, common(), tmp.path() + u"/docs"_s, QSize(1280, 1024)};
        env.askAtFirstStart = askAtFirstStart;
        form = std::make_unique<TMainForm>(env, prompter);
        form->selectionRunner = [] { return -1; };  // the selection is tested on its own
        form->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->firstActivationDone(); }));
    }
    int catalogueSize() const { return form->catalogue()->Data->recordCount(); }

    QTemporaryDir tmp;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<TMainForm> form;
    const QString savedCwd = QDir::currentPath();
};

}  // namespace

TEST_F(FirstStartWindows, TheFirstStartAsksForTheChoiceAndOffersTheEarlierEdition)
{
    rur::testing::makeEdition(earlier(), {u"Alfa"_s, u"Beta"_s});
    QStringList order;
    onNextDialog<app::TAu5Form>([&](app::TAu5Form &w) {
        order << w.windowTitle();
        EXPECT_TRUE(w.localRadio()->isChecked());
        EXPECT_EQ(w.pathEdit()->text(), QString());
        EXPECT_EQ(w.folderEdit()->text(), u"RUR218"_s);
        EXPECT_EQ(w.networkRadio()->text(), u"Data pro provoz v síti - nastavte cestu např. /mnt/server/RUR218/Data.DB"_s);
        onNextDialog<datasets::TAu8Form>([&](datasets::TAu8Form &c) {
            order << c.windowTitle();
            EXPECT_EQ(c.pathEdit()->text(), earlier() + u"Data.DB"_s);
            EXPECT_TRUE(c.convertCheck()->isChecked());
            c.button(u"OKButton"_s)->click();
        });
        w.button(u"OKButton"_s)->click();
    });
    start();
    EXPECT_EQ(order, (QStringList{u"Výběr práce s daty"_s, u"Převod dat z předchozích verzí"_s}));
    EXPECT_EQ(dph().readString(u"Dph"_s, u"Net"_s), u"0"_s);
    EXPECT_EQ(dph().readString(u"Dph"_s, u"Prevod218"_s), u"1"_s);
    EXPECT_EQ(prompter.texts(), QStringList{u"Data byla převedena z adresáře: \n\n"_s + earlier()});
    EXPECT_EQ(catalogueSize(), 2);
    form.reset();

    // The next start asks neither question.
    int windows = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto *w = QApplication::activeModalWidget()) {
            ++windows;
            w->close();
        }
    });
    watch.start(10);
    start();
    QTest::qWait(50);
    EXPECT_EQ(windows, 0);
}

TEST_F(FirstStartWindows, ChoosingSharedDataAtTheFirstStartMovesTheDataRoot)
{
    rur::testing::makeEdition(share(), {u"Síť"_s});
    rur::testing::makeEdition(earlier(), {u"Alfa"_s});
    onNextDialog<app::TAu5Form>([&](app::TAu5Form &w) {
        w.chooseFile = [&](const QString &) { return share() + u"Data.DB"_s; };
        w.button(u"VyberButton"_s)->click();
        EXPECT_TRUE(w.networkRadio()->isChecked());
        w.button(u"OKButton"_s)->click();
    });
    start();
    EXPECT_EQ(form->directories().dataRoot, share());
    EXPECT_EQ(form->dataModule().dataRoot(), share());
    EXPECT_EQ(dph().readString(u"Dph"_s, u"Path"_s), share());
    // The shared catalogue has data sets: no conversion was offered.
    EXPECT_EQ(catalogueSize(), 1);
    EXPECT_EQ(form->catalogue()->currentName(), u"Síť"_s);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(u'|').toStdString();
}

TEST_F(FirstStartWindows, TheConversionWindowRefusesTheLocalDataRootAndMissingFiles)
{
    rur::testing::makeEdition(earlier(), {});
    start(false);
    const QString found = earlier() + u"Data.DB"_s;
    datasets::TAu8Form w(form->directories(), prompter, found);
    w.show();
    const QString refusal = u"Vyberte adresář s předchozí verzí programu RUR."_s;

    w.chooseFile = [&](const QString &start) {
        EXPECT_EQ(start, earlier());
        return local() + u"Data.DB"_s;
    };
    w.button(u"VyberButton"_s)->click();
    EXPECT_EQ(prompter.texts(), QStringList{refusal});
    EXPECT_EQ(w.pathEdit()->text(), found);

    w.pathEdit()->setText(local() + u"Data.DB"_s);
    w.button(u"OKButton"_s)->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.pathEdit()->text(), found);
    w.pathEdit()->setText(tmp.path() + u"/jinde/Data.DB"_s);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(prompter.texts().last(), u"Soubor "_s + tmp.path() + u"/jinde/Data.DB neexistuje."_s);
    EXPECT_EQ(w.pathEdit()->text(), found);

    w.convertCheck()->setChecked(false);
    w.button(u"OKButton"_s)->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.choice().earlierCatalogue, found);
    EXPECT_FALSE(w.choice().convert);
}

TEST_F(FirstStartWindows, CtrlNInTheSelectionMovesToSharedDataAndCtrlIShowsIt)
{
    rur::testing::makeEdition(share(), {u"Síť"_s});
    start(false);
    form->catalogue()->beginNew();
    ASSERT_TRUE(form->catalogue()->finishNew(u"Místní"_s));
    form->selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
    form->VyberDanoveho();
    ASSERT_TRUE(form->dataSetOpen());
    form->selectionRunner = [this] { return form->selectionForm()->execSelection(); };

    bool openWhileSwitched = true;
    QString shownRoot;
    onNextDialog<datasets::TAuto1Form>([&](datasets::TAuto1Form &s) {
        onNextDialog<app::TAu5Form>([&](app::TAu5Form &w) {
            w.networkRadio()->setChecked(true);
            w.pathEdit()->setText(share() + u"Data.DB"_s);
            w.button(u"OKButton"_s)->click();
        });
        QTest::keyClick(s.grid(), Qt::Key_N, Qt::ControlModifier);
        openWhileSwitched = form->dataSetOpen();
        EXPECT_EQ(s.grid()->model()->rowCount(), 1);
        EXPECT_EQ(s.grid()->model()->index(0, 1).data().toString(), u"Síť"_s);
        onNextDialog<app::TAu9Form>([&](app::TAu9Form &info) {
            shownRoot = info.value(u"FileDir:"_s);
            info.findChild<QPushButton *>(u"OKButton"_s)->click();
        });
        QTest::keyClick(&s, Qt::Key_I, Qt::ControlModifier);
        s.button(u"OtevritButton"_s)->click();
    });
    form->VyberDanoveho();
    EXPECT_FALSE(openWhileSwitched);
    EXPECT_EQ(shownRoot, share());
    ASSERT_TRUE(form->dataSetOpen());
    EXPECT_EQ(form->directories().dataSetPath(), share() + u"D1/"_s);
    EXPECT_EQ(form->dataModule().Danove.directory(), share() + u"D1/"_s);
}

TEST_F(FirstStartWindows, CopyingForSharedUseAndTheInstallationGuide)
{
    start(false);
    app::TAu5Form w(form->directories(), prompter);
    w.show();
    const QString disk = tmp.path() + u"/mnt"_s;
    ASSERT_TRUE(QDir().mkpath(disk));
    w.diskBox()->setEditText(disk);
    w.button(u"KopirovatButton"_s)->click();
    EXPECT_EQ(prompter.texts().last(), u"Data byla nakopírována na disk "_s + share());
    EXPECT_TRUE(QFile::exists(share() + u"Data/Verze.ini"_s));
    EXPECT_TRUE(w.networkRadio()->isChecked());
    EXPECT_EQ(w.pathEdit()->text(), share() + u"Data.DB"_s);

    // The guide is written as a PDF and handed to the desktop.
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(tmp.path() + u"/cache"_s));
    QString opened;
    w.openDocument = [&](const QString &path) {
        opened = path;
        return true;
    };
    emit w.guideLabel()->linkActivated(u"navod"_s);
    // Without a program for PDF files: where the guide is, for opening it by hand.
    w.openDocument = [](const QString &) { return false; };
    emit w.guideLabel()->linkActivated(u"navod"_s);
    qputenv("XDG_CACHE_HOME", savedCache);
    EXPECT_EQ(prompter.errors(), QStringList{u"Návod k instalaci nelze otevřít. Je uložen v souboru\n"_s + opened});
    ASSERT_TRUE(opened.startsWith(tmp.path() + u"/cache/"_s)) << opened.toStdString();
    EXPECT_TRUE(opened.endsWith(u"Návod k instalaci.pdf"_s));
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {opened, u"-"_s});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains(u"Návod k instalaci"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"nobrl"_s));

    // Closing takes the shared data root that was just prepared.
    w.button(u"OKButton"_s)->click();
    EXPECT_TRUE(w.dataRootChanged());
    EXPECT_EQ(form->directories().dataRoot, share());
}
