#pragma once

#include "vat/WindowRules.h"
#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <memory>

class QPushButton;

namespace rur::engine {
class Table;
}
namespace rur::ui {
class TDBEditz;
}

namespace rur::vat {

class ReturnPanel;

// A read-only window over the finished returns, laid out like the entry window of the same
// part, with the period of the row shown at the bottom. The rows are paged with the navigator,
// Ctrl+Home, PgUp, PgDn and Ctrl+End; "&Smazat" deletes the period shown from both
// finished-return tables. While the window is active the status bar shows the row position.
class TFinishedForm : public QDialog {
    Q_OBJECT

public:
    ~TFinishedForm() override;
    engine::Table &table() const { return table_; }
    ReturnPanel *panel() const { return panel_; }
    ui::TDBEditz *edit(const QString &field) const;
    QPushButton *button(const QString &objectName) const;

    void firstRow();
    void priorRow();
    void nextRow();
    void lastRow();
    void SmazatButtonClick();
    void done(int result) override;

protected:
    // part: 1 to 3, the entry window (1, 2 or 3) whose lines the window shows.
    TFinishedForm(int part, engine::Table &table, WindowId id, WindowContext ctx, QWidget *parent);
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool windowKey(const QKeyEvent *event);
    void showPosition();

    engine::Table &table_;
    WindowId id_;
    WindowContext ctx_;
    ReturnPanel *panel_;
    QPushButton *smazat_;
    bool displayWasOn_;
    bool closed_ = false;
};

// "1. Zdanitelná plnění" of the finished returns (Dtabn1s).
class TEtab1sForm : public TFinishedForm {
    Q_OBJECT

public:
    explicit TEtab1sForm(WindowContext ctx, QWidget *parent = nullptr);
};

// "2. Zdanitelná plnění, Doplňující údaje" of the finished returns (Dtabn1s).
class TEtab4sForm : public TFinishedForm {
    Q_OBJECT

public:
    explicit TEtab4sForm(WindowContext ctx, QWidget *parent = nullptr);
};

// "3. Nárok na odpočet daně" of the finished returns (Dtabn2s).
class TEtab2sForm : public TFinishedForm {
    Q_OBJECT

public:
    explicit TEtab2sForm(WindowContext ctx, QWidget *parent = nullptr);
};

// Finished-return window n (1 to 3, as in the menu), or null.
std::unique_ptr<TFinishedForm> makeFinishedWindow(int n, const WindowContext &ctx, QWidget *parent);

}  // namespace rur::vat
