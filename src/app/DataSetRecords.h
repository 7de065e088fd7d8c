#pragma once

// What the data-set ini remembers in a section of its own, [Prehled], for the overview of the
// main window: the filing file last written for the data set (where, for which return and
// when) and the last backup (where and when). The routines that write the filing file and
// the archive record them as soon as the file is complete.

#include <QDateTime>
#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::app {

// The return as a filing file identifies it: year, month or quarter and kind
// ("2018|listopad||B"). A file written for it stops counting once any of them changes.
QString returnKey(data::TDM1 &dm);

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

}  // namespace rur::app
