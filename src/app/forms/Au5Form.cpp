#include "app/forms/Au5Form.h"

#include "app/DataChoice.h"
#include "app/InstallGuide.h"
#include "base/Program.h"
#include "base/SharedLocks.h"
#include "platform/ExecuteFile.h"
#include "platform/Prompter.h"
#include "ui/forms/Editz.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::app {

namespace {

template <typename W>
W *hinted(W *widget, const QString &name, const QString &hint)
{
    widget->setObjectName(name);
    widget->setStatusTip(hint);
    widget->setToolTip(hint);
    return widget;
}

QPushButton *plainButton(QWidget *parent, const QString &caption, const QString &name, const QString &hint)
{
    auto *b = hinted(new QPushButton(caption, parent), name, hint);
    b->setAutoDefault(false);
    return b;
}

// Filter texts of the catalogue dialogs: the description with its pattern in brackets.
const QStringList kCatalogueFilters = {u"datové soubory (Data.DB)"_s, u"všechny soubory (*.*) (*)"_s};

QString openCatalogueFile(QWidget *parent, const QString &startFolder)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(kCatalogueFilters);
    dialog.setDirectory(startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

bool isNetworkType(const QByteArray &type)
{
    return type.startsWith("nfs") || type == "cifs" || type == "smb3" || type == "smbfs" || type.startsWith("fuse.");
}

}  // namespace

QStringList sharedDiskCandidates()
{
    QStringList network, local;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly())
            continue;
        const QString root = base::withSlash(volume.rootPath());
        if (isNetworkType(volume.fileSystemType()))
            network.append(root);
        else if (root.startsWith(u"/media/"_s) || root.startsWith(u"/mnt/"_s) || root.startsWith(u"/run/media/"_s))
            local.append(root);
    }
    const QString home = base::withSlash(QDir::homePath());
    return network + QStringList{home} + local;
}

TAu5Form::TAu5Form(base::Directories &dirs, platform::Prompter &prompter, QWidget *parent)
    : QDialog(parent), dirs_(dirs), prompter_(prompter)
{
    setWindowTitle(u"Výběr práce s daty"_s);
    chooseFile = [this](const QString &startFolder) { return openCatalogueFile(this, startFolder); };
    openDocument = [](const QString &path) { return platform::ExecuteFile(path); };
    auto *layout = new QVBoxLayout(this);

    const QString localCaption = u"Data v datovém adresáři"_s;
    const QString networkCaption =
        u"Data pro provoz v síti - nastavte cestu např. /mnt/server/RUR"_s + base::yearCode() + u"/Data.DB"_s;
    local_ = hinted(new QRadioButton(localCaption, this), u"LocalRadio"_s, localCaption);
    network_ = hinted(new QRadioButton(networkCaption, this), u"NetworkRadio"_s, networkCaption);
    layout->addWidget(local_);
    layout->addWidget(network_);
    auto *pathRow = new QHBoxLayout;
    path_ = hinted(new ui::TEditz(this), u"CestaEdit"_s, u"Cesta k datovým souborům"_s);
    auto *browse = plainButton(this, u"..."_s, u"VyberButton"_s, u"Výběr adresáře"_s);
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse);
    layout->addLayout(pathRow);

    auto *copyBox = new QGroupBox(this);
    auto *grid = new QGridLayout(copyBox);
    disk_ = hinted(new QComboBox(copyBox), u"DiskBox"_s, u"Výběr disku pro instalaci dat"_s);
    disk_->setEditable(true);
    disk_->addItems(sharedDiskCandidates());
    folder_ = hinted(new ui::TEditz(copyBox), u"AdresarEdit"_s, u"Výběr adresáře pro instalaci dat"_s);
    folder_->setText(defaultSharedFolderName());
    auto *copy = plainButton(copyBox, u"&Kopírovat data"_s, u"KopirovatButton"_s, u"Kopírovat data"_s);
    grid->addWidget(new QLabel(u"Výběr disku pro instalaci dat"_s, copyBox), 0, 0);
    grid->addWidget(disk_, 0, 1);
    grid->addWidget(new QLabel(u"Výběr adresáře pro instalaci dat"_s, copyBox), 1, 0);
    grid->addWidget(folder_, 1, 1);
    grid->addWidget(copy, 1, 2);
    auto *instruction =
        new QLabel(u"Pouze na prvním počítači proveďte akci kopírovat data pro provoz v síti."_s, copyBox);
    instruction->setWordWrap(true);
    grid->addWidget(instruction, 2, 0, 1, 3);
    layout->addWidget(copyBox);

    guide_ = new QLabel(u"<a href=\"navod\">Přečtěte si Návod k instalaci (PDF)</a>"_s, this);
    guide_->setObjectName(u"NavodLabel"_s);
    guide_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    layout->addWidget(guide_);

    auto *ok = new QPushButton(u"&OK"_s, this);
    ok->setObjectName(u"OKButton"_s);
    ok->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, &TAu5Form::BrowseButtonClick);
    connect(copy, &QPushButton::clicked, this, &TAu5Form::KopirovatButtonClick);
    connect(guide_, &QLabel::linkActivated, this, &TAu5Form::NavodLabelClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Opening: local unless the stored choice is the shared one.
    const DataChoice choice = readDataChoice(dirs_);
    local_->setChecked(true);
    if (choice.network())
        network_->setChecked(true);
    path_->setText(catalogueEditText(choice));
}

QPushButton *TAu5Form::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void TAu5Form::BrowseButtonClick()
{
    QString start = QFileInfo(path_->text().trimmed()).absolutePath();
    if (path_->text().trimmed().isEmpty() || !QFileInfo(start).isDir()) {
        const std::optional<base::MountEntry> mount = base::mountOf(base::systemMounts(), dirs_.dataRoot);
        start = mount ? mount->mountPoint : u"/"_s;
    }
    const QString chosen = chooseFile(start);
    if (chosen.isEmpty())
        return;
    path_->setText(chosen);
    network_->setChecked(true);
}

void TAu5Form::KopirovatButtonClick()
{
    const QString target = copySharedData(dirs_, disk_->currentText(), folder_->text(), prompter_);
    if (target.isEmpty())
        return;
    network_->setChecked(true);
    path_->setText(target + u"Data.DB"_s);
    button(u"OKButton"_s)->setFocus();
}

void TAu5Form::NavodLabelClick()
{
    const QString path = writeInstallGuide(installGuideFolder());
    if (path.isEmpty())
        prompter_.error(u"Návod k instalaci nelze otevřít."_s);
    // Written, but nothing on this computer opens a PDF: the user is told where it is.
    else if (!openDocument(path))
        prompter_.error(u"Návod k instalaci nelze otevřít. Je uložen v souboru\n"_s + path);
}

void TAu5Form::done(int result)
{
    if (!closed_) {
        closed_ = true;
        const QString before = dirs_.dataRoot;
        applyDataChoice(dirs_, network_->isChecked(), path_->text(), prompter_);
        rootChanged_ = !base::samePath(before, dirs_.dataRoot);
    }
    QDialog::done(result);
}

}  // namespace rur::app
