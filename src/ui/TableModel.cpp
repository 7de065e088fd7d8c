#include "ui/TableModel.h"

#include "engine/Field.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::ui {

TableModel::TableModel(engine::Table *table, QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns))
{
    for (const Column &c : std::as_const(columns_))
        fieldIndexes_.append(table_->def().indexOf(c.field));
    connect(table_, &engine::Table::rowsReloaded, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !table_->isActive() ? 0 : table_->recordCount();
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int fi = fieldIndexes_[index.column()];
    if (fi < 0)
        return {};
    const engine::FieldDef &f = table_->def().fields[fi];
    if (role == Qt::TextAlignmentRole) {
        const bool numeric = f.type == engine::FieldType::Float || f.type == engine::FieldType::Integer
                             || f.type == engine::FieldType::Smallint || f.type == engine::FieldType::AutoInc;
        return QVariant::fromValue(Qt::Alignment((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole)
        return {};
    const QVariant v = f.calculated ? table_->rowValues(index.row()).value(fi) : table_->storedValue(index.row(), fi);
    if (v.isNull())
        return QString();
    switch (f.type) {
    case engine::FieldType::Float: return engine::formatFloat(v.toDouble(), f.displayFormat, u',');
    case engine::FieldType::Date: return engine::formatDate(v.toDate());
    case engine::FieldType::Boolean: return v.toBool() ? u"ano"_s : u"ne"_s;
    default: return v.toString();
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columns_.size() ? QVariant(columns_[section].title) : QVariant();
    return section + 1;
}

}  // namespace rur::ui
