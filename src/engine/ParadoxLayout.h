#pragma once

// The structure of a Paradox data file, checked before pxlib reads it: the header, the field
// descriptions and names, the chain of data blocks and where each record lies. Also the
// texts' code page and the pointers of memo fields into the memo file.

#include "engine/ParadoxTable.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace rur::engine {

struct LayoutField {
    QString name;
    int typeCode = 0;
    int length = 0;    // bytes in a record
    int decimals = 0;  // BCD: digits after the point
    FieldDef field;
};

struct ParadoxLayout {
    int recordSize = 0;
    int codePage = 1250;
    QList<LayoutField> fields;
    QList<qsizetype> recordOffsets;  // every record's position in the file, in the order of the block chain
};

// Whether the first bytes can be a Paradox data file's header (file type, block size,
// version and sizes in their ranges). Whether the file really is one the full check says.
bool looksLikeParadoxHeader(const QByteArray &head);

// Checks the whole structure of a data file: empty when it holds together (layout filled),
// else why not. A field of a type the program does not read is named in the problem.
ParadoxProblem checkParadoxLayout(const QByteArray &data, ParadoxLayout *layout);

// Texts of a table in its code page: windows-1250 (also when the header names none) or the
// DOS Latin 2 page 852. A byte the page leaves undefined makes the text unreadable.
class TextDecoder {
public:
    explicit TextDecoder(int codePage) : codePage_(codePage) {}
    bool decode(const QByteArray &bytes, QString *out) const;

private:
    int codePage_;
};
// Whether the program reads texts of that code page (0: none named).
bool isReadableCodePage(int codePage);

// A memo field's text as bytes: from the field's leader when it fits there, else from the
// block of the memo file that the ten bytes after the leader point at (its offset, its slot
// and the memo's length), when the memo lies wholly inside that block and as long as the
// pointer says. False when it does not. An empty memo gives no bytes.
bool memoBytes(const char *field, int length, const QByteArray &memos, QByteArray *out);

}  // namespace rur::engine
