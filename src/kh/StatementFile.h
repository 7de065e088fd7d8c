#pragma once

// The control statement's filing file DPHKH1: VetaD with the period of the return, VetaP as
// the return's file writes it, the register's rows in their sections (A4 and B2 only above
// 10,000 Kč, the rest as the sums A5 and B3) and VetaC from the return's lines.

#include "kh/Register.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class IniFile;
class Prompter;
}  // namespace rur::platform
namespace rur::print {
struct FilingContext;
}

namespace rur::kh {

// What the file needs beside the data: the form of the statement (B řádné, O řádné/opravné,
// N následné) and, for N, the day the reasons for it were found. Kept in [KH] Forma and
// Zjisteno of the data-set ini.
struct StatementOptions {
    QChar form = u'B';
    QDate found;
};
StatementOptions readStatementOptions(const platform::IniFile &dataSetIni);
bool writeStatementOptions(platform::IniFile &dataSetIni, const StatementOptions &options);
// The forms offered, by letter: "B", "O", "N".
bool isStatementForm(const QString &letter);
QString formCaption(QChar form);  // "řádné", "opravné", "následné"

// Dkh opened (or its rows read again when it is not being edited) and its rows. Throws
// EngineError.
QList<Document> loadRegister(data::TDM1 &dm);

// The file as bytes, from the rows given and the current rows of Prp, Dtabn1 and Dtabn2, in
// the encoding of Dph.ini Kodovani; radky puts each element on its own line.
QByteArray buildDphkh1(data::TDM1 &dm, const QList<Document> &documents, const StatementOptions &options,
                       int kodovani, bool radky);

// The file's name beside the return's filing file: "DP3" in the return's name becomes "KH"
// ("DPHDP3 - D1.xml" gives "DPHKH - D1.xml"); a name without "DP3" gets "DPHKH - " in front.
QString statementPathFor(const QString &returnFilePath);

// Writes the file to a path and tells the user as the return's file does: the tables are
// refreshed and the register read first. Throws EngineError when a table can't be read.
bool writeStatementFile(data::TDM1 &dm, const QString &path, const StatementOptions &options, int kodovani,
                        bool radky, platform::Prompter &prompter);

// "&Uložit data" of the statement: the path of the return's file settings, the file written
// there; the path written, or empty. Throws EngineError.
QString saveStatementFile(print::FilingContext &ctx, const StatementOptions &options);

}  // namespace rur::kh
