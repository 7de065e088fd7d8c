#pragma once

#include "app/MainMenu.h"
#include "app/Overview.h"

#include <QHash>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <functional>

class QAction;
class QStackedWidget;

namespace rur::app {

// A label that triggers an action when clicked, or when Enter or Space is pressed while it
// has the focus (Tab reaches it); enabled while its action is, with the action's hint.
class RoadLabel : public QLabel {
    Q_OBJECT

public:
    explicit RoadLabel(QWidget *parent = nullptr);
    void setAction(QAction *action);
    QAction *action() const { return action_; }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void trigger();
    void follow();

    QPointer<QAction> action_;
    QMetaObject::Connection changed_;
};

// The working area of the main window: with a data set open, the period at a glance (the
// taxpayer, the period, lines 62 to 65, the deadline, the state of the period) beside the
// road to filing, whose labels trigger the main window's own commands; without one, a note
// with "Výběr RUR" and "Nové RUR". Built from the table of items in WorkArea.cpp; it shows
// what it is given and computes nothing.
class WorkArea : public QWidget {
    Q_OBJECT

public:
    // actionOf gives the main window's action of a command: a click on a label triggers it,
    // exactly as the menu item does.
    explicit WorkArea(std::function<QAction *(Command)> actionOf, QWidget *parent = nullptr);

    void showOverview(const Overview &overview);
    void showNoDataSet();
    // A table of the data set could not be read: the message instead of the figures.
    void showProblem(const QString &message);
    bool showsOverview() const;

    // For tests: the label of a road step (by the command it triggers now), of a fact.
    RoadLabel *roadLabel(Command command) const;
    QList<RoadLabel *> roadLabels() const { return roads_; }
    QLabel *valueLabel(Fact fact) const { return values_.value(fact); }
    QLabel *captionLabel(Fact fact) const { return captions_.value(fact); }

private:
    std::function<QAction *(Command)> actionOf_;
    QStackedWidget *pages_;
    QLabel *problem_;
    QHash<Fact, QLabel *> values_;
    QHash<Fact, QLabel *> captions_;
    QList<RoadLabel *> roads_;
    // The save step turns into "Uložení posledního RUR a vypořádání" in the last period.
    RoadLabel *saveRoad_ = nullptr;
    QString saveText_;
};

}  // namespace rur::app
