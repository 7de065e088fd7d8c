#pragma once

#include "print/FilingFile.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace rur::print {

// "Nastavení": the settings of the filing file (path template, firm name in the file name,
// encoding). There is no cancel: every way of closing applies the values to the context and
// stores the window position in the data-set ini.
class TEpodForm : public QDialog {
    Q_OBJECT

public:
    explicit TEpodForm(FilingContext &ctx, QWidget *parent = nullptr);

    // Mode 1 puts the focus on the complete path.
    void Nastaveni(int mode);

    QLineEdit *templateEdit() const { return template_; }
    QLineEdit *pathEdit() const { return path_; }
    QComboBox *encodingBox() const { return encoding_; }
    QCheckBox *firmNameBox() const { return firmName_; }
    QPushButton *button(const QString &objectName) const;

    // The file chosen by "...", given the starting folder; empty when none is chosen. The
    // open-file dialog unless a test puts something else here.
    std::function<QString(const QString &startFolder)> chooseFile;

    void VyberButtonClick();
    void AdresarDatButtonClick();
    void AdresarUzivatelButtonClick();
    void SmazatButtonClick();
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updatePath();
    void setDefaultTemplate(int type, const QString &question);
    QString positionSection() const;

    FilingContext &ctx_;
    QLineEdit *template_;
    QLineEdit *path_;
    QComboBox *encoding_;
    QCheckBox *firmName_;
    QPushButton *ok_;
};

// "N&astavení" of the print centre: sets the default path template when none is stored, shows
// "Nastavení" with the focus on the complete path, then stores the [XML] keys in the data-set
// ini.
void showFilingSettings(FilingContext &ctx, QWidget *parent);

}  // namespace rur::print
