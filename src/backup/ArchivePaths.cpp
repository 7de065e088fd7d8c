#include "backup/ArchivePaths.h"

#include "base/Paths.h"
#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

const QString kSection = u"Cesty"_s;

}  // namespace

PathSettings readPathSettings(const platform::IniFile &ini)
{
    PathSettings s;
    for (int i = 0; i < kRememberedPaths; ++i) {
        const QString value = ini.readString(kSection, QString::number(i));
        if (!value.isEmpty())
            s.remembered.append(value);
    }
    s.nazev = ini.readBool(kSection, u"Nazev"_s, false);
    s.obnovit = ini.readBool(kSection, u"Obnovit"_s, false);
    s.vlastni = ini.readString(kSection, u"Vlastni"_s);
    return s;
}

bool writeRememberedPaths(platform::IniFile &ini, const QStringList &templates, bool nazev, const bool *obnovit)
{
    bool ok = true;
    for (int i = 0; i < kRememberedPaths; ++i) {
        const QString key = QString::number(i);
        if (i < templates.size())
            ok = ini.writeString(kSection, key, templates[i]) && ok;
        else if (ini.hasKey(kSection, key))
            ok = ini.deleteKey(kSection, key) && ok;
    }
    ok = ini.writeBool(kSection, u"Nazev"_s, nazev) && ok;
    if (obnovit)
        ok = ini.writeBool(kSection, u"Obnovit"_s, *obnovit) && ok;
    return ok;
}

bool writeOwnFolder(platform::IniFile &ini, const QString &folder)
{
    return ini.writeString(kSection, u"Vlastni"_s, base::withSlash(folder));
}

bool eraseRememberedPaths(platform::IniFile &ini)
{
    return ini.eraseSection(kSection);
}

bool eraseOtherPaths(platform::IniFile &ini)
{
    bool ok = true;
    for (const QString &section : {u"Banka1"_s, u"Bankah1"_s, u"Prenos"_s, u"XML"_s})
        ok = ini.eraseSection(section) && ok;
    return ok;
}

void moveToTop(QStringList &list, const QString &pathTemplate)
{
    if (pathTemplate.isEmpty())
        return;
    list.removeAll(pathTemplate);
    list.prepend(pathTemplate);
}

QString archiveStem(const base::Directories &dirs, const QString &taxpayerStem, bool firmName)
{
    return firmName && !taxpayerStem.isEmpty() ? taxpayerStem : dirs.dataSetDir;
}

QString defaultArchiveTemplate(const base::Directories &dirs, int type, const QString &stem)
{
    return base::CestyTyp1(dirs, type, base::KindBackup, QString(), stem);
}

QString ownFolderArchive(const QString &folder, const QString &stem)
{
    return base::withSlash(folder) + stem + u".zip"_s;
}

}  // namespace rur::backup
