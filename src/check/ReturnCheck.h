#pragma once

// The check of the current return before it is filed: the filing file against the published
// schema, and the content rules a schema cannot express (the VAT number, the period and the
// filing date, the tax office, control values, lines 64 and 65, coefficients, supplementary
// returns, the yearly settlement).

#include "check/SchemaRules.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace rur::data {
class TDM1;
}

namespace rur::check {

enum class Severity { Warning, Error };

// One thing the check found. `where` names the line or field as the user sees it ("ř. 21",
// "DIČ"); `message` is the whole sentence, starting with the place or, for the schema, with
// the element ("VetaD: atribut rok musí být čtyřmístný rok."). `table` and `field` say where
// it is fixed (a field of Prp, Prppz, Dtabn1, Dtabn2 or Dtabn3); empty when nowhere.
struct Finding {
    Severity severity = Severity::Error;
    QString where;
    QString message;
    QString table;
    QString field;
    friend bool operator==(const Finding &, const Finding &) = default;
};

}  // namespace rur::check

// Moved in memory as a block when a list of them grows (a large register can bring tens of
// thousands).
Q_DECLARE_TYPEINFO(rur::check::Finding, Q_RELOCATABLE_TYPE);

namespace rur::check {

// "Chyba" or "Upozornění".
QString severityText(Severity severity);
// A finding on one line for rur-cli, with the field after the place: "Chyba: DIČ (Prp.Dic):
// není vyplněno."
QString findingLine(const Finding &finding);
bool hasErrors(const QList<Finding> &findings);
int countOf(const QList<Finding> &findings, Severity severity);

inline constexpr char16_t kNothingFound[] = u"Kontrola nenašla v přiznání nic k opravě.";
// "Kontrola našla 2 chyby a 1 upozornění.", or the text above when there is nothing.
QString summaryText(const QList<Finding> &findings);

// Values that stand in for fields of the rows, by "Table.Field" (those a filing file carries).
using FieldValues = QHash<QString, QVariant>;

// The content rules over the current rows of Prp, Dtabn1, Dtabn2 and Dtabn3 as they are now,
// or over the given values where there are some; `today` decides what lies in the future.
QList<Finding> checkContent(data::TDM1 &dm, const QDate &today, const FieldValues &values = {});

// The attributes of a filing file, by "Element/attribute" (VetaD, VetaP and Veta1 to Veta6,
// as written, empty ones included); nothing when the file is not well-formed XML.
std::optional<QHash<QString, QString>> filingAttributes(const QByteArray &xml);
// What the schema leaves open but the portal refuses in the attributes themselves: a month
// outside 1 to 12, a letter that names no kind of return or taxpayer.
QList<Finding> checkAttributeValues(const QHash<QString, QString> &attributes);
// The fields the content rules read, as the file's attributes give them; an attribute that
// can't be read as its field gives nothing (its own finding says why). `perCent` says how the
// coefficients were written (Prp.K1p, which the file does not carry).
FieldValues fieldValuesOf(const QHash<QString, QString> &attributes, bool perCent);

// A filing file against its published schema (DPHDP3 unless told). Attributes written empty
// count as absent. A file that is not well-formed gives one finding.
QList<Finding> checkSchema(const QByteArray &xml, FilingSchema schema = FilingSchema::Dphdp3);

// Content findings followed by the schema findings about fields that no content finding
// names already (one fault, one finding); errors before warnings, otherwise in form order.
QList<Finding> mergeFindings(const QList<Finding> &content, const QList<Finding> &schema);

// The checks of a return and its filing file: the content rules on the rows, the rules of
// the attributes and the content rules again on the file's own values (what they find anew),
// and the schema.
QList<Finding> checkFilingFile(data::TDM1 &dm, const QByteArray &xml, const QDate &today);

// The check of the current return: re-reads the rows not being edited (so that calculated
// fields are fresh), builds the filing file in memory in the given encoding (Dph.ini
// Kodovani) and runs the checks above. Throws EngineError when a table can't be read.
QList<Finding> KontrolaRur(data::TDM1 &dm, int kodovani, const QDate &today = QDate::currentDate());

// The check of a filing file already written (after "&Uložit data", or any file given): the
// checks above on the file as it lies on the disk. A file that can't be read gives one
// finding beside the content rules on the rows.
QList<Finding> checkWrittenFile(data::TDM1 &dm, const QString &path, const QDate &today = QDate::currentDate());

}  // namespace rur::check
