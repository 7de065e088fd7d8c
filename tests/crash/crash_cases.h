#pragma once

// The procedures the crash test kills, each with the data it starts from.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace rur::crash {

// A private folder holding a data root (root/) and what a procedure reads or writes beside
// it (aux/): archives, a cash journal, an earlier edition, output files.
class Workspace {
public:
    Workspace();
    QString root() const { return dir_->path() + QStringLiteral("/root/"); }
    QString aux() const { return dir_->path() + QStringLiteral("/aux/"); }
    // A new workspace holding a copy of everything in this one.
    Workspace copy() const;

private:
    std::shared_ptr<QTemporaryDir> dir_;
};

// What the data set (or the whole data root) holds: every table's rows as text, by file,
// and under "(zbytky)" what a killed process left behind (journals, temporary copies,
// private folders), which a whole data set never has.
using State = QMap<QString, QString>;

enum class Scope { DataSet, DataRoot };

// Opens the data as the program next would (the catalogue, then data set D1, or every data
// set of the root), which finishes or undoes what a killed procedure left, and reads it.
// Throws std::runtime_error when something does not open.
State captureAfterOpening(const Workspace &w, Scope scope);
// Which tables differ from both states, for the report.
QString describeDifference(const State &now, const State &before, const State &after);

struct CrashCase {
    QString name;
    Scope scope = Scope::DataSet;
    std::function<void(Workspace &)> prepare;
    std::function<QStringList(const Workspace &)> arguments;  // for rur-cli
    // A check of what the procedure writes outside the tables; false with the reason.
    std::function<bool(const Workspace &, QString *)> extraCheck = {};
    // False for a procedure that only reads the data (a backup).
    bool changesData = true;
};

const QList<CrashCase> &crashCases();

}  // namespace rur::crash
