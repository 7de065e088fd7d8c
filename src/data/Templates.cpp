#include "data/Templates.h"

#include "base/Program.h"
#include "data/Schemas.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/Table.h"
#include "engine/TableCheck.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::data {

QList<QVariantMap> templateRows(const QString &name)
{
    const auto is = [&](const char16_t *n) { return name.compare(QStringView(n), Qt::CaseInsensitive) == 0; };
    if (is(u"Dcis"))
        return {{{u"Dd"_s, 15.0}, {u"Hd"_s, 21.0}}};
    if (is(u"Prp"))
        return {{{u"M"_s, u"leden"_s},
                 {u"Cislo"_s, 1},
                 {u"R"_s, QString::number(base::kProgramYear)},
                 {u"Dpdr1"_s, 1},
                 {u"Dpdo1"_s, 0},
                 {u"Dpdd1"_s, 0},
                 {u"P1"_s, 1},
                 {u"P2"_s, 0},
                 {u"P3"_s, 0},
                 {u"P3s"_s, 0},
                 {u"P4"_s, 0},
                 {u"X"_s, 0},
                 {u"K1p"_s, 1},
                 {u"Dan"_s, 0},
                 {u"Eu"_s, u"ne"_s},
                 {u"Tds"_s, 1},
                 {u"Tzs"_s, 1},
                 {u"Poznod"_s, u"O"_s},
                 {u"Q2"_s, u"I."_s}}};
    if (is(u"Dmt"))
        return {{{u"Dpt"_s, 0}, {u"Dpl"_s, 0}, {u"Ot"_s, 0}, {u"Ol"_s, 0}, {u"Zpt"_s, 0}, {u"Zpl"_s, 0},
                 {u"Kop"_s, 1}, {u"Pk"_s, 0}, {u"Prh1"_s, 0}, {u"Trh1"_s, u"vybranou stránku"_s}, {u"Vhn"_s, 0},
                 {u"Vln"_s, 8}}};
    if (is(u"Mtt"))
        return {{{u"Vh"_s, 0}, {u"Vl"_s, 0}, {u"Vho"_s, 0}, {u"Vlo"_s, 0}, {u"Kop"_s, 1}, {u"Pk"_s, 0},
                 {u"Banka"_s, 0}, {u"Odl"_s, 0}, {u"Tisk"_s, 0}, {u"Za1"_s, 0}, {u"Z1"_s, 0}, {u"Cnb"_s, 0},
                 {u"Cad"_s, 0}, {u"Caz"_s, 0}, {u"Obl"_s, u"Tisk - bez zpětné adresy"_s}}};
    for (const char16_t *oneRow : {u"Dtab1", u"Dtab2", u"Dtab3", u"Dtabs", u"Dtabss", u"Dtabn1", u"Dtabn2",
                                   u"Dtabn3", u"Dzal1", u"Prppz"})
        if (is(oneRow))
            return {QVariantMap()};
    return {};
}

QString damagedTemplateMessage(const QString &templates, const QString &file)
{
    return u"Šablona tabulky "_s + file + u" v adresáři "_s + QDir::toNativeSeparators(templates)
           + u" je poškozená nebo nečitelná."_s;
}

QList<QVariantMap> templateFileRows(const QString &templates, const engine::TableDef &def)
{
    const QString path = templates + def.fileName;
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return templateRows(def.name);
    QStringList fields;
    for (const engine::FieldDef &f : def.fields)
        if (!f.calculated)
            fields.append(f.name);
    if (!engine::tableFileDamage(path, def, fields).isEmpty())
        RUR_THROW(engine::ErrUnreadable, damagedTemplateMessage(templates, def.fileName));
    QStringList missing;
    {
        engine::SqliteFile file;
        QString error;
        if (!file.open(path, false, &error, true))
            RUR_THROW(engine::ErrUnreadable, damagedTemplateMessage(templates, def.fileName));
        const QStringList columns = engine::tableColumns(file, def.name);
        for (const QString &f : std::as_const(fields))
            if (!columns.contains(f, Qt::CaseInsensitive))
                missing.append(f);
    }
    // Read as another program's table: nothing is created or locked in the template directory.
    engine::Database db(u"Sablony"_s);
    db.setDirectory(templates);
    engine::Table t(&db, def.without(missing));
    t.setReadOnly(true);
    QList<QVariantMap> rows;
    try {
        t.open();
        for (int r = 0; r < t.recordCount(); ++r) {
            QVariantMap row;
            for (int i = 0; i < t.fieldCount(); ++i)
                if (!t.def().fields[i].calculated)
                    row.insert(t.def().fields[i].name, t.storedValue(r, i));
            rows.append(row);
        }
    } catch (const engine::EngineError &) {
        RUR_THROW(engine::ErrUnreadable, damagedTemplateMessage(templates, def.fileName));
    }
    return rows;
}

QString copyTemplateFiles(const QString &templates, const QStringList &files, const QString &target)
{
    QList<std::pair<QString, QString>> copies;
    for (const QString &file : files) {
        const QString source = templates + file;
        if (!QFileInfo::exists(source) && !QFileInfo(source).isSymLink())
            continue;
        if (file.endsWith(u".DB"_s, Qt::CaseInsensitive)
            && !engine::tableFileDamage(source, QFileInfo(file).completeBaseName()).isEmpty())
            return damagedTemplateMessage(templates, file);
        copies.append({source, target + file});
    }
    if (!engine::replaceFilesAtomically(copies))
        return u"Šablony tabulek nelze zkopírovat do adresáře "_s + QDir::toNativeSeparators(target) + u'.';
    return {};
}

void installDataRoot(const QString &directory)
{
    // An empty path would put the data root into the current folder, or the root folder.
    if (directory.trimmed().isEmpty())
        RUR_THROW(engine::ErrGeneral, u"Nastavte správně cestu."_s);
    const QString root = QDir::cleanPath(directory) + u'/';
    const QString templates = root + u"Data/"_s;
    if (!QDir().mkpath(templates))
        RUR_THROW(engine::ErrGeneral, u"Adresář "_s + templates + u" nelze vytvořit."_s);

    for (const TableDef &def : dataSetTableDefs())
        engine::createTableFile(templates + def.fileName, def, templateRows(def.name));
    engine::createTableFile(templates + u"Data.DB"_s, catalogueDef());
    engine::createTableFile(templates + u"Uziv.DB"_s, passwordsDef());

    // The catalogue and the passwords of an existing data root stay as they are.
    for (const QString &file : {u"Data.DB"_s, u"Uziv.DB"_s})
        if (!QFile::exists(root + file) && !engine::replaceFileAtomically(templates + file, root + file))
            RUR_THROW(engine::ErrGeneral, u"Soubor "_s + root + file + u" nelze vytvořit."_s);

    if (!QFile::exists(root + u"Dph.ini"_s)) {
        platform::IniFile ini(root + u"Dph.ini"_s);
        if (!ini.writeInteger(u"Dph"_s, u"Razeni"_s, 1))
            RUR_THROW(engine::ErrGeneral, u"Soubor "_s + root + u"Dph.ini nelze vytvořit."_s);
    }
    platform::IniFile version(templates + u"Verze.ini"_s);
    if (!version.writeInteger(u"Verze"_s, u"Data"_s, base::kProgramVersion))
        RUR_THROW(engine::ErrGeneral, u"Soubor "_s + templates + u"Verze.ini nelze vytvořit."_s);
}

}  // namespace rur::data
