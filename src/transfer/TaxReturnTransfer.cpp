#include "transfer/TaxReturnTransfer.h"

#include "data/DataM1.h"
#include "data/TextSplits.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "transfer/SiblingData.h"

using namespace Qt::StringLiterals;

namespace rur::transfer {

using engine::EngineError;
using engine::Table;

QList<std::pair<QString, QVariant>> taxpayerFigures(SiblingKind kind, const Table &source)
{
    const auto text = [&](const char16_t *field) -> QString {
        const int index = source.def().indexOf(QString::fromUtf16(field));
        return source.isActive() ? source.storedValue(source.currentRow(), index).toString() : QString();
    };
    QList<std::pair<QString, QVariant>> out;
    if (kind == SiblingKind::TaxReturnPO) {
        // The street line holds the house number after its last blank: "Dlouhá 1234/56a".
        const QString street = text(u"Ul");
        const QString number = data::Ulcd2(street, 0);
        out = {{u"Fu"_s, text(u"Fu")},
               {u"Dic"_s, text(u"Dic")},
               {u"Oj1a"_s, text(u"Oj1")},
               {u"Ojp3"_s, text(u"Oj1")},
               {u"Ul"_s, data::Ulcd2(street, 1)},
               {u"Cpocp"_s, data::Ulcd3(number, 1, u"/"_s)},
               {u"Cpoco"_s, data::Ulcd3(number, 0, u"/"_s)},
               {u"Psc"_s, text(u"Psc")},
               {u"Ob"_s, text(u"Mi")},
               {u"Hp1"_s, text(u"Hp1")},
               {u"Tds"_s, false}};
    } else if (kind == SiblingKind::TaxReturnSZ) {
        const QString number = text(u"Cd");
        out = {{u"Fu"_s, text(u"Fuv")},
               {u"Dic"_s, text(u"Dic")},
               {u"Jmb"_s, text(u"Jm")},
               {u"Pra"_s, text(u"Pr")},
               {u"Tia"_s, text(u"Ti")},
               {u"Ul"_s, text(u"Ul")},
               {u"Cpocp"_s, data::Ulcd3(number, 1, u"/"_s)},
               {u"Cpoco"_s, data::Ulcd3(number, 0, u"/"_s)},
               {u"Psc"_s, text(u"Psc").remove(u' ')},
               {u"Ob"_s, text(u"Mi")},
               {u"Tds"_s, true}};
    }
    return out;
}

void writeTaxpayer(data::TDM1 &dm, const QList<std::pair<QString, QVariant>> &figures)
{
    Table &prp = *dm.Prp;
    prp.edit();
    try {
        for (const auto &[field, value] : figures)
            prp.field(field).setValue(value);
        prp.post();
    } catch (...) {
        prp.cancel();
        throw;
    }
    prp.close();
    prp.open();
}

TransferResult transferTaxpayer(data::TDM1 &dm, SiblingData &sibling, platform::Prompter &prompter)
{
    const SiblingProgram &program = sibling.program();
    if (!sibling.isRowOpen()) {
        prompter.information(program.showFailed);
        return TransferResult::Failed;
    }
    if (!prompter.confirm(program.question))
        return TransferResult::Declined;
    {
        platform::BusyGuard busy(prompter);
        try {
            Table &source = sibling.taxpayer();
            // What the sibling's file holds now, not what the window showed a while ago: the
            // sibling may have replaced the file since.
            source.close();
            source.open();
            if (source.isEmpty()) {
                prompter.information(program.showFailed);
                return TransferResult::Failed;
            }
            source.first();
            writeTaxpayer(dm, taxpayerFigures(program.kind, source));
            dm.NazevDp1();
        } catch (const EngineError &e) {
            prompter.error(e.message());
            return TransferResult::Failed;
        }
    }
    prompter.information(program.doneMessage);
    sibling.closeRow();
    return TransferResult::Done;
}

}  // namespace rur::transfer
