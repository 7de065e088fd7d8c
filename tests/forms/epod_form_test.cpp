// The settings window of the filing file "Nastavení" and the print centre's routine that opens it.
#include "app/Startup.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/forms/EpodForm.h"
#include "support/test_root.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace Qt::StringLiterals;
using namespace rur;
using Answer = platform::Prompter::Answer;
using print::TEpodForm;

namespace {

class EpodForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dirs.commonDataFolder = folders.path() + u"/common"_s;
        dirs.documentsFolder = folders.path() + u"/docs"_s;
    }

    // The window shown and active, so that keys and focus behave as for a user.
    std::unique_ptr<TEpodForm> shown()
    {
        auto form = std::make_unique<TEpodForm>(ctx);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }

    static void touch(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    rur::testing::TestRoot root;
    QTemporaryDir folders;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    base::UserSettings user;
    print::XmlPathSettings xml;
    print::FilingContext ctx{dm, dirs, user, xml, prompter};
};

// Runs a step on the settings window once it is shown modally and active.
void onNextForm(const std::function<void(TEpodForm *)> &step)
{
    QTimer::singleShot(10, qApp, [step] {
        auto *form = qobject_cast<TEpodForm *>(QApplication::activeModalWidget());
        if (!form || !form->isActiveWindow()) {
            onNextForm(step);
            return;
        }
        step(form);
    });
}

}  // namespace

TEST_F(EpodForm, FirmNameTakesEffectWithTheDefaultPathButtons)
{
    dm.Prp->edit();
    dm.Prp->field(u"Oj1a"_s).setValue(u"Alfa s.r.o."_s);
    dm.Prp->post();
    xml.pathTemplate = u"XML2/a.xml"_s;
    auto form = shown();
    EXPECT_EQ(form->windowTitle(), u"Nastavení"_s);
    EXPECT_EQ(form->pathEdit()->text(), root.path() + u"XML/XML2/a.xml"_s);
    EXPECT_TRUE(form->pathEdit()->isReadOnly());

    // The check box alone leaves the template as it is.
    form->firmNameBox()->setChecked(true);
    EXPECT_EQ(form->templateEdit()->text(), u"XML2/a.xml"_s);

    form->button(u"AdresarDatButton"_s)->click();
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu nastavit cesty (Adresář dat) ?"_s});
    EXPECT_EQ(form->templateEdit()->text(), u"%AdresarDat%/Tervik/RUR 2018/XML/DPHDP3 - Alfa s.r.o..xml"_s);
    EXPECT_EQ(form->pathEdit()->text(), dirs.commonDataFolder + u"/Tervik/RUR 2018/XML/DPHDP3 - Alfa s.r.o..xml"_s);
    EXPECT_EQ(QApplication::focusWidget(), form->button(u"OKButton"_s));
    EXPECT_TRUE(xml.firmName);

    form->firmNameBox()->setChecked(false);
    form->button(u"AdresarUzivatelButton"_s)->click();
    EXPECT_EQ(form->templateEdit()->text(), u"%AdresarUziv%/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);
    EXPECT_EQ(form->pathEdit()->text(), dirs.documentsFolder + u"/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);

    // "Ne" changes nothing.
    prompter.answers = {Answer::No};
    form->firmNameBox()->setChecked(true);
    form->button(u"AdresarDatButton"_s)->click();
    EXPECT_EQ(form->templateEdit()->text(), u"%AdresarUziv%/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);
}

TEST_F(EpodForm, DiskTemplateAndTheFileChooser)
{
    xml.pathTemplate = u"%Disk%/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s;
    auto form = shown();
    EXPECT_EQ(form->pathEdit()->text(), u"Nastavte písmeno disku (např. F:)."_s);

    QStringList starts;
    QString answer = dirs.commonDataFolder + u"/vlastni/podani.xml"_s;
    form->chooseFile = [&](const QString &start) {
        starts.append(start);
        return answer;
    };
    form->button(u"VyberButton"_s)->click();
    EXPECT_EQ(form->templateEdit()->text(), u"%AdresarDat%/vlastni/podani.xml"_s);
    EXPECT_EQ(form->pathEdit()->text(), answer);
    // Then from the folder of the complete path once it exists.
    QDir().mkpath(dirs.commonDataFolder + u"/vlastni"_s);
    answer.clear();  // cancelled: nothing changes
    form->button(u"VyberButton"_s)->click();
    EXPECT_EQ(starts, (QStringList{root.path(), dirs.commonDataFolder + u"/vlastni"_s}));
    EXPECT_EQ(form->templateEdit()->text(), u"%AdresarDat%/vlastni/podani.xml"_s);

    // Leaving the template field shows its new complete path.
    form->templateEdit()->setFocus();
    form->templateEdit()->setText(u"XML3/b.xml"_s);
    QTest::keyClick(form->templateEdit(), Qt::Key_Tab);
    EXPECT_EQ(form->pathEdit()->text(), root.path() + u"XML/XML3/b.xml"_s);
}

TEST_F(EpodForm, EscKeepsTheEditedValuesAndThePosition)
{
    user.kodovani = 1;
    {
        auto form = shown();
        EXPECT_EQ(form->pos(), QPoint(84, 184));
        EXPECT_EQ(form->encodingBox()->currentText(), u"windows-1250"_s);
        form->templateEdit()->setFocus();
        QTest::keyClicks(form->templateEdit(), u"XML4/c.xml"_s);
        form->firmNameBox()->setChecked(true);
        form->encodingBox()->setCurrentIndex(2);
        form->move(120, 150);
        QTest::keyClick(form.get(), Qt::Key_Escape);
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_EQ(xml.pathTemplate, u"XML4/c.xml"_s);
    EXPECT_TRUE(xml.firmName);
    EXPECT_EQ(user.kodovani, 2);
    platform::IniFile ini(dirs.dataSetIni());
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"DataElPodani1Top"_s, -1), 150);
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"DataElPodani1Left"_s, -1), 120);
    auto again = shown();
    EXPECT_EQ(again->pos(), QPoint(120, 150));
}

TEST_F(EpodForm, DeletesOnlyAFileEndingInLowerCaseXml)
{
    const QString upper = root.path() + u"XML/A.XML"_s, lower = root.path() + u"XML/b.xml"_s;
    touch(upper);
    touch(lower);
    xml.pathTemplate = u"A.XML"_s;
    auto form = shown();
    form->button(u"SmazatButton"_s)->click();
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu smazat uvedené XML soubory ?"_s});
    EXPECT_TRUE(QFile::exists(upper));
    EXPECT_EQ(QApplication::focusWidget(), form->button(u"OKButton"_s));

    form->templateEdit()->setText(u"b.xml"_s);
    form->templateEdit()->setFocus();
    QTest::keyClick(form->templateEdit(), Qt::Key_Return);  // leaves the field
    prompter.answers = {Answer::No};
    form->button(u"SmazatButton"_s)->click();
    EXPECT_TRUE(QFile::exists(lower));
    form->button(u"SmazatButton"_s)->click();
    EXPECT_FALSE(QFile::exists(lower));
}

TEST_F(EpodForm, EnterInTheCheckBox)
{
    auto form = shown();
    form->firmNameBox()->setFocus();
    QTest::keyClick(form->firmNameBox(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form->button(u"OKButton"_s));
    form->firmNameBox()->setFocus();
    QTest::keyClick(form->firmNameBox(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), form->pathEdit());
    EXPECT_FALSE(form->firmNameBox()->isChecked());
}

TEST_F(EpodForm, SettingsButtonOfThePrintCentreStoresTheXmlKeys)
{
    bool checked = false;
    onNextForm([&](TEpodForm *form) {
        checked = true;
        // Opened on the default path, with the focus on the complete path.
        EXPECT_EQ(form->templateEdit()->text(), u"%AdresarDat%/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);
        EXPECT_EQ(QApplication::focusWidget(), form->pathEdit());
        form->firmNameBox()->setChecked(true);
        form->button(u"OKButton"_s)->click();
    });
    print::showFilingSettings(ctx, nullptr);
    EXPECT_TRUE(checked);
    platform::IniFile ini(dirs.dataSetIni());
    EXPECT_EQ(ini.readString(u"XML"_s, u"Dph"_s), u"%AdresarDat%/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);
    EXPECT_TRUE(ini.readBool(u"XML"_s, u"Nazev"_s, false));
    EXPECT_EQ(print::readXmlPathSettings(ini).pathTemplate, xml.pathTemplate);
}
