#pragma once

#include "base/Directories.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace rur::platform {
class Prompter;
}

namespace rur::app {

// "Výběr práce s daty": local or shared data, the shared catalogue, and the copy of an
// empty catalogue with the templates to a shared disk. Closing it (any way) stores the
// choice and sets the data root.
class TAu5Form : public QDialog {
    Q_OBJECT

public:
    TAu5Form(base::Directories &dirs, platform::Prompter &prompter, QWidget *parent = nullptr);

    // Whether closing moved the program to another data root.
    bool dataRootChanged() const { return rootChanged_; }

    QRadioButton *localRadio() const { return local_; }
    QRadioButton *networkRadio() const { return network_; }
    QLineEdit *pathEdit() const { return path_; }
    QComboBox *diskBox() const { return disk_; }
    QLineEdit *folderEdit() const { return folder_; }
    QLabel *guideLabel() const { return guide_; }
    QPushButton *button(const QString &objectName) const;

    // The file dialog of "..." and the opening of the guide; tests put their own in.
    std::function<QString(const QString &startFolder)> chooseFile;
    std::function<bool(const QString &path)> openDocument;

    void BrowseButtonClick();
    void KopirovatButtonClick();
    void NavodLabelClick();

protected:
    void done(int result) override;

private:
    base::Directories &dirs_;
    platform::Prompter &prompter_;
    QRadioButton *local_;
    QRadioButton *network_;
    QLineEdit *path_;
    QComboBox *disk_;
    QLineEdit *folder_;
    QLabel *guide_;
    bool closed_ = false;
    bool rootChanged_ = false;
};

// The disks "&Kopírovat data" offers: mounted network folders first, then the user's home
// and the other writable local volumes.
QStringList sharedDiskCandidates();

}  // namespace rur::app
