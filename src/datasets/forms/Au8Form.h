#pragma once

#include "base/Directories.h"
#include "datasets/EarlierEditions.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace rur::platform {
class Prompter;
}

namespace rur::datasets {

// "Převod dat z předchozích verzí": the catalogue of the earlier edition that was found (or
// another one the user picks with "...") and the check box "Převést data". An edit that names
// no earlier edition is refused on closing and the found catalogue comes back.
class TAu8Form : public QDialog {
    Q_OBJECT

public:
    TAu8Form(const base::Directories &dirs, platform::Prompter &prompter, const QString &found,
             QWidget *parent = nullptr);

    ConversionChoice choice() const;
    QLineEdit *pathEdit() const { return path_; }
    QCheckBox *convertCheck() const { return convert_; }
    QPushButton *button(const QString &objectName) const;

    // The file dialog of "..."; tests put their own in.
    std::function<QString(const QString &startFolder)> chooseFile;

    void BrowseButtonClick();

protected:
    void done(int result) override;

private:
    const base::Directories &dirs_;
    platform::Prompter &prompter_;
    QString found_;
    QLineEdit *path_;
    QCheckBox *convert_;
};

}  // namespace rur::datasets
