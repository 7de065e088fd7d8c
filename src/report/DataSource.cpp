#include "report/DataSource.h"

#include "engine/Field.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace rur::report {

namespace {

QVariant fieldValue(engine::Table &table, const QString &field)
{
    return table.isActive() && !table.isEmpty() ? table.field(field).value() : QVariant();
}

QString fieldFormat(const engine::Table &table, const QString &field)
{
    const engine::FieldDef *def = table.def().field(field);
    return def ? def->displayFormat : QString();
}

}  // namespace

void TableRowSource::first()
{
    done_ = false;
}

bool TableRowSource::eof() const
{
    return done_;
}

bool TableRowSource::hasField(const QString &field) const
{
    return table_.hasField(field);
}

QVariant TableRowSource::value(const QString &field) const
{
    // Items read the current row also where the band does not repeat over this source.
    return fieldValue(table_, field);
}

QString TableRowSource::displayFormat(const QString &field) const
{
    return fieldFormat(table_, field);
}

void TableRowsSource::first()
{
    if (!table_.isActive())
        return;
    if (!moved_) {
        bookmark_ = table_.bookmark();
        moved_ = true;
    }
    table_.first();
}

void TableRowsSource::next()
{
    if (table_.isActive())
        table_.next();
}

bool TableRowsSource::eof() const
{
    return !table_.isActive() || table_.isEmpty() || table_.eof();
}

bool TableRowsSource::hasField(const QString &field) const
{
    return table_.hasField(field);
}

QVariant TableRowsSource::value(const QString &field) const
{
    return fieldValue(table_, field);
}

QString TableRowsSource::displayFormat(const QString &field) const
{
    return fieldFormat(table_, field);
}

void TableRowsSource::finish()
{
    if (moved_ && table_.isActive())
        table_.gotoBookmark(bookmark_);
    moved_ = false;
}

bool RowListSource::hasField(const QString &field) const
{
    if (formats_.contains(field))
        return true;
    for (const QVariantMap &row : rows_)
        if (row.contains(field))
            return true;
    return rows_.isEmpty();
}

QVariant RowListSource::value(const QString &field) const
{
    return eof() ? QVariant() : rows_[pos_].value(field);
}

QString formatValue(const QVariant &value, const QString &format, const QString &trueText, const QString &falseText)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? trueText : falseText;
    case QMetaType::Double:
    case QMetaType::Float: return engine::formatFloat(value.toDouble(), format, u',');
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return format.isEmpty() ? value.toString() : engine::formatFloat(value.toDouble(), format, u',');
    case QMetaType::QDate: return engine::formatDate(value.toDate());
    default: return value.toString();
    }
}

}  // namespace rur::report
