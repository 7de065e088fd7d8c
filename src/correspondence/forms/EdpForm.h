#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>

class QPushButton;

namespace rur::ui {
class RecordEditor;
class TDBCheckBoxz;
class TDBEditz;
class TDBGrid;
class TDBNavigator;
}  // namespace rur::ui
namespace rur::vat {
class TDBMemo;
}

namespace rur::correspondence {

// "Dokumenty - dopisy": the letters and attachments of Mdp with their text. In edit mode (from
// the menu) "&Tisk" closes the window for printing the current document; in pick mode (from
// the print centre) a double click or Enter in the list closes it with the document chosen.
class TEdpForm : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Edit, Pick };
    // Closed through "&Tisk".
    static constexpr int PrintResult = 2;

    TEdpForm(vat::WindowContext ctx, Mode mode, QWidget *parent = nullptr);

    ui::TDBEditz *edit(const QString &field) const;
    ui::TDBCheckBoxz *typeBox() const { return type_; }
    vat::TDBMemo *textEdit() const { return text_; }
    ui::TDBGrid *grid() const { return grid_; }
    ui::TDBNavigator *navigator() const { return navigator_; }
    QPushButton *printButton() const { return print_; }
    QPushButton *duplicateButton() const { return duplicate_; }
    ui::RecordEditor *editor() const { return editor_; }

    void activated();
    void DuplikaceClick();
    void done(int result) override;

protected:
    bool event(QEvent *event) override;

private:
    void updateDuplicate();

    vat::WindowContext ctx_;
    Mode mode_;
    ui::RecordEditor *editor_;
    ui::TDBNavigator *navigator_;
    ui::TDBGrid *grid_;
    ui::TDBCheckBoxz *type_;
    vat::TDBMemo *text_;
    QPushButton *print_;
    QPushButton *duplicate_;
    bool displayWasOn_;
    bool closed_ = false;
};

// Menu "&Dokumenty - dopisy": Mdp reread on its first row, the window in edit mode; closed
// through "&Tisk", the document becomes Mtt.Nazev (saved) and true is returned, so that the
// print centre opens on its Komfort page.
bool openDocuments(QWidget *parent, const vat::WindowContext &ctx);

// PrenosDokumentu1 of the print centre: the window in pick mode on the document named in
// Mtt.Nazev; afterwards Mtt (left in edit) takes the name of the document then current.
void pickDocument(QWidget *parent, const vat::WindowContext &ctx);

}  // namespace rur::correspondence
