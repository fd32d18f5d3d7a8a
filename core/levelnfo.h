#pragma once

#include "core/nfoline.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

// The values of a Level NFO document, indexed as the Level panel's controls are.
struct LevelFields
{
    static constexpr int TextCount = 10;  // valueEdits 0..9
    static constexpr int RowCount = 14;   // includeBoxes 0..13

    std::array<QString, TextCount> text;
    std::array<bool, 3> mapType{};  // Single Player, Co-Op, Deathmatch
    bool rotateYes = true;
    std::array<QString, 3> eta{QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("00")};
    bool lockedYes = true;
    std::array<bool, RowCount> included{};  // meaningful for the optional rows only
};

// One row of the Level document: its key in the file, its caption in the panel and where its
// value lives. Rows are in file order.
struct LevelRow
{
    const char *key;
    const char *caption;
    int textIndex;  // valueEdits index, or -1 for rows whose value is not a text box
    bool optional;  // false: the row's Include box is fixed and the field always written
};

namespace LevelNfo {

extern const QString KindWord;  // "LEVEL"
const std::array<LevelRow, LevelFields::RowCount> &rows();

// The file text without its final CR LF. `logKey` is told each key word as the text is built.
QString generate(const LevelFields &fields, const std::function<void(const QString &)> &logKey);

// Applies a file's text to the fields; never clears a value, never excludes a field.
Nfo::ParseOutcome parse(const QString &text, LevelFields &fields);

// Why a field that would be written cannot be stored, naming the field; nothing if all can be.
std::optional<AppError> checkStorable(const LevelFields &fields);

} // namespace LevelNfo
