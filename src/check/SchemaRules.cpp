// The attribute rules of the published schema, read once from the schema the program carries,
// and put into words for the findings of the schema check.
#include "check/SchemaRules.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

using namespace Qt::StringLiterals;

// The schema lives in the static library rur_logic, whose linker drops the resource's object
// unless something calls its initialiser; Q_INIT_RESOURCE only works outside any namespace.
static void initCheckResource()
{
    Q_INIT_RESOURCE(check);
}

namespace rur::check {

namespace {

const xmlChar *xml(const char *text)
{
    return reinterpret_cast<const xmlChar *>(text);
}

QString xmlText(const xmlChar *value)
{
    return value ? QString::fromUtf8(reinterpret_cast<const char *>(value)) : QString();
}

QString property(xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetProp(node, xml(name));
    const QString out = xmlText(value);
    xmlFree(value);
    return out;
}

// An element of the schema language (xs:...) by its local name.
bool isXs(const xmlNode *node, const char *localName)
{
    return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, xml(localName));
}

int intProperty(xmlNode *node)
{
    bool ok = false;
    const int v = property(node, "value").toInt(&ok);
    return ok ? v : -1;
}

void readRestriction(xmlNode *restriction, AttributeRule &rule)
{
    rule.base = property(restriction, "base");
    for (xmlNode *facet = restriction->children; facet; facet = facet->next) {
        if (isXs(facet, "totalDigits"))
            rule.totalDigits = intProperty(facet);
        else if (isXs(facet, "fractionDigits"))
            rule.fractionDigits = intProperty(facet);
        else if (isXs(facet, "maxLength"))
            rule.maxLength = intProperty(facet);
        else if (isXs(facet, "pattern"))
            rule.pattern = property(facet, "value");
        else if (isXs(facet, "enumeration"))
            rule.enumeration.append(property(facet, "value"));
    }
}

AttributeRule readAttribute(xmlNode *attribute)
{
    AttributeRule rule;
    rule.required = property(attribute, "use") == u"required"_s;
    const QString type = property(attribute, "type");
    if (type.startsWith(u"xs:"_s))
        rule.base = type;
    else
        rule.typeName = type;
    for (xmlNode *child = attribute->children; child; child = child->next)
        if (isXs(child, "simpleType"))
            for (xmlNode *r = child->children; r; r = r->next)
                if (isXs(r, "restriction"))
                    readRestriction(r, rule);
    return rule;
}

// Walks the schema: every named element with the attributes declared in its complex type.
void collect(xmlNode *node, const QString &element, QHash<QString, AttributeRule> &rules)
{
    for (xmlNode *child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (isXs(child, "element")) {
            collect(child, property(child, "name"), rules);
        } else if (isXs(child, "attribute")) {
            rules.insert(element + u'/' + property(child, "name"), readAttribute(child));
        } else if (!isXs(child, "annotation")) {
            collect(child, element, rules);
        }
    }
}

QHash<QString, AttributeRule> readRules(FilingSchema which)
{
    QHash<QString, AttributeRule> rules;
    const QByteArray schema = filingSchemaText(which);
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(schema.constData(), int(schema.size()), "schema.xsd", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        &xmlFreeDoc);
    if (doc)
        collect(xmlDocGetRootElement(doc.get()), QString(), rules);
    return rules;
}

// "4 číslicích", "1 číslici"; "14 znacích", "1 znaku".
QString count(int n, const QString &one, const QString &more)
{
    return QString::number(n) + u' ' + (n == 1 ? one : more);
}

}  // namespace

QByteArray filingSchemaText(FilingSchema schema)
{
    const auto read = [](const QString &path) {
        initCheckResource();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    static const QByteArray dphdp3 = read(u":/schemas/dphdp3_epo2.xsd"_s);
    static const QByteArray dphkh1 = read(u":/schemas/dphkh1_epo2.xsd"_s);
    return schema == FilingSchema::Dphkh1 ? dphkh1 : dphdp3;
}

AttributeRule attributeRule(const QString &element, const QString &attribute, FilingSchema schema)
{
    static const QHash<QString, AttributeRule> dphdp3 = readRules(FilingSchema::Dphdp3);
    static const QHash<QString, AttributeRule> dphkh1 = readRules(FilingSchema::Dphkh1);
    return (schema == FilingSchema::Dphkh1 ? dphkh1 : dphdp3).value(element + u'/' + attribute);
}

QString requirementText(const QString &attribute, const AttributeRule &rule)
{
    if (attribute == u"rok"_s)
        return u"čtyřmístný rok"_s;
    if (rule.typeName == u"dateInMultiFormat"_s)
        return u"datum ve tvaru dd.mm.rrrr"_s;
    if (!rule.enumeration.isEmpty())
        return u"jedna z hodnot "_s + rule.enumeration.join(u", "_s);
    if (!rule.pattern.isEmpty()) {
        static const QRegularExpression digits(u"^\\[0-9\\]\\{(\\d+),(\\d+)\\}$"_s);
        if (const auto m = digits.match(rule.pattern); m.hasMatch())
            return u"číslo o "_s + m.captured(1) + u" až "_s + m.captured(2) + u" číslicích"_s;
        return u"text podle vzoru "_s + rule.pattern;
    }
    if (rule.base == u"xs:decimal"_s && rule.totalDigits > 0) {
        const QString digits = count(rule.totalDigits, u"číslici"_s, u"číslicích"_s);
        if (rule.fractionDigits > 0)
            return u"číslo o nejvýše "_s + digits + u", z toho nejvýše "_s + QString::number(rule.fractionDigits)
                   + u" za desetinnou tečkou"_s;
        return u"celé číslo o nejvýše "_s + digits;
    }
    if (rule.base == u"xs:decimal"_s)
        return u"číslo"_s;
    if (rule.maxLength >= 0)
        return u"text o nejvýše "_s + count(rule.maxLength, u"znaku"_s, u"znacích"_s);
    return u"hodnota, kterou schéma připouští"_s;
}

}  // namespace rur::check
