// The filing file against the published schema, with libxml2: the schema is compiled once per
// run; each file is parsed without network access or entity expansion, its empty attributes
// are taken out (the writer keeps them on purpose, the portal reads them as absent), and every
// violation becomes one Czech finding per attribute.
#include "check/FilingFields.h"
#include "check/ReturnCheck.h"
#include "check/SchemaRules.h"

#include <QRegularExpression>
#include <QSet>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace rur::check {

namespace {

template <typename T, void (*Free)(T *)>
struct Deleter {
    void operator()(T *p) const { Free(p); }
};
using SchemaPtr = std::unique_ptr<xmlSchema, Deleter<xmlSchema, xmlSchemaFree>>;
using ParserPtr = std::unique_ptr<xmlSchemaParserCtxt, Deleter<xmlSchemaParserCtxt, xmlSchemaFreeParserCtxt>>;
using ValidPtr = std::unique_ptr<xmlSchemaValidCtxt, Deleter<xmlSchemaValidCtxt, xmlSchemaFreeValidCtxt>>;
using DocPtr = std::unique_ptr<xmlDoc, Deleter<xmlDoc, xmlFreeDoc>>;
using ReaderPtr = std::unique_ptr<xmlParserCtxt, Deleter<xmlParserCtxt, xmlFreeParserCtxt>>;

QString text(const xmlChar *value)
{
    return value ? QString::fromUtf8(reinterpret_cast<const char *>(value)) : QString();
}

void ignoreError(void *, xmlErrorPtr) {}

SchemaPtr compiledSchema(FilingSchema which)
{
    xmlInitParser();
    const QByteArray xsd = filingSchemaText(which);
    ParserPtr parser(xmlSchemaNewMemParserCtxt(xsd.constData(), int(xsd.size())));
    if (!parser)
        return SchemaPtr();
    xmlSchemaSetParserStructuredErrors(parser.get(), ignoreError, nullptr);
    return SchemaPtr(xmlSchemaParse(parser.get()));
}

// The compiled schema; null when the schema the program carries can't be read (a broken
// build), which the check reports instead of passing the file.
xmlSchema *filingSchema(FilingSchema which)
{
    if (which == FilingSchema::Dphkh1) {
        static const SchemaPtr dphkh1 = compiledSchema(FilingSchema::Dphkh1);
        return dphkh1.get();
    }
    static const SchemaPtr dphdp3 = compiledSchema(FilingSchema::Dphdp3);
    return dphdp3.get();
}

// The writer keeps empty attributes; the portal reads them as absent.
void dropEmptyAttributes(xmlNode *node)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        xmlAttr *attribute = node->properties;
        while (attribute) {
            xmlAttr *next = attribute->next;
            const xmlNode *value = attribute->children;
            if (!value || (value->type == XML_TEXT_NODE && (!value->content || !*value->content) && !value->next))
                xmlRemoveProp(attribute);
            attribute = next;
        }
        dropEmptyAttributes(node->children);
    }
}

struct Violation {
    const xmlNode *element = nullptr;
    QString elementName;
    QString attribute;
    int code = 0;
    QString message;
};

void collectViolation(void *sink, xmlErrorPtr error)
{
    if (!error || error->level < XML_ERR_ERROR)
        return;
    Violation v;
    v.code = error->code;
    v.message = QString::fromUtf8(error->message).trimmed();
    if (const auto *node = static_cast<const xmlNode *>(error->node)) {
        if (node->type == XML_ATTRIBUTE_NODE) {
            v.attribute = text(node->name);
            node = node->parent;
        }
        v.element = node;
        v.elementName = node ? text(node->name) : QString();
    }
    if (v.attribute.isEmpty()) {
        // A missing or an unknown attribute is named in str1; a bad value only in the text.
        if (error->code == XML_SCHEMAV_CVC_COMPLEX_TYPE_4 || error->code == XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_1) {
            v.attribute = QString::fromUtf8(error->str1);
        } else {
            static const QRegularExpression named(u"attribute '([^']+)'"_s);
            v.attribute = named.match(v.message).captured(1);
        }
    }
    static_cast<QList<Violation> *>(sink)->append(v);
}

// "VetaR 12" for a line of the attachment, "VetaA4 3" for a numbered line of the control
// statement, else the element's name.
QString elementLabel(const Violation &v)
{
    if (v.element) {
        for (const char *numbering : {"poradi", "c_radku"}) {
            xmlChar *value = xmlGetProp(const_cast<xmlNode *>(v.element), reinterpret_cast<const xmlChar *>(numbering));
            const QString number = text(value);
            xmlFree(value);
            if (!number.isEmpty())
                return v.elementName + u' ' + number;
        }
    }
    return v.elementName;
}

Finding findingOf(const Violation &v, FilingSchema schema)
{
    Finding f;
    f.severity = Severity::Error;
    const QString element = elementLabel(v);
    if (v.attribute.isEmpty()) {
        f.message = (element.isEmpty() ? QString() : element + u": "_s) + u"obsah neodpovídá schématu ("_s + v.message
                    + u")."_s;
        f.where = element;
        return f;
    }
    if (v.code == XML_SCHEMAV_CVC_COMPLEX_TYPE_4)
        f.message = element + u": chybí povinný atribut "_s + v.attribute + u'.';
    else if (v.code == XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_1)
        f.message = element + u": atribut "_s + v.attribute + u" schéma nezná."_s;
    else
        f.message = element + u": atribut "_s + v.attribute + u" musí být "_s
                    + requirementText(v.attribute, attributeRule(v.elementName, v.attribute, schema)) + u'.';
    // Where the return's attributes are typed; the control statement names its rows itself.
    const FilingSource source = schema == FilingSchema::Dphdp3 ? filingSource(v.elementName, v.attribute) : FilingSource();
    f.table = source.table;
    f.field = source.field;
    f.where = source.where.isEmpty() ? element : source.where;
    return f;
}

}  // namespace

QList<Finding> checkSchema(const QByteArray &xml, FilingSchema which)
{
    xmlSchema *schema = filingSchema(which);
    if (!schema)
        return {{Severity::Error, QString(), u"Schéma souboru pro elektronické podání nelze načíst."_s, {}, {}}};

    ReaderPtr reader(xmlNewParserCtxt());
    if (!reader)
        return {{Severity::Error, QString(), u"Na kontrolu souboru není dost paměti."_s, {}, {}}};
    DocPtr doc(xmlCtxtReadMemory(reader.get(), xml.constData(), int(xml.size()), "filing.xml", nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc) {
        const xmlError *error = xmlCtxtGetLastError(reader.get());
        const QString at = error && error->line > 0 ? u" (řádek "_s + QString::number(error->line) + u')' : QString();
        return {{Severity::Error, QString(),
                 u"Soubor pro elektronické podání není správně utvořený XML"_s + at + u'.', {}, {}}};
    }
    dropEmptyAttributes(xmlDocGetRootElement(doc.get()));

    QList<Violation> violations;
    ValidPtr validator(xmlSchemaNewValidCtxt(schema));
    if (!validator)
        return {{Severity::Error, QString(), u"Na kontrolu souboru není dost paměti."_s, {}, {}}};
    xmlSchemaSetValidStructuredErrors(validator.get(), collectViolation, &violations);
    const int rc = xmlSchemaValidateDoc(validator.get(), doc.get());

    // libxml2 may report one bad value twice (its facet and its type): one finding each.
    QList<Finding> findings;
    QSet<QString> seen;
    for (const Violation &v : std::as_const(violations)) {
        const QString key = QString::number(reinterpret_cast<quintptr>(v.element)) + u'/' + v.attribute + u'/'
                            + (v.attribute.isEmpty() ? v.message : QString());
        if (!seen.contains(key)) {
            seen.insert(key);
            findings.append(findingOf(v, which));
        }
    }
    if (rc != 0 && findings.isEmpty())
        findings.append({Severity::Error, QString(), u"Soubor pro elektronické podání neodpovídá schématu."_s, {}, {}});
    return findings;
}

}  // namespace rur::check
