#pragma once

#include <QString>
#include <QStringList>

#include <array>

// What the value of an NFO field is, and the value rules that the readers, the writers, the
// editor's marks and the mod check all take from here: one grammar, so that what the check calls
// a bad value is what the reader cannot take as meant.

// What a field's browse button picks from the game folder.
enum class AssetKind { None, Model, Texture, Movie };

// One table of what each kind of asset is: its file extension, how a message names it, and its
// browse dialog's filter and title. Used by the browse buttons and by the mod check alike.
struct AssetType
{
    const char *extension;    // ".mdl"
    const char *what;         // "a model"
    const char *filter;       // "Model (*.mdl)|*.mdl"
    const char *browseTitle;  // "Browse for a model..."
    const char *gameFolder;   // where the game keeps them: "Models"
};
const AssetType &assetTypeOf(AssetKind kind);  // not for None

// What a value is: free text, the level's or episode's name, a path to an asset, YES or NO, an
// ETA of hours:minutes:seconds, a list of game modes, a number.
enum class ValueKind { Text, Name, Asset, YesNo, Eta, GameModes, Number };

// One field of an NFO document kind, as its table lists it.
struct NfoField
{
    const char *key;      // "LOADING_MODEL"
    const char *caption;  // "Loading Model"
    ValueKind kind;
    AssetKind asset;      // for an Asset value
    bool optional;        // false: every file of the kind has the line, and the game needs it
};

namespace NfoValue {

// YES and NO, as the game writes them: any other text (also "yes") reads as NO.
bool isYes(const QString &value);
bool isYesOrNo(const QString &value);
QString yesNo(bool yes);

// The game modes a MAP_TYPE names: SINGLE, COOP and DEATHMATCH, separated by ";" with blanks
// around them allowed.
inline constexpr int GameModeCount = 3;
QLatin1String gameModeWord(int mode);  // "SINGLE", "COOP", "DEATHMATCH"
struct GameModes
{
    std::array<bool, GameModeCount> named{};
    QStringList unknown;  // the other words, as written (blanks around them removed)
    QList<std::pair<qsizetype, qsizetype>> unknownAt;  // where each is in the value: start, length
    bool any() const { return named[0] || named[1] || named[2]; }
};
GameModes gameModes(const QString &value);
// The value a panel writes for its ticked modes: "SINGLE;COOP; DEATHMATCH;".
QString gameModesValue(const std::array<bool, GameModeCount> &named);

// An ETA's parts between ":" (a reader takes the first three).
QStringList etaParts(const QString &value);
enum class EtaProblem { None, NotThreeNumbers, MinutesOver59, SecondsOver59 };
EtaProblem etaProblem(const QString &value);

// A number as the game reads it: decimal, "." as the decimal point.
bool isNumber(const QString &value);

// A path that starts at a root or a drive: the game resolves asset paths under its own folder.
bool isAbsolutePath(const QString &value);

// Whether two values of a kind mean the same to the game: game modes named in any order and
// spacing, every other kind the same text.
bool sameValue(ValueKind kind, const QString &a, const QString &b);

} // namespace NfoValue
