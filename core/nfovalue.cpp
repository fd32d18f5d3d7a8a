#include "core/nfovalue.h"

#include "core/nfoline.h"

#include <QLocale>

#include <algorithm>

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

namespace NfoValue {

bool isYes(const QString &value) { return value == QLatin1String("YES"); }

bool isYesOrNo(const QString &value) { return isYes(value) || value == QLatin1String("NO"); }

QString yesNo(bool yes) { return yes ? QStringLiteral("YES") : QStringLiteral("NO"); }

QLatin1String gameModeWord(int mode)
{
    static const char *const words[GameModeCount] = {"SINGLE", "COOP", "DEATHMATCH"};
    return QLatin1String(words[mode]);
}

GameModes gameModes(const QString &value)
{
    GameModes modes;
    const QStringView text(value);
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char(';'), start);
        if (end < 0)
            end = text.size();
        // Blanks around a word are no part of it, as the reader trims them.
        qsizetype from = start, to = end;
        while (from < to && text.at(from) == QLatin1Char(' '))
            ++from;
        while (to > from && text.at(to - 1) == QLatin1Char(' '))
            --to;
        const QStringView word = text.sliced(from, to - from);
        start = end + 1;
        if (word.isEmpty())
            continue;
        int mode = 0;
        while (mode < GameModeCount && word != gameModeWord(mode))
            ++mode;
        if (mode < GameModeCount)
            modes.named[size_t(mode)] = true;
        else
            modes.unknown.append(word.toString()), modes.unknownAt.append({from, to - from});
    }
    return modes;
}

QString gameModesValue(const std::array<bool, GameModeCount> &named)
{
    // As the game's own files have them: the co-op mode is followed by a blank.
    static const char *const written[GameModeCount] = {"SINGLE;", "COOP; ", "DEATHMATCH;"};
    QString value;
    for (int mode = 0; mode < GameModeCount; ++mode) {
        if (named[size_t(mode)])
            value += QLatin1String(written[mode]);
    }
    return value;
}

QStringList etaParts(const QString &value) { return value.split(QLatin1Char(':')); }

EtaProblem etaProblem(const QString &value)
{
    // Three runs of the digits 0-9, separated by ':'.
    const QList<QStringView> parts = QStringView(value).split(QLatin1Char(':'));
    const auto digits = [](QStringView part) {
        return !part.isEmpty()
               && std::all_of(part.begin(), part.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    };
    if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), digits))
        return EtaProblem::NotThreeNumbers;
    // Past 59 however many digits: leading zeros count for nothing.
    const auto over59 = [](QStringView part) {
        while (part.size() > 1 && part.front() == QLatin1Char('0'))
            part = part.sliced(1);
        return part.size() > 2 || part.toInt() > 59;
    };
    if (over59(parts.at(1)))
        return EtaProblem::MinutesOver59;
    if (over59(parts.at(2)))
        return EtaProblem::SecondsOver59;
    return EtaProblem::None;
}

bool isNumber(const QString &value)
{
    bool number = false;
    QLocale::c().toDouble(value, &number);
    return number;
}

bool isAbsolutePath(const QString &value)
{
    const bool drive = value.size() >= 2 && value.at(1) == QLatin1Char(':') && value.at(0).isLetter()
                       && value.at(0).unicode() < 0x80;
    return drive || value.startsWith(QLatin1Char('/')) || value.startsWith(QLatin1Char('\\'));
}

bool sameValue(ValueKind kind, const QString &a, const QString &b)
{
    if (kind != ValueKind::GameModes)
        return a == b;
    const auto modes = [](const QString &value) {
        const GameModes read = gameModes(value);
        QStringList named = read.unknown;
        for (int mode = 0; mode < GameModeCount; ++mode) {
            if (read.named[size_t(mode)])
                named.append(gameModeWord(mode));
        }
        named.sort();
        named.removeDuplicates();
        return named;
    };
    return modes(a) == modes(b);
}

} // namespace NfoValue
