#include "core/modcheck.h"

#include "core/documentfile.h"
#include "core/episodenfo.h"
#include "core/levelnfo.h"
#include "core/nfokind.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace ModCheck {

namespace {

using Findings = QList<Finding>;

struct Asset
{
    AssetKind kind;
    const char *extension;
    const char *what;
};

Asset assetOf(AssetKind kind)
{
    switch (kind) {
    case AssetKind::Model: return {kind, ".mdl", "a model"};
    case AssetKind::Texture: return {kind, ".tex", "a texture"};
    case AssetKind::Movie: return {kind, ".ogv", "a movie"};
    case AssetKind::None: break;
    }
    return {AssetKind::None, "", ""};
}

bool isAbsolute(const QString &value)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    return value.startsWith(QLatin1Char('/')) || value.startsWith(QLatin1Char('\\')) || drive.match(value).hasMatch();
}

// The line breaks of a file that are not CR LF: the first one's line, and what they are.
struct LineEnds
{
    int crlf = 0, lf = 0, cr = 0;
    int firstOddLine = 0;
};

LineEnds lineEnds(const QByteArray &bytes, bool loneCrBreaks)
{
    LineEnds ends;
    int line = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n') {
            ++ends.crlf;
            ++i;
        } else if (c == '\n' || (c == '\r' && loneCrBreaks)) {
            ++(c == '\n' ? ends.lf : ends.cr);
            if (!ends.firstOddLine)
                ends.firstOddLine = line;
        } else {
            continue;
        }
        ++line;
    }
    return ends;
}

void warnLineEnds(const QString &path, const LineEnds &ends, Findings &findings)
{
    if (!ends.firstOddLine)
        return;
    QString what = QStringLiteral("mixed line ends");
    if (!ends.crlf && !ends.cr)
        what = QStringLiteral("LF-only line ends");
    else if (!ends.crlf && !ends.lf)
        what = QStringLiteral("CR-only line ends");
    findings.append({path, ends.firstOddLine, Severity::Warning,
                     what + QStringLiteral(": the game's files end their lines with CR LF")});
}

void checkDescription(const QString &path, const QByteArray &bytes, Findings &findings)
{
    warnLineEnds(path, lineEnds(bytes, true), findings);
    int line = 1;
    int reportedLine = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes.at(i));
        if (c == '\n' || (c == '\r' && !(i + 1 < bytes.size() && bytes.at(i + 1) == '\n'))) {
            ++line;
            continue;
        }
        if ((c < 0x20 && c != '\t' && c != '\r') || c == 0x7f) {
            if (reportedLine != line) {
                findings.append({path, line, Severity::Warning,
                                 QStringLiteral("control character 0x%1 in the text")
                                     .arg(c, 2, 16, QLatin1Char('0'))});
                reportedLine = line;
            }
        }
    }
}

// What an NFO kind's lines may hold: the key of each field, whether the file must have it, and
// the asset it names.
struct Field
{
    QString key;
    bool required;
    AssetKind asset;
};

QList<Field> fieldsOf(bool level)
{
    QList<Field> fields;
    if (level) {
        for (const LevelRowInfo &row : LevelNfo::rows())
            fields.append({QString::fromLatin1(row.key), !row.optional, row.asset});
    } else {
        fields = {{EpisodeNfo::NameKey, true, AssetKind::None}, {EpisodeNfo::ThumbnailKey, true, AssetKind::Texture}};
    }
    return fields;
}

void checkAsset(const Finding &at, const QString &value, const Asset &asset, const QString &gameFolder,
                Findings &findings)
{
    const auto add = [&](Severity severity, const QString &text) {
        findings.append({at.path, at.line, severity, text});
    };
    if (isAbsolute(value)) {
        add(Severity::Error, QStringLiteral("'%1' is an absolute path, which the game cannot resolve: give it "
                                            "relative to the game folder").arg(value));
        return;
    }
    if (value.contains(QLatin1Char('/')))
        add(Severity::Warning, QStringLiteral("'%1' has '/' separators: the game's paths use '\\'").arg(value));
    if (!value.endsWith(QLatin1String(asset.extension), Qt::CaseInsensitive)) {
        add(Severity::Warning, QStringLiteral("'%1' should be %2, a %3 file")
                                   .arg(value, QLatin1String(asset.what), QLatin1String(asset.extension)));
    }
    const QString relative = QString(value).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const auto isFileUnder = [&relative](const QString &folder) {
        return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(relative)).isFile();
    };
    bool found = isFileUnder(gameFolder);
    for (QDir folder = QFileInfo(at.path).absoluteDir(); !found; ) {
        found = isFileUnder(folder.path());
        if (!folder.cdUp())
            break;
    }
    if (!found) {
        add(Severity::Warning,
            QStringLiteral("'%1' not found as a file in the mod or the game folder (it may be in an archive)").arg(value));
    }
}

void checkValue(const Finding &at, const QString &key, const QString &value, Findings &findings)
{
    const auto warn = [&](const QString &text) { findings.append({at.path, at.line, Severity::Warning, text}); };
    if (key == QLatin1String("ETA")) {
        static const QRegularExpression eta(QStringLiteral("^\\d+:\\d+:\\d+$"));
        if (!eta.match(value).hasMatch())
            warn(QStringLiteral("ETA '%1' is not three numbers separated by ':' (hours:minutes:seconds)").arg(value));
    } else if (key == QLatin1String("MODEL_DISTANCE")) {
        bool number = false;
        QLocale::c().toDouble(value, &number);
        if (!value.isEmpty() && !number)
            warn(QStringLiteral("MODEL_DISTANCE '%1' is not a number").arg(value));
    } else if (key == QLatin1String("MAP_TYPE")) {
        for (const QString &piece : value.split(QLatin1Char(';'))) {
            const QString mode = Nfo::trimBlanks(piece);
            if (!mode.isEmpty() && mode != QLatin1String("SINGLE") && mode != QLatin1String("COOP")
                && mode != QLatin1String("DEATHMATCH"))
                warn(QStringLiteral("unknown game mode '%1' in MAP_TYPE (SINGLE, COOP or DEATHMATCH)").arg(mode));
        }
    }
}

void checkNfo(const QString &path, const QByteArray &bytes, const QString &gameFolder, Findings &findings)
{
    const QString text = DocumentFile::decode(bytes);
    const auto error = [&](int line, const QString &message) { findings.append({path, line, Severity::Error, message}); };
    const QString first = text.isEmpty() ? QString() : Nfo::firstLine(text, path);
    if (!NfoKind::isGameNfo(first)) {
        error(1, QStringLiteral("not a game NFO: the first line is neither LEVEL nor EPISODE"));
        return;
    }
    const bool level = NfoKind::fromCommandLineFirstLine(first) == NfoKind::Level;
    LevelFields levelFields;
    EpisodeFields episodeFields;
    const Nfo::ParseOutcome outcome = level ? LevelNfo::parse(text, levelFields) : EpisodeNfo::parse(text, episodeFields);
    for (const Nfo::Notice &notice : outcome.notices) {
        if (notice.kind == Nfo::Notice::WrongKind)
            error(notice.number, QStringLiteral("the other kind's word '%1' in %2 NFO")
                                     .arg(notice.line, level ? QStringLiteral("a Level") : QStringLiteral("an Episode")));
        else
            error(notice.number, QStringLiteral("invalid line, which is ignored: '%1'").arg(Nfo::shownLine(notice.line)));
    }
    if (outcome.error) {
        // The reader's message names the line; the finding has it already.
        static const QRegularExpression lineLabel(QStringLiteral("^line \\d+: ")), lineSubject(QStringLiteral("^line \\d+ "));
        QString message = outcome.error->description;
        message.remove(lineLabel).replace(lineSubject, QStringLiteral("the line "));
        error(outcome.errorLine, message + QStringLiteral(": reading stops here"));
    }

    const QList<Field> fields = fieldsOf(level);
    QSet<QString> seen;
    Nfo::forEachLine(text, [&](const Nfo::Line &line) {
        if (outcome.error && line.number >= outcome.errorLine)
            return false;
        const auto field = std::find_if(fields.begin(), fields.end(), [&line](const Field &f) { return f.key == line.key; });
        const qsizetype open = line.valuePart.indexOf(Nfo::Quote);
        if (field == fields.end() || !line.hasValuePart || open < 0)
            return true;
        seen.insert(field->key);
        const Finding at{path, line.number, Severity::Error, {}};
        const qsizetype close = line.valuePart.indexOf(Nfo::Quote, open + 1);
        if (close >= 0 && !line.valuePart.mid(close + 1).trimmed().isEmpty()) {
            error(line.number, QStringLiteral("the value ends at its second double quote; '%1' after it is lost")
                                   .arg(line.valuePart.mid(close + 1)));
        }
        const QString value = Nfo::valueOf(line);
        if (field->asset != AssetKind::None && !value.isEmpty())
            checkAsset(at, value, assetOf(field->asset), gameFolder, findings);
        checkValue(at, field->key, value, findings);
        return true;
    });
    if (!outcome.error) {
        for (const Field &field : fields) {
            if (field.required && !seen.contains(field.key))
                error(1, QStringLiteral("the %1 line is missing, and the game needs it").arg(field.key));
        }
    }
    warnLineEnds(path, lineEnds(bytes, false), findings);
}

} // namespace

int Report::errors() const
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Finding &f) { return f.severity == Severity::Error; }));
}

int Report::warnings() const { return int(findings.size()) - errors(); }

QStringList filesToCheck(const QStringList &paths, QStringList *unreadable)
{
    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isFile() && info.isReadable()) {
            files.append(path);
        } else if (info.isDir() && info.isReadable()) {
            QStringList found;
            QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString file = it.next();
                if (DocumentFile::isDocumentName(file))
                    found.append(file);
            }
            found.sort();
            files += found;
        } else if (unreadable) {
            unreadable->append(path);
        }
    }
    return files;
}

QList<Finding> checkFile(const QString &path, const QString &gameFolder)
{
    Findings findings;
    QByteArray bytes;
    try {
        bytes = DocumentFile::readBytes(path);
    } catch (const AppError &error) {
        findings.append({path, 1, Severity::Error, error.description});
        return findings;
    }
    if (path.endsWith(QLatin1String(".dsc"), Qt::CaseInsensitive))
        checkDescription(path, bytes, findings);
    else
        checkNfo(path, bytes, gameFolder, findings);
    std::stable_sort(findings.begin(), findings.end(), [](const Finding &a, const Finding &b) { return a.line < b.line; });
    return findings;
}

Report check(const QStringList &paths, const QString &gameFolder)
{
    return checkFiles(filesToCheck(paths, nullptr), gameFolder);
}

Report checkFiles(const QStringList &files, const QString &gameFolder)
{
    Report report;
    for (const QString &file : files) {
        report.findings += checkFile(file, gameFolder);
        ++report.files;
    }
    return report;
}

QString compilerLine(const Finding &finding)
{
    return QStringLiteral("%1:%2: %3: %4")
        .arg(finding.path)
        .arg(finding.line)
        .arg(finding.severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"), finding.text);
}

QString summary(const Report &report)
{
    const auto counted = [](int n, const char *one, const char *many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    return counted(report.files, "file checked", "files checked") + QStringLiteral(", ")
           + counted(report.errors(), "error", "errors") + QStringLiteral(", ")
           + counted(report.warnings(), "warning", "warnings");
}

QByteArray json(const Report &report)
{
    QJsonArray findings;
    for (const Finding &f : report.findings) {
        findings.append(QJsonObject{{QStringLiteral("path"), f.path},
                                    {QStringLiteral("line"), f.line},
                                    {QStringLiteral("severity"), f.severity == Severity::Error ? QStringLiteral("error")
                                                                                               : QStringLiteral("warning")},
                                    {QStringLiteral("text"), f.text}});
    }
    const QJsonObject document{{QStringLiteral("files"), report.files},
                               {QStringLiteral("errors"), report.errors()},
                               {QStringLiteral("warnings"), report.warnings()},
                               {QStringLiteral("findings"), findings}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

} // namespace ModCheck
