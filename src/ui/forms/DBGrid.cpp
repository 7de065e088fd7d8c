#include "ui/forms/DBGrid.h"

#include "engine/Table.h"
#include "ui/forms/RecordEditor.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

namespace rur::ui {

TDBGrid::TDBGrid(RecordEditor *editor, QList<TableModel::Column> columns, QWidget *parent)
    : QTableView(parent), editor_(editor), model_(new TableModel(editor->table(), std::move(columns), this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    engine::Table *table = editor_->table();
    connect(table, &engine::Table::recordChanged, this, &TDBGrid::followTable);
    // The model resets on the same signal first (it connected first); then the selection.
    connect(table, &engine::Table::rowsReloaded, this, &TDBGrid::followTable);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TDBGrid::rowChosen);
    connect(this, &QTableView::doubleClicked, this, [this] { emit picked(); });
    followTable();
}

void TDBGrid::followTable()
{
    engine::Table *table = editor_->table();
    const int row = table->isActive() ? table->currentRow() : -1;
    following_ = true;
    if (row >= 0 && row < model_->rowCount()) {
        const QModelIndex current = currentIndex();
        const int column = current.isValid() ? current.column() : 0;
        selectionModel()->setCurrentIndex(model_->index(row, column),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(model_->index(row, column));
    } else {
        selectionModel()->clearSelection();
    }
    following_ = false;
}

void TDBGrid::rowChosen(const QModelIndex &current)
{
    if (following_ || !current.isValid())
        return;
    if (!editor_->goToRow(current.row()))
        // The table stays (a pending edit it could not post): so does the selection.
        QTimer::singleShot(0, this, &TDBGrid::followTable);
}

void TDBGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        emit picked();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace rur::ui
