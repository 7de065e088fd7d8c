// rur-cli run as a user runs it, for the tests of the logic library (their target knows where
// rur-cli is built); no data root of the user's is found.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace rur::testing {

struct CliResult {
    int exitCode = -1;
    QString out, err;
};

inline CliResult cli(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/nonexistent-rur-test"));
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(RUR_CLI_PATH), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace rur::testing
