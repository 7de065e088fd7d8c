#include "support/filled_return.h"

#include "data/DataM1.h"
#include "engine/Table.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace rur::testing {

void fillValidReturn(data::TDM1 &dm, int attachmentLines)
{
    setRow(*dm.Dcis, {{u"Dd"_s, 15.0}, {u"Hd"_s, 21.0}});
    setRow(*dm.Prp,
           {{u"M"_s, u"březen"_s}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 3}, {u"R"_s, u"2018"_s}, {u"Hp1c"_s, 620200},
            {u"Ddp"_s, QDate(2018, 4, 20)}, {u"Dpdr1"_s, true}, {u"Dpdo1"_s, false}, {u"Dpdd1"_s, false},
            {u"P1"_s, true}, {u"P6"_s, u"M"_s}, {u"Cpoco"_s, u"12a"_s}, {u"Cpocp"_s, u"1234"_s}, {u"Fuz"_s, 2001},
            {u"Tel"_s, u"+420777123456"_s}, {u"Fuc"_s, 451}, {u"Dic"_s, u"CZ25596641"_s},
            {u"Emlx"_s, u"info@alfa.cz"_s}, {u"Ob"_s, u"Brno"_s}, {u"Zjvjm"_s, u"Jan"_s},
            {u"Zjvpo"_s, u"jednatel"_s}, {u"Zjvpr"_s, u"Šťastný"_s}, {u"Psc"_s, u"61200"_s},
            {u"Sesjm"_s, u"Eva"_s}, {u"Sespr"_s, u"Nová"_s}, {u"Tes"_s, u"543210987"_s},
            {u"Sta2"_s, u"Česká republika"_s}, {u"Ul"_s, u"Božetěchova"_s}, {u"Tds"_s, false},
            {u"Zdedn"_s, QDate(1970, 2, 1)}, {u"Zdece"_s, u"K-123"_s}, {u"Zdeic"_s, u"12345678"_s},
            {u"Zjmjm"_s, u"Petr"_s}, {u"Zjmpr"_s, u"Veselý"_s}, {u"Zjmpo"_s, u"Daně & účty s.r.o."_s},
            {u"Kzs"_s, u"1"_s}, {u"K1"_s, 0.85}, {u"K1p"_s, true},
            {u"Ojp3"_s, u"Alfa „Beta“ s.r.o."_s}, {u"Poznod"_s, u"O"_s}});
    QStringList lines;
    for (int i = 1; i <= attachmentLines; ++i)
        lines.append(u"Řádek přílohy č. %1 – důvody \"%2\" & další"_s.arg(i).arg(i * 7));
    setRow(*dm.Prppz, {{u"Poz"_s, lines.join(u"\r\n"_s)}});

    // Bases in thousands, taxes at the basic rate on odd lines and the reduced one on even.
    QVariantMap out;
    const struct {
        const char16_t *base;
        double rate;
    } taxed[] = {{u"C210", 21}, {u"C215", 15}, {u"C220", 21}, {u"C225", 15}, {u"C230", 21}, {u"C235", 15},
                 {u"C260", 21}, {u"C265", 15}, {u"C110", 21}, {u"C111", 15}, {u"C270", 21}, {u"C275", 15}};
    double base = 10000;
    for (const auto &t : taxed) {
        out.insert(QString::fromUtf16(t.base), base);
        out.insert(QString::fromUtf16(t.base) + u'a', base * t.rate / 100);
        base += 10000;
    }
    out.insert(u"C255"_s, 50000.0);
    out.insert(u"C255a"_s, 10500.0);
    double value = 1000;
    for (const char16_t *f : {u"C410", u"C21", u"C430", u"C425", u"C24", u"C25", u"C440", u"C810", u"C815", u"C32",
                              u"C33", u"C34", u"C530", u"C520", u"C540", u"C600"}) {
        out.insert(QString::fromUtf16(f), value);
        value += 1000;
    }
    setRow(*dm.Dtabn1, inNameOrder(out));

    QVariantMap ded;
    value = 100;
    for (const char16_t *f : {u"C310", u"C310a", u"C310b", u"C315", u"C315a", u"C315b", u"C320", u"C320a",
                              u"C320b", u"C325", u"C325a", u"C325b", u"C340", u"C340a", u"C340b", u"C370a", u"C370b",
                              u"C48", u"C48a", u"C48b"}) {
        ded.insert(QString::fromUtf16(f), value);
        value += 100;
    }
    ded.insert(u"C550"_s, 0.85);
    setRow(*dm.Dtabn2, inNameOrder(ded));
    setRow(*dm.Dtabn3, {{u"C560"_s, 0.0}, {u"C560a"_s, 0.0}, {u"C570"_s, 45.0}});
}

}  // namespace rur::testing
