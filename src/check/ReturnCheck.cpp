// The check of the current return as a whole: fresh rows, the filing file built or read, both
// kinds of findings in one list.
#include "check/ReturnCheck.h"

#include "data/DataM1.h"
#include "engine/Table.h"
#include "print/FilingFile.h"

#include <QFile>
#include <QSet>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::check {

namespace {

// A filing file is a few hundred kilobytes at most (999 attachment lines); anything far
// larger is not one and is not read into memory.
constexpr qint64 kLargestFilingFile = 16 * 1024 * 1024;

// Rows not being edited are read again, in the order the calculated fields depend on each
// other (line 62 and on read the current rows of parts 1 and 2); an edited row keeps what
// the user typed.
void refreshReturn(data::TDM1 &dm)
{
    for (engine::Table *t : {dm.Prp.get(), dm.Prppz.get(), dm.Dtabn1.get(), dm.Dtabn2.get(), dm.Dtabn3.get()}) {
        if (!t->isActive())
            t->open();
        else if (!t->isEditing())
            t->refresh();
    }
}

}  // namespace

QString severityText(Severity severity)
{
    return severity == Severity::Error ? u"Chyba"_s : u"Upozornění"_s;
}

QString findingLine(const Finding &finding)
{
    // The field a script sets follows the place the user sees ("Číslo FÚ (Prp.Fuc): ...").
    QString message = finding.message;
    if (!finding.field.isEmpty()) {
        const qsizetype at = !finding.where.isEmpty() && message.startsWith(finding.where + u": "_s)
                                 ? finding.where.size()
                                 : message.indexOf(u": "_s);
        const QString field = u" ("_s + finding.table + u'.' + finding.field + u')';
        if (at < 0)
            message += field;
        else
            message.insert(at, field);
    }
    return severityText(finding.severity) + u": "_s + message;
}

bool hasErrors(const QList<Finding> &findings)
{
    return countOf(findings, Severity::Error) > 0;
}

int countOf(const QList<Finding> &findings, Severity severity)
{
    return int(std::count_if(findings.begin(), findings.end(),
                             [severity](const Finding &f) { return f.severity == severity; }));
}

QString summaryText(const QList<Finding> &findings)
{
    const int errors = countOf(findings, Severity::Error), warnings = countOf(findings, Severity::Warning);
    if (errors == 0 && warnings == 0)
        return QString::fromUtf16(kNothingFound);
    const QString errorText = QString::number(errors) + (errors == 1 ? u" chybu"_s : errors < 5 ? u" chyby"_s : u" chyb"_s);
    const QString warningText = QString::number(warnings) + u" upozornění"_s;
    if (warnings == 0)
        return u"Kontrola našla "_s + errorText + u'.';
    if (errors == 0)
        return u"Kontrola našla "_s + warningText + u", žádnou chybu."_s;
    return u"Kontrola našla "_s + errorText + u" a "_s + warningText + u'.';
}

QList<Finding> mergeFindings(const QList<Finding> &content, const QList<Finding> &schema)
{
    QSet<QString> named;
    if (!schema.isEmpty())
        for (const Finding &f : content)
            if (!f.field.isEmpty())
                named.insert(f.table + u'.' + f.field);
    const auto kept = [&](const Finding &f) { return f.field.isEmpty() || !named.contains(f.table + u'.' + f.field); };
    // Errors before warnings, each in the order found, the content's before the file's.
    QList<Finding> all;
    all.reserve(content.size() + schema.size());
    for (const bool errors : {true, false}) {
        for (const Finding &f : content)
            if ((f.severity == Severity::Error) == errors)
                all.append(f);
        for (const Finding &f : schema)
            if ((f.severity == Severity::Error) == errors && kept(f))
                all.append(f);
    }
    return all;
}

QList<Finding> checkFilingFile(data::TDM1 &dm, const QByteArray &xml, const QDate &today)
{
    QList<Finding> found = checkContent(dm, today);
    if (const std::optional<QHash<QString, QString>> attributes = filingAttributes(xml)) {
        // One fault, one finding: what the file adds about a field no finding names yet.
        const auto place = [](const Finding &f) {
            return f.table + u'.' + f.field + (f.field.isEmpty() ? f.message : QString());
        };
        QSet<QString> named;
        for (const Finding &f : std::as_const(found))
            named.insert(place(f));
        const bool perCent = dm.Prp->isActive() && dm.Prp->field(u"K1p"_s).asBoolean();
        const QList<Finding> fromFile =
            checkAttributeValues(*attributes) + checkContent(dm, today, fieldValuesOf(*attributes, perCent));
        for (const Finding &f : fromFile) {
            if (!named.contains(place(f))) {
                named.insert(place(f));
                found.append(f);
            }
        }
    }
    return mergeFindings(found, checkSchema(xml));
}

QList<Finding> KontrolaRur(data::TDM1 &dm, int kodovani, const QDate &today)
{
    refreshReturn(dm);
    return checkFilingFile(dm, print::buildDphdp3(dm, kodovani, true), today);
}

QList<Finding> checkWrittenFile(data::TDM1 &dm, const QString &path, const QDate &today)
{
    QFile file(path);
    QByteArray xml;
    if (!file.open(QIODevice::ReadOnly)) {
        return mergeFindings(checkContent(dm, today),
                             {{Severity::Error, QString(), u"Soubor "_s + path + u" nelze přečíst."_s, {}, {}}});
    }
    if (file.size() > kLargestFilingFile) {
        return mergeFindings(checkContent(dm, today),
                             {{Severity::Error, QString(),
                               u"Soubor "_s + path + u" je na soubor pro elektronické podání příliš velký."_s, {}, {}}});
    }
    xml = file.readAll();
    return checkFilingFile(dm, xml, today);
}

}  // namespace rur::check
