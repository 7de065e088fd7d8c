#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace rur::platform {

// A settings file in the classic ini format ("[Section]" headers, "Key=Value" lines), read
// and written the way the program's Windows versions did with private-profile files:
// - section and key names ignore case and surrounding blanks; values are trimmed;
// - the first of duplicate keys wins, and a repeated section continues the first one;
// - lines the program doesn't understand (comments, text before the first section, lines
//   without '=') survive every write unchanged;
// - every write goes to disk at once, atomically (a temporary file renamed over).
// The file is read as UTF-8, or as windows-1250 when it isn't valid UTF-8, and written as
// UTF-8; CRLF line ends are kept, any other file is written with LF.
// Only a regular file of at most kMaxSize bytes is read: anything else (a device, a pipe, a
// huge file) reads as empty, refuses writes and has a problem() to tell the user. A file is
// parsed once while it stays unchanged on disk, however many objects read it.
class IniFile {
public:
    static constexpr qint64 kMaxSize = 4 << 20;

    explicit IniFile(QString path);

    QString path() const { return path_; }
    // Why the file can't be used, in Czech and naming it; empty when it can.
    QString problem() const { return problem_; }
    // Re-reads the file, dropping changes that could not be saved.
    void reload();

    QString readString(const QString &section, const QString &key, const QString &def = {}) const;
    // Leading sign and digits count ("12abc" is 12); a value without them, or out of
    // range, gives def.
    int readInteger(const QString &section, const QString &key, int def) const;
    // Nonzero integer is true; a value that is no integer gives def.
    bool readBool(const QString &section, const QString &key, bool def) const;
    bool hasKey(const QString &section, const QString &key) const;
    bool hasSection(const QString &section) const;
    // Each name once, in file order and in its first spelling.
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // The writers return false when the file can't be saved, and also (changing nothing)
    // when a name or value can't be stored in one ini line: an empty key, a key with '=' or
    // starting like a comment, a section name with ']', or a line break anywhere.
    // A change that could not be saved stays in memory and goes out with the next save.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);
    // Removes every block of the section, its comments included.
    bool eraseSection(const QString &section);
    // Removes the key, duplicates included, so that it reads as missing afterwards.
    bool deleteKey(const QString &section, const QString &key);
    bool save();

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        QString text;   // exactly as read or written
        Kind kind = Kind::Other;
        QString name;   // section or key name, trimmed
        QString value;  // trimmed, keys only
    };
    // Identifies one version of the file on disk; every atomic save makes a new inode.
    struct Stamp {
        bool exists = false;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modifiedNs = 0;
        bool operator==(const Stamp &) const = default;
    };

    // The files parsed in this process, while they stay as they were on disk.
    struct ParsedFile {
        QList<Line> lines;
        bool crlf = false;
        bool finalNewline = true;
    };
    class ParsedCache;
    static ParsedCache &parsedCache();

    static Line parse(QString text);
    static Stamp stampOf(const QString &path);
    void load();
    // Before a change: take in what another writer saved meanwhile, unless we hold
    // unsaved changes of our own.
    void refreshBeforeWrite();
    bool commitChange();
    qsizetype findKey(const QString &section, const QString &key) const;
    qsizetype findSection(const QString &section) const;
    qsizetype sectionEnd(qsizetype header) const;

    QString path_;
    QList<Line> lines_;
    bool crlf_ = false;
    bool finalNewline_ = true;
    // The file exists but could not be read: saving would destroy it, so writes refuse.
    bool unreadable_ = false;
    QString problem_;
    bool dirty_ = false;
    Stamp stamp_;
};

}  // namespace rur::platform
