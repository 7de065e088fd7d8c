// The payment order: what Mtt stores and shows, the printout's items where the bank form has
// them (also in a PDF written by rur-cli), and the tax of the return taken into it.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "datasets/DataSetAccess.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "print/PaymentOrder.h"
#include "report/ReportLayout.h"
#include "support/filled_return.h"
#include "support/gui_app.h"
#include "support/pdf_text.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::cli;
using rur::testing::CliResult;
using rur::testing::setRow;

namespace {

class PaymentOrder : public ::testing::Test {
protected:
    void SetUp() override
    {
        rur::testing::ensureGuiApplication();
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
    }

    engine::Table &mtt() { return *dm.Mtt; }
    // Types a text into a field of Mtt and posts, as the "Komfort" page or rur-cli set does.
    void type(const QString &field, const QString &text)
    {
        mtt().edit();
        mtt().field(field).setText(text);
        mtt().post();
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
};


}  // namespace

TEST_F(PaymentOrder, StoringKeepsWholeNumbersAndCrownsAndNeverLeavesAFieldEmpty)
{
    type(u"Cad1"_s, u"1234,5"_s);
    EXPECT_EQ(mtt().field(u"Cad1"_s).asFloat(), 1235.0);
    EXPECT_EQ(mtt().field(u"Cad1"_s).displayText(), u"1235"_s);
    // Halves go away from zero on the negative side too; kept amounts are rounded alike.
    setRow(mtt(), {{u"Cad1"_s, -20.5}, {u"Caz1z"_s, 7.49}});
    EXPECT_EQ(mtt().field(u"Cad1"_s).asFloat(), -21.0);
    EXPECT_EQ(mtt().field(u"Caz1z"_s).asFloat(), 7.0);

    // Cleared offsets and amounts are stored as 0; a cleared number of copies as the lowest
    // value it may hold, so that the row can still be stored.
    setRow(mtt(), {{u"Vh"_s, 12}, {u"Kop"_s, 3}});
    setRow(mtt(), {{u"Vh"_s, QVariant()}, {u"Vlo"_s, QVariant()}, {u"Cad1"_s, QVariant()}, {u"Cad"_s, QVariant()},
                   {u"Kop"_s, QVariant()}});
    for (const char16_t *name : {u"Vh", u"Vlo", u"Cad1", u"Cad"})
        EXPECT_FALSE(mtt().field(QString::fromUtf16(name)).isNull()) << QString::fromUtf16(name).toStdString();
    EXPECT_EQ(mtt().field(u"Vh"_s).asInteger(), 0);
    EXPECT_EQ(mtt().field(u"Cad1"_s).asFloat(), 0.0);
    EXPECT_EQ(mtt().field(u"Kop"_s).asInteger(), 1);

    // The stored row is what the file holds.
    mtt().close();
    mtt().open();
    EXPECT_EQ(mtt().field(u"Kop"_s).asInteger(), 1);
    EXPECT_EQ(mtt().field(u"Vh"_s).asInteger(), 0);

    // Out of bounds is refused with the field named as the window labels it.
    mtt().edit();
    try {
        mtt().field(u"Vh"_s).setText(u"1000"_s);
        ADD_FAILURE() << "1000 mm accepted";
    } catch (const engine::EngineError &e) {
        EXPECT_TRUE(e.message().contains(u"Horní okraj"_s)) << e.message().toStdString();
    }
    mtt().cancel();
}

TEST_F(PaymentOrder, ShowsWeekdaysOfItsDatesAndThePostalCodeWithItsBlank)
{
    setRow(mtt(), {{u"D1"_s, QDate(2018, 3, 7)}, {u"D3"_s, QDate(2018, 3, 4)}, {u"Psc"_s, u"12000"_s}});
    EXPECT_EQ(mtt().field(u"D1s"_s).asString(), u"středa"_s);
    EXPECT_EQ(mtt().field(u"D3s"_s).asString(), u"neděle"_s);
    EXPECT_EQ(mtt().field(u"Psc1"_s).asString(), u"120 00"_s);

    setRow(mtt(), {{u"Psc"_s, u"415"_s}, {u"D3"_s, QVariant()}});
    EXPECT_EQ(mtt().field(u"Psc1"_s).asString(), u"415 "_s);
    EXPECT_TRUE(mtt().field(u"D3s"_s).isNull());
    setRow(mtt(), {{u"Psc"_s, QVariant()}});
    EXPECT_TRUE(mtt().field(u"Psc1"_s).isNull());

    // Typed dates are completed as in every date field: the year of today, dots optional.
    type(u"D1"_s, u"070318"_s);
    EXPECT_EQ(mtt().field(u"D1"_s).asDate(), QDate(2018, 3, 7));
    type(u"D3"_s, u"5.6."_s);
    EXPECT_EQ(mtt().field(u"D3"_s).asDate(), QDate(QDate::currentDate().year(), 6, 5));
    mtt().edit();
    EXPECT_THROW(mtt().field(u"D1"_s).setText(u"31.2.2018"_s), engine::EngineError);
    EXPECT_EQ(mtt().field(u"D1"_s).asDate(), QDate(2018, 3, 7));
    mtt().cancel();
}

TEST_F(PaymentOrder, TakesTheTaxOfLine64WhenThePrintCentreOpens)
{
    rur::testing::fillValidReturn(dm);
    const double tax = dm.Dtabn3->field(u"C753"_s).asFloat();
    ASSERT_NE(tax, 0.0);
    setRow(mtt(), {{u"Cad1"_s, 1.0}});
    print::takeTaxIntoPaymentOrder(dm);
    EXPECT_EQ(mtt().field(u"Cad1"_s).asFloat(), tax);
    EXPECT_FALSE(mtt().isEditing());
    // The file holds it too: another cursor on the same table reads it.
    engine::Database db(u"Jiny"_s);
    db.setDirectory(dirs.dataSetPath());
    engine::Table other(&db, data::mttDef());
    other.open();
    EXPECT_EQ(other.field(u"Cad1"_s).asFloat(), tax);
}

TEST_F(PaymentOrder, ItemsStandWhereTheBankFormHasThemAndMoveWithTheOffsets)
{
    setRow(mtt(), {{u"Cad1"_s, 1234.5}, {u"Cui"_s, u"123456789"_s}, {u"Kbi"_s, u"0800"_s}, {u"Cu"_s, u"713-77628031"_s},
                   {u"Kb"_s, u"0710"_s}, {u"Vs"_s, u"8001011234"_s}, {u"D1"_s, QDate(2018, 3, 7)}});
    report::PreparedReport order = print::preparePaymentOrder(dm, 0);
    EXPECT_EQ(order.caption, u"Příkaz k úhradě - Daň (doplatek)"_s);
    ASSERT_EQ(order.pageCount(), 1);
    const double header = 0;  // the empty page header: Vh 0 mm
    const struct {
        const char16_t *item;
        const char16_t *text;
        double top, left;
    } items[] = {
        {u"QRLabelNadpis", u"PŘÍKAZ K ÚHRADĚ", 0, 297}, {u"QRDBTextD1", u"07.03.2018", 34, 459},
        {u"QRDBTextCui", u"123456789", 102, 18},        {u"QRDBTextKbi", u"0800", 102, 225},
        {u"QRDBTextCu", u"713-77628031", 204, 18},      {u"QRDBTextKb", u"0710", 204, 225},
        {u"QRDBTextVs", u"8001011234", 204, 414},        {u"QRLabelRazitko", u"Razítko a podpis příkazce", 408, 432},
    };
    for (const auto &i : items) {
        const report::PlacedItem *placed = order.find(QString::fromUtf16(i.item));
        ASSERT_NE(placed, nullptr) << QString::fromUtf16(i.item).toStdString();
        EXPECT_EQ(placed->text, QString::fromUtf16(i.text));
        EXPECT_DOUBLE_EQ(placed->rect.top(), i.top + header) << QString::fromUtf16(i.item).toStdString();
        EXPECT_DOUBLE_EQ(placed->rect.left(), i.left) << QString::fromUtf16(i.item).toStdString();
    }
    // The amount in crowns and hellers, its right edge at 405 whatever its length; the
    // account boxes around the account numbers.
    const report::PlacedItem *amount = order.find(u"QRDBTextCad1"_s);
    EXPECT_EQ(amount->text, u"1235,00"_s);
    EXPECT_DOUBLE_EQ(amount->rect.right(), 405);
    EXPECT_EQ(amount->font.family, u"Courier New"_s);
    EXPECT_EQ(order.find(u"QRShapeCu"_s)->rect, QRectF(5, 197 + header, 187, 31));
    EXPECT_EQ(order.find(u"QRShapeCad1"_s)->rect, QRectF(284, 197 + header, 124, 31));
    // An empty field prints nothing.
    EXPECT_EQ(order.find(u"QRDBTextKs"_s)->text, QString());

    // Vh 10 mm is a header band of 38 units, Vl 5 mm moves everything right; CE font names.
    setRow(mtt(), {{u"Vh"_s, 10}, {u"Vl"_s, 5}, {u"Cad1"_s, -7.0}});
    order = print::preparePaymentOrder(dm, 1);
    const double left = 5 * 96 / 25.4;
    amount = order.find(u"QRDBTextCad1"_s);
    EXPECT_EQ(amount->text, u"-7,00"_s);
    EXPECT_NEAR(amount->rect.right(), 405 + left, 1e-9);
    EXPECT_DOUBLE_EQ(order.find(u"QRDBTextCui"_s)->rect.top(), 102 + 38);
    EXPECT_EQ(amount->font.family, u"Courier New CE"_s);
}

TEST_F(PaymentOrder, RurCliTypesTheOrderAndWritesItAsPdf)
{
    dm.closeAll();
    CliResult r = cli({u"--root"_s, root.path(), u"set"_s, u"D1"_s, u"Mtt"_s, u"Cad1=1234,5"_s, u"Cui=19-2000145399"_s,
                       u"Kbi=0800"_s, u"D1=7.3.2018"_s, u"Vl=10"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({u"--root"_s, root.path(), u"show"_s, u"D1"_s, u"Mtt"_s});
    EXPECT_TRUE(r.out.contains(u"\"Cad1\": 1235"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\"D1s\": \"středa\""_s)) << r.out.toStdString();
    r = cli({u"--root"_s, root.path(), u"set"_s, u"D1"_s, u"Mtt"_s, u"D3=30.2."_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"není platné datum"_s)) << r.err.toStdString();

    QTemporaryDir out;
    const QString pdfPath = out.filePath(u"příkaz.pdf"_s);
    r = cli({u"--root"_s, root.path(), u"print"_s, u"D1"_s, u"prikaz"_s, u"--pdf"_s, pdfPath});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), pdfPath);
    const rur::testing::PdfText pdf(pdfPath);
    ASSERT_TRUE(pdf.valid()) << pdf.error().toStdString();
    ASSERT_EQ(pdf.pageCount(), 1);
    const double left = 10 * 96 / 25.4, top = 0;  // Vl 10 mm, Vh 0 mm
    // The words are kept: find() points into them.
    const QList<rur::testing::PdfWord> words = pdf.words(0);
    const auto find = [&](const QString &text) -> const rur::testing::PdfWord * {
        for (const rur::testing::PdfWord &w : words)
            if (w.text == text)
                return &w;
        return nullptr;
    };
    const rur::testing::PdfWord *amount = find(u"1235,00"_s);
    ASSERT_NE(amount, nullptr);
    EXPECT_NEAR(amount->box.right(), (405 + left) * 0.75, 0.8);
    EXPECT_NEAR(amount->box.top(), (204 + top) * 0.75, 3.0);
    const rur::testing::PdfWord *account = find(u"19-2000145399"_s);
    ASSERT_NE(account, nullptr);
    EXPECT_NEAR(account->box.left(), (18 + left) * 0.75, 1.0);
    EXPECT_NEAR(account->box.top(), (102 + top) * 0.75, 3.0);
    // Inside its box (left 5, width 187), as the bank reads it.
    EXPECT_GT(account->box.left(), (5 + left) * 0.75);
    EXPECT_LT(account->box.right(), (5 + 187 + left) * 0.75);
    ASSERT_NE(find(u"07.03.2018"_s), nullptr);
    EXPECT_NEAR(find(u"07.03.2018"_s)->box.left(), (459 + left) * 0.75, 1.0);
}
