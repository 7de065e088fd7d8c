// Taxpayer data with the current period (Prp), the text attachment (Prppz) and the two VAT
// rates (Dcis).
#include "data/Schemas.h"

using namespace Qt::StringLiterals;
using namespace rur::engine;

namespace rur::data {

TableDef prpDef()
{
    TableDef t(u"Prp"_s, u"Prp.DB"_s);
    // Fields of the oldest layout; the later ones follow in the order they were added.
    t.add({textField(u"M"_s, 9), smallintField(u"Cislo"_s, 1, 12), textField(u"Q"_s, 9), digitsField(u"R"_s, 4),
           dateField(u"Ddp"_s), textField(u"Fu"_s, 25), textField(u"Dic"_s, 15), boolField(u"X"_s),
           textField(u"Oj2"_s, 11), textField(u"Pr"_s, 23), textField(u"Jm"_s, 11), textField(u"Oj1"_s, 23),
           textField(u"Mi"_s, 35), textField(u"Jmo"_s, 11), textField(u"Pro"_s, 23), textField(u"Pkp"_s, 35),
           textField(u"Jmps"_s, 35), textField(u"Telp"_s, 20)});
    t.add({textField(u"Rp"_s, 9), dateField(u"D"_s), textField(u"Oj1a"_s, 37), textField(u"Oj1b"_s, 25),
           textField(u"Pra"_s, 21), textField(u"Jma"_s, 10), textField(u"Tia"_s, 4), textField(u"Mia"_s, 37),
           textField(u"Hp1"_s, 37), textField(u"Hp2"_s, 37), textField(u"Eu"_s, 3), textField(u"Proa"_s, 25),
           textField(u"Pkpa"_s, 37), boolField(u"Dan"_s)});
    t.add({textField(u"Ses"_s, 45), digitsField(u"Tes"_s, 20)});
    t.add({boolField(u"P1"_s), boolField(u"P2"_s), boolField(u"P3"_s), boolField(u"P4"_s), textField(u"Dc"_s, 15),
           textField(u"Jmb"_s, 11), textField(u"Ob"_s, 18), digitsField(u"Psc"_s, 5), digitsField(u"Tel"_s, 12),
           textField(u"Ul"_s, 27), textField(u"Fax"_s, 9), textField(u"Okr"_s, 24), textField(u"St"_s, 12),
           coefficientField(u"K1"_s)});
    t.add({textField(u"Q2"_s, 9), textField(u"Ojs"_s, 35), textField(u"Ojsa"_s, 23), textField(u"Dojs"_s, 11),
           textField(u"Prs"_s, 19), textField(u"Jmbs"_s, 11), textField(u"Tis"_s, 4), textField(u"Objs"_s, 29),
           textField(u"Pscs"_s, 5), textField(u"Uls"_s, 35), textField(u"Sts"_s, 15), textField(u"Oprs"_s, 23),
           textField(u"Ojms"_s, 11), textField(u"Ppos"_s, 35)});
    t.add(textField(u"Kraj"_s, 24));
    t.add(textField(u"Dp70"_s, 1));
    t.add({digitsField(u"Rco"_s, 11), dateField(u"Od1"_s), dateField(u"Do1"_s), boolField(u"P3s"_s),
           textField(u"P6"_s, 4), textField(u"Cpo"_s, 9), textField(u"Eml"_s, 20), textField(u"Sta"_s, 16)});
    t.add({textField(u"Emlx"_s, 65), textField(u"Kzs"_s, 2), textField(u"Zjm"_s, 36), textField(u"Zde"_s, 36),
           textField(u"Zjv"_s, 36)});
    t.add({boolField(u"Dpdr1"_s), boolField(u"Dpdo1"_s), boolField(u"Dpdd1"_s), boolField(u"K1p"_s),
           smallintField(u"Pcp"_s, -9999, 9999), smallintField(u"Pcl"_s, -9999, 9999)});
    t.add(textField(u"Pr11"_s, 1));
    t.add({integerField(u"Hp1c"_s, -999999, 999999), textField(u"Cpoco"_s, 4), digitsField(u"Cpocp"_s, 6),
           integerField(u"Fuc"_s, -9999, 9999), textField(u"Zjvjm"_s, 20), textField(u"Zjvpr"_s, 36),
           textField(u"Zjvpo"_s, 40), boolField(u"Tds"_s), dateField(u"Zdedn"_s), textField(u"Zdece"_s, 36),
           digitsField(u"Zdeic"_s, 10), textField(u"Zjmjm"_s, 20), textField(u"Zjmpr"_s, 36), textField(u"Zjmpo"_s, 36),
           boolField(u"Tzs"_s), textField(u"Sta2"_s, 25), textField(u"Sesjm"_s, 20), textField(u"Sespr"_s, 36),
           textField(u"Ojp3"_s, 255), textField(u"Poznod"_s, 1)});
    t.add({textField(u"Fusp"_s, 45), integerField(u"Fuz"_s, -9999, 9999)});
    t.add({calculated(textField(u"Obd"_s, 30)), calculated(textField(u"Dick"_s, 10)),
           calculated(textField(u"Cpok"_s, 9)), calculated(textField(u"Sesk"_s, 45))});
    return t;
}

TableDef prppzDef()
{
    return TableDef(u"Prppz"_s, u"Prppz.DB"_s)
        .add({textField(u"Text1"_s, 20), textField(u"Text2"_s, 20), memoField(u"Poz"_s), memoField(u"Posz"_s)});
}

TableDef dcisDef()
{
    return TableDef(u"Dcis"_s, u"Dcis.DB"_s)
        .add({floatField(u"Dd"_s, u"0.00"_s, -99.99, 99.99), floatField(u"Hd"_s, u"0.00"_s, -99.99, 99.99)});
}

}  // namespace rur::data
