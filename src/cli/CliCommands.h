#pragma once

#include <QStringList>

namespace rur::cli {

// Runs one command line of rur-cli; returns the exit code. Messages go to stderr in Czech.
int run(const QStringList &arguments);

}  // namespace rur::cli
