#include "datasets/EarlierEditions.h"

#include "datasets/Catalogue.h"
#include "datasets/ConversionFiles.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::datasets {

namespace {

QString parentOf(const QString &folder)
{
    QDir dir(folder);
    dir.cdUp();
    return base::withSlash(dir.absolutePath());
}

bool isEdition(const QString &folder)
{
    const FolderEntries entries(folder);
    return !entries.find(u"Data.DB"_s).isEmpty() && !entries.find(u"Dph.ini"_s).isEmpty();
}

// The folder of a Data.DB path (or the folder itself when the text names one), with '/'.
QString folderOfCatalogue(const QString &path)
{
    const QFileInfo info(path);
    return base::withSlash(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

}  // namespace

QString conversionKey()
{
    return u"Prevod"_s + base::yearCode();
}

QString findEarlierCatalogue(const base::Directories &dirs, int programYear)
{
    QString found;
    const QString besideProgram = parentOf(dirs.programDir);
    const QString besideData = parentOf(dirs.localDataRoot);
    for (int year = 2002; year < programYear; ++year) {
        const QString name = u"RUR "_s + QString::number(year);
        for (const QString &parent : {besideProgram, besideData}) {
            const QString candidate = FolderEntries(parent).find(name);
            if (candidate.isEmpty() || base::samePath(candidate, dirs.localDataRoot) || !isEdition(candidate))
                continue;
            found = FolderEntries(candidate).find(u"Data.DB"_s);
        }
    }
    return found;
}

QString chosenCatalogueProblem(const base::Directories &dirs, const QString &chosen)
{
    if (!chosen.isEmpty() && base::startsWithPath(folderOfCatalogue(chosen), dirs.localDataRoot))
        return QString::fromUtf16(kChooseEarlierEdition);
    return {};
}

QString conversionEditProblem(const base::Directories &dirs, const QString &edit)
{
    const QString text = edit.trimmed();
    if (text.isEmpty())
        return {};
    if (QString problem = chosenCatalogueProblem(dirs, text); !problem.isEmpty())
        return problem;
    if (!QFileInfo(text).isFile())
        return u"Soubor "_s + text + u" neexistuje."_s;
    return {};
}

QString conversionStartFolder(const base::Directories &dirs, const QString &edit)
{
    if (!edit.trimmed().isEmpty()) {
        const QString folder = folderOfCatalogue(edit.trimmed());
        if (QFileInfo(folder).isDir())
            return folder;
        const QString tervik = dirs.commonDataFolder + u"/Tervik/"_s;
        const bool belowTervik = !dirs.commonDataFolder.isEmpty() && base::startsWithPath(edit.trimmed(), tervik);
        if (belowTervik && QFileInfo(tervik).isDir())
            return tervik;
    }
    return parentOf(dirs.localDataRoot);
}

ConversionResult KontrolaInst1(Catalogue &catalogue, base::Directories &dirs, platform::Prompter &prompter,
                               const ConversionWindow &window)
{
    platform::IniFile local(dirs.localDataRoot + u"Dph.ini"_s);
    if (local.readString(u"Dph"_s, conversionKey()) == u"1"_s)
        return {};
    local.writeString(u"Dph"_s, conversionKey(), u"1"_s);
    const bool offer = local.readString(u"Dph"_s, conversionKey() + u'o') == u"1"_s;

    const QString found = findEarlierCatalogue(dirs);
    const bool empty = catalogue.Data->isActive() && catalogue.isEmpty();
    if (!empty || (found.isEmpty() && !offer) || !window)
        return {};
    const ConversionChoice choice = window(found);
    QDir::setCurrent(dirs.dataRoot);
    if (!choice.convert || choice.earlierCatalogue.trimmed().isEmpty())
        return {};
    return KontrolaInst2(catalogue, dirs, choice.earlierCatalogue.trimmed(), prompter);
}

}  // namespace rur::datasets
