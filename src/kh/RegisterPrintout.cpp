#include "kh/RegisterPrintout.h"

#include "data/DataM1.h"
#include "engine/Table.h"
#include "kh/StatementFile.h"
#include "report/DataSource.h"
#include "report/LayoutLoader.h"
#include "report/Report.h"

#include <algorithm>
#include <optional>

static void initRegisterListLayout()
{
    Q_INIT_RESOURCE(layouts);
}

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

QString text(engine::Table &prp, const char16_t *field)
{
    return prp.isActive() && !prp.isEmpty() ? prp.field(QString::fromUtf16(field)).asString().trimmed() : QString();
}

QString codesOf(const Document &d)
{
    switch (d.section) {
    case Section::A1:
    case Section::B1: return d.kod;
    case Section::A4: return (d.rezim.isEmpty() ? u"0"_s : d.rezim) + u' ' + (d.oprava.isEmpty() ? u"N"_s : d.oprava);
    case Section::B2: return (d.pomer.isEmpty() ? u"N"_s : d.pomer) + u' ' + (d.oprava.isEmpty() ? u"N"_s : d.oprava);
    case Section::A2: return d.radek ? u"ř. %1"_s.arg(d.radek) : QString();
    default: return {};
    }
}

QVariantMap rowOf(const Document &d, Section reported)
{
    const QVariant empty;
    const auto amount = [&](qint64 hellers) { return hellers == 0 ? empty : QVariant(toCrowns(hellers)); };
    QVariantMap row{{u"Oddil"_s, sectionName(reported)},
                    {u"Nazev"_s, sectionCaption(reported)},
                    {u"Partner"_s, d.dic.isEmpty() ? (d.stat + u' ' + d.vatid).trimmed() : d.dic},
                    {u"Doklad"_s, d.doklad},
                    {u"Datum"_s, d.datum.isValid() ? QVariant(d.datum) : empty},
                    {u"Kody"_s, codesOf(d)},
                    {u"Pozn"_s, reported != d.section ? u"z "_s + sectionName(d.section) : QString()}};
    for (int i = 0; i < 3; ++i) {
        row.insert(u"Zaklad%1"_s.arg(i + 1), amount(d.base[i]));
        row.insert(u"Dan%1"_s.arg(i + 1), amount(d.tax[i]));
    }
    return row;
}

}  // namespace

QString registerListLayoutPath()
{
    return u":/layouts/Rkh.json"_s;
}

report::PreparedReport prepareRegisterList(data::TDM1 &dm, QChar form, int typPisma)
{
    initRegisterListLayout();
    static std::optional<report::ReportLayout> layout;
    if (!layout)
        layout = report::loadLayout(registerListLayoutPath());
    report::Report list(*layout);
    if (typPisma == 1)
        report::PrevodPisma1(list.layout());

    const QList<Document> documents = loadRegister(dm);
    QList<std::pair<Section, const Document *>> ordered;
    ordered.reserve(documents.size());
    for (const Document &d : documents)
        ordered.append({reportedIn(d), &d});
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<QVariantMap> rows;
    rows.reserve(ordered.size());
    for (const auto &[section, d] : std::as_const(ordered))
        rows.append(rowOf(*d, section));
    QMap<QString, QString> formats;
    for (int i = 1; i <= 3; ++i) {
        formats.insert(u"Zaklad%1"_s.arg(i), u"0.00"_s);
        formats.insert(u"Dan%1"_s.arg(i), u"0.00"_s);
    }
    report::RowListSource source(std::move(rows), formats);
    list.setDataSource(u"KhQr"_s, &source);

    engine::Table &prp = *dm.Prp;
    const QString firm = text(prp, u"Ojp3");
    list.setLabelText(u"QRLabelPoplatnik"_s,
                      firm.isEmpty() ? (text(prp, u"Tia") + u' ' + text(prp, u"Jmb") + u' ' + text(prp, u"Pra")).simplified()
                                     : firm);
    list.setLabelText(u"QRLabelDic"_s, u"DIČ: "_s + text(prp, u"Dic"));
    list.setLabelText(u"QRLabelObdobi"_s, (text(prp, u"Obd") + u' ' + text(prp, u"R")).trimmed());
    list.setLabelText(u"QRLabelForma"_s, u"Kontrolní hlášení "_s + formCaption(form));
    engine::Table &dmt = *dm.Dmt;
    list.setLeftMarginMm(dmt.isActive() && !dmt.isEmpty() ? dmt.field(u"Dpl"_s).asInteger() : 0);
    return list.prepare();
}

}  // namespace rur::kh
