#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFileDevice;
class QSaveFile;

// Reading and writing whole document files. Failures throw AppError with a description that
// names the file and the reason.
namespace DocumentFile {

extern const QString CRLF;

// The largest file that is read: far above any game file, and small enough that the editor holds
// it as text (twice its size) with room to spare. A larger file is refused, never read in part.
inline constexpr qint64 LargestFile = qint64(256) * 1024 * 1024;

// The whole file as it is stored (only plain files are read: a pipe or a device is refused), at
// most `largest` bytes: a larger file is refused with its size.
QByteArray readBytes(const QString &path, qint64 largest = LargestFile);
// What stands at the path when it is not a plain file: "a folder", "a pipe", "a socket" or "a
// device" (a link is judged by what it leads to); nothing for a plain file or when nothing is there.
std::optional<QString> notPlainFile(const QString &path);
// A path as the bytes the system knows the file by, and back: the file name encoding on Unix (any
// bytes, not always text), UTF-8 on Windows (whose names are UTF-16; its 8-bit encoding, the ANSI
// code page, cannot spell every name).
QByteArray nameOf(const QString &path);
QString pathOf(const QByteArray &name);

// The same for a file named by the bytes the system knows it by, which need not be valid text
// (`shownName` is how messages name it). `seenPlain`: the caller has just seen a plain file there
// (the folder walk), so it is looked at once it is open, not also before.
QByteArray readNamed(const QByteArray &name, const QString &shownName, qint64 largest = LargestFile,
                     bool seenPlain = false);

// The whole file, decoded from the code page, without a UTF-8 byte-order mark.
QString read(const QString &path);
// A file's bytes as text: decoded from the code page, without a UTF-8 byte-order mark.
QString decode(QByteArray bytes);

// What a document remembers of the file it was read from or written to, to tell whether another
// program has written the file since.
struct FileStamp
{
    qint64 size = -1;
    qint64 modifiedMs = 0;  // since the epoch
    QByteArray hash;        // of the bytes
};
// The stamp of the file at `path`, which holds `bytes` now (just read or written).
FileStamp stampOf(const QString &path, const QByteArray &bytes);
// Whether the file at `path` holds other bytes than those stamped (a file that is gone holds
// none to lose: false). The bytes are read only when the size and time leave it open.
bool changedSince(const QString &path, const FileStamp &stamp);

// Opens the file for a safe replace: nothing reaches the path until commit() succeeds, so a failed
// or interrupted save leaves the previous file whole.
// Only a plain file is replaced (a pipe, a device or a folder at the path is refused), and the new
// file keeps the owner and the permissions of the one it replaces, where the system allows.
void openForWriting(QSaveFile &file);
void writeAndCommit(QSaveFile &file, const QByteArray &bytes);
// Writes all the bytes, writing the rest again after a short write (a full disk or a size limit
// cuts a write short without an error); false when a write fails, with the system's error number
// in `cause`.
bool writeWhole(QFileDevice &file, const QByteArray &bytes, int *cause = nullptr);

// The file name without its folder: the part after the last native separator (on Windows, after
// the last "\\" or "/").
QString fileTitleOf(const QString &path);

} // namespace DocumentFile
