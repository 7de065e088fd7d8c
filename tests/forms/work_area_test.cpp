// The working area of the main window: what it offers without a data set, its refresh when an
// entry window closes, the save step of the last period, and F1 on its labels.
#include "app/forms/HelpForm.h"
#include "app/forms/HelpService.h"
#include "app/forms/MainForm.h"
#include "app/forms/WorkArea.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "datasets/forms/CatalogueDialogs.h"
#include "engine/Table.h"
#include "forms/window_script.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "ui/forms/DBEditz.h"
#include "vat/forms/ReturnEntryForm.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using app::Command;
using app::Fact;

namespace {

class WorkAreaWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        data::installDataRoot(tmp.path() + u"/common/Tervik/RUR 2018/"_s);
        const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, tmp.path() + u"/common"_s,
                                              tmp.path() + u"/docs"_s, QSize(1024, 768)};
        form = std::make_unique<app::TMainForm>(env, prompter);
        form->selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(savedCwd);
    }
    app::WorkArea &area() { return *form->workArea(); }
    void openDataSet()
    {
        form->catalogue()->beginNew();
        ASSERT_TRUE(form->catalogue()->finishNew(u"Firma"_s));
        form->VyberDanoveho();
        ASSERT_TRUE(form->dataSetOpen());
        ASSERT_TRUE(QTest::qWaitFor([&] { return area().showsOverview(); }));
    }
    QString value(Fact fact) { return area().valueLabel(fact)->text(); }
    static void click(QWidget *label)
    {
        ASSERT_NE(label, nullptr);
        QTest::mouseClick(label, Qt::LeftButton);
    }

    QTemporaryDir tmp;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<app::TMainForm> form;
    const QString savedCwd = QDir::currentPath();
};

TEST_F(WorkAreaWindow, WithoutADataSetOffersTheSelectionAndANewOne)
{
    QTest::qWait(0);
    EXPECT_FALSE(area().showsOverview());
    app::RoadLabel *select = area().roadLabel(Command::VyberRur);
    app::RoadLabel *create = area().roadLabel(Command::NoveRur);
    ASSERT_TRUE(select && create);
    EXPECT_EQ(select->text(), u"Výběr RUR"_s);
    EXPECT_EQ(create->text(), u"Nové RUR"_s);
    EXPECT_TRUE(select->isEnabled());
    EXPECT_TRUE(create->isEnabled());
    EXPECT_FALSE(area().roadLabel(Command::Priznani1)->isEnabled());

    // "Nové RUR": the window of the selection that names the new data set, which then opens.
    rur::testing::WindowScript script({[](QDialog &dialog) {
        auto &window = static_cast<datasets::TAu1Form &>(dialog);
        window.nameEdit()->setText(u"Nová firma"_s);
        window.RurButtonClick();
    }});
    click(create);
    EXPECT_EQ(script.shown, QStringList{u"TAu1Form"_s});
    EXPECT_EQ(form->catalogue()->currentName(), u"Nová firma"_s);
    EXPECT_TRUE(form->dataSetOpen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return area().showsOverview(); }));
    EXPECT_EQ(value(Fact::Period), u"leden 2018"_s);
    EXPECT_TRUE(area().roadLabel(Command::Priznani1)->isEnabled());
}

// What an entry window stores shows in the area once the window has closed.
TEST_F(WorkAreaWindow, RefreshedWhenAnEntryWindowCloses)
{
    openDataSet();
    EXPECT_EQ(value(Fact::Line62), u"0 Kč"_s);
    rur::testing::WindowScript script({[](QDialog &dialog) {
        auto &window = static_cast<vat::TReturnEntryForm &>(dialog);
        window.editRecord();
        ui::TDBEditz *tax = window.edit(u"C210a"_s);
        tax->setFocus();
        tax->selectAll();
        QTest::keyClicks(tax, u"1024"_s);
        window.postRecord();
        window.reject();
    }});
    click(area().roadLabel(Command::Priznani1));
    EXPECT_EQ(script.shown, QStringList{u"TEtab1Form"_s});
    EXPECT_TRUE(QTest::qWaitFor([&] { return value(Fact::Line62) == u"1\u00a0024 Kč"_s; }))
        << value(Fact::Line62).toStdString();
    EXPECT_EQ(value(Fact::Result), u"1\u00a0024 Kč"_s);
}

// In December the save step is the one with the yearly settlement.
TEST_F(WorkAreaWindow, TheLastPeriodIsSavedWithTheSettlement)
{
    openDataSet();
    app::RoadLabel *save = area().roadLabel(Command::UlozeniRur);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), u"Uložení RUR"_s);
    engine::Table &prp = *form->dataModule().Prp;
    prp.edit();
    prp.field(u"M"_s).setValue(u"prosinec"_s);
    prp.field(u"Cislo"_s).setValue(12);
    prp.post();
    form->refreshWorkArea();
    EXPECT_EQ(area().roadLabel(Command::UlozeniRur), nullptr);
    EXPECT_EQ(area().roadLabel(Command::UlozeniPoslednihoRur), save);
    EXPECT_EQ(save->text(), u"Uložení posledního RUR a vypořádání"_s);
    prompter.messages.clear();
    prompter.answers = {platform::Prompter::Answer::No};
    click(save);
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu uložit poslední RUR za prosinec a provést vypořádání ?"_s});
}

TEST_F(WorkAreaWindow, F1OnALabelOpensTheTopicOfTheArea)
{
    openDataSet();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    app::RoadLabel *label = area().roadLabel(Command::Priznani2);
    label->setFocus();
    QTest::keyClick(label, Qt::Key_F1);
    auto *help = form->findChild<app::HelpService *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(help && help->window());
    EXPECT_EQ(help->window()->currentContext(), 60);
    EXPECT_EQ(help->topics().topic(60).title, u"Přehled období"_s);
    help->quit();
}

}  // namespace
