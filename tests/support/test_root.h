#pragma once

#include "engine/TableDef.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>
#include <functional>

namespace rur::base {
struct Directories;
}
namespace rur::data {
class TDM1;
}

namespace rur::testing {

// A data root in a temporary folder, made by the installer's own code, with one data set
// D1 created from the templates as a new data set would be.
class TestRoot {
public:
    TestRoot();
    QString path() const { return root_; }           // ends in '/'
    QString dataSet(const QString &dir = QStringLiteral("D1")) const { return root_ + dir + u'/'; }
    // Creates a data-set directory with a copy of every template table.
    QString createDataSet(const QString &dir = QStringLiteral("D1")) const;
    // Replaces a table file of a data set with an older layout lacking some fields,
    // holding the given rows.
    void writeOldTable(const QString &dir, const engine::TableDef &def, const QStringList &missingFields,
                       const QList<QVariantMap> &rows) const;
    // Adds a catalogue row (Cislo, Nazev, Adresar D<Cislo> unless given).
    void addCatalogueRow(int number, const QString &name, const QString &directory = {}) const;
    bool valid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
    QString root_;
};

// Creates the data set D1 in the root and opens it in dm as the program does, with dirs
// pointing at the root: the set-up of most tests of the logic.
void openNewDataSet(const TestRoot &root, base::Directories &dirs, data::TDM1 &dm);

// Opens a data set of a data root as the program does and runs work on it; its tables close
// when work returns.
void withDataSet(const TestRoot &root, const std::function<void(data::TDM1 &)> &work,
                 const QString &dir = QStringLiteral("D1"));

// Contents of every file in a directory (and its subdirectories when recursive), for
// byte-for-byte comparisons.
QMap<QString, QByteArray> snapshot(const QString &directory, bool recursive = false);
// Runs work in a child process that is killed (SIGKILL) when it reaches the named crash
// point; true when the child really died there.
bool killedAt(const char *point, const std::function<void()> &work);
// Column names stored in a table file.
QStringList fileColumns(const QString &path);

}  // namespace rur::testing
