#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace rur::check {

// What the published schema wants of one attribute, read from its declaration.
struct AttributeRule {
    bool required = false;
    QString typeName;      // a named type of the schema ("dateInMultiFormat"), else empty
    QString base;          // "xs:decimal", "xs:string"
    int totalDigits = -1;
    int fractionDigits = -1;
    int maxLength = -1;
    QString pattern;
    QStringList enumeration;
};

// The published schemas the program carries: the return's filing file DPHDP3 and the control
// statement DPHKH1.
enum class FilingSchema { Dphdp3, Dphkh1 };

// The published schema of a filing file, as the program carries it.
QByteArray filingSchemaText(FilingSchema schema = FilingSchema::Dphdp3);

// The rule of an attribute of an element of the schema; a default rule for one the schema
// does not declare.
AttributeRule attributeRule(const QString &element, const QString &attribute,
                            FilingSchema schema = FilingSchema::Dphdp3);

// What the rule wants, in words that follow "musí být": "čtyřmístný rok", "celé číslo
// o nejvýše 3 číslicích", "datum ve tvaru dd.mm.rrrr", "text o nejvýše 14 znacích".
QString requirementText(const QString &attribute, const AttributeRule &rule);

}  // namespace rur::check
