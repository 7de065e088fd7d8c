#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>

class QPushButton;

namespace rur::ui {
class RecordEditor;
class TDBEditz;
class TDBGrid;
class TDBNavigator;
}  // namespace rur::ui

namespace rur::payments {

// "Údaje pro platby z účtu": the payer's bank accounts (Mbzp) with their navigator, grid and
// keys; a row is picked with "&Přenést", Enter or a double click in the grid.
class TEbzpForm : public QDialog {
    Q_OBJECT

public:
    explicit TEbzpForm(vat::WindowContext ctx, QWidget *parent = nullptr);

    ui::TDBEditz *edit(const QString &field) const;
    ui::TDBGrid *grid() const { return grid_; }
    ui::TDBNavigator *navigator() const { return navigator_; }
    ui::RecordEditor *editor() const { return editor_; }
    QPushButton *prenestButton() const { return prenest_; }

    void done(int result) override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPosition();
    void pick();

    vat::WindowContext ctx_;
    ui::RecordEditor *editor_;
    ui::TDBNavigator *navigator_;
    ui::TDBGrid *grid_;
    QList<ui::TDBEditz *> edits_;
    QPushButton *prenest_;
    bool closed_ = false;
};

// PrenosBanky1 of the print centre: the window on the row of the payment order's bank; on
// OK the row's bank data go into Mtt (left in edit for the print centre to post).
void PrenosBanky1(QWidget *parent, const vat::WindowContext &ctx);

}  // namespace rur::payments
