#include "kh/forms/KhPrintPage.h"

#include "base/Directories.h"
#include "base/Paths.h"
#include "base/UserSettings.h"
#include "check/forms/ReturnCheckForm.h"
#include "data/DataM1.h"
#include "data/DateInput.h"
#include "engine/EngineError.h"
#include "engine/NumberFormat.h"
#include "kh/RegisterPrintout.h"
#include "kh/StatementCheck.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/PrintMessages.h"
#include "print/forms/EmtfForm.h"
#include "vat/forms/FormParts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

constexpr char16_t kForms[] = u"BON";

// Shows the findings of the statement's check; `heading` above them, or the summary.
void showFindings(QWidget *parent, const vat::WindowContext &windows, const QList<check::Finding> &findings,
                  const std::function<QList<check::Finding>()> &recheck, const QString &heading = {})
{
    check::TReturnCheckForm form(windows, recheck, parent);
    form.setWindowTitle(u"Kontrola kontrolního hlášení"_s);
    form.setFindings(findings, heading);
    form.exec();
}

}  // namespace

KhPrintPage::KhPrintPage(print::PrintCentreContext &ctx, print::TEmtfForm &centre)
    : ctx_(ctx), centre_(centre)
{
    setObjectName(u"KontrolniHlaseniPage"_s);
    auto *kind = new QGroupBox(u"Kontrolní hlášení"_s, this);
    auto *kindLayout = new QGridLayout(kind);
    form_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        const QChar letter = kForms[i];
        auto *radio = new QRadioButton(formCaption(letter) + u" ("_s + letter + u')', kind);
        radio->setObjectName(u"Forma"_s + letter);
        vat::setHint(radio, i == 0   ? u"Řádné kontrolní hlášení (první podání za období)"_s
                            : i == 1 ? u"Řádné/opravné: nahrazuje řádné hlášení podané v téže lhůtě"_s
                                     : u"Následné: oprava po uplynutí lhůty, podává se do 5 pracovních dnů od zjištění"_s);
        form_->addButton(radio, i);
        kindLayout->addWidget(radio, 0, i);
    }
    auto *foundLabel = new QLabel(u"Důvody pro následné hlášení zjištěny dne:"_s, kind);
    found_ = new QLineEdit(kind);
    found_->setObjectName(u"ZjistenoEdit"_s);
    found_->setMaxLength(10);
    found_->setFixedWidth(found_->fontMetrics().averageCharWidth() * 11 + 14);
    vat::setHint(found_, u"Datum, kdy byly zjištěny důvody pro podání následného kontrolního hlášení"_s);
    kindLayout->addWidget(foundLabel, 1, 0, 1, 2);
    kindLayout->addWidget(found_, 1, 2, Qt::AlignLeft);

    auto *file = new QGroupBox(u"Data pro elektronické podání (DPHKH1)"_s, this);
    auto *fileLayout = new QVBoxLayout(file);
    path_ = new QLabel(file);
    path_->setObjectName(u"CestaLabel"_s);
    path_->setWordWrap(true);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileLayout->addWidget(path_);
    auto *fileButtons = new QHBoxLayout;
    QPushButton *save = vat::makeButton(u"&Uložit data"_s, u"KhUlozitButton"_s,
                                        u"Uloží kontrolní hlášení vedle souboru přiznání pro elektronické podání"_s, file);
    QPushButton *check = vat::makeButton(u"&Kontrola"_s, u"KhKontrolaButton"_s,
                                         u"Kontrola kontrolního hlášení a jeho shody s přiznáním"_s, file);
    fileButtons->addWidget(save);
    fileButtons->addWidget(check);
    fileButtons->addStretch();
    fileLayout->addLayout(fileButtons);

    auto *list = new QGroupBox(u"Rejstřík dokladů"_s, this);
    auto *listLayout = new QHBoxLayout(list);
    QPushButton *preview = vat::makeButton(u"&Náhled"_s, u"KhNahledButton"_s, u"Náhled rejstříku dokladů"_s, list);
    QPushButton *print = vat::makeButton(u"&Tisk"_s, u"KhTiskButton"_s, u"Tisk rejstříku dokladů"_s, list);
    listLayout->addWidget(preview);
    listLayout->addWidget(print);
    listLayout->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(kind);
    layout->addWidget(file);
    layout->addWidget(list);
    layout->addStretch();

    const StatementOptions options = readStatementOptions(platform::IniFile(dataSetIni()));
    form_->button(int(QString::fromUtf16(kForms).indexOf(options.form)))->setChecked(true);
    found_->setText(options.found.isValid() ? engine::formatDate(options.found) : QString());
    found_->setEnabled(options.form == u'N');
    connect(form_, &QButtonGroup::idClicked, this, [this](int id) {
        found_->setEnabled(id == 2);
        storeOptions();
    });
    connect(found_, &QLineEdit::editingFinished, this, &KhPrintPage::storeOptions);
    connect(save, &QPushButton::clicked, this, &KhPrintPage::UlozitDataClick);
    connect(check, &QPushButton::clicked, this, &KhPrintPage::KontrolaClick);
    connect(preview, &QPushButton::clicked, this, &KhPrintPage::NahledClick);
    connect(print, &QPushButton::clicked, this, &KhPrintPage::TiskClick);
    refreshPath();
}

QString KhPrintPage::dataSetIni() const
{
    return ctx_.dirs.dataSetDir.isEmpty() ? QString() : ctx_.dirs.dataSetIni();
}

bool KhPrintPage::readOptions(StatementOptions *options)
{
    options->form = kForms[qMax(0, form_->checkedId())];
    const QString typed = found_->text().trimmed();
    options->found = typed.isEmpty() ? QDate() : data::dateFromText(typed, QDate::currentDate());
    if (!typed.isEmpty() && !options->found.isValid()) {
        ctx_.prompter.error(u"„"_s + typed + u"“ není platné datum."_s);
        found_->setFocus();
        return false;
    }
    if (options->found.isValid())
        found_->setText(engine::formatDate(options->found));
    return true;
}

void KhPrintPage::storeOptions()
{
    StatementOptions options;
    if (!readOptions(&options) || dataSetIni().isEmpty())
        return;
    platform::IniFile ini(dataSetIni());
    writeStatementOptions(ini, options);
}

void KhPrintPage::refreshPath()
{
    // The return's file settings say where its file goes; this one lies beside it.
    print::XmlPathSettings xml = print::readXmlPathSettings(platform::IniFile(dataSetIni()));
    print::VychXml1(ctx_.dm, ctx_.dirs, xml);
    const QString returnPath = base::CestyTyp2(ctx_.dirs, xml.pathTemplate, base::KindXml);
    path_->setText(base::isPathMessage(returnPath) ? returnPath : u"Soubor: "_s + statementPathFor(returnPath));
}

void KhPrintPage::UlozitDataClick()
{
    StatementOptions options;
    if (!vat::commitTyped(&centre_) || !readOptions(&options))
        return;
    storeOptions();
    print::XmlPathSettings xml = print::readXmlPathSettings(platform::IniFile(dataSetIni()));
    print::FilingContext filing{ctx_.dm, ctx_.dirs, ctx_.user, xml, ctx_.prompter};
    QString written;
    QList<check::Finding> findings;
    const auto recheck = [this, options] { return KontrolaKh(ctx_.dm, options, ctx_.user.kodovani); };
    try {
        written = saveStatementFile(filing, options);
        refreshPath();
        if (written.isEmpty())
            return;
        platform::BusyGuard busy(ctx_.prompter);
        findings = recheck();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
        return;
    }
    // The file stays as written: what the check finds leaves the decision to file it with the user.
    if (!findings.isEmpty())
        showFindings(&centre_, ctx_.windows, findings, recheck,
                     u"Soubor "_s + written + u" byl uložen. "_s + check::summaryText(findings));
}

void KhPrintPage::KontrolaClick()
{
    StatementOptions options;
    if (!vat::commitTyped(&centre_) || !readOptions(&options))
        return;
    const auto recheck = [this, options] { return KontrolaKh(ctx_.dm, options, ctx_.user.kodovani); };
    QList<check::Finding> findings;
    try {
        platform::BusyGuard busy(ctx_.prompter);
        findings = recheck();
    } catch (const engine::EngineError &e) {
        vat::reportError(ctx_.prompter, e);
        return;
    }
    if (findings.isEmpty()) {
        ctx_.prompter.information(QString::fromUtf16(kNothingToCorrect));
        return;
    }
    showFindings(&centre_, ctx_.windows, findings, recheck);
}

void KhPrintPage::printList(int action)
{
    StatementOptions options;
    if (!readOptions(&options))
        return;
    centre_.produce(action, QString::fromUtf16(print::kAllPagesWillPrint), nullptr, [this, options] {
        return std::optional(prepareRegisterList(ctx_.dm, options.form, ctx_.user.typPisma));
    });
}

}  // namespace rur::kh
