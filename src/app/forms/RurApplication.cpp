#include "app/forms/RurApplication.h"

#include "engine/EngineError.h"
#include "ui/forms/ButtonEnter.h"

#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace rur::app {

RurApplication::RurApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption ("RUR 17.00 — RUR").
    setApplicationName(u"RUR"_s);
    ui::installEnterPressesFocusedButton(*this);
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
