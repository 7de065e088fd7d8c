#pragma once

// What the four search windows do to the table of their list window, without the windows:
// the nearest row for a typed key in the table's current order, the date search over the
// bank orders, and the order of the address book.

#include <QDate>
#include <QString>
#include <QVariant>

namespace rur::engine {
class Table;
}
namespace rur::platform {
class IniFile;
}

namespace rur::search {

// Moves the table to the first row whose key (the first field of its current order) equals
// or follows `key`; past the last key it goes to the last row. False, with the row kept,
// when the table is closed or empty or the key does not fit the field.
bool moveToNearest(engine::Table &table, const QVariant &key);

// Search on every change of the text: bank number over Mbzp (text that is no whole number
// moves nowhere), document name over Mdp, name or place over Maz. Errors are ignored.
bool searchBankNumber(engine::Table &mbzp, const QString &text);
bool searchText(engine::Table &table, const QString &text);

// The date search over Mban ("&Najdi").
struct DateSearch {
    QString text;     // the date as dd.mm.yyyy, for the field
    bool found = false;
    QString message;  // information when no order has that date; empty otherwise
};
// Throws EngineError "Neplatné datum: „<text>“." (ErrInvalidValue) when the typed text,
// completed with DatumAll, is no date; the table does not move then.
DateSearch searchByDate(engine::Table &mban, const QString &typed, const QDate &today);
QString dateNotFoundMessage(const QDate &date);

// The address book's order: 0 by name (index Fa), 1 by place (index Mi).
enum AddressOrder { ByName = 0, ByPlace = 1 };
QString addressBookCaption(int order);  // "Adresář - podle názvu" / "Adresář - podle místa"
// Sets the order when the table has another one and goes to the first row; false when it
// already had it (nothing moves then). Throws EngineError.
bool setAddressBookOrder(engine::Table &maz, int order);
// Vyhledavani16Podle of the data set's section: 0 or 1, 0 when missing or anything else.
int readAddressSearchBy(const platform::IniFile &ini, const QString &section);
bool writeAddressSearchBy(platform::IniFile &ini, const QString &section, int order);

}  // namespace rur::search
