#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QPushButton;
class QTabWidget;

namespace rur::vat {

class TDBMemo;

// "Údaje o poplatníkovi": the taxpayer row (Prp) on three pages and the text attachment
// (Prppz). Enter moves from field to field and across the pages; "&OK" stores and closes
// (rejected), "&Tisk", shown while there are no data for page 2, closes for printing
// (accepted). Every way of closing stores the rows.
class TEprpForm : public QDialog {
    Q_OBJECT

public:
    explicit TEprpForm(WindowContext ctx, QWidget *parent = nullptr);

    QTabWidget *pages() const { return pages_; }
    // The control of a field of Prp (or "Poz" for the attachment).
    QWidget *control(const QString &field) const { return controls_.value(field); }
    QPushButton *button(const QString &objectName) const;

    void OKButtonClick();
    void TiskButtonClick();
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildPage(int page);
    void jumpTo(int page, const QString &field);
    void updateTisk();

    WindowContext ctx_;
    QTabWidget *pages_;
    QHash<QString, QWidget *> controls_;
    TDBMemo *memo_ = nullptr;
    QPushButton *tisk_;
    bool closed_ = false;
};

// The command "Údaje o poplatníkovi": Prp into edit, the window, then (after "&Tisk") the
// print selection, the caption of the main window and the copies of the edited names into
// the fields older printouts read. A focus field opens the window at that field's page with
// the focus in it.
void Udaje1(const WindowContext &ctx, QWidget *parent, const std::function<void()> &openPrint,
            const QString &focusField = QString());

}  // namespace rur::vat
