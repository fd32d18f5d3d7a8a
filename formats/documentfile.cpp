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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError{AppError::FileAccess, QStringLiteral("Cannot open '%1' for reading: %2")
                                                 .arg(shown(path), file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError{AppError::DeviceError,
                       QStringLiteral("Cannot read '%1': %2").arg(shown(path), file.errorString())};
    return CodePage::decode(bytes);
}

void openForWriting(QSaveFile &file)
{
    if (QFileInfo(file.fileName()).isDir())
        throw AppError{AppError::FileAccess,
                       QStringLiteral("Cannot save to '%1': it is a folder").arg(shown(file.fileName()))};
    if (!file.open(QIODevice::WriteOnly))
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
