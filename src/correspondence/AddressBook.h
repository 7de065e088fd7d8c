#pragma once

// The address book (Maz) and the sender (Mtt) without their windows: the hooks of Maz, the
// captions the address book shows, and what the sender window does when it opens and closes.

#include <QString>

namespace rur::data {
class TDM1;
}
namespace rur::engine {
class Table;
}

namespace rur::correspondence {

// Hooks of Maz: the postal code for printing Psc1 ("12345" gives "123 45"), and a new
// address not marked for printing. Also used by the envelopes' query over Maz.
void calculateAddress(engine::Table &maz);
void attachAddressBookRules(data::TDM1 &dm);
// Adds the address book's and the letters' rules to every data module made from now on.
void registerTableRules();
// The record position in the main window's second panel after every move, post, delete and
// change of state, while the data module's status display is on.
void showRecordPosition(data::TDM1 &dm, engine::Table &table);

// The print mark's caption: "ano" or "ne".
QString printMarkCaption(bool marked);

// "Odesílatel" opening: Mtt read again and put into edit. Throws EngineError.
void openSender(data::TDM1 &dm);
// "Odesílatel" closing: Mtt saved when it is being edited, then closed and opened again.
// Throws EngineError; the row has been dropped back to what the file holds then.
void closeSender(data::TDM1 &dm);

}  // namespace rur::correspondence
