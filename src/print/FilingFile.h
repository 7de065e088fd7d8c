#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace rur::base {
struct Directories;
struct UserSettings;
}  // namespace rur::base
namespace rur::data {
class TDM1;
}
namespace rur::engine {
class Table;
}
namespace rur::platform {
class IniFile;
class Prompter;
}  // namespace rur::platform

namespace rur::print {

// The [XML] keys of the data-set ini: the path template of the filing file (Dph, empty for
// the default path) and whether the default file name carries the firm's name (Nazev).
struct XmlPathSettings {
    QString pathTemplate;
    bool firmName = false;
};
XmlPathSettings readXmlPathSettings(const platform::IniFile &dataSetIni);
bool writeXmlPathSettings(platform::IniFile &dataSetIni, const XmlPathSettings &settings);

// What the filing-file routines work on. The print centre holds the path settings for as long
// as it is open; the encoding (chosen in the settings window) and the line layout live in the
// user settings of the run, which the main window writes to Dph.ini when it closes.
struct FilingContext {
    data::TDM1 &dm;
    const base::Directories &dirs;
    base::UserSettings &user;
    XmlPathSettings &xml;
    platform::Prompter &prompter;
    // Runs once "&Uložit data" has written the file, with its path (the check of the file).
    std::function<void(const QString &path)> afterWrite = {};
};

inline constexpr char16_t kSavedMessage[] = u"Data byla uložena do XML souboru.";
inline constexpr char16_t kSetPathMessage[] = u"Nastavte správně cestu.";
// "Soubor " + path + " nelze vytvořit."
QString cannotCreateMessage(const QString &path);

// The filing file DPHDP3 of the current return as bytes, from the current rows of Prp,
// Dtabn1, Dtabn2, Dtabn3 and Prppz (a closed table reads as empty). kodovani is the index of
// Dph.ini Kodovani; radky puts each element on its own line, indented by tabs.
QByteArray buildDphdp3(data::TDM1 &dm, int kodovani, bool radky);

// Posts and reopens the print settings and the taxpayer row, and re-reads the return, so
// that every calculated field is computed from what is stored now. Throws EngineError.
void refreshFilingTables(data::TDM1 &dm);

// Writes the bytes `build` makes to a real path and tells the user: "Data byla uložena do XML
// souboru." or "Soubor ... nelze vytvořit.". Creates missing folders; replaces an existing
// file atomically, so a failed write leaves the old file whole.
bool storeFilingFile(const QString &path, const std::function<QByteArray()> &build, platform::Prompter &prompter);

// The kind of return as the filing file writes it (dapdph_forma) from the taxpayer row: "B"
// regular, "O" corrective, "D" supplementary, "E" supplementary corrective.
const char *returnFormLetter(engine::Table &prp);
// The return as a filing file identifies it: year, month or quarter and kind
// ("2018|listopad||B"). A file written for it stops counting once any of them changes.
QString returnKey(data::TDM1 &dm);

// Writes the filing file to a real path and tells the user: "Data byla uložena do XML
// souboru." or "Soubor ... nelze vytvořit.". Posts and reopens Dmt and Prp and re-reads the
// return first, so that calculated fields are fresh; creates missing folders; replaces an
// existing file atomically, so a failed write leaves the old file whole. Throws EngineError
// when a table can't be posted or opened.
bool DphXml1(data::TDM1 &dm, const QString &path, int kodovani, bool radky, platform::Prompter &prompter);

// Default path template: under %AdresarDat% (type 1, or the Data.ini directory when there is
// one) or %AdresarUziv% (type 2), XML/DPHDP3 - <stem>.xml, the stem being the taxpayer file
// stem when firmName is set, else the data-set directory name.
QString defaultXmlTemplate(data::TDM1 &dm, const base::Directories &dirs, int type, bool firmName);

// Sets the default path template when none is stored.
void VychXml1(data::TDM1 &dm, const base::Directories &dirs, XmlPathSettings &xml);

// The path of the return's filing file: the default template set if none, resolved; a path
// that can't be resolved gets "Nastavte správně cestu." and gives an empty path.
QString filingFilePath(FilingContext &ctx);

// "&Uložit data": sets the default template if none, resolves the path and writes the file;
// a path that can't be resolved gets "Nastavte správně cestu." and nothing is written.
// After a write the context's afterWrite runs. Returns the path written, or empty.
QString saveFilingFile(FilingContext &ctx);

}  // namespace rur::print
