#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <functional>

class QCalendarWidget;
class QLabel;
class QPushButton;

namespace rur::ui {

class TDBEditz;

// Where the calendar keeps its place: the data-set ini and its section (empty without a data
// set), and the screen width that chooses the default place.
struct CalendarPlace {
    QString ini;
    QString section;
    int screenWidth = 1024;
};

// The calendar "Kalendář": a month grid with weeks from Monday, the chosen date under
// "datum kalendáře:", month and year steps (buttons, PgUp/PgDn, Ctrl+PgUp/Ctrl+PgDn), "&OK"
// (also a double click on a day) and "&Storno". Its place is stored when it hides.
class TKalendarForm : public QDialog {
    Q_OBJECT

public:
    explicit TKalendarForm(CalendarPlace place, QWidget *parent = nullptr);

    QDate date() const;
    void setDate(const QDate &date);
    QCalendarWidget *grid() const { return grid_; }
    QLabel *dateLabel() const { return dateLabel_; }

    void PredchoziRok();
    void PredchoziMesic();
    void DalsiMesic();
    void DalsiRok();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void dateChanged();
    bool stepKey(const QKeyEvent *key);

    CalendarPlace place_;
    QCalendarWidget *grid_;
    QLabel *monthLabel_;
    QLabel *dateLabel_;
};

// Shows the calendar modally on `shown`: the date chosen with OK, an invalid date on Storno.
QDate pickDate(QWidget *parent, const QDate &shown, const CalendarPlace &place);

// What opens the calendar for a date field: the calendar itself, or a test's stand-in.
using DatePicker = std::function<QDate(QWidget *parent, const QDate &shown)>;
DatePicker calendarPicker(const CalendarPlace &place);

// KDatum for a date field shown in an edit: text typed into the edit reaches the field first
// (refused text keeps the calendar closed); the calendar starts on the field's date or today;
// with OK the table goes into edit and the field takes the chosen date. False when nothing
// was chosen or the table refused.
bool KDatum(TDBEditz *edit, const DatePicker &picker);

// Opens the calendar for the edit with Shift+F7 in it and with a click on its label, which is
// shown underlined. The label may be null.
void attachCalendar(TDBEditz *edit, QLabel *label, DatePicker picker);
// The underlined look of a label that reacts to a click.
void makeLabelClickable(QLabel *label);

}  // namespace rur::ui
