#pragma once

#include <QString>

namespace rur::engine {

class Table;

// The current record as a JSON object: every stored and calculated field by name, in the
// declared order; numbers as numbers, texts as strings, dates "dd.mm.yyyy", Booleans
// true/false, empty fields null.
QString recordToJson(Table &table);
// Every row in index order as a JSON array of such objects.
QString rowsToJson(Table &table);
// A text as a JSON string, quoted and escaped.
QString jsonString(const QString &text);

}  // namespace rur::engine
