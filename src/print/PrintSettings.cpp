#include "print/PrintSettings.h"

#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

const QString kSection = u"Tisk"_s;

}  // namespace

PrintSettings readPrintSettings(const platform::IniFile &ini)
{
    PrintSettings s;
    s.f6Prints = ini.readBool(kSection, u"Tisk"_s, false);
    s.useDefault = ini.readInteger(kSection, u"Vychozi"_s, 1) != 0;
    s.printer = ini.readString(kSection, u"Tiskarna"_s);
    const int page = ini.readInteger(kSection, u"AktivniStranka"_s, 1);
    s.activePage = page == 2 ? 2 : 1;
    if (ini.hasKey(kSection, u"Tisk1Top"_s) && ini.hasKey(kSection, u"Tisk1Left"_s))
        s.place = QPoint(ini.readInteger(kSection, u"Tisk1Left"_s, 0), ini.readInteger(kSection, u"Tisk1Top"_s, 0));
    return s;
}

bool writePrintSettings(platform::IniFile &ini, const PrintSettings &s, const QString &currentPrinter)
{
    bool ok = ini.writeBool(kSection, u"Tisk"_s, s.f6Prints);
    ok = ini.writeInteger(kSection, u"Vychozi"_s, s.useDefault ? 1 : 0) && ok;
    ok = ini.writeString(kSection, u"Tiskarna"_s, s.useDefault ? QString() : currentPrinter) && ok;
    return ok;
}

bool writePrintCentrePlace(platform::IniFile &ini, QPoint place, int activePage)
{
    bool ok = ini.writeInteger(kSection, u"Tisk1Top"_s, place.y());
    ok = ini.writeInteger(kSection, u"Tisk1Left"_s, place.x()) && ok;
    if (activePage == 1 || activePage == 2)
        ok = ini.writeInteger(kSection, u"AktivniStranka"_s, activePage) && ok;
    return ok;
}

QPoint defaultPrintCentrePlace(int screenWidth)
{
    return screenWidth <= 640 ? QPoint(15, 0) : QPoint(95, 82);
}

QString choosePrinter(const PrintSettings &settings, const QStringList &installed, const QString &defaultPrinter,
                      const QString &current)
{
    if (settings.useDefault)
        return current;
    for (const QString &name : installed)
        if (name == settings.printer)
            return name;
    return defaultPrinter;
}

QString printerFromSetup(const QString &listed, const QStringList &installed)
{
    const auto installedAs = [&](const QString &name) {
        for (const QString &printer : installed)
            if (printer.compare(name, Qt::CaseInsensitive) == 0)
                return printer;
        return QString();
    };
    if (const QString exact = installedAs(listed); !exact.isEmpty())
        return exact;
    // The port follows the last " on "; a printer's own name may hold the words too.
    for (qsizetype on = listed.lastIndexOf(u" on "_s); on > 0; on = listed.lastIndexOf(u" on "_s, on - 1))
        if (const QString name = installedAs(listed.left(on)); !name.isEmpty())
            return name;
    const qsizetype last = listed.lastIndexOf(u" on "_s);
    return last > 0 ? listed.left(last) : listed;
}

}  // namespace rur::print
