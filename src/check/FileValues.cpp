// The filing file read back as values: its attributes, the rules their values must keep that
// the schema leaves open, and the fields of the return they stand for, so that the content
// rules can judge a file as it lies on the disk (one edited by hand, or by another program).
#include "check/FilingFields.h"
#include "check/ReturnCheck.h"
#include "datasets/Periods.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace rur::check {

namespace {

QString attributeText(const xmlChar *value)
{
    return value ? QString::fromUtf8(reinterpret_cast<const char *>(value)) : QString();
}

// Attributes whose value the schema takes as any short text or number but the portal only as
// one of a few.
struct ValueRule {
    const char16_t *element;
    const char16_t *attribute;
    int lowest, highest;      // a whole number in this range, or
    const char16_t *letters;  // one of these letters
};
constexpr ValueRule kValueRules[] = {
    {u"VetaD", u"mesic", 1, 12, nullptr},
    {u"VetaD", u"ctvrt", 1, 4, nullptr},
    {u"VetaD", u"dapdph_forma", 0, 0, u"BODE"},
    {u"VetaD", u"typ_platce", 0, 0, u"PISNRD"},
    {u"VetaD", u"trans", 0, 0, u"AN"},
    {u"VetaP", u"typ_ds", 0, 0, u"FP"},
    {u"VetaP", u"zast_typ", 0, 0, u"FP"},
};

enum class ValueKind {
    Text,
    Date,
    Number,
    Coefficient,    // per cent or a share, as Prp.K1p says
    Person,         // F: yes (natural person), P: no
    Supplementary,  // dapdph_forma D or E: Dpdd1 yes, B or O: no
};

// Which field of the rows each attribute the content rules need comes from, as the filing
// file's writer takes it.
struct AttributeSource {
    const char16_t *key;  // Element/attribute
    const char16_t *field;
    ValueKind kind;
};
constexpr AttributeSource kSources[] = {
    {u"VetaD/rok", u"Prp.R", ValueKind::Text},
    {u"VetaD/d_poddp", u"Prp.Ddp", ValueKind::Date},
    {u"VetaD/d_zjist", u"Prp.D", ValueKind::Date},
    {u"VetaD/zdobd_od", u"Prp.Od1", ValueKind::Date},
    {u"VetaD/zdobd_do", u"Prp.Do1", ValueKind::Date},
    {u"VetaD/dapdph_forma", u"Prp.Dpdd1", ValueKind::Supplementary},
    {u"VetaP/c_ufo", u"Prp.Fuc", ValueKind::Number},
    {u"VetaP/typ_ds", u"Prp.Tds", ValueKind::Person},
    {u"VetaP/prijmeni", u"Prp.Pra", ValueKind::Text},
    {u"VetaP/jmeno", u"Prp.Jmb", ValueKind::Text},
    {u"VetaP/zkrobchjm", u"Prp.Ojp3", ValueKind::Text},
    {u"VetaP/opr_prijmeni", u"Prp.Zjvpr", ValueKind::Text},
    {u"VetaP/opr_jmeno", u"Prp.Zjvjm", ValueKind::Text},
    {u"VetaP/zast_kod", u"Prp.Kzs", ValueKind::Text},
    {u"VetaP/zast_typ", u"Prp.Tzs", ValueKind::Person},
    {u"VetaP/zast_jmeno", u"Prp.Zjmjm", ValueKind::Text},
    {u"VetaP/zast_prijmeni", u"Prp.Zjmpr", ValueKind::Text},
    {u"VetaP/zast_nazev", u"Prp.Zjmpo", ValueKind::Text},
    {u"VetaP/zast_ic", u"Prp.Zdeic", ValueKind::Text},
    {u"VetaP/zast_dat_nar", u"Prp.Zdedn", ValueKind::Date},
    {u"VetaP/zast_ev_cislo", u"Prp.Zdece", ValueKind::Text},
    {u"Veta1/dan23", u"Dtabn1.C210a", ValueKind::Number},
    {u"Veta1/dan5", u"Dtabn1.C215a", ValueKind::Number},
    {u"Veta1/dan_pzb23", u"Dtabn1.C220a", ValueKind::Number},
    {u"Veta1/dan_pzb5", u"Dtabn1.C225a", ValueKind::Number},
    {u"Veta1/dan_psl23_e", u"Dtabn1.C230a", ValueKind::Number},
    {u"Veta1/dan_psl5_e", u"Dtabn1.C235a", ValueKind::Number},
    {u"Veta1/dan_dzb23", u"Dtabn1.C260a", ValueKind::Number},
    {u"Veta1/dan_dzb5", u"Dtabn1.C265a", ValueKind::Number},
    {u"Veta1/dan_rpren23", u"Dtabn1.C110a", ValueKind::Number},
    {u"Veta1/dan_rpren5", u"Dtabn1.C111a", ValueKind::Number},
    {u"Veta1/dan_psl23_z", u"Dtabn1.C270a", ValueKind::Number},
    {u"Veta1/dan_psl5_z", u"Dtabn1.C275a", ValueKind::Number},
    {u"Veta5/koef_p20_nov", u"Dtabn2.C550", ValueKind::Coefficient},
    {u"Veta5/koef_p20_vypor", u"Dtabn3.C560", ValueKind::Coefficient},
    {u"Veta5/vypor_odp", u"Dtabn3.C560a", ValueKind::Number},
    {u"Veta6/dano_da", u"Dtabn3.C753", ValueKind::Number},
    {u"Veta6/dano_no", u"Dtabn3.C754", ValueKind::Number},
};

std::optional<int> wholeNumber(const QString &value)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// The value of an attribute as its field holds it; nothing when the text can't be read so.
// An empty or absent attribute is an empty field.
std::optional<QVariant> valueAsField(const QString &value, ValueKind kind, bool perCent)
{
    if (value.isEmpty())
        return QVariant();
    bool ok = true;
    switch (kind) {
    case ValueKind::Text:
        return QVariant(value);
    case ValueKind::Date: {
        // d.m.yyyy, with or without leading zeros, as the schema's date type takes it.
        const QStringList parts = value.split(u'.');
        const QDate date = parts.size() == 3 ? QDate(parts[2].toInt(), parts[1].toInt(), parts[0].toInt()) : QDate();
        return date.isValid() ? std::optional<QVariant>(date) : std::nullopt;
    }
    case ValueKind::Number:
    case ValueKind::Coefficient: {
        const double n = value.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        return QVariant(kind == ValueKind::Coefficient && perCent ? n / 100.0 : n);
    }
    case ValueKind::Person:
        if (value == u"F"_s || value == u"P"_s)
            return QVariant(value == u"F"_s);
        return std::nullopt;
    case ValueKind::Supplementary:
        if (value == u"D"_s || value == u"E"_s || value == u"B"_s || value == u"O"_s)
            return QVariant(value == u"D"_s || value == u"E"_s);
        return std::nullopt;
    }
    return std::nullopt;
}

struct DocDeleter {
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};

}  // namespace

std::optional<QHash<QString, QString>> filingAttributes(const QByteArray &xml)
{
    const std::unique_ptr<xmlDoc, DocDeleter> doc(xmlReadMemory(
        xml.constData(), int(xml.size()), "DPHDP3.xml", nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc)
        return std::nullopt;
    QHash<QString, QString> attributes;
    const xmlNode *root = xmlDocGetRootElement(doc.get());
    for (const xmlNode *form = root ? root->children : nullptr; form; form = form->next) {
        if (form->type != XML_ELEMENT_NODE)
            continue;
        for (const xmlNode *record = form->children; record; record = record->next) {
            const QString element = attributeText(record->name);
            // The attachment's lines are many and feed no rule of the content.
            if (record->type != XML_ELEMENT_NODE || element == u"VetaR"_s)
                continue;
            for (const xmlAttr *a = record->properties; a; a = a->next) {
                const QString key = element + u'/' + attributeText(a->name);
                if (attributes.contains(key))
                    continue;
                xmlChar *value = xmlNodeListGetString(doc.get(), a->children, 1);
                attributes.insert(key, attributeText(value));
                xmlFree(value);
            }
        }
    }
    return attributes;
}

QList<Finding> checkAttributeValues(const QHash<QString, QString> &attributes)
{
    QList<Finding> found;
    for (const ValueRule &rule : kValueRules) {
        const QString element = QString::fromUtf16(rule.element), attribute = QString::fromUtf16(rule.attribute);
        const QString value = attributes.value(element + u'/' + attribute);
        if (value.isEmpty())
            continue;  // absent: the schema says whether it may be
        QString wanted;
        if (rule.letters) {
            const QString letters = QString::fromUtf16(rule.letters);
            if (value.size() == 1 && letters.contains(value))
                continue;
            QStringList listed;
            for (QChar c : letters)
                listed.append(QString(c));
            wanted = listed.size() == 2 ? listed.join(u" nebo "_s) : u"jedno z písmen "_s + listed.join(u", "_s);
        } else {
            const std::optional<int> n = wholeNumber(value);
            if (!n || (*n >= rule.lowest && *n <= rule.highest))
                continue;  // not a number at all: the schema's finding
            wanted = u"číslo od %1 do %2"_s.arg(rule.lowest).arg(rule.highest);
        }
        const FilingSource source = filingSource(element, attribute);
        found.append({Severity::Error, source.where,
                      element + u": atribut "_s + attribute + u" musí být "_s + wanted + u" (je „"_s + value + u"“)."_s,
                      source.table, source.field});
    }
    return found;
}

FieldValues fieldValuesOf(const QHash<QString, QString> &attributes, bool perCent)
{
    FieldValues values;
    for (const AttributeSource &s : kSources)
        if (const std::optional<QVariant> v = valueAsField(attributes.value(QString::fromUtf16(s.key)), s.kind, perCent))
            values.insert(QString::fromUtf16(s.field), *v);
    if (const QString dic = attributes.value(u"VetaP/dic"_s); !dic.isEmpty())
        values.insert(u"Prp.Dic"_s, u"CZ"_s + dic);
    else
        values.insert(u"Prp.Dic"_s, QVariant());

    // The period: the month or the quarter by its number, as the taxpayer row names it. A
    // number outside its range has its own finding and stands for nothing here.
    const QString month = attributes.value(u"VetaD/mesic"_s), quarter = attributes.value(u"VetaD/ctvrt"_s);
    const std::optional<int> m = wholeNumber(month), q = wholeNumber(quarter);
    const bool monthRead = month.isEmpty() || (m && *m >= 1 && *m <= 12);
    const bool quarterRead = quarter.isEmpty() || (q && *q >= 1 && *q <= 4);
    if (monthRead && quarterRead) {
        values.insert(u"Prp.M"_s, month.isEmpty() ? QVariant() : QVariant(datasets::monthNames().value(*m - 1)));
        values.insert(u"Prp.Q"_s, quarter.isEmpty() ? QVariant() : QVariant(datasets::quarterNames().value(*q - 1)));
        if (!month.isEmpty() || !quarter.isEmpty())
            values.insert(u"Prp.Cislo"_s, month.isEmpty() ? *q : *m);
    }
    return values;
}

}  // namespace rur::check
