#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace rur::engine {
class Table;
}

namespace rur::ui {

// The rows of a table as a list model for grids: chosen fields as columns, values shown
// as the fields display them. The model follows the table's re-reads; the table's cursor
// stays the program's current row.
class TableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Column {
        QString field;
        QString title;
    };
    TableModel(engine::Table *table, QList<Column> columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    engine::Table *table() const { return table_; }

private:
    engine::Table *table_;
    QList<Column> columns_;
    QList<int> fieldIndexes_;
};

}  // namespace rur::ui
