#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace rur::print {

// The small "RUR" window that says what the program is doing with a printout.
class TTiskInfoForm : public QDialog {
    Q_OBJECT

public:
    explicit TTiskInfoForm(QWidget *parent = nullptr);

    // Kind 1: "Odesílám data do tiskárny ...", without the cancel button, 105 pixels high.
    void TypTisku(int kind);

    QLabel *text() const { return text_; }
    QPushButton *cancelButton() const { return cancel_; }

private:
    QLabel *text_;
    QPushButton *cancel_;
};

}  // namespace rur::print
