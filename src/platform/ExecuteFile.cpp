#include "platform/ExecuteFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace rur::platform {

Launcher::~Launcher() = default;

bool SystemLauncher::openUrl(const QUrl &url)
{
    // QDesktopServices needs the GUI application's platform plugin.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QDesktopServices::openUrl(url);
    const QString target = url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
    return QProcess::startDetached(u"xdg-open"_s, {target});
}

bool SystemLauncher::startProgram(const QString &program)
{
    return QProcess::startDetached(program, {});
}

namespace {

// Only schemes the program's windows hand over; a single letter before ":" is a Windows drive
// of data carried over from the original, not an address.
bool isAddress(const QString &name)
{
    static const QStringList schemes = {u"http"_s, u"https"_s, u"ftp"_s, u"mailto"_s, u"file"_s};
    const qsizetype colon = name.indexOf(u':');
    return colon > 1 && schemes.contains(name.left(colon), Qt::CaseInsensitive);
}

}  // namespace

bool ExecuteFile(const QString &name, Launcher &launcher)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return false;
    if (isAddress(trimmed))
        return launcher.openUrl(QUrl(trimmed, QUrl::TolerantMode));

    const QFileInfo info(trimmed);
    if (info.exists()) {
        // QProcess would look a relative name up on the PATH, not in the current directory.
        if (info.isFile() && info.isExecutable() && launcher.startProgram(info.absoluteFilePath()))
            return true;
        return launcher.openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
    }
    if (trimmed.startsWith(u"www."_s, Qt::CaseInsensitive))
        return launcher.openUrl(QUrl(u"http://"_s + trimmed, QUrl::TolerantMode));
    if (!trimmed.contains(u'/')) {
        const QString program = QStandardPaths::findExecutable(trimmed);
        if (!program.isEmpty())
            return launcher.startProgram(program);
    }
    return false;
}

bool ExecuteFile(const QString &name)
{
    SystemLauncher launcher;
    return ExecuteFile(name, launcher);
}

}  // namespace rur::platform
