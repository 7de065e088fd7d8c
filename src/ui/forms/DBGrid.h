#pragma once

#include "ui/TableModel.h"

#include <QTableView>

namespace rur::ui {

class RecordEditor;

// The read-only grid of a record window over the editor's table: whole rows selected, the
// selected row always the table's current row (a move of the table moves the selection, a
// click moves the table), Enter or a double click picks the row.
class TDBGrid : public QTableView {
    Q_OBJECT

public:
    TDBGrid(RecordEditor *editor, QList<TableModel::Column> columns, QWidget *parent = nullptr);

    TableModel *tableModel() const { return model_; }
    // Selects the table's current row (called on every move of the table).
    void followTable();

signals:
    void picked();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void rowChosen(const QModelIndex &current);

    RecordEditor *editor_;
    TableModel *model_;
    bool following_ = false;
};

}  // namespace rur::ui
