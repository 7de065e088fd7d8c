#include "transfer/forms/EsdForm.h"

#include "base/Directories.h"
#include "engine/Table.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/KalendarForm.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace rur::transfer {

namespace {

const QList<ShownField> kShown = {{u"Ico", u"IČO", nullptr},
                                  {u"Dic", u"DIČ", nullptr},
                                  {u"Jm", u"Jméno", nullptr},
                                  {u"Pr", u"Příjmení", nullptr},
                                  {u"Ti", u"Titul", nullptr}};

const QString kPeriodHint = u"Zvolte, za jaké období chcete RUR přenést"_s;

// The labels of the date fields are links to the calendar: underlined and blue while enabled,
// grey like any disabled label otherwise.
QLabel *calendarLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, Qt::blue);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    return label;
}

// A link while there is a period to pick a date for; a plain grey label without a hint
// otherwise.
void enableCalendarLabel(QLabel *label, bool enabled)
{
    label->setEnabled(enabled);
    QFont font = label->font();
    font.setUnderline(enabled);
    label->setFont(font);
    label->setCursor(enabled ? Qt::PointingHandCursor : Qt::ArrowCursor);
    const QString hint = enabled ? kPeriodHint : QString();
    label->setStatusTip(hint);
    label->setToolTip(hint);
}

}  // namespace

TEsdForm::TEsdForm(const TransferWindowContext &ctx, QWidget *parent)
    : TSiblingForm(ctx, SiblingKind::Journal, kShown, parent)
{
    const QString &hint = kPeriodHint;
    engine::Table *period = sibling_.period();
    from_ = calendarLabel(u"od"_s, this);
    to_ = calendarLabel(u"do"_s, this);
    ui::TDBEditz *dz = addEdit(period, u"Dz"_s, hint);
    ui::TDBEditz *dk = addEdit(period, u"Dk"_s, hint);
    from_->setBuddy(dz);
    to_->setBuddy(dk);
    QGridLayout *grid = ownGrid();
    grid->addWidget(new QLabel(u"za období"_s, this), 0, 0);
    grid->addWidget(from_, 0, 1);
    grid->addWidget(dz, 0, 2);
    grid->addWidget(to_, 0, 3);
    grid->addWidget(dk, 0, 4);
    grid->setColumnStretch(5, 1);
    for (QObject *watched : {static_cast<QObject *>(dz), static_cast<QObject *>(dk), static_cast<QObject *>(from_),
                             static_cast<QObject *>(to_)})
        watched->installEventFilter(this);
    openCalendar = [picker = ui::calendarPicker({ctx.dirs.dataSetIni(), ctx.dirs.dataSetDir, ctx.screenWidth})](
                       ui::TDBEditz *field) { ui::KDatum(field, picker); };
    siblingOpened();
}

void TEsdForm::siblingOpened()
{
    const engine::Table *period = sibling_.period();
    const bool open = period && period->isActive();
    enableCalendarLabel(from_, open);
    enableCalendarLabel(to_, open);
}

QList<ui::TDBEditz *> TEsdForm::dateFields() const
{
    return {fieldEdit(u"Dz"_s), fieldEdit(u"Dk"_s)};
}

bool TEsdForm::commitTyped()
{
    for (ui::TDBEditz *edit : dateFields())
        if (edit->hasTypedText() && !edit->commit())
            return false;
    return true;
}

TransferResult TEsdForm::runTransfer()
{
    return transferJournal(ctx_.dm, sibling_, ctx_.prompter);
}

bool TEsdForm::eventFilter(QObject *watched, QEvent *event)
{
    ui::TDBEditz *field = nullptr;
    if (watched == from_ || watched == to_) {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            field = fieldEdit(watched == from_ ? u"Dz"_s : u"Dk"_s);
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F7 && key->modifiers() == Qt::ShiftModifier)
            field = qobject_cast<ui::TDBEditz *>(watched);
    }
    if (field) {
        if (openCalendar && !field->isReadOnly())
            openCalendar(field);
        return true;
    }
    return TSiblingForm::eventFilter(watched, event);
}

}  // namespace rur::transfer
