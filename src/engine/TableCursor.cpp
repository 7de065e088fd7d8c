// The current row of a table: its buffer, its calculated fields, and moving through the rows.
#include "engine/Table.h"

#include <algorithm>

namespace rur::engine {

void Table::loadBuffer()
{
    buffer_ = QVariantList(def_.fields.size());
    if (pos_ >= 0 && pos_ < rows_.size())
        for (int c = 0; c < storedIndex_.size(); ++c)
            buffer_[storedIndex_[c]] = rows_[pos_].values.at(c);
    modified_ = false;
    calculate();
}

void Table::calculate()
{
    if (calculating_)
        return;
    for (int i = 0; i < def_.fields.size(); ++i)
        if (def_.fields[i].calculated)
            buffer_[i] = QVariant();
    if (!onCalcFields || (pos_ < 0 && state_ != State::Insert))
        return;
    calculating_ = true;
    try {
        onCalcFields(*this);
    } catch (...) {
        calculating_ = false;
        throw;
    }
    calculating_ = false;
}

QVariantList Table::rowValues(int row)
{
    checkActive();
    if (row < 0 || row >= rows_.size())
        return {};
    if (row == pos_)
        return buffer_;
    const QVariantList savedBuffer = buffer_;
    const int savedPos = pos_;
    const bool savedModified = modified_;
    const State savedState = state_;
    const QSignalBlocker blocker(this);
    state_ = State::Browse;
    pos_ = row;
    loadBuffer();
    QVariantList out = buffer_;
    buffer_ = savedBuffer;
    pos_ = savedPos;
    modified_ = savedModified;
    state_ = savedState;
    return out;
}

QVariant Table::storedValue(int row, int fieldIndex) const
{
    if (row < 0 || row >= rows_.size())
        return {};
    const qsizetype column = storedIndex_.indexOf(fieldIndex);
    return column < 0 ? QVariant() : rows_[row].values.at(column);
}

void Table::moveTo(int pos)
{
    pos_ = rows_.isEmpty() ? -1 : std::clamp(pos, 0, int(rows_.size()) - 1);
    loadBuffer();
    emit recordChanged();
}

int Table::recNo() const
{
    if (state_ == State::Insert)
        return 0;
    return pos_ < 0 ? 0 : pos_ + 1;
}

void Table::first()
{
    checkActive();
    checkBrowseMode();
    moveTo(0);
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void Table::last()
{
    checkActive();
    checkBrowseMode();
    moveTo(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.isEmpty();
}

void Table::next()
{
    checkActive();
    checkBrowseMode();
    if (pos_ + 1 < rows_.size()) {
        moveTo(pos_ + 1);
        bof_ = false;
        eof_ = false;
    } else {
        eof_ = true;
    }
}

bool Table::goToRow(int row)
{
    checkActive();
    if (row < 0 || row >= rows_.size())
        return false;
    checkBrowseMode();
    if (row >= rows_.size())
        return false;
    moveTo(row);
    bof_ = eof_ = false;
    return true;
}

void Table::prior()
{
    checkActive();
    checkBrowseMode();
    if (pos_ > 0) {
        moveTo(pos_ - 1);
        eof_ = false;
        bof_ = false;
    } else {
        bof_ = true;
    }
}

}  // namespace rur::engine
