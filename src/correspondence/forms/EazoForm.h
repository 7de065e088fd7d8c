#pragma once

#include "vat/forms/WindowContext.h"

#include <QDialog>

namespace rur::ui {
class TDBEditz;
}

namespace rur::correspondence {

// "Odesílatel": the sender of the letters and envelopes (Mtt Fa, Ul, Psc, Mi), which "&Přenos"
// fills from the taxpayer data. Mtt is in edit while the window is open.
class TEazoForm : public QDialog {
    Q_OBJECT

public:
    explicit TEazoForm(vat::WindowContext ctx, QWidget *parent = nullptr);

    ui::TDBEditz *edit(const QString &field) const;
    void OKButtonClick();
    void PrenosButtonClick();
    void done(int result) override;

private:
    vat::WindowContext ctx_;
    bool closed_ = false;
};

// Menu "&Odesílatel" and the print centre's button: Mtt read again and put into edit, the
// window shown modally.
void openSender(QWidget *parent, const vat::WindowContext &ctx);

}  // namespace rur::correspondence
