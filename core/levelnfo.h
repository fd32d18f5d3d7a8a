#pragma once

#include "core/nfoline.h"
#include "core/nfovalue.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// The rows of a Level NFO document, in file order.
enum class LevelRow { Name, MapType, LoadingModel, ModelAnimation, ModelRotate, ModelDistance,
                      ModelName, LoadingScreen, Thumbnail, Eta, EpisodeMovie, IntroMovie,
                      OutroMovie, Locked };
inline constexpr int LevelRowCount = 14;

// The values of a Level NFO document. A default-constructed one has every optional row excluded:
// reading a file includes the rows it names.
struct LevelFields
{
    QString name;
    QString loadingModel;
    QString modelAnimation;
    QString modelDistance;
    QString modelName;
    QString loadingScreen;
    QString thumbnail;
    QString episodeMovie;
    QString introMovie;
    QString outroMovie;
    std::array<bool, 3> mapType{};  // Single Player, Co-Op, Deathmatch
    bool rotate = true;
    std::array<QString, 3> eta{QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("00")};
    bool locked = true;
    std::array<bool, LevelRowCount> included{};  // by LevelRow; meaningful for optional rows only

    // A new document: every text empty, no game mode, ETA 00:00:00, rotating and locked, and
    // every optional row included.
    static LevelFields newDocument();

    bool isIncluded(LevelRow row) const { return included[size_t(row)]; }
    void setIncluded(LevelRow row, bool on) { included[size_t(row)] = on; }
};

// One row of the Level document: its key in the file, its caption in the panel, the text field
// that holds its value (none for the rows with choices) and what its browse button picks.
struct LevelRowInfo
{
    LevelRow row;
    const char *key;
    const char *caption;
    QString LevelFields::*text;
    bool optional;  // false: the row's Include box is fixed and the field always written
    AssetKind asset;
    ValueKind kind;  // what its value is, for every rule on it
};

namespace LevelNfo {

extern const QString KindWord;  // "LEVEL"
const std::array<LevelRowInfo, LevelRowCount> &rows();
inline const LevelRowInfo &row(LevelRow row) { return rows()[size_t(row)]; }

// The file text without its final CR LF.
QString generate(const LevelFields &fields);
// The key words a save writes to the log, in order: the kind word, then every row's key but NAME
// and ETA (written or not).
QStringList loggedKeys();

// The empty Level NFO that a new file starts as (the desktop's "New" menu, the companion): NAME,
// MAP_TYPE "SINGLE;", THUMBNAIL, ETA 00:00:00 and LOCKED "NO", each line ended by CR LF, then an
// empty line.
QByteArray newFileTemplate();

// Applies a file's text to the fields; never clears a value, never excludes a field.
// `keepGoing`: as for Nfo::parse (a long check can be stopped inside a file).
Nfo::ParseOutcome parse(const QString &text, LevelFields &fields, const std::function<bool()> &keepGoing = {},
                        const std::function<void(const Nfo::Line &)> &taken = {});

// Whether two values of a key mean the same in a Level NFO, by the kind of its value: MAP_TYPE
// names the same game modes in any order and spacing ("SINGLE; COOP" and "SINGLE;COOP; ").
bool sameValue(const QString &key, const QString &a, const QString &b);

// Each field that would be written but cannot be stored, in file order, its error naming the
// field; empty if all can be.
QList<Nfo::UnstorableValue> checkStorable(const LevelFields &fields);

} // namespace LevelNfo
