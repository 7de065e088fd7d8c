#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;
class QTableView;
class QActionGroup;

namespace rur::platform {
class Prompter;
}
namespace rur::ui {
class TableModel;
}

namespace rur::datasets {

class Catalogue;

// The data-set selection "RUR 17.00 - výběr": the catalogue with the buttons that open,
// create, rename, delete and protect data sets, and the ordering menu of the grid.
class TAuto1Form : public QDialog {
    Q_OBJECT

public:
    // ResultCancel: closed with Esc or the window's close button, nothing chosen.
    enum Result { ResultEnd = 0, ResultOpen = 1, ResultCancel = 2 };
    TAuto1Form(Catalogue &catalogue, platform::Prompter &prompter, QWidget *parent = nullptr);

    // Prepares the catalogue for showing (re-read, last used row, ordering) and shows the
    // window modally; returns ResultOpen with the chosen row current, or ResultEnd.
    int execSelection();
    // Esc and the close button leave the selection without ending the program.
    void reject() override;
    bool conversionMarked() const { return conversionMarked_; }
    // Ctrl+N ("Výběr práce s daty") and Ctrl+I ("Informace"); nothing happens while unset.
    std::function<void()> onDataChoice;
    std::function<void()> onInformation;

    QTableView *grid() const { return grid_; }
    QPushButton *button(const QString &objectName) const;
    QCheckBox *showLastUsed() const { return zobrazovat_; }

    void OtevritButtonClick();
    void NazevButtonClick();
    void NoveButtonClick();
    void SmazatButtonClick();
    void HesloButtonClick();
    void PoziceClick();
    void VymazatNastaveniClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void watchKeys();
    void syncGridToTable();
    void syncTableToGrid();
    void showOrderingMenu(const QPoint &pos);
    void updateOrderingChecks();

    Catalogue &catalogue_;
    platform::Prompter &prompter_;
    QTableView *grid_;
    ui::TableModel *model_;
    QCheckBox *zobrazovat_;
    QActionGroup *orderingGroup_;
    bool conversionMarked_ = false;
    bool syncing_ = false;
};

}  // namespace rur::datasets
