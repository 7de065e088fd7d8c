#include "print/ReturnPages.h"

#include "data/DataM1.h"
#include "engine/Table.h"
#include "report/LayoutLoader.h"
#include "report/ReportError.h"

#include <QDate>
#include <optional>

using namespace Qt::StringLiterals;

// The layouts are compiled into the logic library; a static library keeps its resources only
// when something calls their initialiser, which must happen outside any namespace.
static void initLayoutResources()
{
    Q_INIT_RESOURCE(layouts);
}

namespace rur::print {

namespace {

// Rows of one-character boxes on page 1: labels <prefix>1 ... <prefix>n, the field of Prp
// that fills them and the length of the text the field is laid into.
struct BoxRow {
    const char16_t *prefix;
    int boxes;
    const char16_t *field;
    int buffer;
};
constexpr BoxRow kBoxRows[] = {
    {u"QRLabelDic", 12, u"Dic", 15},    {u"QRLabelRco", 11, u"Rco", 11},     {u"QRLabelObj", 37, u"Oj1a", 37},
    {u"QRLabelObjA", 25, u"Oj1b", 25},  {u"QRLabelDoj", 11, u"Oj2", 11},     {u"QRLabelPr", 21, u"Pra", 21},
    {u"QRLabelJmb", 11, u"Jmb", 11},    {u"QRLabelTi", 4, u"Tia", 4},        {u"QRLabelOb", 18, u"Ob", 18},
    {u"QRLabelPsc", 5, u"Psc", 5},      {u"QRLabelTel", 12, u"Tel", 12},     {u"QRLabelUl", 27, u"Ul", 27},
    {u"QRLabelCpo", 9, u"Cpok", 9},     {u"QRLabelSta", 16, u"Sta2", 25},    {u"QRLabelHlcin", 37, u"Hp1", 37},
    {u"QRLabelKzs", 2, u"Kzs", 2},      {u"QRLabelZjm", 36, u"Zjm", 36},     {u"QRLabelZde", 36, u"Zde", 36},
    {u"QRLabelZjv", 36, u"Zjv", 36},
};

// The filing date's boxes hold day, month and year without the dots of "dd.mm.yyyy".
constexpr int kDateCharacters[] = {0, 1, 3, 4, 6, 7, 8, 9};

QString utf16Text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

// The field's text as a window shows it; empty when the table has no row.
QString fieldText(engine::Table &t, const QString &field)
{
    return t.isActive() && !t.isEmpty() ? t.field(field).asString() : QString();
}

}  // namespace

QString boxRowText(const QString &text, int bufferLength, int boxes)
{
    QString buffer = text.left(bufferLength);
    buffer = buffer.leftJustified(bufferLength, u' ');
    return buffer.left(boxes).leftJustified(boxes, u' ');
}

QString returnPageLayoutPath(int page)
{
    return page == 1 ? u":/layouts/Rdhn1.json"_s : u":/layouts/Rdhn2.json"_s;
}

// The layouts are read once; each report works on its own copy.
static report::ReportLayout layoutOf(int page)
{
    initLayoutResources();
    if (page != 1 && page != 2)
        throw report::ReportError(u"Přiznání nemá stranu "_s + QString::number(page) + u'.');
    static std::optional<report::ReportLayout> read[2];
    std::optional<report::ReportLayout> &layout = read[page - 1];
    if (!layout)
        layout = report::loadLayout(returnPageLayoutPath(page));
    return *layout;
}

ReturnPageReport::ReturnPageReport(int page, data::TDM1 &dm)
    : report::Report(layoutOf(page)), page_(page), dm_(dm), prp_(*dm.Prp), dtabn1_(*dm.Dtabn1), dtabn2_(*dm.Dtabn2),
      dtabn3_(*dm.Dtabn3)
{
    setDataSource(u"Prp"_s, &prp_);
    setDataSource(u"Dtabn1"_s, &dtabn1_);
    setDataSource(u"Dtabn2"_s, &dtabn2_);
    setDataSource(u"Dtabn3"_s, &dtabn3_);
}

void ReturnPageReport::fill()
{
    if (page_ == 1) {
        fillPage1();
        return;
    }
    const bool percent = dm_.Prp->isActive() && !dm_.Prp->isEmpty() && dm_.Prp->field(u"K1p"_s).asBoolean();
    setCoefficientFormat(percent ? u"0.##"_s : u"0.00"_s);
}

void ReturnPageReport::fillPage1()
{
    engine::Table &prp = *dm_.Prp;
    for (const BoxRow &row : kBoxRows) {
        const QString chars = boxRowText(fieldText(prp, utf16Text(row.field)), row.buffer, row.boxes);
        for (int i = 0; i < row.boxes; ++i)
            setLabelText(utf16Text(row.prefix) + QString::number(i + 1), chars.at(i) == u' ' ? QString() : QString(chars.at(i)));
    }
    const QString date = boxRowText(fieldText(prp, u"Ddp"_s), 10, 10);
    for (int i = 0; i < 8; ++i) {
        const QChar c = date.at(kDateCharacters[i]);
        setLabelText(u"QRLabelDat"_s + QString::number(i + 1), c == u' ' ? QString() : QString(c));
    }
    setLabelText(u"QRLabelPcpl"_s, fieldText(prp, u"Pcp"_s) + u'/' + fieldText(prp, u"Pcl"_s));
}

void ReturnPageReport::setCoefficientFormat(const QString &format)
{
    for (const char16_t *name : {u"QRDBTextC550k", u"QRDBTextC560k"})
        if (report::ReportItem *i = item(utf16Text(name)))
            i->format = format;
}

void ReturnPageReport::applyOffsets(int topMm, int leftMm)
{
    setPageHeaderHeight(report::headerHeightFromMm(topMm));
    setLeftMarginMm(leftMm);
}

report::PreparedReport ReturnPageReport::prepareWithSettings()
{
    fill();
    engine::Table &dmt = *dm_.Dmt;
    const bool hasRow = dmt.isActive() && !dmt.isEmpty();
    applyOffsets(hasRow ? dmt.field(u"Dpt"_s).asInteger() : 0, hasRow ? dmt.field(u"Dpl"_s).asInteger() : 0);
    report::PreparedReport out = prepare();
    if (page_ == 2)
        setCoefficientFormat(u"0.##"_s);
    return out;
}

report::PreparedReport prepareReturnPage(data::TDM1 &dm, int page, int typPisma)
{
    ReturnPageReport report(page, dm);
    if (typPisma == 1)
        report::PrevodPisma1(report.layout());
    return report.prepareWithSettings();
}

}  // namespace rur::print
