#pragma once

#include "core/finding.h"

#include <QByteArray>
#include <QString>

// How the findings of a check are written for their readers: people and editors (the compiler
// format), scripts (JSON), code-scanning tools (SARIF 2.1.0) and GitHub's runner (workflow
// commands). No name or value can forge a line or reach a terminal raw in any of them.
namespace ModCheck {

// The page that explains each rule, by the rule's id as the anchor.
extern const char *const RulesHelpAddress;

// "path:line: error: text [rule-id]", as compilers write it and editors read it: always one line,
// with the control characters of the path and the text written as escapes (\n, \x1b), so that no
// name or value can make a line of its own or reach a terminal as a command.
QString compilerLine(const Finding &finding);
// "path:line: fixed: what [rule-id]", for a finding that was mended.
QString fixedLine(const Finding &finding);
// Any text as compilerLine writes it: control characters and the characters that reorder a line
// as escapes, so that it stays one line and reaches a terminal as text.
QString escapedText(const QString &text);
// A path as compilerLine writes it: native separators, control characters and the characters
// that reorder a line (right-to-left overrides) as escapes.
QString shownPath(const QString &path);
// "1 error", "2 errors": a count and its noun, one or many.
QString counted(qsizetype n, const char *one, const char *many);
// "3 files checked, 1 error, 2 warnings" (", 4 fixed" after a mend)
QString summary(const Report &report);
// The report as one JSON document: files, errors, warnings and the findings, each with its fix
// (and the findings mended, after a mend).
QByteArray json(const Report &report);
// The report as a SARIF 2.1.0 log: the tool, its rules and a result a finding, each file named
// relative to `base` (the folder checked; empty: as the finding names it), with its fix as the
// regions of bytes it replaces and their new text.
QByteArray sarif(const Report &report, const QString &version, const QString &base);
// One GitHub workflow command a finding ("::error file=…,line=…,title=rule-id::text"), then the
// summary as a notice.
QString githubCommands(const Report &report);
// "rule-id  error    summary", one rule a line.
QString ruleList();

} // namespace ModCheck
