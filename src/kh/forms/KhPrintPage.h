#pragma once

#include "kh/StatementFile.h"

#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace rur::print {
class TEmtfForm;
struct PrintCentreContext;
}  // namespace rur::print

namespace rur::kh {

// The page "Kontrolní hlášení" of the print centre: the form of the statement (řádné,
// opravné, následné with the day its reasons were found), where the file goes (beside the
// return's filing file), "&Uložit data" (the file DPHKH1 and its check), "&Kontrola", and
// the register's list previewed or printed. The settings are kept in the data-set ini as
// soon as they change.
class KhPrintPage : public QWidget {
    Q_OBJECT

public:
    KhPrintPage(print::PrintCentreContext &ctx, print::TEmtfForm &centre);

    QButtonGroup *formGroup() const { return form_; }
    QLineEdit *foundEdit() const { return found_; }
    QLabel *pathLabel() const { return path_; }
    // The settings as the page shows them; false (the user told, the focus in the date) when
    // the date typed is none.
    bool readOptions(StatementOptions *options);

    void UlozitDataClick();
    void KontrolaClick();
    void NahledClick() { printList(1); }
    void TiskClick() { printList(2); }

private:
    void storeOptions();
    void refreshPath();
    void printList(int action);
    QString dataSetIni() const;

    print::PrintCentreContext &ctx_;
    print::TEmtfForm &centre_;
    QButtonGroup *form_;
    QLineEdit *found_;
    QLabel *path_;
};

}  // namespace rur::kh
