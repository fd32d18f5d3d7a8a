#pragma once

#include <QString>

// Which reader opens a file. The Open NFO dialog and the command line decide differently, and
// each keeps its own rule.
namespace NfoKind {

enum Kind { Level, Episode };

// Open NFO dialog: a first line of EPISODE (any letter case, blanks around it) is an Episode;
// every other first line a Level.
Kind fromOpenDialogFirstLine(const QString &firstLine);

// Command line: a first line starting with LEVEL (after trimming, any letter case) is a Level;
// everything else an Episode.
Kind fromCommandLineFirstLine(const QString &firstLine);

// Whether a first line makes a game NFO at all: LEVEL or EPISODE at its start (after trimming, any
// letter case). Other .nfo files (release notes) are not Brisquel's to open from the desktop.
bool isGameNfo(const QString &firstLine);

// Command line: a path whose last three letters are DSC (any case, dot or not) is a description.
bool commandLineNamesDsc(const QString &path);

} // namespace NfoKind
