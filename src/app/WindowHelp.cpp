#include "app/WindowHelp.h"

#include <QLatin1StringView>
#include <QString>

namespace rur::app {

const std::vector<WindowHelp> &windowHelpContexts()
{
    // The return windows, the taxpayer data and backup/restore keep the numbers their
    // menu hints promise with "(F1)"; the others have numbers of their own from 31 on.
    static const std::vector<WindowHelp> windows = {
        {"TMainForm", 44},
        {"WorkArea", 60},
        {"THelpForm", 31},
        {"TAuto1Form", 2},
        {"TAu1Form", 32},
        {"TAu2Form", 33},
        {"TAu3Form", 34},
        {"TAu4Form", 35},
        {"TEprpForm", 4},
        {"TEcisForm", 5},
        {"TEtab1Form", 12},
        {"TEtab4Form", 13},
        {"TEtab2Form", 14},
        {"TEtab3Form", 16},
        {"TEtab1sForm", 36},
        {"TEtab4sForm", 37},
        {"TEtab2sForm", 38},
        {"TReturnCheckForm", 43},
        {"TPrevForm", 42},
        {"TEpodForm", 41},
        {"TExdForm", 211},
        {"TExd1Form", 211},
        {"TExd2Form", 39},
        {"TAu5Form", 3},
        {"TAu8Form", 45},
        {"TAu9Form", 46},
        {"TEmtfForm", 11},
        {"TEzal1sForm", 21},
        {"TEsdForm", 47},
        {"TEspForm", 48},
        {"TEsfForm", 48},
        {"TFind10Form", 49},
        {"TFind11Form", 49},
        {"TFind12Form", 49},
        {"TFind16Form", 49},
        {"TKalendarForm", 40},
        {"TEbzpForm", 22},
        {"TEbanForm", 58},
        {"TEbanaForm", 59},
        {"TEazForm", 50},
        {"TEazoForm", 51},
        {"TEdpForm", 52},
        {"TEkhForm", 61},
        {"TFindKhForm", 49},
    };
    return windows;
}

int helpContextOfCommand(Command command)
{
    switch (command) {
    case Command::Priznani1:
        return 12;
    case Command::Priznani2:
        return 13;
    case Command::Priznani3:
        return 14;
    case Command::Priznani4:
        return 16;
    case Command::KontrolniHlaseni:
        return 61;
    case Command::Adresar:
    case Command::Odesilatel:
    case Command::Dokumenty:
    case Command::TiskKomfort:
        return 205;
    case Command::Zalohovani:
    case Command::Obnoveni:
        return 211;
    default:
        return 0;
    }
}

int helpContextOfWindow(QStringView className)
{
    const qsizetype colon = className.lastIndexOf(u':');
    const QStringView name = colon < 0 ? className : className.mid(colon + 1);
    for (const WindowHelp &w : windowHelpContexts()) {
        if (name == QLatin1StringView(w.windowClass))
            return w.context;
    }
    return 0;
}

}  // namespace rur::app
