// rur-cli run as a user runs it, for the tests of the logic library (their target knows where
// rur-cli is built); no data root of the user's is found unless a test gives its own.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <unistd.h>

namespace rur::testing {

struct CliResult {
    int exitCode = -1;  // -1 after a crash, -2 when it did not end in time (then killed)
    QString out, err;
    qint64 elapsedMs = 0;
};

struct CliOptions {
    QString dataHome = QStringLiteral("/nonexistent-rur-test");  // XDG_DATA_HOME
    QString workingDir;
    // As the user nobody when the tests run as root, so that file permissions count.
    bool unprivileged = false;
    int timeoutMs = 60000;
};

inline CliResult cli(const QStringList &args, const CliOptions &options = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), options.dataHome);
    p.setProcessEnvironment(env);
    if (!options.workingDir.isEmpty())
        p.setWorkingDirectory(options.workingDir);
    QString program = QString::fromUtf8(RUR_CLI_PATH);
    QStringList arguments = args;
    if (options.unprivileged && ::geteuid() == 0) {
        arguments = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                QStringLiteral("--clear-groups"), program}
                    + args;
        program = QStringLiteral("setpriv");
    }
    QElapsedTimer timer;
    timer.start();
    p.start(program, arguments);
    if (!p.waitForFinished(options.timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-2, {}, QStringLiteral("(hangs)"), timer.elapsed()};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError()), timer.elapsed()};
}

}  // namespace rur::testing
