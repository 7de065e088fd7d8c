#include "ui/forms/DBNavigator.h"

#include "engine/Table.h"
#include "ui/forms/RecordEditor.h"

#include <QHBoxLayout>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace rur::ui {

namespace {

struct ButtonDef {
    RecordAction action;
    QString caption;
    QString objectName;
};

}  // namespace

QString TDBNavigator::hint(RecordAction action)
{
    switch (action) {
    case RecordAction::First: return u"První záznam (Ctrl+Home)"_s;
    case RecordAction::Prior: return u"Předchozí záznam (PgUp)"_s;
    case RecordAction::Next: return u"Další záznam (PgDn)"_s;
    case RecordAction::Last: return u"Poslední záznam (Ctrl+End)"_s;
    case RecordAction::Insert: return u"Vložit záznam (Insert nebo F2)"_s;
    case RecordAction::Delete: return u"Smazat záznam (Ctrl+Del nebo Ctrl+Y)"_s;
    case RecordAction::Edit: return u"Opravit záznam (F4)"_s;
    case RecordAction::Post: return u"Uložit záznam (F9)"_s;
    case RecordAction::Cancel: return u"Stornovat změny (Esc)"_s;
    case RecordAction::None: break;
    }
    return {};
}

TDBNavigator::TDBNavigator(RecordEditor *editor, QWidget *parent) : QWidget(parent), editor_(editor)
{
    setObjectName(u"DBNavigator"_s);
    const ButtonDef defs[] = {
        {RecordAction::First, u"|◀"_s, u"FirstButton"_s},   {RecordAction::Prior, u"◀"_s, u"PriorButton"_s},
        {RecordAction::Next, u"▶"_s, u"NextButton"_s},      {RecordAction::Last, u"▶|"_s, u"LastButton"_s},
        {RecordAction::Insert, u"+"_s, u"InsertButton"_s},  {RecordAction::Delete, u"−"_s, u"DeleteButton"_s},
        {RecordAction::Edit, u"▲"_s, u"EditButton"_s},      {RecordAction::Post, u"✔"_s, u"PostButton"_s},
        {RecordAction::Cancel, u"✖"_s, u"CancelButton"_s}};
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ButtonDef &d : defs) {
        auto *b = new QToolButton(this);
        b->setText(d.caption);
        b->setObjectName(d.objectName);
        b->setToolTip(hint(d.action));
        b->setStatusTip(hint(d.action));
        // The buttons never take the focus from the fields, as a navigator's never do.
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumWidth(28);
        connect(b, &QToolButton::clicked, this, [this, action = d.action] { editor_->run(action); });
        layout->addWidget(b);
        buttons_.insert(d.action, b);
    }
    engine::Table *table = editor_->table();
    connect(table, &engine::Table::stateChanged, this, &TDBNavigator::updateButtons);
    connect(table, &engine::Table::recordChanged, this, &TDBNavigator::updateButtons);
    connect(table, &engine::Table::rowsReloaded, this, &TDBNavigator::updateButtons);
    connect(table, &engine::Table::dataChanged, this, &TDBNavigator::updateButtons);
    updateButtons();
}

void TDBNavigator::updateButtons()
{
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
        it.value()->setEnabled(editor_->available(it.key()));
}

}  // namespace rur::ui
