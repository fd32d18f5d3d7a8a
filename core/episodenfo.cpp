#include "core/episodenfo.h"

#include "core/documentfile.h"

namespace EpisodeNfo {

const QString KindWord = QStringLiteral("EPISODE");

namespace {
const std::array<NfoField, 2> kFields{{
    {"NAME", "Name", ValueKind::Name, AssetKind::None, false},
    {"THUMBNAIL", "Thumbnail", ValueKind::Asset, AssetKind::Texture, false},
}};
} // namespace

const std::array<NfoField, 2> &fields() { return kFields; }

const QString NameKey = QLatin1String(kFields[0].key);
const QString ThumbnailKey = QLatin1String(kFields[1].key);

QString generate(const EpisodeFields &fields)
{
    return KindWord + DocumentFile::CRLF + Nfo::fieldLine(NameKey, fields.name) + DocumentFile::CRLF
           + Nfo::fieldLine(ThumbnailKey, fields.thumbnail);
}

QStringList loggedKeys() { return {KindWord, NameKey, ThumbnailKey}; }

QByteArray newFileTemplate() { return (generate({}) + DocumentFile::CRLF + DocumentFile::CRLF).toLatin1(); }

Nfo::ParseOutcome parse(const QString &text, EpisodeFields &fields, const std::function<bool()> &keepGoing,
                        const std::function<void(const Nfo::Line &)> &taken)
{
    return Nfo::parse(text, KindWord, QStringLiteral("LEVEL"), [&fields](const Nfo::Line &line) {
        if (line.key == NameKey)
            fields.name = Nfo::valueOf(line);
        else if (line.key == ThumbnailKey)
            fields.thumbnail = Nfo::valueOf(line);
        else
            return false;
        return true;
    }, keepGoing, taken);
}

QList<Nfo::UnstorableValue> checkStorable(const EpisodeFields &fields)
{
    QList<Nfo::UnstorableValue> found;
    if (auto error = Nfo::checkValue(QLatin1String(kFields[0].caption), fields.name))
        found.append({NameKey, *error});
    if (auto error = Nfo::checkValue(QLatin1String(kFields[1].caption), fields.thumbnail))
        found.append({ThumbnailKey, *error});
    return found;
}

} // namespace EpisodeNfo
