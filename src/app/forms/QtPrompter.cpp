#include "app/forms/QtPrompter.h"

#include "base/Program.h"
#include "ui/forms/EditWidth.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace rur::app {

namespace {

int ask(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text, bool withCancel)
{
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(u"&Ano"_s, QMessageBox::YesRole);
    box.addButton(u"&Ne"_s, QMessageBox::NoRole);
    QPushButton *cancel = withCancel ? box.addButton(u"Storno"_s, QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return 0;
    return cancel && (box.clickedButton() == cancel || !box.clickedButton()) ? 2 : 1;
}

void tell(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text)
{
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    box.addButton(u"OK"_s, QMessageBox::AcceptRole);
    box.exec();
}

}  // namespace

void QtPrompter::information(const QString &text)
{
    tell(parent_, QMessageBox::Information, u"Informace"_s, text);
}

void QtPrompter::error(const QString &text)
{
    tell(parent_, QMessageBox::Critical, u"Chyba"_s, text);
}

bool QtPrompter::confirm(const QString &text)
{
    return ask(parent_, QMessageBox::Question, u"Potvrzení"_s, text, false) == 0;
}

platform::Prompter::Answer QtPrompter::confirmWithCancel(const QString &text)
{
    switch (ask(parent_, QMessageBox::Question, u"Potvrzení"_s, text, true)) {
    case 0: return Answer::Yes;
    case 1: return Answer::No;
    default: return Answer::Cancel;
    }
}

bool QtPrompter::askText(const QString &caption, const QString &label, QString *text, bool masked)
{
    QDialog dialog(parent_);
    dialog.setWindowTitle(caption);
    auto *layout = new QVBoxLayout(&dialog);
    if (!label.isEmpty())
        layout->addWidget(new QLabel(label, &dialog));
    auto *edit = new QLineEdit(*text, &dialog);
    edit->setObjectName(u"TextEdit"_s);
    if (masked) {
        // Passwords of data sets are at most ten characters, shown as stars.
        edit->setEchoMode(QLineEdit::Password);
        edit->setMaxLength(10);
        ui::fitMaxLength(*edit);
    }
    layout->addWidget(edit);
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(u"Storno"_s, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (ok)
        *text = edit->text();
    return ok;
}

void QtPrompter::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

QString QtPrompter::saveFileName(const QString &caption, const QString &suggested, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent_, caption, suggested, filter);
}

}  // namespace rur::app
