#include "backup/forms/Exd2Form.h"

#include "backup/ArchivePaths.h"
#include "base/Directories.h"
#include "base/Paths.h"
#include "platform/IniFile.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

const QString kTopKey = u"VlastniAdresarTop"_s;
const QString kLeftKey = u"VlastniAdresarLeft"_s;

// The drive of a folder: the mounted file system that holds it.
QString driveOf(const QString &folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() ? base::withSlash(storage.rootPath()) : u"/"_s;
}

}  // namespace

TExd2Form::TExd2Form(const base::Directories &dirs, int screenWidth, QWidget *parent) : QDialog(parent), dirs_(dirs)
{
    setObjectName(u"TExd2Form"_s);
    setWindowTitle(u"Vlastní výběr adresáře"_s);
    drives_ = new QComboBox(this);
    drives_->setObjectName(u"DriveComboBox"_s);
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            roots.append(base::withSlash(volume.rootPath()));
    roots.removeDuplicates();
    roots.sort();
    drives_->addItems(roots);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath(u"/"_s);
    folders_ = new QTreeView(this);
    folders_->setObjectName(u"DirectoryListBox"_s);
    folders_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        folders_->hideColumn(column);
    folders_->header()->hide();
    folders_->setMinimumSize(320, 260);

    auto *ok = new QPushButton(u"&OK"_s, this);
    ok->setObjectName(u"OKButton"_s);
    ok->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"jednotka"_s, this));
    layout->addWidget(drives_);
    layout->addWidget(new QLabel(u"adresář"_s, this));
    layout->addWidget(folders_);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    layout->addLayout(bottom);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(drives_, &QComboBox::activated, this, [this] { showDrive(drives_->currentText()); });

    const bool small = screenWidth < 641;
    int top = small ? 75 : 155, left = small ? 197 : 277;
    QString start;
    if (!dirs_.dataSetDir.isEmpty()) {
        const platform::IniFile ini(dirs_.dataSetIni());
        top = ini.readInteger(dirs_.dataSetDir, kTopKey, top);
        left = ini.readInteger(dirs_.dataSetDir, kLeftKey, left);
        start = readPathSettings(ini).vlastni;
    }
    move(left, top);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = driveOf(dirs_.dataRoot);
    setFolder(start);
}

void TExd2Form::showDrive(const QString &drive)
{
    folders_->setRootIndex(model_->index(drive));
    folders_->setCurrentIndex(model_->index(drive));
}

void TExd2Form::setFolder(const QString &folder)
{
    const QString drive = driveOf(folder);
    drives_->setCurrentIndex(drives_->findText(drive));
    folders_->setRootIndex(model_->index(drive));
    const QModelIndex index = model_->index(QDir::cleanPath(folder));
    folders_->setCurrentIndex(index);
    folders_->scrollTo(index);
}

QString TExd2Form::folder() const
{
    const QModelIndex current = folders_->currentIndex();
    if (current.isValid())
        return base::withSlash(model_->filePath(current));
    return base::withSlash(drives_->currentText());
}

void TExd2Form::done(int result)
{
    const QString chosen = folder();
    if (!dirs_.dataSetDir.isEmpty()) {
        platform::IniFile ini(dirs_.dataSetIni());
        ini.writeInteger(dirs_.dataSetDir, kTopKey, pos().y());
        ini.writeInteger(dirs_.dataSetDir, kLeftKey, pos().x());
        writeOwnFolder(ini, chosen);
    }
    emit folderChosen(chosen);
    QDialog::done(result);
}

}  // namespace rur::backup
