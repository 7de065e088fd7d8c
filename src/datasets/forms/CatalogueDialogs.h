#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QLabel;

namespace rur::datasets {

class Catalogue;

// "Nové RUR": the name of the new data set; "&RUR" creates it, "&Zavřít" cancels the row.
class TAu1Form : public QDialog {
    Q_OBJECT
public:
    TAu1Form(Catalogue &catalogue, QWidget *parent = nullptr);
    QLineEdit *nameEdit() const { return name_; }
    void RurButtonClick();
    void reject() override;

private:
    Catalogue &catalogue_;
    QLineEdit *name_;
    QPushButton *rur_;
    QPushButton *close_;
};

// "Název RUR č. n": renames the current data set when it closes.
class TAu2Form : public QDialog {
    Q_OBJECT
public:
    TAu2Form(Catalogue &catalogue, QWidget *parent = nullptr);
    QLineEdit *nameEdit() const { return name_; }
    void done(int result) override;

private:
    Catalogue &catalogue_;
    QLineEdit *name_;
};

// "Heslo pro RUR ...": adds a password, or changes it after the present one is given.
class TAu3Form : public QDialog {
    Q_OBJECT
public:
    TAu3Form(Catalogue &catalogue, QWidget *parent = nullptr);
    QLineEdit *presentEdit() const { return present_; }
    QLineEdit *newEdit() const { return new_; }
    QPushButton *actionButton() const { return action_; }
    void ActionButtonClick();

private:
    Catalogue &catalogue_;
    QLineEdit *present_;
    QLineEdit *new_;
    QPushButton *action_;
};

// "Pozice RUR": the rows in own order, moved with four buttons; applied when it closes.
class TAu4Form : public QDialog {
    Q_OBJECT
public:
    TAu4Form(Catalogue &catalogue, QWidget *parent = nullptr);
    QListWidget *list() const { return list_; }
    void move(int to);
    void done(int result) override;

private:
    Catalogue &catalogue_;
    QListWidget *list_;
};

}  // namespace rur::datasets
