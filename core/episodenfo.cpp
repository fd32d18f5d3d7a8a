#include "core/episodenfo.h"

#include "core/documentfile.h"

namespace EpisodeNfo {

const QString KindWord = QStringLiteral("EPISODE");

const QString NameKey = QStringLiteral("NAME");
const QString ThumbnailKey = QStringLiteral("THUMBNAIL");

QString generate(const EpisodeFields &fields)
{
    return KindWord + DocumentFile::CRLF + Nfo::fieldLine(NameKey, fields.name) + DocumentFile::CRLF
           + Nfo::fieldLine(ThumbnailKey, fields.thumbnail);
}

QStringList loggedKeys() { return {KindWord, NameKey, ThumbnailKey}; }

QByteArray newFileTemplate() { return (generate({}) + DocumentFile::CRLF + DocumentFile::CRLF).toLatin1(); }

Nfo::ParseOutcome parse(const QString &text, EpisodeFields &fields, const std::function<bool()> &keepGoing)
{
    return Nfo::parse(text, KindWord, QStringLiteral("LEVEL"), [&fields](const Nfo::Line &line) {
        if (line.key == NameKey)
            fields.name = Nfo::valueOf(line);
        else if (line.key == ThumbnailKey)
            fields.thumbnail = Nfo::valueOf(line);
        else
            return false;
        return true;
    }, keepGoing);
}

QList<Nfo::UnstorableValue> checkStorable(const EpisodeFields &fields)
{
    QList<Nfo::UnstorableValue> found;
    if (auto error = Nfo::checkValue(QStringLiteral("Name"), fields.name))
        found.append({NameKey, *error});
    if (auto error = Nfo::checkValue(QStringLiteral("Thumbnail"), fields.thumbnail))
        found.append({ThumbnailKey, *error});
    return found;
}

} // namespace EpisodeNfo
