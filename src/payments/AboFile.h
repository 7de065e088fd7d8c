#pragma once

// The ABO file of Czech banks ("KPC" file) written from the bank orders of Mban: grouping of
// the orders into accounting files, the check of every order, the lines of the format and
// the numbering of accounting files kept in the data-set ini.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

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

namespace rur::payments {

// [BankaABO] of the data-set ini: whether accounting files are numbered, the interval and the
// number of the next file.
struct AboNumbering {
    bool on = true;
    int from = 1;
    int to = 999;
    int next = 1;
};
// Absent keys, and values that are not numbers, read as on, 1, 999 and 1.
AboNumbering readAboNumbering(const platform::IniFile &dataSetIni);
bool writeAboNumbering(platform::IniFile &dataSetIni, const AboNumbering &numbering);
// What the settings window makes of typed numbers: the integer value, or the default when
// the text is not a number; the next number is then kept inside the interval.
int numberOrDefault(const QString &text, int defaultValue);
int nextNumberInInterval(int next, int from, int to);
// Whether the file can hold a number of the numbering: three digits, 0 to 999.
bool aboNumberFits(int number);

// One order as the file takes it; `position` is its row in the order list (1-based).
struct AboOrder {
    qint64 id = 0;
    int position = 0;
    QString cu1, kodi, cu2, kod, vs, ks, ss, tp;
    double ca = 0;
    QDate ds;
};

// Orders of one payer account, bank code, due date and type, in list order.
struct AboGroup {
    QString cu1, kodi, tp;
    QDate ds;
    double sum = 0;
    QList<int> orders;  // indexes into the order list
};

// The rows of Mban in its date order, read without moving its cursor.
QList<AboOrder> readOrders(engine::Table &mban);
// Groups in the order their first order comes in the list; values compared as they are.
QList<AboGroup> groupOrders(const QList<AboOrder> &orders);
// The first order the bank could not take, as a Czech message naming its row and field;
// empty when every order is fine.
QString checkOrders(const QList<AboOrder> &orders);

// The file as bytes (windows-1250, CR LF) with, for each order, its line number (Rd) and
// group number (M1); `numbering.next` is advanced past the files written.
struct AboContent {
    QByteArray bytes;
    QList<int> lineOfOrder;   // Rd, by order index
    QList<int> groupOfOrder;  // M1, by order index
};
AboContent buildAboContent(const QList<AboOrder> &orders, const QList<AboGroup> &groups, AboNumbering &numbering,
                           const QDate &today);

// Writing the file as "&Přenést" does: the orders checked (a refused order: its message, and
// nothing written); the folder made when missing; the file written under a temporary name
// beside the target and renamed into place (a failure: "Soubor … nelze vytvořit.", the old
// file kept); Rd and M1 stored in the orders and the groups in Mban1 in one transaction; the
// next number written to the ini when numbering is on. With no orders no file is left at the
// path. True when the file is written (or, with no orders, gone). Throws EngineError.
struct AboWrite {
    QString path;
    QDate today;
    QString dataSetIni;  // where [BankaABO] is read and written
};
bool writeAboFile(data::TDM1 &dm, const AboWrite &request, platform::Prompter &prompter);

// The Yes answer to "Byly příkazy vpořádku načteny do bankovního programu ?": Mban emptied.
// Throws EngineError.
void emptyOrders(data::TDM1 &dm);

// Whether "&Přenést" starts the banking program: not empty, not the letter x (either case),
// and none started since the window opened.
bool startsBankProgram(const QString &program, bool startedBefore);

}  // namespace rur::payments
