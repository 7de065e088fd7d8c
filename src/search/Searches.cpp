#include "search/Searches.h"

#include "data/DateInput.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "engine/TableValues.h"
#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::search {

namespace {

// The field of the table's current order that a search compares with.
int orderField(const engine::Table &table)
{
    const QString names = table.indexFieldNames();
    const QString first = names.section(u';', 0, 0).trimmed();
    return first.isEmpty() ? -1 : table.def().indexOf(first);
}

}  // namespace

bool moveToNearest(engine::Table &table, const QVariant &key)
{
    if (!table.isActive() || table.isEmpty())
        return false;
    const int fi = orderField(table);
    if (fi < 0)
        return false;
    const engine::FieldDef &def = table.def().fields[fi];
    // The rows are held in the order's sequence, compared as the order compares them.
    int target = table.recordCount() - 1;
    for (int row = 0; row < table.recordCount(); ++row) {
        if (engine::detail::compareValues(table.storedValue(row, fi), key, def.type) >= 0) {
            target = row;
            break;
        }
    }
    try {
        // The first row holding exactly that key is the row found: the rows before it
        // all come earlier in the order.
        return table.locate(def.name, {table.storedValue(target, fi)});
    } catch (const engine::EngineError &) {
        return false;
    }
}

bool searchBankNumber(engine::Table &mbzp, const QString &text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok && moveToNearest(mbzp, number);
}

bool searchText(engine::Table &table, const QString &text)
{
    return moveToNearest(table, text);
}

QString dateNotFoundMessage(const QDate &date)
{
    return u"Datum "_s + engine::formatDate(date) + u" není zapsán v elektronickém přenosu příkazů."_s;
}

DateSearch searchByDate(engine::Table &mban, const QString &typed, const QDate &today)
{
    const QDate date = data::dateFromText(typed, today);
    if (!date.isValid())
        RUR_THROW(engine::ErrInvalidValue, u"Neplatné datum: „"_s + typed.trimmed() + u"“."_s);
    DateSearch result;
    result.text = engine::formatDate(date);
    bool exact = false;
    try {
        exact = mban.isActive() && mban.locate(u"Ds"_s, {date});
    } catch (const engine::EngineError &) {
        exact = false;
    }
    result.found = exact;
    if (!exact) {
        moveToNearest(mban, date);
        result.message = dateNotFoundMessage(date);
    }
    return result;
}

QString addressBookCaption(int order)
{
    return order == ByPlace ? u"Adresář - podle místa"_s : u"Adresář - podle názvu"_s;
}

bool setAddressBookOrder(engine::Table &maz, int order)
{
    const QString index = order == ByPlace ? u"Mi"_s : u"Fa"_s;
    if (maz.indexName().compare(index, Qt::CaseInsensitive) == 0)
        return false;
    maz.setIndexName(index);
    if (maz.isActive())
        maz.first();
    return true;
}

int readAddressSearchBy(const platform::IniFile &ini, const QString &section)
{
    if (section.isEmpty())
        return ByName;
    return ini.readInteger(section, u"Vyhledavani16Podle"_s, ByName) == ByPlace ? ByPlace : ByName;
}

bool writeAddressSearchBy(platform::IniFile &ini, const QString &section, int order)
{
    return section.isEmpty() || ini.writeInteger(section, u"Vyhledavani16Podle"_s, order == ByPlace ? ByPlace : ByName);
}

}  // namespace rur::search
