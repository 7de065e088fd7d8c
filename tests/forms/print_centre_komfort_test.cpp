// The print centre's Komfort page, the filing file's buttons on its RUR page, and the main
// window's commands that open it.
#include "forms/print_centre_fixture.h"

using namespace print_centre;

TEST_F(PrintCentre, KomfortPagePrintsThePaymentOrderAndOffersWhatIsRegistered)
{
    setRow(*dm.Mtt, {{u"Vh"_s, 10}});
    int bankData = 0, taxPaid = 0, transferred = 0;
    services->komfort.bankData = [&](QWidget *) { ++bankData; };
    services->komfort.taxPaid = [&](QWidget *) { ++taxPaid; };
    services->komfort.transferToBank = [&](QWidget *) { ++transferred; };
    services->komfort.printouts.insert(print::kNodeEnvelopesDl,
                                       [](data::TDM1 &, int) { return std::optional<report::PreparedReport>(); });
    TEmtfForm &w = open(3);
    show();
    select(w.komfortTree(), 1);
    EXPECT_TRUE(w.node(w.komfortTree(), 5)->flags() & Qt::ItemIsEnabled);
    EXPECT_FALSE(w.node(w.komfortTree(), 6)->flags() & Qt::ItemIsEnabled);

    // Before the bank orders are registered, the command after the order is there, disabled.
    {
        services->komfort.transferToBank = nullptr;
        TEmtfForm early(*ctx, 3);
        early.komfortTree()->setCurrentItem(early.node(early.komfortTree(), 1));
        ASSERT_TRUE(early.PickReportKom(2));
        auto *menu = early.findChild<QMenu *>(u"PrenosMenu"_s);
        ASSERT_NE(menu, nullptr);
        EXPECT_FALSE(menu->actions().value(0)->isEnabled());
        menu->close();
        services->komfort.transferToBank = [&](QWidget *) { ++transferred; };
        jobs->jobs.clear();
    }

    // The amount typed in "Daň:" is rounded on its way to the printout.
    type(w.control(u"Mtt"_s, u"Cad1"_s, 0), u"1234,5"_s);
    report::PreparedReport shown;
    onPreview = [&](const print::PreviewRequest &r) { shown = *r.report; };
    button(u"KomNahledButton"_s)->click();
    EXPECT_EQ(previews, QStringList{kOrder});
    ASSERT_NE(shown.find(u"QRDBTextCad1"_s), nullptr);
    EXPECT_EQ(shown.find(u"QRDBTextCad1"_s)->text, u"1235,00"_s);
    EXPECT_DOUBLE_EQ(shown.find(u"QRDBTextCui"_s)->rect.top(), 102 + 38);  // Vh 10 mm
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 1235.0);
    // Then the order may become a bank order.
    auto *menu = w.findChild<QMenu *>(u"PrenosMenu"_s);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), u"&Přenést příkaz do elektronického styku ?"_s);
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    menu->actions()[0]->trigger();
    EXPECT_EQ(transferred, 1);
    menu->close();

    // "Bance:" and Shift+F7 in the payer's fields; Shift+F7 in "Daň:".
    QTest::mouseClick(w.label(u"LabelBai0"_s), Qt::LeftButton);
    QTest::keyClick(w.control(u"Mtt"_s, u"Kbi"_s, 0), Qt::Key_F7, Qt::ShiftModifier);
    QTest::keyClick(w.control(u"Mtt"_s, u"Cad1"_s, 0), Qt::Key_F7, Qt::ShiftModifier);
    EXPECT_EQ(bankData, 2);
    EXPECT_EQ(taxPaid, 1);
    EXPECT_EQ(w.control(u"Mtt"_s, u"D1s"_s, 0)->property("readOnly").toBool(), true);

    // An envelope printout with nothing to print goes nowhere, without a failure.
    select(w.komfortTree(), 5);
    EXPECT_EQ(w.komfortPanels()->currentWidget()->objectName(), u"Obalky"_s);
    button(u"KomTiskButton"_s)->click();
    EXPECT_TRUE(jobs->jobs.isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty());

    // "Vybrat vše" after its question; "Zrušit vše" asked and answered No.
    dm.Maz->open();
    dm.Maz->append();
    dm.Maz->field(u"Fa"_s).setValue(u"Finanční úřad"_s);
    dm.Maz->post();
    button(u"VybratVseButton"_s)->click();
    EXPECT_TRUE(dm.Maz->field(u"O"_s).asBoolean());
    prompter.answers = {platform::Prompter::Answer::No};
    button(u"ZrusitVseButton"_s)->click();
    EXPECT_TRUE(dm.Maz->field(u"O"_s).asBoolean());
    EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu vybrat vše pro tisk ?"_s, u"Opravdu zrušit výběr pro tisk ?"_s}));
}

TEST_F(PrintCentre, FilingFileButtonsWriteCheckAndKeepTheirSettings)
{
    QTemporaryDir out;
    const QString path = out.filePath(u"DPHDP3.xml"_s);
    {
        platform::IniFile settings = ini();
        ASSERT_TRUE(settings.writeString(u"XML"_s, u"Dph"_s, path));
    }
    TEmtfForm &w = open(2);
    EXPECT_EQ(w.xmlSettings().pathTemplate, path);
    // The empty return has faults: the check of the written file shows them.
    {
        WindowScript script({});
        button(u"UlozitDataButton"_s)->click();
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_EQ(script.shown, QStringList{u"TReturnCheckForm"_s});
    }
    {
        WindowScript script({});
        button(u"KontrolaButton"_s)->click();
        EXPECT_EQ(script.shown, QStringList{u"TReturnCheckForm"_s});
    }
    {
        WindowScript script({[](QDialog &d) {
            auto *edit = d.findChild<QLineEdit *>(u"DphEdit"_s);
            edit->setText(u"XML/Jiny.xml"_s);
            d.accept();
        }});
        button(u"NastaveniButton"_s)->click();
        EXPECT_EQ(script.shown, QStringList{u"TEpodForm"_s});
    }
    EXPECT_EQ(ini().readString(u"XML"_s, u"Dph"_s), u"XML/Jiny.xml"_s);
    close();
    EXPECT_EQ(ini().readString(u"XML"_s, u"Dph"_s), u"XML/Jiny.xml"_s);
}

// "&Kontrola" checks the file built in memory: the filing file on the disk stays as it was,
// and none is made where there is none.
TEST_F(PrintCentre, KontrolaChecksTheReturnWithoutWritingTheFilingFile)
{
    QTemporaryDir out;
    const QString path = out.filePath(u"DPHDP3.xml"_s);
    {
        platform::IniFile settings = ini();
        ASSERT_TRUE(settings.writeString(u"XML"_s, u"Dph"_s, path));
    }
    open(2);
    {
        WindowScript script({});
        button(u"KontrolaButton"_s)->click();
        EXPECT_EQ(script.shown, QStringList{u"TReturnCheckForm"_s});
    }
    EXPECT_FALSE(QFile::exists(path));
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("filed last month");
    }
    {
        WindowScript script({});
        button(u"KontrolaButton"_s)->click();
    }
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray("filed last month"));
    close();
}

// The main window's commands open the print centre after taking the return's tax into the
// payment order.
TEST(PrintCentreCommands, MenuItemsAndTheReturnWindowsPrintButtonOpenIt)
{
    QTemporaryDir tmp;
    const QString savedCwd = QDir::currentPath();
    const QString common = tmp.path() + u"/common"_s;
    data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
    platform::ScriptedPrompter prompter;
    const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1280, 1024)};
    {
        app::TMainForm main(env, prompter);
        EXPECT_FALSE(main.commandAction(app::Command::TiskRur)->isEnabled());
        main.catalogue()->beginNew();
        ASSERT_TRUE(main.catalogue()->finishNew(u"Firma"_s));
        main.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        main.VyberDanoveho();
        ASSERT_TRUE(main.dataSetOpen());
        rur::testing::fillValidReturn(main.dataModule());
        const double tax = main.dataModule().Dtabn3->field(u"C753"_s).asFloat();
        print::PrintServices &services = print::printServices(main, prompter);
        services.installedPrinters = [] { return QStringList{u"Kancelář"_s, u"Sklad"_s}; };
        services.defaultPrinter = [] { return u"Kancelář"_s; };

        const struct {
            app::Command command;
            int page;
        } commands[] = {{app::Command::TiskRur, TEmtfForm::PageRur}, {app::Command::TiskKomfort, TEmtfForm::PageKomfort},
                        {app::Command::Tisk, TEmtfForm::PageKomfort}};
        for (const auto &c : commands) {
            ASSERT_TRUE(main.commandAction(c.command)->isEnabled());
            main.setStatusText(1, u"Uloženo"_s);
            int page = -1;
            WindowScript script({[&](QDialog &d) {
                page = static_cast<TEmtfForm &>(d).pages()->currentIndex();
                EXPECT_EQ(main.statusText(1), QString());
                EXPECT_EQ(main.dataModule().Mtt->field(u"Cad1"_s).asFloat(), tax);
                d.reject();
            }});
            main.commandAction(c.command)->trigger();
            EXPECT_EQ(script.shown, QStringList{u"TEmtfForm"_s});
            EXPECT_EQ(page, c.page);
        }
        // Dpp1(5): the return's windows print on the "RUR" page; its preview is the program's
        // preview window, which says what its "Tisk" prints.
        WindowScript script({[&](QDialog &d) {
                                 auto &centre = static_cast<TEmtfForm &>(d);
                                 EXPECT_EQ(centre.pages()->currentIndex(), TEmtfForm::PageRur);
                                 centre.rurTree()->setCurrentItem(centre.node(centre.rurTree(), 2));
                                 centre.button(u"NahledButton"_s)->click();
                                 d.reject();
                             },
                             [&](QDialog &d) {
                                 auto &preview = static_cast<print::TPrevForm &>(d);
                                 EXPECT_EQ(preview.statusPanel()->text(), QString::fromUtf16(print::kShownPageWillPrint));
                                 EXPECT_EQ(main.statusText(0), QString::fromUtf16(print::kPreparingPreview));
                                 d.reject();
                             }});
        main.Dpp1(5);
        EXPECT_EQ(script.shown, (QStringList{u"TEmtfForm"_s, u"TPrevForm"_s}));
        EXPECT_EQ(main.statusText(0), QString());
        // "Nastavení tisku ...": the printer set-up, whose choice the data set keeps when it
        // doesn't use the default printer.
        QString offered;
        services.printerSetup = [&](QWidget *, const QString &current) {
            offered = current;
            return u"Sklad"_s;
        };
        main.commandAction(app::Command::NastaveniTisku)->trigger();
        const platform::IniFile ini(main.directories().dataSetIni());
        EXPECT_EQ(offered, u"Kancelář"_s);
        EXPECT_EQ(services.currentPrinter(u"D1"_s), u"Sklad"_s);
        EXPECT_EQ(ini.readString(u"Tisk"_s, u"Tiskarna"_s), QString());
        {
            platform::IniFile writable(ini.path());
            ASSERT_TRUE(writable.writeInteger(u"Tisk"_s, u"Vychozi"_s, 0));
        }
        services.printerSetup = [](QWidget *, const QString &) { return u"sklad on usb://Sklad"_s; };
        main.commandAction(app::Command::NastaveniTisku)->trigger();
        EXPECT_EQ(platform::IniFile(ini.path()).readString(u"Tisk"_s, u"Tiskarna"_s), u"Sklad"_s);
        // The font names chosen are the program's, written when the main window closes.
        main.userSettings().typPisma = 1;
        main.close();
    }
    EXPECT_EQ(platform::IniFile(common + u"/Tervik/RUR 2018/Dph.ini"_s).readInteger(u"Dph"_s, u"TypPisma"_s, -1), 1);
    QDir::setCurrent(savedCwd);
}
