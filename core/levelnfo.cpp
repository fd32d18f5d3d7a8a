#include "core/levelnfo.h"

#include "core/documentfile.h"

#include <QStringList>

namespace LevelNfo {

const QString KindWord = QStringLiteral("LEVEL");

namespace {

enum Row { Name, MapType, LoadingModel, ModelAnim, ModelRotate, ModelDistance, ModelName,
           LoadingScreen, Thumbnail, Eta, EpisodeMovie, IntroMovie, OutroMovie, Locked };

const std::array<LevelRow, LevelFields::RowCount> kRows{{
    {"NAME", "Name", 0, false},
    {"MAP_TYPE", "Map Type", -1, false},
    {"LOADING_MODEL", "Loading Model", 1, true},
    {"MODEL_ANIMATION", "Model Anim", 2, true},
    {"MODEL_ROTATE", "Model Rotate", -1, true},
    {"MODEL_DISTANCE", "Model Distance", 3, true},
    {"MODEL_NAME", "Model Name", 4, true},
    {"LOADING_SCREEN", "Loading Screen", 5, true},
    {"THUMBNAIL", "Thumbnail", 6, false},
    {"ETA", "ETA", -1, false},
    {"EPISODE_MOVIE", "Episode Movie", 7, true},
    {"INTRO_MOVIE", "Intro Movie", 8, true},
    {"OUTRO_MOVIE", "Outro Movie", 9, true},
    {"LOCKED", "Locked?", -1, false},
}};

QString yesNo(bool yes) { return yes ? QStringLiteral("YES") : QStringLiteral("NO"); }

QString mapTypeValue(const LevelFields &fields)
{
    QString value;
    if (fields.mapType[0])
        value += QStringLiteral("SINGLE;");
    if (fields.mapType[1])
        value += QStringLiteral("COOP; ");
    if (fields.mapType[2])
        value += QStringLiteral("DEATHMATCH;");
    return value;
}

QString etaValue(const LevelFields &fields)
{
    return fields.eta[0] + QLatin1Char(':') + fields.eta[1] + QLatin1Char(':') + fields.eta[2];
}

// The value a row writes, in its file form.
QString fileValue(const LevelFields &fields, int row)
{
    switch (row) {
    case MapType: return mapTypeValue(fields);
    case ModelRotate: return yesNo(fields.rotateYes);
    case Eta: return etaValue(fields);
    case Locked: return yesNo(fields.lockedYes);
    default: return fields.text[size_t(kRows[size_t(row)].textIndex)];
    }
}

bool written(const LevelFields &fields, int row)
{
    return !kRows[size_t(row)].optional || fields.included[size_t(row)];
}

} // namespace

const std::array<LevelRow, LevelFields::RowCount> &rows() { return kRows; }

QString generate(const LevelFields &fields, const std::function<void(const QString &)> &logKey)
{
    logKey(KindWord);
    QString text = KindWord;
    for (int row = 0; row < LevelFields::RowCount; ++row) {
        // NAME and ETA are built without a log entry of their own.
        if (row != Name && row != Eta)
            logKey(QString::fromLatin1(kRows[size_t(row)].key));
        if (written(fields, row)) {
            text += DocumentFile::CRLF;
            text += Nfo::fieldLine(QString::fromLatin1(kRows[size_t(row)].key), fileValue(fields, row));
        }
    }
    return text;
}

Nfo::ParseOutcome parse(const QString &text, LevelFields &fields)
{
    return Nfo::parse(text, KindWord, QStringLiteral("EPISODE"), [&fields](const Nfo::Line &line) {
        int row = -1;
        for (int i = 0; i < LevelFields::RowCount; ++i) {
            if (line.key == QLatin1String(kRows[size_t(i)].key)) {
                row = i;
                break;
            }
        }
        if (row < 0)
            return false;
        const QString value = Nfo::valueOf(line);
        switch (row) {
        case MapType:
            for (const QString &piece : value.split(QLatin1Char(';'))) {
                const QString mode = Nfo::trimBlanks(piece);
                if (mode == QLatin1String("SINGLE"))
                    fields.mapType[0] = true;
                else if (mode == QLatin1String("COOP"))
                    fields.mapType[1] = true;
                else if (mode == QLatin1String("DEATHMATCH"))
                    fields.mapType[2] = true;
            }
            break;
        case ModelRotate:
            fields.included[ModelRotate] = true;
            fields.rotateYes = value == QLatin1String("YES");
            break;
        case Eta: {
            const QStringList parts = value.split(QLatin1Char(':'));
            for (int i = 0; i < 3; ++i) {
                if (i >= parts.size()) {
                    throw AppError{AppError::BadFileLine,
                                   QStringLiteral("line %1: the ETA value '%2' has fewer than three "
                                                  "parts (hours:minutes:seconds)")
                                       .arg(line.number)
                                       .arg(Nfo::shownLine(value))};
                }
                fields.eta[size_t(i)] = parts.at(i);
            }
            break;
        }
        case Locked:
            fields.lockedYes = value == QLatin1String("YES");
            break;
        default:
            fields.text[size_t(kRows[size_t(row)].textIndex)] = value;
            if (kRows[size_t(row)].optional)
                fields.included[size_t(row)] = true;
            break;
        }
        return true;
    });
}

std::optional<AppError> checkStorable(const LevelFields &fields)
{
    for (int row = 0; row < LevelFields::RowCount; ++row) {
        if (!written(fields, row))
            continue;
        auto error = Nfo::checkValue(QString::fromLatin1(kRows[size_t(row)].caption),
                                     fileValue(fields, row));
        if (error)
            return error;
    }
    return std::nullopt;
}

} // namespace LevelNfo
