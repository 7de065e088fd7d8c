#pragma once

// Reading documents into the register from a text file: UTF-8, semicolons between cells, a
// header line naming the columns oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;
// zaklad3;dan3;kod;rezim;oprava;pomer;radek (in any order, each once), one document a line.
// Cells may be quoted ("a;b", "" for a quote). All rows go in, or none: the first bad cell
// stops the import with its line and column named.

#include "kh/Register.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::kh {

// The file read, checked and stored: the number of rows added, or the error (the file that
// can't be read or is not a register, and the register unchanged). Throws EngineError when
// the register can't be written.
struct ImportResult {
    int rows = 0;
    QString error;
};
ImportResult importRegisterCsv(data::TDM1 &dm, const QString &path, bool replace);
// The same for the file's bytes.
ImportResult importRegisterText(data::TDM1 &dm, const QByteArray &bytes, bool replace);

// The largest file read: far beyond any month's documents (a million lines).
inline constexpr qint64 kLargestImportFile = qint64(256) << 20;

}  // namespace rur::kh
