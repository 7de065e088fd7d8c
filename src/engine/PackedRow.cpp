#include "engine/PackedRow.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <cstring>

namespace rur::engine::detail {

namespace {

enum Kind : char { Null = 0, Bool, Int, Long, Double, Date, Text };

// The block: a 16-bit count, the kinds, the slots, the texts.
constexpr size_t kCountSize = sizeof(std::uint16_t);
constexpr size_t kSlotSize = 8;

size_t kindsAt() { return kCountSize; }
size_t slotsAt(size_t count) { return kCountSize + count; }
size_t textsAt(size_t count) { return kCountSize + count + count * kSlotSize; }

template<typename T>
T slotValue(const char *slot)
{
    T value;
    std::memcpy(&value, slot, sizeof value);
    return value;
}

}  // namespace

int PackedRow::size() const
{
    return block_.isEmpty() ? 0 : slotValue<std::uint16_t>(block_.constData());
}

QVariant PackedRow::at(int column) const
{
    const size_t count = size_t(size());
    if (column < 0 || size_t(column) >= count)
        return {};
    const char *block = block_.constData();
    const char *slot = block + slotsAt(count) + size_t(column) * kSlotSize;
    switch (block[kindsAt() + size_t(column)]) {
    case Bool: return QVariant(slot[0] != 0);
    case Int: return QVariant(int(slotValue<qint64>(slot)));
    case Long: return QVariant(qlonglong(slotValue<qint64>(slot)));
    case Double: return QVariant(slotValue<double>(slot));
    case Date: return QVariant(QDate::fromJulianDay(slotValue<qint64>(slot)));
    case Text: {
        const auto offset = slotValue<std::uint32_t>(slot);
        const auto length = slotValue<std::uint32_t>(slot + 4);
        return QVariant(QString::fromUtf8(block + textsAt(count) + offset, qsizetype(length)));
    }
    default: return {};
    }
}

RowPacker::RowPacker(int columns) : columns_(columns)
{
    fixed_.assign(textsAt(size_t(columns)), '\0');
    const auto count = std::uint16_t(columns);
    std::memcpy(fixed_.data(), &count, sizeof count);
}

void RowPacker::setSlot(int column, char kind, const void *data, size_t size)
{
    if (column < 0 || column >= columns_)
        return;
    fixed_[kindsAt() + size_t(column)] = kind;
    char *slot = fixed_.data() + slotsAt(size_t(columns_)) + size_t(column) * kSlotSize;
    std::memset(slot, 0, kSlotSize);
    std::memcpy(slot, data, size);
}

void RowPacker::setNull(int column)
{
    setSlot(column, Null, "", 0);
}

void RowPacker::setText(int column, QByteArrayView utf8)
{
    const std::uint32_t place[2] = {std::uint32_t(texts_.size()), std::uint32_t(utf8.size())};
    texts_.append(utf8.data(), size_t(utf8.size()));
    setSlot(column, Text, place, sizeof place);
}

void RowPacker::set(int column, const QVariant &value)
{
    if (value.isNull()) {
        setNull(column);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool: {
        const char b = value.toBool() ? 1 : 0;
        setSlot(column, Bool, &b, 1);
        return;
    }
    case QMetaType::Int: {
        const qint64 n = value.toInt();
        setSlot(column, Int, &n, sizeof n);
        return;
    }
    case QMetaType::LongLong: {
        const qint64 n = value.toLongLong();
        setSlot(column, Long, &n, sizeof n);
        return;
    }
    case QMetaType::Double: {
        const double x = value.toDouble();
        setSlot(column, Double, &x, sizeof x);
        return;
    }
    case QMetaType::QDate: {
        const qint64 day = value.toDate().toJulianDay();
        setSlot(column, Date, &day, sizeof day);
        return;
    }
    default: setText(column, value.toString().toUtf8());
    }
}

PackedRow RowPacker::take()
{
    QByteArray block(qsizetype(fixed_.size() + texts_.size()), Qt::Uninitialized);
    std::memcpy(block.data(), fixed_.data(), fixed_.size());
    std::memcpy(block.data() + fixed_.size(), texts_.data(), texts_.size());
    std::memset(fixed_.data() + kindsAt(), Null, size_t(columns_));
    texts_.clear();
    return PackedRow(std::move(block));
}

}  // namespace rur::engine::detail
