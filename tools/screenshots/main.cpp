// rur_screenshots: renders every window of the program over a demo data set into PNG files,
// one per window class (TEtab1Form.png, ...), so that all of them can be looked at without
// clicking through the program. Usage: rur_screenshots [OUTPUT-FOLDER]
#include "DemoData.h"
#include "app/forms/Au5Form.h"
#include "app/forms/Au9Form.h"
#include "app/forms/HelpForm.h"
#include "app/forms/HelpService.h"
#include "app/forms/MainForm.h"
#include "app/forms/SplashForm.h"
#include "app/forms/WorkArea.h"
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
#include "search/forms/FindForms.h"
#include "ui/forms/KalendarForm.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/PrintMessages.h"
#include "print/PaymentOrder.h"
#include "print/ReturnPages.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/EpodForm.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "print/forms/PrevForm.h"
#include "report/Render.h"
#include "report/ReportError.h"
#include "backup/forms/Exd2Form.h"
#include "backup/forms/ExdForm.h"
#include "engine/TableFile.h"
#include "transfer/SiblingTables.h"
#include "transfer/forms/EsdForm.h"
#include "transfer/forms/EspForm.h"
#include "vat/Saving.h"
#include "vat/forms/EcisForm.h"
#include "vat/forms/EprpForm.h"
#include "vat/forms/FinishedForm.h"
#include "vat/forms/ReturnEntryForm.h"
#include "vat/forms/VatWindows.h"

#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTreeWidget>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

// The window as painted, under a strip with its caption (offscreen windows have no frame).
QImage withTitle(QWidget &window)
{
    const QPixmap body = window.grab();
    const int strip = window.fontMetrics().height() + 10;
    QImage image(body.width(), body.height() + strip, QImage::Format_RGB32);
    image.fill(QColor(0x3c, 0x5a, 0x82));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(window.font());
    painter.drawText(QRect(8, 0, body.width() - 16, strip), Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
    painter.drawPixmap(0, strip, body);
    return image;
}

class Shots {
public:
    explicit Shots(QString folder) : folder_(std::move(folder)) {}

    // Shows the window offscreen, paints it and saves it under its class name (and the
    // suffix, for further pages of one window).
    void take(QWidget &window, const QString &suffix = {})
    {
        window.show();
        QTest::qWait(50);
        QString name = QString::fromLatin1(window.metaObject()->className());
        name = name.mid(name.lastIndexOf(u':') + 1);
        const QString path = folder_ + u'/' + name + suffix + u".png"_s;
        if (!withTitle(window).save(path)) {
            std::fprintf(stderr, "Nelze zapsat %s\n", qPrintable(path));
            failed_ = true;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
        window.hide();
    }
    // A printout's page as the printer gets it, under the report's class name.
    void page(const QImage &image, const QString &name)
    {
        const QString path = folder_ + u'/' + name + u".png"_s;
        if (!image.save(path)) {
            std::fprintf(stderr, "Nelze zapsat %s\n", qPrintable(path));
            failed_ = true;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    bool failed() const { return failed_; }

private:
    QString folder_;
    bool failed_ = false;
};

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Absolute: opening a data set changes the current directory.
    const QString folder = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"screenshots"_s).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "Nelze vytvořit složku %s\n", qPrintable(folder));
        return 1;
    }

    QTemporaryDir tmp;
    const QString common = tmp.path() + u"/common"_s;
    platform::ScriptedPrompter prompter;
    Shots shots(folder);
    try {
        data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
        const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1024, 768)};
        app::TMainForm main(env, prompter);
        vat::registerVatWindows(main, prompter);
        main.catalogue()->beginNew();
        main.catalogue()->finishNew(u"Demo stavební s.r.o."_s);
        main.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        main.VyberDanoveho();
        data::TDM1 &dm = main.dataModule();
        screenshots::fillDemo(dm);
        dm.NazevDp1();
        main.resize(1024, 600);
        main.refreshWorkArea();
        shots.take(main);
        // The working area at the smallest size, at a large one, and without a data set.
        for (const QSize size : {QSize(640, 480), QSize(1920, 1080)}) {
            main.resize(size);
            shots.take(main, u"-%1x%2"_s.arg(size.width()).arg(size.height()));
        }
        main.resize(1024, 600);
        main.workArea()->showNoDataSet();
        shots.take(main, u"-bez-RUR"_s);
        main.refreshWorkArea();

        {
            app::TSplashForm splash;
            shots.take(splash);
        }
        shots.take(*main.selectionForm());
        datasets::Catalogue &catalogue = *main.catalogue();
        {
            datasets::TAu1Form w(catalogue);
            shots.take(w);
        }
        {
            datasets::TAu2Form w(catalogue);
            shots.take(w);
        }
        {
            datasets::TAu3Form w(catalogue);
            shots.take(w);
        }
        {
            datasets::TAu4Form w(catalogue);
            shots.take(w);
        }
        {
            app::TAu5Form w(main.directories(), prompter);
            shots.take(w);
        }
        {
            app::TAu9Form w(main.directories());
            shots.take(w);
        }
        {
            const QString earlier = QDir::cleanPath(main.directories().localDataRoot + u"../RUR 2017/Data.DB"_s);
            datasets::TAu8Form w(main.directories(), prompter, earlier);
            shots.take(w);
        }
        {
            app::HelpService help;
            help.showContext(12);
            if (help.window())
                shots.take(*help.window());
        }
        {
            app::UserSettings user;
            print::XmlPathSettings xml;
            print::FilingContext filing{dm, main.directories(), user, xml, prompter};
            print::TEpodForm w(filing);
            shots.take(w);
        }

        {
            backup::ArchiveWindowContext archive{dm, main.directories(), prompter};
            backup::TExdForm backupWindow(archive);
            shots.take(backupWindow);
            backup::TExd1Form restoreWindow(archive);
            shots.take(restoreWindow);
            backup::TExd2Form own(main.directories(), 1024);
            shots.take(own);
        }
        {
            screenshots::writeSiblingDemo(common + u"/Tervik/"_s);
            transfer::TransferWindowContext transfers{dm, main.directories(), prompter, 1024};
            transfer::TEsdForm journal(transfers);
            shots.take(journal);
            transfer::TEspForm po(transfers);
            shots.take(po);
            transfer::TEsfForm sz(transfers);
            shots.take(sz);
        }

        vat::WindowContext ctx{dm, prompter};
        ctx.dataSetIni = main.directories().dataSetIni();
        ctx.section = main.directories().dataSetDir;
        {
            vat::TEprpForm w(ctx);
            shots.take(w);
            for (int page = 1; page < w.pages()->count(); ++page) {
                w.pages()->setCurrentIndex(page);
                shots.take(w, u"-page"_s + QString::number(page + 1));
            }
        }
        {
            vat::TEcisForm w(ctx);
            shots.take(w);
        }
        {
            ui::TKalendarForm calendar({});
            calendar.setDate(QDate(2018, 4, 25));
            shots.take(calendar);
            search::TFind10Form find10(ctx);
            shots.take(find10);
            search::TFind11Form find11(ctx);
            shots.take(find11);
            search::TFind12Form find12(ctx);
            shots.take(find12);
            search::TFind16Form find16(ctx, {});
            shots.take(find16);
            ledger::prepareLedger(dm);
            ledger::TEzal1sForm ledgerWindow(ctx);
            shots.take(ledgerWindow);
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
            shots.take(bankData);
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
            shots.take(abo);
            payments::TEbanaForm aboSettings(ctx);
            shots.take(aboSettings);
            shots.page(report::renderImage(payments::prepareAboList(dm, QDate(2018, 4, 25), 0), 0, 150.0 / 96.0),
                       u"TRban1Report"_s);
            payments::closeBankData(dm);
        }
        for (int n = 1; n <= 4; ++n) {
            const auto w = vat::makeReturnWindow(n, ctx, nullptr);
            shots.take(*w);
        }
        for (int n = 1; n <= 3; ++n) {
            const auto w = vat::makeFinishedWindow(n, ctx, nullptr);
            shots.take(*w);
        }
        {
            check::TReturnCheckForm w(ctx, {});
            w.setFindings(check::KontrolaRur(dm, 0));
            shots.take(w);
        }
        {
            // The two pages of the return at 150 dpi, and the preview showing page 1.
            const report::PreparedReport page1 = print::prepareReturnPage(dm, 1, 0);
            const report::PreparedReport page2 = print::prepareReturnPage(dm, 2, 0);
            shots.page(report::renderImage(page1, 0, 150.0 / 96.0), u"TRdhn1Report"_s);
            shots.page(report::renderImage(page2, 0, 150.0 / 96.0), u"TRdhn2Report"_s);
            print::TPrevForm w(dm, prompter);
            print::PreviewRequest request;
            request.report = &page1;
            request.statusText = QString::fromUtf16(print::kShownPageWillPrint);
            request.dataSetIni = main.directories().dataSetIni();
            w.showRequest(request);
            w.resize(1024, 700);
            shots.take(w);
        }
        {
            // The payment order at 150 dpi, and the print centre on each of its pages.
            print::takeTaxIntoPaymentOrder(dm);
            shots.page(report::renderImage(print::preparePaymentOrder(dm, 0), 0, 150.0 / 96.0), u"TRbzReport"_s);
            print::PrintServices &services = print::printServices(main, prompter);
            services.installedPrinters = [] { return QStringList{u"Kancelář"_s, u"PDF"_s}; };
            services.defaultPrinter = [] { return u"Kancelář"_s; };
            print::PrintCentreContext centre{dm, prompter, services, main.directories(), main.userSettings(), ctx};
            print::TEmtfForm w(centre, 2);
            w.rurTree()->setCurrentItem(w.node(w.rurTree(), 1));
            shots.take(w);
            w.pages()->setCurrentIndex(print::TEmtfForm::PageKomfort);
            const char16_t *panels[] = {u"-Dan", u"-Dokumenty", u"-Obalky"};
            for (int node : {1, 2, 4}) {
                w.komfortTree()->setCurrentItem(w.node(w.komfortTree(), node));
                shots.take(w, QString::fromUtf16(panels[int(print::komfortPanelOf(node))]));
            }
            w.pages()->setCurrentIndex(print::TEmtfForm::PagePrinter);
            shots.take(w, u"-Tiskarna"_s);
        }
        {
            // The letters and envelopes at 150 dpi, and the sender window.
            const auto letter = correspondence::prepareDocument(dm, prompter, 0, u"Průvodní dopis"_s);
            const auto attachment = correspondence::prepareDocument(dm, prompter, 0, u"Příloha 1"_s);
            const auto dl = correspondence::prepareEnvelopes(dm, prompter, correspondence::Envelope::DL, 0);
            const auto c5 = correspondence::prepareEnvelopes(dm, prompter, correspondence::Envelope::C5, 0);
            if (letter && attachment && dl && c5) {
                shots.page(report::renderImage(*letter, 0, 150.0 / 96.0), u"TRdpx2Report"_s);
                shots.page(report::renderImage(*attachment, 0, 150.0 / 96.0), u"TRdpx1Report"_s);
                shots.page(report::renderImage(*dl, 0, 150.0 / 96.0), u"TRcdlReport"_s);
                shots.page(report::renderImage(*c5, 0, 150.0 / 96.0), u"TRc5Report"_s);
            }
            correspondence::openSender(dm);
            correspondence::TEazoForm sender(ctx);
            shots.take(sender);
            dm.Mtt->cancel();
            dm.Maz->open();
            dm.Maz->first();
            {
                correspondence::TEazForm addresses(ctx, true);
                shots.take(addresses);
            }
            dm.Maz->close();
            dm.Mdp->first();
            correspondence::TEdpForm documents(ctx, correspondence::TEdpForm::Mode::Edit);
            shots.take(documents);
        }
        {
            // The control statement's register of a few documents, and its list.
            const kh::CsvRows rows = kh::parseRegisterCsv(
                "oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek\n"
                "A4;27082440;;;FV-2018-0101;5.3.2018;100000;21000;;;;;;;;;\n"
                "A4;27082440;;;FV-2018-0102;9.3.2018;8264,46;1735,54;;;;;;;;;\n"
                "A4;;;;FV-2018-0103;12.3.2018;;;2000;300;;;;;;;\n"
                "A1;25596641;;;FV-2018-0104;14.3.2018;50000;;;;;;4;;;;\n"
                "A2;;DE;123456789;R-4711;6.3.2018;20000;4200;;;;;;;;;3\n"
                "B2;25596641;;;DF-887;13.3.2018;30000;6300;;;;;;;;N;\n"
                "B3;;;;Paragon 17;20.3.2018;2000;420;;;;;;;;;\n");
            kh::storeRegisterRows(dm, rows.rows, true);
            dm.Dkh->first();
            {
                kh::TEkhForm statement(ctx, {});
                shots.take(statement);
            }
            shots.page(report::renderImage(kh::prepareRegisterList(dm, u'B', 0), 0, 150.0 / 96.0), u"TRkhReport"_s);
            dm.Dkh->close();
        }
        main.close();
    } catch (const engine::EngineError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const report::ReportError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return shots.failed() ? 1 : 0;
}
