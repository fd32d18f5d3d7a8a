#pragma once

#include "core/nfoline.h"
#include "core/nfovalue.h"

#include <QString>
#include <QStringList>

#include <array>
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
// The two fields, in file order.
const std::array<NfoField, 2> &fields();

// The file text without its final CR LF.
QString generate(const EpisodeFields &fields);
// The empty Episode NFO that a new file starts as: NAME and THUMBNAIL, each line ended by CR LF,
// then an empty line.
QByteArray newFileTemplate();

// The key words a save writes to the log, in order.
QStringList loggedKeys();
// `keepGoing`: as for Nfo::parse (a long check can be stopped inside a file).
Nfo::ParseOutcome parse(const QString &text, EpisodeFields &fields, const std::function<bool()> &keepGoing = {},
                        const std::function<void(const Nfo::Line &)> &taken = {});
// As LevelNfo::checkStorable.
QList<Nfo::UnstorableValue> checkStorable(const EpisodeFields &fields);

} // namespace EpisodeNfo
