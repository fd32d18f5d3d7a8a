#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The per-user settings store, addressed by section and key under the program title. A key never
// written reads as the default that the reader supplies.
namespace SettingsStore {

QString read(const QString &section, const QString &key, const QString &defaultValue);
// Stores the value at once. Throws AppError (FileAccess) naming the settings file and the reason
// when the store cannot be written.
void write(const QString &section, const QString &key, const QString &value);
// A list of texts under one key (none stored: an empty list).
QStringList readList(const QString &section, const QString &key);
void writeList(const QString &section, const QString &key, const QStringList &values);

// The name of a section's key in a QSettings store: "section/key".
QString address(const QString &section, const QString &key);

// Where the store keeps its values: a file, or on Windows a registry key.
QString location();

// Why the store cannot be used at all (its file is a pipe, a folder, a device), as the user is told
// once: its keys then read as their defaults, and writes are refused.
std::optional<QString> unusable();

} // namespace SettingsStore
