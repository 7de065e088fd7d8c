#pragma once

#include <QString>

class QUrl;

namespace rur::platform {

// The two ways a name leaves the program. The system launcher hands them to the desktop;
// tests put a recorder in its place.
struct Launcher {
    virtual ~Launcher();
    // Opens a document, folder or address with the desktop's default handler.
    virtual bool openUrl(const QUrl &url) = 0;
    // Starts a program (absolute path) with no arguments in the current directory.
    virtual bool startProgram(const QString &program) = 0;
};

// QDesktopServices when a QGuiApplication runs, xdg-open otherwise (rur-cli), and
// QProcess::startDetached for programs.
struct SystemLauncher final : Launcher {
    bool openUrl(const QUrl &url) override;
    bool startProgram(const QString &program) override;
};

// Hands a file name, document or address to the system's default handler, with no
// parameters:
// - an address ("http:", "https:", "ftp:", "mailto:", "file:", or a name starting with
//   "www.") opens in its handler;
// - an existing executable file starts as a program; should it fail to start (an executable
//   bit on a document, as on FAT media), it opens as a document;
// - any other existing file or folder opens in its handler;
// - a bare name that is not a file here but a program on the PATH starts that program.
// False for an empty name, a name that leads nowhere, or when the handler reports failure.
bool ExecuteFile(const QString &name, Launcher &launcher);
bool ExecuteFile(const QString &name);

}  // namespace rur::platform
