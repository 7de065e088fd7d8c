// The catalogue's orderings: by number, by name, and the user's own, which is stored as the
// rows' positions and changed in one write of the catalogue.
#include "datasets/Catalogue.h"

#include "engine/GroupTransaction.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

using namespace Qt::StringLiterals;

namespace rur::datasets {

void Catalogue::applyOrdering(int ordering)
{
    ordering_ = ordering;
    if (!Data->isActive())
        return;
    switch (ordering) {
    case OrderOwn: Data->setIndexName(u"Pozice"_s); break;
    case OrderByName: Data->setIndexName(u"Nazev"_s); break;
    default: Data->setIndexName(QString()); break;
    }
}

void Catalogue::setOrdering(int ordering)
{
    applyOrdering(ordering);
    platform::IniFile(dirs_.dataRoot + u"Dph.ini"_s).writeInteger(u"Dph"_s, u"Razeni"_s, ordering);
}

QStringList Catalogue::ownOrderList()
{
    setOrdering(OrderOwn);
    QStringList out;
    for (int r = 0; r < Data->recordCount(); ++r)
        out.append(Data->storedValue(r, Data->def().indexOf(u"Cislo"_s)).toString() + u' '
                   + Data->storedValue(r, Data->def().indexOf(u"Nazev"_s)).toString());
    return out;
}

bool Catalogue::applyOwnOrder(const QStringList &list)
{
    const int current = currentNumber();
    const bool ok = guarded([&] {
        engine::GroupTransaction change({Data.get()}, kCatalogueWaitMs);
        for (int i = 0; i < list.size(); ++i) {
            const int number = list[i].section(u' ', 0, 0).toInt();
            if (Data->locate(u"Cislo"_s, {number}) && Data->field(u"Pozice"_s).asInteger() != i + 1) {
                Data->edit();
                Data->field(u"Pozice"_s).setValue(i + 1);
                Data->post();
            }
        }
        change.commit();
        return true;
    });
    applyOrdering(OrderOwn);
    Data->locate(u"Cislo"_s, {current});
    return ok;
}

bool Catalogue::clearOwnOrder()
{
    if (!prompter_.confirm(u"Opravdu vymazat vlastní nastavení ?"_s))
        return false;
    const int current = currentNumber();
    const bool ok = guarded([this] {
        engine::GroupTransaction change({Data.get()}, kCatalogueWaitMs);
        // Changing Pozice moves a row within the own ordering, so the rows are visited by
        // number, not by walking the ordering they move in.
        QVariantList numbers;
        for (Data->first(); !Data->eof(); Data->next())
            numbers.append(Data->field(u"Cislo"_s).value());
        for (const QVariant &number : std::as_const(numbers)) {
            if (Data->locate(u"Cislo"_s, {number}) && Data->field(u"Pozice"_s).value() != number) {
                Data->edit();
                Data->field(u"Pozice"_s).setValue(number);
                Data->post();
            }
        }
        change.commit();
        return true;
    });
    if (ok)
        setOrdering(OrderAutomatic);
    Data->locate(u"Cislo"_s, {current});
    return ok;
}

}  // namespace rur::datasets
