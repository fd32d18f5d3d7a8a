#pragma once

#include "core/nfoline.h"

#include <QString>

#include <functional>
#include <optional>

// The two values of an Episode NFO document.
struct EpisodeFields
{
    QString name;
    QString thumbnail;

    static EpisodeFields newDocument() { return {}; }
};

namespace EpisodeNfo {

extern const QString KindWord;  // "EPISODE"
extern const QString NameKey;   // "NAME"
extern const QString ThumbnailKey;  // "THUMBNAIL"

// The file text without its final CR LF; `logKey` is told each key word as the text is built.
QString generate(const EpisodeFields &fields, const std::function<void(const QString &)> &logKey);
// `keepGoing`: as for Nfo::parse (a long check can be stopped inside a file).
Nfo::ParseOutcome parse(const QString &text, EpisodeFields &fields, const std::function<bool()> &keepGoing = {});
std::optional<AppError> checkStorable(const EpisodeFields &fields);

} // namespace EpisodeNfo
