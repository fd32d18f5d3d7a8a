#pragma once

#include "core/apperror.h"

#include <QString>

#include <optional>

// A description file is the description's text followed by one CR LF. The editor holds each line
// break as "\n"; the file holds them as CR LF. Files edited elsewhere may end their lines with a
// bare LF or CR: the editor shows those as line breaks too, and a description that is saved
// without an edit keeps its file's bytes (the editor writes the file as read; see DescriptionPanel).
namespace DscText {

// The file's text for the editor: every line break (CR LF, LF, CR) becomes "\n", and the one final
// line break that saving adds is dropped, so that opening and saving adds no line.
QString fromFile(const QString &fileText);

// The file's text for the editor's text: CR LF for each line break (LF, CR, CR LF, and the line
// and paragraph separators U+2028 and U+2029), then one final CR LF.
QString toFile(const QString &editorText);

std::optional<AppError> checkStorable(const QString &editorText);

} // namespace DscText
