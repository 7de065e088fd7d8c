#include "kh/CsvImport.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/GroupWrite.h"
#include "engine/Table.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <deque>

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

// One document as the register stores it: a value per column in the order of Column (empty
// for an empty cell).
using RegisterRow = QVariantList;

// The cells of one record from `pos` on, which moves past its line end; `line` counts the
// lines the record spans. False when a quoted cell is not closed. Plain cells are views of
// the text, quoted ones of their unquoted copies.
bool readRecord(QStringView text, qsizetype &pos, int &line, QList<QStringView> &cells, std::deque<QString> &unquoted)
{
    cells.clear();
    unquoted.clear();
    const qsizetype n = text.size();
    while (true) {
        if (pos < n && text[pos] == u'"') {
            QString cell;
            ++pos;
            while (true) {
                if (pos >= n)
                    return false;
                const QChar c = text[pos++];
                if (c == u'"') {
                    if (pos < n && text[pos] == u'"') {
                        cell += u'"';
                        ++pos;
                        continue;
                    }
                    break;
                }
                if (c == u'\n')
                    ++line;
                cell += c;
            }
            // What follows the closing quote up to the separator belongs to the cell.
            const qsizetype start = pos;
            while (pos < n && text[pos] != u';' && text[pos] != u'\n' && text[pos] != u'\r')
                ++pos;
            cell += text.mid(start, pos - start);
            unquoted.push_back(cell);
            cells.append(QStringView(unquoted.back()));
        } else {
            const qsizetype start = pos;
            while (pos < n && text[pos] != u';' && text[pos] != u'\n' && text[pos] != u'\r')
                ++pos;
            cells.append(text.mid(start, pos - start));
        }
        if (pos < n && text[pos] == u';') {
            ++pos;
            continue;
        }
        if (pos < n && text[pos] == u'\r')
            ++pos;
        if (pos < n && text[pos] == u'\n')
            ++pos;
        return true;
    }
}

QString at(int line, const QString &column)
{
    return column.isEmpty() ? u"Řádek %1: "_s.arg(line) : u"Řádek %1, sloupec %2: "_s.arg(line).arg(column);
}

// The file's documents one at a time: the header is read when the reader is made, each
// document when it is asked for. The first fault stops the reading and is kept in error().
class RegisterReader {
public:
    explicit RegisterReader(const QByteArray &bytes)
    {
        QStringDecoder decoder(QStringDecoder::Utf8);
        text_ = decoder.decode(bytes);
        if (decoder.hasError()) {
            error_ = u"Soubor není v kódování UTF-8."_s;
            return;
        }
        if (text_.startsWith(QChar(0xFEFF)))
            text_.remove(0, 1);
        all_ = QStringView(text_);
        if (all_.trimmed().isEmpty()) {
            error_ = u"Soubor je prázdný, chybí v něm hlavička se sloupci."_s;
            return;
        }
        readHeader();
    }

    const QString &error() const { return error_; }

    // The next document into `row` (a value per column, in the order of Column); false at
    // the end of the file or at a fault.
    bool next(RegisterRow &row)
    {
        while (error_.isEmpty() && pos_ < all_.size()) {
            ++line_;
            const int start = line_;
            if (!readRecord(all_, pos_, line_, cells_, unquoted_)) {
                error_ = at(start, {}) + u"uvozovky nejsou uzavřeny."_s;
                return false;
            }
            // Empty lines (also at the end of the file) carry no document.
            if (cells_.size() == 1 && cells_.first().trimmed().isEmpty())
                continue;
            return readDocument(start, row);
        }
        return false;
    }

private:
    void readHeader()
    {
        // Each known column once, nothing else.
        const int headerLine = line_;
        if (!readRecord(all_, pos_, line_, cells_, unquoted_)) {
            error_ = at(headerLine, {}) + u"uvozovky nejsou uzavřeny."_s;
            return;
        }
        std::array<bool, kColumnCount> present = {};
        for (QStringView cell : std::as_const(cells_)) {
            const QString name = cell.trimmed().toString().toLower();
            int found = -1;
            for (int c = 0; c < kColumnCount; ++c)
                if (columnName(Column(c)) == name)
                    found = c;
            if (found < 0) {
                error_ = at(headerLine, {}) + u"neznámý sloupec „"_s + cell.trimmed().toString()
                         + u"“ v hlavičce. Hlavička má sloupce oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;"
                           u"zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek."_s;
                return;
            }
            if (present[found]) {
                error_ = at(headerLine, {}) + u"sloupec "_s + name + u" je v hlavičce dvakrát."_s;
                return;
            }
            present[found] = true;
            columnOf_.append(found);
        }
        for (int c = 0; c < kColumnCount; ++c) {
            if (!present[c]) {
                error_ = at(headerLine, {}) + u"v hlavičce chybí sloupec "_s + columnName(Column(c)) + u'.';
                return;
            }
        }
    }

    bool readDocument(int start, RegisterRow &row)
    {
        if (cells_.size() != columnOf_.size()) {
            error_ = at(start, {}) + u"má %1 sloupců, hlavička %2."_s.arg(cells_.size()).arg(columnOf_.size());
            return false;
        }
        row.fill(QVariant(), kColumnCount);
        for (qsizetype i = 0; i < cells_.size(); ++i) {
            const QStringView typed = cells_[i].trimmed();
            if (typed.isEmpty())
                continue;
            const Column column = Column(columnOf_[i]);
            const CellValue cell = readCell(column, typed);
            if (!cell.error.isEmpty()) {
                error_ = at(start, columnName(column)) + columnCaption(column) + u' ' + cell.error + u" („"_s
                         + typed.toString() + u"“)."_s;
                return false;
            }
            row[int(column)] = cell.value;
        }
        const std::optional<Section> section = sectionNamed(row[int(Column::Oddil)].toString());
        if (!section) {
            error_ = at(start, columnName(Column::Oddil)) + u"chybí oddíl (A1 až B3)."_s;
            return false;
        }
        for (int c = 0; c < kColumnCount; ++c) {
            if (!row[c].isNull() && !sectionHas(*section, Column(c))) {
                error_ = at(start, columnName(Column(c))) + u"oddíl "_s + sectionName(*section) + u" nemá údaj „"_s
                         + columnCaption(Column(c)) + u"“; buňka má zůstat prázdná."_s;
                return false;
            }
        }
        return true;
    }

    QString text_;
    QStringView all_;
    qsizetype pos_ = 0;
    int line_ = 1;
    QList<QStringView> cells_;
    std::deque<QString> unquoted_;  // quoted cells, which the views of `cells_` point into
    QList<int> columnOf_;           // the register column of each cell
    QString error_;
};

// Thrown out of the register's write when the file turns out bad halfway: the write is then
// rolled back.
struct BadFile {};

// Dkh open, its rows (all of them when `replace`) deleted, the rows the source gives added,
// in one transaction.
void storeRows(data::TDM1 &dm, bool replace, const QStringList &fields, engine::GroupWrite::RowSource source)
{
    engine::Table &dkh = *dm.Dkh;
    if (!dkh.isActive())
        dkh.open();
    dkh.checkBrowseMode();
    engine::GroupWrite write;
    if (replace)
        write.removeAll(dkh);
    write.insertRowsFrom(dkh, fields, std::move(source));
    write.commit();
}

QStringList registerFields()
{
    QStringList fields;
    for (int c = 0; c < kColumnCount; ++c)
        fields.append(fieldName(Column(c)));
    return fields;
}

}  // namespace

ImportResult importRegisterCsv(data::TDM1 &dm, const QString &path, bool replace)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {0, u"Soubor "_s + path + u" nelze přečíst."_s};
    if (file.size() > kLargestImportFile)
        return {0, u"Soubor "_s + path + u" je na rejstřík dokladů příliš velký."_s};
    return importRegisterText(dm, file.readAll(), replace);
}

ImportResult importRegisterText(data::TDM1 &dm, const QByteArray &bytes, bool replace)
{
    // The documents go from the text into the register one by one, never all held at once: a
    // bad cell halfway rolls back what was written before it.
    RegisterReader reader(bytes);
    if (!reader.error().isEmpty())
        return {0, reader.error()};
    int count = 0;
    try {
        storeRows(dm, replace, registerFields(), [&](QVariantList &row) {
            if (reader.next(row)) {
                ++count;
                return true;
            }
            if (!reader.error().isEmpty())
                throw BadFile{};
            return false;
        });
    } catch (const BadFile &) {
        return {0, reader.error()};
    }
    return {count, {}};
}

}  // namespace rur::kh
