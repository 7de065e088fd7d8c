#pragma once

// The edit fields of the correspondence windows, described as rows of a table: the label, the
// field, its width in characters and its hint; a field marked "beside" shares the row above.

#include <QList>
#include <span>

class QGridLayout;
class QWidget;

namespace rur::engine {
class Table;
}
namespace rur::platform {
class Prompter;
}
namespace rur::ui {
class TDBEditz;
}

namespace rur::correspondence {

struct EditRow {
    const char16_t *label;  // nullptr: beside the field of the row above
    const char16_t *field;
    int chars;
    const char16_t *hint = nullptr;
};

// Adds the rows to the grid from `row` on (label in column 0, fields in column 1) and gives
// the edits in their order; `row` ends after the last row added. Edits are named "DBEdit" and
// the field's name.
QList<ui::TDBEditz *> addEditRows(QGridLayout &grid, int &row, QWidget *parent, engine::Table *table,
                                  platform::Prompter *prompter, std::span<const EditRow> rows);

}  // namespace rur::correspondence
