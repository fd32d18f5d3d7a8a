#pragma once

#include "formats/apperror.h"

#include <QString>

#include <optional>

// A description file is the description's text followed by one CR LF. The editor holds line
// breaks as "\n"; the file holds them as CR LF.
namespace DscText {

// The file's text for the editor: the one final CR LF that saving adds is dropped, so opening a
// file and saving it unchanged gives the same bytes.
QString fromFile(const QString &fileText);

// The file's text for the editor's text, final CR LF included.
QString toFile(const QString &editorText);

std::optional<AppError> checkStorable(const QString &editorText);

} // namespace DscText
