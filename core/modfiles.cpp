#include "core/modfiles.h"

#include "core/documentfile.h"
#include "core/systemerror.h"
#include "core/nfokind.h"

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

#include <climits>
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

// What a folder holds, in name order, as the walk goes on with it.
struct Child
{
    QByteArray name;      // the path, as the system knows it
    QString shown;
    bool folder = false;  // else a file, or something that cannot be reached (`problem`)
    std::optional<AppError> problem;
    bool plain = false;   // a plain file, no link
};

#ifdef Q_OS_UNIX
// The folder's .nfo and .dsc files and its subfolders, by the names' bytes (so a name that is no
// valid text is read too); nothing when it cannot be listed, which `found` then says. Links to
// folders are not followed: a link back up would never end.
std::optional<QList<Child>> listFolder(const QByteArray &folder, const QString &shown, QList<Entry> &found)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir) {
        found.append({shown, folder,
                      AppError{AppError::FileAccess, QStringLiteral("Cannot read the folder '%1': %2")
                                                         .arg(shown, systemErrorText(errno))}});
        return std::nullopt;
    }
    // The listing says what most entries are: only a link, an entry the file system does not
    // type, and a path too long to name are asked again.
    struct Named
    {
        QByteArray name;
        unsigned char type;
    };
    QList<Named> names;
    while (const dirent *item = ::readdir(dir)) {
        const QByteArray name(item->d_name);
        if (name != "." && name != "..")
            names.append({name, item->d_type});
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), [](const Named &a, const Named &b) { return a.name < b.name; });
    const QByteArray prefix = folder.endsWith('/') ? folder : folder + '/';
    const QString shownPrefix = shown.endsWith(QLatin1Char('/')) ? shown : shown + QLatin1Char('/');
    QList<Child> children;
    for (const Named &named : names) {
        const QByteArray path = prefix + named.name;
        const bool document = NfoKind::isDocumentName(QByteArrayView(named.name));
        if (path.size() < PATH_MAX && (named.type == DT_DIR || named.type == DT_REG)) {
            if (named.type == DT_DIR) {
                children.append({path, shownPrefix + shownName(named.name), true, std::nullopt});
            } else if (document) {
                children.append({path, shownPrefix + shownName(named.name), false, std::nullopt, true});
            }
            continue;
        }
        const QString childShown = shownPrefix + shownName(named.name);
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0) {
            // What cannot be reached (a path longer than the system takes) is said, never skipped;
            // a name gone meanwhile is nothing to check.
            if (errno != ENOENT) {
                children.append({path, childShown, false,
                                 AppError{AppError::FileAccess, QStringLiteral("Cannot reach '%1': %2")
                                                                    .arg(childShown, systemErrorText(errno))}});
            }
        } else if (S_ISDIR(info.st_mode)) {
            children.append({path, childShown, true, std::nullopt});
        } else if (document) {
            children.append({path, childShown, false, std::nullopt, S_ISREG(info.st_mode)});
        }
    }
    return children;
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

// The folder's .nfo and .dsc files and its subfolders, in name order; nothing when it cannot be
// listed, which `found` then says. Folders are listed by their extended-length names, so that no
// depth is too deep; links and junctions to folders are not followed.
std::optional<QList<Child>> listFolder(const QByteArray &folder, const QString &, QList<Entry> &found)
{
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
        if (error == ERROR_FILE_NOT_FOUND)
            return QList<Child>();
        found.append({path, folder, AppError{AppError::FileAccess, QStringLiteral("Cannot read the folder '%1': %2")
                                                                        .arg(QDir::toNativeSeparators(path),
                                                                             systemMessage(error))}});
        return std::nullopt;
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
    QList<Child> children;
    for (const auto &[name, attributes] : names) {
        const QString child = prefix + name;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                children.append({DocumentFile::nameOf(child), child, true, std::nullopt});
        } else if (NfoKind::isDocumentName(name)) {
            children.append({DocumentFile::nameOf(child), child, false, std::nullopt});
        }
    }
    return children;
}
#endif

// Every .nfo and .dsc under the folder, depth first in name order. The walk keeps its own list
// of the folders it is in rather than the program's stack, which a tree thousands of folders
// deep would overflow.
void walk(const QByteArray &folder, const QString &shown, QList<Entry> &found, const std::function<bool()> &keepGoing)
{
    struct Level
    {
        QList<Child> children;
        qsizetype next = 0;
    };
    QList<Level> levels;
    if (auto children = listFolder(folder, shown, found))
        levels.append({std::move(*children), 0});
    while (!levels.isEmpty()) {
        if (keepGoing && !keepGoing())
            return;  // stopped: what was found so far
        Level &level = levels.last();
        if (level.next == level.children.size()) {
            levels.removeLast();
            continue;
        }
        const Child child = level.children.at(level.next++);
        if (child.folder) {
            if (auto children = listFolder(child.name, child.shown, found))
                levels.append({std::move(*children), 0});
        } else {
            found.append({child.shown, child.name, child.problem, child.plain});
        }
    }
}

} // namespace

Entry named(const QString &path) { return {path, DocumentFile::nameOf(path), std::nullopt}; }

QList<Entry> collect(const QStringList &paths, QStringList *missing, const std::function<bool()> &keepGoing)
{
    QList<Entry> given;
    for (const QString &path : paths)
        given.append(named(path));
    return collect(given, missing, keepGoing);
}

QList<Entry> collect(const QList<Entry> &given, QStringList *missing, const std::function<bool()> &keepGoing)
{
    QList<Entry> found;
    for (const Entry &entry : given) {
#ifdef Q_OS_UNIX
        // By the name's bytes, as the walk reads the names it finds.
        struct stat info {};
        const bool exists = ::stat(entry.name.constData(), &info) == 0;
        const bool link = !exists && ::lstat(entry.name.constData(), &info) == 0;
        if (exists && S_ISDIR(info.st_mode))
            walk(entry.name, entry.path, found, keepGoing);
        else if (exists || link)
            found.append(entry);  // any given file: reading it says what is wrong with it
        else if (missing)
            missing->append(entry.path);
#else
        const QFileInfo info(entry.path);
        if (info.isDir())
            walk(entry.name, entry.path, found, keepGoing);
        else if (info.exists() || info.isSymLink())
            found.append(entry);
        else if (missing)
            missing->append(entry.path);
#endif
    }
    // One folder walked without a link in it names each file once: nothing to ask the system.
    if (given.size() == 1 && std::all_of(found.cbegin(), found.cend(), [](const Entry &e) { return e.problem || e.plain; }))
        return found;
    QSet<QByteArray> seen;
    QList<Entry> once;
    for (Entry &entry : found) {
        if (entry.problem) {
            once.append(std::move(entry));
            continue;
        }
        const QByteArray key = identity(entry);
        if (!seen.contains(key)) {
            seen.insert(key);
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
