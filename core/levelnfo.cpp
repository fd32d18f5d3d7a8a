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

namespace LevelNfo {

const QString KindWord = QStringLiteral("LEVEL");

namespace {

using R = LevelRow;
using F = LevelFields;
using A = AssetKind;
using V = ValueKind;

const std::array<LevelRowInfo, LevelRowCount> kRows{{
    {R::Name, "NAME", "Name", &F::name, false, A::None, V::Name},
    {R::MapType, "MAP_TYPE", "Map Type", nullptr, false, A::None, V::GameModes},
    {R::LoadingModel, "LOADING_MODEL", "Loading Model", &F::loadingModel, true, A::Model, V::Asset},
    {R::ModelAnimation, "MODEL_ANIMATION", "Model Anim", &F::modelAnimation, true, A::None, V::Text},
    {R::ModelRotate, "MODEL_ROTATE", "Model Rotate", nullptr, true, A::None, V::YesNo},
    {R::ModelDistance, "MODEL_DISTANCE", "Model Distance", &F::modelDistance, true, A::None, V::Number},
    {R::ModelName, "MODEL_NAME", "Model Name", &F::modelName, true, A::None, V::Text},
    {R::LoadingScreen, "LOADING_SCREEN", "Loading Screen", &F::loadingScreen, true, A::Texture, V::Asset},
    {R::Thumbnail, "THUMBNAIL", "Thumbnail", &F::thumbnail, false, A::Texture, V::Asset},
    {R::Eta, "ETA", "ETA", nullptr, false, A::None, V::Eta},
    {R::EpisodeMovie, "EPISODE_MOVIE", "Episode Movie", &F::episodeMovie, true, A::Movie, V::Asset},
    {R::IntroMovie, "INTRO_MOVIE", "Intro Movie", &F::introMovie, true, A::Movie, V::Asset},
    {R::OutroMovie, "OUTRO_MOVIE", "Outro Movie", &F::outroMovie, true, A::Movie, V::Asset},
    {R::Locked, "LOCKED", "Locked?", nullptr, false, A::None, V::YesNo},
}};

QString etaValue(const LevelFields &fields)
{
    return fields.eta[0] + QLatin1Char(':') + fields.eta[1] + QLatin1Char(':') + fields.eta[2];
}

// The value a row writes, in its file form.
QString fileValue(const LevelFields &fields, const LevelRowInfo &row)
{
    switch (row.row) {
    case R::MapType: return NfoValue::gameModesValue(fields.mapType);
    case R::ModelRotate: return NfoValue::yesNo(fields.rotate);
    case R::Eta: return etaValue(fields);
    case R::Locked: return NfoValue::yesNo(fields.locked);
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

Nfo::ParseOutcome parse(const QString &text, LevelFields &fields, const std::function<bool()> &keepGoing,
                        const std::function<void(const Nfo::Line &)> &taken)
{
    return Nfo::parse(text, KindWord, QStringLiteral("EPISODE"), [&fields](const Nfo::Line &line) {
        const auto row = std::find_if(kRows.begin(), kRows.end(), [&line](const LevelRowInfo &r) {
            return line.key == QLatin1String(r.key);
        });
        if (row == kRows.end())
            return false;
        const QString value = Nfo::valueOf(line);
        switch (row->row) {
        case R::MapType: {
            const NfoValue::GameModes modes = NfoValue::gameModes(value);
            for (size_t mode = 0; mode < fields.mapType.size(); ++mode)
                fields.mapType[mode] = fields.mapType[mode] || modes.named[mode];
            break;
        }
        case R::ModelRotate:
            fields.setIncluded(R::ModelRotate, true);
            fields.rotate = NfoValue::isYes(value);
            break;
        case R::Eta: {
            const QStringList parts = NfoValue::etaParts(value);
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
            fields.locked = NfoValue::isYes(value);
            break;
        default:
            fields.*row->text = value;
            if (row->optional)
                fields.setIncluded(row->row, true);
            break;
        }
        return true;
    }, keepGoing, taken);
}

bool sameValue(const QString &key, const QString &a, const QString &b)
{
    const auto row = std::find_if(kRows.begin(), kRows.end(), [&key](const LevelRowInfo &r) { return key == QLatin1String(r.key); });
    return NfoValue::sameValue(row == kRows.end() ? ValueKind::Text : row->kind, a, b);
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
