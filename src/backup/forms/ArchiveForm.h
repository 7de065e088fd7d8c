#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;

namespace rur::ui {
class HelpRequests;
}
namespace rur::base {
struct Directories;
}  // namespace rur::base
namespace rur::data {
class TDM1;
}
namespace rur::platform {
class IniFile;
class Prompter;
}  // namespace rur::platform

namespace rur::backup {

struct ArchiveJob;

// What the backup and restore windows work with.
struct ArchiveWindowContext {
    data::TDM1 &dm;
    base::Directories &dirs;
    platform::Prompter &prompter;
    QString taxpayerStem = {};  // NazevSb1, computed before the window opens
    int screenWidth = 1024;     // decides the default position
    ui::HelpRequests *help = nullptr;
};

// What the backup and restore windows share: the path template in an editable list of the
// remembered templates, the complete path below it, "...", the four path buttons with the
// right-click menu of "Vlastní &nastavení", the firm-name check box, the progress bar and
// the button that runs the window's procedure. Closing stores the window position and the
// remembered paths and sets the current directory back to the data root.
class TArchiveForm : public QDialog {
    Q_OBJECT

public:
    // The captions and places that tell the two windows apart.
    struct Texts {
        QString title;
        QString listLabel;   // caption of the path list
        QString runCaption;  // "Zálo&hovat", "&Obnovit"
        QString runName;
        QString positionKey;  // "ZalohovaniDat" → ZalohovaniDatTop, ZalohovaniDatLeft
        int smallTop = 0;     // default top on screens at most 640 pixels wide
        int largeTop = 0;
    };

    QComboBox *pathList() const { return pathList_; }
    QLineEdit *completePath() const { return completePath_; }
    QCheckBox *firmNameBox() const { return firmName_; }
    QProgressBar *progressBar() const { return progress_; }
    QMenu *ownFolderMenu() const { return ownMenu_; }
    QPushButton *button(const QString &objectName) const;
    QStringList templates() const;

    // The file chosen by "...", given the starting folder; empty when none is chosen.
    std::function<QString(const QString &startFolder)> chooseFile;
    // Opens "Vlastní výběr adresáře", which sets the path when it closes; tests put something
    // else here.
    std::function<void()> chooseOwnFolder;

    void AdresarDatButtonClick();
    void AdresarUzivatelButtonClick();
    void VymenneMediumButtonClick();
    void VlastniButtonClick();
    void VyberButtonClick();
    void VymazaniCestClick();
    void VymazaniCestOstatniClick();
    // "Vlastní výběr adresáře" closed on this folder.
    void ownFolderChosen(const QString &folder);
    // The window's procedure on the complete path; true when it succeeded.
    bool run();

    void done(int result) override;

protected:
    TArchiveForm(ArchiveWindowContext &ctx, const Texts &texts, QWidget *parent);
    // Fills the list and the check box from the data-set ini; the subclass calls it once its
    // own controls exist.
    void loadSettings();

    // Row of the window where a subclass puts its own controls.
    QGridLayout *optionsGrid() const { return options_; }
    virtual bool runProcedure(ArchiveJob &job, const QString &completePath) = 0;
    // How far one stored or extracted file moves the progress bar.
    virtual int progressStep() const = 0;
    virtual void readSettings(const platform::IniFile &ini);
    virtual void writeSettings(platform::IniFile &ini);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    ArchiveWindowContext &ctx_;

private:
    QString stem() const;
    void updatePath();
    void setTemplate(const QString &pathTemplate);
    void setDefaultTemplate(int type);
    void setOwnFolderPath(const QString &folder);
    void tick();

    Texts texts_;
    QComboBox *pathList_;
    QLineEdit *completePath_;
    QCheckBox *firmName_;
    QProgressBar *progress_;
    QGridLayout *options_;
    QMenu *ownMenu_;
    bool pathsErased_ = false;
};

}  // namespace rur::backup
