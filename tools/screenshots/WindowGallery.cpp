// The gallery of every window of the program: a demo data set in a temporary data root and
// each window built over it, as the program opens it.
#include "WindowGallery.h"

#include "DemoData.h"
#include "app/forms/Au5Form.h"
#include "app/forms/Au9Form.h"
#include "app/forms/HelpForm.h"
#include "app/forms/HelpService.h"
#include "app/forms/MainForm.h"
#include "app/forms/SplashForm.h"
#include "app/forms/WorkArea.h"
#include "backup/forms/Exd2Form.h"
#include "backup/forms/ExdForm.h"
#include "check/forms/ReturnCheckForm.h"
#include "correspondence/AddressBook.h"
#include "correspondence/Printouts.h"
#include "correspondence/forms/EazForm.h"
#include "correspondence/forms/EazoForm.h"
#include "correspondence/forms/EdpForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Au8Form.h"
#include "datasets/forms/Auto1Form.h"
#include "datasets/forms/CatalogueDialogs.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "kh/CsvImport.h"
#include "kh/RegisterPrintout.h"
#include "kh/forms/EkhForm.h"
#include "ledger/Ledger.h"
#include "ledger/forms/Ezal1sForm.h"
#include "payments/AboFile.h"
#include "payments/AboList.h"
#include "payments/PaymentData.h"
#include "payments/forms/EbanForm.h"
#include "payments/forms/EbanaForm.h"
#include "payments/forms/EbzpForm.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/PaymentOrder.h"
#include "print/PrintMessages.h"
#include "print/ReturnPages.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/EpodForm.h"
#include "print/forms/PrevForm.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "report/Render.h"
#include "report/ReportError.h"
#include "search/forms/FindForms.h"
#include "transfer/SiblingTables.h"
#include "transfer/forms/EsdForm.h"
#include "transfer/forms/EspForm.h"
#include "ui/forms/KalendarForm.h"
#include "vat/Saving.h"
#include "vat/forms/EcisForm.h"
#include "vat/forms/EprpForm.h"
#include "vat/forms/FinishedForm.h"
#include "vat/forms/ReturnEntryForm.h"
#include "vat/forms/VatWindows.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

using namespace Qt::StringLiterals;

namespace rur::screenshots {

void visitEveryWindow(const GalleryVisitor &visit)
{
    const auto take = [&visit](QWidget &window, const QString &suffix = {}) { visit.window(window, suffix); };
    const auto page = [&visit](const report::PreparedReport &report, const QString &name) {
        if (visit.page)
            visit.page(report::renderImage(report, 0, 150.0 / 96.0), name);
    };
    QTemporaryDir tmp;
    const QString common = tmp.path() + u"/common"_s;
    platform::ScriptedPrompter prompter;
    {
        data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
        const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1024, 768)};
        app::TMainForm main(env, prompter);
        vat::registerVatWindows(main, prompter);
        main.catalogue()->beginNew();
        main.catalogue()->finishNew(u"Demo stavební s.r.o."_s);
        main.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        main.VyberDanoveho();
        data::TDM1 &dm = main.dataModule();
        fillDemo(dm);
        dm.NazevDp1();
        main.resize(1024, 600);
        main.refreshWorkArea();
        take(main);
        // The working area at the smallest size, at a large one, and without a data set.
        for (const QSize size : {QSize(640, 480), QSize(1920, 1080)}) {
            main.resize(size);
            take(main, u"-%1x%2"_s.arg(size.width()).arg(size.height()));
        }
        main.resize(1024, 600);
        main.workArea()->showNoDataSet();
        take(main, u"-bez-RUR"_s);
        main.refreshWorkArea();

        {
            app::TSplashForm splash;
            take(splash);
        }
        take(*main.selectionForm());
        datasets::Catalogue &catalogue = *main.catalogue();
        {
            datasets::TAu1Form w(catalogue);
            take(w);
        }
        {
            datasets::TAu2Form w(catalogue);
            take(w);
        }
        {
            datasets::TAu3Form w(catalogue);
            take(w);
        }
        {
            datasets::TAu4Form w(catalogue);
            take(w);
        }
        {
            app::TAu5Form w(main.directories(), prompter);
            take(w);
        }
        {
            app::TAu9Form w(main.directories());
            take(w);
        }
        {
            const QString earlier = QDir::cleanPath(main.directories().localDataRoot + u"../RUR 2017/Data.DB"_s);
            datasets::TAu8Form w(main.directories(), prompter, earlier);
            take(w);
        }
        {
            app::HelpService help;
            help.showContext(12);
            if (help.window())
                take(*help.window());
        }
        {
            base::UserSettings user;
            print::XmlPathSettings xml;
            print::FilingContext filing{dm, main.directories(), user, xml, prompter};
            print::TEpodForm w(filing);
            take(w);
        }

        {
            backup::ArchiveWindowContext archive{dm, main.directories(), prompter};
            backup::TExdForm backupWindow(archive);
            take(backupWindow);
            backup::TExd1Form restoreWindow(archive);
            take(restoreWindow);
            backup::TExd2Form own(main.directories(), 1024);
            take(own);
        }
        {
            writeSiblingDemo(common + u"/Tervik/"_s);
            transfer::TransferWindowContext transfers{dm, main.directories(), prompter, 1024};
            transfer::TEsdForm journal(transfers);
            take(journal);
            transfer::TEspForm po(transfers);
            take(po);
            transfer::TEsfForm sz(transfers);
            take(sz);
        }

        vat::WindowContext ctx{dm, prompter};
        ctx.dataSetIni = main.directories().dataSetIni();
        ctx.section = main.directories().dataSetDir;
        {
            vat::TEprpForm w(ctx);
            take(w);
            for (int tab = 1; tab < w.pages()->count(); ++tab) {
                w.pages()->setCurrentIndex(tab);
                take(w, u"-page"_s + QString::number(tab + 1));
            }
        }
        {
            vat::TEcisForm w(ctx);
            take(w);
        }
        {
            ui::TKalendarForm calendar({});
            calendar.setDate(QDate(2018, 4, 25));
            take(calendar);
            search::TFind10Form find10(ctx);
            take(find10);
            search::TFind11Form find11(ctx);
            take(find11);
            search::TFind12Form find12(ctx);
            take(find12);
            search::TFind16Form find16(ctx, {});
            take(find16);
            ledger::prepareLedger(dm);
            ledger::TEzal1sForm ledgerWindow(ctx);
            take(ledgerWindow);
            dm.Dzal1->cancel();
        }
        {
            // The payer's accounts, the bank orders with their settings and the list of a file.
            const auto add = [](engine::Table &t, const QList<std::pair<QString, QVariant>> &values) {
                t.append();
                for (const auto &[name, value] : values)
                    t.field(name).setValue(value);
                t.post();
            };
            payments::openBankData(dm);
            add(*dm.Mbzp, {{u"Pc"_s, 1}, {u"Bai"_s, u"Komerční banka"_s}, {u"Cui"_s, u"19-2000145399"_s},
                           {u"Kbi"_s, u"0100"_s}, {u"Vi"_s, u"Brno"_s}});
            add(*dm.Mbzp, {{u"Pc"_s, 2}, {u"Bai"_s, u"Česká spořitelna"_s}, {u"Cui"_s, u"123-4567890"_s},
                           {u"Kbi"_s, u"0800"_s}, {u"Vi"_s, u"Brno"_s}});
            dm.Mbzp->first();
            payments::TEbzpForm bankData(ctx);
            take(bankData);
            if (!dm.Mban->isActive())
                dm.Mban->open();
            add(*dm.Mban, {{u"Cu1"_s, u"19-2000145399"_s}, {u"Kodi"_s, u"0100"_s}, {u"Cu2"_s, u"7720-77628031"_s},
                           {u"Kod"_s, u"0710"_s}, {u"Vs"_s, u"6201010101"_s}, {u"Ks"_s, u"1148"_s},
                           {u"Ca"_s, 12500.0}, {u"Ds"_s, QDate(2099, 4, 25)}});
            add(*dm.Mban, {{u"Cu1"_s, u"19-2000145399"_s}, {u"Kodi"_s, u"0100"_s}, {u"Cu2"_s, u"987654321"_s},
                           {u"Kod"_s, u"0800"_s}, {u"Vs"_s, u"55"_s}, {u"Ss"_s, u"1558"_s}, {u"Ca"_s, 500.5},
                           {u"Ds"_s, QDate(2099, 4, 30)}});
            payments::writeAboFile(dm, {QDir::tempPath() + u"/rur-screenshot.kpc"_s, QDate(2018, 4, 25),
                                        ctx.dataSetIni}, prompter);
            QFile::remove(QDir::tempPath() + u"/rur-screenshot.kpc"_s);
            dm.Mban->first();
            payments::BankWindowServices bankServices;
            bankServices.dirs = main.directories();
            payments::TEbanForm abo(ctx, bankServices);
            take(abo);
            payments::TEbanaForm aboSettings(ctx);
            take(aboSettings);
            page(payments::prepareAboList(dm, QDate(2018, 4, 25), 0), u"TRban1Report"_s);
            payments::closeBankData(dm);
        }
        for (int n = 1; n <= 4; ++n) {
            const auto w = vat::makeReturnWindow(n, ctx, nullptr);
            take(*w);
        }
        for (int n = 1; n <= 3; ++n) {
            const auto w = vat::makeFinishedWindow(n, ctx, nullptr);
            take(*w);
        }
        {
            check::TReturnCheckForm w(ctx, {});
            w.setFindings(check::KontrolaRur(dm, 0));
            take(w);
        }
        {
            // The two pages of the return at 150 dpi, and the preview showing page 1.
            const report::PreparedReport page1 = print::prepareReturnPage(dm, 1, 0);
            const report::PreparedReport page2 = print::prepareReturnPage(dm, 2, 0);
            page(page1, u"TRdhn1Report"_s);
            page(page2, u"TRdhn2Report"_s);
            print::TPrevForm w(dm, prompter);
            print::PreviewRequest request;
            request.report = &page1;
            request.statusText = QString::fromUtf16(print::kShownPageWillPrint);
            request.dataSetIni = main.directories().dataSetIni();
            // Maximized, as the program shows it.
            w.showRequest(request);
            take(w);
        }
        {
            // The payment order at 150 dpi, and the print centre on each of its pages.
            print::takeTaxIntoPaymentOrder(dm);
            page(print::preparePaymentOrder(dm, 0), u"TRbzReport"_s);
            print::PrintServices &services = print::printServices(main, prompter);
            services.installedPrinters = [] { return QStringList{u"Kancelář"_s, u"PDF"_s}; };
            services.defaultPrinter = [] { return u"Kancelář"_s; };
            print::PrintCentreContext centre{dm, prompter, services, main.directories(), main.userSettings(), ctx};
            print::TEmtfForm w(centre, 2);
            w.rurTree()->setCurrentItem(w.node(w.rurTree(), 1));
            take(w);
            w.pages()->setCurrentIndex(print::TEmtfForm::PageKomfort);
            const char16_t *panels[] = {u"-Dan", u"-Dokumenty", u"-Obalky"};
            for (int node : {1, 2, 4}) {
                w.komfortTree()->setCurrentItem(w.node(w.komfortTree(), node));
                take(w, QString::fromUtf16(panels[int(print::komfortPanelOf(node))]));
            }
            w.pages()->setCurrentIndex(print::TEmtfForm::PagePrinter);
            take(w, u"-Tiskarna"_s);
        }
        {
            // The letters and envelopes at 150 dpi, and the sender window.
            const auto letter = correspondence::prepareDocument(dm, prompter, 0, u"Průvodní dopis"_s);
            const auto attachment = correspondence::prepareDocument(dm, prompter, 0, u"Příloha 1"_s);
            const auto dl = correspondence::prepareEnvelopes(dm, prompter, correspondence::Envelope::DL, 0);
            const auto c5 = correspondence::prepareEnvelopes(dm, prompter, correspondence::Envelope::C5, 0);
            if (letter && attachment && dl && c5) {
                page(*letter, u"TRdpx2Report"_s);
                page(*attachment, u"TRdpx1Report"_s);
                page(*dl, u"TRcdlReport"_s);
                page(*c5, u"TRc5Report"_s);
            }
            correspondence::openSender(dm);
            correspondence::TEazoForm sender(ctx);
            take(sender);
            dm.Mtt->cancel();
            dm.Maz->open();
            dm.Maz->first();
            {
                correspondence::TEazForm addresses(ctx, true);
                take(addresses);
            }
            dm.Maz->close();
            dm.Mdp->first();
            correspondence::TEdpForm documents(ctx, correspondence::TEdpForm::Mode::Edit);
            take(documents);
        }
        {
            // The control statement's register of a few documents, and its list.
            kh::importRegisterText(dm,
                "oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek\n"
                "A4;27082440;;;FV-2018-0101;5.3.2018;100000;21000;;;;;;;;;\n"
                "A4;27082440;;;FV-2018-0102;9.3.2018;8264,46;1735,54;;;;;;;;;\n"
                "A4;;;;FV-2018-0103;12.3.2018;;;2000;300;;;;;;;\n"
                "A1;25596641;;;FV-2018-0104;14.3.2018;50000;;;;;;4;;;;\n"
                "A2;;DE;123456789;R-4711;6.3.2018;20000;4200;;;;;;;;;3\n"
                "B2;25596641;;;DF-887;13.3.2018;30000;6300;;;;;;;;N;\n"
                "B3;;;;Paragon 17;20.3.2018;2000;420;;;;;;;;;\n",
                true);
            dm.Dkh->first();
            {
                kh::TEkhForm statement(ctx, {});
                take(statement);
            }
            page(kh::prepareRegisterList(dm, u'B', 0), u"TRkhReport"_s);
            dm.Dkh->close();
        }
        main.close();
    }
}

}  // namespace rur::screenshots
