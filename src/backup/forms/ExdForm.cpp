#include "backup/forms/ExdForm.h"

#include "backup/ArchivePaths.h"
#include "backup/Backup.h"
#include "backup/Restore.h"
#include "platform/IniFile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

const TArchiveForm::Texts &backupTexts()
{
    static const TArchiveForm::Texts texts{u"Zálohování dat"_s, u"cesta s názvem souboru pro zálohování dat"_s,
                                           u"Zálo&hovat"_s,     u"ZalohovatButton"_s,
                                           u"ZalohovaniDat"_s,  124,
                                           204};
    return texts;
}

const TArchiveForm::Texts &restoreTexts()
{
    static const TArchiveForm::Texts texts{u"Obnovení dat"_s, u"cesta s názvem souboru pro obnovení dat"_s,
                                           u"&Obnovit"_s,     u"ObnovitButton"_s,
                                           u"ObnoveniDat"_s,  98,
                                           178};
    return texts;
}

// The choices of the group "obnovit", in the order of their numbers.
const char16_t *const kChoices[] = {u"vše", u"vše bez údajů o poplatníkovi", u"dokumenty - dopisy", u"adresář"};

}  // namespace

TExdForm::TExdForm(ArchiveWindowContext &ctx, QWidget *parent) : TArchiveForm(ctx, backupTexts(), parent)
{
    setObjectName(u"TExdForm"_s);
    rebuild_ = new QCheckBox(u"obnovit indexy"_s, this);
    rebuild_->setObjectName(u"ObnovitCheckBox"_s);
    optionsGrid()->addWidget(rebuild_, 0, 1);
    loadSettings();
}

void TExdForm::readSettings(const platform::IniFile &ini)
{
    TArchiveForm::readSettings(ini);
    rebuild_->setChecked(readPathSettings(ini).obnovit);
}

void TExdForm::writeSettings(platform::IniFile &ini)
{
    const bool obnovit = rebuild_->isChecked();
    writeRememberedPaths(ini, templates(), firmNameBox()->isChecked(), &obnovit);
}

bool TExdForm::runProcedure(ArchiveJob &job, const QString &completePath)
{
    return Zalohovat(job, completePath, rebuild_->isChecked());
}

TExd1Form::TExd1Form(ArchiveWindowContext &ctx, QWidget *parent) : TArchiveForm(ctx, restoreTexts(), parent)
{
    setObjectName(u"TExd1Form"_s);
    auto *group = new QGroupBox(u"obnovit"_s, this);
    group->setObjectName(u"ObnovitGroup"_s);
    auto *column = new QVBoxLayout(group);
    choices_ = new QButtonGroup(this);
    for (int i = 0; i < int(std::size(kChoices)); ++i) {
        auto *radio = new QRadioButton(QString::fromUtf16(kChoices[i]), group);
        radio->setObjectName(u"Volba%1"_s.arg(i));
        choices_->addButton(radio, i);
        column->addWidget(radio);
    }
    choices_->button(ObnovitVse)->setChecked(true);
    optionsGrid()->addWidget(group, 1, 0, 1, 2);
    loadSettings();
}

int TExd1Form::choice() const
{
    return choices_->checkedId();
}

void TExd1Form::setChoice(int choice)
{
    if (QAbstractButton *b = choices_->button(choice))
        b->setChecked(true);
}

int TExd1Form::progressStep() const
{
    return choice() == ObnovitVse || choice() == ObnovitBezPoplatnika ? 2 : 10;
}

bool TExd1Form::runProcedure(ArchiveJob &job, const QString &completePath)
{
    return Obnovit(job, completePath, choice());
}

}  // namespace rur::backup
