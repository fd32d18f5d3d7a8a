#pragma once

#include "core/apperror.h"

#include <QString>
#include <QStringList>

#include <optional>

// The editor's settings, stored per user under the program title: one table of keys, and typed
// readers and writers over it.
namespace Settings {

// One stored setting: its section and name in the store, and what a reader gets when nothing is
// stored.
struct Key
{
    const char *section;
    const char *name;
    const char *defaultValue;
};

// The game folder's value when it was never set.
inline constexpr const char *NeverSet = "NIL";
// The tip interval when none is stored, or the one stored is refused: 10 seconds.
inline constexpr int DefaultTipSeconds = 10;
inline constexpr int DefaultTipIntervalMs = DefaultTipSeconds * 1000;

inline constexpr Key GameFolder{"Serious Sam 2 Path", "Path Location", NeverSet};
inline constexpr Key ShowTips{"Show Tips", "Show Tips Option", "1"};
inline constexpr Key TipTime{"Show Tips", "Time", "10"};  // DefaultTipSeconds, as stored
inline constexpr Key FirstStart{"FirstTime v1.1", "FirstTime v1.1", "YES"};
inline constexpr Key RecentFiles{"Recent Files", "Files", ""};
inline constexpr Key WindowGeometry{"Window", "Geometry", ""};  // the main window's size and place
inline constexpr Key CheckedFolder{"Mod Check", "Folder", ""};   // the mod folder checked last
inline constexpr Key ShowSavedBox{"Messages", "Show Saved Box", "1"};  // "File '…' was saved." after a save

QString read(const Key &key);
QString read(const Key &key, const QString &defaultValue);
// Stores the value at once. Throws AppError (FileAccess) naming the settings file and the reason
// when the store cannot be written; so do the other writes below.
void write(const Key &key, const QString &value);
// The key's name in a QSettings file, "section/name": for a settings file written before the
// program starts.
QString address(const Key &key);

// The game folder as asset browsing reads it ("NIL" when never set), and as the Options dialog
// offers it (when never set: the folder where the game is found in a Steam library, else the
// game's usual folder).
QString gameFolder();
QString gameFolderToEdit();
// The game folder, or empty when never set.
QString gameFolderIfSet();

// The files opened or saved last, the newest first: at most MostRecentFiles, whatever the store holds.
QStringList recentFiles();
// Puts the file first among the recent files, keeping the 8 newest; drops it when `keep` is false.
void updateRecentFiles(const QString &path, bool keep);
void clearRecentFiles();
inline constexpr int MostRecentFiles = 8;

bool isFirstStart();
void markFirstStartDone();

// Text read as a decimal number ("10", "0.5", or "0,5" where the user's locale writes a comma),
// or nothing when it is not a number.
std::optional<double> parseNumber(const QString &text);

// The tip interval in milliseconds for a stored "Time" text: seconds times 1000, halves to the
// even neighbour. A text this system never writes (not a number, outside 0.1 to 59) gives 10 s.
int tipIntervalMs(const QString &timeText);

// Why a typed tip time is refused, tested in this order.
enum class TipTimeProblem { None, NotANumber, TooLong, TooShort };
TipTimeProblem checkTipTime(const QString &text);

// The game folder the Options dialog offers before one is stored: the game's usual install folder
// on this platform, with a trailing separator.
QString defaultGameFolder();

// The game folder as stored by the Options dialog: native separators, ending in a separator (an
// empty entry is stored as the separator alone).
QString gameFolderToStore(const QString &typed);

QString tipTimeText();
int tipIntervalMs();            // from the stored tip time
bool tipsShown();               // a stored option other than 0 shows tips
bool savedBoxShown();           // the box after a save: shown unless "0" is stored
bool tipsShown(const QString &optionText);  // the stored text as the tip timer reads it

} // namespace Settings
