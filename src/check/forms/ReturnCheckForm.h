#pragma once

#include "check/ReturnCheck.h"
#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace rur::print {
struct FilingContext;
}

namespace rur::check {

// "Kontrola přiznání": the findings of the check, errors first, each with the line or field to
// fix. A double click (or "&Opravit") opens the window where that field is typed, with the
// focus in it; when it closes, the check runs again and the list follows.
class TReturnCheckForm : public QDialog {
    Q_OBJECT

public:
    TReturnCheckForm(const vat::WindowContext &ctx, std::function<QList<Finding>()> recheck,
                     QWidget *parent = nullptr);

    void setFindings(const QList<Finding> &findings, const QString &heading = QString());
    const QList<Finding> &findings() const { return findings_; }
    QTreeWidget *list() const { return list_; }
    QLabel *heading() const { return heading_; }
    QPushButton *button(const QString &objectName) const;

    // The window where a finding's field is typed: 0 the taxpayer data, 1 to 4 the windows of
    // the return, -1 none.
    static int windowOf(const Finding &finding);
    // Opens the window of finding i at its field; the check then runs again.
    void openFinding(int index);

private:
    void openReturnWindow(int n, const QString &field);
    void openSelected();

    vat::WindowContext ctx_;
    std::function<QList<Finding>()> recheck_;
    QList<Finding> findings_;
    QLabel *heading_;
    QTreeWidget *list_;
    QPushButton *open_;
};

// "&Kontrola" of the print centre: the check of the current return with its filing file built
// in the encoding of Dph.ini (kodovani), shown in "Kontrola přiznání"; with nothing found the
// information box "Kontrola nenašla v přiznání nic k opravě.".
void showReturnCheck(QWidget *parent, const vat::WindowContext &ctx, int kodovani);

// The check that follows "&Uložit data": the file just written and the current return; the
// findings window opens only when there is something to show. The file stays as written:
// warnings and errors alike leave the decision to file it with the user.
void showFilingFileCheck(QWidget *parent, const vat::WindowContext &ctx, const QString &path, int kodovani);

// "&Uložit data" with its check: print::saveFilingFile, after whose write the check of the
// file runs. Returns the path written, or empty.
QString saveFilingFileChecked(QWidget *parent, const vat::WindowContext &ctx, print::FilingContext &filing);

}  // namespace rur::check
