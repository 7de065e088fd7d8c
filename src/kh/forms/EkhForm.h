#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <functional>

class QPushButton;

namespace rur::ui {
class RecordEditor;
class TDBEditz;
class TDBGrid;
class TDBNavigator;
}  // namespace rur::ui

namespace rur::kh {

// What the window takes from the program around it; a test replaces it.
struct StatementWindowServices {
    // The file to import, chosen in a dialog starting in `folder`; empty when cancelled.
    std::function<QString(QWidget *parent, const QString &folder)> chooseCsv;
};

// "Kontrolní hlášení": the register of documents (Dkh) with its navigator, the edits of a row
// (described by a table of columns), the grid that shows where each row is reported, F3
// search by document number and DIČ, "Načíst &CSV ...", which imports a file into the
// register, and "&Přenést do přiznání".
class TEkhForm : public QDialog {
    Q_OBJECT

public:
    TEkhForm(vat::WindowContext ctx, StatementWindowServices services, QWidget *parent = nullptr);

    ui::TDBEditz *edit(const QString &field) const;
    ui::TDBGrid *grid() const { return grid_; }
    ui::TDBNavigator *navigator() const { return navigator_; }
    ui::RecordEditor *editor() const { return editor_; }
    QPushButton *button(const QString &objectName) const;

    void NacistClick();
    void PrenestClick();
    void search();
    void done(int result) override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPosition();

    vat::WindowContext ctx_;
    StatementWindowServices services_;
    ui::RecordEditor *editor_;
    ui::TDBNavigator *navigator_;
    ui::TDBGrid *grid_;
    QList<ui::TDBEditz *> edits_;
    bool closed_ = false;
};

// The window on the register, shown modally with the record display on; Dkh is opened (or
// read again) first and closed afterwards.
void openStatement(QWidget *parent, const vat::WindowContext &ctx, const StatementWindowServices &services);

}  // namespace rur::kh
