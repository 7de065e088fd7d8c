// Layout descriptions of the band report engine: one JSON file per printout, compiled in as
// a Qt resource. The format:
//
//   {
//     "name": "Rdhn1", "class": "TRdhn1Report", "caption": "RUR strana 1",
//     "page": {"size": "A4", "orientation": "portrait",             sizes: A3 A4 A5 B5 Letter
//              "margins": {"left": 0, "top": 0, "bottom": 0}},       Legal DL C5 C6; millimetres
//     "font": {"family": "Arial", "height": 11},                     the report's default font
//     "fonts": {"data": {"height": 12, "bold": true}},               named fonts, over the default
//     "bands": [
//       {"kind": "pageHeader", "name": "PageHeaderBand1", "height": 20, "width": 1200},
//       {"kind": "detail", "name": "DetailBand1", "height": 1018, "source": "Prp", "color": "#ffffff",
//        "items": [
//          {"kind": "label", "name": "QRLabel1", "left": 21, "top": 10, "text": "A. ODDÍL", "font": "title"},
//          {"kind": "shape", "name": "QRShape1", "left": 23, "top": 115, "width": 19, "height": 19},
//          {"kind": "data", "name": "QRDBTextFu", "left": 27, "top": 82, "width": 71, "field": "Prp.Fu",
//           "font": "data", "autoSize": true},
//          ...]}]
//   }
//
// Band kinds: title, pageHeader, columnHeader, detail, subDetail, groupHeader, groupFooter,
// summary, pageFooter. Band keys: kind, name, height, width, source (detail and sub-detail:
// the data source whose rows repeat the band), group (group header and footer: "Source.Field"),
// color, visible, items.
//
// Item kinds and their own keys:
//   label  text                                  fixed text; the program may fill it
//   memo   text, wordWrap, stretch, lineSpacing  several lines; stretch grows item and band;
//                                                lineSpacing: units per line (default the font's)
//   data   field ("Source.Field"), format, bool  a field: numbers in format ("0", "0.00",
//                                                "0.##"; default the field's own), Booleans
//                                                as bool[0] / bool[1] (default "X" / "")
//   expr   expr, format                          computed text (Expression.h)
//   sys    sys, text (prefix)                    pageNumber, pageCount, date, time, dateTime,
//                                                detailNumber
//   shape  shape, pen, brush                     rectangle, hline, vline, ellipse; pen width in
//                                                units (default 1); brush "#rrggbb" fills
// Keys of every item: kind, name, left, top, width, height (units; height 0 or absent: the
// font's line height), font (a name from "fonts" or an object of family, height, bold,
// italic, underline, color, taken over the default font), align (left, right, center),
// autoSize (the width follows the text; right-aligned items keep their right edge, centred
// ones their centre), visible. Unknown keys and values are refused, so that a mistyped layout
// fails loudly instead of printing something else.
#include "report/LayoutLoader.h"

#include "report/ReportError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace rur::report {

namespace {

constexpr int kMaxCoordinate = 100000;

class Reader {
public:
    explicit Reader(QString origin) : origin_(std::move(origin)) {}

    [[noreturn]] void fail(const QString &what) const
    {
        throw ReportError(u"Popis sestavy "_s + origin_ + u" je poškozen: "_s + what);
    }

    void onlyKeys(const QJsonObject &o, const QSet<QString> &allowed, const QString &where) const
    {
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!allowed.contains(it.key()))
                fail(u"neznámý klíč \""_s + it.key() + u"\" v "_s + where + u'.');
    }

    QString text(const QJsonObject &o, const QString &key, const QString &where, const QString &def = {}) const
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return def;
        if (!v.isString())
            fail(u"\""_s + key + u"\" v "_s + where + u" má být text."_s);
        return v.toString();
    }

    int integer(const QJsonObject &o, const QString &key, const QString &where, int def = 0, int min = -kMaxCoordinate,
                int max = kMaxCoordinate) const
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return def;
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!v.isDouble() || d != std::floor(d) || d < min || d > max)
            fail(u"\""_s + key + u"\" v "_s + where + u" má být celé číslo od "_s + QString::number(min) + u" do "_s
                 + QString::number(max) + u'.');
        return int(d);
    }

    double number(const QJsonObject &o, const QString &key, const QString &where, double def, double min,
                  double max) const
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return def;
        if (!v.isDouble() || v.toDouble() < min || v.toDouble() > max)
            fail(u"\""_s + key + u"\" v "_s + where + u" má být číslo od "_s + QString::number(min) + u" do "_s
                 + QString::number(max) + u'.');
        return v.toDouble();
    }

    bool flag(const QJsonObject &o, const QString &key, const QString &where, bool def) const
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return def;
        if (!v.isBool())
            fail(u"\""_s + key + u"\" v "_s + where + u" má být true nebo false."_s);
        return v.toBool();
    }

    QColor color(const QJsonObject &o, const QString &key, const QString &where) const
    {
        const QString name = text(o, key, where);
        if (name.isEmpty())
            return {};
        const QColor c = QColor::fromString(name);
        if (!c.isValid())
            fail(u"neplatná barva \""_s + name + u"\" v "_s + where + u'.');
        return c;
    }

    template <typename T>
    T choice(const QJsonObject &o, const QString &key, const QString &where, const QList<std::pair<QString, T>> &values,
             T def) const
    {
        if (o.value(key).isUndefined())
            return def;
        const QString name = text(o, key, where);
        for (const auto &[n, v] : values)
            if (n == name)
                return v;
        fail(u"neznámá hodnota \""_s + name + u"\" klíče \""_s + key + u"\" v "_s + where + u'.');
    }

    FontSpec font(const QJsonObject &o, const FontSpec &base, const QString &where) const
    {
        onlyKeys(o, {u"family"_s, u"height"_s, u"bold"_s, u"italic"_s, u"underline"_s, u"color"_s}, where);
        FontSpec f = base;
        f.family = text(o, u"family"_s, where, base.family);
        f.height = integer(o, u"height"_s, where, base.height, 1, 1000);
        f.bold = flag(o, u"bold"_s, where, base.bold);
        f.italic = flag(o, u"italic"_s, where, base.italic);
        f.underline = flag(o, u"underline"_s, where, base.underline);
        if (const QColor c = color(o, u"color"_s, where); c.isValid())
            f.color = c;
        return f;
    }

    QString origin_;
};

const QList<std::pair<QString, BandKind>> kBandKinds = {
    {u"title"_s, BandKind::Title},         {u"pageHeader"_s, BandKind::PageHeader},
    {u"columnHeader"_s, BandKind::ColumnHeader}, {u"detail"_s, BandKind::Detail},
    {u"subDetail"_s, BandKind::SubDetail}, {u"groupHeader"_s, BandKind::GroupHeader},
    {u"groupFooter"_s, BandKind::GroupFooter}, {u"summary"_s, BandKind::Summary},
    {u"pageFooter"_s, BandKind::PageFooter},
};

const QList<std::pair<QString, ItemKind>> kItemKinds = {
    {u"label"_s, ItemKind::Label}, {u"shape"_s, ItemKind::Shape}, {u"memo"_s, ItemKind::Memo},
    {u"data"_s, ItemKind::DataText}, {u"expr"_s, ItemKind::ComputedText}, {u"sys"_s, ItemKind::SystemData},
};

const QList<std::pair<QString, QPageSize::PageSizeId>> kPageSizes = {
    {u"A3"_s, QPageSize::A3}, {u"A4"_s, QPageSize::A4}, {u"A5"_s, QPageSize::A5},
    {u"B5"_s, QPageSize::B5}, {u"Letter"_s, QPageSize::Letter}, {u"Legal"_s, QPageSize::Legal},
    {u"DL"_s, QPageSize::EnvelopeDL}, {u"C5"_s, QPageSize::EnvelopeC5}, {u"C6"_s, QPageSize::EnvelopeC6},
};

ReportItem readItem(const Reader &r, const QJsonObject &o, const QString &bandName, const FontSpec &base,
                    const QMap<QString, FontSpec> &fonts)
{
    const QString where = u"položce "_s + r.text(o, u"name"_s, u"pásu "_s + bandName) + u" pásu "_s + bandName;
    r.onlyKeys(o,
               {u"kind"_s, u"name"_s, u"left"_s, u"top"_s, u"width"_s, u"height"_s, u"font"_s, u"align"_s,
                u"autoSize"_s, u"wordWrap"_s, u"stretch"_s, u"lineSpacing"_s, u"visible"_s, u"text"_s, u"field"_s, u"expr"_s,
                u"format"_s, u"bool"_s, u"sys"_s, u"shape"_s, u"pen"_s, u"brush"_s},
               where);
    if (o.value(u"kind"_s).isUndefined())
        r.fail(u"chybí \"kind\" v "_s + where + u'.');
    ReportItem i;
    i.kind = r.choice(o, u"kind"_s, where, kItemKinds, ItemKind::Label);
    i.name = r.text(o, u"name"_s, where);
    i.left = r.integer(o, u"left"_s, where);
    i.top = r.integer(o, u"top"_s, where);
    i.width = r.integer(o, u"width"_s, where, 0, 0);
    i.height = r.integer(o, u"height"_s, where, 0, 0);
    i.font = base;
    const QJsonValue font = o.value(u"font"_s);
    if (font.isString()) {
        if (!fonts.contains(font.toString()))
            r.fail(u"neznámé písmo \""_s + font.toString() + u"\" v "_s + where + u'.');
        i.font = fonts.value(font.toString());
    } else if (font.isObject()) {
        i.font = r.font(font.toObject(), base, where);
    } else if (!font.isUndefined()) {
        r.fail(u"\"font\" v "_s + where + u" má být název nebo popis písma."_s);
    }
    i.alignment = r.choice<Qt::Alignment>(
        o, u"align"_s, where, {{u"left"_s, Qt::AlignLeft}, {u"right"_s, Qt::AlignRight}, {u"center"_s, Qt::AlignHCenter}},
        Qt::AlignLeft);
    i.autoSize = r.flag(o, u"autoSize"_s, where, false);
    i.wordWrap = r.flag(o, u"wordWrap"_s, where, false);
    i.stretch = r.flag(o, u"stretch"_s, where, false);
    i.lineSpacing = r.integer(o, u"lineSpacing"_s, where, 0, 0);
    i.visible = r.flag(o, u"visible"_s, where, true);
    i.text = r.text(o, u"text"_s, where);
    i.format = r.text(o, u"format"_s, where);
    switch (i.kind) {
    case ItemKind::DataText: {
        const QString field = r.text(o, u"field"_s, where);
        const qsizetype dot = field.indexOf(u'.');
        if (dot <= 0 || dot == field.size() - 1)
            r.fail(u"\"field\" v "_s + where + u" má tvar Zdroj.Pole."_s);
        i.source = field.left(dot);
        i.field = field.mid(dot + 1);
        const QJsonValue texts = o.value(u"bool"_s);
        if (!texts.isUndefined()) {
            const QJsonArray a = texts.toArray();
            if (!texts.isArray() || a.size() != 2 || !a[0].isString() || !a[1].isString())
                r.fail(u"\"bool\" v "_s + where + u" má být dvojice textů."_s);
            i.trueText = a[0].toString();
            i.falseText = a[1].toString();
        }
        break;
    }
    case ItemKind::ComputedText:
        i.expression = r.text(o, u"expr"_s, where);
        if (i.expression.trimmed().isEmpty())
            r.fail(u"chybí \"expr\" v "_s + where + u'.');
        break;
    case ItemKind::SystemData:
        i.system = r.choice(o, u"sys"_s, where,
                            {{u"pageNumber"_s, SystemDataKind::PageNumber}, {u"pageCount"_s, SystemDataKind::PageCount},
                             {u"date"_s, SystemDataKind::Date}, {u"time"_s, SystemDataKind::Time},
                             {u"dateTime"_s, SystemDataKind::DateTime}, {u"detailNumber"_s, SystemDataKind::DetailNumber}},
                            SystemDataKind::PageNumber);
        break;
    case ItemKind::Shape:
        i.shape = r.choice(o, u"shape"_s, where,
                           {{u"rectangle"_s, ShapeKind::Rectangle}, {u"hline"_s, ShapeKind::HorizontalLine},
                            {u"vline"_s, ShapeKind::VerticalLine}, {u"ellipse"_s, ShapeKind::Ellipse}},
                           ShapeKind::Rectangle);
        i.penWidth = r.number(o, u"pen"_s, where, 1.0, 0.0, 100.0);
        i.brush = r.color(o, u"brush"_s, where);
        break;
    case ItemKind::Label:
    case ItemKind::Memo: break;
    }
    return i;
}

}  // namespace

ReportLayout parseLayout(const QByteArray &json, const QString &origin)
{
    Reader r(origin);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        r.fail(error.errorString() + u" (znak "_s + QString::number(error.offset) + u")."_s);
    if (!doc.isObject())
        r.fail(u"popis není objekt."_s);
    const QJsonObject root = doc.object();
    const QString top = u"popisu"_s;
    r.onlyKeys(root, {u"name"_s, u"class"_s, u"caption"_s, u"page"_s, u"font"_s, u"fonts"_s, u"bands"_s}, top);

    ReportLayout layout;
    layout.name = r.text(root, u"name"_s, top, origin);
    layout.className = r.text(root, u"class"_s, top);
    layout.caption = r.text(root, u"caption"_s, top);

    const QJsonObject page = root.value(u"page"_s).toObject();
    r.onlyKeys(page, {u"size"_s, u"orientation"_s, u"margins"_s}, u"stránce"_s);
    layout.pageSize = r.choice(page, u"size"_s, u"stránce"_s, kPageSizes, QPageSize::A4);
    layout.orientation = r.choice(page, u"orientation"_s, u"stránce"_s,
                                  {{u"portrait"_s, QPageLayout::Portrait}, {u"landscape"_s, QPageLayout::Landscape}},
                                  QPageLayout::Portrait);
    const QJsonObject margins = page.value(u"margins"_s).toObject();
    r.onlyKeys(margins, {u"left"_s, u"top"_s, u"bottom"_s}, u"okrajích"_s);
    layout.leftMarginMm = r.number(margins, u"left"_s, u"okrajích"_s, 0, -1000, 1000);
    layout.topMarginMm = r.number(margins, u"top"_s, u"okrajích"_s, 0, 0, 1000);
    layout.bottomMarginMm = r.number(margins, u"bottom"_s, u"okrajích"_s, 0, 0, 1000);

    layout.font = r.font(root.value(u"font"_s).toObject(), FontSpec(), u"písmu sestavy"_s);
    QMap<QString, FontSpec> fonts;
    const QJsonObject named = root.value(u"fonts"_s).toObject();
    for (auto it = named.begin(); it != named.end(); ++it)
        fonts.insert(it.key(), r.font(it.value().toObject(), layout.font, u"písmu "_s + it.key()));

    const QJsonValue bands = root.value(u"bands"_s);
    if (!bands.isArray())
        r.fail(u"chybí seznam pásů \"bands\"."_s);
    QSet<QString> names;
    for (const QJsonValue &bv : bands.toArray()) {
        if (!bv.isObject())
            r.fail(u"pás není objekt."_s);
        const QJsonObject b = bv.toObject();
        ReportBand band;
        band.name = r.text(b, u"name"_s, u"pásu"_s);
        const QString where = u"pásu "_s + band.name;
        r.onlyKeys(b,
                   {u"kind"_s, u"name"_s, u"height"_s, u"width"_s, u"source"_s, u"group"_s, u"color"_s, u"visible"_s,
                    u"items"_s},
                   where);
        if (b.value(u"kind"_s).isUndefined())
            r.fail(u"chybí \"kind\" v "_s + where + u'.');
        band.kind = r.choice(b, u"kind"_s, where, kBandKinds, BandKind::Detail);
        band.height = r.integer(b, u"height"_s, where, 0, 0);
        band.width = r.integer(b, u"width"_s, where, 0, 0);
        band.source = r.text(b, u"source"_s, where);
        band.group = r.text(b, u"group"_s, where);
        if ((band.kind == BandKind::GroupHeader || band.kind == BandKind::GroupFooter) && !band.group.contains(u'.'))
            r.fail(u"\"group\" v "_s + where + u" má tvar Zdroj.Pole."_s);
        band.color = r.color(b, u"color"_s, where);
        band.visible = r.flag(b, u"visible"_s, where, true);
        const QJsonValue items = b.value(u"items"_s);
        if (!items.isUndefined() && !items.isArray())
            r.fail(u"\"items\" v "_s + where + u" má být seznam."_s);
        for (const QJsonValue &iv : items.toArray()) {
            if (!iv.isObject())
                r.fail(u"položka v "_s + where + u" není objekt."_s);
            ReportItem item = readItem(r, iv.toObject(), band.name, layout.font, fonts);
            if (!item.name.isEmpty()) {
                if (names.contains(item.name.toLower()))
                    r.fail(u"položka "_s + item.name + u" je uvedena dvakrát."_s);
                names.insert(item.name.toLower());
            }
            band.items.append(item);
        }
        layout.bands.append(band);
    }
    return layout;
}

ReportLayout loadLayout(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(u"Popis sestavy "_s + path + u" nelze přečíst."_s);
    // Layouts are small; anything far larger is not one.
    if (file.size() > 16 * 1024 * 1024)
        throw ReportError(u"Popis sestavy "_s + path + u" je příliš velký."_s);
    return parseLayout(file.readAll(), path);
}

}  // namespace rur::report
