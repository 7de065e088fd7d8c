#include "print/forms/EpodForm.h"

#include "base/Directories.h"
#include "base/Paths.h"
#include "base/UserSettings.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/XmlText.h"
#include "ui/forms/Editz.h"
#include "ui/forms/EnterTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

template <typename Widget>
Widget *hinted(Widget *w, const QString &name, const QString &hint)
{
    w->setObjectName(name);
    w->setStatusTip(hint);
    w->setToolTip(hint);
    return w;
}

QPushButton *hintedButton(QWidget *parent, const QString &caption, const QString &name, const QString &hint)
{
    auto *b = hinted(new QPushButton(caption, parent), name, hint);
    b->setAutoDefault(false);
    return b;
}

QString openXmlFile(QWidget *parent, const QString &startFolder)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({u"datové soubory (*.xml)"_s, u"všechny soubory (*.*)"_s});
    dialog.setDefaultSuffix(u"xml"_s);
    dialog.setDirectory(startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

const QString kTopKey = u"DataElPodani1Top"_s;
const QString kLeftKey = u"DataElPodani1Left"_s;

}  // namespace

TEpodForm::TEpodForm(FilingContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setWindowTitle(u"Nastavení"_s);
    chooseFile = [this](const QString &startFolder) { return openXmlFile(this, startFolder); };

    auto *group = new QGroupBox(u"Data pro elektronické podání - nastavení"_s, this);
    auto *grid = new QGridLayout(group);
    template_ = hinted(new ui::TEditz(group), u"DphEdit"_s, u"Data pro RUR"_s);
    auto *choose = hintedButton(group, u"..."_s, u"VyberButton"_s, u"Výběr souboru"_s);
    path_ = hinted(new ui::TEditz(group), u"CestaEdit"_s, u"Kompletní cesta - např. pro kopírování (Ctrl + C)"_s);
    path_->setReadOnly(true);
    encoding_ = hinted(new QComboBox(group), u"KodovaniBox"_s, u"kódování (společné pro všechny firmy)"_s);
    encoding_->addItems(encodingLabels());
    firmName_ = hinted(new QCheckBox(u"v názvu souboru - název firmy"_s, group), u"NazevCheckBox"_s,
                       u"Zaškrtnuto - název firmy, jinak např. D1"_s);
    auto *dataButton =
        hintedButton(group, u"Adresář &dat"_s, u"AdresarDatButton"_s, u"Nastaví výchozí cestu (Adresář dat)"_s);
    auto *userButton = hintedButton(group, u"Adresář &uživatele"_s, u"AdresarUzivatelButton"_s,
                           u"Nastaví výchozí cestu (Adresář uživatele)"_s);
    auto *erase = hintedButton(group, u"&Smazat XML soubory"_s, u"SmazatButton"_s, u"Smaže uvedené XML soubory"_s);

    auto *rurLabel = new QLabel(u"RUR"_s, group);
    rurLabel->setBuddy(template_);
    grid->addWidget(rurLabel, 0, 0);
    grid->addWidget(template_, 0, 1);
    grid->addWidget(choose, 0, 2);
    grid->addWidget(path_, 1, 1, 1, 2);
    grid->addWidget(new QLabel(u"kódování"_s, group), 2, 0);
    grid->addWidget(encoding_, 2, 1);
    grid->addWidget(firmName_, 3, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(dataButton);
    buttons->addWidget(userButton);
    buttons->addWidget(erase);
    grid->addLayout(buttons, 4, 0, 1, 3);

    ok_ = new QPushButton(u"&OK"_s, this);
    ok_->setObjectName(u"OKButton"_s);
    ok_->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok_);
    layout->addLayout(bottom);
    setMinimumWidth(560);

    connect(choose, &QPushButton::clicked, this, &TEpodForm::VyberButtonClick);
    connect(dataButton, &QPushButton::clicked, this, &TEpodForm::AdresarDatButtonClick);
    connect(userButton, &QPushButton::clicked, this, &TEpodForm::AdresarUzivatelButtonClick);
    connect(erase, &QPushButton::clicked, this, &TEpodForm::SmazatButtonClick);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    template_->installEventFilter(this);
    firmName_->installEventFilter(this);

    const QScreen *screen = QGuiApplication::primaryScreen();
    const bool small = screen && screen->geometry().width() < 641;
    int top = small ? 104 : 184, left = small ? 4 : 84;
    if (!positionSection().isEmpty()) {
        const platform::IniFile ini(ctx_.dirs.dataSetIni());
        top = ini.readInteger(positionSection(), kTopKey, top);
        left = ini.readInteger(positionSection(), kLeftKey, left);
    }
    move(left, top);

    template_->setText(ctx_.xml.pathTemplate);
    firmName_->setChecked(ctx_.xml.firmName);
    encoding_->setCurrentIndex(ctx_.user.kodovani);
    updatePath();
}

QPushButton *TEpodForm::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QString TEpodForm::positionSection() const
{
    return ctx_.dirs.dataSetDir;
}

void TEpodForm::Nastaveni(int mode)
{
    if (mode == 1)
        path_->setFocus();
}

void TEpodForm::updatePath()
{
    path_->setText(base::CestyTyp2(ctx_.dirs, template_->text(), base::KindXml));
}

void TEpodForm::VyberButtonClick()
{
    updatePath();
    const QString complete = path_->text();
    QString start;
    if (base::isPathMessage(complete))
        start = base::DirTyp(ctx_.dirs, 4, complete);
    else if (const QString folder = QFileInfo(complete).absolutePath(); QFileInfo(folder).isDir())
        start = folder;
    else
        start = base::DirTyp(ctx_.dirs, 2, complete);
    const QString chosen = chooseFile(start);
    if (chosen.isEmpty())
        return;
    path_->setText(chosen);
    template_->setText(base::CestyTyp3(ctx_.dirs, chosen));
}

void TEpodForm::setDefaultTemplate(int type, const QString &question)
{
    if (!ctx_.prompter.confirm(question))
        return;
    ctx_.xml.firmName = firmName_->isChecked();
    template_->setText(defaultXmlTemplate(ctx_.dm, ctx_.dirs, type, ctx_.xml.firmName));
    updatePath();
    ok_->setFocus();
}

void TEpodForm::AdresarDatButtonClick()
{
    setDefaultTemplate(1, u"Opravdu nastavit cesty (Adresář dat) ?"_s);
}

void TEpodForm::AdresarUzivatelButtonClick()
{
    setDefaultTemplate(2, u"Opravdu nastavit cesty (Adresář uživatele) ?"_s);
}

void TEpodForm::SmazatButtonClick()
{
    if (!ctx_.prompter.confirm(u"Opravdu smazat uvedené XML soubory ?"_s))
        return;
    // Only a name ending in ".xml" exactly as written, so nothing else is ever deleted here.
    const QString complete = path_->text();
    if (complete.endsWith(u".xml"_s, Qt::CaseSensitive) && QFileInfo(complete).isFile())
        QFile::remove(complete);
    ok_->setFocus();
}

bool TEpodForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == template_ && event->type() == QEvent::FocusOut) {
        updatePath();
    } else if (watched == firmName_ && ui::isEnterPress(event)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        (key->modifiers() & Qt::ShiftModifier ? static_cast<QWidget *>(path_) : ok_)->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TEpodForm::done(int result)
{
    if (!positionSection().isEmpty()) {
        platform::IniFile ini(ctx_.dirs.dataSetIni());
        ini.writeInteger(positionSection(), kTopKey, pos().y());
        ini.writeInteger(positionSection(), kLeftKey, pos().x());
    }
    ctx_.xml.pathTemplate = template_->text();
    ctx_.xml.firmName = firmName_->isChecked();
    // A stored index outside the list stays as it was unless the user picks an entry.
    if (encoding_->currentIndex() >= 0)
        ctx_.user.kodovani = encoding_->currentIndex();
    QDialog::done(result);
}

void showFilingSettings(FilingContext &ctx, QWidget *parent)
{
    VychXml1(ctx.dm, ctx.dirs, ctx.xml);
    {
        TEpodForm form(ctx, parent);
        form.Nastaveni(1);
        form.exec();
    }
    if (!ctx.dirs.dataSetDir.isEmpty()) {
        platform::IniFile ini(ctx.dirs.dataSetIni());
        writeXmlPathSettings(ini, ctx.xml);
    }
}

}  // namespace rur::print
