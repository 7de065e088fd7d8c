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

// The published schema of the filing file DPHDP3, as the program carries it.
QByteArray filingSchemaText();

// The rule of an attribute of an element of the schema; a default rule for one the schema
// does not declare.
AttributeRule attributeRule(const QString &element, const QString &attribute);

// What the rule wants, in words that follow "musí být": "čtyřmístný rok", "celé číslo
// o nejvýše 3 číslicích", "datum ve tvaru dd.mm.rrrr", "text o nejvýše 14 znacích".
QString requirementText(const QString &attribute, const AttributeRule &rule);

}  // namespace rur::check
