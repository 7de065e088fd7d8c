#include "app/forms/RurApplication.h"

#include "app/Subsystems.h"
#include "engine/EngineError.h"
#include "ui/forms/ButtonEnter.h"
#include "ui/forms/WindowFit.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace rur::app {

RurApplication::RurApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption ("RUR 17.00 — RUR").
    setApplicationName(u"RUR"_s);
    // Qt's own texts (the file and print dialogs, the context menu of every edit) in Czech,
    // from the translations the system's Qt ships (Debian: qt6-translations-l10n).
    auto *qtTexts = new QTranslator(this);
    if (qtTexts->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), u"qtbase"_s, u"_"_s,
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTexts);
    ui::installEnterPressesFocusedButton(*this);
    ui::installWindowFit(*this);
    addSubsystemTableRules();
}

bool RurApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const engine::EngineError &e) {
        while (overrideCursor())
            restoreOverrideCursor();
        if (e.code() != engine::ErrAbort)
            QMessageBox::critical(activeWindow(), u"Chyba"_s, e.message());
    } catch (const std::exception &e) {
        while (overrideCursor())
            restoreOverrideCursor();
        QMessageBox::critical(activeWindow(), u"Chyba"_s,
                              u"Nastala neočekávaná chyba:\n"_s + QString::fromLocal8Bit(e.what()));
    }
    return false;
}

}  // namespace rur::app
