// Rules the windows of the return follow: positions, captions, paging, questions.
#include "vat/WindowRules.h"

#include "data/DataM1.h"
#include "datasets/Periods.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

constexpr int kSmallScreenWidth = 640;

}  // namespace

WindowPlace windowPlace(WindowId id)
{
    const auto place = [](const QString &stem, QPoint small, QPoint large) {
        return WindowPlace{stem + u"Top"_s, stem + u"Left"_s, small, large};
    };
    const QPoint returnSmall(0, 0), returnLarge(80, 62);
    switch (id) {
    case WindowId::Taxpayer:
        return place(u"UdajeOPoplatnikovi3"_s, {23, 0}, {103, 57});
    case WindowId::Rates:
        return place(u"SazbyDPH"_s, {135, 129}, {215, 209});
    case WindowId::Return1:
        return place(u"ZdanitelnaPlneni"_s, returnSmall, returnLarge);
    case WindowId::Return2:
        return place(u"DoplnujiciUdaje"_s, returnSmall, returnLarge);
    case WindowId::Return3:
        return place(u"NarokNaOdpocet"_s, returnSmall, returnLarge);
    case WindowId::Return4:
        return place(u"VyporadaniDane"_s, returnSmall, returnLarge);
    case WindowId::Finished1:
        return place(u"ZdanitelnaPlneniS"_s, returnSmall, returnLarge);
    case WindowId::Finished2:
        return place(u"DoplnujiciUdajeS"_s, returnSmall, returnLarge);
    case WindowId::Finished3:
        return place(u"NarokNaOdpocetS"_s, returnSmall, returnLarge);
    case WindowId::Ledger:
        return place(u"ZaplacenoDPH1"_s, {132, 15}, {212, 95});
    case WindowId::Find10:
        return place(u"Vyhledavani10"_s, {}, {});
    case WindowId::Find11:
        return place(u"Vyhledavani11"_s, {}, {});
    case WindowId::Find12:
        return place(u"Vyhledavani12"_s, {}, {});
    case WindowId::Find16:
        return place(u"Vyhledavani16"_s, {}, {});
    case WindowId::PaymentData:
        return place(u"UdajeProPlatby"_s, {40, 40}, {120, 100});
    case WindowId::BankOrders:
        return place(u"PrenosE1"_s, {0, 0}, {40, 40});
    case WindowId::AboSettings:
        return place(u"NastaveniABO"_s, {80, 80}, {160, 140});
    case WindowId::Statement:
        return place(u"KontrolniHlaseni"_s, {0, 0}, {30, 30});
    case WindowId::FindStatement:
        return place(u"VyhledavaniKH"_s, {}, {});
    }
    return {};
}

QPoint readWindowPosition(const platform::IniFile &ini, const QString &section, WindowId id, int screenWidth)
{
    const WindowPlace place = windowPlace(id);
    const QPoint def = screenWidth <= kSmallScreenWidth ? place.small : place.large;
    if (section.isEmpty())
        return def;
    return {ini.readInteger(section, place.leftKey, def.x()), ini.readInteger(section, place.topKey, def.y())};
}

bool writeWindowPosition(platform::IniFile &ini, const QString &section, WindowId id, QPoint position)
{
    if (section.isEmpty())
        return true;
    const WindowPlace place = windowPlace(id);
    return ini.writeInteger(section, place.topKey, position.y()) && ini.writeInteger(section, place.leftKey, position.x());
}

QString returnWindowCaption(int n)
{
    switch (n) {
    case 1:
        return u"1. Zdanitelná plnění"_s;
    case 2:
        return u"2. Zdanitelná plnění, Doplňující údaje"_s;
    case 3:
        return u"3. Nárok na odpočet daně"_s;
    case 4:
        return u"4. Výpočet daně, Vypořádání"_s;
    default:
        return {};
    }
}

QString captionWithPeriod(const QString &caption, const QString &month, const QString &quarter)
{
    const QString m = month.trimmed(), q = quarter.trimmed();
    if (!m.isEmpty() && q.isEmpty())
        return caption + u" - "_s + m;
    if (m.isEmpty() && !q.isEmpty())
        return caption + u" - "_s + q + u" čtvrtletí"_s;
    return caption;
}

QString captionWithPeriod(const QString &caption, const data::TDM1 &dm)
{
    engine::Table &prp = *dm.Prp;
    if (!prp.isActive())
        return caption;
    return captionWithPeriod(caption, prp.field(u"M"_s).asString(), prp.field(u"Q"_s).asString());
}

int previousReturnWindow(int n)
{
    return n >= 2 && n <= 4 ? n - 1 : 0;
}

int nextReturnWindow(int n)
{
    return n >= 1 && n <= 4 ? n + 1 : 0;
}

int returnWindowHelpContext(int n)
{
    static const int contexts[] = {12, 13, 14, 16};
    return n >= 1 && n <= 4 ? contexts[n - 1] : 0;
}

QString splitColumnHeading(bool amountIsTax)
{
    return amountIsTax ? u"Daň na výstupu"_s : u"Částka včetně RUR"_s;
}

QString coefficientTransferQuestion(double k1)
{
    return u"Opravdu přenést Koeficient "_s + engine::formatFloat(k1, u"0.00"_s) + u" z Údajů o poplatníkovi ?"_s;
}

bool Koeficient1(data::TDM1 &dm, platform::Prompter &prompter)
{
    const engine::Field k1 = dm.Prp->field(u"K1"_s);
    if (!prompter.confirm(coefficientTransferQuestion(k1.asFloat())))
        return false;
    engine::Table &part2 = *dm.Dtabn2;
    part2.edit();
    part2.field(u"C550"_s).setValue(k1.value());
    return true;
}

void periodChosen(engine::Table &prp, bool month)
{
    const QString chosen = prp.field(month ? u"M"_s : u"Q"_s).asString().trimmed();
    const QStringList &names = month ? datasets::monthNames() : datasets::quarterNames();
    prp.edit();
    prp.field(month ? u"Q"_s : u"M"_s).clear();
    if (const qsizetype i = names.indexOf(chosen); i >= 0)
        prp.field(u"Cislo"_s).setValue(int(i) + 1);
}

void postIfEditing(engine::Table &table)
{
    if (table.isEditing())
        table.post();
}

void reopenTable(engine::Table &table)
{
    table.close();
    table.open();
}

void afterRatesChanged(data::TDM1 &dm)
{
    const bool display = dm.statusDisplayOn;
    dm.statusDisplayOn = false;
    dm.Obnovit1();
    dm.statusDisplayOn = display;
}

}  // namespace rur::vat
