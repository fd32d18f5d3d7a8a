#pragma once

#include "core/finding.h"
#include "core/nfoline.h"
#include "core/nfovalue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>

// The rules of the mod check, each one unit: a stable id that users and CI jobs name it by, its
// severity, a one-line summary, and its check, which makes its findings' texts. They are listed in
// one table (rules()); the check runs each where it applies and counts each on its own, so that
// one rule that fires on every line does not hide another.
namespace ModCheck {

struct Rule;

// Where a rule's findings go: listed up to MostFindingsPerRule a file, the rest counted.
class FindingSink
{
public:
    virtual ~FindingSink() = default;
    virtual void add(const Rule &rule, int line, const QString &text, const QString &key, Fix fix = {}) = 0;
    // Whether a finding of the rule would be listed; if not, it is counted. Saves making the
    // text of a finding that only counts.
    virtual bool lists(const Rule &rule) = 0;
    // Findings of the rule that were not made one by one.
    virtual void omit(const Rule &rule, qsizetype count) = 0;
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

enum class FileKind { Nfo, Description };

// What a rule looks at.
enum class Scope {
    File,     // the file as a whole: whether it can be read
    Bytes,    // the file's bytes, line by line
    Reading,  // an NFO file as its reader took it: its kind, the lines it skipped or stopped at
    Value,    // one value of an NFO field, as its line holds it
};

// Files of a kind found by their name in any letter case under the mod and the game folder, as
// a field names them (relative to the mod, or to the game folder).
using AssetsNamed = std::function<QStringList(AssetKind kind, const QString &fileName)>;

// Everything a rule may look at; each scope fills in its part.
struct Site
{
    FileKind kind = FileKind::Nfo;
    const QByteArray *bytes = nullptr;  // Bytes
    Poll *poll = nullptr;
    const QHash<int, QString> *keys = nullptr;  // Bytes, NFO: the key of each line with a value
    QString gameFolder;  // absolute, "/" separators (empty: none is set)
    bool fixes = true;   // whether findings carry their fixes
    // File
    QString unreadable;  // why the file cannot be read
    QString unwritable;  // why its mended bytes cannot be written
    // Reading
    bool gameNfo = true;
    bool level = true;
    const Nfo::ParseOutcome *outcome = nullptr;
    const QList<NfoField> *fields = nullptr;  // the document kind's fields
    quint64 seen = 0;  // the fields that have a value line, a bit each by their place in `fields`
    // The line a new document of the kind has for each key: KEY="value"
    const QHash<QString, QString> *newLines = nullptr;
    // Value
    NfoField field{};
    QString value;
    QString valuePart;  // the line after its "="
    int line = 0;
    qsizetype valueOffset = 0;  // where the value's bytes start in the file
    AssetsNamed assetsNamed;
    // Whether an asset path, relative to the game folder, names a file of the mod or the game.
    std::function<bool(const QString &relative)> assetFound;
};

struct Rule
{
    const char *id;       // "eta-range"
    Severity severity;
    const char *summary;  // one line, for --list-rules, the help page and SARIF
    Scope scope;
    // Where it applies: for Bytes, the kinds of file; for Value, the fields and values.
    bool (*appliesTo)(const Site &site);
    void (*check)(const Site &site, FindingSink &sink, const Rule &self);
    FixKind fixes = FixKind::None;  // how sure the mends of its findings are (none: it has none)
};

// Every rule, in the order the help page lists them.
const QList<Rule> &rules();
// The rule of that id, or null.
const Rule *ruleById(const QString &id);
// Its position in rules().
int indexOf(const Rule &rule);

} // namespace ModCheck
