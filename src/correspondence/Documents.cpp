#include "correspondence/Documents.h"

#include "correspondence/AddressBook.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"

using namespace Qt::StringLiterals;

namespace rur::correspondence {

void attachDocumentRules(data::TDM1 &dm)
{
    dm.Mdp->onNewRecord = [](engine::Table &t) {
        t.field(u"Typ"_s).setValue(true);
        t.field(u"Nazev"_s).setValue(QVariant());
    };
    // A document is chosen for printing by its name: one without a name could not be, and
    // the key would not keep several of them apart.
    dm.Mdp->beforePost = [](engine::Table &t) {
        if (t.field(u"Nazev"_s).asString().trimmed().isEmpty())
            RUR_THROW(engine::ErrInvalidValue, QString::fromUtf16(kEmptyName));
    };
    // The engine's own text names the key; the user is told which field to change.
    dm.Mdp->onPostError = [](engine::Table &, const engine::EngineError &e) -> engine::Table::PostErrorAction {
        if (e.code() == engine::ErrKeyViolation)
            RUR_THROW(engine::ErrKeyViolation, QString::fromUtf16(kDuplicateName));
        return engine::Table::PostErrorAction::Fail;
    };
    showRecordPosition(dm, *dm.Mdp);
}

QString documentTypeCaption(bool letter)
{
    return letter ? u"dopis"_s : u"příloha"_s;
}

bool Duplikace(data::TDM1 &dm, platform::Prompter &prompter)
{
    engine::Table &mdp = *dm.Mdp;
    // With no document there is nothing to copy: no question, no blank row.
    if (!mdp.isActive() || mdp.isEmpty())
        return false;
    if (!prompter.confirm(QString::fromUtf16(kDuplicateQuestion)))
        return false;
    if (mdp.isEditing())
        mdp.post();
    const QVariant typ = mdp.field(u"Typ"_s).value(), rd1 = mdp.field(u"Rd1"_s).value(),
                   rd2 = mdp.field(u"Rd2"_s).value(), text = mdp.field(u"Text"_s).value();
    mdp.insert();
    mdp.field(u"Typ"_s).setValue(typ);
    mdp.field(u"Rd1"_s).setValue(rd1);
    mdp.field(u"Rd2"_s).setValue(rd2);
    mdp.field(u"Text"_s).setValue(text);
    return true;
}

std::optional<Document> findDocument(data::TDM1 &dm, const QString &nazev)
{
    engine::Table &mdp = *dm.Mdp;
    if (!mdp.isActive())
        mdp.open();
    const engine::TableDef &def = mdp.def();
    const int name = def.indexOf(u"Nazev"_s);
    for (int row = 0; row < mdp.recordCount(); ++row) {
        if (mdp.storedValue(row, name).toString() != nazev)
            continue;
        const auto value = [&](const QString &field) { return mdp.storedValue(row, def.indexOf(field)); };
        return Document{nazev, value(u"Rd1"_s).toString(), value(u"Rd2"_s).toString(), value(u"Typ"_s).toBool(),
                        value(u"Text"_s).toString()};
    }
    return std::nullopt;
}

QString missingDocumentMessage(const QString &nazev)
{
    return u"Dokument „"_s + nazev + u"“ v tabulce dokumentů není."_s;
}

}  // namespace rur::correspondence
