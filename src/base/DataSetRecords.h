#pragma once

// What the data-set ini remembers in a section of its own, [Prehled], for the overview of the
// main window: the filing file last written for the data set (where, for which return and
// when) and the last backup (where and when). The routines that write the filing file and
// the archive record them as soon as the file is complete.

#include <QDateTime>
#include <QString>

namespace rur::base {

struct FilingFileRecord {
    QString path;
    QString returnKey;
    QDateTime written;
};
FilingFileRecord readFilingFileRecord(const QString &dataSetIni);
// False when the ini could not be written (the file itself stays written).
bool recordFilingFile(const QString &dataSetIni, const FilingFileRecord &record);

struct BackupRecord {
    QString path;
    QDateTime made;
};
BackupRecord readBackupRecord(const QString &dataSetIni);
bool recordBackup(const QString &dataSetIni, const BackupRecord &record);

}  // namespace rur::base
