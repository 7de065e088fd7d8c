#pragma once

#include <QString>
#include <QStringList>

namespace rur::testing {

// A data root as an installed edition leaves it (catalogue, passwords, Dph.ini, templates)
// with one data set per name, numbered from 1 (D1, D2, ...), each a copy of the templates.
void makeEdition(const QString &root, const QStringList &names);
// Gives data set `number` of a data root a password.
void setPassword(const QString &root, int number, const QString &password);

}  // namespace rur::testing
