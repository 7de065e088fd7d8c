// The windows of the return on a main window with an open data set and scripted answers:
// the fixture the tests of those windows share.
#pragma once

#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "engine/Table.h"
#include "forms/window_script.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "support/rows.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/DBEditz.h"
#include "vat/ReturnLines.h"
#include "vat/Saving.h"
#include "vat/WindowRules.h"
#include "vat/forms/EcisForm.h"
#include "vat/forms/EprpForm.h"
#include "vat/forms/FinishedForm.h"
#include "vat/forms/ReturnEntryForm.h"
#include "vat/forms/ReturnPanel.h"
#include "vat/forms/VatWindows.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <ostream>


namespace rur::testing {

using namespace Qt::StringLiterals;

// A main window with the windows of the return registered and the data set D1 open.
class VatWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        data::installDataRoot(common() + u"/Tervik/RUR 2018/"_s);
        const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, common(), tmp.path() + u"/docs"_s,
                                              QSize(1280, 1024)};
        form = std::make_unique<app::TMainForm>(env, prompter);
        vat::registerVatWindows(*form, prompter);
        form->catalogue()->beginNew();
        ASSERT_TRUE(form->catalogue()->finishNew(u"Firma"_s));
        form->selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        form->VyberDanoveho();
        ASSERT_TRUE(form->dataSetOpen());
        prompter.messages.clear();
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(savedCwd);
    }

    QString common() const { return tmp.path() + u"/common"_s; }
    data::TDM1 &dm() { return form->dataModule(); }
    vat::WindowContext ctx()
    {
        vat::WindowContext c{dm(), prompter};
        c.dataSetIni = form->directories().dataSetIni();
        c.section = form->directories().dataSetDir;
        c.screenWidth = 1280;
        return c;
    }
    static QString shown(engine::Table &t, const QString &field) { return t.field(field).displayText(); }
    // The window shown and active, so that focus and keys behave as for a user.
    template <typename W>
    std::unique_ptr<W> open()
    {
        auto w = std::make_unique<W>(ctx());
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }
    // Typed as keys; text beyond ASCII (which QTest can't type) as an edit of the user.
    static void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (ascii)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }
    // Saves the current return as the given month.
    void savePeriod(int cislo, const QString &month)
    {
        setRow(*dm().Prp, {{u"Cislo"_s, cislo}, {u"M"_s, month}});
        vat::Trs(dm(), false);
    }
    void run(app::Command command) { form->commandAction(command)->trigger(); }

    QTemporaryDir tmp;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<app::TMainForm> form;
    const QString savedCwd = QDir::currentPath();
};

class EntryWindows : public VatWindows {};
class FinishedWindows : public VatWindows {};
class TaxpayerWindow : public VatWindows {};
class RatesWindow : public VatWindows {};

}  // namespace rur::testing
