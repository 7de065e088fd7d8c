#pragma once

// The register of documents (Dkh) from which the control statement DPHKH1 is written: its
// sections and the attributes each of them carries, a register row as the program works with
// it, the rule that reports small documents as sums, the reading of typed or imported values,
// and the period of the statement.

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

namespace rur::engine {
class Table;
}

namespace rur::kh {

enum class Section { A1, A2, A3, A4, A5, B1, B2, B3 };
inline constexpr std::array<Section, 8> kSections = {Section::A1, Section::A2, Section::A3, Section::A4,
                                                     Section::A5, Section::B1, Section::B2, Section::B3};

QString sectionName(Section section);  // "A4"
// "A4", "a4", " A4 "; nothing for any other text.
std::optional<Section> sectionNamed(const QString &text);
// What the section holds, as the statement's form heads it (shortened).
QString sectionCaption(Section section);

// The columns of a register row in the order of the import file; each is a field of Dkh.
enum class Column { Oddil, Dic, Stat, Vatid, Doklad, Datum, Zaklad1, Dan1, Zaklad2, Dan2, Zaklad3, Dan3, Kod, Rezim,
                    Oprava, Pomer, Radek };
inline constexpr int kColumnCount = 17;
QString columnName(Column column);  // the import file's header: "zaklad1"
QString fieldName(Column column);   // the field of Dkh: "Zaklad1"
// Whether a section's rows carry the column in the statement: A1 has no taxes and a single
// base, the codes belong to their sections, the country and VAT ID to A2 and A3, the line of
// the return to A2. Rows of A5 and B3 may keep the partner's DIČ (a row of A4 or B2 that the
// 10,000 Kč rule moved there keeps its own).
bool sectionHas(Section section, Column column);

// The lines of the return an A2 row may belong to: 3, 4, 5, 6, 9, 12 and 13.
bool isA2Line(int line);
// Lines 3, 5 and 12 take the basic rate, 4, 6 and 13 the reduced rates, 9 either.
bool isBasicRateLine(int line);
bool isReducedRateLine(int line);

// One row of the register. Amounts are in hellers (1/100 Kč): whole numbers, so that sums
// of many rows are exact.
struct Document {
    qint64 id = 0;
    Section section = Section::A4;
    QString dic, stat, vatid, doklad;
    QDate datum;
    std::array<qint64, 3> base = {};  // basic rate, first and second reduced rate
    std::array<qint64, 3> tax = {};
    QString kod, rezim, oprava, pomer;
    int radek = 0;

    qint64 baseTotal() const { return base[0] + base[1] + base[2]; }
    qint64 taxTotal() const { return tax[0] + tax[1] + tax[2]; }
    // The value including tax: every base and tax of the row.
    qint64 total() const { return baseTotal() + taxTotal(); }
    bool hasAmount() const;
};

// 10,000 Kč in hellers.
inline constexpr qint64 kThreshold = 1000000;

// Where a row is reported. A row of A4 (or B2) goes into the sums of A5 (or B3) when its value
// including tax does not exceed 10,000 Kč either way (a credit note of -15,000 Kč corrects a
// document above the limit and stays) or when it has no partner's DIČ; a correction of a bad
// debt (zdph_44 P or A) stays whatever its amount. Every other row stays in its section.
Section reportedIn(const Document &document);

// Amounts of Dkh in hellers, and back.
qint64 toHellers(double crowns);
double toCrowns(qint64 hellers);

// Every row of an open Dkh table in its current order, read without moving its cursor.
QList<Document> readRegister(const engine::Table &dkh);
// The row the table's cursor stands on (with what is being typed).
Document currentDocument(engine::Table &dkh);

// Typed or imported text as the value a column stores: sections in capitals, the DIČ without
// "CZ" and blanks, codes in capitals, dates d.m.rrrr, amounts with a decimal comma or point
// and blanks between thousands. Empty text is an empty value. `error` names what is wrong
// (a sentence that follows the column's caption) and leaves the value empty.
struct CellValue {
    QVariant value;
    QString error;
};
CellValue readCell(Column column, QStringView text);
// How messages name a column: "oddíl", "DIČ", "základ daně 1", ...
QString columnCaption(Column column);

// The period of the statement from the taxpayer row (Prp): its first and last day (the part
// from Od1 to Do1 when it is given), and whether it is quarterly. Nothing when the month or
// quarter or the year is not a valid one.
struct Period {
    QDate first, last;
    bool quarterly = false;
    int number = 0;  // month 1 to 12 or quarter 1 to 4
    int year = 0;
};
std::optional<Period> statementPeriod(engine::Table &prp);

// The VAT rates of the statement's three columns in per cent: the basic (Dcis.Hd) and the
// reduced rate (Dcis.Dd) of the data set, and the second reduced rate of 10 %, which the
// data set does not keep.
std::array<double, 3> columnRates(engine::Table &dcis);

// The first row from `from` on (going round to the start) whose document number or DIČ
// contains the text, ignoring case; -1 when none does.
int findRow(const engine::Table &dkh, const QString &text, int from);

}  // namespace rur::kh
