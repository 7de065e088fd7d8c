#pragma once

// The four search windows that list windows open with F3. Each moves the current row of its
// list's table; each closes with "&Zavřít" (Enter and Esc too) and keeps its place in the
// data-set ini.

#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QPushButton;

namespace rur::engine {
class Table;
}
namespace rur::ui {
class TEditz;
}

namespace rur::search {

// Common frame: the place, the close button, the edit of the search text.
class FindForm : public QDialog {
    Q_OBJECT

public:
    ui::TEditz *edit() const { return edit_; }
    QPushButton *closeButton() const { return close_; }
    void done(int result) override;

protected:
    FindForm(vat::WindowContext ctx, int windowId, QWidget *parent);
    // The edit with its hint and maximum length, and the button row under `content`.
    void build(QWidget *content, const QString &hint, int maxLength, QPushButton *extra = nullptr);
    virtual void closing() {}

    vat::WindowContext ctx_;
    int windowId_;
    ui::TEditz *edit_ = nullptr;
    QPushButton *close_ = nullptr;
    bool closed_ = false;
};

// "Vyhledávání podle datumu" over the bank orders (Mban by Ds), searched with "&Najdi".
class TFind10Form : public FindForm {
    Q_OBJECT

public:
    explicit TFind10Form(vat::WindowContext ctx, QWidget *parent = nullptr);
    QPushButton *findButton() const { return find_; }
    void NajdiButtonClick();

private:
    QPushButton *find_;
};

// "Vyhledávání" by bank number over the payment data (Mbzp by Pc), on every change.
class TFind11Form : public FindForm {
    Q_OBJECT

public:
    explicit TFind11Form(vat::WindowContext ctx, QWidget *parent = nullptr);
};

// "Vyhledávání" by name over the documents (Mdp by Nazev), on every change.
class TFind12Form : public FindForm {
    Q_OBJECT

public:
    explicit TFind12Form(vat::WindowContext ctx, QWidget *parent = nullptr);
};

// "Vyhledávání" in the address book (Maz by Fa or Mi), on every change; "Názvu" and "Místa"
// switch the address book's order and caption, and the choice is kept in Vyhledavani16Podle.
class TFind16Form : public FindForm {
    Q_OBJECT

public:
    // setCaption gets the address book's new caption when the order changes.
    TFind16Form(vat::WindowContext ctx, std::function<void(const QString &)> setCaption, QWidget *parent = nullptr);
    QButtonGroup *orderGroup() const { return order_; }

protected:
    void closing() override;

private:
    void orderChosen(int order);

    QButtonGroup *order_;
    std::function<void(const QString &)> setCaption_;
};

// The windows as list windows open them: made, shown modally and destroyed.
void Find10(const vat::WindowContext &ctx, QWidget *parent);
void Find11(const vat::WindowContext &ctx, QWidget *parent);
void Find12(const vat::WindowContext &ctx, QWidget *parent);
void Find16(const vat::WindowContext &ctx, QWidget *parent, const std::function<void(const QString &)> &setCaption);

}  // namespace rur::search
