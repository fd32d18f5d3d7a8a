#include "core/documentfile.h"

#include "core/apperror.h"
#include "core/codepage.h"
#include "core/systemerror.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QScopeGuard>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#endif

#include <cerrno>

namespace DocumentFile {

const QString CRLF = QStringLiteral("\r\n");

namespace {
QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// 268,435,456: sizes are told with thousands separators, the same in every language.
QString grouped(qint64 number) { return QLocale(QLocale::English, QLocale::UnitedStates).toString(number); }

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

QByteArray nameOf(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

QString pathOf(const QByteArray &name)
{
#ifdef Q_OS_WIN
    return QString::fromUtf8(name);
#else
    return QFile::decodeName(name);
#endif
}

QByteArray readBytes(const QString &path, qint64 largest)
{
    return readNamed(nameOf(path), shown(path), largest);
}

namespace {
AppError tooLarge(const QString &shownName, qint64 size, qint64 largest)
{
    return AppError{AppError::FileTooLarge,
                    QStringLiteral("'%1' is %2 bytes, larger than the %3 bytes (%4 MiB) that Brisquel opens")
                        .arg(shownName, size < 0 ? QStringLiteral("more than %1").arg(grouped(largest)) : grouped(size),
                             grouped(largest), grouped(largest >> 20))};
}
} // namespace

#ifdef Q_OS_UNIX
namespace {
std::optional<QString> kindOf(const struct stat &st)
{
    if (S_ISREG(st.st_mode))
        return std::nullopt;
    return S_ISDIR(st.st_mode)    ? QStringLiteral("a folder")
           : S_ISFIFO(st.st_mode) ? QStringLiteral("a pipe")
           : S_ISSOCK(st.st_mode) ? QStringLiteral("a socket")
                                  : QStringLiteral("a device");
}
} // namespace

std::optional<QString> notPlainFile(const QString &path)
{
    struct stat info {};
    if (::stat(nameOf(path).constData(), &info) != 0)
        return std::nullopt;
    return kindOf(info);
}

QByteArray readNamed(const QByteArray &name, const QString &shownName, qint64 largest, bool seenPlain)
{
    const auto fail = [&shownName](int number, const QString &text) {
        return AppError{number, text.arg(shownName, systemErrorText(errno))};
    };
    // Only plain files are read: a pipe would wait for a writer forever and a device can be
    // endless. The file is looked at before it is opened (opening a pipe waits) and again after
    // (it may have been replaced in between); a link is judged by what it leads to.
    struct stat info {};
    if (seenPlain) {
        info.st_mode = S_IFREG;
    } else if (::stat(name.constData(), &info) != 0) {
        struct stat link {};
        if (errno == ENOENT && ::lstat(name.constData(), &link) == 0)
            throw AppError{AppError::FileNotFound,
                           QStringLiteral("'%1' is a link to '%2', which does not exist")
                               .arg(shownName, QFile::symLinkTarget(pathOf(name)))};
        if (errno == ENOENT)
            throw AppError{AppError::FileNotFound, QStringLiteral("File not found: '%1'").arg(shownName)};
        throw fail(AppError::FileAccess, QStringLiteral("Cannot open '%1' for reading: %2"));
    }
    const auto checkKind = [&](const struct stat &st) {
        if (S_ISDIR(st.st_mode))
            throw AppError{AppError::FileAccess, QStringLiteral("'%1' is a folder, not a file").arg(shownName)};
        if (const auto what = kindOf(st)) {
            throw AppError{AppError::FileAccess,
                           QStringLiteral("'%1' is not a plain file: it is %2").arg(shownName, *what)};
        }
        if (st.st_size > largest)
            throw tooLarge(shownName, st.st_size, largest);
    };
    checkKind(info);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw fail(AppError::FileAccess, QStringLiteral("Cannot open '%1' for reading: %2"));
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &info) != 0)
        throw fail(AppError::DeviceError, QStringLiteral("Cannot read '%1': %2"));
    checkKind(info);
    // Read to the end, but never past one byte over the limit: a file that grew since it was
    // measured is refused too.
    QByteArray bytes;
    bytes.resize(qsizetype(info.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > largest)
                throw tooLarge(shownName, -1, largest);
            bytes.resize(qMin<qint64>(filled + (1 << 20), largest + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw fail(AppError::DeviceError, QStringLiteral("Cannot read '%1': %2"));
        if (n == 0)
            break;
        filled += n;
    }
    bytes.truncate(filled);
    return bytes;
}
#else
std::optional<QString> notPlainFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return std::nullopt;
    return info.isDir() ? QStringLiteral("a folder") : QStringLiteral("a device");
}

QByteArray readNamed(const QByteArray &name, const QString &shownName, qint64 largest, bool)
{
    const QString path = pathOf(name);
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError{AppError::FileNotFound, QStringLiteral("File not found: '%1'").arg(shownName)};
    if (info.isDir())
        throw AppError{AppError::FileAccess, QStringLiteral("'%1' is a folder, not a file").arg(shownName)};
    if (!info.isFile())
        throw AppError{AppError::FileAccess, QStringLiteral("'%1' is not a plain file").arg(shownName)};
    if (info.size() > largest)
        throw tooLarge(shownName, info.size(), largest);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError{AppError::FileAccess, QStringLiteral("Cannot open '%1' for reading: %2")
                                                 .arg(shownName, file.errorString())};
    // Read to the end, but never past one byte over the limit.
    QByteArray bytes = file.read(qMin(info.size(), largest) + 1);
    while (bytes.size() <= largest) {
        const QByteArray more = file.read(qMin<qint64>(1 << 20, largest + 1 - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (bytes.size() > largest)
        throw tooLarge(shownName, -1, largest);
    if (file.error() != QFileDevice::NoError)
        throw AppError{AppError::DeviceError,
                       QStringLiteral("Cannot read '%1': %2").arg(shownName, file.errorString())};
    return bytes;
}
#endif

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
    if (const auto what = notPlainFile(file.fileName())) {
        throw AppError{AppError::FileAccess, *what == QLatin1String("a folder")
                                                 ? QStringLiteral("Cannot save to '%1': it is a folder").arg(shown(file.fileName()))
                                                 : QStringLiteral("Cannot save to '%1': it is %2, not a plain file")
                                                       .arg(shown(file.fileName()), *what)};
    }
    // Unbuffered, so that a write cut short (a full disk, a file size limit) shows in write()'s
    // count; a buffered save file can drop the rest of a short write and still commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw AppError{AppError::FileAccess, QStringLiteral("Cannot open '%1' for writing: %2")
                                                 .arg(shown(file.fileName()), file.errorString())};
#ifdef Q_OS_UNIX
    // The new file takes the place of the old one: it gets its owner (as root, another user's
    // file stays theirs) and its permissions. What the system does not allow stays as made.
    struct stat old {};
    if (::stat(nameOf(file.fileName()).constData(), &old) == 0 && S_ISREG(old.st_mode)) {
        [[maybe_unused]] const int owned = ::fchown(file.handle(), old.st_uid, old.st_gid);
        ::fchmod(file.handle(), old.st_mode & 07777);
    }
#endif
}

FileStamp stampOf(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    return {bytes.size(), info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0,
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

bool changedSince(const QString &path, const FileStamp &stamp)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    if (info.size() == stamp.size && info.lastModified().toMSecsSinceEpoch() == stamp.modifiedMs)
        return false;
    try {
        return QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256) != stamp.hash;
    } catch (const AppError &) {
        return true;  // something else is there now
    }
}

bool writeWhole(QFileDevice &file, const QByteArray &bytes, int *cause)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        errno = 0;
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            if (cause)
                *cause = errno;
            return false;
        }
        written += n;
    }
    return true;
}

void writeAndCommit(QSaveFile &file, const QByteArray &bytes)
{
    // Writing the rest of a short write fails at once with the system's reason, which the message
    // names.
    int cause = 0;
    const bool whole = writeWhole(file, bytes, &cause);
    const auto fail = [&file, cause]() {
        return AppError{AppError::DeviceError, QStringLiteral("Cannot write '%1': %2")
                                                   .arg(shown(file.fileName()), reason(file, cause))};
    };
    if (!whole) {
        const AppError error = fail();
        file.cancelWriting();
        throw error;
    }
    if (!file.commit())
        throw fail();
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
