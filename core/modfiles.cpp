#include "core/modfiles.h"

#include "core/documentfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace ModFiles {

namespace {

// The key that makes the same file, reached twice (given twice, or as a file and in its folder,
// or through a link), one file.
QByteArray identity(const Entry &entry)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(entry.name.constData(), &info) == 0)
        return QByteArray::number(quint64(info.st_dev)) + ':' + QByteArray::number(quint64(info.st_ino));
    return entry.name;
#else
    const QFileInfo info(entry.path);
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical).toLower().toUtf8();
#endif
}

#ifdef Q_OS_UNIX
bool isDocumentName(const QByteArray &name)
{
    const QByteArray end = name.right(4).toLower();
    return end == ".nfo" || end == ".dsc";
}

// Every .nfo and .dsc under the folder, by the names' bytes (so a name that is no valid text is
// read too); a folder that cannot be listed is an entry that says why. Links to folders are not
// followed: a link back up would never end.
void walk(const QByteArray &folder, const QString &shown, QList<Entry> &found)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        found.append({shown, folder,
                      AppError{AppError::FileAccess, QStringLiteral("Cannot read the folder '%1': %2")
                                                         .arg(shown, QString::fromLocal8Bit(std::strerror(errno)))}});
        return;
    }
    QList<QByteArray> names;
    while (const dirent *item = ::readdir(dir)) {
        const QByteArray name(item->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
    const QString shownPrefix = shown.endsWith(QLatin1Char('/')) ? shown : shown + QLatin1Char('/');
    for (const QByteArray &name : names) {
        const QByteArray path = prefix + name;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0) {
            // What cannot be reached (a path longer than the system takes) is said, never skipped;
            // a name gone meanwhile is nothing to check.
            if (errno != ENOENT) {
                found.append({shownPrefix + shownName(name), path,
                              AppError{AppError::FileAccess,
                                       QStringLiteral("Cannot reach '%1': %2")
                                           .arg(shownPrefix + shownName(name), QString::fromLocal8Bit(std::strerror(errno)))}});
            }
        } else if (S_ISDIR(info.st_mode)) {
            walk(path, shownPrefix + shownName(name), found);
        } else if (isDocumentName(name)) {
            found.append({shownPrefix + shownName(name), path, std::nullopt});
        }
    }
}
#else
// Windows' own text for one of its error numbers ("Access is denied.").
QString systemMessage(DWORD error)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                                   : QStringLiteral("error %1").arg(error);
    LocalFree(text);
    return message;
}

// Every .nfo and .dsc under the folder, in name order; a folder that cannot be listed is an entry
// that says why. Folders are listed by their extended-length names, so that no depth is too
// deep; links and junctions to folders are not followed.
void walk(const QByteArray &folder, const QString &shown, QList<Entry> &found)
{
    Q_UNUSED(shown);
    const QString path = DocumentFile::pathOf(folder);
    QString pattern = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (!pattern.startsWith(QLatin1String("\\\\")))
        pattern.prepend(QLatin1String("\\\\?\\"));
    pattern += pattern.endsWith(QLatin1Char('\\')) ? QStringLiteral("*") : QStringLiteral("\\*");
    WIN32_FIND_DATAW data{};
    const HANDLE find = FindFirstFileExW(reinterpret_cast<const wchar_t *>(pattern.utf16()), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            found.append({path, folder, AppError{AppError::FileAccess, QStringLiteral("Cannot read the folder '%1': %2")
                                                                            .arg(QDir::toNativeSeparators(path),
                                                                                 systemMessage(error))}});
        }
        return;
    }
    QList<std::pair<QString, DWORD>> names;
    do {
        const QString name = QString::fromWCharArray(data.cFileName);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append({name, data.dwFileAttributes});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    const QString prefix = path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')) ? path : path + QLatin1Char('/');
    for (const auto &[name, attributes] : names) {
        const QString child = prefix + name;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                walk(DocumentFile::nameOf(child), child, found);
        } else if (DocumentFile::isDocumentName(name)) {
            found.append(named(child));
        }
    }
}
#endif

} // namespace

Entry named(const QString &path) { return {path, DocumentFile::nameOf(path), std::nullopt}; }

QList<Entry> collect(const QStringList &paths, QStringList *missing)
{
    QList<Entry> given;
    for (const QString &path : paths)
        given.append(named(path));
    return collect(given, missing);
}

QList<Entry> collect(const QList<Entry> &given, QStringList *missing)
{
    QList<Entry> found;
    for (const Entry &entry : given) {
#ifdef Q_OS_UNIX
        // By the name's bytes, as the walk reads the names it finds.
        struct stat info {};
        const bool exists = ::stat(entry.name.constData(), &info) == 0;
        const bool link = !exists && ::lstat(entry.name.constData(), &info) == 0;
        if (exists && S_ISDIR(info.st_mode))
            walk(entry.name, entry.path, found);
        else if (exists || link)
            found.append(entry);  // any given file: reading it says what is wrong with it
        else if (missing)
            missing->append(entry.path);
#else
        const QFileInfo info(entry.path);
        if (info.isDir())
            walk(entry.name, entry.path, found);
        else if (info.exists() || info.isSymLink())
            found.append(entry);
        else if (missing)
            missing->append(entry.path);
#endif
    }
    QSet<QByteArray> seen;
    QList<Entry> once;
    for (Entry &entry : found) {
        if (entry.problem || !seen.contains(identity(entry))) {
            if (!entry.problem)
                seen.insert(identity(entry));
            once.append(std::move(entry));
        }
    }
    return once;
}

QString shownName(const QByteArray &name)
{
    // A name that holds "\x" itself shows its backslash doubled, so that it never reads as the
    // escape of a byte that is no text: "real\xff.nfo" and a name with the byte 0xFF differ.
    const QString text = QString::fromUtf8(name);
    if (text.toUtf8() == name)
        return QString(text).replace(QLatin1String("\\x"), QLatin1String("\\\\x"));
    // Valid runs as text, each byte of an invalid sequence as \xNN.
    QString shown;
    qsizetype i = 0;
    while (i < name.size()) {
        const auto lead = static_cast<unsigned char>(name.at(i));
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        const QByteArray piece = name.mid(i, length);
        const QString decoded = length ? QString::fromUtf8(piece) : QString();
        if (length && piece.size() == length && decoded.toUtf8() == piece) {
            if (lead == '\\' && i + 1 < name.size() && name.at(i + 1) == 'x')
                shown += QLatin1Char('\\');
            shown += decoded;
            i += length;
        } else {
            shown += QStringLiteral("\\x%1").arg(lead, 2, 16, QLatin1Char('0'));
            ++i;
        }
    }
    return shown;
}

} // namespace ModFiles
