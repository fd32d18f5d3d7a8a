#pragma once

#include <QString>
#include <QStringList>

namespace CommandLine {

// The whole argument text after the program name, unaltered. On Windows that is the raw command
// line; elsewhere the launcher has split it into words, which are joined again with single
// blanks, so a path with blanks passed unquoted arrives whole.
QString argumentText(const QStringList &arguments);

} // namespace CommandLine
