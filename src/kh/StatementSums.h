#pragma once

// The sums of the register by the section each row is reported in, and the lines of the
// return the control statement is matched with (its VetaC): the return's figure and the
// register's sum of the sections the published schema names for each.

#include "kh/Register.h"

#include <QList>
#include <QMap>
#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::kh {

struct SectionSums {
    std::array<qint64, 3> base = {};
    std::array<qint64, 3> tax = {};
    int rows = 0;

    qint64 reducedBase() const { return base[1] + base[2]; }
    qint64 reducedTax() const { return tax[1] + tax[2]; }
    void add(const Document &d);
};

struct RegisterSums {
    std::array<SectionSums, 8> reported;  // by the section a row is reported in
    QMap<int, SectionSums> a2Lines;       // A2 rows by their line of the return

    const SectionSums &of(Section s) const { return reported[size_t(s)]; }
};
RegisterSums sumRegister(const QList<Document> &documents);

// One attribute of VetaC: what the return holds (whole crowns) and what the register sums to
// (hellers). `where` names the return's line as findings do ("ř. 1"); `table` and `fields`
// are where the return's figure is typed.
struct ControlLine {
    const char *attribute;
    QString where;
    QString table;
    QStringList fields;
    double returnValue = 0;
    qint64 registerSum = 0;
};
// obrat23 (line 1 against A4 and A5 at the basic rate), obrat5 (line 2, reduced rates),
// pln23 and pln5 (lines 40 and 41 against B2 and B3), pln_rez_pren (line 25 against A1),
// rez_pren23 and rez_pren5 (lines 10 and 11 against B1), celk_zd_a2 (lines 3, 4, 5, 6, 9, 12
// and 13 against A2), from the current rows of Dtabn1 and Dtabn2.
QList<ControlLine> controlLines(data::TDM1 &dm, const RegisterSums &sums);

// The greatest difference the tax office lets pass between a line and the register: 1,000 Kč.
inline constexpr qint64 kTolerance = 100000;

// "120 000 Kč", "-1 234,50 Kč".
QString crownsText(qint64 hellers);
// "1234.5" as the filing file writes an amount: '.' and at most two decimals.
QByteArray decimalText(qint64 hellers);

}  // namespace rur::kh
