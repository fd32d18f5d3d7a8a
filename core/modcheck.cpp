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
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace ModCheck {

namespace {

// What the check can find; each is counted on its own, so that one rule that fires on every line
// does not hide the others.
enum class Rule { Unreadable, LineEnds, ControlCharacter, NotGameNfo, WrongKind, InvalidLine, ReadingStops,
                  AfterQuote, AbsolutePath, Slashes, Extension, NotFound, Eta, Distance, GameMode, Missing };

// The findings of one file, at most MostFindingsPerRule of each rule; the rest are counted.
class Findings
{
public:
    explicit Findings(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    void add(Rule rule, int line, Severity severity, const QString &text)
    {
        Counted &counted = m_rules[rule];
        if (counted.listed < MostFindingsPerRule) {
            ++counted.listed;
            counted.lastLine = line;
            counted.severity = severity;
            m_findings.append({m_path, line, severity, text});
        } else {
            ++counted.omitted;
        }
    }
    void error(Rule rule, int line, const QString &text) { add(rule, line, Severity::Error, text); }
    void warn(Rule rule, int line, const QString &text) { add(rule, line, Severity::Warning, text); }
    // Findings of the rule that were not made one by one (the reader keeps only the first few).
    void omit(Rule rule, qsizetype count) { m_rules[rule].omitted += count; }
    // Whether a finding of the rule would be listed; if not, it is counted. Saves making the text
    // of a finding that only counts.
    bool lists(Rule rule)
    {
        Counted &counted = m_rules[rule];
        if (counted.listed < MostFindingsPerRule)
            return true;
        ++counted.omitted;
        return false;
    }

    // In line order; a rule's count comes after its last listed finding.
    QList<Finding> take()
    {
        for (auto it = m_rules.cbegin(); it != m_rules.cend(); ++it) {
            if (it->omitted > 0 && it->listed > 0) {
                m_findings.append({m_path, it->lastLine, it->severity,
                                   QStringLiteral("%1 more like the finding above in this file, not listed")
                                       .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(it->omitted))});
            }
        }
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding &a, const Finding &b) { return a.line < b.line; });
        return std::move(m_findings);
    }

private:
    struct Counted
    {
        int listed = 0;
        qsizetype omitted = 0;
        int lastLine = 0;
        Severity severity = Severity::Warning;
    };
    QString m_path;
    QList<Finding> m_findings;
    QMap<Rule, Counted> m_rules;
};

// Asks `keepGoing` once in so many steps of a long loop.
class Poll
{
public:
    explicit Poll(const KeepGoing &keepGoing) : m_keepGoing(keepGoing) {}
    bool stop()
    {
        if (!m_keepGoing || ++m_steps % 65536 != 0)
            return m_stopped;
        m_stopped = m_stopped || !m_keepGoing();
        return m_stopped;
    }
    bool stopped() const { return m_stopped; }

private:
    const KeepGoing &m_keepGoing;
    quint64 m_steps = 0;
    bool m_stopped = false;
};

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

LineEnds lineEnds(const QByteArray &bytes, bool loneCrBreaks, Poll &poll)
{
    LineEnds ends;
    int line = 1;
    for (qsizetype i = 0; i < bytes.size() && !poll.stop(); ++i) {
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

void warnLineEnds(const LineEnds &ends, Findings &findings)
{
    if (!ends.firstOddLine)
        return;
    QString what = QStringLiteral("mixed line ends");
    if (!ends.crlf && !ends.cr)
        what = QStringLiteral("LF-only line ends");
    else if (!ends.crlf && !ends.lf)
        what = QStringLiteral("CR-only line ends");
    findings.warn(Rule::LineEnds, ends.firstOddLine, what + QStringLiteral(": the game's files end their lines with CR LF"));
}

void checkDescription(const QByteArray &bytes, Findings &findings, Poll &poll)
{
    warnLineEnds(lineEnds(bytes, true, poll), findings);
    int line = 1;
    int reportedLine = 0;
    for (qsizetype i = 0; i < bytes.size() && !poll.stop(); ++i) {
        const auto c = static_cast<unsigned char>(bytes.at(i));
        if (c == '\n' || (c == '\r' && !(i + 1 < bytes.size() && bytes.at(i + 1) == '\n'))) {
            ++line;
            continue;
        }
        if ((c < 0x20 && c != '\t' && c != '\r') || c == 0x7f) {
            if (reportedLine != line) {
                reportedLine = line;
                if (findings.lists(Rule::ControlCharacter))
                    findings.warn(Rule::ControlCharacter, line,
                                  QStringLiteral("control character 0x%1 in the text").arg(c, 2, 16, QLatin1Char('0')));
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

void checkAsset(const Finding &at, const QString &value, const AssetType &asset, const QString &gameFolder,
                Findings &findings)
{
    const auto add = [&](Rule rule, Severity severity, const QString &text) { findings.add(rule, at.line, severity, text); };
    if (isAbsolute(value)) {
        add(Rule::AbsolutePath, Severity::Error, QStringLiteral("'%1' is an absolute path, which the game cannot resolve: give it "
                                            "relative to the game folder").arg(value));
        return;
    }
    if (value.contains(QLatin1Char('/')))
        add(Rule::Slashes, Severity::Warning, QStringLiteral("'%1' has '/' separators: the game's paths use '\\'").arg(value));
    if (!value.endsWith(QLatin1String(asset.extension), Qt::CaseInsensitive)) {
        add(Rule::Extension, Severity::Warning, QStringLiteral("'%1' should be %2, a %3 file")
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
        add(Rule::NotFound, Severity::Warning,
            QStringLiteral("'%1' not found as a file in the mod or the game folder (it may be in an archive)").arg(value));
    }
}

void checkValue(const Finding &at, const QString &key, const QString &value, Findings &findings)
{
    const auto warn = [&](Rule rule, const QString &text) { findings.warn(rule, at.line, text); };
    if (key == QLatin1String("ETA")) {
        static const QRegularExpression eta(QStringLiteral("^\\d+:\\d+:\\d+$"));
        if (!eta.match(value).hasMatch())
            warn(Rule::Eta, QStringLiteral("ETA '%1' is not three numbers separated by ':' (hours:minutes:seconds)").arg(value));
    } else if (key == QLatin1String("MODEL_DISTANCE")) {
        bool number = false;
        QLocale::c().toDouble(value, &number);
        if (!value.isEmpty() && !number)
            warn(Rule::Distance, QStringLiteral("MODEL_DISTANCE '%1' is not a number").arg(value));
    } else if (key == QLatin1String("MAP_TYPE")) {
        for (const QString &piece : value.split(QLatin1Char(';'))) {
            const QString mode = Nfo::trimBlanks(piece);
            if (!mode.isEmpty() && mode != QLatin1String("SINGLE") && mode != QLatin1String("COOP")
                && mode != QLatin1String("DEATHMATCH"))
                warn(Rule::GameMode, QStringLiteral("unknown game mode '%1' in MAP_TYPE (SINGLE, COOP or DEATHMATCH)").arg(mode));
        }
    }
}

void checkNfo(const QByteArray &bytes, const QString &gameFolder, Findings &findings, Poll &poll)
{
    const QString text = DocumentFile::decode(bytes);
    const auto error = [&](Rule rule, int line, const QString &message) { findings.error(rule, line, message); };
    const QString first = text.isEmpty() ? QString() : Nfo::firstLine(text, findings.path());
    if (!NfoKind::isGameNfo(first)) {
        error(Rule::NotGameNfo, 1, QStringLiteral("not a game NFO: the first line is neither LEVEL nor EPISODE"));
        return;
    }
    const bool level = NfoKind::byLevelPrefix(first) == NfoKind::Level;
    LevelFields levelFields;
    EpisodeFields episodeFields;
    const auto keepGoing = [&poll] { return !poll.stop(); };
    const Nfo::ParseOutcome outcome =
        level ? LevelNfo::parse(text, levelFields, keepGoing) : EpisodeNfo::parse(text, episodeFields, keepGoing);
    if (outcome.stopped)
        return;
    for (const Nfo::Notice &notice : outcome.notices) {
        if (notice.kind == Nfo::Notice::WrongKind)
            error(Rule::WrongKind, notice.number, QStringLiteral("the other kind's word '%1' in %2 NFO")
                                     .arg(notice.line, level ? QStringLiteral("a Level") : QStringLiteral("an Episode")));
        else
            error(Rule::InvalidLine, notice.number,
                  QStringLiteral("invalid line, which is ignored: '%1'").arg(Nfo::shownLine(notice.line)));
    }
    // The reader keeps the first few notices; the others are counted with the invalid lines.
    findings.omit(Rule::InvalidLine, outcome.noticeCount - outcome.notices.size());
    if (outcome.error)
        error(Rule::ReadingStops, outcome.error->line, outcome.error->description + QStringLiteral(": reading stops here"));

    const QList<Field> fields = fieldsOf(level);
    QSet<QString> seen;
    Nfo::forEachLine(text, [&](const Nfo::Line &line) {
        if ((outcome.error && line.number >= outcome.error->line) || poll.stop())
            return false;
        const auto field = std::find_if(fields.begin(), fields.end(), [&line](const Field &f) { return f.key == line.key; });
        const qsizetype open = line.valuePart.indexOf(Nfo::Quote);
        if (field == fields.end() || !line.hasValuePart || open < 0)
            return true;
        seen.insert(field->key);
        const Finding at{findings.path(), line.number, Severity::Error, {}};
        const qsizetype close = line.valuePart.indexOf(Nfo::Quote, open + 1);
        if (close >= 0 && !line.valuePart.mid(close + 1).trimmed().isEmpty()) {
            error(Rule::AfterQuote, line.number, QStringLiteral("the value ends at its second double quote; '%1' after it is lost")
                                   .arg(line.valuePart.mid(close + 1)));
        }
        const QString value = Nfo::valueOf(line);
        if (field->asset != AssetKind::None && !value.isEmpty())
            checkAsset(at, value, assetTypeOf(field->asset), gameFolder, findings);
        checkValue(at, field->key, value, findings);
        return true;
    });
    if (!outcome.error && !poll.stopped()) {
        for (const Field &field : fields) {
            if (field.required && !seen.contains(field.key))
                error(Rule::Missing, 1, QStringLiteral("the %1 line is missing, and the game needs it").arg(field.key));
        }
    }
    warnLineEnds(lineEnds(bytes, false, poll), findings);
}

// Control characters as escapes: a finding is one line, and nothing in it reaches a terminal raw.
QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\r')
            out += QLatin1String("\\r");
        else if (u == '\t')
            out += QLatin1String("\\t");
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator || u == 0x85)
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace

int Report::errors() const
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Finding &f) { return f.severity == Severity::Error; }));
}

int Report::warnings() const { return int(findings.size()) - errors(); }

QList<ModFiles::Entry> filesToCheck(const QStringList &paths, QStringList *missing)
{
    return ModFiles::collect(paths, missing);
}

QList<Finding> checkFile(const ModFiles::Entry &file, const QString &gameFolder, const KeepGoing &keepGoing)
{
    Findings findings(file.path);
    QByteArray bytes;
    try {
        if (file.problem)
            throw *file.problem;
        bytes = DocumentFile::readNamed(file.name, file.path);
    } catch (const AppError &error) {
        findings.error(Rule::Unreadable, 1, error.description);
        return findings.take();
    }
    Poll poll(keepGoing);
    if (file.name.toLower().endsWith(".dsc"))
        checkDescription(bytes, findings, poll);
    else
        checkNfo(bytes, gameFolder, findings, poll);
    return findings.take();
}

QList<Finding> checkFile(const QString &path, const QString &gameFolder)
{
    return checkFile(ModFiles::named(path), gameFolder);
}

Report check(const QStringList &paths, const QString &gameFolder)
{
    return checkFiles(filesToCheck(paths, nullptr), gameFolder);
}

Report checkFiles(const QList<ModFiles::Entry> &files, const QString &gameFolder)
{
    Report report;
    for (const ModFiles::Entry &file : files) {
        report.findings += checkFile(file, gameFolder);
        ++report.files;
    }
    return report;
}

QString compilerLine(const Finding &finding)
{
    return QStringLiteral("%1:%2: %3: %4")
        .arg(escaped(QDir::toNativeSeparators(finding.path)), QString::number(finding.line),
             finding.severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"),
             escaped(finding.text));
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
        findings.append(QJsonObject{{QStringLiteral("path"), QDir::toNativeSeparators(f.path)},
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
