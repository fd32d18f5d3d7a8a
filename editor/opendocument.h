#pragma once

#include <QString>

// The document kinds, as exact texts.
namespace DocKind {
inline const QString None = QStringLiteral("None");
inline const QString DSC = QStringLiteral("DSC");
inline const QString EpiNFO = QStringLiteral("EpiNFO");
inline const QString LvlNFO = QStringLiteral("LvlNFO");
} // namespace DocKind

// The one document the main window holds.
struct OpenDocument
{
    QString Kind = DocKind::None;
    QString Path;       // the file Save writes; empty until saved or opened
    QString FileTitle;  // file name without folder; "untitled.dsc" / "untitled.nfo" when new
    bool Dirty = false;
};
