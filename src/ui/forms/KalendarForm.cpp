#include "ui/forms/KalendarForm.h"

#include "engine/Field.h"
#include "platform/IniFile.h"
#include "ui/CalendarSteps.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/WindowPlacer.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::ui {

namespace {

QPushButton *stepButton(const QString &caption, const QString &objectName, const QString &hint, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    return button;
}

// Shift+F7 in the edit and a click on the label open the calendar for the edit.
class CalendarOpener : public QObject {
public:
    CalendarOpener(TDBEditz *edit, QLabel *label, DatePicker picker)
        : QObject(edit), edit_(edit), label_(label), picker_(std::move(picker))
    {
        edit->installEventFilter(this);
        if (label)
            label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == edit_ && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<const QKeyEvent *>(event);
            if (key->key() == Qt::Key_F7 && key->modifiers() == Qt::ShiftModifier) {
                KDatum(edit_, picker_);
                return true;
            }
        } else if (watched == label_ && event->type() == QEvent::MouseButtonRelease
                   && static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton) {
            edit_->setFocus(Qt::MouseFocusReason);
            KDatum(edit_, picker_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TDBEditz *edit_;
    QLabel *label_;
    DatePicker picker_;
};

}  // namespace

TKalendarForm::TKalendarForm(CalendarPlace place, QWidget *parent) : QDialog(parent), place_(std::move(place))
{
    setWindowTitle(u"Kalendář"_s);
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    monthLabel_ = new QLabel(this);
    monthLabel_->setObjectName(u"MonthLabel"_s);
    monthLabel_->setAlignment(Qt::AlignCenter);
    grid_ = new QCalendarWidget(this);
    grid_->setObjectName(u"Calendar1"_s);
    grid_->setLocale(czech);
    grid_->setFirstDayOfWeek(Qt::Monday);
    grid_->setNavigationBarVisible(false);
    grid_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    grid_->setGridVisible(true);
    grid_->installEventFilter(this);
    for (QWidget *child : grid_->findChildren<QWidget *>())
        child->installEventFilter(this);

    dateLabel_ = new QLabel(this);
    dateLabel_->setObjectName(u"DatumLabel"_s);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(new QLabel(u"datum kalendáře:"_s, this));
    dateRow->addWidget(dateLabel_);
    dateRow->addStretch();

    auto *steps = new QHBoxLayout;
    QPushButton *prevYear = stepButton(u"< rok"_s, u"PredchoziRokButton"_s, u"Předchozí rok v kalendáři (Ctrl+PgUp)"_s, this);
    QPushButton *prevMonth = stepButton(u"< měsíc"_s, u"PredchoziMesicButton"_s, u"Předchozí měsíc v kalendáři (PgUp)"_s, this);
    QPushButton *nextMonthButton = stepButton(u"měsíc >"_s, u"DalsiMesicButton"_s, u"Další měsíc v kalendáři (PgDn)"_s, this);
    QPushButton *nextYearButton = stepButton(u"rok >"_s, u"DalsiRokButton"_s, u"Další rok v kalendáři (Ctrl+PgDn)"_s, this);
    for (QPushButton *b : {prevYear, prevMonth, nextMonthButton, nextYearButton})
        steps->addWidget(b);
    connect(prevYear, &QPushButton::clicked, this, &TKalendarForm::PredchoziRok);
    connect(prevMonth, &QPushButton::clicked, this, &TKalendarForm::PredchoziMesic);
    connect(nextMonthButton, &QPushButton::clicked, this, &TKalendarForm::DalsiMesic);
    connect(nextYearButton, &QPushButton::clicked, this, &TKalendarForm::DalsiRok);

    auto *ok = new QPushButton(u"&OK"_s, this);
    ok->setObjectName(u"OKButton"_s);
    ok->setDefault(true);
    auto *storno = new QPushButton(u"&Storno"_s, this);
    storno->setObjectName(u"StornoButton"_s);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(storno, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(storno);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(monthLabel_);
    layout->addWidget(grid_);
    layout->addLayout(dateRow);
    layout->addLayout(steps);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(grid_, &QCalendarWidget::selectionChanged, this, &TKalendarForm::dateChanged);
    // A double click on a day (and Enter in the grid) chooses it.
    connect(grid_, &QCalendarWidget::activated, this, [this](const QDate &day) {
        setDate(day);
        accept();
    });
    dateChanged();
}

QDate TKalendarForm::date() const
{
    return grid_->selectedDate();
}

void TKalendarForm::setDate(const QDate &date)
{
    if (!date.isValid())
        return;
    grid_->setSelectedDate(date);
    grid_->setCurrentPage(date.year(), date.month());
    dateChanged();
}

void TKalendarForm::dateChanged()
{
    const QDate d = grid_->selectedDate();
    dateLabel_->setText(engine::formatDate(d));
    monthLabel_->setText(grid_->locale().standaloneMonthName(d.month()) + u' ' + QString::number(d.year()));
    if (grid_->yearShown() != d.year() || grid_->monthShown() != d.month())
        grid_->setCurrentPage(d.year(), d.month());
}

void TKalendarForm::PredchoziRok()
{
    setDate(previousYear(date()));
}

void TKalendarForm::PredchoziMesic()
{
    setDate(previousMonth(date()));
}

void TKalendarForm::DalsiMesic()
{
    setDate(nextMonth(date()));
}

void TKalendarForm::DalsiRok()
{
    setDate(nextYear(date()));
}

bool TKalendarForm::stepKey(const QKeyEvent *key)
{
    const bool ctrl = key->modifiers() == Qt::ControlModifier;
    const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
    if (!ctrl && !plain)
        return false;
    if (key->key() == Qt::Key_PageUp)
        ctrl ? PredchoziRok() : PredchoziMesic();
    else if (key->key() == Qt::Key_PageDown)
        ctrl ? DalsiRok() : DalsiMesic();
    else
        return false;
    return true;
}

bool TKalendarForm::eventFilter(QObject *watched, QEvent *event)
{
    // The grid would step by its own rules: the keys are the calendar's.
    if (event->type() == QEvent::KeyPress && stepKey(static_cast<const QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TKalendarForm::keyPressEvent(QKeyEvent *event)
{
    if (stepKey(event))
        return;
    QDialog::keyPressEvent(event);
}

void TKalendarForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    grid_->setFocus(Qt::OtherFocusReason);
}

void TKalendarForm::hideEvent(QHideEvent *event)
{
    if (!place_.ini.isEmpty() && !place_.section.isEmpty()) {
        platform::IniFile ini(place_.ini);
        writeCalendarPosition(ini, place_.section, framePlace(*this));
    }
    QDialog::hideEvent(event);
}

QDate pickDate(QWidget *parent, const QDate &shown, const CalendarPlace &place)
{
    TKalendarForm calendar(place, parent);
    calendar.setDate(shown.isValid() ? shown : QDate::currentDate());
    const QString section = place.ini.isEmpty() ? QString() : place.section;
    placeFrameAt(calendar, readCalendarPosition(platform::IniFile(place.ini), section, place.screenWidth));
    return calendar.exec() == QDialog::Accepted ? calendar.date() : QDate();
}

DatePicker calendarPicker(const CalendarPlace &place)
{
    return [place](QWidget *parent, const QDate &shown) { return pickDate(parent, shown, place); };
}

bool KDatum(TDBEditz *edit, const DatePicker &picker)
{
    if (!edit || !picker || !edit->table() || edit->isReadOnly())
        return false;
    if (edit->hasTypedText() && !edit->commit())
        return false;
    const QDate start = calendarStartDate(*edit->table(), edit->fieldName(), QDate::currentDate());
    const QDate chosen = picker(edit->window(), start);
    if (!chosen.isValid())
        return false;
    return edit->assignValue(chosen);
}

void attachCalendar(TDBEditz *edit, QLabel *label, DatePicker picker)
{
    if (label)
        makeLabelClickable(label);
    new CalendarOpener(edit, label, std::move(picker));
}

void makeLabelClickable(QLabel *label)
{
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
}

}  // namespace rur::ui
