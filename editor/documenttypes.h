#pragma once

#include "core/nfokind.h"

#include <QString>

class DocumentPanel;
class QWidget;

enum class DocumentKind { None, Description, EpisodeNfo, LevelNfo };

// What the editor knows of one kind of document, in one place.
struct DocumentType
{
    DocumentKind kind;
    QString newCaption;       // its entry in File > New
    const char *newAction;    // that entry's objectName
    QString untitledName;     // the file title of a new document
    QString titleSuffix;      // after the file title in the window title
    QString newMessage;       // the status report of New
    QString openCaption;      // its entry in File > Open (empty: opened through another kind's entry)
    const char *openAction;   // that entry's objectName
    QString openTitle;        // the Open dialog's title
    QString saveAsTitle;      // the Save As dialog's title
    QString dialogFilter;     // the Open and Save dialogs' filter, "description|pattern"
    QString wrongKindText;    // the box for an NFO file whose first line names the other kind
    bool reportsGenerating;   // Save reports "Generating file..." before it builds the text
    bool fillsHeight;         // the panel takes the window's height (a description's text)
    bool createdWhenMissing;  // a file named to open that does not exist yet is made by Save (and the
                              // Open dialog offers the name it was given next time)
    DocumentPanel *(*makePanel)(QWidget *parent);
    // Whether two values of a key mean the same to the game: a file's value that the document
    // writes otherwise was changed by opening it (none for a description, kept as read).
    bool (*sameValue)(const QString &key, const QString &a, const QString &b);
};

namespace DocumentTypes {

// The type of a kind of document; None has none.
const DocumentType &of(DocumentKind kind);
// Each kind in turn, for what is kept per kind.
constexpr DocumentKind All[] = {DocumentKind::Description, DocumentKind::EpisodeNfo, DocumentKind::LevelNfo};
constexpr int index(DocumentKind kind) { return int(kind) - 1; }
// The document kind of an NFO kind.
constexpr DocumentKind ofNfo(NfoKind::Kind kind)
{
    return kind == NfoKind::Episode ? DocumentKind::EpisodeNfo : DocumentKind::LevelNfo;
}

} // namespace DocumentTypes
