#include "transfer/SiblingSearch.h"

#include "base/Paths.h"
#include "platform/IniFile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::transfer {

namespace {

constexpr int kFirstSearchedYear = 2002;

// The folder a directory lies in, with a trailing '/': "/opt/rur/bin/" gives "/opt/rur/".
QString parentFolder(const QString &directory)
{
    QString path = directory;
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const QFileInfo info(path);
    return base::withSlash(info.path());
}

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

}  // namespace

QString searchCatalogue(const base::Directories &dirs, const SiblingProgram &program, int programYear)
{
    const QString besideProgram = parentFolder(dirs.programDir);
    const QString besideData = parentFolder(dirs.localDataRoot);
    QString foundPath, foundIni;
    for (int year = kFirstSearchedYear; year <= programYear; ++year) {
        const QString folder = program.folderPrefix + QString::number(year) + u'/';
        for (const QString &candidate : {besideProgram + folder, besideData + folder}) {
            if (base::samePath(candidate, dirs.localDataRoot))
                continue;
            if (isFile(candidate + u"Data.DB"_s) && isFile(candidate + program.iniFile)) {
                foundPath = candidate + u"Data.DB"_s;
                foundIni = candidate + program.iniFile;
            }
        }
        if (year == programYear && foundPath.isEmpty() && !base::samePath(besideData + folder, dirs.localDataRoot))
            foundPath = besideData + folder + u"Data.DB"_s;
    }
    if (!foundIni.isEmpty() && isFile(foundPath) && isFile(foundIni)) {
        const platform::IniFile ini(foundIni);
        const QString path = ini.readString(program.iniSection, u"Path"_s);
        if (ini.readString(program.iniSection, u"Net"_s) == u"1"_s && !path.isEmpty())
            foundPath = base::withSlash(path) + u"Data.DB"_s;
    }
    return foundPath;
}

QString proposedCataloguePath(const base::Directories &dirs, const SiblingProgram &program,
                              const QString &storedTemplate, int programYear)
{
    const QString stored = base::CestyTyp2(dirs, storedTemplate, base::KindNone);
    if (!base::isPathMessage(stored) && isFile(stored))
        return stored;
    return searchCatalogue(dirs, program, programYear);
}

SiblingChoice readSiblingChoice(const platform::IniFile &ini, const SiblingProgram &program)
{
    return {ini.readString(u"Prenos"_s, program.pathKey), ini.readInteger(u"Prenos"_s, program.numberKey, 0)};
}

bool writeSiblingChoice(platform::IniFile &ini, const SiblingProgram &program, const SiblingChoice &choice)
{
    const bool path = ini.writeString(u"Prenos"_s, program.pathKey, choice.pathTemplate);
    return ini.writeInteger(u"Prenos"_s, program.numberKey, choice.number) && path;
}

}  // namespace rur::transfer
