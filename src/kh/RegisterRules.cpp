#include "kh/RegisterRules.h"

#include "data/DataM1.h"
#include "data/TableRules.h"
#include "engine/EngineError.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "kh/Register.h"

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

QString capitalized(const QString &text)
{
    return text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1);
}

}  // namespace

void attachRegisterRules(data::TDM1 &dm)
{
    engine::Table &dkh = *dm.Dkh;
    for (int c = 0; c < kColumnCount; ++c) {
        const Column column = Column(c);
        dkh.setFieldLabel(fieldName(column), capitalized(columnCaption(column)));
        // The date completes shorthand input as every date field of the program does.
        if (column == Column::Datum)
            continue;
        dkh.setOnSetText(fieldName(column), [column](engine::Field f, const QString &text) {
            const CellValue cell = readCell(column, text);
            if (!cell.error.isEmpty())
                RUR_THROW(engine::ErrInvalidValue, capitalized(columnCaption(column)) + u' ' + cell.error + u", ne „"_s
                                                       + text.trimmed() + u"“."_s);
            f.setValue(cell.value);
        });
    }
    dkh.setFieldLabel(u"Kam"_s, u"Uvede se v oddílu"_s);
    dkh.onCalcFields = [](engine::Table &t) {
        if (sectionNamed(t.field(u"Oddil"_s).asString()))
            t.field(u"Kam"_s).setValue(sectionName(reportedIn(currentDocument(t))));
    };
    dkh.beforePost = [](engine::Table &t) {
        const QString section = t.field(u"Oddil"_s).asString();
        if (!sectionNamed(section))
            RUR_THROW(engine::ErrInvalidValue, u"Vyplňte oddíl kontrolního hlášení: A1, A2, A3, A4, A5, B1, B2 nebo B3."_s);
        t.field(u"Oddil"_s).setValue(section.trimmed().toUpper());
        for (Column c : {Column::Zaklad1, Column::Dan1, Column::Zaklad2, Column::Dan2, Column::Zaklad3, Column::Dan3}) {
            engine::Field f = t.field(fieldName(c));
            if (!f.isNull())
                f.setValue(engine::textRound(f.asFloat(), u"0.00"_s));
        }
    };
}

void registerTableRules()
{
    data::addTableRules("kh", [](data::TDM1 &dm) {
        attachRegisterRules(dm);
    });
}

}  // namespace rur::kh
