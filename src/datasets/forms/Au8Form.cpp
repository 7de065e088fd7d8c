#include "datasets/forms/Au8Form.h"

#include "platform/Prompter.h"
#include "ui/forms/Editz.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::datasets {

namespace {

QString openCatalogueFile(QWidget *parent, const QString &startFolder)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({u"datové soubory (Data.DB)"_s, u"všechny soubory (*.*) (*)"_s});
    dialog.setDirectory(startFolder);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace

TAu8Form::TAu8Form(const base::Directories &dirs, platform::Prompter &prompter, const QString &found, QWidget *parent)
    : QDialog(parent), dirs_(dirs), prompter_(prompter), found_(found)
{
    setWindowTitle(u"Převod dat z předchozích verzí"_s);
    chooseFile = [this](const QString &startFolder) { return openCatalogueFile(this, startFolder); };
    auto *layout = new QVBoxLayout(this);
    for (const char16_t *text : {u"Předchozí verzi programu RUR máte nainstalovanou v níže uvedeném adresáři.",
                                 u"Tlačítkem výběr adresáře můžete vybrat jiný adresář s programem."}) {
        auto *label = new QLabel(QString::fromUtf16(text), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addWidget(new QLabel(u"Cesta k předchozí verzi programu RUR"_s, this));
    auto *row = new QHBoxLayout;
    path_ = new ui::TEditz(this);
    path_->setObjectName(u"CestaEdit"_s);
    path_->setStatusTip(u"Cesta k předchozí verzi programu RUR"_s);
    path_->setToolTip(path_->statusTip());
    path_->setText(found);
    path_->setMinimumWidth(420);
    auto *browse = new QPushButton(u"..."_s, this);
    browse->setObjectName(u"VyberButton"_s);
    browse->setStatusTip(u"Výběr adresáře"_s);
    browse->setToolTip(browse->statusTip());
    browse->setAutoDefault(false);
    row->addWidget(path_, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    convert_ = new QCheckBox(u"Převést data"_s, this);
    convert_->setObjectName(u"PrevestCheck"_s);
    convert_->setStatusTip(u"Zaškrtnuto převést data z předchozí verze"_s);
    convert_->setToolTip(convert_->statusTip());
    convert_->setChecked(true);
    layout->addWidget(convert_);
    auto *ok = new QPushButton(u"&OK"_s, this);
    ok->setObjectName(u"OKButton"_s);
    ok->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, &TAu8Form::BrowseButtonClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QPushButton *TAu8Form::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

ConversionChoice TAu8Form::choice() const
{
    return {path_->text().trimmed(), convert_->isChecked()};
}

void TAu8Form::BrowseButtonClick()
{
    const QString before = path_->text();
    const QString chosen = chooseFile(conversionStartFolder(dirs_, before));
    if (chosen.isEmpty())
        return;
    if (const QString problem = chosenCatalogueProblem(dirs_, chosen); !problem.isEmpty()) {
        prompter_.information(problem);
        path_->setText(before);
        return;
    }
    path_->setText(chosen);
}

void TAu8Form::done(int result)
{
    if (const QString problem = conversionEditProblem(dirs_, path_->text()); !problem.isEmpty()) {
        prompter_.information(problem);
        path_->setText(found_);
        path_->setFocus();
        return;
    }
    QDialog::done(result);
}

}  // namespace rur::datasets
