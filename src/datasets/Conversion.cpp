// Taking over the data of an earlier edition: its catalogue, passwords and data sets. The
// earlier files are only read; everything is built under temporary names in the data root
// and put in place when whole, the catalogue last.
#include "datasets/Conversion.h"

#include "base/Program.h"
#include "data/DataFileList.h"
#include "data/SchemaUpgrade.h"
#include "data/Schemas.h"
#include "datasets/Catalogue.h"
#include "datasets/ConversionFiles.h"
#include "datasets/DataSetAccess.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/LockFile.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>
#include <memory>

using namespace Qt::StringLiterals;
using rur::engine::EngineError;

namespace rur::datasets {

namespace {

QString label(const EarlierDataSet &set)
{
    return set.nazev.trimmed() + u" ("_s + set.adresar + u')';
}

// The catalogue rows of the earlier edition; an edition before the own ordering has no
// Pozice, which then follows the number.
QList<EarlierDataSet> readCatalogue(engine::Database &db)
{
    auto table = std::make_unique<engine::Table>(&db, data::catalogueDef());
    bool withPosition = true;
    try {
        table->open();
    } catch (const EngineError &e) {
        if (e.code() != engine::ErrFieldMissing)
            throw;
        table = std::make_unique<engine::Table>(&db, data::catalogueDef().without({u"Pozice"_s}));
        table->open();
        withPosition = false;
    }
    QList<EarlierDataSet> rows;
    for (table->first(); !table->eof(); table->next()) {
        EarlierDataSet set;
        set.cislo = table->field(u"Cislo"_s).asInteger();
        set.pozice = withPosition && !table->field(u"Pozice"_s).isNull() ? table->field(u"Pozice"_s).asInteger()
                                                                         : set.cislo;
        set.nazev = table->field(u"Nazev"_s).asString();
        set.adresar = table->field(u"Adresar"_s).asString().trimmed();
        rows.append(set);
    }
    return rows;
}

QHash<int, QVariant> readPasswords(engine::Database &db)
{
    engine::Table table(&db, data::passwordsDef());
    table.open();
    QHash<int, QVariant> out;
    for (table.first(); !table.eof(); table.next())
        if (!table.field(u"Heslo"_s).isNull())
            out.insert(table.field(u"Cislo"_s).asInteger(), table.field(u"Heslo"_s).value());
    return out;
}

// Copies one data set of the source into a private folder and checks what it copied (a
// Paradox table is converted into a table file of the same name on the way). Empty when the
// folder holds a whole, readable data set, with the files taken in *taken; else the reason.
QString stageDataSet(const QString &sourceFolder, const QString &staging, const QString &adresar,
                     TableChecker &checker, QStringList *taken)
{
    const FolderEntries source(sourceFolder);
    for (const QString &file : data::dataFileList()) {
        if (!file.endsWith(u".DB"_s, Qt::CaseInsensitive))
            continue;  // index and memo files of the old engine live inside the tables here
        const QString from = source.find(file);
        if (from.isEmpty())
            continue;  // a table the data set lacks is copied in from the templates when it opens
        // Taken over only as opening it would take it: its table and nothing else, every value
        // fitting its field; it may lack only the fields the opening adds.
        const engine::TableDef def = data::dataSetTableDef(QFileInfo(file).completeBaseName());
        if (QString problem = copyTableFile(from, staging + file, checker, &def, data::upgradeColumns(def.name));
            !problem.isEmpty())
            return problem;
        taken->append(file);
    }
    const QString ini = adresar + u".ini"_s;
    if (const QString from = source.find(ini); !from.isEmpty()) {
        if (QString problem = copySettingsFile(from, staging + ini, adresar); !problem.isEmpty())
            return problem;
        taken->append(ini);
    }
    return {};
}

struct Placed {
    QString target;
    QString aside;  // where a folder that stood in the way went; empty when none did
};

// Puts a finished copy in place. A folder of the same name that no catalogue row names
// (left by a deleted data set) is kept under another name, never merged or overwritten.
bool placeDataSet(const QString &dataRoot, const QString &staging, const QString &target, Placed &placed)
{
    placed.target = target;
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink()) {
        if (existing.isDir() && !existing.isSymLink() && QDir(target).isEmpty() && QDir().rmdir(target)) {
            // an empty folder is simply replaced
        } else {
            placed.aside = freeAsideName(target);
        }
    }
    // Noted before anything moves, so that a killed conversion can be undone.
    if (!notePlacement(dataRoot, target, placed.aside))
        return false;
    if (!placed.aside.isEmpty() && !renamePath(target, placed.aside))
        return false;
    if (renamePath(staging, target))
        return true;
    if (!placed.aside.isEmpty())
        renamePath(placed.aside, target);
    return false;
}

void undoPlacement(const QList<Placed> &placed)
{
    for (const Placed &p : placed) {
        QDir(p.target).removeRecursively();
        if (!p.aside.isEmpty())
            renamePath(p.aside, p.target);
    }
}

}  // namespace

bool PrevodVozidel1(const QString &source, const QString &dataRoot, ConversionPlan &plan, QString *reason)
{
    plan = ConversionPlan();
    plan.source = base::withSlash(source);
    removeStaleStaging(dataRoot);
    const FolderEntries root(plan.source);
    const QString catalogueFile = root.find(u"Data.DB"_s);
    if (catalogueFile.isEmpty()) {
        *reason = u"Soubor "_s + plan.source + u"Data.DB neexistuje."_s;
        return false;
    }
    // The earlier tables are read from copies: the earlier installation stays untouched (no
    // lock files, no journal replayed), and it may sit on a medium we can't write.
    const QString staging = newStagingPath(dataRoot, QString());
    if (!QDir().mkpath(staging)) {
        *reason = u"Adresář "_s + staging + u" nelze vytvořit."_s;
        return false;
    }
    const auto cleanup = qScopeGuard([&] { QDir(staging).removeRecursively(); });
    TableChecker checker;
    // A Paradox catalogue is converted without its key: a number used twice is left out
    // below by name, not the whole catalogue refused.
    QString problem = copyTableFile(catalogueFile, staging + u"Data.DB"_s, checker, nullptr);
    const QString passwordFile = root.find(u"Uziv.DB"_s);
    if (problem.isEmpty() && !passwordFile.isEmpty())
        problem = copyTableFile(passwordFile, staging + u"Uziv.DB"_s, checker, nullptr);
    if (!problem.isEmpty()) {
        *reason = problem;
        return false;
    }
    QList<EarlierDataSet> rows;
    QHash<int, QVariant> passwords;
    {
        engine::Database db(u"Prevod"_s);
        db.setDirectory(staging);
        try {
            rows = readCatalogue(db);
            // Without their passwords the data sets would be open to anyone: a password table
            // that is there but can't be read stops the conversion.
            if (!passwordFile.isEmpty())
                passwords = readPasswords(db);
        } catch (const EngineError &e) {
            *reason = e.message();
            return false;
        }
    }

    QSet<int> numbers;
    QSet<QString> directories;
    for (EarlierDataSet &set : rows) {
        if (!isDataSetDirectoryName(set.adresar)) {
            plan.skipped.append(label(set) + u": "_s + invalidDirectoryMessage(set.adresar));
            continue;
        }
        if (numbers.contains(set.cislo) || directories.contains(set.adresar.toUpper())) {
            plan.skipped.append(label(set) + u": RUR je v seznamu dvakrát."_s);
            continue;
        }
        const QString folder = root.find(set.adresar);
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
            plan.skipped.append(label(set) + u": Adresář "_s + plan.source + set.adresar + u" neexistuje."_s);
            continue;
        }
        const FolderEntries files(folder);
        QString missing;
        for (const char16_t *required : {u"Dcis.DB", u"Prp.DB", u"Dmt.DB"})
            if (files.find(QString::fromUtf16(required)).isEmpty()) {
                missing = QString::fromUtf16(required);
                break;
            }
        if (!missing.isEmpty()) {
            plan.skipped.append(label(set) + u": Chybí tabulka "_s + missing + u'.');
            continue;
        }
        numbers.insert(set.cislo);
        directories.insert(set.adresar.toUpper());
        set.heslo = passwords.value(set.cislo);
        plan.sets.append(set);
    }
    return true;
}

bool PrevodVozidel2(ConversionPlan &plan, const QString &dataRoot, QString *reason)
{
    struct Staged {
        EarlierDataSet set;
        QString staging;
    };
    QList<Staged> staged;
    QList<EarlierDataSet> left;
    const FolderEntries source(plan.source);
    TableChecker checker;
    for (const EarlierDataSet &set : std::as_const(plan.sets)) {
        const QString staging = newStagingPath(dataRoot, set.adresar);
        QString problem;
        EarlierDataSet taken = set;
        if (!QDir().mkpath(staging))
            problem = u"Adresář "_s + staging + u" nelze vytvořit."_s;
        else
            problem = stageDataSet(source.find(set.adresar) + u'/', staging, set.adresar, checker, &taken.files);
        engine::crashPoint("conversion:data-set-staged");
        if (!problem.isEmpty()) {
            QDir(staging).removeRecursively();
            plan.skipped.append(label(set) + u": "_s + problem);
            continue;
        }
        staged.append({taken, staging});
    }
    // One flush makes every copy durable before any of them is put in place.
    if (!staged.isEmpty() && !syncFileSystemOf(dataRoot)) {
        for (const Staged &s : std::as_const(staged))
            QDir(s.staging).removeRecursively();
        *reason = u"Data nelze zapsat do adresáře "_s + dataRoot + u'.';
        plan.sets.clear();
        return false;
    }
    QList<Placed> placed;
    for (const Staged &s : std::as_const(staged)) {
        Placed p;
        if (!placeDataSet(dataRoot, s.staging, dataRoot + s.set.adresar, p)) {
            QDir(s.staging).removeRecursively();
            plan.skipped.append(label(s.set) + u": Adresář "_s + dataRoot + s.set.adresar + u" nelze vytvořit."_s);
            continue;
        }
        placed.append(p);
        left.append(s.set);
        engine::crashPoint("conversion:data-set-placed");
    }
    syncDirectory(dataRoot);

    // The passwords go before the catalogue: a catalogue row never exists without its password.
    QList<QVariantMap> passwordRows, catalogueRows;
    for (const EarlierDataSet &set : std::as_const(left)) {
        if (!set.heslo.isNull())
            passwordRows.append({{u"Cislo"_s, set.cislo}, {u"Heslo"_s, set.heslo.toString().left(10)}});
        catalogueRows.append({{u"Cislo"_s, set.cislo},
                              {u"Pozice"_s, set.pozice},
                              {u"Nazev"_s, set.nazev.left(20)},
                              {u"Adresar"_s, set.adresar}});
    }
    try {
        engine::createTableFile(dataRoot + u"Uziv.DB"_s, data::passwordsDef(), passwordRows);
        engine::crashPoint("conversion:passwords-written");
        engine::createTableFile(dataRoot + u"Data.DB"_s, data::catalogueDef(), catalogueRows);
    } catch (const EngineError &e) {
        undoPlacement(placed);
        try {
            engine::createTableFile(dataRoot + u"Uziv.DB"_s, data::passwordsDef());
        } catch (const EngineError &) {
        }
        removePlacementNotes(dataRoot);
        for (const EarlierDataSet &set : std::as_const(left))
            plan.skipped.append(label(set) + u": "_s + e.message());
        plan.sets.clear();
        *reason = e.message();
        return false;
    }
    removePlacementNotes(dataRoot);
    plan.sets = left;
    return true;
}

ConversionResult KontrolaInst2(Catalogue &catalogue, base::Directories &dirs, const QString &earlierCatalogue,
                               platform::Prompter &prompter)
{
    ConversionResult result;
    if (earlierCatalogue.trimmed().isEmpty()) {
        result.reason = u"Není zadána předchozí verze programu RUR."_s;
        return result;
    }
    const QString earlierRoot = base::withSlash(QFileInfo(earlierCatalogue).absolutePath());
    result.sourceRoot = earlierRoot;
    if (base::samePath(earlierRoot, dirs.localDataRoot) || base::samePath(earlierRoot, dirs.dataRoot)) {
        result.reason = u"Vyberte adresář s předchozí verzí programu RUR."_s;
        return result;
    }
    const FolderEntries earlier(earlierRoot);
    if (earlier.find(u"Data.DB"_s).isEmpty() || earlier.find(u"Dph.ini"_s).isEmpty()) {
        result.reason = u"V adresáři "_s + earlierRoot + u" není předchozí verze programu RUR."_s;
        return result;
    }
    // A catalogue that can't be read is not empty: it is never written over.
    if (!catalogue.Data->isActive() || !catalogue.isEmpty()) {
        result.reason = u"Seznam RUR není prázdný, data se nepřevádějí."_s;
        return result;
    }

    // The hourglass while the work runs; the message comes with the normal cursor.
    auto busy = std::make_unique<platform::BusyGuard>(prompter);
    const platform::IniFile earlierIni(earlier.find(u"Dph.ini"_s));
    const QString earlierNet = earlierIni.readString(u"Dph"_s, u"Net"_s);
    const QString earlierPath = base::withSlash(earlierIni.readString(u"Dph"_s, u"Path"_s));
    const int razeni = earlierIni.readInteger(u"Dph"_s, u"Razeni"_s, 1);
    const bool pos = earlierIni.readBool(u"Vyber"_s, u"Pos"_s, true);
    const int cislo = earlierIni.readInteger(u"Vyber"_s, u"Cislo"_s, 1);

    platform::IniFile local(dirs.localDataRoot + u"Dph.ini"_s);
    const QString localNet = local.readString(u"Dph"_s, u"Net"_s);
    const QString localPath = base::withSlash(local.readString(u"Dph"_s, u"Path"_s));
    local.writeString(u"Dph"_s, u"Prevod"_s + base::yearCode() + u'o', u"1"_s);
    local.writeBool(u"Vyber"_s, u"Pos"_s, pos);
    local.writeInteger(u"Vyber"_s, u"Cislo"_s, cislo);
    // The ordering belongs to the data root, where the catalogue reads it.
    platform::IniFile(dirs.dataRoot + u"Dph.ini"_s).writeInteger(u"Dph"_s, u"Razeni"_s, razeni);

    const bool earlierOnNetwork = earlierNet == u"1"_s && !earlierPath.isEmpty();
    const QString source = earlierOnNetwork ? earlierPath : earlierRoot;
    result.sourceRoot = source;
    const bool sameShare = earlierOnNetwork && localNet == u"1"_s && base::samePath(earlierPath, localPath);
    if (sameShare || base::samePath(source, dirs.dataRoot)) {
        result.status = ConversionResult::Shared;
        busy.reset();
        prompter.information(QString::fromUtf16(kConvertedMessage) + source);
        return result;
    }

    ConversionPlan plan;
    QString reason;
    bool done = false;
    // One conversion at a time in a data root; what a killed one left is undone first.
    engine::LockFile running(conversionLockPath(dirs.dataRoot));
    finishInterruptedConversion(dirs.dataRoot);
    if (!running.lockExclusive(0))
        reason = u"Do adresáře "_s + dirs.dataRoot + u" právě převádí data jiný uživatel."_s;
    else if (PrevodVozidel1(source, dirs.dataRoot, plan, &reason)) {
        catalogue.Data->close();
        catalogue.Uziv->close();
        catalogue.Nazvy.disconnect();
        done = PrevodVozidel2(plan, dirs.dataRoot, &reason);
        catalogue.prepare();
    }
    busy.reset();
    result.skipped = plan.skipped;
    for (const EarlierDataSet &set : std::as_const(plan.sets)) {
        result.converted.append(set.adresar);
        result.taken.append(label(set) + u": "_s + set.files.join(u", "_s));
    }
    // A catalogue whose every data set was left out took nothing over.
    const bool anyTaken = !result.converted.isEmpty() || result.skipped.isEmpty();
    result.status = done && anyTaken ? ConversionResult::Converted : ConversionResult::Failed;
    result.reason = reason;

    QString message = QString::fromUtf16(result.status == ConversionResult::Converted ? kConvertedMessage
                                                                                       : kNotConvertedMessage)
                      + source;
    if (!reason.isEmpty())
        message += u"\n\n"_s + reason;
    if (!result.skipped.isEmpty())
        message += u"\n\nTato RUR se nepodařilo převést:\n"_s + result.skipped.join(u'\n');
    if (result.status == ConversionResult::Converted && result.skipped.isEmpty())
        prompter.information(message);
    else
        prompter.error(message);
    return result;
}

}  // namespace rur::datasets
