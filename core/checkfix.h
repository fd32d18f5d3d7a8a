#pragma once

#include "core/finding.h"
#include "core/modcheck.h"

#include <QByteArray>
#include <QList>
#include <QSet>

// Mending what the check finds: the fixes of a file's findings applied to its bytes, changing no
// other byte; a file mended in place; and what a mend changes, as a unified diff.
namespace ModCheck {

// Which fixes are applied: the safe ones, or the suggestions too.
enum class FixLevel { Safe, Suggestions };
bool isApplied(const Fix &fix, FixLevel level);

// The bytes with the fixes of `level` of the findings applied. A fix is applied whole or not at
// all: one whose edits meet those of a fix applied before it waits for the next round (once its
// value is checked again). `applied` is told the findings whose fixes were applied.
QByteArray applyFixes(const QByteArray &bytes, const QList<Finding> &findings, FixLevel level, QList<Finding> *applied);

// A file checked and mended.
struct FixedFile
{
    QByteArray before;     // as read (empty when it cannot be)
    QByteArray after;      // mended
    QList<Finding> found;  // what the check finds in the file as read
    // The findings mended, each with its fix: up to MostFindingsPerRule of a rule, then one that
    // counts the rest; `fixes` counts them all.
    QList<Finding> fixed;
    qsizetype fixes = 0;
    QList<Finding> left;   // what the check finds in the mended bytes
    bool changed() const { return before != after; }
};

// Checks the file and mends it in rounds, each on the bytes the last one made, until no fix of
// `level` is left (a mend can make another one possible; a rule lists a few findings a round).
// Nothing is written.
FixedFile fixFile(Checker &checker, const ModFiles::Entry &file, FixLevel level, const KeepGoing &keepGoing = {});

// Writes the mended bytes over the file: whole or not at all (the old file stays whole), keeping
// its permissions. A file that is read-only or cannot be written is left as it was, and an
// `unwritable-file` finding in `left` says why.
void writeFixed(FixedFile &fixed, const ModFiles::Entry &file, const QSet<QString> &ignored);

// What the mend changes, as `diff -u` prints it and `git apply` and `patch -p1` read it:
// "--- a/NAME" and "+++ b/NAME", then hunks with three lines of context; the bytes of each line
// as they are (a CR before its LF included). Empty when nothing changes.
QByteArray unifiedDiff(const QByteArray &name, const QByteArray &before, const QByteArray &after);

} // namespace ModCheck
