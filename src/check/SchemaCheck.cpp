// A filing file against its published schema, with libxml2: the schema is compiled once per
// run; the file is validated while it is parsed (no document tree is built, which makes the
// check of a large control statement several times faster), without network access or entity
// expansion; its empty attributes are taken out before the validator sees them (the writer
// keeps them on purpose, the portal reads them as absent), and every violation becomes one
// Czech finding per attribute.
#include "check/FilingFields.h"
#include "check/ReturnCheck.h"
#include "check/SchemaRules.h"

#include <QRegularExpression>
#include <QSet>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlschemas.h>

#include <memory>
#include <vector>

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
using ParserCtxtPtr = std::unique_ptr<xmlParserCtxt, Deleter<xmlParserCtxt, xmlFreeParserCtxt>>;

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

// The element the parser stands in (the last one started), its numbering attribute ("poradi"
// of the attachment's lines, "c_radku" of the control statement's rows) and its position in
// the file, for the findings the validator reports while the element starts.
struct Position {
    QString element;
    QString number;
    qint64 index = 0;
};

struct Violation {
    qint64 index = -1;  // of the element; -1 when the element is not the one started last
    QString elementName;
    QString number;
    QString attribute;
    int code = 0;
    QString message;
};

// The validation of one file: what the parser's callbacks and the validator's errors share.
struct Validation {
    xmlSAXHandler *validator = nullptr;  // the schema's handlers, which the filter hands on to
    Position position;
    QList<Violation> violations;
};
thread_local Validation *current = nullptr;

QString text(const xmlChar *value, qsizetype size = -1)
{
    return value ? QString::fromUtf8(reinterpret_cast<const char *>(value), size) : QString();
}

// Starts an element for the validator without its empty attributes, and notes where it is.
void startElement(void *ctx, const xmlChar *localname, const xmlChar *prefix, const xmlChar *uri, int namespaces,
                  const xmlChar **namespaceList, int attributes, int defaulted, const xmlChar **list)
{
    Validation &v = *current;
    v.position.element = text(localname);
    v.position.number.clear();
    ++v.position.index;
    // Each attribute is five pointers: name, prefix, URI, value and the value's end.
    std::vector<const xmlChar *> kept;
    kept.reserve(size_t(attributes) * 5);
    int count = 0;
    for (int i = 0; i < attributes; ++i) {
        const xmlChar **a = list + 5 * i;
        if (a[3] == a[4])
            continue;
        if (xmlStrEqual(a[0], reinterpret_cast<const xmlChar *>("poradi"))
            || xmlStrEqual(a[0], reinterpret_cast<const xmlChar *>("c_radku")))
            v.position.number = text(a[3], a[4] - a[3]);
        kept.insert(kept.end(), a, a + 5);
        ++count;
    }
    Q_UNUSED(defaulted);
    v.validator->startElementNs(ctx, localname, prefix, uri, namespaces, namespaceList, count, 0, kept.data());
}

void collectViolation(void *, xmlErrorPtr error)
{
    if (!error || error->level < XML_ERR_ERROR || !current)
        return;
    Validation &validation = *current;
    Violation v;
    v.code = error->code;
    v.message = QString::fromUtf8(error->message).trimmed();
    // The element the message names; the one the parser stands in unless another is named
    // (an element that ends, or a child the content does not allow).
    static const QRegularExpression element(u"^Element '([^']+)'"_s);
    const QString named = element.match(v.message).captured(1);
    v.elementName = named.isEmpty() ? validation.position.element : named;
    if (v.elementName == validation.position.element) {
        v.index = validation.position.index;
        v.number = validation.position.number;
    }
    // A missing or an unknown attribute is named in str1; a bad value in the text.
    if (error->code == XML_SCHEMAV_CVC_COMPLEX_TYPE_4 || error->code == XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_1) {
        v.attribute = QString::fromUtf8(error->str1);
    } else {
        static const QRegularExpression attribute(u"attribute '([^']+)'"_s);
        v.attribute = attribute.match(v.message).captured(1);
    }
    validation.violations.append(v);
}

// "VetaR 12" for a line of the attachment, "VetaA4 3" for a numbered line of the control
// statement, else the element's name.
QString elementLabel(const Violation &v)
{
    return v.number.isEmpty() ? v.elementName : v.elementName + u' ' + v.number;
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
    const Finding noMemory{Severity::Error, QString(), u"Na kontrolu souboru není dost paměti."_s, {}, {}};

    ValidPtr validator(xmlSchemaNewValidCtxt(schema));
    if (!validator)
        return {noMemory};
    xmlSchemaSetValidStructuredErrors(validator.get(), collectViolation, nullptr);
    // The schema's handlers take the parser's events; the filter of empty attributes stands
    // before them.
    xmlSAXHandler *schemaHandlers = nullptr;
    void *schemaData = nullptr;
    xmlSchemaSAXPlugPtr plug = xmlSchemaSAXPlug(validator.get(), &schemaHandlers, &schemaData);
    if (!plug)
        return {noMemory};
    xmlSAXHandler handlers = *schemaHandlers;
    handlers.startElementNs = startElement;
    ParserCtxtPtr parser(xmlCreateMemoryParserCtxt(xml.constData(), int(xml.size())));
    if (!parser) {
        xmlSchemaSAXUnplug(plug);
        return {noMemory};
    }
    xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlSAXHandler *ownHandlers = parser->sax;
    parser->sax = &handlers;
    parser->userData = schemaData;

    Validation validation;
    validation.validator = schemaHandlers;
    current = &validation;
    xmlParseDocument(parser.get());
    current = nullptr;
    parser->sax = ownHandlers;
    const bool wellFormed = parser->wellFormed;
    const xmlError *parseError = xmlCtxtGetLastError(parser.get());
    const int line = parseError ? parseError->line : 0;
    const bool valid = xmlSchemaIsValid(validator.get()) == 1;
    xmlSchemaSAXUnplug(plug);
    if (!wellFormed) {
        const QString at = line > 0 ? u" (řádek "_s + QString::number(line) + u')' : QString();
        return {{Severity::Error, QString(), u"Soubor pro elektronické podání není správně utvořený XML"_s + at + u'.',
                 {}, {}}};
    }

    // libxml2 may report one bad value twice (its facet and its type): one finding each.
    QList<Finding> findings;
    QSet<QString> seen;
    for (const Violation &v : std::as_const(validation.violations)) {
        const QString key = QString::number(v.index) + u'/' + v.elementName + u'/' + v.attribute + u'/'
                            + (v.attribute.isEmpty() ? v.message : QString());
        if (!seen.contains(key)) {
            seen.insert(key);
            findings.append(findingOf(v, which));
        }
    }
    if (!valid && findings.isEmpty())
        findings.append({Severity::Error, QString(), u"Soubor pro elektronické podání neodpovídá schématu."_s, {}, {}});
    return findings;
}

}  // namespace rur::check
