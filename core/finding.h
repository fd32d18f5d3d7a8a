#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// What the mod check finds: one finding a line of a file and rule, and the findings of a check.
namespace ModCheck {

enum class Severity { Error, Warning };

// How sure a mend of a finding is: safe when its result is certain and it changes nothing else
// (--fix and Fix All apply it), a suggestion when it needs the author's eye (applied when asked).
enum class FixKind { None, Safe, Suggestion };

// `length` bytes of a file at `offset` become `bytes`.
struct ByteEdit
{
    qsizetype offset = 0;
    qsizetype length = 0;
    QByteArray bytes;
};

// The mend of a finding: the bytes it changes in the file checked (the editor shows the mended
// bytes in its fields).
struct Fix
{
    FixKind kind = FixKind::None;
    QString what = {};  // "'Models/Ra.mdl' becomes 'Models\\Ra.mdl'"
    QList<ByteEdit> edits = {};  // in file order, none overlapping
    bool isNone() const { return kind == FixKind::None; }
};

struct Finding
{
    QString path;  // as the file was found under the path given
    int line;      // 1-based
    Severity severity;
    QString text;
    QString key;   // the NFO key of its line (NAME, ETA), empty when the finding is of no one value
    QString rule = {};  // the id of the rule that found it ("eta-range")
    QByteArray name = {};  // the file as the system knows it (its path need not be valid text)
    Fix fix = {};
};

struct Report
{
    QList<Finding> findings;  // file by file, in line order
    int files = 0;            // files checked
    QList<Finding> fixed;     // mended (--fix), each with its fix; `findings` is what is left
    qsizetype fixes = 0;      // how many were mended (a rule's many are counted, not all listed)
    int errors() const;
    int warnings() const;
};

// At most this many findings of one rule in one file are listed; one more finding counts the rest,
// so that a file of millions of bad lines gives a short report in little memory.
inline constexpr int MostFindingsPerRule = 20;
// While a file is mended, far more are made a round, so that a file of many alike findings is
// mended in a few rounds, each a check of the file.
inline constexpr int MostFindingsPerMend = 100000;

// Asked now and then while a large file is checked: false stops the check of the file.
using KeepGoing = std::function<bool()>;

} // namespace ModCheck
