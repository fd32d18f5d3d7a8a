#include "core/nfokind.h"

#include "core/nfoline.h"

namespace NfoKind {

Kind byEpisodeWord(const QString &firstLine)
{
    return Nfo::trimBlanks(firstLine.toUpper()) == QLatin1String("EPISODE") ? Episode : Level;
}

Kind byLevelPrefix(const QString &firstLine)
{
    return Nfo::trimBlanks(firstLine.toUpper()).left(5) == QLatin1String("LEVEL") ? Level : Episode;
}

bool isGameNfo(const QString &firstLine)
{
    const QString word = Nfo::trimBlanks(firstLine.toUpper());
    return word.startsWith(QLatin1String("LEVEL")) || word.startsWith(QLatin1String("EPISODE"));
}

bool isDescriptionName(QByteArrayView name)
{
    return name.size() >= 3 && QByteArrayView(name.last(3)).compare("dsc", Qt::CaseInsensitive) == 0;
}

bool isDescriptionName(const QString &name) { return isDescriptionName(QByteArrayView(name.right(3).toLatin1())); }

bool isDocumentName(QByteArrayView name)
{
    return isDescriptionName(name) || (name.size() >= 4 && QByteArrayView(name.last(4)).compare(".nfo", Qt::CaseInsensitive) == 0);
}

bool isDocumentName(const QString &name) { return isDocumentName(QByteArrayView(name.right(4).toLatin1())); }

} // namespace NfoKind
