// The main window's "&Komfort" items of the correspondence: each opens its window, and the
// address book's and the documents' "&Tisk" go on to the print centre's Komfort page, on the
// envelopes and on the documents' printout.
#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "correspondence/forms/EazForm.h"
#include "correspondence/forms/EazoForm.h"
#include "correspondence/forms/EdpForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "engine/Table.h"
#include "forms/window_script.h"
#include "platform/Prompter.h"
#include "print/forms/EmtfForm.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::WindowScript;

TEST(CorrespondenceMenu, KomfortItemsOpenTheirWindowsAndPrintGoesToTheKomfortPage)
{
    QTemporaryDir tmp;
    const QString savedCwd = QDir::currentPath();
    const QString common = tmp.path() + u"/common"_s;
    data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
    platform::ScriptedPrompter prompter;
    const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1280, 1024)};
    {
        app::TMainForm main(env, prompter);
        main.catalogue()->beginNew();
        ASSERT_TRUE(main.catalogue()->finishNew(u"Firma"_s));
        main.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        main.VyberDanoveho();
        ASSERT_TRUE(main.dataSetOpen());
        data::TDM1 &dm = main.dataModule();
        dm.Mdp->append();
        dm.Mdp->field(u"Nazev"_s).setValue(u"Průvodní dopis"_s);
        dm.Mdp->post();
        for (app::Command c : {app::Command::Adresar, app::Command::Odesilatel, app::Command::Dokumenty})
            EXPECT_TRUE(main.commandAction(c)->isEnabled());

        // The page, the printout chosen on it, and whether it can be previewed at once.
        QStringList pages;
        const auto centre = [&](QDialog &d) {
            auto &w = dynamic_cast<print::TEmtfForm &>(d);
            const QTreeWidgetItem *printout = w.komfortTree()->currentItem();
            pages.append(w.pages()->tabText(w.pages()->currentIndex()) + u" / "_s
                         + (printout ? printout->text(0) : u"-"_s)
                         + (w.button(u"KomNahledButton"_s)->isEnabled() ? u""_s : u" (nelze)"_s));
            w.reject();
        };
        WindowScript script({[](QDialog &d) {
                                 auto &book = dynamic_cast<correspondence::TEazForm &>(d);
                                 EXPECT_TRUE(book.printButton()->isVisible());
                                 book.printButton()->click();
                             },
                             centre,
                             [](QDialog &d) { EXPECT_NE(dynamic_cast<correspondence::TEazoForm *>(&d), nullptr); d.reject(); },
                             [](QDialog &d) {
                                 auto &documents = dynamic_cast<correspondence::TEdpForm &>(d);
                                 documents.printButton()->click();
                             },
                             centre});
        main.commandAction(app::Command::Adresar)->trigger();
        main.commandAction(app::Command::Odesilatel)->trigger();
        main.commandAction(app::Command::Dokumenty)->trigger();
        EXPECT_EQ(script.shown, (QStringList{u"TEazForm"_s, u"TEmtfForm"_s, u"TEazoForm"_s, u"TEdpForm"_s, u"TEmtfForm"_s}));
        EXPECT_EQ(pages, (QStringList{u"Komfort / Obálky DL"_s, u"Komfort / Tisk dokumentů - dopisů"_s}));
        EXPECT_EQ(dm.Mtt->field(u"Nazev"_s).asString(), u"Průvodní dopis"_s);
        main.close();
    }
    QDir::setCurrent(savedCwd);
}
