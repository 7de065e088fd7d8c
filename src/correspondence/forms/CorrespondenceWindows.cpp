#include "correspondence/forms/CorrespondenceWindows.h"

#include "correspondence/Printouts.h"
#include "correspondence/forms/EazForm.h"
#include "correspondence/forms/EazoForm.h"
#include "correspondence/forms/EdpForm.h"
#include "print/PrintCentreLayout.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "ui/Commands.h"
#include "ui/MainWindow.h"
#include "vat/forms/VatWindows.h"
#include "vat/forms/WindowContext.h"

namespace rur::correspondence {

void registerKomfortActions(print::KomfortActions &komfort, platform::Prompter &prompter,
                            std::function<vat::WindowContext()> contextOf)
{
    platform::Prompter *ask = &prompter;
    komfort.printouts.insert(print::kNodeLetters,
                             [ask](data::TDM1 &dm, int typPisma) { return prepareDocument(dm, *ask, typPisma); });
    komfort.printouts.insert(print::kNodeEnvelopesDl, [ask](data::TDM1 &dm, int typPisma) {
        return prepareEnvelopes(dm, *ask, Envelope::DL, typPisma);
    });
    komfort.printouts.insert(print::kNodeEnvelopesC5, [ask](data::TDM1 &dm, int typPisma) {
        return prepareEnvelopes(dm, *ask, Envelope::C5, typPisma);
    });
    komfort.sender = [contextOf](QWidget *parent) { openSender(parent, contextOf()); };
    komfort.addressBook = [contextOf](QWidget *parent) { openAddressBook(parent, contextOf(), false); };
    komfort.documents = [contextOf](QWidget *parent) { pickDocument(parent, contextOf()); };
}

void registerCorrespondenceWindows(ui::MainWindow &form, platform::Prompter &prompter)
{
    ui::MainWindow *main = &form;
    platform::Prompter *ask = &prompter;
    registerKomfortActions(print::printServices(form, prompter).komfort, prompter,
                           [main, ask] { return vat::windowContextOf(*main, *ask); });
    main->setCommandHandler(ui::Command::Odesilatel,
                            [main, ask] { openSender(main->widget(), vat::windowContextOf(*main, *ask)); });
    // Closed through their "&Tisk", the address book and the documents open the print centre
    // on its Komfort page, at the envelopes and at the documents' printout.
    main->setCommandHandler(ui::Command::Adresar, [main, ask] {
        if (openAddressBook(main->widget(), vat::windowContextOf(*main, *ask), true) == TEazForm::PrintResult)
            print::VyberTisku1(*main, *ask, 3, print::kNodeEnvelopesDl);
    });
    main->setCommandHandler(ui::Command::Dokumenty, [main, ask] {
        if (openDocuments(main->widget(), vat::windowContextOf(*main, *ask)))
            print::VyberTisku1(*main, *ask, 3, print::kNodeLetters);
    });
}

}  // namespace rur::correspondence
