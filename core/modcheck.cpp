#include "core/modcheck.h"

#include "core/documentfile.h"
#include "core/episodenfo.h"
#include "core/levelnfo.h"
#include "core/nfokind.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace ModCheck {

namespace {

// The findings of one file, at most `most` of each rule; the rest are counted.
class Findings : public FindingSink
{
public:
    Findings(QString path, const QSet<QString> &ignored, int most = MostFindingsPerRule)
        : m_path(std::move(path)), m_ignored(ignored), m_most(most), m_first(rules().data()), m_rules(rules().size())
    {
    }

    void add(const Rule &rule, int line, const QString &text, const QString &key, Fix fix) override
    {
        Counted &counted = countOf(rule);
        if (counted.listed < m_most) {
            ++counted.listed;
            counted.lastLine = line;
            m_findings.append({m_path, line, rule.severity, text, key, QLatin1String(rule.id), {}, std::move(fix)});
        } else {
            ++counted.omitted;
        }
    }
    bool lists(const Rule &rule) override
    {
        Counted &counted = countOf(rule);
        if (counted.listed < m_most)
            return true;
        ++counted.omitted;
        return false;
    }
    void omit(const Rule &rule, qsizetype count) override { countOf(rule).omitted += count; }

    // Runs the rules of a scope that apply, but those left out.
    void run(Scope scope, const Site &site)
    {
        for (const Rule &rule : rules()) {
            if (rule.scope == scope && rule.appliesTo(site) && (m_ignored.isEmpty() || !m_ignored.contains(QLatin1String(rule.id))))
                rule.check(site, *this, rule);
        }
    }

    // In line order; a rule's count comes after its last listed finding.
    QList<Finding> take()
    {
        for (qsizetype index = 0; index < m_rules.size(); ++index) {
            const Counted *it = &m_rules.at(index);
            if (it->omitted > 0 && it->listed > 0) {
                const Rule &rule = m_first[index];
                // Named by its rule: another rule's finding may end on the same line.
                m_findings.append({m_path, it->lastLine, rule.severity,
                                   QStringLiteral("%1 more %2 findings in this file, not listed")
                                       .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(it->omitted),
                                            QLatin1String(rule.id)),
                                   QString(), QLatin1String(rule.id)});
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
    };
    // A rule's count, by its place in the list: asked for every line of a file.
    Counted &countOf(const Rule &rule) { return m_rules[&rule - m_first]; }

    QString m_path;
    const QSet<QString> &m_ignored;
    int m_most;
    const Rule *m_first;
    QList<Finding> m_findings;
    QList<Counted> m_rules;
};

// The fields of each NFO kind, from its document's own table.
const QList<NfoField> &fieldsOf(NfoKind::Kind kind)
{
    static const QList<NfoField> level = [] {
        QList<NfoField> fields;
        for (const LevelRowInfo &row : LevelNfo::rows())
            fields.append({row.key, row.caption, row.kind, row.asset, row.optional});
        return fields;
    }();
    static const QList<NfoField> episode(EpisodeNfo::fields().begin(), EpisodeNfo::fields().end());
    return kind == NfoKind::Level ? level : episode;
}

const NfoField *fieldOf(const QList<NfoField> &fields, const QString &key)
{
    for (const NfoField &field : fields) {
        if (key == QLatin1String(field.key))
            return &field;
    }
    return nullptr;
}

// The line a new document of the kind has for each key.
const QHash<QString, QString> &newLinesOf(NfoKind::Kind kind)
{
    const auto linesOf = [](const QString &text) {
        QHash<QString, QString> lines;
        Nfo::forEachLine(text, [&lines](const Nfo::Line &line) {
            if (line.hasValuePart)
                lines.insert(line.key, line.text);
            return true;
        });
        return lines;
    };
    static const QHash<QString, QString> level = linesOf(LevelNfo::generate(LevelFields::newDocument()));
    static const QHash<QString, QString> episode = linesOf(EpisodeNfo::generate(EpisodeFields::newDocument()));
    return kind == NfoKind::Level ? level : episode;
}

// Where the value of an NFO line starts in the file's bytes, the line starting at `start`: after
// the first double quote behind its first "=" (the line's end when it has none). "=" and the
// double quote are single bytes in every code page (never a second byte).
qsizetype valueOffsetOf(const QByteArray &bytes, qsizetype start)
{
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0)
        end = bytes.size();
    else if (end > start && bytes.at(end - 1) == '\r')
        --end;
    const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start);
    const qsizetype equals = line.indexOf('=');
    const qsizetype open = equals < 0 ? -1 : line.indexOf('"', equals + 1);
    return open < 0 ? end : start + open + 1;
}

void checkNfo(const QByteArray &bytes, Site &site, Findings &findings)
{
    const QString text = DocumentFile::decode(bytes);
    Poll &poll = *site.poll;
    const QString first = text.isEmpty() ? QString() : Nfo::firstLine(text, QString());
    site.gameNfo = NfoKind::isGameNfo(first);
    if (!site.gameNfo) {
        findings.run(Scope::Reading, site);
        return;
    }
    site.level = NfoKind::byLevelPrefix(first) == NfoKind::Level;
    site.fields = &fieldsOf(site.level ? NfoKind::Level : NfoKind::Episode);
    LevelFields levelFields;
    EpisodeFields episodeFields;
    const auto keepGoing = [&poll] { return !poll.stop(); };
    // The value rules see each line as the reader takes it, in the same pass.
    quint64 seen = 0;  // the fields that have a value line, by their place in the table
    QHash<int, QString> keys;  // the key of each line with a value, for the byte-level rules
    int lineAt = 1;            // the line that starts at `lineStart` in the bytes
    qsizetype lineStart = 0;
    const auto taken = [&](const Nfo::Line &line) {
        const NfoField *field = fieldOf(*site.fields, line.key);
        if (!field || !line.hasValuePart || !line.valuePart.contains(Nfo::Quote))
            return;
        seen |= quint64(1) << (field - site.fields->data());
        for (; lineAt < line.number && lineStart <= bytes.size(); ++lineAt) {
            const qsizetype lf = bytes.indexOf('\n', lineStart);
            lineStart = lf < 0 ? bytes.size() + 1 : lf + 1;
        }
        keys.insert(line.number, line.key);
        site.field = *field;
        site.value = Nfo::valueOf(line);
        site.valuePart = line.valuePart;
        site.line = line.number;
        site.valueOffset = valueOffsetOf(bytes, qMin(lineStart, bytes.size()));
        findings.run(Scope::Value, site);
    };
    const Nfo::ParseOutcome outcome = site.level ? LevelNfo::parse(text, levelFields, keepGoing, taken)
                                                 : EpisodeNfo::parse(text, episodeFields, keepGoing, taken);
    if (outcome.stopped)
        return;
    site.outcome = &outcome;
    site.seen = seen;
    site.newLines = &newLinesOf(site.level ? NfoKind::Level : NfoKind::Episode);
    findings.run(Scope::Reading, site);
    site.keys = &keys;
    findings.run(Scope::Bytes, site);
}

} // namespace

int Report::errors() const
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Finding &f) { return f.severity == Severity::Error; }));
}

int Report::warnings() const { return int(findings.size()) - errors(); }

QList<ModFiles::Entry> filesToCheck(const QStringList &paths, QStringList *missing, const KeepGoing &keepGoing)
{
    return ModFiles::collect(paths, missing, keepGoing);
}

QList<ModFiles::Entry> filesToCheck(const QList<ModFiles::Entry> &given, QStringList *missing)
{
    return ModFiles::collect(given, missing);
}

FileKind kindOf(const QByteArray &name)
{
    return NfoKind::isDescriptionName(QByteArrayView(name)) ? FileKind::Description : FileKind::Nfo;
}

Checker::Checker(Options options) : m_options(std::move(options)) {}

QString Checker::gameFolder() const
{
    return m_options.gameFolder.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(m_options.gameFolder));
}

QStringList Checker::assetsNamed(const QString &path, AssetKind kind, const QString &fileName)
{
    const AssetType &type = assetTypeOf(kind);
    const QString extension = QLatin1String(type.extension);
    // Each folder's files of a kind are listed once a check, by their names case-folded.
    const auto filesOf = [this, &extension](const QString &base) -> const FilesByName & {
        const QString known = base + QLatin1Char('\n') + extension;
        auto it = m_filesOfKind.find(known);
        if (it == m_filesOfKind.end()) {
            static const std::atomic<bool> never{false};
            FilesByName files;
            for (const QString &file : base.isEmpty() ? QStringList() : m_assets.filesEndingIn(base, extension, 100000, never))
                files.insert(file.mid(file.lastIndexOf(QLatin1Char('\\')) + 1).toCaseFolded(), file);
            it = m_filesOfKind.insert(known, files);
        }
        return *it;
    };
    QStringList found;
    const QString folded = fileName.toCaseFolded();
    const auto look = [&](const QString &base, const QString &prefix) {
        const FilesByName &files = filesOf(base);
        for (auto it = files.constFind(folded); it != files.cend() && it.key() == folded; ++it) {
            if (!found.contains(prefix + it.value()))
                found.append(prefix + it.value());
        }
    };
    // Mod files as the mod names them, game files from the game folder ("Models\\…").
    if (!path.isEmpty()) {
        const QString folder = QFileInfo(path).absolutePath();
        auto mod = m_modFolders.find(folder);
        if (mod == m_modFolders.end())
            mod = m_modFolders.insert(folder, AssetIndex::modFolderOf(folder));
        look(*mod, {});
    }
    if (const QString game = gameFolder(); !game.isEmpty())
        look(game + QLatin1Char('/') + QLatin1String(type.gameFolder), QLatin1String(type.gameFolder) + QLatin1Char('\\'));
    return found;
}

const QStringList &Checker::assetFolders(const QString &path)
{
    const QString folder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
    auto known = m_assetFolders.find(folder);
    if (known == m_assetFolders.end()) {
        QStringList folders;
        if (!m_options.gameFolder.isEmpty())
            folders.append(gameFolder());
        for (QString at = folder; !at.isEmpty();) {
            folders.append(at);
            const QString above = QFileInfo(at).path();
            at = above == at ? QString() : above;
        }
        known = m_assetFolders.insert(folder, folders);
    }
    return *known;
}

QList<Finding> Checker::checkFile(const ModFiles::Entry &file, const KeepGoing &keepGoing)
{
    QList<Finding> found;
    std::optional<QByteArray> bytes;
    try {
        if (file.problem)
            throw *file.problem;
        bytes = DocumentFile::readNamed(file.name, file.path, DocumentFile::LargestFile, file.plain);
    } catch (const AppError &error) {
        Findings findings(file.path, m_options.ignored);
        found = fileFindings(file.path, error.description, {}, m_options.ignored);
    }
    if (bytes)
        found = checkBytes(*bytes, kindOf(file.name), file.path, keepGoing);
    // Each finding knows its file by its bytes too: two names may print alike.
    for (Finding &finding : found)
        finding.name = file.name;
    return found;
}

QList<Finding> Checker::checkBytes(const QByteArray &bytes, FileKind kind, const QString &path, const KeepGoing &keepGoing)
{
    Findings findings(path, m_options.ignored, m_mostPerRule);
    Poll poll(keepGoing);
    Site site;
    site.kind = kind;
    site.bytes = &bytes;
    site.poll = &poll;
    const QStringList &folders = assetFolders(path);
    site.assetFound = [this, &folders](const QString &relative) { return m_assets.hasFile(folders, relative); };
    if (m_options.fixes)
        site.assetsNamed = [this, &path](AssetKind asset, const QString &fileName) { return assetsNamed(path, asset, fileName); };
    site.fixes = m_options.fixes;
    site.gameFolder = gameFolder();
    if (kind == FileKind::Description)
        findings.run(Scope::Bytes, site);
    else
        checkNfo(bytes, site, findings);
    return findings.take();
}

QList<Finding> fileFindings(const QString &path, const QString &unreadable, const QString &unwritable,
                            const QSet<QString> &ignored)
{
    Findings findings(path, ignored);
    Site site;
    site.unreadable = unreadable;
    site.unwritable = unwritable;
    findings.run(Scope::File, site);
    return findings.take();
}

QList<Finding> checkFile(const QString &path, const QString &gameFolder)
{
    return Checker({gameFolder, {}}).checkFile(ModFiles::named(path));
}

QList<Finding> checkBytes(const QByteArray &bytes, FileKind kind, const QString &path, const QString &gameFolder,
                          const KeepGoing &keepGoing)
{
    return Checker({gameFolder, {}}).checkBytes(bytes, kind, path, keepGoing);
}

Report check(const QStringList &paths, const Options &options)
{
    return checkFiles(filesToCheck(paths, nullptr), options);
}

Report checkFiles(const QList<ModFiles::Entry> &files, const Options &options, const KeepGoing &keepGoing,
                  const std::function<void(int)> &checked)
{
    Report report;
    Checker checker(options);
    for (const ModFiles::Entry &file : files) {
        QList<Finding> found = checker.checkFile(file, keepGoing);
        if (keepGoing && !keepGoing())
            break;  // a file checked in part is not counted
        report.findings += std::move(found);
        ++report.files;
        if (checked)
            checked(report.files);
    }
    return report;
}

} // namespace ModCheck
