#include "app/forms/ConversionWindows.h"

#include "app/forms/MainForm.h"
#include "datasets/EarlierEditions.h"
#include "datasets/forms/Au8Form.h"

namespace rur::app {

void registerConversionWindows(TMainForm &form, platform::Prompter &prompter)
{
    form.conversionCheck = [&form, &prompter] {
        if (!form.catalogue())
            return;
        datasets::KontrolaInst1(*form.catalogue(), form.directories(), prompter, [&](const QString &found) {
            datasets::TAu8Form window(form.directories(), prompter, found, &form);
            window.exec();
            return window.choice();
        });
    };
}

}  // namespace rur::app
