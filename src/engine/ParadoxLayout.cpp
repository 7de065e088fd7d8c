// The Paradox data file as the Paradox 4 file format notes describe it (Kevin Mitchell, 1996)
// and the header of later versions as pxlib reads it: a header block, then data blocks of
// one size, chained from the first, each starting with the numbers of the next and previous
// block and the offset of its last record. Numbers in headers are little-endian.
#include "engine/ParadoxLayout.h"

#include "platform/Cp1250.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <optional>
#include <iconv.h>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

// Offsets in the header.
constexpr int kRecordSize = 0x00, kHeaderSize = 0x02, kFileType = 0x04, kBlockSizeCode = 0x05,
              kRecordCount = 0x06, kFileBlocks = 0x0C, kFirstBlock = 0x0E, kFieldCount = 0x21,
              kEncryption = 0x25, kVersion = 0x39, kCommonHeaderEnd = 0x58, kSecondEncryption = 0x5C,
              kCodePage = 0x6A, kDataHeaderEnd = 0x78;
constexpr int kBlockHeader = 6;
constexpr int kMemoBlock = 4096;
constexpr int kMaxFieldName = 255;  // pxlib reads names of up to 299 bytes

quint32 le16(const QByteArray &b, qint64 at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8;
}

quint32 le32(const QByteArray &b, qint64 at)
{
    return le16(b, at) | le16(b, at + 2) << 16;
}

quint32 le32(const char *p)
{
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8 | quint32(quint8(p[2])) << 16
           | quint32(quint8(p[3])) << 24;
}

ParadoxProblem damage(const QString &detail)
{
    return {detail, {}, {}};
}

// Length and the program's field for a type code; false for a type the program does not read.
bool fieldOfType(LayoutField &f, int sizeByte)
{
    int wanted = 0;
    switch (f.typeCode) {
    case 0x01: f.field = textField(f.name, sizeByte); return sizeByte >= 1;
    case 0x02: f.field = dateField(f.name); wanted = 4; break;
    case 0x03: f.field = smallintField(f.name); wanted = 2; break;
    case 0x04: f.field = integerField(f.name); wanted = 4; break;
    case 0x05:
    case 0x06: f.field = floatField(f.name); wanted = 8; break;
    case 0x09: f.field = boolField(f.name); wanted = 1; break;
    case 0x0C:
    case 0x0E: f.field = memoField(f.name); return sizeByte >= 10;
    case 0x14: f.field = textField(f.name, 12); wanted = 4; break;   // hh:mm:ss.zzz
    case 0x15: f.field = textField(f.name, 23); wanted = 8; break;   // yyyy-mm-dd hh:mm:ss.zzz
    case 0x16: f.field = autoIncField(f.name); wanted = 4; break;
    case 0x17:
        // A BCD field's size byte is its number of decimals; it takes 17 bytes.
        f.field = floatField(f.name);
        f.decimals = sizeByte;
        f.length = 17;
        return sizeByte <= 32;
    default: return false;
    }
    return sizeByte == wanted;
}

QString typeName(int code)
{
    switch (code) {
    case 0x0D: return u"binární objekt"_s;
    case 0x0F: return u"objekt OLE"_s;
    case 0x10: return u"obrázek"_s;
    case 0x18: return u"bajty"_s;
    default: return u"s kódem "_s + QString::number(code);
    }
}

bool knownType(int code)
{
    return (code >= 0x01 && code <= 0x06) || code == 0x09 || code == 0x0C || code == 0x0E || code == 0x14
           || code == 0x15 || code == 0x16 || code == 0x17;
}

// The upper half of code page 852, from the C library's converter, made once.
const std::array<char16_t, 128> *dosLatin2()
{
    static const std::optional<std::array<char16_t, 128>> table = []() -> std::optional<std::array<char16_t, 128>> {
        const iconv_t cd = ::iconv_open("UTF-16LE", "CP852");
        if (cd == iconv_t(-1))
            return std::nullopt;
        std::array<char16_t, 128> out{};
        bool ok = true;
        for (int i = 0; i < 128 && ok; ++i) {
            char in = char(0x80 + i);
            unsigned char unit[4] = {};
            char *inp = &in, *outp = reinterpret_cast<char *>(unit);
            size_t inLeft = 1, outLeft = sizeof unit;
            ok = ::iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1) && outLeft == 2;
            out[size_t(i)] = char16_t(unit[0] | unit[1] << 8);
        }
        ::iconv_close(cd);
        return ok ? std::optional(out) : std::nullopt;
    }();
    return table ? &*table : nullptr;
}

}  // namespace

bool isReadableCodePage(int codePage)
{
    return codePage == 0 || codePage == 1250 || codePage == 852;
}

bool TextDecoder::decode(const QByteArray &bytes, QString *out) const
{
    bool ascii = true;
    for (const char c : bytes)
        ascii = ascii && quint8(c) < 0x80;
    if (ascii) {
        *out = QString::fromLatin1(bytes);
        return true;
    }
    if (codePage_ == 852) {
        const std::array<char16_t, 128> *upper = dosLatin2();
        if (!upper)
            return false;
        out->resize(bytes.size());
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const quint8 b = quint8(bytes[i]);
            (*out)[i] = QChar(b < 0x80 ? char16_t(b) : (*upper)[b - 0x80]);
        }
        return true;
    }
    *out = platform::fromCp1250(bytes);
    return !out->contains(QChar(0xFFFD));
}

bool looksLikeParadoxHeader(const QByteArray &head)
{
    if (head.size() <= kVersion)
        return false;
    const int version = quint8(head[kVersion]), blockCode = quint8(head[kBlockSizeCode]);
    const int fileType = quint8(head[kFileType]);
    return (fileType == 0 || fileType == 2) && blockCode >= 1 && blockCode <= 32 && version >= 3 && version <= 12
           && le16(head, kRecordSize) >= 1 && le16(head, kHeaderSize) >= kCommonHeaderEnd;
}

ParadoxProblem checkParadoxLayout(const QByteArray &data, ParadoxLayout *layout)
{
    *layout = ParadoxLayout();
    if (data.size() < kCommonHeaderEnd || !looksLikeParadoxHeader(data))
        return damage(u"hlavička není hlavička tabulky Paradox"_s);
    const int recordSize = int(le16(data, kRecordSize)), headerSize = int(le16(data, kHeaderSize));
    const int blockSize = quint8(data[kBlockSizeCode]) * 1024, version = quint8(data[kVersion]);
    const int fieldCount = int(le16(data, kFieldCount)), fileBlocks = int(le16(data, kFileBlocks));
    const quint32 recordCount = le32(data, kRecordCount);
    const bool dataHeader = version >= 5;  // Paradox 4 and later
    if (headerSize > data.size() || (dataHeader && headerSize < kDataHeaderEnd))
        return damage(u"soubor je kratší než jeho hlavička"_s);
    const quint32 encryption = le32(data, kEncryption);
    if (encryption == 0xFF00FF00u ? dataHeader && le32(data, kSecondEncryption) != 0 : encryption != 0)
        return damage(u"tabulka je zašifrovaná"_s);
    if (fieldCount < 1 || fieldCount > 255)
        return damage(u"počet polí v hlavičce je "_s + QString::number(fieldCount));
    const int codePage = dataHeader ? int(le16(data, kCodePage)) : 0;
    if (!isReadableCodePage(codePage))
        return damage(u"kódová stránka "_s + QString::number(codePage) + u" není středoevropská"_s);
    layout->codePage = codePage == 0 ? 1250 : codePage;
    layout->recordSize = recordSize;

    // Field types and sizes, a pointer to the table name, one to each field name, the table
    // name, then the field names: all within the header.
    const qint64 types = dataHeader ? kDataHeaderEnd : kCommonHeaderEnd;
    const qint64 tableName = types + 2 * fieldCount + 4 + 4 * fieldCount;
    const qint64 tableNameLength = version == 12 ? 261 : 79;
    qint64 at = tableName + tableNameLength;
    if (at > headerSize || data.indexOf('\0', tableName) < 0 || data.indexOf('\0', tableName) >= at)
        return damage(u"popis polí přesahuje hlavičku"_s);
    const TextDecoder text(layout->codePage);
    QSet<QString> names;
    for (int i = 0; i < fieldCount; ++i) {
        const qint64 end = data.indexOf('\0', at);
        LayoutField f;
        const QByteArray name = data.mid(at, end - at);
        const bool control = std::any_of(name.cbegin(), name.cend(), [](char c) { return quint8(c) < 0x20; });
        if (end < 0 || end >= headerSize || end == at || end - at > kMaxFieldName || control
            || !text.decode(name, &f.name) || names.contains(f.name.toUpper()))
            return damage(u"jméno pole "_s + QString::number(i + 1) + u" je neplatné nebo přesahuje hlavičku"_s);
        names.insert(f.name.toUpper());
        f.typeCode = quint8(data[types + 2 * i]);
        f.length = quint8(data[types + 2 * i + 1]);
        layout->fields.append(f);
        at = end + 1;
    }
    int sum = 0;
    for (LayoutField &f : layout->fields) {
        if (!knownType(f.typeCode))
            return {u"pole "_s + f.name + u" je typu, který program nečte"_s, f.name, typeName(f.typeCode)};
        if (!fieldOfType(f, f.length))
            return damage(u"pole "_s + f.name + u" má neplatnou délku"_s);
        sum += f.length;
    }
    if (sum != recordSize || recordSize + kBlockHeader > blockSize)
        return damage(u"délka záznamu neodpovídá polím nebo velikosti bloku"_s);

    // The blocks: the file holds every one of them, and the chain from the first visits each
    // at most once and holds as many records as the header counts.
    const qint64 blocksEnd = qint64(headerSize) + qint64(fileBlocks) * blockSize;
    if (data.size() < blocksEnd)
        return damage(u"soubor je zkrácený"_s);
    QList<bool> visited(fileBlocks + 1, false);
    qint64 total = 0;
    for (int block = int(le16(data, kFirstBlock)); block != 0;) {
        if (block > fileBlocks || visited[block])
            return damage(u"řetěz datových bloků je porušený"_s);
        visited[block] = true;
        const qint64 start = qint64(headerSize) + qint64(block - 1) * blockSize;
        const int lastOffset = qint16(le16(data, start + 4));
        if (lastOffset < -recordSize || lastOffset % recordSize != 0 || lastOffset > blockSize - kBlockHeader - recordSize)
            return damage(u"blok "_s + QString::number(block) + u" udává neplatnou délku"_s);
        const int records = lastOffset / recordSize + 1;
        total += records;
        if (total > qint64(recordCount))
            break;
        for (int r = 0; r < records; ++r)
            layout->recordOffsets.append(start + kBlockHeader + qint64(r) * recordSize);
        block = int(le16(data, start));
    }
    if (total != qint64(recordCount))
        return damage(u"počet záznamů v hlavičce neodpovídá datovým blokům"_s);
    return {};
}

bool memoBytes(const char *field, int length, const QByteArray &memos, QByteArray *out)
{
    out->clear();
    const int leader = length - 10;
    const quint32 where = le32(field + leader);
    const qint64 start = where & 0xFFFFFF00u, slotIndex = where & 0xFF, size = le32(field + leader + 4);
    if (size <= leader) {
        *out = QByteArray(field, qsizetype(size));
        return true;
    }
    if (start == 0 || start + 12 > memos.size())
        return false;
    qint64 from = 0;
    switch (quint8(memos[start])) {
    case 2: {
        // A block of its own: type, 4 KiB units, length, modification number, the memo.
        const qint64 units = le16(memos, start + 1);
        if (slotIndex != 0xFF || le32(memos, start + 3) != size || start + 9 + size > memos.size()
            || 9 + size > units * kMemoBlock)
            return false;
        from = start + 9;
        break;
    }
    case 3: {
        // A shared 4 KiB block: a slot of five bytes (start and length in 16-byte units, the
        // modification number, the bytes used of the last unit) per memo.
        const qint64 slot = start + 12 + 5 * slotIndex;
        if (slotIndex > 63 || slot + 5 > memos.size())
            return false;
        const int first = quint8(memos[slot]), units = quint8(memos[slot + 1]), last = quint8(memos[slot + 4]);
        from = start + 16 * qint64(first);
        if (first == 0 || units < 1 || last < 1 || last > 16 || size != qint64(units - 1) * 16 + last
            || from + size > start + kMemoBlock || from + size > memos.size())
            return false;
        break;
    }
    default: return false;
    }
    *out = memos.mid(from, size);
    return true;
}

}  // namespace rur::engine
