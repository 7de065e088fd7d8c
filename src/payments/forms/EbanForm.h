#pragma once

#include "base/Directories.h"
#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace rur::report {
struct PreparedReport;
}
namespace rur::ui {
class RecordEditor;
class TDBEditz;
class TDBGrid;
class TDBNavigator;
}  // namespace rur::ui

namespace rur::payments {

// What the ABO window takes from the program around it; a test replaces any of them.
struct BankWindowServices {
    base::Directories dirs;
    // Shows the list of written orders in the preview (returns when it closes).
    std::function<void(const report::PreparedReport &list)> preview;
    // Starts the banking program through the system (ExecuteFile).
    std::function<void(const QString &program)> startProgram;
    // File dialogs: where to write the file, and the program to start; empty when cancelled.
    std::function<QString(QWidget *parent, const QString &folder, const QString &filter)> chooseFile;
    std::function<QString(QWidget *parent, const QString &folder, const QString &filter)> chooseProgram;
};

// "Elektronický přenos příkazů - ABO": the bank orders (Mban) with navigator, edits, grid and
// keys, the file path with its history, the banking program, "&Smazat KPC soubor",
// "&Nastavení" and "&Přenést", which writes the ABO file.
class TEbanForm : public QDialog {
    Q_OBJECT

public:
    TEbanForm(vat::WindowContext ctx, BankWindowServices services, QWidget *parent = nullptr);

    ui::TDBEditz *edit(const QString &field) const;
    ui::TDBGrid *grid() const { return grid_; }
    ui::TDBNavigator *navigator() const { return navigator_; }
    ui::RecordEditor *editor() const { return editor_; }
    QComboBox *fileBox() const { return fileBox_; }
    QLineEdit *fullPath() const { return fullPath_; }
    QCheckBox *firmNameBox() const { return firmName_; }
    QComboBox *programBox() const { return programBox_; }
    QPushButton *button(const QString &objectName) const;

    // The full path from the box's template (CestyTyp2 with kind 2).
    void refreshFullPath();
    void AdresarClick(int type);
    void SouborClick();
    void ProgramClick();
    void SmazatClick();
    void NastaveniClick();
    void PrenestClick();
    void done(int result) override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString fileStem(bool firmName);
    void showPosition();

    vat::WindowContext ctx_;
    BankWindowServices services_;
    ui::RecordEditor *editor_;
    ui::TDBNavigator *navigator_;
    ui::TDBGrid *grid_;
    QList<ui::TDBEditz *> edits_;
    QComboBox *fileBox_;
    QLineEdit *fullPath_;
    QCheckBox *firmName_;
    QComboBox *programBox_;
    QPushButton *prenest_;
    QPushButton *zavrit_;
    bool programStarted_ = false;
    bool closed_ = false;
};

// BankaOtevrit: the window on the first order, shown modally; afterwards Mban and Mban1 are
// closed and the status display is off again.
void BankaOtevrit(QWidget *parent, const vat::WindowContext &ctx, const BankWindowServices &services);
// "&Přenést příkaz do elektronického styku ?": the payment order becomes a bank order, then
// BankaOtevrit.
void transferPaymentOrder(QWidget *parent, const vat::WindowContext &ctx, const BankWindowServices &services);

}  // namespace rur::payments
