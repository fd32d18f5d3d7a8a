#include "formats/documentfile.h"

#include "formats/apperror.h"
#include "formats/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace DocumentFile {

const QString CRLF = QStringLiteral("\r\n");

namespace {
QString shown(const QString &path) { return QDir::toNativeSeparators(path); }
}

QString read(const QString &path)
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
    const auto fail = [&file]() {
        return AppError{AppError::DeviceError, QStringLiteral("Cannot write '%1': %2")
                                                   .arg(shown(file.fileName()), file.errorString())};
    };
    if (file.write(bytes) != bytes.size()) {
        const AppError error = fail();
        file.cancelWriting();
        throw error;
    }
    if (!file.commit())
        throw fail();
}

QString fileTitleOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
}

} // namespace DocumentFile
