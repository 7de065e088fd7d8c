#pragma once

#include "transfer/JournalTransfer.h"
#include "transfer/SiblingData.h"

#include <QDate>
#include <QDialog>
#include <QHash>
#include <functional>

class QGridLayout;
class QLineEdit;
class QPushButton;
class QTableView;

namespace rur::base {
struct Directories;
}  // namespace rur::base
namespace rur::ui {
class TDBEditz;
class TableModel;
}  // namespace rur::ui

namespace rur::transfer {

// What the transfer windows work with.
struct TransferWindowContext {
    data::TDM1 &dm;
    base::Directories &dirs;
    platform::Prompter &prompter;
    int screenWidth = 1024;                // decides the default position
    std::function<QDate()> today = {};     // for the shorthand date input
};

// A field of the sibling's taxpayer table that the window shows.
struct ShownField {
    const char16_t *field;
    const char16_t *label;
    const char16_t *hint;
};

// What the three transfer windows share: the path of the sibling's catalogue with "...",
// the catalogue grid, the sibling's taxpayer shown read-only, "&Přenést" and "&Zavřít".
// Closing stores the window position, the path and the catalogue number, and sets the
// current directory back to the data root.
class TSiblingForm : public QDialog {
    Q_OBJECT

public:
    QLineEdit *pathEdit() const { return path_; }
    QTableView *grid() const { return grid_; }
    QPushButton *button(const QString &objectName) const;
    // The edit of a shown field (of the sibling's taxpayer or the journal's period).
    ui::TDBEditz *fieldEdit(const QString &field) const { return edits_.value(field); }
    SiblingData &sibling() { return sibling_; }

    // The file chosen by "...", given the starting folder; empty when none is chosen.
    std::function<QString(const QString &startFolder)> chooseFile;

    // Shows the catalogue of the path field; tells the user when it can't.
    void Zobrazit();
    void VyberButtonClick();
    void PrenestButtonClick();
    void done(int result) override;

protected:
    TSiblingForm(const TransferWindowContext &ctx, SiblingKind kind, const QList<ShownField> &shown,
                 QWidget *parent);
    // The transfer of the window; it closes with OK when the transfer is done.
    virtual TransferResult runTransfer() = 0;
    // Hands what the user typed in the window's own fields to the table; false when refused.
    virtual bool commitTyped() { return true; }
    // The sibling's tables were opened or closed: the catalogue shown or not, another row.
    virtual void siblingOpened() {}
    // Row of the window's layout below the taxpayer where a subclass adds its controls.
    QGridLayout *ownGrid() const { return own_; }
    ui::TDBEditz *addEdit(engine::Table *table, const QString &field, const QString &hint);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

    TransferWindowContext ctx_;
    SiblingData sibling_;

private:
    void setShown(bool shown);
    void rowChanged();
    void syncGridToTable();

    QLineEdit *path_;
    QTableView *grid_;
    ui::TableModel *model_;
    QGridLayout *own_;
    QPushButton *prenest_;
    QHash<QString, ui::TDBEditz *> edits_;
    int rememberedNumber_ = 0;
    bool shownOnce_ = false;
    bool syncing_ = false;
};

}  // namespace rur::transfer
