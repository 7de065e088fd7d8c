// The band report engine: layout descriptions, positions in units, growing items, offsets,
// page breaks with page footers and page numbers, memos across pages, groups and sums, the
// pictures and PDF files it draws, and the copy rule of printing.
#include "engine/Database.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "report/DataSource.h"
#include "report/Fonts.h"
#include "report/LayoutLoader.h"
#include "report/Printing.h"
#include "report/Render.h"
#include "report/Report.h"
#include "report/ReportError.h"
#include "support/gui_app.h"
#include "support/pdf_text.h"
#include "support/test_root.h"

#include <QFile>
#include <QFontInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using report::PlacedItem;

namespace {

class ReportEngine : public ::testing::Test {
protected:
    void SetUp() override { rur::testing::ensureGuiApplication(); }

    // A layout of one page header and the given bands, in the description format.
    static report::ReportLayout layoutOf(const QString &bands, const QString &page = u"\"size\": \"A4\""_s)
    {
        return report::parseLayout((u"{\"name\": \"Test\", \"caption\": \"Zkouška\", \"page\": {"_s + page
                                    + u"}, \"font\": {\"family\": \"Arial\", \"height\": 11}, "
                                      u"\"fonts\": {\"data\": {\"height\": 12, \"bold\": true}}, \"bands\": ["_s
                                    + bands + u"]}"_s)
                                       .toUtf8(),
                                   u"Test"_s);
    }

    static QString failureOf(const QString &json)
    {
        try {
            report::parseLayout(json.toUtf8(), u"Chybná"_s);
        } catch (const report::ReportError &e) {
            return e.message();
        }
        return {};
    }
};

// Rows of a list as the detail band's source: number n in field N, its group in G.
QList<QVariantMap> numberedRows(int count, int perGroup = 1000)
{
    QList<QVariantMap> rows;
    for (int n = 1; n <= count; ++n)
        rows.append({{u"N"_s, double(n)}, {u"G"_s, u"skupina %1"_s.arg((n - 1) / perGroup + 1)}});
    return rows;
}

// A print target that records the jobs it is given.
class RecordingTarget : public report::PrintTarget {
public:
    bool print(const report::PreparedReport &, const report::PrintJob &job) override
    {
        jobs.append(job);
        return jobs.size() != failAt;
    }
    QList<report::PrintJob> jobs;
    qsizetype failAt = -1;
};

}  // namespace

TEST_F(ReportEngine, DamagedDescriptionsAreRefusedWithAMessageNamingThem)
{
    const QString item = u"{\"name\": \"T\", \"bands\": [{\"kind\": \"detail\", \"name\": \"D\", \"items\": [%1]}]}"_s;
    const struct {
        QString json;
        QString says;
    } cases[] = {
        {u"{\"name\": "_s, u"Popis sestavy Chybná je poškozen"_s},
        {u"[]"_s, u"popis není objekt"_s},
        {item.arg(u"{\"kind\": \"label\", \"lfet\": 3}"_s), u"neznámý klíč \"lfet\""_s},
        {item.arg(u"{\"kind\": \"button\"}"_s), u"neznámá hodnota \"button\""_s},
        {item.arg(u"{\"name\": \"A\", \"kind\": \"label\"}, {\"name\": \"a\", \"kind\": \"label\"}"_s),
         u"položka a je uvedena dvakrát"_s},
        {item.arg(u"{\"kind\": \"label\", \"font\": \"nadpis\"}"_s), u"neznámé písmo \"nadpis\""_s},
        {item.arg(u"{\"kind\": \"label\", \"left\": 1.5}"_s), u"\"left\""_s},
        {item.arg(u"{\"kind\": \"data\", \"field\": \"Prp\"}"_s), u"Zdroj.Pole"_s},
        {item.arg(u"{\"kind\": \"expr\", \"expr\": \"Prp.Pcp + \"}"_s), QString()},  // checked when laid out
        {u"{\"bands\": [{\"name\": \"D\"}]}"_s, u"chybí \"kind\""_s},
    };
    for (const auto &c : cases) {
        const QString message = failureOf(c.json);
        if (c.says.isEmpty())
            EXPECT_EQ(message, QString()) << c.json.toStdString() << " loads; its expression is checked when laid out";
        else
            EXPECT_TRUE(message.contains(c.says)) << c.json.toStdString() << " -> " << message.toStdString();
    }
    // A file that isn't there.
    try {
        report::loadLayout(u"/nonexistent/Rdhn9.json"_s);
        ADD_FAILURE();
    } catch (const report::ReportError &e) {
        EXPECT_EQ(e.message(), u"Popis sestavy /nonexistent/Rdhn9.json nelze přečíst."_s);
    }
    // An expression that is none, or a field the source lacks, is refused when laid out.
    report::RowListSource rows({{{u"N"_s, 1.0}}});
    const std::pair<QString, QString> bad[] = {
        {u"{\"kind\": \"expr\", \"name\": \"E\", \"expr\": \"L.N + \"}"_s, u"Neplatný výraz v sestavě: L.N +"_s},
        {u"{\"kind\": \"data\", \"name\": \"E\", \"field\": \"L.Nic\"}"_s, u"Sestava Test: pole L.Nic položky E neexistuje."_s},
        {u"{\"kind\": \"data\", \"name\": \"E\", \"field\": \"Jiny.N\"}"_s,
         u"Sestava Test: zdroj dat Jiny položky E není k dispozici."_s},
    };
    for (const auto &[badItem, says] : bad) {
        try {
            report::Report r(layoutOf(u"{\"kind\": \"detail\", \"name\": \"D\", \"source\": \"L\", \"height\": 20, \"items\": ["_s
                                      + badItem + u"]}"_s));
            r.setDataSource(u"L"_s, &rows);
            r.prepare();
            ADD_FAILURE() << badItem.toStdString();
        } catch (const report::ReportError &e) {
            EXPECT_TRUE(e.message().startsWith(says)) << e.message().toStdString();
        }
    }
}

TEST_F(ReportEngine, ItemsSitAtTheirUnitsAndGrowingTextsKeepTheirAnchor)
{
    report::RowListSource row({{{u"Castka"_s, -1234.0}, {u"Jmeno"_s, u"Dlouhé jméno plátce"_s}, {u"Ano"_s, true},
                                {u"Ne"_s, false}, {u"Den"_s, QDate(2018, 3, 5)}, {u"Koef"_s, 0.5}}});
    report::Report r(layoutOf(
        uR"J({"kind": "pageHeader", "name": "H", "height": 20},
            {"kind": "detail", "name": "D", "source": "L", "height": 300, "items": [
              {"kind": "label", "name": "Popis", "left": 100, "top": 50, "text": "Řádek"},
              {"kind": "shape", "name": "Ramecek", "left": 96, "top": 47, "width": 95, "height": 19},
              {"kind": "data", "name": "Castka", "left": 200, "top": 80, "width": 87, "font": "data", "align": "right", "autoSize": true, "field": "L.Castka", "format": "0"},
              {"kind": "data", "name": "Jmeno", "left": 27, "top": 100, "width": 10, "autoSize": true, "field": "L.Jmeno"},
              {"kind": "data", "name": "Stred", "left": 300, "top": 100, "width": 72, "align": "center", "autoSize": true, "field": "L.Jmeno"},
              {"kind": "data", "name": "Pevne", "left": 300, "top": 120, "width": 72, "align": "center", "field": "L.Den"},
              {"kind": "data", "name": "Ano", "left": 10, "top": 140, "width": 8, "field": "L.Ano"},
              {"kind": "data", "name": "Ne", "left": 30, "top": 140, "width": 8, "field": "L.Ne"},
              {"kind": "data", "name": "Koef", "left": 50, "top": 140, "width": 17, "field": "L.Koef", "format": "0.00"},
              {"kind": "expr", "name": "Soucet", "left": 50, "top": 160, "width": 50, "expr": "L.Castka + 1000 + 34"},
              {"kind": "expr", "name": "Spojeni", "left": 50, "top": 180, "width": 50, "expr": "L.Jmeno + \" / \" + L.Koef"}
            ]})J"_s));
    r.setDataSource(u"L"_s, &row);
    const report::PreparedReport out = r.prepare();
    ASSERT_EQ(out.pageCount(), 1);
    EXPECT_NEAR(out.pageSizeUnits.width(), 793.7, 0.1);  // A4 at 96 per inch

    // Fixed items: layout position plus the page-header band.
    EXPECT_EQ(out.find(u"Popis"_s)->rect.topLeft(), QPointF(100, 70));
    EXPECT_EQ(out.find(u"Ramecek"_s)->rect, QRectF(96, 67, 95, 19));
    EXPECT_EQ(out.find(u"Ramecek"_s)->kind, PlacedItem::Kind::Shape);
    // A right-aligned growing amount keeps its right edge and shows its minus sign.
    const PlacedItem *amount = out.find(u"Castka"_s);
    EXPECT_EQ(amount->text, u"-1234"_s);
    EXPECT_DOUBLE_EQ(amount->rect.right(), 287.0);
    EXPECT_NEAR(amount->rect.width(), report::textWidth(amount->font, u"-1234"_s), 0.01);
    EXPECT_TRUE(amount->alignment & Qt::AlignRight);
    // A left-aligned one grows to the right, a centred one around its centre.
    const PlacedItem *name = out.find(u"Jmeno"_s);
    EXPECT_DOUBLE_EQ(name->rect.left(), 27.0);
    EXPECT_GT(name->rect.width(), 60.0);
    EXPECT_NEAR(out.find(u"Stred"_s)->rect.center().x(), 336.0, 0.01);
    EXPECT_EQ(out.find(u"Pevne"_s)->rect, QRectF(300, 140, 72, out.find(u"Pevne"_s)->rect.height()));
    // Values in their print form.
    EXPECT_EQ(out.find(u"Pevne"_s)->text, u"05.03.2018"_s);
    EXPECT_EQ(out.find(u"Ano"_s)->text, u"X"_s);
    EXPECT_EQ(out.find(u"Ne"_s)->text, QString());
    EXPECT_EQ(out.find(u"Koef"_s)->text, u"0,50"_s);
    EXPECT_EQ(out.find(u"Soucet"_s)->text, u"-200"_s);
    EXPECT_EQ(out.find(u"Spojeni"_s)->text, u"Dlouhé jméno plátce / 0,5"_s);
}

TEST_F(ReportEngine, TopAndLeftOffsetsMoveEveryItem)
{
    EXPECT_EQ(report::headerHeightFromMm(10), 38);
    EXPECT_EQ(report::headerHeightFromMm(0), 0);
    EXPECT_EQ(report::headerHeightFromMm(25), 95);
    EXPECT_EQ(report::headerHeightFromMm(-5), 0);  // a band is never lower than nothing

    const QString bands = uR"J({"kind": "pageHeader", "name": "H", "height": 20},
        {"kind": "detail", "name": "D", "height": 100, "items": [
          {"kind": "label", "name": "A", "left": 21, "top": 10, "text": "A"},
          {"kind": "shape", "name": "B", "left": 0, "top": 0, "width": 5, "height": 5},
          {"kind": "label", "name": "C", "left": 300, "top": 90, "width": 40, "align": "right", "autoSize": true, "text": "12"}]})J"_s;
    report::Report plain(layoutOf(bands));
    const report::PreparedReport before = plain.prepare();
    EXPECT_EQ(before.find(u"A"_s)->rect.topLeft(), QPointF(21, 30));

    report::Report moved(layoutOf(bands));
    moved.setPageHeaderHeight(report::headerHeightFromMm(10));
    moved.setLeftMarginMm(5);
    const report::PreparedReport after = moved.prepare();
    const double fiveMm = 5 * 96 / 25.4;
    for (const char16_t *n : {u"A", u"B", u"C"}) {
        const QString name = QString::fromUtf16(n);
        EXPECT_NEAR(after.find(name)->rect.left() - before.find(name)->rect.left(), fiveMm, 1e-9) << name.toStdString();
        EXPECT_DOUBLE_EQ(after.find(name)->rect.top() - before.find(name)->rect.top(), 38.0 - 20.0);
    }
    // A report without a page header gets one for the top offset.
    report::Report bare(layoutOf(u"{\"kind\": \"detail\", \"name\": \"D\", \"height\": 10, \"items\": [{\"kind\": \"label\", \"name\": \"A\", \"text\": \"A\"}]}"_s));
    bare.setPageHeaderHeight(38);
    EXPECT_EQ(bare.prepare().find(u"A"_s)->rect.top(), 38.0);
}

TEST_F(ReportEngine, DetailRowsBreakAboveThePageFooterWhichNumbersThePages)
{
    report::RowListSource rows(numberedRows(100), {{u"N"_s, u"0"_s}});
    report::Report r(layoutOf(
        uR"J({"kind": "pageHeader", "name": "H", "height": 30, "items": [{"kind": "label", "name": "Hlava", "text": "Seznam"}]},
            {"kind": "title", "name": "T", "height": 40, "items": [{"kind": "label", "name": "Nazev", "text": "Příkazy"}]},
            {"kind": "detail", "name": "D", "source": "L", "height": 20, "items": [
              {"kind": "data", "name": "Cislo", "left": 10, "top": 2, "width": 40, "field": "L.N"},
              {"kind": "sys", "name": "Poradi", "left": 100, "top": 2, "width": 40, "sys": "detailNumber", "text": "#"}]},
            {"kind": "summary", "name": "S", "height": 25, "items": [{"kind": "expr", "name": "Celkem", "left": 10, "top": 0, "width": 80, "expr": "SUM(L.N)", "format": "0"}]},
            {"kind": "pageFooter", "name": "F", "height": 20, "items": [
              {"kind": "sys", "name": "Strana", "left": 300, "top": 2, "width": 30, "sys": "pageNumber", "text": "Strana "},
              {"kind": "sys", "name": "Stran", "left": 400, "top": 2, "width": 30, "align": "right", "autoSize": true, "sys": "pageCount", "text": "z "}]})J"_s,
        u"\"size\": \"A5\", \"margins\": {\"top\": 10, \"bottom\": 10}"_s));
    r.setDataSource(u"L"_s, &rows);
    const report::PreparedReport out = r.prepare();
    const double pageHeight = out.pageSizeUnits.height(), bottom = pageHeight - 10 * 96 / 25.4;
    ASSERT_GE(out.pageCount(), 3);

    QStringList printed;
    for (int p = 0; p < out.pageCount(); ++p) {
        const QString page = QString::number(p + 1);
        EXPECT_EQ(out.find(u"Strana"_s, p)->text, u"Strana "_s + page);
        EXPECT_EQ(out.find(u"Stran"_s, p)->text, u"z "_s + QString::number(out.pageCount()));
        EXPECT_DOUBLE_EQ(out.find(u"Stran"_s, p)->rect.right(), 430.0);
        const double footerTop = out.find(u"Strana"_s, p)->rect.top() - 2;
        EXPECT_NEAR(footerTop, bottom - 20, 1e-9);
        EXPECT_NEAR(out.find(u"Hlava"_s, p)->rect.top(), 10 * 96 / 25.4, 1e-9);  // every page has its header
        EXPECT_EQ(out.find(u"Nazev"_s, p) != nullptr, p == 0);                  // the title only the first
        for (const PlacedItem &i : out.pages[p].items) {
            if (i.name == u"Cislo"_s) {
                printed.append(i.text);
                EXPECT_LE(i.rect.top() - 2 + 20, footerTop + 1e-9) << "row " << i.text.toStdString() << " on page " << p + 1;
            }
        }
    }
    QStringList expected;
    for (int n = 1; n <= 100; ++n)
        expected.append(QString::number(n));
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(out.findAll(u"Poradi"_s).last()->text, u"#100"_s);
    EXPECT_EQ(out.find(u"Celkem"_s, out.pageCount() - 1)->text, u"5050"_s);
}

TEST_F(ReportEngine, ALongMemoGrowsItsBandAndContinuesOnFurtherPages)
{
    QStringList text;
    for (int n = 1; n <= 150; ++n)
        text.append(u"Řádek dopisu číslo %1 s textem, který se zalomí, protože je delší než šířka pole."_s.arg(n));
    const QString memo = text.join(u'\n');
    report::RowListSource row({{{u"Text"_s, memo}}});
    report::ReportLayout layout = layoutOf(
        uR"J({"kind": "pageHeader", "name": "H", "height": 20},
            {"kind": "detail", "name": "D", "height": 80, "items": [
              {"kind": "label", "name": "Nad", "left": 10, "top": 0, "text": "Vážení,"},
              {"kind": "memo", "name": "Dopis", "left": 10, "top": 20, "width": 250, "height": 21, "wordWrap": true, "stretch": true},
              {"kind": "label", "name": "Pod", "left": 10, "top": 60, "text": "S pozdravem"}]},
            {"kind": "pageFooter", "name": "F", "height": 30, "items": [
              {"kind": "sys", "name": "Strana", "left": 10, "top": 0, "sys": "pageNumber"}]})J"_s);
    layout.item(u"Dopis"_s)->text = memo;
    report::Report r(layout);
    const report::PreparedReport out = r.prepare();
    ASSERT_GE(out.pageCount(), 3);

    const QList<const PlacedItem *> pieces = out.findAll(u"Dopis"_s);
    ASSERT_EQ(pieces.size(), out.pageCount());
    QStringList lines;
    for (int p = 0; p < out.pageCount(); ++p) {
        const PlacedItem *piece = out.find(u"Dopis"_s, p);
        const double footerTop = out.find(u"Strana"_s, p)->rect.top();
        EXPECT_LE(piece->rect.bottom(), footerTop + 1e-9) << "page " << p + 1;
        EXPECT_NEAR(piece->rect.height(), double(piece->text.count(u'\n') + 1) * piece->lineHeight, 1e-9);
        if (p > 0) {
            EXPECT_DOUBLE_EQ(piece->rect.top(), 20.0);  // right under the page header
        }
        lines += piece->text.split(u'\n');
    }
    // Every line once, in order.
    EXPECT_EQ(lines, report::wrapLines(layout.item(u"Dopis"_s)->font, memo, 250));
    EXPECT_GT(lines.size(), 150);
    // Above the memo on its first page, below its last line on the last page.
    EXPECT_NE(out.find(u"Nad"_s, 0), nullptr);
    const PlacedItem *after = out.find(u"Pod"_s, out.pageCount() - 1);
    ASSERT_NE(after, nullptr);
    EXPECT_DOUBLE_EQ(after->rect.top(), pieces.last()->rect.bottom() + (60 - 41));

    // A memo that fits grows its band on the page: what lies below moves down by its growth.
    layout.item(u"Dopis"_s)->text = u"první\ndruhý\ntřetí"_s;
    report::Report shortLetter(layout);
    const report::PreparedReport one = shortLetter.prepare();
    ASSERT_EQ(one.pageCount(), 1);
    const double growth = 3 * one.find(u"Dopis"_s)->lineHeight - 21;
    EXPECT_NEAR(one.find(u"Dopis"_s)->rect.height(), 21 + growth, 1e-9);
    EXPECT_NEAR(one.find(u"Pod"_s)->rect.top(), 20 + 60 + growth, 1e-9);
    EXPECT_DOUBLE_EQ(one.find(u"Nad"_s)->rect.top(), 20.0);
}

TEST_F(ReportEngine, GroupsPrintTheirHeadersAndFootersWithTheirSums)
{
    report::RowListSource rows(numberedRows(7, 3));
    report::RowListSource notes({{{u"T"_s, u"a"_s}}});  // one sub-detail row under each detail row
    report::Report r(layoutOf(
        uR"J({"kind": "groupHeader", "name": "GH", "group": "L.G", "height": 20, "items": [{"kind": "data", "name": "Skupina", "field": "L.G"}]},
            {"kind": "detail", "name": "D", "source": "L", "height": 15, "items": [{"kind": "data", "name": "N", "field": "L.N"}]},
            {"kind": "subDetail", "name": "SD", "source": "P", "height": 5, "items": [{"kind": "data", "name": "T", "field": "P.T"}]},
            {"kind": "groupFooter", "name": "GF", "group": "L.G", "height": 20, "items": [{"kind": "expr", "name": "Mezisoucet", "expr": "SUM(L.N)"},
                                                                                       {"kind": "expr", "name": "Pocet", "left": 100, "expr": "COUNT"}]},
            {"kind": "summary", "name": "S", "height": 20, "items": [{"kind": "expr", "name": "Celkem", "expr": "SUM(L.N)"}]})J"_s));
    r.setDataSource(u"L"_s, &rows);
    r.setDataSource(u"P"_s, &notes);
    const report::PreparedReport out = r.prepare();
    ASSERT_EQ(out.pageCount(), 1);
    QStringList sequence;
    for (const PlacedItem &i : out.pages[0].items)
        sequence.append(i.name + u'=' + i.text);
    EXPECT_EQ(sequence.join(u' '), u"Skupina=skupina 1 N=1 T=a N=2 T=a N=3 T=a Mezisoucet=6 Pocet=3 "
                                   u"Skupina=skupina 2 N=4 T=a N=5 T=a N=6 T=a Mezisoucet=15 Pocet=3 "
                                   u"Skupina=skupina 3 N=7 T=a Mezisoucet=7 Pocet=1 Celkem=28"_s);
    // Bands follow one another: each item sits at the foot of the band before it.
    EXPECT_DOUBLE_EQ(out.pages[0].items[2].rect.top(), 20.0 + 15.0);
}

TEST_F(ReportEngine, TablesAndQueriesRepeatTheDetailBandAndKeepTheirCursor)
{
    QTemporaryDir dir;
    engine::Database db(u"Danove"_s);
    db.setDirectory(dir.path());
    engine::TableDef def(u"Maz"_s, u"Maz.DB"_s);
    def.add({engine::textField(u"Fa"_s, 35), engine::boolField(u"O"_s), engine::amountField(u"Ca"_s)});
    engine::createTableFile(db.filePath(u"Maz.DB"_s), def,
                            {{{u"Fa"_s, u"Cyril"_s}, {u"O"_s, true}, {u"Ca"_s, 300.0}},
                             {{u"Fa"_s, u"Adam"_s}, {u"O"_s, false}, {u"Ca"_s, 100.0}},
                             {{u"Fa"_s, u"Bára"_s}, {u"O"_s, true}, {u"Ca"_s, -200.0}}});
    const QString layout = uR"J({"kind": "detail", "name": "D", "source": "Maz", "height": 20, "items": [
        {"kind": "data", "name": "Fa", "field": "Maz.Fa"}, {"kind": "data", "name": "Ca", "left": 100, "field": "Maz.Ca"}]},
        {"kind": "summary", "name": "S", "height": 20, "items": [{"kind": "expr", "name": "Celkem", "expr": "SUM(Maz.Ca)"}]})J"_s;
    const auto texts = [](const report::PreparedReport &out, const QString &name) {
        QStringList list;
        for (const PlacedItem *i : out.findAll(name))
            list.append(i->text);
        return list;
    };

    engine::Table table(&db, def);
    table.open();
    table.next();  // on Adam
    report::TableRowsSource rows(table);
    report::Report all(layoutOf(layout));
    all.setDataSource(u"Maz"_s, &rows);
    const report::PreparedReport out = all.prepare();
    EXPECT_EQ(texts(out, u"Fa"_s), (QStringList{u"Cyril"_s, u"Adam"_s, u"Bára"_s}));
    EXPECT_EQ(texts(out, u"Ca"_s), (QStringList{u"300"_s, u"100"_s, u"-200"_s}));  // the field's own "0"
    EXPECT_EQ(out.find(u"Celkem"_s)->text, u"200"_s);
    EXPECT_EQ(table.field(u"Fa"_s).asString(), u"Adam"_s);

    // The marked addresses in name order, as the envelopes select them.
    engine::Table query(&db, def);
    query.setSelectStatement(u"Select * from Maz where O = True order by Fa"_s);
    query.open();
    report::TableRowsSource marked(query);
    report::Report envelopes(layoutOf(layout));
    envelopes.setDataSource(u"Maz"_s, &marked);
    EXPECT_EQ(texts(envelopes.prepare(), u"Fa"_s), (QStringList{u"Bára"_s, u"Cyril"_s}));
    // A closed table gives no rows, and a data-bound item on a current row shows it.
    query.close();
    EXPECT_EQ(texts(envelopes.prepare(), u"Fa"_s), QStringList());
    report::TableRowSource current(table);
    report::Report one(layoutOf(layout));
    one.setDataSource(u"Maz"_s, &current);
    EXPECT_EQ(texts(one.prepare(), u"Fa"_s), QStringList{u"Adam"_s});
}

TEST_F(ReportEngine, FontsResolveToTheMetricTwinsAlsoUnderTheirCeNames)
{
    EXPECT_EQ(report::resolveFamily(u"Arial"_s), u"Liberation Sans"_s);
    EXPECT_EQ(report::resolveFamily(u"Arial CE"_s), u"Liberation Sans"_s);
    EXPECT_EQ(report::resolveFamily(u"Courier New CE"_s), u"Liberation Mono"_s);
    EXPECT_EQ(report::resolveFamily(u"Times New Roman"_s), u"Liberation Serif"_s);
    EXPECT_EQ(report::resolveFamily(u"DejaVu Sans"_s), u"DejaVu Sans"_s);
    for (const char16_t *name : {u"Arial", u"Arial CE", u"Courier New CE", u"Times New Roman CE"}) {
        const QFontInfo info(report::qfont({QString::fromUtf16(name), 11}));
        EXPECT_TRUE(info.family().startsWith(u"Liberation"_s)) << info.family().toStdString();
    }
    // The switch to the CE names changes names only: the laid-out page stays where it was.
    const QString bands = uR"J({"kind": "detail", "name": "D", "height": 40, "items": [
        {"kind": "label", "name": "A", "left": 300, "top": 10, "align": "right", "autoSize": true, "text": "Daň na výstupu"},
        {"kind": "shape", "name": "R", "width": 10, "height": 10}]})J"_s;
    report::Report plain(layoutOf(bands)), ce(layoutOf(bands));
    report::PrevodPisma1(ce.layout());
    report::PrevodPisma1(ce.layout());  // twice: still one " CE"
    EXPECT_EQ(ce.layout().item(u"A"_s)->font.family, u"Arial CE"_s);
    EXPECT_EQ(ce.layout().font.family, u"Arial CE"_s);
    EXPECT_EQ(plain.prepare().find(u"A"_s)->rect, ce.prepare().find(u"A"_s)->rect);
}

TEST_F(ReportEngine, PagesAreDrawnAsPicturesAndPdfFilesWithRealText)
{
    report::Report r(layoutOf(
        uR"J({"kind": "pageHeader", "name": "H", "height": 20},
            {"kind": "detail", "name": "D", "height": 200, "items": [
              {"kind": "shape", "name": "R", "left": 100, "top": 100, "width": 60, "height": 30, "pen": 2},
              {"kind": "label", "name": "Znak", "left": 28, "top": 98, "width": 3, "autoSize": true, "font": "data", "text": "Ž"},
              {"kind": "label", "name": "Slovo", "left": 300, "top": 98, "text": "Přiznání"}]})J"_s));
    r.setLeftMarginMm(5);
    const report::PreparedReport out = r.prepare();

    // The picture: the frame's line where the layout puts it, blank inside.
    const QImage image = report::renderImage(out, 0, 1.0);
    const double left = 100 + 5 * 96 / 25.4;
    EXPECT_LT(qGray(image.pixel(int(left + 30), 120)), 100);  // top edge
    EXPECT_EQ(qGray(image.pixel(int(left + 30), 135)), 255);  // inside
    EXPECT_LT(qGray(image.pixel(int(left + 30), 150)), 100);  // bottom edge

    // The PDF: A4, embedded Liberation fonts, and each text where the layout puts it.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"zkouska.pdf"_s);
    ASSERT_TRUE(report::writePdf(out, path));
    const rur::testing::PdfText pdf(path);
    ASSERT_TRUE(pdf.valid()) << pdf.error().toStdString();
    EXPECT_NEAR(pdf.pageSize(0).width(), 595.3, 0.5);  // A4, in whole points
    EXPECT_NEAR(pdf.pageSize(0).height(), 841.9, 0.5);
    EXPECT_TRUE(pdf.fontsEmbedded());
    EXPECT_TRUE(pdf.fonts().contains(u"LiberationSans-Bold"_s)) << pdf.fonts().join(u',').toStdString();
    const QList<rur::testing::PdfWord> words = pdf.words(0);
    const auto at = [&](const QString &text) -> const rur::testing::PdfWord * {
        for (const rur::testing::PdfWord &w : words)
            if (w.text == text)
                return &w;
        return nullptr;
    };
    ASSERT_NE(at(u"Ž"_s), nullptr);
    EXPECT_NEAR(at(u"Ž"_s)->box.left(), (28 + 5 * 96 / 25.4) * 0.75, 0.6);
    ASSERT_NE(at(u"Přiznání"_s), nullptr);
    EXPECT_NEAR(at(u"Přiznání"_s)->box.left(), (300 + 5 * 96 / 25.4) * 0.75, 0.6);
    EXPECT_NEAR(at(u"Přiznání"_s)->box.top(), 118 * 0.75, 1.5);

    // A path that can't be written fails; a failure while the file is written keeps the old one.
    EXPECT_FALSE(report::writePdf(out, dir.filePath(u"zkouska.pdf/vnoreny.pdf"_s)));
    EXPECT_FALSE(report::writePdf(out, dir.path()));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    ASSERT_TRUE(rur::testing::killedAt("pdf:before-commit", [&] { report::writePdf(out, path); }));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_TRUE(old.readAll() == before);
}

TEST_F(ReportEngine, CopiesAreMadeByThePrinterOrSentAsSeparateJobs)
{
    const report::PreparedReport out;
    RecordingTarget target;
    EXPECT_TRUE(report::Tisk2(out, target, u"Laser"_s, 3, false));
    ASSERT_EQ(target.jobs.size(), 3);
    for (const report::PrintJob &job : target.jobs) {
        EXPECT_EQ(job.copies, 1);
        EXPECT_EQ(job.printerName, u"Laser"_s);
    }
    target.jobs.clear();
    EXPECT_TRUE(report::Tisk2(out, target, QString(), 3, true));
    ASSERT_EQ(target.jobs.size(), 1);
    EXPECT_EQ(target.jobs[0].copies, 3);
    // No copies still prints one; a failed job stops the rest.
    target.jobs.clear();
    EXPECT_TRUE(report::Tisk2(out, target, QString(), 0, false));
    EXPECT_EQ(target.jobs.size(), 1);
    target.jobs.clear();
    target.failAt = 2;
    EXPECT_FALSE(report::Tisk2(out, target, QString(), 5, false));
    EXPECT_EQ(target.jobs.size(), 2);
}
