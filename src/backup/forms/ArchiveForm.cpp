#include "backup/forms/ArchiveForm.h"

#include "backup/ArchivePaths.h"
#include "backup/Backup.h"
#include "backup/forms/Exd2Form.h"
#include "base/Directories.h"
#include "base/Paths.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "ui/HelpRequests.h"
#include "ui/forms/EnterTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

constexpr int kHelpContext = 211;
constexpr int kProgressEnd = 65;

struct ButtonDef {
    const char16_t *caption;
    const char16_t *name;
    const char16_t *hint;
    void (TArchiveForm::*click)();
};

// The path buttons, left to right.
const ButtonDef kPathButtons[] = {
    {u"Adresář &dat", u"AdresarDatButton", u"Nastaví výchozí cestu (Adresář dat)", &TArchiveForm::AdresarDatButtonClick},
    {u"Adresář &uživatele", u"AdresarUzivatelButton", u"Nastaví výchozí cestu (Adresář uživatele)",
     &TArchiveForm::AdresarUzivatelButtonClick},
    {u"Výměnné &médium", u"VymenneMediumButton", u"Nastaví cestu na výměnné médium",
     &TArchiveForm::VymenneMediumButtonClick},
    {u"Vlastní &nastavení", u"VlastniButton", u"Nastaví vlastní adresář (pravé tlačítko myši - další volby)",
     &TArchiveForm::VlastniButtonClick},
};

template <typename Widget>
Widget *named(Widget *w, const QString &name, const QString &hint = {})
{
    w->setObjectName(name);
    if (!hint.isEmpty()) {
        w->setStatusTip(hint);
        w->setToolTip(hint);
    }
    return w;
}

QPushButton *makeButton(QWidget *parent, const QString &caption, const QString &name, const QString &hint = {})
{
    auto *b = named(new QPushButton(caption, parent), name, hint);
    b->setAutoDefault(false);
    return b;
}

QString openZipFile(QWidget *parent, const QString &startFolder)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({u"soubory zip (*.zip)"_s, u"všechny soubory (*.*)"_s});
    dialog.setDefaultSuffix(u"zip"_s);
    dialog.setDirectory(startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace

TArchiveForm::TArchiveForm(ArchiveWindowContext &ctx, const Texts &texts, QWidget *parent)
    : QDialog(parent), ctx_(ctx), texts_(texts)
{
    setWindowTitle(texts.title);
    chooseFile = [this](const QString &startFolder) { return openZipFile(this, startFolder); };
    chooseOwnFolder = [this] {
        TExd2Form own(ctx_.dirs, ctx_.screenWidth, this);
        connect(&own, &TExd2Form::folderChosen, this, &TArchiveForm::ownFolderChosen);
        own.exec();
    };

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    auto *label = new QLabel(texts.listLabel, this);
    pathList_ = named(new QComboBox(this), u"CestaBox"_s, texts.listLabel);
    pathList_->setEditable(true);
    pathList_->setInsertPolicy(QComboBox::NoInsert);
    pathList_->setMinimumWidth(480);
    label->setBuddy(pathList_);
    auto *choose = makeButton(this, u"..."_s, u"VyberButton"_s, u"Výběr souboru"_s);
    completePath_ = named(new QLineEdit(this), u"KompletniCestaEdit"_s, u"Kompletní cesta - např. pro kopírování (Ctrl + C)"_s);
    completePath_->setReadOnly(true);
    firmName_ = named(new QCheckBox(u"v názvu souboru - název firmy"_s, this), u"NazevCheckBox"_s,
                      u"Zaškrtnuto - název firmy, jinak např. D1"_s);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(pathList_, 1, 0);
    grid->addWidget(choose, 1, 1);
    grid->addWidget(completePath_, 2, 0, 1, 2);
    layout->addLayout(grid);

    options_ = new QGridLayout;
    options_->addWidget(firmName_, 0, 0);
    layout->addLayout(options_);

    auto *paths = new QHBoxLayout;
    for (const ButtonDef &def : kPathButtons) {
        QPushButton *b = makeButton(this, QString::fromUtf16(def.caption), QString::fromUtf16(def.name),
                                    QString::fromUtf16(def.hint));
        connect(b, &QPushButton::clicked, this, def.click);
        paths->addWidget(b);
    }
    layout->addLayout(paths);

    progress_ = named(new QProgressBar(this), u"ProgressBar"_s);
    progress_->setRange(0, kProgressEnd);
    progress_->setTextVisible(false);
    // Its place stays while it is hidden: the window keeps its size when it shows.
    QSizePolicy keepPlace = progress_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keepPlace);
    progress_->hide();
    layout->addWidget(progress_);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    QPushButton *runButton = makeButton(this, texts.runCaption, texts.runName);
    QPushButton *close = makeButton(this, u"&Zavřít"_s, u"ZavritButton"_s);
    bottom->addWidget(runButton);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    // The right-click menu of "Vlastní nastavení".
    QPushButton *own = button(u"VlastniButton"_s);
    ownMenu_ = new QMenu(own);
    ownMenu_->setObjectName(u"VlastniMenu"_s);
    ownMenu_->addAction(u"Vlastní &nastavení"_s, this, [this] { chooseOwnFolder(); });
    ownMenu_->addAction(u"Vymazání uložených &cest"_s, this, &TArchiveForm::VymazaniCestClick);
    ownMenu_->addAction(u"Vymazání uložených cest - &ostatní"_s, this, &TArchiveForm::VymazaniCestOstatniClick);
    own->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(own, &QWidget::customContextMenuRequested, this,
            [this, own](const QPoint &at) { ownMenu_->exec(own->mapToGlobal(at)); });

    connect(choose, &QPushButton::clicked, this, &TArchiveForm::VyberButtonClick);
    connect(runButton, &QPushButton::clicked, this, [this] { run(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(pathList_, &QComboBox::activated, this, [this] { updatePath(); });
    for (QObject *watched : {static_cast<QObject *>(pathList_), static_cast<QObject *>(pathList_->lineEdit()),
                             static_cast<QObject *>(firmName_)})
        watched->installEventFilter(this);

    const bool small = ctx_.screenWidth <= 640;
    int top = small ? texts.smallTop : texts.largeTop, left = small ? 4 : 84;
    if (!ctx_.dirs.dataSetDir.isEmpty()) {
        const platform::IniFile ini(ctx_.dirs.dataSetIni());
        top = ini.readInteger(ctx_.dirs.dataSetDir, texts.positionKey + u"Top"_s, top);
        left = ini.readInteger(ctx_.dirs.dataSetDir, texts.positionKey + u"Left"_s, left);
    }
    move(left, top);
}

void TArchiveForm::loadSettings()
{
    if (!ctx_.dirs.dataSetDir.isEmpty())
        readSettings(platform::IniFile(ctx_.dirs.dataSetIni()));
    if (pathList_->count() > 0) {
        pathList_->setCurrentIndex(0);
        updatePath();
    } else {
        setDefaultTemplate(1);
    }
}

void TArchiveForm::readSettings(const platform::IniFile &ini)
{
    const PathSettings settings = readPathSettings(ini);
    pathList_->addItems(settings.remembered);
    firmName_->setChecked(settings.nazev);
}

void TArchiveForm::writeSettings(platform::IniFile &ini)
{
    writeRememberedPaths(ini, templates(), firmName_->isChecked());
}

QPushButton *TArchiveForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QStringList TArchiveForm::templates() const
{
    QStringList out;
    for (int i = 0; i < pathList_->count(); ++i)
        out.append(pathList_->itemText(i));
    return out;
}

QString TArchiveForm::stem() const
{
    return archiveStem(ctx_.dirs, ctx_.taxpayerStem, firmName_->isChecked());
}

void TArchiveForm::updatePath()
{
    completePath_->setText(base::CestyTyp2(ctx_.dirs, pathList_->currentText(), base::KindBackup));
}

void TArchiveForm::setTemplate(const QString &pathTemplate)
{
    pathList_->setEditText(pathTemplate);
    updatePath();
}

void TArchiveForm::setDefaultTemplate(int type)
{
    setTemplate(defaultArchiveTemplate(ctx_.dirs, type, stem()));
}

void TArchiveForm::AdresarDatButtonClick()
{
    setDefaultTemplate(1);
}

void TArchiveForm::AdresarUzivatelButtonClick()
{
    setDefaultTemplate(2);
}

void TArchiveForm::VymenneMediumButtonClick()
{
    setDefaultTemplate(3);
}

void TArchiveForm::setOwnFolderPath(const QString &folder)
{
    const QString path = ownFolderArchive(folder, stem());
    pathList_->setEditText(base::CestyTyp3(ctx_.dirs, path));
    completePath_->setText(path);
}

void TArchiveForm::VlastniButtonClick()
{
    QString folder;
    if (!ctx_.dirs.dataSetDir.isEmpty())
        folder = readPathSettings(platform::IniFile(ctx_.dirs.dataSetIni())).vlastni;
    if (folder.isEmpty())
        chooseOwnFolder();
    else
        setOwnFolderPath(folder);
}

void TArchiveForm::ownFolderChosen(const QString &folder)
{
    setOwnFolderPath(folder);
}

void TArchiveForm::VyberButtonClick()
{
    updatePath();
    const QString complete = completePath_->text();
    QString start;
    if (base::isPathMessage(complete))
        start = ctx_.dirs.localDataRoot;
    else if (const QString folder = QFileInfo(complete).absolutePath(); QFileInfo(folder).isDir())
        start = folder;
    else
        start = base::DirTyp(ctx_.dirs, 2, complete);
    const QString chosen = chooseFile(start);
    if (chosen.isEmpty())
        return;
    completePath_->setText(chosen);
    pathList_->setEditText(base::CestyTyp3(ctx_.dirs, chosen));
}

void TArchiveForm::VymazaniCestClick()
{
    if (!ctx_.prompter.confirm(u"Opravdu vymazat uložené cesty ?"_s))
        return;
    if (!ctx_.dirs.dataSetDir.isEmpty()) {
        platform::IniFile ini(ctx_.dirs.dataSetIni());
        eraseRememberedPaths(ini);
    }
    pathsErased_ = true;
    ctx_.prompter.information(u"Cesty byly vymazány."_s);
    reject();
}

void TArchiveForm::VymazaniCestOstatniClick()
{
    if (!ctx_.prompter.confirm(u"Opravdu vymazat uložené cesty - ostatní ?"_s))
        return;
    if (!ctx_.dirs.dataSetDir.isEmpty()) {
        platform::IniFile ini(ctx_.dirs.dataSetIni());
        eraseOtherPaths(ini);
    }
    ctx_.prompter.information(u"Cesty byly vymazány."_s);
    reject();
}

void TArchiveForm::tick()
{
    progress_->setValue(qMin(progress_->maximum(), progress_->value() + progressStep()));
    // The work runs on this thread: the bar is drawn now, not when the work is over.
    progress_->repaint();
}

bool TArchiveForm::run()
{
    updatePath();
    const QString pathTemplate = pathList_->currentText();
    ArchiveJob job{ctx_.dm, ctx_.dirs, ctx_.prompter};
    job.started = [this, &pathTemplate] {
        progress_->setValue(0);
        progress_->show();
        progress_->repaint();
        QStringList list = templates();
        moveToTop(list, pathTemplate);
        pathList_->clear();
        pathList_->addItems(list);
        pathList_->setEditText(pathTemplate);
    };
    job.tick = [this] { tick(); };
    // The bar reaches its end and goes before the result is told.
    job.finished = [this] {
        progress_->setValue(progress_->maximum());
        progress_->repaint();
        progress_->hide();
    };
    bool ok = false;
    try {
        ok = runProcedure(job, completePath_->text());
    } catch (const engine::EngineError &e) {
        ctx_.prompter.error(QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
    }
    progress_->setValue(progress_->maximum());
    progress_->hide();
    return ok;
}

bool TArchiveForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool inList = watched == pathList_ || watched == pathList_->lineEdit();
    if (inList && event->type() == QEvent::FocusOut) {
        updatePath();
    } else if ((inList || watched == firmName_) && ui::isEnterPress(event)) {
        const bool back = static_cast<QKeyEvent *>(event)->modifiers() & Qt::ShiftModifier;
        QWidget *next = inList ? (back ? static_cast<QWidget *>(firmName_) : completePath_)
                               : (back ? static_cast<QWidget *>(button(u"VlastniButton"_s)) : pathList_);
        if (inList)
            updatePath();
        next->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TArchiveForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && ctx_.help) {
        ctx_.help->showContext(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TArchiveForm::done(int result)
{
    if (!ctx_.dirs.dataSetDir.isEmpty()) {
        platform::IniFile ini(ctx_.dirs.dataSetIni());
        ini.writeInteger(ctx_.dirs.dataSetDir, texts_.positionKey + u"Top"_s, pos().y());
        ini.writeInteger(ctx_.dirs.dataSetDir, texts_.positionKey + u"Left"_s, pos().x());
        if (!pathsErased_)
            writeSettings(ini);
    }
    QDir::setCurrent(ctx_.dirs.dataRoot);
    QDialog::done(result);
}

}  // namespace rur::backup
