#include "support/rows.h"

#include "engine/Table.h"

namespace rur::testing {

namespace {

void setFields(engine::Table &table, const FieldValues &values)
{
    for (const auto &[name, value] : values)
        table.field(name).setValue(value);
    table.post();
}

}  // namespace

FieldValues inNameOrder(const QVariantMap &values)
{
    FieldValues out;
    for (auto it = values.begin(); it != values.end(); ++it)
        out.append({it.key(), it.value()});
    return out;
}

void setRow(engine::Table &table, const FieldValues &values)
{
    table.edit();
    setFields(table, values);
}

void appendRow(engine::Table &table, const FieldValues &values)
{
    if (!table.isActive())
        table.open();
    table.append();
    setFields(table, values);
}

void reread(engine::Table &table)
{
    table.close();
    table.open();
}

}  // namespace rur::testing
