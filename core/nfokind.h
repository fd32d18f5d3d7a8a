#pragma once

#include <QByteArrayView>
#include <QString>

// Which reader opens a file. There are two rules, because the two ways in have always decided
// differently and files in the wild open as they always did: a first line "LEVEL 2" is a Level
// either way, but "EPISODES" is a Level through the Open NFO dialog and an Episode from the
// command line (and the desktop).
namespace NfoKind {

enum Kind { Level, Episode };

// The Open NFO dialog's rule: a first line of EPISODE (any letter case, blanks around it) is an
// Episode; every other first line a Level.
Kind byEpisodeWord(const QString &firstLine);

// The command line's rule (also the desktop's and the mod check's): a first line starting with
// LEVEL (after trimming, any letter case) is a Level; everything else an Episode.
Kind byLevelPrefix(const QString &firstLine);

// Whether a first line makes a game NFO at all: LEVEL or EPISODE at its start (after trimming, any
// letter case). Other .nfo files (release notes) are not Brisquel's to open from the desktop.
bool isGameNfo(const QString &firstLine);

// What is a description, wherever a file comes in (the command line, the desktop, a drop, the mod
// check): a name whose last three letters are DSC, in any letter case, after a dot or not.
bool isDescriptionName(QByteArrayView name);
bool isDescriptionName(const QString &name);
// The files Brisquel opens and the mod check reads in a folder: descriptions, and names ending in
// ".nfo" in any letter case.
bool isDocumentName(QByteArrayView name);
bool isDocumentName(const QString &name);

} // namespace NfoKind
