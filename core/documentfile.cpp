#include "core/documentfile.h"

#include "core/apperror.h"
#include "core/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace DocumentFile {

const QString CRLF = QStringLiteral("\r\n");

namespace {
QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// Why a write failed, in the user's words where the system's error is a common one.
QString reason(const QFileDevice &file, int cause)
{
    switch (cause) {
    case ENOSPC: return QStringLiteral("the disk is full");
    case EFBIG: return QStringLiteral("the file is too large");
#ifdef EDQUOT
    case EDQUOT: return QStringLiteral("the disk quota is used up");
#endif
    default: break;
    }
    if (file.error() == QFileDevice::ResourceError)
        return QStringLiteral("the disk is full");
    return file.errorString();
}
}

QByteArray readBytes(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError{AppError::FileNotFound, QStringLiteral("File not found: '%1'").arg(shown(path))};
    if (info.isDir())
        throw AppError{AppError::FileAccess,
                       QStringLiteral("'%1' is a folder, not a file").arg(shown(path))};
    // A pipe would wait for a writer forever and a device can be endless: only plain files are read.
    if (!info.isFile())
        throw AppError{AppError::FileAccess,
                       QStringLiteral("'%1' is not a plain file").arg(shown(path))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError{AppError::FileAccess, QStringLiteral("Cannot open '%1' for reading: %2")
                                                 .arg(shown(path), file.errorString())};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError{AppError::DeviceError,
                       QStringLiteral("Cannot read '%1': %2").arg(shown(path), file.errorString())};
    return bytes;
}

QString read(const QString &path) { return decode(readBytes(path)); }

QString decode(QByteArray bytes)
{
    // Editors that save UTF-8 put a byte-order mark in front; the game's files have none, and left
    // in place it would hide the kind word of an NFO file.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return CodePage::decode(bytes);
}

void openForWriting(QSaveFile &file)
{
    if (QFileInfo(file.fileName()).isDir())
        throw AppError{AppError::FileAccess,
                       QStringLiteral("Cannot save to '%1': it is a folder").arg(shown(file.fileName()))};
    // Unbuffered, so that a write cut short (a full disk, a file size limit) shows in write()'s
    // count; a buffered save file can drop the rest of a short write and still commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw AppError{AppError::FileAccess, QStringLiteral("Cannot open '%1' for writing: %2")
                                                 .arg(shown(file.fileName()), file.errorString())};
}

void writeAndCommit(QSaveFile &file, const QByteArray &bytes)
{
    // A write cut short by a full disk or a size limit returns the part it wrote without an error;
    // writing the rest then fails at once with the system's reason, which the message names.
    qint64 written = 0;
    int cause = 0;
    while (written < bytes.size()) {
        errno = 0;
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            cause = errno;
            break;
        }
        written += n;
    }
    const auto fail = [&file, cause]() {
        return AppError{AppError::DeviceError, QStringLiteral("Cannot write '%1': %2")
                                                   .arg(shown(file.fileName()), reason(file, cause))};
    };
    if (written != bytes.size()) {
        const AppError error = fail();
        file.cancelWriting();
        throw error;
    }
    if (!file.commit())
        throw fail();
}

bool isDocumentName(const QString &path)
{
    return path.endsWith(QLatin1String(".nfo"), Qt::CaseInsensitive)
           || path.endsWith(QLatin1String(".dsc"), Qt::CaseInsensitive);
}

QString fileTitleOf(const QString &path)
{
#ifdef Q_OS_WIN
    // Windows takes "/" as a separator too ("C:/Mods/a.nfo" on a command line).
    return path.mid(qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/'))) + 1);
#else
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
#endif
}

} // namespace DocumentFile
