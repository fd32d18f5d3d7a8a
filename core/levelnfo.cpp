#include "core/levelnfo.h"

#include "core/documentfile.h"

#include <QStringList>

#include <algorithm>

LevelFields LevelFields::newDocument()
{
    LevelFields fields;
    fields.included.fill(true);
    return fields;
}

const AssetType &assetTypeOf(AssetKind kind)
{
    static const AssetType types[] = {
        {"", "", "", "", ""},
        {".mdl", "a model", "Model (*.mdl)|*.mdl", "Browse for a model...", "Models"},
        {".tex", "a texture", "Texture (*.tex)|*.tex", "Browse for a texture...", "Textures"},
        {".ogv", "a movie", "Movie File (*.ogv)|*.ogv", "Browse for a movie (*.ogv) file...", "Movies"},
    };
    return types[static_cast<int>(kind)];
}

namespace LevelNfo {

const QString KindWord = QStringLiteral("LEVEL");

namespace {

using R = LevelRow;
using F = LevelFields;
using A = AssetKind;

const std::array<LevelRowInfo, LevelRowCount> kRows{{
    {R::Name, "NAME", "Name", &F::name, false, A::None},
    {R::MapType, "MAP_TYPE", "Map Type", nullptr, false, A::None},
    {R::LoadingModel, "LOADING_MODEL", "Loading Model", &F::loadingModel, true, A::Model},
    {R::ModelAnimation, "MODEL_ANIMATION", "Model Anim", &F::modelAnimation, true, A::None},
    {R::ModelRotate, "MODEL_ROTATE", "Model Rotate", nullptr, true, A::None},
    {R::ModelDistance, "MODEL_DISTANCE", "Model Distance", &F::modelDistance, true, A::None},
    {R::ModelName, "MODEL_NAME", "Model Name", &F::modelName, true, A::None},
    {R::LoadingScreen, "LOADING_SCREEN", "Loading Screen", &F::loadingScreen, true, A::Texture},
    {R::Thumbnail, "THUMBNAIL", "Thumbnail", &F::thumbnail, false, A::Texture},
    {R::Eta, "ETA", "ETA", nullptr, false, A::None},
    {R::EpisodeMovie, "EPISODE_MOVIE", "Episode Movie", &F::episodeMovie, true, A::Movie},
    {R::IntroMovie, "INTRO_MOVIE", "Intro Movie", &F::introMovie, true, A::Movie},
    {R::OutroMovie, "OUTRO_MOVIE", "Outro Movie", &F::outroMovie, true, A::Movie},
    {R::Locked, "LOCKED", "Locked?", nullptr, false, A::None},
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
QString fileValue(const LevelFields &fields, const LevelRowInfo &row)
{
    switch (row.row) {
    case R::MapType: return mapTypeValue(fields);
    case R::ModelRotate: return yesNo(fields.rotate);
    case R::Eta: return etaValue(fields);
    case R::Locked: return yesNo(fields.locked);
    default: return fields.*row.text;
    }
}

bool written(const LevelFields &fields, const LevelRowInfo &row)
{
    return !row.optional || fields.isIncluded(row.row);
}

} // namespace

const std::array<LevelRowInfo, LevelRowCount> &rows() { return kRows; }

QByteArray newFileTemplate()
{
    LevelFields fields;
    fields.mapType[0] = true;
    fields.locked = false;
    return (generate(fields) + DocumentFile::CRLF + DocumentFile::CRLF).toLatin1();
}

QStringList loggedKeys()
{
    QStringList keys{KindWord};
    for (const LevelRowInfo &row : kRows) {
        // NAME and ETA are built without a log entry of their own.
        if (row.row != R::Name && row.row != R::Eta)
            keys.append(QString::fromLatin1(row.key));
    }
    return keys;
}

QString generate(const LevelFields &fields)
{
    QString text = KindWord;
    for (const LevelRowInfo &row : kRows) {
        if (written(fields, row)) {
            text += DocumentFile::CRLF;
            text += Nfo::fieldLine(QString::fromLatin1(row.key), fileValue(fields, row));
        }
    }
    return text;
}

Nfo::ParseOutcome parse(const QString &text, LevelFields &fields, const std::function<bool()> &keepGoing)
{
    return Nfo::parse(text, KindWord, QStringLiteral("EPISODE"), [&fields](const Nfo::Line &line) {
        const auto row = std::find_if(kRows.begin(), kRows.end(), [&line](const LevelRowInfo &r) {
            return line.key == QLatin1String(r.key);
        });
        if (row == kRows.end())
            return false;
        const QString value = Nfo::valueOf(line);
        switch (row->row) {
        case R::MapType:
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
        case R::ModelRotate:
            fields.setIncluded(R::ModelRotate, true);
            fields.rotate = value == QLatin1String("YES");
            break;
        case R::Eta: {
            const QStringList parts = value.split(QLatin1Char(':'));
            for (int i = 0; i < 3; ++i) {
                if (i >= parts.size()) {
                    throw AppError{AppError::BadFileLine,
                                   QStringLiteral("the ETA value '%1' has fewer than three parts "
                                                  "(hours:minutes:seconds)")
                                       .arg(Nfo::shownLine(value)),
                                   {}, line.number};
                }
                fields.eta[size_t(i)] = parts.at(i);
            }
            break;
        }
        case R::Locked:
            fields.locked = value == QLatin1String("YES");
            break;
        default:
            fields.*row->text = value;
            if (row->optional)
                fields.setIncluded(row->row, true);
            break;
        }
        return true;
    }, keepGoing);
}

bool sameValue(const QString &key, const QString &a, const QString &b)
{
    if (key != QLatin1String(row(R::MapType).key))
        return a == b;
    const auto modes = [](const QString &value) {
        QStringList named;
        for (const QString &piece : value.split(QLatin1Char(';'))) {
            if (const QString mode = Nfo::trimBlanks(piece); !mode.isEmpty())
                named.append(mode);
        }
        named.sort();
        named.removeDuplicates();
        return named;
    };
    return modes(a) == modes(b);
}

QList<Nfo::UnstorableValue> checkStorable(const LevelFields &fields)
{
    QList<Nfo::UnstorableValue> found;
    for (const LevelRowInfo &row : kRows) {
        if (!written(fields, row))
            continue;
        if (auto error = Nfo::checkValue(QString::fromLatin1(row.caption), fileValue(fields, row)))
            found.append({QString::fromLatin1(row.key), *error});
    }
    return found;
}

} // namespace LevelNfo
