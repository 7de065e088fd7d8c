#include "app/forms/DataChoiceWindows.h"

#include "app/forms/Au5Form.h"
#include "app/forms/Au9Form.h"
#include "app/forms/MainForm.h"
#include "datasets/forms/Auto1Form.h"

#include <QApplication>

namespace rur::app {

namespace {

// The window that a new modal window belongs to: the selection when it is open.
QWidget *ownerOf(TMainForm &form)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : &form;
}

}  // namespace

void registerDataChoiceWindows(TMainForm &form, platform::Prompter &prompter)
{
    form.dataChoiceRunner = [&form, &prompter] {
        TAu5Form window(form.directories(), prompter, ownerOf(form));
        window.exec();
        form.reconnectDataRoot(window.dataRootChanged());
    };
    if (datasets::TAuto1Form *selection = form.selectionForm()) {
        selection->onDataChoice = [&form] {
            if (form.dataChoiceRunner)
                form.dataChoiceRunner();
        };
        selection->onInformation = [&form] {
            TAu9Form window(form.directories(), ownerOf(form));
            window.exec();
        };
    }
}

}  // namespace rur::app
