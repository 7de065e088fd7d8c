#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QTreeView;

namespace rur::base {
struct Directories;
}  // namespace rur::base

namespace rur::backup {

// "Vlastní výběr adresáře": the own folder for archives, chosen from a list of drives (the
// mounted file systems) and a folder list. It opens at [Cesty] Vlastni, or at the root of
// the data root's drive; closing stores the chosen folder there and tells folderChosen.
class TExd2Form : public QDialog {
    Q_OBJECT

public:
    TExd2Form(const base::Directories &dirs, int screenWidth, QWidget *parent = nullptr);

    QComboBox *driveList() const { return drives_; }
    QTreeView *folderList() const { return folders_; }
    // The chosen folder, ending in '/'.
    QString folder() const;
    void setFolder(const QString &folder);

    void done(int result) override;

signals:
    void folderChosen(const QString &folder);

private:
    void showDrive(const QString &drive);

    const base::Directories &dirs_;
    QComboBox *drives_;
    QTreeView *folders_;
    QFileSystemModel *model_;
};

}  // namespace rur::backup
