#pragma once

// What backup and restore share while the tables of the data set are closed.

#include "backup/ZipArchive.h"
#include "engine/LockFile.h"

#include <QString>
#include <functional>

namespace rur::backup {

struct ArchiveJob;

// Closes every table and lets go of the data-set directory, but keeps it marked as in use,
// so that no other instance opens the data set while its files are being read or replaced.
class ClosedDataSet {
public:
    explicit ClosedDataSet(ArchiveJob &job);
    ClosedDataSet(const ClosedDataSet &) = delete;
    ClosedDataSet &operator=(const ClosedDataSet &) = delete;

    QString path() const { return path_; }  // ends in '/'
    QString directoryName() const;

    // Reopens all tables and clears the second status panel, then runs report; an error of
    // the reopening is thrown after the report.
    void reopen(const std::function<void()> &report);
    // Opens all tables as a test of the files in place: false (the tables closed again)
    // when one of them does not open.
    bool tryReopen();
    void close();

private:
    ArchiveJob &job_;
    QString path_;
    engine::LockFile lock_;
};

// The archive of a data-set directory: every file but its ini, the lock files and the
// folders of an unfinished restore; ticks go to the job.
ArchiveOptions dataSetArchiveOptions(const ClosedDataSet &set, ArchiveJob &job);

// Deletes the safety archive and its folder when that is empty.
void removeSafetyArchive(const QString &dataSetPath);

}  // namespace rur::backup
