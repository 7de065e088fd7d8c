#pragma once

// Where the return of the open period stands: what the main window's working area shows and
// `rur-cli overview` prints. Computed from the open tables, the data-set ini and the check
// of the return; nothing here writes.

#include <QDate>
#include <QDateTime>
#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::app {

struct Overview {
    QString taxpayer;  // the name the caption shows
    QString dic;
    QString period;  // "listopad 2018", "IV. čtvrtletí 2018"; empty when the taxpayer data name none
    QString kind;    // "řádné", "opravné", "dodatečné", "dodatečné opravné"
    bool supplementary = false;  // line 66 instead of lines 64 and 65
    bool lastOfYear = false;     // saved with the yearly settlement
    double r62 = 0, r63 = 0, r64 = 0, r65 = 0, r66 = 0;
    QDate today;
    // Invalid when the period (for a supplementary return the day its reasons were found) is
    // not known.
    QDate deadline;
    int daysLeft = 0;  // negative once the deadline has passed
    bool saved = false;  // among the finished returns
    QDateTime filingFileWritten;  // invalid unless the filing file of this return was written and is still there
    int errors = 0, warnings = 0;  // what the check of the return finds now
    QDate lastBackup;  // invalid when the data set was never backed up

    // The deadline has passed and the period is not saved: shown in red.
    bool overdue() const { return deadline.isValid() && daysLeft < 0 && !saved; }
    // No backup yet, or the last one is older than 30 days.
    bool backupDue() const { return !lastBackup.isValid() || lastBackup.daysTo(today) > 30; }
};

// The overview of the data set open in dm (its tables open). The return tables are re-read
// first, as the check does. kodovani is Dph.ini Kodovani, the encoding the check builds the
// filing file in. Throws EngineError when a table can't be read.
Overview computeOverview(data::TDM1 &dm, const QString &dataSetIni, int kodovani, const QDateTime &now);

// The overview as one JSON object: obdobi, druh, r62 to r66, termin (ISO date or null), dni
// (null without a deadline), ulozeno, soubor (ISO date and time or null), chyby, varovani,
// zaloha (ISO date or null), and poplatnik and dic.
QString overviewJson(const Overview &overview);

// What the working area shows, one fact a row: its caption and its value as texts.
enum class Fact { Taxpayer, Dic, Period, Kind, Line62, Line63, Result, Deadline, Saved, FilingFile, Check, Backup };
struct FactText {
    QString caption;
    QString value;
    bool alarm = false;  // shown in red: the deadline passed, errors found, a backup due
};
FactText factText(const Overview &overview, Fact fact);

// "zbývá 1 den", "zbývají 3 dny", "zbývá 12 dní", "dnes je poslední den", "uplynula před 2 dny".
QString daysLeftText(int days);

}  // namespace rur::app
