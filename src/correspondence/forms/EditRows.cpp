#include "correspondence/forms/EditRows.h"

#include "ui/forms/DBEditz.h"
#include "ui/forms/EditWidth.h"
#include "vat/forms/FormParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace rur::correspondence {

QList<ui::TDBEditz *> addEditRows(QGridLayout &grid, int &row, QWidget *parent, engine::Table *table,
                                  platform::Prompter *prompter, std::span<const EditRow> rows)
{
    QList<ui::TDBEditz *> edits;
    QHBoxLayout *line = nullptr;
    for (const EditRow &r : rows) {
        auto *e = new ui::TDBEditz(parent);
        const QString field = QString::fromUtf16(r.field);
        e->setObjectName(u"DBEdit"_s + field);
        e->setDataSource(table, field);
        e->setPrompter(prompter);
        ui::setEditWidth(*e, r.chars);
        if (r.hint)
            vat::setHint(e, QString::fromUtf16(r.hint));
        if (r.label || !line) {
            line = new QHBoxLayout;
            line->addStretch();
            grid.addWidget(new QLabel(r.label ? QString::fromUtf16(r.label) : QString(), parent), row, 0);
            grid.addLayout(line, row, 1);
            ++row;
        }
        line->insertWidget(line->count() - 1, e);
        edits.append(e);
    }
    return edits;
}

}  // namespace rur::correspondence
