#include "core/modfiles.h"

#include "core/documentfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

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
void walk(const QByteArray &folder, const QString &shown, QList<Entry> &found)
{
    QList<Entry> files;
    QDirIterator it(DocumentFile::pathOf(folder), QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (DocumentFile::isDocumentName(file))
            files.append(named(file));
    }
    std::sort(files.begin(), files.end(), [](const Entry &a, const Entry &b) { return a.path < b.path; });
    Q_UNUSED(shown);
    found += files;
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
