#pragma once

// The print centre's settings in the data-set ini, section [Tisk], and the rules that choose
// the printer from them.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

namespace rur::platform {
class IniFile;
}

namespace rur::print {

struct PrintSettings {
    bool f6Prints = false;     // Tisk: F6 prints ("Tisk") or previews ("Náhled")
    bool useDefault = true;    // Vychozi: the system's default printer when a data set opens
    QString printer;           // Tiskarna: the data set's own printer while useDefault is off
    int activePage = 1;        // AktivniStranka: 1 "RUR", 2 "Komfort"
    std::optional<QPoint> place;  // Tisk1Left, Tisk1Top
};

// Reads [Tisk] (absent keys give the defaults above; a page other than 1 or 2 reads as 1).
PrintSettings readPrintSettings(const platform::IniFile &dataSetIni);
// Tisk, Vychozi and Tiskarna (empty while the default printer is used, else `currentPrinter`).
// False when the file can't be written.
bool writePrintSettings(platform::IniFile &dataSetIni, const PrintSettings &settings, const QString &currentPrinter);
// The place of the window and the page last shown (only 1 or 2 are stored).
bool writePrintCentrePlace(platform::IniFile &dataSetIni, QPoint place, int activePage);

// The print centre's first place: top 0, left 15 on screens at most 640 pixels wide, else
// top 82, left 95.
QPoint defaultPrintCentrePlace(int screenWidth);

// The printer that the stored settings select: with useDefault off, the installed printer of
// the stored name, or the default printer when there is none of that name any more; with
// useDefault on, the current printer stays.
QString choosePrinter(const PrintSettings &settings, const QStringList &installed, const QString &defaultPrinter,
                      const QString &current);

// The printer a set-up dialog returned: a name listed as "name on port" is the part before
// " on " (the installed printer of that name, ignoring case; a name that holds " on " itself
// is found as installed), else the part before the last " on ".
QString printerFromSetup(const QString &listed, const QStringList &installed);

}  // namespace rur::print
