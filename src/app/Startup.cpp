#include "app/Startup.h"

#include "base/Program.h"
#include "base/SharedLocks.h"
#include "data/DataFileList.h"
#include "data/Templates.h"
#include "engine/EngineError.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::app {

const char16_t kNoDataRootMessage[] = u"Chyba při zjišťování adresáře s daty.\nNainstalujte program znovu.";
const char16_t kWriteFailedMessage[] = u"Nemáte oprávnění zapisovat do adresáře s daty.\nNainstalujte program znovu.";

base::Directories findDirectories(const QString &programDir, const QString &commonDataFolder,
                            const QString &documentsFolder)
{
    base::Directories d;
    d.programDir = base::withSlash(programDir);
    d.localDataRoot = d.dataRoot = d.programDir;
    d.notFound = true;
    const auto accept = [&d](const QString &root) {
        d.localDataRoot = d.dataRoot = root;
        QDir::setCurrent(root);
        d.notFound = false;
    };
    if (QFile::exists(d.programDir + u"Data.ini"_s)) {
        const platform::IniFile dataIni(d.programDir + u"Data.ini"_s);
        QString value = dataIni.readString(u"Data"_s, u"Dph"_s);
        if (value.startsWith(u"AdresarPrg"_s, Qt::CaseInsensitive))
            value = d.programDir;
        if (!value.isEmpty()) {
            value = base::withSlash(value);
            d.dataIniDir = value;
            if (QFile::exists(value + u"Data.DB"_s))
                accept(value);
        }
    }
    d.commonDataFolder = commonDataFolder;
    if (d.dataIniDir.isEmpty() && !commonDataFolder.isEmpty()) {
        const QString candidate = defaultDataRoot(commonDataFolder);
        if (QFile::exists(candidate + u"Data.DB"_s))
            accept(candidate);
    }
    d.documentsFolder = documentsFolder;
    return d;
}

QString defaultDataRoot(const QString &commonDataFolder)
{
    if (commonDataFolder.isEmpty())
        return {};
    return commonDataFolder + u"/Tervik/RUR "_s + QString::number(base::kProgramYear) + u'/';
}

bool createFirstDataRoot(base::Directories &dirs)
{
    if (!dirs.notFound || !dirs.dataIniDir.isEmpty())
        return false;
    const QString root = defaultDataRoot(dirs.commonDataFolder);
    if (root.isEmpty())
        return false;
    const QFileInfo info(root);
    const bool existed = info.exists();
    if (existed && (!info.isDir() || !QDir(root).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)))
        return false;
    try {
        data::installDataRoot(root);
    } catch (const engine::EngineError &) {
        // Half a data root would stop every later start with the same message: a folder
        // made here goes again, an empty one that was there is emptied again.
        QDir(root).removeRecursively();
        if (existed)
            QDir().mkpath(root);
        return false;
    }
    dirs.localDataRoot = dirs.dataRoot = root;
    QDir::setCurrent(root);
    dirs.notFound = false;
    return true;
}

int readDataVersion(const QString &root)
{
    return platform::IniFile(root + u"Data/Verze.ini"_s).readInteger(u"Verze"_s, u"Data"_s, 0);
}

QString versionMismatchMessage(int dataVersion)
{
    if (dataVersion < base::kProgramVersion)
        return u"Máte novější verzi programu než adresář Data.\nNainstalujte program znovu."_s;
    if (dataVersion > base::kProgramVersion)
        return u"Máte starší verzi programu než adresář Data.\nNainstalujte program znovu."_s;
    return {};
}

WindowGeometry defaultGeometry(QSize screen)
{
    WindowGeometry g;
    g.width = screen.width() <= 640 ? 640 : 800;
    g.height = screen.height() <= 480 ? 453 : 573;
    return g;
}

WindowGeometry storedGeometry(const platform::IniFile &dph, const WindowGeometry &current, QSize screen)
{
    WindowGeometry g = current;
    const int maximized = dph.readInteger(u"Dph"_s, u"Maximized"_s, -1);
    if (maximized == -1) {
        g.maximized = screen.width() <= 800;
        return g;
    }
    g.top = dph.readInteger(u"Dph"_s, u"Top"_s, current.top);
    g.left = dph.readInteger(u"Dph"_s, u"Left"_s, current.left);
    g.width = dph.readInteger(u"Dph"_s, u"Width"_s, current.width);
    g.height = dph.readInteger(u"Dph"_s, u"Height"_s, current.height);
    g.maximized = maximized == 1;
    return g;
}

bool saveOnClose(const QString &localDataRoot, const WindowGeometry &g, const base::UserSettings &s)
{
    platform::IniFile dph(localDataRoot + u"Dph.ini"_s);
    bool ok = true;
    if (!g.maximized) {
        ok = dph.writeInteger(u"Dph"_s, u"Top"_s, g.top) && ok;
        ok = dph.writeInteger(u"Dph"_s, u"Left"_s, g.left) && ok;
        ok = dph.writeInteger(u"Dph"_s, u"Width"_s, g.width) && ok;
        ok = dph.writeInteger(u"Dph"_s, u"Height"_s, g.height) && ok;
        ok = dph.writeInteger(u"Dph"_s, u"Maximized"_s, 0) && ok;
    } else {
        ok = dph.writeInteger(u"Dph"_s, u"Maximized"_s, 1) && ok;
    }
    ok = dph.writeInteger(u"Dph"_s, u"TypPisma"_s, s.typPisma) && ok;
    ok = dph.writeInteger(u"Dph"_s, u"Kodovani"_s, s.kodovani) && ok;
    if (!ok) {
        QFile probe(localDataRoot + u"Verze.txt"_s);
        probe.open(QIODevice::WriteOnly);  // a write test whose own failure says nothing more
    }
    return ok;
}

bool applyNetworkDataRoot(base::Directories &dirs, platform::Prompter &prompter)
{
    const platform::IniFile dph(dirs.localDataRoot + u"Dph.ini"_s);
    if (dph.readString(u"Dph"_s, u"Net"_s) != u"1"_s)
        return false;
    const QString path = base::withSlash(dph.readString(u"Dph"_s, u"Path"_s));
    if (path.isEmpty())
        return false;
    if (!QFile::exists(path + u"Data.DB"_s)) {
        prompter.error(u"Adresář "_s + path + u"\nneexistuje, nebo není dostupný na síťové jednotce."_s);
        dirs.dataRoot = dirs.localDataRoot;
        return true;
    }
    dirs.dataRoot = path;
    base::warnAboutSharedLocks(path, prompter);
    return true;
}

void refreshNetworkTemplates(const base::Directories &dirs, platform::Prompter &prompter)
{
    if (base::samePath(dirs.dataRoot, dirs.localDataRoot) || !QFile::exists(dirs.dataRoot + u"Data.DB"_s))
        return;
    const QString target = dirs.dataRoot + u"Data/"_s;
    int networkVersion = 0;
    if (QDir(target).exists())
        networkVersion = readDataVersion(dirs.dataRoot);
    else
        QDir().mkpath(target);
    if (networkVersion < dirs.dataVersion) {
        const QString source = dirs.localDataRoot + u"Data/"_s;
        const QString problem =
            data::copyTemplateFiles(source, data::catalogueFiles() + data::passwordFiles() + data::dataFileList(), target);
        if (!problem.isEmpty()) {
            prompter.error(problem);
            return;
        }
        platform::IniFile(target + u"Verze.ini"_s).writeInteger(u"Verze"_s, u"Data"_s, dirs.dataVersion);
    } else if (networkVersion > dirs.dataVersion) {
        prompter.error(u"Nainstalujte na tento počítač nejnovější verzi programu."_s);
    }
}

}  // namespace rur::app
