#include "app/forms/Au9Form.h"

#include "app/DataChoice.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::app {

TAu9Form::TAu9Form(const base::Directories &dirs, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(u"Informace"_s);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    for (const auto &[caption, value] : informationLines(dirs)) {
        // Read-only edits: a path can be selected and copied.
        auto *line = new QLineEdit(value, this);
        line->setObjectName(caption);
        line->setReadOnly(true);
        line->setMinimumWidth(420);
        form->addRow(caption, line);
    }
    layout->addLayout(form);
    auto *ok = new QPushButton(u"&OK"_s, this);
    ok->setObjectName(u"OKButton"_s);
    ok->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString TAu9Form::value(const QString &caption) const
{
    const auto *line = findChild<QLineEdit *>(caption);
    return line ? line->text() : QString();
}

}  // namespace rur::app
