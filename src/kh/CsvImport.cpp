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

}  // namespace

CsvRows parseRegisterCsv(const QByteArray &bytes)
{
    CsvRows out;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        out.error = u"Soubor není v kódování UTF-8."_s;
        return out;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringView all(text);
    qsizetype pos = 0;
    int line = 1;
    QList<QStringView> cells;
    std::deque<QString> unquoted;  // quoted cells, which the views of `cells` point into
    if (all.trimmed().isEmpty()) {
        out.error = u"Soubor je prázdný, chybí v něm hlavička se sloupci."_s;
        return out;
    }

    // The header: each known column once, nothing else.
    int headerLine = line;
    if (!readRecord(all, pos, line, cells, unquoted)) {
        out.error = at(headerLine, {}) + u"uvozovky nejsou uzavřeny."_s;
        return out;
    }
    QList<int> columnOf;  // the register column of each cell
    std::array<bool, kColumnCount> present = {};
    for (QStringView cell : std::as_const(cells)) {
        const QString name = cell.trimmed().toString().toLower();
        int found = -1;
        for (int c = 0; c < kColumnCount; ++c)
            if (columnName(Column(c)) == name)
                found = c;
        if (found < 0) {
            out.error = at(headerLine, {}) + u"neznámý sloupec „"_s + cell.trimmed().toString()
                        + u"“ v hlavičce. Hlavička má sloupce oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;"
                          u"zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek."_s;
            return out;
        }
        if (present[found]) {
            out.error = at(headerLine, {}) + u"sloupec "_s + name + u" je v hlavičce dvakrát."_s;
            return out;
        }
        present[found] = true;
        columnOf.append(found);
    }
    for (int c = 0; c < kColumnCount; ++c) {
        if (!present[c]) {
            out.error = at(headerLine, {}) + u"v hlavičce chybí sloupec "_s + columnName(Column(c)) + u'.';
            return out;
        }
    }

    QList<RegisterRow> rows;
    rows.reserve(bytes.count('\n'));
    while (pos < all.size()) {
        ++line;
        const int start = line;
        if (!readRecord(all, pos, line, cells, unquoted)) {
            out.error = at(start, {}) + u"uvozovky nejsou uzavřeny."_s;
            return out;
        }
        // Empty lines (also at the end of the file) carry no document.
        if (cells.size() == 1 && cells.first().trimmed().isEmpty())
            continue;
        if (cells.size() != columnOf.size()) {
            out.error = at(start, {}) + u"má %1 sloupců, hlavička %2."_s.arg(cells.size()).arg(columnOf.size());
            return out;
        }
        RegisterRow row(kColumnCount);
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const QStringView typed = cells[i].trimmed();
            if (typed.isEmpty())
                continue;
            const Column column = Column(columnOf[i]);
            const CellValue cell = readCell(column, typed);
            if (!cell.error.isEmpty()) {
                out.error = at(start, columnName(column)) + columnCaption(column) + u' ' + cell.error + u" („"_s
                            + typed.toString() + u"“)."_s;
                return out;
            }
            row[int(column)] = cell.value;
        }
        const std::optional<Section> section = sectionNamed(row[int(Column::Oddil)].toString());
        if (!section) {
            out.error = at(start, columnName(Column::Oddil)) + u"chybí oddíl (A1 až B3)."_s;
            return out;
        }
        for (int c = 0; c < kColumnCount; ++c) {
            if (!row[c].isNull() && !sectionHas(*section, Column(c))) {
                out.error = at(start, columnName(Column(c))) + u"oddíl "_s + sectionName(*section) + u" nemá údaj „"_s
                            + columnCaption(Column(c)) + u"“; buňka má zůstat prázdná."_s;
                return out;
            }
        }
        rows.append(std::move(row));
    }
    out.rows = std::move(rows);
    return out;
}

void storeRegisterRows(data::TDM1 &dm, QList<RegisterRow> rows, bool replace)
{
    engine::Table &dkh = *dm.Dkh;
    if (!dkh.isActive())
        dkh.open();
    dkh.checkBrowseMode();
    QStringList fields;
    for (int c = 0; c < kColumnCount; ++c)
        fields.append(fieldName(Column(c)));
    engine::GroupWrite write;
    if (replace)
        write.removeAll(dkh);
    write.insertRows(dkh, fields, std::move(rows));
    write.commit();
}

ImportResult importRegisterCsv(data::TDM1 &dm, const QString &path, bool replace)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {0, u"Soubor "_s + path + u" nelze přečíst."_s};
    if (file.size() > kLargestImportFile)
        return {0, u"Soubor "_s + path + u" je na rejstřík dokladů příliš velký."_s};
    CsvRows parsed = parseRegisterCsv(file.readAll());
    if (!parsed.error.isEmpty())
        return {0, parsed.error};
    const int count = int(parsed.rows.size());
    storeRegisterRows(dm, std::move(parsed.rows), replace);
    return {count, {}};
}

}  // namespace rur::kh
