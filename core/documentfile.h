#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

// Reading and writing whole document files. Failures throw AppError with a description that
// names the file and the reason.
namespace DocumentFile {

extern const QString CRLF;

// The whole file as it is stored (only plain files are read: a pipe or a device is refused).
QByteArray readBytes(const QString &path);

// The whole file, decoded from the code page, without a UTF-8 byte-order mark.
QString read(const QString &path);
// A file's bytes as text: decoded from the code page, without a UTF-8 byte-order mark.
QString decode(QByteArray bytes);

// Opens the file for a safe replace: nothing reaches the path until commit() succeeds, so a failed
// or interrupted save leaves the previous file whole.
void openForWriting(QSaveFile &file);
void writeAndCommit(QSaveFile &file, const QByteArray &bytes);

// Whether a file is named as one of Brisquel's documents: .nfo or .dsc, in any letter case.
bool isDocumentName(const QString &path);

// The file name without its folder: the part after the last native separator (on Windows, after
// the last "\\" or "/").
QString fileTitleOf(const QString &path);

} // namespace DocumentFile
