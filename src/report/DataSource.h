#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace rur::engine {
class Table;
}

namespace rur::report {

// Rows a report reads: the detail band repeats for each, data-bound items show their fields.
class DataSource {
public:
    virtual ~DataSource() = default;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    virtual bool hasField(const QString &field) const = 0;
    // The field of the current row; null for an empty field.
    virtual QVariant value(const QString &field) const = 0;
    // The field's own display format for numbers ("0", "0.00"); empty when it has none.
    virtual QString displayFormat(const QString &field) const { Q_UNUSED(field); return {}; }
    // Called when the report has been laid out: a table source puts its cursor back.
    virtual void finish() {}
};

// The current row of a table, as one row (the taxpayer record of the return pages).
class TableRowSource : public DataSource {
public:
    explicit TableRowSource(engine::Table &table) : table_(table) {}
    void first() override;
    void next() override { done_ = true; }
    bool eof() const override;
    bool hasField(const QString &field) const override;
    QVariant value(const QString &field) const override;
    QString displayFormat(const QString &field) const override;

private:
    engine::Table &table_;
    bool done_ = true;
};

// Every row of a table or of a query opened on it, from the first; the cursor goes back to
// where it was when the report is done.
class TableRowsSource : public DataSource {
public:
    explicit TableRowsSource(engine::Table &table) : table_(table) {}
    void first() override;
    void next() override;
    bool eof() const override;
    bool hasField(const QString &field) const override;
    QVariant value(const QString &field) const override;
    QString displayFormat(const QString &field) const override;
    void finish() override;

private:
    engine::Table &table_;
    bool moved_ = false;
    qint64 bookmark_ = 0;
};

// Rows held in memory: computed lists and tests.
class RowListSource : public DataSource {
public:
    explicit RowListSource(QList<QVariantMap> rows = {}, QMap<QString, QString> formats = {})
        : rows_(std::move(rows)), formats_(std::move(formats)) {}
    void setRows(QList<QVariantMap> rows) { rows_ = std::move(rows); }
    void first() override { pos_ = 0; }
    void next() override { ++pos_; }
    bool eof() const override { return pos_ >= rows_.size(); }
    bool hasField(const QString &field) const override;
    QVariant value(const QString &field) const override;
    QString displayFormat(const QString &field) const override { return formats_.value(field); }

private:
    QList<QVariantMap> rows_;
    QMap<QString, QString> formats_;
    qsizetype pos_ = 0;
};

// The text a data-bound item prints for a value: numbers in the display format with a
// decimal comma (the shortest exact text without a format), dates as dd.mm.yyyy, Booleans
// as trueText or falseText, an empty field as nothing.
QString formatValue(const QVariant &value, const QString &format, const QString &trueText = QStringLiteral("X"),
                    const QString &falseText = QString());

}  // namespace rur::report
