#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

namespace rur::report {

class DataSource;

// A computed text: terms joined by "+". A term is a text in double quotes, a number, a field
// as Source.Field, SUM(Source.Field) (the sum over the detail rows printed since the group
// began, or since the report began in the summary) or COUNT (those rows counted). When every
// term is a number (an empty field counts as 0) the terms are added and the sum is formatted
// with the item's format; otherwise their texts are joined.
// Example: Prp.Pcp + "/" + Prp.Pcl
class Expression {
public:
    // Throws ReportError for text that is no expression.
    explicit Expression(const QString &text);

    // Sources named in the expression, to check a layout against what a report provides.
    QStringList sourceNames() const;
    bool hasAggregates() const;

    // Adds the current detail row to the sums and counts.
    void accumulate(const QMap<QString, DataSource *> &sources);
    void resetAggregates();
    QString evaluate(const QMap<QString, DataSource *> &sources, const QString &format) const;

private:
    struct Term {
        enum Kind { Text, Number, Field, Sum, Count } kind = Text;
        QString text;
        double number = 0;
        QString source, field;
        double sum = 0;
        int count = 0;
    };
    QList<Term> terms_;
};

}  // namespace rur::report
