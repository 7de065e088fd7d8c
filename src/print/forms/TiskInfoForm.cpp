#include "print/forms/TiskInfoForm.h"

#include "print/PrintMessages.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::print {

TTiskInfoForm::TTiskInfoForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TiskInfoForm"_s);
    setWindowTitle(u"RUR"_s);
    // It only tells what is going on: the window behind it keeps the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    auto *layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setAlignment(Qt::AlignCenter);
    layout->addWidget(text_);
    cancel_ = new QPushButton(u"Storno"_s, this);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(300, 140);
}

void TTiskInfoForm::TypTisku(int kind)
{
    if (kind != 1)
        return;
    text_->setText(QString::fromUtf16(kSendingToPrinter));
    cancel_->hide();
    resize(width(), 105);
}

}  // namespace rur::print
