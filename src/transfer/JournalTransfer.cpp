#include "transfer/JournalTransfer.h"

#include "data/DataM1.h"
#include "data/Schemas.h"
#include "engine/EngineError.h"
#include "engine/GroupWrite.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "transfer/SiblingData.h"
#include "vat/Rounding.h"

#include <QDir>
#include <QSet>

using namespace Qt::StringLiterals;

namespace rur::transfer {

using engine::EngineError;
using engine::Table;

namespace {

enum Sum { Base, Tax };

struct Term {
    const char16_t *code;
    Sum sum;
};

// One field of the return and the codes whose rounded sums make it. The plain codes are
// the lines of the form; "k" feeds the reduced-deduction column of its line, "2p" goes
// into line 2 and "2v", "k2v" into line 41.
struct Mapping {
    int part;
    const char16_t *field;
    Term terms[4];
};

constexpr Mapping kMappings[] = {
    {1, u"C210", {{u"1", Base}}},   {1, u"C210a", {{u"1", Tax}}},
    {1, u"C215", {{u"2", Base}, {u"2p", Base}}},
    {1, u"C215a", {{u"2", Tax}, {u"2p", Tax}}},
    {1, u"C220", {{u"3", Base}}},   {1, u"C220a", {{u"3", Tax}}},
    {1, u"C225", {{u"4", Base}}},   {1, u"C225a", {{u"4", Tax}}},
    {1, u"C230", {{u"5", Base}}},   {1, u"C230a", {{u"5", Tax}}},
    {1, u"C235", {{u"6", Base}}},   {1, u"C235a", {{u"6", Tax}}},
    {1, u"C260", {{u"7", Base}}},   {1, u"C260a", {{u"7", Tax}}},
    {1, u"C265", {{u"8", Base}}},   {1, u"C265a", {{u"8", Tax}}},
    {1, u"C255", {{u"9", Base}}},   {1, u"C255a", {{u"9", Tax}}},
    {1, u"C110", {{u"10", Base}}},  {1, u"C110a", {{u"10", Tax}}},
    {1, u"C111", {{u"11", Base}}},  {1, u"C111a", {{u"11", Tax}}},
    {1, u"C270", {{u"12", Base}}},  {1, u"C270a", {{u"12", Tax}}},
    {1, u"C275", {{u"13", Base}}},  {1, u"C275a", {{u"13", Tax}}},
    // The value lines take the journal's base, or its tax where the line is a tax.
    {1, u"C410", {{u"20", Base}}},  {1, u"C21", {{u"21", Base}}},   {1, u"C430", {{u"22", Base}}},
    {1, u"C425", {{u"23", Base}}},  {1, u"C24", {{u"24", Base}}},   {1, u"C25", {{u"25", Base}}},
    {1, u"C440", {{u"26", Base}}},  {1, u"C810", {{u"30", Base}}},  {1, u"C815", {{u"31", Base}}},
    {1, u"C32", {{u"32", Base}}},   {1, u"C33", {{u"33", Tax}}},    {1, u"C34", {{u"34", Tax}}},
    {1, u"C530", {{u"50", Base}}},  {1, u"C520", {{u"51a", Base}}}, {1, u"C540", {{u"51b", Base}}},
    {1, u"C600", {{u"61", Tax}}},
    {2, u"C310", {{u"40", Base}, {u"k40", Base}}},
    {2, u"C310a", {{u"40", Tax}}},
    {2, u"C310b", {{u"k40", Tax}}},
    {2, u"C315", {{u"41", Base}, {u"k41", Base}, {u"2v", Base}, {u"k2v", Base}}},
    {2, u"C315a", {{u"41", Tax}, {u"2v", Tax}}},
    {2, u"C315b", {{u"k41", Tax}, {u"k2v", Tax}}},
    {2, u"C340", {{u"42", Base}, {u"k42", Base}}},
    {2, u"C340a", {{u"42", Tax}}},
    {2, u"C340b", {{u"k42", Tax}}},
    {2, u"C320", {{u"43", Base}, {u"k43", Base}}},
    {2, u"C320a", {{u"43", Tax}}},
    {2, u"C320b", {{u"k43", Tax}}},
    {2, u"C325", {{u"44", Base}, {u"k44", Base}}},
    {2, u"C325a", {{u"44", Tax}}},
    {2, u"C325b", {{u"k44", Tax}}},
    {2, u"C370a", {{u"45", Tax}}},
    {2, u"C370b", {{u"k45", Tax}}},
    {2, u"C48", {{u"47", Base}, {u"k47", Base}}},
    {2, u"C48a", {{u"47", Tax}}},
    {2, u"C48b", {{u"k47", Tax}}},
};

// Day 0 of the journal's dates (30.12.1899): where an empty date lies.
qint64 dayNumber(const QVariant &date)
{
    static const qint64 dayZero = QDate(1899, 12, 30).toJulianDay();
    return date.isNull() ? dayZero : date.toDate().toJulianDay();
}

void setStatus(data::TDM1 &dm, int panel, const QString &text)
{
    if (data::StatusDisplay *display = dm.statusDisplay())
        display->setStatusText(panel, text);
}

// The stored values of a template table's first row, by field index (empty without a row).
QVariantList templateRow(const QString &directory, const engine::TableDef &def)
{
    engine::Database templates(u"Sablony"_s);
    templates.setDirectory(directory);
    Table t(&templates, def);
    t.setReadOnly(true);
    try {
        t.open();
    } catch (const EngineError &e) {
        const QString where = u"Šablona tabulky "_s + def.fileName + u" v adresáři "_s + QDir::toNativeSeparators(directory);
        RUR_THROW(e.code(), where + (e.code() == engine::ErrFileMissing ? u" chybí."_s : u" je poškozená nebo nečitelná."_s));
    }
    QVariantList row(def.fields.size());
    if (!t.isEmpty())
        for (int i = 0; i < def.fields.size(); ++i)
            if (!def.fields[i].calculated)
                row[i] = t.storedValue(0, i);
    return row;
}

}  // namespace

QStringList journalColumnCodes()
{
    QStringList codes;
    for (const Mapping &m : kMappings)
        for (const Term &term : m.terms)
            if (term.code && !codes.contains(QString::fromUtf16(term.code)))
                codes.append(QString::fromUtf16(term.code));
    return codes;
}

JournalSums sumJournalEntries(const Table &entries, const QDate &from, const QDate &to)
{
    JournalSums sums;
    const QStringList codes = journalColumnCodes();
    for (const QString &code : codes) {
        sums.base.insert(code, 0.0L);
        sums.tax.insert(code, 0.0L);
    }
    const engine::TableDef &def = entries.def();
    const int date = def.indexOf(u"D"_s), base = def.indexOf(u"Zd"_s), tax = def.indexOf(u"Dan"_s),
              code = def.indexOf(u"Cdph"_s);
    const qint64 first = dayNumber(from.isValid() ? QVariant(from) : QVariant());
    const qint64 last = dayNumber(to.isValid() ? QVariant(to) : QVariant());
    for (int row = 0; row < entries.recordCount(); ++row) {
        const qint64 day = dayNumber(entries.storedValue(row, date));
        if (day < first || day > last)
            continue;
        const auto baseSum = sums.base.find(entries.storedValue(row, code).toString());
        if (baseSum == sums.base.end())
            continue;
        *baseSum += entries.storedValue(row, base).toDouble();
        sums.tax[baseSum.key()] += entries.storedValue(row, tax).toDouble();
    }
    return sums;
}

QList<ReturnFigure> journalFigures(const JournalSums &sums)
{
    QList<ReturnFigure> figures;
    for (const Mapping &m : kMappings) {
        double value = 0.0;
        for (const Term &term : m.terms) {
            if (!term.code)
                continue;
            const QString code = QString::fromUtf16(term.code);
            value += vat::Zaokr0(term.sum == Base ? sums.base.value(code) : sums.tax.value(code));
        }
        figures.append({m.part, QString::fromUtf16(m.field), value});
    }
    return figures;
}

void writeTransferredReturn(data::TDM1 &dm, const QList<ReturnFigure> &figures)
{
    Table *const parts[] = {dm.Dtabn1.get(), dm.Dtabn2.get(), dm.Dtabn3.get()};
    const engine::TableDef defs[] = {data::dtabn1Def(), data::dtabn2Def(), data::dtabn3Def()};
    for (Table *t : parts)
        if (!t->isActive())
            RUR_THROW(engine::ErrGeneral, u"Tabulka "_s + t->fileName() + u" není otevřená."_s);
    // Everything that can fail before the write is done first: the templates are read and
    // the figures checked against their fields while the return is still whole.
    QVariantList rows[3];
    for (int i = 0; i < 3; ++i)
        rows[i] = templateRow(dm.templateDirectory(), defs[i]);
    const QVariant coefficient = dm.Prp->field(u"K1"_s).value();

    engine::GroupWrite write;
    try {
        for (Table *t : parts) {
            t->cancel();
            write.removeAll(*t);
        }
        // The journal feeds nothing of part 3: its row is the template's as it is, without the
        // store hook, which would turn the blank amounts into 0.
        QVariantMap part3;
        for (int f = 0; f < defs[2].fields.size(); ++f)
            if (!defs[2].fields[f].calculated)
                part3.insert(defs[2].fields[f].name, rows[2][f]);
        for (int i = 0; i < 2; ++i) {
            Table &t = *parts[i];
            t.append();
            for (int f = 0; f < defs[i].fields.size(); ++f)
                if (!defs[i].fields[f].calculated && t.hasField(defs[i].fields[f].name))
                    t.field(defs[i].fields[f].name).setValue(rows[i][f]);
            if (i == 1)
                t.field(u"C550"_s).setValue(coefficient);
            for (const ReturnFigure &figure : figures)
                if (figure.part == i + 1)
                    t.field(figure.field).setValue(figure.value);
            write.insert(t);
        }
        write.insertValues(*parts[2], part3);
        write.commit();
    } catch (...) {
        for (Table *t : parts)
            t->cancel();
        throw;
    }
}

TransferResult transferJournal(data::TDM1 &dm, SiblingData &journal, platform::Prompter &prompter)
{
    const SiblingProgram &program = journal.program();
    Table *period = journal.period();
    if (!period || !journal.isRowOpen()) {
        prompter.information(program.showFailed);
        return TransferResult::Failed;
    }
    if (!saveJournalPeriod(*period, prompter))
        return TransferResult::Failed;
    if (!prompter.confirm(program.question))
        return TransferResult::Declined;
    {
        platform::BusyGuard busy(prompter);
        JournalSums sums;
        try {
            const Table &entries = journal.openEntries();
            sums = sumJournalEntries(entries, period->field(u"Dz"_s).asDate(), period->field(u"Dk"_s).asDate());
        } catch (const EngineError &) {
            // Another program's table that can't be read as its layout says: nothing changes.
            prompter.information(program.showFailed);
            return TransferResult::Failed;
        }
        try {
            writeTransferredReturn(dm, journalFigures(sums));
        } catch (const EngineError &e) {
            prompter.error(QString::fromUtf16(kJournalTransferFailed) + u'\n' + e.message());
            return TransferResult::Failed;
        }
        try {
            dm.Obnovit1();
        } catch (const EngineError &e) {
            prompter.error(e.message());
        }
        for (int panel = 0; panel < 3; ++panel)
            setStatus(dm, panel, QString());
        dm.NazevDp1();
    }
    prompter.information(program.doneMessage);
    journal.closeRow();
    return TransferResult::Done;
}

}  // namespace rur::transfer
