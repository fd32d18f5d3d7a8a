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

bool commandLineNamesDsc(const QString &path)
{
    return path.right(3).toUpper() == QLatin1String("DSC");
}

} // namespace NfoKind
