#include "app/DataChoice.h"

#include "base/Program.h"
#include "base/SharedLocks.h"
#include "data/DataFileList.h"
#include "data/Schemas.h"
#include "engine/EngineError.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::app {

DataChoice readDataChoice(const base::Directories &dirs)
{
    const platform::IniFile dph(dirs.localDataRoot + u"Dph.ini"_s);
    return {dph.readString(u"Dph"_s, u"Net"_s), base::withSlash(dph.readString(u"Dph"_s, u"Path"_s))};
}

QString catalogueEditText(const DataChoice &choice)
{
    return choice.path.isEmpty() ? QString() : choice.path + u"Data.DB"_s;
}

QString sharedRootFromEdit(const QString &edit)
{
    const QString text = edit.trimmed();
    if (text.isEmpty())
        return {};
    const QFileInfo info(text);
    if (info.isDir() || text.endsWith(u'/'))
        return base::withSlash(QDir::cleanPath(text));
    return base::withSlash(info.path());
}

bool applyDataChoice(base::Directories &dirs, bool network, const QString &edit, platform::Prompter &prompter)
{
    platform::IniFile dph(dirs.localDataRoot + u"Dph.ini"_s);
    bool written = dph.writeString(u"Dph"_s, u"Net"_s, network ? u"1"_s : u"0"_s);
    const QString path = sharedRootFromEdit(edit);
    if (network)
        written = dph.writeString(u"Dph"_s, u"Path"_s, path) && written;
    dirs.dataRoot = dirs.localDataRoot;
    if (network && !path.isEmpty()) {
        if (QFile::exists(path + u"Data.DB"_s)) {
            dirs.dataRoot = path;
            base::warnAboutSharedLocks(path, prompter);
        } else {
            prompter.error(u"Adresář "_s + path + QString::fromUtf16(kUnreachableShare));
        }
    }
    QDir::setCurrent(dirs.dataRoot);
    if (!written)
        prompter.error(u"Soubor "_s + dph.path() + u" nelze zapsat."_s);
    return written;
}

QString defaultSharedFolderName()
{
    return u"RUR"_s + base::yearCode();
}

QString sharedCopyTarget(const QString &disk, const QString &folder)
{
    const QString base = base::withSlash(disk.trimmed());
    const QString name = QDir::cleanPath(folder.trimmed());
    return base::withSlash(name.isEmpty() || name == u"."_s ? base : base + name);
}

QString copySharedData(const base::Directories &dirs, const QString &disk, const QString &folder,
                       platform::Prompter &prompter)
{
    const QString target = sharedCopyTarget(disk, folder);
    if (target.isEmpty() || !QDir::isAbsolutePath(target)) {
        prompter.error(u"Nastavte správně cestu."_s);
        return {};
    }
    if (!prompter.confirm(u"Opravdu chcete kopírovat data na disk "_s + target))
        return {};
    QDir().mkpath(target);
    if (!QFileInfo(target).isDir()) {
        prompter.error(u"Adresář "_s + target + u" nelze vytvořit na disku "_s + base::withSlash(disk.trimmed())
                       + u"\n\nZkontroluje zda je tento disk dostupný."_s);
        return {};
    }
    QString failure;
    {
        platform::BusyGuard busy(prompter);
        const QString targetTemplates = target + u"Data/"_s;
        const QString localTemplates = dirs.localDataRoot + u"Data/"_s;
        try {
            // A shared catalogue that is there already stays, with its passwords: only what
            // is missing is created, and it is created empty.
            if (!QFile::exists(target + u"Data.DB"_s))
                engine::createTableFile(target + u"Data.DB"_s, data::catalogueDef());
            if (!QFile::exists(target + u"Uziv.DB"_s))
                engine::createTableFile(target + u"Uziv.DB"_s, data::passwordsDef());
            bool ok = QDir().mkpath(targetTemplates);
            QList<std::pair<QString, QString>> copies;
            for (const QString &file : data::dataFileList())
                if (QFile::exists(localTemplates + file))
                    copies.append({localTemplates + file, targetTemplates + file});
            ok = ok && engine::replaceFilesAtomically(copies);
            engine::createTableFile(targetTemplates + u"Data.DB"_s, data::catalogueDef());
            engine::createTableFile(targetTemplates + u"Uziv.DB"_s, data::passwordsDef());
            platform::IniFile version(targetTemplates + u"Verze.ini"_s);
            ok = ok && version.writeInteger(u"Verze"_s, u"Data"_s, dirs.dataVersion);
            if (!ok)
                failure = u"Data se nepodařilo nakopírovat na disk "_s + target;
        } catch (const engine::EngineError &e) {
            failure = e.message();
        }
    }
    if (!failure.isEmpty()) {
        prompter.error(failure);
        return {};
    }
    prompter.information(u"Data byla nakopírována na disk "_s + target);
    return target;
}

QList<std::pair<QString, QString>> informationLines(const base::Directories &dirs)
{
    // The Data.ini directory, marked; else where the start looks in the common data folder.
    QString dataDir;
    if (!dirs.dataIniDir.isEmpty())
        dataDir = dirs.dataIniDir + u"  INI"_s;
    else if (!dirs.commonDataFolder.isEmpty())
        dataDir = dirs.commonDataFolder + u"/Tervik/RUR "_s + QString::number(base::kProgramYear) + u'/';
    return {{u"DataDir:"_s, dataDir},
            {u"FileDirPrg:"_s, dirs.programDir},
            {u"FileDirLocal:"_s, dirs.localDataRoot},
            {u"FileDir:"_s, dirs.dataRoot},
            {u"CurrentDir:"_s, base::withSlash(QDir::currentPath())},
            // The lock files of the table engine live in each directory of data; the data
            // root holds those of the catalogue.
            {u"NetFileDir:"_s, dirs.dataRoot},
            {u"PrivateDir:"_s, QString()},
            {u"Common AppData:"_s, dirs.commonDataFolder},
            {u"Personal:"_s, dirs.documentsFolder}};
}

}  // namespace rur::app
