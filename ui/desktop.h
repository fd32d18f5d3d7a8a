#pragma once

#include <QString>

#include <functional>

// Handing a file to the desktop's default application for its type.
namespace Desktop {

using Handler = std::function<bool(const QString &path)>;

// Asks the desktop to open the file; false when it could not (no program for the file's type).
bool openFile(const QString &path);

// Replaces the desktop (tests); an empty handler restores it.
void setHandler(Handler handler);

} // namespace Desktop
