// "Kontrolní hlášení": the register window with its keys, search, import and transfer, the
// main menu's item, and the print centre's page that writes and checks the file and prints
// the register's list.
#include "check/forms/ReturnCheckForm.h"
#include "forms/print_centre_fixture.h"
#include "kh/StatementFile.h"
#include "kh/forms/EkhForm.h"
#include "kh/forms/FindKhForm.h"
#include "kh/forms/KhPrintPage.h"
#include "support/statement_register.h"
#include "ui/forms/DBGrid.h"
#include "ui/forms/Editz.h"

#include <QButtonGroup>

using namespace print_centre;

namespace {

class StatementWindows : public PrintCentre {
protected:
    void SetUp() override
    {
        PrintCentre::SetUp();
        rur::testing::fillValidReturn(dm);
        rur::testing::fillStatementRegister(dm);
        dm.Dkh->close();
    }
    vat::WindowContext windowContext()
    {
        vat::WindowContext c{dm, prompter};
        c.dataSetIni = dirs.dataSetIni();
        c.section = dirs.dataSetDir;
        c.screenWidth = 1280;
        return c;
    }
    // What the grid shows in the column of a title for the row of a document number.
    static QString gridText(ui::TDBGrid *grid, const QString &doklad, const QString &title)
    {
        const ui::TableModel *model = grid->tableModel();
        int column = -1, numbers = -1;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QString heading = model->headerData(c, Qt::Horizontal).toString();
            if (heading == title)
                column = c;
            if (heading == u"Doklad"_s)
                numbers = c;
        }
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, numbers).data().toString() == doklad)
                return model->index(r, column).data().toString();
        return u"(není)"_s;
    }
};

}  // namespace

TEST_F(StatementWindows, TheRegisterIsTypedSearchedImportedAndTransferred)
{
    const QString csv = root.path() + u"doklady.csv"_s;
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek\n"
               "B3;;;;Paragon 1;2.3.2018;100;21;;;;;;;;;\n");
    file.close();
    kh::StatementWindowServices windowServices;
    QStringList folders;
    windowServices.chooseCsv = [&](QWidget *, const QString &folder) {
        folders.append(folder);
        return csv;
    };
    WindowScript script(
        {[&](QDialog &d) {
             auto &w = dynamic_cast<kh::TEkhForm &>(d);
             EXPECT_EQ(w.windowTitle(), u"Kontrolní hlášení - březen"_s);
             // Where each row goes, beside where it was entered.
             EXPECT_EQ(gridText(w.grid(), u"FV-100"_s, u"Uvede se v"_s), u"A4"_s);
             EXPECT_EQ(gridText(w.grid(), u"FV-101"_s, u"Uvede se v"_s), u"A5"_s);
             EXPECT_EQ(gridText(w.grid(), u"DF-201"_s, u"Uvede se v"_s), u"B3"_s);
             // A new row from the keyboard: Insert takes the focus to the section.
             QTest::keyClick(w.grid(), Qt::Key_Insert);
             EXPECT_EQ(QApplication::focusWidget(), w.edit(u"Oddil"_s));
             QTest::keyClicks(w.edit(u"Oddil"_s), u"b2"_s);
             QTest::keyClicks(w.edit(u"Dic"_s), u"CZ45274649"_s);
             QTest::keyClicks(w.edit(u"Doklad"_s), u"DF-300"_s);
             QTest::keyClicks(w.edit(u"Datum"_s), u"14.3.2018"_s);
             QTest::keyClicks(w.edit(u"Zaklad1"_s), u"20 000"_s);
             QTest::keyClicks(w.edit(u"Dan1"_s), u"4200"_s);
             QTest::keyClick(w.edit(u"Dan1"_s), Qt::Key_F9);
             EXPECT_EQ(dm.Dkh->state(), engine::Table::State::Browse);
             EXPECT_EQ(gridText(w.grid(), u"DF-300"_s, u"DIČ"_s), u"45274649"_s);
             EXPECT_EQ(gridText(w.grid(), u"DF-300"_s, u"Uvede se v"_s), u"B2"_s);
             // A section the form lacks is refused where it is typed.
             QTest::keyClick(w.grid(), Qt::Key_F4);
             w.edit(u"Oddil"_s)->setFocus();
             w.edit(u"Oddil"_s)->selectAll();
             QTest::keyClicks(w.edit(u"Oddil"_s), u"C1"_s);
             QTest::keyClick(w.edit(u"Oddil"_s), Qt::Key_F9);
             EXPECT_EQ(prompter.errors().value(0),
                       u"Oddíl musí být A1, A2, A3, A4, A5, B1, B2 nebo B3, ne „C1“."_s);
             QTest::keyClick(w.edit(u"Oddil"_s), Qt::Key_Escape);
             EXPECT_EQ(dm.Dkh->state(), engine::Table::State::Browse);
             // F3 searches (the next step), then the file and the transfer.
             QTest::keyClick(w.grid(), Qt::Key_F3);
             EXPECT_EQ(dm.Dkh->field(u"Doklad"_s).asString(), u"DF-200"_s);
             w.button(u"NacistButton"_s)->click();
             EXPECT_EQ(gridText(w.grid(), u"Paragon 1"_s, u"Uvede se v"_s), u"B3"_s);
             w.button(u"PrenestButton"_s)->click();
             w.reject();
         },
         [&](QDialog &d) {
             auto &find = dynamic_cast<kh::TFindKhForm &>(d);
             EXPECT_EQ(find.windowTitle(), u"Vyhledávání"_s);
             QTest::keyClicks(find.edit(), u"DF-20"_s);
             find.accept();
         }});
    kh::openStatement(nullptr, windowContext(), windowServices);
    EXPECT_EQ(script.shown, (QStringList{u"TEkhForm"_s, u"TFindKhForm"_s}));
    EXPECT_EQ(folders, QStringList{dm.Danove.directory()});
    EXPECT_TRUE(prompter.texts().contains(u"Počet dokladů načtených do rejstříku: 1."_s));
    EXPECT_TRUE(prompter.texts().contains(QString::fromUtf16(u"Přepsat údaje přiznání údaji kontrolního hlášení ?")));
    // The register closed again, with the typed and the imported rows; the return took its sums.
    EXPECT_FALSE(dm.Dkh->isActive());
    EXPECT_FALSE(dm.statusDisplayOn);
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 15);
    EXPECT_DOUBLE_EQ(dm.Dtabn2->field(u"C310"_s).asFloat(), 52100.0);  // 32 000 + DF-300 + Paragon 1
    EXPECT_TRUE(ini().hasKey(dirs.dataSetDir, u"KontrolniHlaseniTop"_s));
}

TEST_F(StatementWindows, ThePrintCentrePageWritesChecksAndPrints)
{
    dirs.commonDataFolder = root.path() + u"common/"_s;
    services->pages.append({u"Kontrolní hlášení"_s, [](print::PrintCentreContext &c, TEmtfForm &centre) {
                                return new kh::KhPrintPage(c, centre);
                            }});
    TEmtfForm &w = open(1);
    ASSERT_EQ(w.pages()->count(), 4);
    EXPECT_EQ(w.pages()->tabText(3), u"Kontrolní hlášení"_s);
    auto *page = qobject_cast<kh::KhPrintPage *>(w.pages()->widget(3));
    ASSERT_NE(page, nullptr);
    w.pages()->setCurrentIndex(3);
    show();
    // Regular by default; the date only for a subsequent one, kept as soon as it is set.
    EXPECT_EQ(page->formGroup()->checkedId(), 0);
    EXPECT_FALSE(page->foundEdit()->isEnabled());
    page->formGroup()->button(2)->click();
    EXPECT_TRUE(page->foundEdit()->isEnabled());
    type(page->foundEdit(), u"2.5.2018"_s);
    QTest::keyClick(page->foundEdit(), Qt::Key_Tab);
    EXPECT_EQ(ini().readString(u"KH"_s, u"Forma"_s), u"N"_s);
    EXPECT_EQ(ini().readString(u"KH"_s, u"Zjisteno"_s), u"02.05.2018"_s);
    const QString target = page->pathLabel()->text().mid(8);  // after "Soubor: "
    EXPECT_TRUE(target.endsWith(u"/XML/DPHKH - D1.xml"_s)) << target.toStdString();

    // "&Uložit data": the file, then what the check finds (the return does not match yet).
    QStringList findings;
    WindowScript script({[&](QDialog &d) {
        auto &check = dynamic_cast<check::TReturnCheckForm &>(d);
        EXPECT_EQ(check.windowTitle(), u"Kontrola kontrolního hlášení"_s);
        for (const check::Finding &f : check.findings())
            findings.append(f.where);
        d.reject();
    }});
    w.button(u"KhUlozitButton"_s)->click();
    EXPECT_EQ(script.shown, QStringList{u"TReturnCheckForm"_s});
    EXPECT_TRUE(findings.contains(u"ř. 1"_s)) << findings.join(u", "_s).toStdString();
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("khdph_forma=\"N\" d_zjist=\"02.05.2018\""));

    // "&Náhled" of the register's list, through the preview of the print centre.
    w.button(u"KhNahledButton"_s)->click();
    EXPECT_EQ(previews, QStringList{u"Kontrolní hlášení - rejstřík dokladů"_s});
    close();
}

TEST(StatementMenu, TheItemOfTheReturnMenuOpensTheRegisterAndThePrintCentreHasItsPage)
{
    QTemporaryDir tmp;
    const QString savedCwd = QDir::currentPath();
    const QString common = tmp.path() + u"/common"_s;
    data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
    platform::ScriptedPrompter prompter;
    const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1280, 1024)};
    {
        app::TMainForm main(env, prompter);
        QAction *item = main.commandAction(app::Command::KontrolniHlaseni);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), u"&Kontrolní hlášení"_s);
        EXPECT_TRUE(main.menuNamed(u"Přiznání k &RUR"_s)->actions().contains(item));
        EXPECT_FALSE(item->isEnabled());  // no data set yet
        main.catalogue()->beginNew();
        ASSERT_TRUE(main.catalogue()->finishNew(u"Firma"_s));
        main.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        main.VyberDanoveho();
        ASSERT_TRUE(main.dataSetOpen());
        EXPECT_TRUE(item->isEnabled());

        QStringList tabs;
        WindowScript script({[](QDialog &d) { d.reject(); },
                             [&](QDialog &d) {
                                 auto &centre = dynamic_cast<TEmtfForm &>(d);
                                 for (int i = 0; i < centre.pages()->count(); ++i)
                                     tabs.append(centre.pages()->tabText(i));
                                 d.reject();
                             }});
        item->trigger();
        main.commandAction(app::Command::Tisk)->trigger();
        EXPECT_EQ(script.shown, (QStringList{u"TEkhForm"_s, u"TEmtfForm"_s}));
        EXPECT_EQ(tabs, (QStringList{u"RUR"_s, u"Komfort"_s, u"Tiskárna"_s, u"Kontrolní hlášení"_s}));
        main.close();
    }
    QDir::setCurrent(savedCwd);
}
