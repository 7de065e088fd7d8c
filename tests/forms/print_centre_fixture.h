// The print centre tests' fixture: a data set with its print services, whose print jobs go
// into a counting sink (and into real PDF files through QPrinter when a folder is given).
#pragma once

#include "app/Startup.h"
#include "app/forms/MainForm.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "datasets/forms/Auto1Form.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "forms/window_script.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/PrintMessages.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/PrevForm.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "report/Printing.h"
#include "report/Render.h"
#include "support/filled_return.h"
#include "support/pdf_text.h"
#include "support/test_root.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/WindowPlacer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace print_centre {

using namespace Qt::StringLiterals;
using namespace rur;
using print::TEmtfForm;
using rur::testing::setRow;
using rur::testing::WindowScript;


// Where the print centre's jobs go: counted, and written into PDF files through QPrinter
// when a folder is given, as a printer driver would get them.
class JobSink : public report::PrintTarget {
public:
    struct Job {
        QString caption;
        QString printer;
        int copies;
        QString font;  // of the first text item
        QString pdf;
    };
    bool print(const report::PreparedReport &report, const report::PrintJob &job) override
    {
        Job j{report.caption, job.printerName, job.copies, {}, {}};
        for (const report::PlacedItem &item : report.pages.value(0).items)
            if (item.kind == report::PlacedItem::Kind::Text && !item.text.isEmpty()) {
                j.font = item.font.family;
                break;
            }
        if (!pdfFolder.isEmpty()) {
            j.pdf = pdfFolder + u"/job"_s + QString::number(jobs.size() + 1) + u".pdf"_s;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(j.pdf);
            printer.setFullPage(true);
            printer.setCopyCount(job.copies);
            printer.setDocName(report.caption);
            if (!report::renderPages(report, printer))
                return false;
        }
        jobs.append(j);
        return ok;
    }
    QStringList captions() const
    {
        QStringList out;
        for (const Job &j : jobs)
            out.append(j.caption + u" ×"_s + QString::number(j.copies));
        return out;
    }
    QList<Job> jobs;
    bool ok = true;
    QString pdfFolder;
};

class PrintCentre : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        services = std::make_unique<print::PrintServices>(dm, prompter, nullptr);
        services->installedPrinters = [this] { return printers; };
        services->defaultPrinter = [this] { return defaultPrinter; };
        services->showPreview = [this](const print::PreviewRequest &r) {
            previews.append(r.report->caption);
            statusTexts.append(r.statusText);
            if (onPreview)
                onPreview(r);
        };
        auto sink = std::make_unique<JobSink>();
        jobs = sink.get();
        services->setPrintTarget(std::move(sink));
    }
    void TearDown() override
    {
        form.reset();
        services.reset();
        dm.closeAll();
        QDir::setCurrent(savedCwd);
    }

    TEmtfForm &open(int mode)
    {
        form.reset();
        ctx = std::make_unique<print::PrintCentreContext>(
            print::PrintCentreContext{dm, prompter, *services, dirs, user, vat::WindowContext{dm, prompter}});
        ctx->windows.dataSetIni = dirs.dataSetIni();
        ctx->windows.section = dirs.dataSetDir;
        form = std::make_unique<TEmtfForm>(*ctx, mode);
        return *form;
    }
    // Shown and active, so that its keys work.
    void show()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void close()
    {
        form->reject();
        form.reset();
    }
    void select(QTreeWidget *tree, int node) { tree->setCurrentItem(form->node(tree, node)); }
    QPushButton *button(const QString &name) const { return form->button(name); }
    platform::IniFile ini() const { return platform::IniFile(dirs.dataSetIni()); }
    void type(QWidget *control, const QString &text)
    {
        auto *edit = qobject_cast<QLineEdit *>(control);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    rur::testing::TestRoot root;
    const QString savedCwd = QDir::currentPath();
    base::Directories dirs;
    base::UserSettings user;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<print::PrintServices> services;
    std::unique_ptr<print::PrintCentreContext> ctx;
    std::unique_ptr<TEmtfForm> form;
    JobSink *jobs = nullptr;
    QStringList printers = {u"Kancelář"_s, u"Sklad"_s};
    QString defaultPrinter = u"Kancelář"_s;
    QStringList previews, statusTexts;
    std::function<void(const print::PreviewRequest &)> onPreview;
};

inline const QString kPage1 = u"RUR strana 1"_s, kPage2 = u"RUR strana 2"_s, kOrder = u"Příkaz k úhradě - Daň (doplatek)"_s;

}  // namespace print_centre
