#include "correspondence/AddressBook.h"

#include "correspondence/Documents.h"
#include "data/DataM1.h"
#include "data/TableRules.h"
#include "engine/Table.h"
#include "print/PaymentOrder.h"

using namespace Qt::StringLiterals;

namespace rur::correspondence {

void calculateAddress(engine::Table &maz)
{
    const QString psc = maz.field(u"Psc"_s).asString();
    if (!psc.isEmpty())
        maz.field(u"Psc1"_s).setValue(print::postalCodeText(psc));
}

void attachAddressBookRules(data::TDM1 &dm)
{
    dm.Maz->onCalcFields = calculateAddress;
    dm.Maz->onNewRecord = [](engine::Table &t) { t.field(u"O"_s).setValue(false); };
    showRecordPosition(dm, *dm.Maz);
}

void showRecordPosition(data::TDM1 &dm, engine::Table &table)
{
    const auto show = [&dm, &table] {
        if (dm.statusDisplayOn)
            dm.Zaznam(table);
    };
    QObject::connect(&table, &engine::Table::recordChanged, &dm, show);
    QObject::connect(&table, &engine::Table::stateChanged, &dm, show);
}

QString printMarkCaption(bool marked)
{
    return marked ? u"ano"_s : u"ne"_s;
}

void openSender(data::TDM1 &dm)
{
    engine::Table &mtt = *dm.Mtt;
    if (!mtt.isActive())
        mtt.open();
    else
        mtt.refresh();
    mtt.edit();
}

void closeSender(data::TDM1 &dm)
{
    engine::Table &mtt = *dm.Mtt;
    if (mtt.isEditing()) {
        try {
            mtt.post();
        } catch (...) {
            mtt.cancel();
            mtt.close();
            mtt.open();
            throw;
        }
    }
    mtt.close();
    mtt.open();
}

void registerTableRules()
{
    data::addTableRules("correspondence", [](data::TDM1 &dm) {
        attachAddressBookRules(dm);
        attachDocumentRules(dm);
    });
}

}  // namespace rur::correspondence
