#pragma once

// The documents "Dokumenty - dopisy" (Mdp) without their window: the hooks of Mdp, the
// duplicate of a document, and finding a document by name for the print centre.

#include <QString>
#include <optional>

namespace rur::data {
class TDM1;
}
namespace rur::engine {
class Table;
}
namespace rur::platform {
class Prompter;
}

namespace rur::correspondence {

inline constexpr char16_t kDuplicateName[] = u"Duplicitní klíč - název";
inline constexpr char16_t kEmptyName[] = u"Zadejte název dokumentu.";
inline constexpr char16_t kDuplicateQuestion[] = u"Duplikovat tento dokument ?";
inline constexpr char16_t kDeleteQuestion[] = u"Smazat záznam?";

// Hooks of Mdp: a new document is a letter without a name; a name that another document has
// fails with "Duplicitní klíč - název" (EngineError 9729), one without a name with "Zadejte
// název dokumentu."; the row stays in edit.
void attachDocumentRules(data::TDM1 &dm);

// The type check box's caption: "dopis" when checked, "příloha" otherwise.
QString documentTypeCaption(bool letter);

// Duplikace: asks "Duplikovat tento dokument ?"; on Yes saves Mdp when it is being edited and
// inserts a new row with the current document's type, header lines and text, left in insert
// state without a name. False when the user said No, and without asking when there is no
// document to duplicate. Throws EngineError (a failed save keeps
// its row in edit and nothing is inserted).
bool Duplikace(data::TDM1 &dm, platform::Prompter &prompter);

// A document as the printouts read it.
struct Document {
    QString nazev;
    QString rd1;
    QString rd2;
    bool letter = true;  // Typ
    QString text;
};
// The document of that name (Mdp's key, compared exactly), read without moving Mdp's cursor;
// nothing when there is none. Mdp is opened when it is closed. Throws EngineError.
std::optional<Document> findDocument(data::TDM1 &dm, const QString &nazev);

// "Dokument „X“ v tabulce dokumentů není." for a print of a name that no document has.
QString missingDocumentMessage(const QString &nazev);

}  // namespace rur::correspondence
