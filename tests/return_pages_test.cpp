// The two pages of the return: the layouts hold every item of the official form, page 1
// fills its rows of one-character boxes from the taxpayer row, page 2 prints every amount
// in its column, and rur-cli writes them as PDF files with their texts where the form has them.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "print/ReturnPages.h"
#include "report/LayoutLoader.h"
#include "report/ReportError.h"
#include "support/gui_app.h"
#include "support/pdf_text.h"
#include "support/rows.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::setRow;
using rur::testing::cli;
using rur::testing::CliResult;

namespace {

class ReturnPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        rur::testing::ensureGuiApplication();
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
    }

    // Texts of the labels prefix1 ... prefixN of a laid-out page.
    static QStringList boxes(const report::PreparedReport &page, const QString &prefix, int n)
    {
        QStringList out;
        for (int i = 1; i <= n; ++i) {
            const report::PlacedItem *item = page.find(prefix + QString::number(i));
            out.append(item ? item->text : u"<chybí>"_s);
        }
        return out;
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
};


const rur::testing::PdfWord *wordAt(const QList<rur::testing::PdfWord> &words, const QString &text, double x, double y)
{
    for (const rur::testing::PdfWord &w : words)
        if (w.text == text && qAbs(w.box.left() - x) < 1.0 && qAbs(w.box.top() - y) < 3.0)
            return &w;
    return nullptr;
}

}  // namespace

TEST_F(ReturnPages, LayoutsHoldEveryItemOfTheOfficialForm)
{
    const auto count = [](const report::ReportLayout &l, report::ItemKind kind, bool rectanglesOnly = false) {
        int n = 0;
        for (const report::ReportBand &b : l.bands)
            for (const report::ReportItem &i : b.items)
                if (i.kind == kind && (!rectanglesOnly || i.shape == report::ShapeKind::Rectangle))
                    ++n;
        return n;
    };
    const report::ReportLayout page1 = report::loadLayout(print::returnPageLayoutPath(1));
    EXPECT_EQ(page1.className, u"TRdhn1Report"_s);
    EXPECT_EQ(page1.caption, u"RUR strana 1"_s);
    EXPECT_EQ(count(page1, report::ItemKind::Label), 438);
    EXPECT_EQ(count(page1, report::ItemKind::Shape, true), 406);
    EXPECT_EQ(count(page1, report::ItemKind::DataText), 20);
    const report::ReportLayout page2 = report::loadLayout(print::returnPageLayoutPath(2));
    EXPECT_EQ(page2.caption, u"RUR strana 2"_s);
    EXPECT_EQ(count(page2, report::ItemKind::Shape, true), 80);
    EXPECT_EQ(count(page2, report::ItemKind::DataText), 74);
    for (const report::ReportLayout *l : {&page1, &page2}) {
        EXPECT_EQ(l->bands[0].kind, report::BandKind::PageHeader);
        EXPECT_EQ(l->bands[0].height, 20);
        EXPECT_EQ(l->bands[1].height, 1018);
        EXPECT_EQ(l->font.family, u"Arial"_s);
        EXPECT_EQ(l->font.height, 11);
    }
    // A few items against the form: geometry, growth, alignment, data font.
    const report::ReportItem *fusp = page1.item(u"QRDBTextFusp"_s);
    EXPECT_EQ(QRect(fusp->left, fusp->top, fusp->width, 0), QRect(27, 46, 85, 0));
    EXPECT_TRUE(fusp->autoSize);
    EXPECT_TRUE(fusp->font.bold);
    EXPECT_EQ(fusp->font.height, 12);
    EXPECT_EQ(page1.item(u"QRDBTextP6"_s)->alignment, Qt::AlignHCenter);
    EXPECT_EQ(page1.item(u"QRLabelZjv36"_s)->left, 702);
    EXPECT_EQ(page1.item(u"QRLabelVzor"_s)->text, u"25 5401  MFin 5401 - vzor č. 20"_s);
    const report::ReportItem *c25 = page2.item(u"QRDBTextC25"_s);
    EXPECT_EQ(QRect(c25->left, c25->top, c25->width, 0), QRect(610, 404, 80, 0));
    EXPECT_EQ(c25->alignment, Qt::AlignRight);
    EXPECT_EQ(page2.item(u"QRDBTextC550k"_s)->field, u"C550k"_s);
    EXPECT_EQ(page2.item(u"QRDBTextC550k"_s)->source, u"Dtabn2"_s);
    int wordings = 0;
    for (const report::ReportBand &b : page2.bands)
        for (const report::ReportItem &i : b.items)
            if (i.name.contains(u"Radek"_s) && i.kind != report::ItemKind::Shape) {
                ++wordings;
                EXPECT_EQ(i.left, 6) << i.name.toStdString();  // every line's wording at left 6
            }
    EXPECT_EQ(wordings, 34);
    // Every field the pages name exists: both lay out on an empty data set.
    EXPECT_NO_THROW(print::prepareReturnPage(dm, 1, 0));
    EXPECT_NO_THROW(print::prepareReturnPage(dm, 2, 1));
    EXPECT_THROW(print::ReturnPageReport(3, dm), report::ReportError);
}

TEST_F(ReturnPages, Page1FillsItsBoxesFromTheTaxpayerRow)
{
    EXPECT_EQ(print::boxRowText(u"Maximiliánovič"_s, 11, 11), u"Maximiliáno"_s);
    EXPECT_EQ(print::boxRowText(u"140"_s, 5, 5), u"140  "_s);
    EXPECT_EQ(print::boxRowText(u"CZ1234567890123"_s, 15, 12), u"CZ1234567890"_s);
    EXPECT_EQ(print::boxRowText(QString(), 4, 4), u"    "_s);

    setRow(*dm.Prp, {{u"Dic"_s, u"CZ12345678"_s}, {u"Jmb"_s, u"Maximiliánovič"_s}, {u"Psc"_s, u"140"_s},
                  {u"Ddp"_s, QDate(2018, 3, 5)}, {u"Dpdr1"_s, true}, {u"Dpdd1"_s, false}, {u"P1"_s, true},
                  {u"P2"_s, false}, {u"Pcp"_s, 2}, {u"Pcl"_s, 3}, {u"Sta2"_s, u"Spojené království Velké Brit"_s},
                  {u"Cpocp"_s, u"1234"_s}, {u"Cpoco"_s, u"5"_s}, {u"Sesjm"_s, u"Eva"_s}, {u"Sespr"_s, u"Nová"_s},
                  {u"M"_s, u"březen"_s}, {u"Od1"_s, QDate(2018, 3, 1)}});
    const report::PreparedReport page = print::prepareReturnPage(dm, 1, 0);
    ASSERT_EQ(page.pageCount(), 1);
    EXPECT_EQ(boxes(page, u"QRLabelDic"_s, 12),
              (QStringList{u"C"_s, u"Z"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s, {}, {}}));
    EXPECT_EQ(boxes(page, u"QRLabelJmb"_s, 11).join(u'|'), u"M|a|x|i|m|i|l|i|á|n|o"_s);
    EXPECT_EQ(boxes(page, u"QRLabelPsc"_s, 5), (QStringList{u"1"_s, u"4"_s, u"0"_s, {}, {}}));
    EXPECT_EQ(boxes(page, u"QRLabelDat"_s, 8).join(QString()), u"05032018"_s);
    EXPECT_EQ(boxes(page, u"QRLabelSta"_s, 16).join(QString()), u"Spojenékrálovst"_s);
    EXPECT_EQ(boxes(page, u"QRLabelCpo"_s, 9).join(QString()), u"1234/5"_s);
    EXPECT_EQ(boxes(page, u"QRLabelRco"_s, 11).join(QString()), QString());
    EXPECT_EQ(page.find(u"QRLabelPcpl"_s)->text, u"2/3"_s);
    // Booleans print X or nothing; the rest of the data texts as the row holds them.
    EXPECT_EQ(page.find(u"QRDBTextDpdr1"_s)->text, u"X"_s);
    EXPECT_EQ(page.find(u"QRDBTextDpdd1"_s)->text, QString());
    EXPECT_EQ(page.find(u"QRDBTextP1"_s)->text, u"X"_s);
    EXPECT_EQ(page.find(u"QRDBTextP2"_s)->text, QString());
    EXPECT_EQ(page.find(u"QRDBTextM"_s)->text, u"březen"_s);
    EXPECT_EQ(page.find(u"QRDBTextOd1"_s)->text, u"01.03.2018"_s);
    EXPECT_EQ(page.find(u"QRDBTextSesk"_s)->text, u"Eva Nová"_s);
    // Boxes sit at the form's positions (a top offset of 0 leaves a page-header band of
    // height 0), one pitch of 19 apart.
    EXPECT_EQ(page.find(u"QRLabelDic1"_s)->rect.topLeft(), QPointF(28, 118));
    EXPECT_EQ(page.find(u"QRLabelDic12"_s)->rect.topLeft(), QPointF(237, 118));
    EXPECT_EQ(page.find(u"QRLabelDat8"_s)->rect.topLeft(), QPointF(171, 933));

    // An empty filing date leaves its boxes blank; a page laid out again shows the new row.
    setRow(*dm.Prp, {{u"Ddp"_s, QVariant()}, {u"Jmb"_s, u"Eva"_s}});
    const report::PreparedReport again = print::prepareReturnPage(dm, 1, 0);
    EXPECT_EQ(boxes(again, u"QRLabelDat"_s, 8).join(QString()), QString());
    EXPECT_EQ(boxes(again, u"QRLabelJmb"_s, 11).join(QString()), u"Eva"_s);
}

TEST_F(ReturnPages, Page2PrintsEveryAmountInItsColumnAndTheCoefficientAsTheTaxpayerChose)
{
    setRow(*dm.Prp, {{u"K1p"_s, false}});
    setRow(*dm.Dtabn1, {{u"C210"_s, -12345.0}, {u"C210a"_s, -2592.0}, {u"C410"_s, 45000.0}, {u"C25"_s, 7.0}});
    setRow(*dm.Dtabn2, {{u"C310"_s, 1000.0}, {u"C310b"_s, 210.0}, {u"C550"_s, 0.5}});
    report::PreparedReport page = print::prepareReturnPage(dm, 2, 0);
    const struct {
        const char16_t *item;
        const char16_t *text;
        double right;  // left + width of the form's column
    } amounts[] = {
        {u"QRDBTextC210", u"-12345", 517}, {u"QRDBTextC210a", u"-2592", 690}, {u"QRDBTextC410", u"45000", 690},
        {u"QRDBTextC25", u"7", 690},       {u"QRDBTextC310", u"1000", 454},   {u"QRDBTextC310b", u"210", 690},
        {u"QRDBTextC550k", u"0,50", 493},  {u"QRDBTextC215", u"0", 517},
    };
    for (const auto &a : amounts) {
        const report::PlacedItem *item = page.find(QString::fromUtf16(a.item));
        ASSERT_NE(item, nullptr) << QString::fromUtf16(a.item).toStdString();
        EXPECT_EQ(item->text, QString::fromUtf16(a.text)) << QString::fromUtf16(a.item).toStdString();
        EXPECT_DOUBLE_EQ(item->rect.right(), a.right) << QString::fromUtf16(a.item).toStdString();
        EXPECT_GE(item->rect.width(), 1.0);
    }
    // With percentages the coefficient prints as a whole number; the windows keep "0.##".
    setRow(*dm.Prp, {{u"K1p"_s, true}});
    dm.Dtabn2->refresh();
    page = print::prepareReturnPage(dm, 2, 0);
    EXPECT_EQ(page.find(u"QRDBTextC550k"_s)->text, u"50"_s);
    setRow(*dm.Prp, {{u"K1p"_s, false}});
    dm.Dtabn2->refresh();
    print::prepareReturnPage(dm, 2, 0);
    EXPECT_EQ(dm.Dtabn2->field(u"C550k"_s).displayFormat(), u"0.##"_s);
    EXPECT_EQ(dm.Dtabn2->field(u"C550k"_s).displayText(), u"0,5"_s);
}

TEST_F(ReturnPages, CommandLineWritesThePagesAsPdfWithTheOffsets)
{
    setRow(*dm.Prp, {{u"Dic"_s, u"CZ12345678"_s}});
    setRow(*dm.Dtabn1, {{u"C210"_s, -12345.0}});
    setRow(*dm.Dmt, {{u"Dpt"_s, 10}, {u"Dpl"_s, 5}});
    dm.closeAll();
    QTemporaryDir out;
    const QString page1 = out.filePath(u"strana 1.pdf"_s), page2 = out.filePath(u"strana2.pdf"_s);

    CliResult r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"strana1"_s, u"--pdf"_s, page1});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), page1);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const double left = 5 * 96 / 25.4, top = 38;  // Dpl 5 mm, Dpt 10 mm as a 38-unit band
    {
        const rur::testing::PdfText pdf(page1);
        ASSERT_TRUE(pdf.valid()) << pdf.error().toStdString();
        ASSERT_EQ(pdf.pageCount(), 1);
        EXPECT_NEAR(pdf.pageSize(0).height(), 841.9, 0.5);
        EXPECT_TRUE(pdf.fontsEmbedded());
        const QList<rur::testing::PdfWord> words = pdf.words(0);
        const QString dic = u"CZ12345678"_s;
        for (int i = 0; i < dic.size(); ++i) {
            const double x = (28 + 19 * i + left) * 0.75, y = (118 + top) * 0.75;
            EXPECT_NE(wordAt(words, dic.mid(i, 1), x, y), nullptr) << "DIČ box " << i + 1 << " at " << x << "," << y;
        }
        EXPECT_NE(wordAt(words, u"PŘIZNÁNÍ"_s, (296 + left) * 0.75, (235 + top) * 0.75), nullptr);
    }
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"STRANA2"_s, u"--pdf"_s, page2});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    {
        const rur::testing::PdfText pdf(page2);
        ASSERT_TRUE(pdf.valid()) << pdf.error().toStdString();
        bool found = false;
        for (const rur::testing::PdfWord &w : pdf.words(0))
            if (w.text == u"-12345"_s) {
                found = true;
                EXPECT_NEAR(w.box.right(), (517 + left) * 0.75, 0.8);  // right-aligned in its column
                EXPECT_NEAR(w.box.top(), (43 + top) * 0.75, 3.0);
            }
        EXPECT_TRUE(found);
    }

    // Paths that can't be written, unknown reports and missing arguments.
    const QString blocked = page1 + u"/vnoreny.pdf"_s;
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"strana1"_s, u"--pdf"_s, blocked});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), u"Adresář "_s + page1 + u" neexistuje."_s);
    EXPECT_TRUE(rur::testing::PdfText(page1).valid());
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"obalka"_s, u"--pdf"_s, page1});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"Neznámá sestava obalka"_s)) << r.err.toStdString();
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"strana1"_s});
    EXPECT_EQ(r.exitCode, 2);
    // No printer of that name: the print fails with the program's message.
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"strana1"_s, u"--printer"_s, u"Neexistující tiskárna"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), u"Tisk se nepodařilo vytvořit."_s);
}
