#include "payments/AboFile.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/GroupWrite.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "platform/Cp1250.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace rur::payments {

namespace {

const QString kSection = u"BankaABO"_s;

QString ddmmyy(const QDate &date)
{
    return date.isValid() ? date.toString(u"ddMMyy"_s) : QString();
}

// An integer with at least three digits ("000").
QString threeDigits(int n)
{
    const QString digits = QString::number(qAbs(qint64(n))).rightJustified(3, u'0');
    return n < 0 ? u'-' + digits : digits;
}

// Hellers of an amount in crowns ("0" of the value times 100, halves away from zero).
QString hellers(double crowns)
{
    return engine::formatFloat(crowns * 100, u"0"_s, u'.');
}

// A line without its trailing blanks and control characters, ended by CR LF.
void addLine(QByteArray &out, const QString &line)
{
    qsizetype end = line.size();
    while (end > 0 && line[end - 1].unicode() <= 0x20)
        --end;
    out += platform::toCp1250(line.left(end));
    out += "\r\n";
}

QString text(engine::Table &t, int row, int field)
{
    return t.storedValue(row, field).toString();
}

}  // namespace

AboNumbering readAboNumbering(const platform::IniFile &ini)
{
    AboNumbering n;
    n.on = ini.readBool(kSection, u"UcetniSoubory"_s, true);
    n.from = numberOrDefault(ini.readString(kSection, u"UcetniSouboryOd"_s), 1);
    n.to = numberOrDefault(ini.readString(kSection, u"UcetniSouboryDo"_s), 999);
    n.next = numberOrDefault(ini.readString(kSection, u"CisloProPrikaz"_s), 1);
    return n;
}

bool writeAboNumbering(platform::IniFile &ini, const AboNumbering &n)
{
    bool ok = ini.writeBool(kSection, u"UcetniSoubory"_s, n.on);
    ok = ini.writeInteger(kSection, u"UcetniSouboryOd"_s, n.from) && ok;
    ok = ini.writeInteger(kSection, u"UcetniSouboryDo"_s, n.to) && ok;
    return ini.writeInteger(kSection, u"CisloProPrikaz"_s, n.next) && ok;
}

int numberOrDefault(const QString &text, int defaultValue)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

bool aboNumberFits(int number)
{
    return number >= 0 && number <= 999;
}

int nextNumberInInterval(int next, int from, int to)
{
    if (next < from)
        return from;
    if (next > to)
        return to;
    return next;
}

QList<AboOrder> readOrders(engine::Table &mban)
{
    const engine::TableDef &def = mban.def();
    const int id = def.indexOf(u"ID"_s), cu1 = def.indexOf(u"Cu1"_s), kodi = def.indexOf(u"Kodi"_s),
              cu2 = def.indexOf(u"Cu2"_s), kod = def.indexOf(u"Kod"_s), vs = def.indexOf(u"Vs"_s),
              ks = def.indexOf(u"Ks"_s), ss = def.indexOf(u"Ss"_s), tp = def.indexOf(u"Tp"_s),
              ca = def.indexOf(u"Ca"_s), ds = def.indexOf(u"Ds"_s);
    QList<AboOrder> orders;
    orders.reserve(mban.recordCount());
    for (int row = 0; row < mban.recordCount(); ++row) {
        AboOrder o;
        o.id = mban.storedValue(row, id).toLongLong();
        o.position = row + 1;
        o.cu1 = text(mban, row, cu1);
        o.kodi = text(mban, row, kodi);
        o.cu2 = text(mban, row, cu2);
        o.kod = text(mban, row, kod);
        o.vs = text(mban, row, vs);
        o.ks = text(mban, row, ks);
        o.ss = text(mban, row, ss);
        o.tp = text(mban, row, tp);
        o.ca = mban.storedValue(row, ca).toDouble();
        o.ds = mban.storedValue(row, ds).toDate();
        orders.append(o);
    }
    return orders;
}

QList<AboGroup> groupOrders(const QList<AboOrder> &orders)
{
    QList<AboGroup> groups;
    // The four values joined with a separator no field can hold.
    QHash<QString, int> byKey;
    for (int i = 0; i < orders.size(); ++i) {
        const AboOrder &o = orders[i];
        const QString key = o.cu1 + u'\x1f' + o.kodi + u'\x1f' + o.ds.toString(Qt::ISODate) + u'\x1f' + o.tp;
        auto it = byKey.find(key);
        if (it == byKey.end()) {
            it = byKey.insert(key, int(groups.size()));
            groups.append({o.cu1, o.kodi, o.tp, o.ds, 0, {}});
        }
        AboGroup &g = groups[*it];
        g.sum += o.ca;
        g.orders.append(i);
    }
    return groups;
}

QString checkOrders(const QList<AboOrder> &orders)
{
    // The largest amount an order's field holds; a table from elsewhere may hold more.
    constexpr double kMaxOrderAmount = 9999999999.99;
    static const QRegularExpression account(u"^(\\d{1,6}-)?\\d{1,10}$"_s);
    static const QRegularExpression code(u"^\\d{4}$"_s);
    static const QRegularExpression upToTen(u"^\\d{0,10}$"_s);
    static const QRegularExpression upToFour(u"^\\d{0,4}$"_s);
    static const QRegularExpression digit(u"^\\d$"_s);
    for (const AboOrder &o : orders) {
        QString problem;
        if (!account.match(o.cu1).hasMatch())
            problem = u"„Vaše číslo účtu“ není číslo účtu ve tvaru [předčíslí-]číslo (nejvýše 6 + 10 číslic)"_s;
        else if (!code.match(o.kodi).hasMatch())
            problem = u"kód Vaší banky nemá 4 číslice"_s;
        else if (!account.match(o.cu2).hasMatch())
            problem = u"„Číslo protiúčtu“ není číslo účtu ve tvaru [předčíslí-]číslo (nejvýše 6 + 10 číslic)"_s;
        else if (!code.match(o.kod).hasMatch())
            problem = u"kód banky protiúčtu nemá 4 číslice"_s;
        else if (!upToTen.match(o.vs).hasMatch())
            problem = u"VS smí mít nejvýše 10 číslic"_s;
        else if (!upToFour.match(o.ks).hasMatch())
            problem = u"KS smí mít nejvýše 4 číslice"_s;
        else if (!upToTen.match(o.ss).hasMatch())
            problem = u"SS smí mít nejvýše 10 číslic"_s;
        else if (!(o.ca > 0))
            problem = u"částka musí být větší než 0"_s;
        else if (o.ca > kMaxOrderAmount)
            problem = u"částka smí být nejvýše 9999999999,99 Kč"_s;
        else if (!o.ds.isValid())
            problem = u"chybí datum"_s;
        else if (!digit.match(o.tp).hasMatch())
            problem = u"typ příkazu musí být jedna číslice"_s;
        if (!problem.isEmpty())
            return u"Příkaz na %1. řádku seznamu: %2. Soubor nebyl vytvořen."_s.arg(o.position).arg(problem);
    }
    return {};
}

AboContent buildAboContent(const QList<AboOrder> &orders, const QList<AboGroup> &groups, AboNumbering &numbering,
                           const QDate &today)
{
    AboContent c;
    c.lineOfOrder.resize(orders.size());
    c.groupOfOrder.resize(orders.size());
    c.bytes.reserve(qsizetype(orders.size()) * 48 + qsizetype(groups.size()) * 120);
    const QString header = numbering.on ? u"UHL1"_s + ddmmyy(today) + QString(20, u' ') + u"0000000000"_s
                                              + threeDigits(numbering.from) + threeDigits(numbering.to)
                                        : u"UHL1"_s;
    int line = 0;
    int group = 0;
    for (const AboGroup &g : groups) {
        addLine(c.bytes, header);
        if (numbering.on) {
            addLine(c.bytes, u"1 150"_s + g.tp + u' ' + threeDigits(numbering.next) + u"000 "_s + g.kodi);
            ++numbering.next;
            if (numbering.next > numbering.to)
                numbering.next = numbering.from;
        } else {
            addLine(c.bytes, u"1 150"_s + g.tp + u" 000000 "_s + g.kodi);
        }
        addLine(c.bytes, u"2 "_s + g.cu1 + u' ' + hellers(g.sum) + u' ' + ddmmyy(g.ds));
        line += 3;
        ++group;
        for (int i : g.orders) {
            const AboOrder &o = orders[i];
            addLine(c.bytes, o.cu2 + u' ' + hellers(o.ca) + u' ' + o.vs + u' ' + o.kod + o.ks + u' ' + o.ss);
            ++line;
            c.lineOfOrder[i] = line;
            c.groupOfOrder[i] = group;
        }
        addLine(c.bytes, u"3 +"_s);
        addLine(c.bytes, u"5 +"_s);
        line += 2;
    }
    return c;
}

namespace {

QString cannotCreate(const QString &path)
{
    return u"Soubor "_s + path + u" nelze vytvořit."_s;
}

bool writeBeside(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    engine::crashPoint("abo:before-commit");
    return file.commit();
}

// Rd and M1 of every order and the groups in Mban1, in one transaction.
void storeNumbers(data::TDM1 &dm, const QList<AboOrder> &orders, const QList<AboGroup> &groups,
                  const AboContent &content)
{
    engine::Table &mban1 = *dm.Mban1;
    if (!mban1.isActive())
        mban1.open();
    engine::GroupWrite write;
    write.removeAll(mban1);
    for (const AboGroup &g : groups)
        write.insertValues(mban1, {{u"Cu1"_s, g.cu1}, {u"Kodi"_s, g.kodi}, {u"Cac"_s, g.sum},
                                   {u"Ds"_s, g.ds.isValid() ? QVariant(g.ds) : QVariant()}, {u"Tp"_s, g.tp}});
    for (int i = 0; i < orders.size(); ++i)
        write.update(*dm.Mban, u"ID"_s, orders[i].id,
                     {{u"Rd"_s, content.lineOfOrder[i]}, {u"M1"_s, content.groupOfOrder[i]}});
    write.commit();
}

}  // namespace

bool writeAboFile(data::TDM1 &dm, const AboWrite &request, platform::Prompter &prompter)
{
    engine::Table &mban = *dm.Mban;
    if (!mban.isActive())
        mban.open();
    if (mban.isEditing())
        mban.post();
    if (mban.filtered())
        mban.setFiltered(false);
    platform::IniFile ini(request.dataSetIni);
    AboNumbering numbering = readAboNumbering(ini);
    // Three digits each in the file: a number outside them (kept from an older data set or
    // written by hand) would give lines the bank refuses.
    if (numbering.on) {
        for (int n : {numbering.from, numbering.to, numbering.next}) {
            if (!aboNumberFits(n)) {
                prompter.error(u"Číslování účetních souborů v nastavení ABO (od %1 do %2, další %3) musí ležet "
                               u"v rozsahu 0 až 999. Opravte je v okně Nastavení formátu ABO; soubor nebyl vytvořen."_s
                                   .arg(numbering.from)
                                   .arg(numbering.to)
                                   .arg(numbering.next));
                return false;
            }
        }
    }
    const QList<AboOrder> orders = readOrders(mban);
    if (orders.isEmpty()) {
        // Nothing to write: no file of that name is left behind.
        if (QFileInfo::exists(request.path) && !QFile::remove(request.path)) {
            prompter.error(cannotCreate(request.path));
            return false;
        }
        return true;
    }
    if (const QString problem = checkOrders(orders); !problem.isEmpty()) {
        prompter.error(problem);
        return false;
    }
    const QList<AboGroup> groups = groupOrders(orders);
    // A group's sum goes into the file in hellers, at most 15 digits.
    for (const AboGroup &g : groups) {
        if (!(g.sum <= 9999999999999.99)) {
            prompter.error(u"Součet příkazů z účtu "_s + g.cu1 + u" se splatností "_s + g.ds.toString(u"dd.MM.yyyy"_s)
                           + u" je větší než 9999999999999,99 Kč. Soubor nebyl vytvořen."_s);
            return false;
        }
    }
    const AboContent content = buildAboContent(orders, groups, numbering, request.today);
    if (!writeBeside(request.path, content.bytes)) {
        prompter.error(cannotCreate(request.path));
        return false;
    }
    storeNumbers(dm, orders, groups, content);
    if (numbering.on)
        ini.writeInteger(kSection, u"CisloProPrikaz"_s, numbering.next);
    return true;
}

void emptyOrders(data::TDM1 &dm)
{
    engine::Table &mban = *dm.Mban;
    if (!mban.isActive())
        mban.open();
    if (mban.isEditing())
        mban.cancel();
    mban.emptyTable();
    mban.close();
    mban.open();
}

bool startsBankProgram(const QString &program, bool startedBefore)
{
    const QString upper = program.trimmed().toUpper();
    return !upper.isEmpty() && upper != u"X"_s && !startedBefore;
}

}  // namespace rur::payments
