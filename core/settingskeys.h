#pragma once

#include <QString>

#include <optional>

// The editor's settings, stored per user under the program title. Each reader uses its own
// default, as the places that read them expect.
namespace Settings {

extern const QString GameFolderSection;   // "Serious Sam 2 Path"
extern const QString GameFolderKey;       // "Path Location"
extern const QString TipsSection;         // "Show Tips"
extern const QString TipsOptionKey;       // "Show Tips Option"
extern const QString TipTimeKey;          // "Time"
extern const QString FirstRunKey;         // "FirstTime v1.1", section and key alike

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

QString tipTimeText();          // default "10"
int tipIntervalMs();            // from the stored "Time"
bool tipsShown();               // "Show Tips Option" other than 0 shows tips; default 1
bool tipsShown(const QString &optionText);  // the stored text as the tip timer reads it

} // namespace Settings
