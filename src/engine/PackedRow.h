#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QVariant>
#include <string>

namespace rur::engine::detail {

// The stored values of one row of an open table, packed into a single block: a register of
// 100,000 documents takes a quarter of the memory a list of QVariants per row took, and it is
// read without a string made for each text. The block holds the number of values, a kind
// byte per value, an 8-byte slot per value, and then the texts as UTF-8.
class PackedRow {
public:
    PackedRow() = default;
    int size() const;
    // The value as the table read it (null, bool, int, long, double, date or text); null for a
    // column beyond the row's.
    QVariant at(int column) const;

private:
    friend class RowPacker;
    explicit PackedRow(QByteArray block) : block_(std::move(block)) {}
    QByteArray block_;
};

// Builds packed rows one value at a time, reusing its buffers from row to row.
class RowPacker {
public:
    explicit RowPacker(int columns);
    void setNull(int column);
    // Null, bool, int, long, double, QDate or QString: the kinds a table reads. Any other
    // kind is kept as its text.
    void set(int column, const QVariant &value);
    // Text given as valid UTF-8 (the caller has checked it).
    void setText(int column, QByteArrayView utf8);
    // The row built so far; the packer starts the next one with every value null.
    PackedRow take();

private:
    void setSlot(int column, char kind, const void *data, size_t size);

    int columns_;
    std::string fixed_;  // count, kinds and slots
    std::string texts_;
};

}  // namespace rur::engine::detail
