#pragma once

#include "core/documentfile.h"
#include "core/nfoline.h"
#include "editor/documenttypes.h"

#include <QString>

#include <optional>

// The one document the main window holds.
struct OpenDocument
{
    DocumentKind kind = DocumentKind::None;
    QString path;       // the file Save writes; empty until saved or opened
    QString fileTitle;  // file name without folder; the kind's untitled name when new
    bool modified = false;
    // Lines of the opened file that the document does not hold (lines that could not be read, or
    // that came after the line that stopped the reading): a save over the file would drop them.
    qsizetype droppedLines = 0;
    // Values of the opened file that the document cannot hold as written (a game mode it does not
    // know, "yes" for YES): a save over the file would change them.
    QList<Nfo::ChangedValue> changedValues;
    // Lines of the opened file holding bytes the system's code page cannot read (from 1): the
    // document shows other text, and a save over the file would change them.
    QList<int> undecodedLines;
    // The file as the document last read or wrote it: Save asks before it replaces a newer one.
    std::optional<DocumentFile::FileStamp> stamp;
};
