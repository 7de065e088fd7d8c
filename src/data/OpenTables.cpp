// Opening the tables of a data set in their fixed order, and repairing on the way the
// tables that an older edition left behind: missing columns are added, missing tables are
// copied in from the template directory.
#include "data/DataFileList.h"
#include "data/DataM1.h"
#include "data/SchemaUpgrade.h"
#include "data/Templates.h"
#include "data/TextSplits.h"
#include "engine/EngineError.h"
#include "engine/LocalSql.h"
#include "engine/TableFile.h"

#include <QFile>
#include <functional>

using namespace Qt::StringLiterals;
using rur::engine::EngineError;

namespace rur::data {

namespace {

// Tries to open (or only to check, without reading the rows); returns the error of a failed
// open that a repair can mend (a missing file or a missing field). A damaged or locked file
// is never repaired: its error goes on.
bool openOrRepairable(Table &t, int *code, bool rows)
{
    try {
        if (rows)
            t.open();
        else
            t.verify();
        return true;
    } catch (const EngineError &e) {
        if (e.code() != engine::ErrFileMissing && e.code() != engine::ErrFieldMissing)
            throw;
        *code = e.code();
        t.close();
        return false;
    }
}

// Runs the statements one by one; a failing one is skipped. Returns which succeeded.
QList<bool> runStatements(engine::Database &db, const QStringList &statements)
{
    QList<bool> done;
    for (const QString &sql : statements) {
        bool ok = true;
        try {
            engine::executeSql(db, sql);
        } catch (const EngineError &) {
            ok = false;
        }
        engine::crashPoint("upgrade:after-statement");
        done.append(ok);
    }
    return done;
}

// Puts the current row into edit and posts it, which runs the store rules over new columns.
void touch(Table &t)
{
    t.edit();
    t.post();
}

void touchAll(Table &t)
{
    t.first();
    while (!t.eof()) {
        touch(t);
        t.next();
    }
}

QString text(Table &t, const char16_t *name)
{
    return t.field(QString::fromUtf16(name)).asString();
}

void set(Table &t, const char16_t *name, const QVariant &value)
{
    t.field(QString::fromUtf16(name)).setValue(value);
}

// Fill-ins of the taxpayer row, each after its own column addition.
void fillInPrp(Table &prp, const QList<bool> &added)
{
    const auto ran = [&](int p) { return added.value(p - 1); };
    if (ran(1)) {  // F1
        set(prp, u"Oj1a", text(prp, u"Oj1"));
        set(prp, u"Pra", text(prp, u"Pr"));
        set(prp, u"Jma", text(prp, u"Jm"));
        set(prp, u"Mia", text(prp, u"Mi"));
        set(prp, u"Proa", text(prp, u"Pro"));
        set(prp, u"Pkpa", text(prp, u"Pkp"));
        set(prp, u"Eu", u"ne"_s);
        set(prp, u"Dan", false);
    }
    if (ran(3)) {  // F2
        set(prp, u"P1", true);
        set(prp, u"P2", false);
        set(prp, u"P3", false);
        set(prp, u"P4", false);
        set(prp, u"Jmb", text(prp, u"Jma"));
    }
    if (ran(4))  // F3
        set(prp, u"Q2", u"I."_s);
    if (ran(7)) {  // F4
        set(prp, u"P3s", false);
        set(prp, u"Sta", text(prp, u"St"));
        const QString street = text(prp, u"Ul");
        set(prp, u"Cpo", Ulcd2(street, 0));
        set(prp, u"Ul", Ulcd2(street, 1));
    }
    if (ran(8))  // F5
        set(prp, u"Emlx", text(prp, u"Eml"));
    if (ran(9)) {  // F6
        const QString kind = text(prp, u"Rp");
        set(prp, u"Dpdr1", kind != u"dodatečné"_s);
        set(prp, u"Dpdo1", kind == u"opravné"_s);
        set(prp, u"Dpdd1", kind == u"dodatečné"_s);
        set(prp, u"K1p", true);
        // Coefficients print as percentages from the second quarter of 2011 on; a year
        // that is not a number leaves the flag set.
        bool numeric = false;
        const QString r = text(prp, u"R");
        const int year = r.trimmed().toInt(&numeric);
        if (numeric) {
            const bool monthly = !text(prp, u"M").isEmpty() && text(prp, u"Q").isEmpty();
            const bool quarterly = text(prp, u"M").isEmpty() && !text(prp, u"Q").isEmpty();
            const int period = prp.field(u"Cislo"_s).asInteger();
            if (year < 2011 || (r == u"2011"_s && ((monthly && period < 4) || (quarterly && period < 2))))
                set(prp, u"K1p", false);
        }
    }
    if (ran(11)) {  // F7
        const QString cpo = text(prp, u"Cpo");
        set(prp, u"Cpocp", Ulcd3(cpo, 1, u"/"_s));
        set(prp, u"Cpoco", Ulcd3(cpo, 0, u"/"_s));
        set(prp, u"Tds", text(prp, u"Oj1a").isEmpty());
        set(prp, u"Tzs", true);
        set(prp, u"Sta2", text(prp, u"Sta"));
        set(prp, u"Ojp3", text(prp, u"Oj1a"));
        set(prp, u"Poznod", u"O"_s);
        const QString ses = text(prp, u"Ses");
        set(prp, u"Sesjm", Ulcd3(ses, 1, u" "_s));
        set(prp, u"Sespr", Ulcd3(ses, 0, u" "_s));
    }
    if (ran(12))  // F8
        set(prp, u"Fuc", QVariant());
}

}  // namespace

void TDM1::OtevritTabulky()
{
    tablesOpen_ = false;
    engine::Database &db = Danove;
    const QString templates = templateDirectory();

    // Copies files of the data file list from the template directory; entries without a
    // template (index and memo files of the old engine) are skipped, a bad template stops
    // the opening before anything is copied.
    const auto copyFiles = [&](int first, int last) {
        if (const QString problem = copyTemplateFiles(templates, dataFiles(first, last), db.directory());
            !problem.isEmpty())
            RUR_THROW(engine::ErrUnreadable, problem);
        engine::crashPoint("open:after-copy");
    };
    // A table repaired by copying alone: only a missing file is replaced by its template.
    // Tables that are only checked here and closed again are not read row by row: a window
    // that shows them reads (and checks) their rows when it opens them.
    bool rows = true;
    const auto reopen = [&](Table &t) {
        if (rows)
            t.open();
        else
            t.verify();
    };
    const auto openCopy = [&](Table &t, int first, int last) {
        int code = 0;
        if (openOrRepairable(t, &code, rows))
            return false;
        if (code != engine::ErrFileMissing)
            reopen(t);  // throws the missing-field error: the table's data is never overwritten
        copyFiles(first, last);
        reopen(t);
        return true;
    };
    // Upgrade: add the columns, open again; returns which statements succeeded.
    const auto openUpgrade = [&](Table &t, const QStringList &statements, QList<bool> *added) {
        int code = 0;
        if (openOrRepairable(t, &code, rows))
            return false;
        const QList<bool> done = runStatements(db, statements);
        if (added)
            *added = done;
        reopen(t);
        return true;
    };
    // Upgrade when the data file is there, else copy the template.
    const auto openUpgradeOrCopy = [&](Table &t, const QStringList &statements, int first, int last) {
        int code = 0;
        if (openOrRepairable(t, &code, rows))
            return false;
        if (QFile::exists(t.filePath()))
            runStatements(db, statements);
        else
            copyFiles(first, last);
        reopen(t);
        return true;
    };
    // A repaired table that is only checked gets its store rules run over every row.
    const auto touchChecked = [&](Table &t, bool all) {
        t.open();
        all ? touchAll(t) : touch(t);
        t.close();
    };

    // 1
    Dcis->open();
    // 2, 3
    rows = false;
    if (openUpgrade(*Dtab1, {statementU1(u"Dtab1"_s)}, nullptr))
        touchChecked(*Dtab1, false);
    if (openUpgrade(*Dtab2, {statementU2(u"Dtab2"_s)}, nullptr))
        touchChecked(*Dtab2, false);
    rows = true;
    // 4, 5, 6
    if (openUpgradeOrCopy(*Dtabn1, {statementU3(u"Dtabn1"_s), statementU4(u"Dtabn1"_s)}, 33, 33))
        touch(*Dtabn1);
    if (openUpgradeOrCopy(*Dtabn2, {statementU5(u"Dtabn2"_s)}, 34, 34))
        touch(*Dtabn2);
    openCopy(*Dtabn3, 35, 35);
    // 7: the taxpayer row gets every fill-in of the columns just added
    QList<bool> prpAdded;
    if (openUpgrade(*Prp, statementsP(), &prpAdded)) {
        Prp->edit();
        fillInPrp(*Prp, prpAdded);
        Prp->post();
    }
    // 8
    openCopy(*Prppz, 50, 51);
    // 9: the rates in force when the tax office columns came
    if (prpAdded.value(11)) {
        Dcis->edit();
        Dcis->field(u"Dd"_s).setValue(15.0);
        Dcis->field(u"Hd"_s).setValue(21.0);
        Dcis->post();
        Dcis->close();
        Dcis->open();
    }
    // 10
    QList<bool> dmtAdded;
    if (openUpgrade(*Dmt, {statementD1(), statementD2()}, &dmtAdded)) {
        Dmt->edit();
        if (dmtAdded.value(0)) {
            Dmt->field(u"Prh1"_s).setValue(false);
            Dmt->field(u"Trh1"_s).setValue(u"vybranou stránku"_s);
        }
        if (dmtAdded.value(1)) {
            Dmt->field(u"Vhn"_s).setValue(0);
            Dmt->field(u"Vln"_s).setValue(8);
        }
        Dmt->post();
    }
    // 11, 12
    rows = false;
    if (openUpgrade(*Dtab1s, {statementU1(u"Dtab1s"_s)}, nullptr))
        touchChecked(*Dtab1s, true);
    if (openUpgrade(*Dtab2s, {statementU2(u"Dtab2s"_s)}, nullptr))
        touchChecked(*Dtab2s, true);
    rows = true;
    // 13, 14
    if (openUpgradeOrCopy(*Dtabn1s, {statementU3(u"Dtabn1s"_s), statementU4(u"Dtabn1s"_s)}, 36, 37))
        touchAll(*Dtabn1s);
    if (openUpgradeOrCopy(*Dtabn2s, {statementU5(u"Dtabn2s"_s)}, 38, 39))
        touchAll(*Dtabn2s);
    // 15, 16
    if (openUpgrade(*Dtabs, {statementS1(), statementS2()}, nullptr))
        touch(*Dtabs);
    Dtabss->open();
    // 17, 18
    rows = false;
    openCopy(*Dpsn1, 40, 41);
    openCopy(*Dpsn2, 42, 49);
    // 19 to 21
    openUpgradeOrCopy(*Mban, {statementMban()}, 13, 16);
    openCopy(*Mban1, 17, 17);
    openCopy(*Mbzp, 18, 19);
    rows = true;
    // 22
    if (openUpgradeOrCopy(*Mtt, {statementMtt()}, 20, 21)) {
        Mtt->edit();
        Mtt->field(u"Z1"_s).setValue(false);
        Mtt->post();
    }
    // 23 to 25
    rows = false;
    openCopy(*Maz, 22, 28);
    rows = true;
    openCopy(*Mdp, 29, 31);
    openCopy(*Dzal1, 32, 32);
    // 26: the register of documents, new in this edition: a data root installed before it
    // lacks its template too, which is made first (the period procedures copy it as well);
    // where the template folder can't be written, the table is made in the data set itself.
    rows = false;
    if (!QFile::exists(templates + Dkh->fileName())) {
        try {
            engine::createTableFile(templates + Dkh->fileName(), Dkh->def());
        } catch (const EngineError &) {
            if (!QFile::exists(Dkh->filePath()))
                engine::createTableFile(Dkh->filePath(), Dkh->def());
        }
    }
    openCopy(*Dkh, 52, 52);

    Obnovit1();
    NazevDp1();
    for (int panel = 0; panel < 3; ++panel)
        setStatus(panel, QString());
    tablesOpen_ = true;
}

}  // namespace rur::data
