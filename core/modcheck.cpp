#include "core/modcheck.h"

#include "core/codepage.h"
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
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace ModCheck {

namespace {

// What the check can find; each is counted on its own, so that one rule that fires on every line
// does not hide the others.
enum class Rule { Unreadable, LineEnds, ControlCharacter, LooksUtf8, NotGameNfo, WrongKind, InvalidLine,
                  ReadingStops, AfterQuote, AbsolutePath, Slashes, Extension, NotFound, EtaFormat, EtaRange,
                  Distance, GameMode, YesNo, EmptyName, Missing };

// Each rule's name, by which a finding that counts others says which ones it counts.
const char *nameOf(Rule rule)
{
    static const char *const names[] = {
        "unreadable-file", "line-ends",       "control-character", "utf8-text",      "not-game-nfo",
        "other-kind-word", "ignored-line",    "reading-stops",     "text-after-quote", "absolute-path",
        "slash-separator", "asset-kind",      "asset-not-found",   "eta-format",     "eta-range",
        "distance-number", "game-mode",       "yes-no",            "empty-name",     "missing-line"};
    return names[static_cast<int>(rule)];
}

// The findings of one file, at most MostFindingsPerRule of each rule; the rest are counted.
class Findings
{
public:
    explicit Findings(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    void add(Rule rule, int line, Severity severity, const QString &text, const QString &key = {})
    {
        Counted &counted = m_rules[rule];
        if (counted.listed < MostFindingsPerRule) {
            ++counted.listed;
            counted.lastLine = line;
            counted.severity = severity;
            m_findings.append({m_path, line, severity, text, key, QLatin1String(nameOf(rule))});
        } else {
            ++counted.omitted;
        }
    }
    void error(Rule rule, int line, const QString &text, const QString &key = {})
    {
        add(rule, line, Severity::Error, text, key);
    }
    void warn(Rule rule, int line, const QString &text, const QString &key = {})
    {
        add(rule, line, Severity::Warning, text, key);
    }
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
                // Named by its rule: another rule's finding may end on the same line.
                m_findings.append({m_path, it->lastLine, it->severity,
                                   QStringLiteral("%1 more %2 findings in this file, not listed")
                                       .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(it->omitted),
                                            QLatin1String(nameOf(it.key()))),
                                   QString(), QLatin1String(nameOf(it.key()))});
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

// The length of the UTF-8 sequence of two to four bytes that starts at `i`, or 0: a lead byte
// and its continuation bytes, no overlong or surrogate forms. A single-byte text rarely holds one
// (an accented letter is followed by a plain one), a UTF-8 file holds one for each such letter.
int utf8SequenceAt(const QByteArray &bytes, qsizetype i)
{
    const auto at = [&bytes](qsizetype k) { return k < bytes.size() ? static_cast<unsigned char>(bytes.at(k)) : 0; };
    const unsigned char lead = at(i);
    int length = 0;
    unsigned char low = 0x80, high = 0xbf;  // the second byte's range
    if (lead >= 0xc2 && lead <= 0xdf)
        length = 2;
    else if (lead >= 0xe0 && lead <= 0xef)
        length = 3, low = lead == 0xe0 ? 0xa0 : 0x80, high = lead == 0xed ? 0x9f : 0xbf;
    else if (lead >= 0xf0 && lead <= 0xf4)
        length = 4, low = lead == 0xf0 ? 0x90 : 0x80, high = lead == 0xf4 ? 0x8f : 0xbf;
    else
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xbf)
            return 0;
    }
    return length;
}

// Lines whose bytes hold UTF-8 sequences: text saved as UTF-8 by another editor, which the game,
// reading the file in its single-byte code page, shows as "CafÃ©".
void warnUtf8(const QByteArray &bytes, bool loneCrBreaks, Findings &findings, Poll &poll,
              const QHash<int, QString> &keys = {})
{
    if (!CodePage::isSingleByte())
        return;
    int line = 1;
    int reportedLine = 0;
    for (qsizetype i = 0; i < bytes.size() && !poll.stop(); ++i) {
        const char c = bytes.at(i);
        if (c == '\n' || (c == '\r' && loneCrBreaks && !(i + 1 < bytes.size() && bytes.at(i + 1) == '\n'))) {
            ++line;
            continue;
        }
        const int length = static_cast<unsigned char>(c) >= 0xc2 ? utf8SequenceAt(bytes, i) : 0;
        if (length == 0)
            continue;
        if (reportedLine != line && findings.lists(Rule::LooksUtf8)) {
            findings.warn(Rule::LooksUtf8, line,
                          QStringLiteral("'%1' looks like UTF-8 text: the game reads the file in %2 and shows '%1' "
                                         "as it stands here, not '%3'")
                              .arg(CodePage::decode(bytes.mid(i, length)), CodePage::name(),
                                   QString::fromUtf8(bytes.mid(i, length))),
                          keys.value(line));
        }
        reportedLine = line;
        i += length - 1;
    }
}

void checkDescription(const QByteArray &bytes, Findings &findings, Poll &poll)
{
    warnLineEnds(lineEnds(bytes, true, poll), findings);
    warnUtf8(bytes, true, findings, poll);
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
    const auto add = [&](Rule rule, Severity severity, const QString &text) {
        findings.add(rule, at.line, severity, text, at.key);
    };
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
    for (QDir folder = QFileInfo(at.path).absoluteDir(); !found && !at.path.isEmpty();) {
        found = isFileUnder(folder.path());
        if (!folder.cdUp())
            break;
    }
    if (!found) {
        add(Rule::NotFound, Severity::Warning,
            QStringLiteral("'%1' not found as a file in the mod or the game folder (it may be in an archive)").arg(value));
    }
}

void checkValue(const Finding &at, const QString &value, Findings &findings)
{
    const QString &key = at.key;
    const auto warn = [&](Rule rule, const QString &text) { findings.warn(rule, at.line, text, key); };
    if (key == QLatin1String("ETA")) {
        static const QRegularExpression eta(QStringLiteral("^\\d+:(\\d+):(\\d+)$"));
        const QRegularExpressionMatch parts = eta.match(value);
        if (!parts.hasMatch()) {
            warn(Rule::EtaFormat, QStringLiteral("ETA '%1' is not three numbers separated by ':' (hours:minutes:seconds)").arg(value));
        } else if (parts.captured(1).toLongLong() > 59 || parts.captured(2).toLongLong() > 59) {
            warn(Rule::EtaRange, QStringLiteral("ETA '%1' has %2 over 59").arg(value, parts.captured(1).toLongLong() > 59
                                                                                 ? QStringLiteral("minutes")
                                                                                 : QStringLiteral("seconds")));
        }
    } else if (key == QLatin1String("LOCKED") || key == QLatin1String("MODEL_ROTATE")) {
        if (value != QLatin1String("YES") && value != QLatin1String("NO"))
            warn(Rule::YesNo, QStringLiteral("%1 '%2' is neither YES nor NO").arg(key, value));
    } else if (key == QLatin1String("NAME")) {
        if (Nfo::trimBlanks(value).isEmpty())
            warn(Rule::EmptyName, QStringLiteral("NAME is empty: the game lists it without a name"));
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
    const auto error = [&](Rule rule, int line, const QString &message, const QString &key = {}) {
        findings.error(rule, line, message, key);
    };
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
    QHash<int, QString> keys;  // the key of each line with a value, for the byte-level rules
    Nfo::forEachLine(text, [&](const Nfo::Line &line) {
        if ((outcome.error && line.number >= outcome.error->line) || poll.stop())
            return false;
        const auto field = std::find_if(fields.begin(), fields.end(), [&line](const Field &f) { return f.key == line.key; });
        const qsizetype open = line.valuePart.indexOf(Nfo::Quote);
        if (field == fields.end() || !line.hasValuePart || open < 0)
            return true;
        seen.insert(field->key);
        const Finding at{findings.path(), line.number, Severity::Error, {}, field->key};
        const qsizetype close = line.valuePart.indexOf(Nfo::Quote, open + 1);
        if (close >= 0 && !line.valuePart.mid(close + 1).trimmed().isEmpty()) {
            error(Rule::AfterQuote, line.number, QStringLiteral("the value ends at its second double quote; '%1' after it is lost")
                                   .arg(line.valuePart.mid(close + 1)), field->key);
        }
        const QString value = Nfo::valueOf(line);
        if (field->asset != AssetKind::None && !value.isEmpty())
            checkAsset(at, value, assetTypeOf(field->asset), gameFolder, findings);
        checkValue(at, value, findings);
        keys.insert(line.number, field->key);
        return true;
    });
    if (!outcome.error && !poll.stopped()) {
        for (const Field &field : fields) {
            if (field.required && !seen.contains(field.key))
                error(Rule::Missing, 1, QStringLiteral("the %1 line is missing, and the game needs it").arg(field.key));
        }
    }
    warnLineEnds(lineEnds(bytes, false, poll), findings);
    warnUtf8(bytes, false, findings, poll, keys);
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
        else if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator || u == 0x85
                 || (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069))  // and what reorders a line
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

QList<ModFiles::Entry> filesToCheck(const QList<ModFiles::Entry> &given, QStringList *missing)
{
    return ModFiles::collect(given, missing);
}

QList<Finding> checkFile(const ModFiles::Entry &file, const QString &gameFolder, const KeepGoing &keepGoing)
{
    QList<Finding> found;
    std::optional<QByteArray> bytes;
    try {
        if (file.problem)
            throw *file.problem;
        bytes = DocumentFile::readNamed(file.name, file.path);
    } catch (const AppError &error) {
        Findings findings(file.path);
        findings.error(Rule::Unreadable, 1, error.description);
        found = findings.take();
    }
    if (bytes) {
        const bool description = file.name.toLower().endsWith(".dsc");
        found = checkBytes(*bytes, description ? FileKind::Description : FileKind::Nfo, file.path, gameFolder, keepGoing);
    }
    // Each finding knows its file by its bytes too: two names may print alike.
    for (Finding &finding : found)
        finding.name = file.name;
    return found;
}

QList<Finding> checkBytes(const QByteArray &bytes, FileKind kind, const QString &path, const QString &gameFolder,
                          const KeepGoing &keepGoing)
{
    Findings findings(path);
    Poll poll(keepGoing);
    if (kind == FileKind::Description)
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

QString escapedText(const QString &text) { return escaped(text); }

QString shownPath(const QString &path) { return escaped(QDir::toNativeSeparators(path)); }

QString compilerLine(const Finding &finding)
{
    return QStringLiteral("%1:%2: %3: %4")
        .arg(shownPath(finding.path), QString::number(finding.line),
             finding.severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"),
             shownText(finding));
}

QString shownText(const Finding &finding) { return escaped(finding.text); }

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
