#include "core/assetindex.h"

#include "core/nfovalue.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

bool isDotPart(QStringView part) { return part == QLatin1String(".") || part == QLatin1String(".."); }

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

bool AssetIndex::hasFile(const QStringList &bases, const QString &relative)
{
    // The value's parts, and each folded once for every folder it is looked for under.
    QList<QStringView> parts;
    QStringList folded;
    for (qsizetype start = 0, end = 0; start < relative.size(); start = end + 1) {
        end = start;
        while (end < relative.size() && relative.at(end) != QLatin1Char('/') && relative.at(end) != QLatin1Char('\\'))
            ++end;
        if (end > start) {
            parts.append(QStringView(relative).sliced(start, end - start));
            folded.append(parts.last().toString().toCaseFolded());
        }
    }
    if (parts.isEmpty() || isDotPart(parts.last()))
        return false;  // a folder, not a file
    for (const QString &base : bases) {
        if (!base.isEmpty() && hasFileUnder(base, parts, folded))
            return true;
    }
    return false;
}

bool AssetIndex::hasFileUnder(QString folder, const QList<QStringView> &parts, const QStringList &folded)
{
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (isDotPart(parts.at(i))) {
            if (parts.at(i).size() == 2)
                folder = QFileInfo(folder).path();  // the text's parent, asking the system nothing
            continue;
        }
        const Folder &entries = listed(folder);
        const auto entry = entries.constFind(folded.at(i));
        if (entry == entries.cend())
            return false;
        if (i + 1 == parts.size())
            return !entry->folder;
        if (!entry->folder)
            return false;
        folder = joined(folder, entry->name);
    }
    return false;
}

QStringList AssetIndex::filesEndingIn(const QString &base, QStringView extension, qsizetype most,
                                      const std::atomic<bool> &stop)
{
    QStringList files;
    // Folders still to list: the path and its text relative to `base`, "\"-ended.
    QList<std::pair<QString, QString>> pending{{base, QString()}};
    QList<int> depths{0};
    while (!pending.isEmpty() && files.size() < most && !stop.load()) {
        const auto [folder, relative] = pending.takeLast();
        const int depth = depths.takeLast();
        for (const Entry &entry : listed(folder)) {
            if (entry.folder) {
                if (depth < MostDepth) {
                    pending.append({joined(folder, entry.name), relative + entry.name + QLatin1Char('\\')});
                    depths.append(depth + 1);
                }
            } else if (entry.name.endsWith(extension, Qt::CaseInsensitive) && files.size() < most) {
                files.append(relative + entry.name);
            }
        }
    }
    return files;
}

const AssetIndex::Folder &AssetIndex::listed(const QString &path)
{
    if (const auto known = m_folders.constFind(path); known != m_folders.cend())
        return *known;
    Folder entries;
#ifdef Q_OS_UNIX
    // The folder's own listing says what each entry is; only a link, or a file system that does
    // not say, is asked again.
    const QByteArray name = QFile::encodeName(path);
    if (DIR *dir = ::opendir(name.constData())) {
        while (const dirent *item = ::readdir(dir)) {
            const char *entry = item->d_name;
            if (entry[0] == '.' && (entry[1] == 0 || (entry[1] == '.' && entry[2] == 0)))
                continue;
            bool folder = item->d_type == DT_DIR, file = item->d_type == DT_REG;
            if (item->d_type == DT_LNK || item->d_type == DT_UNKNOWN) {
                struct stat info {};
                if (::fstatat(::dirfd(dir), entry, &info, 0) == 0) {
                    folder = S_ISDIR(info.st_mode);
                    file = S_ISREG(info.st_mode);
                }
            }
            if (folder || file) {
                const QString shown = QFile::decodeName(entry);
                entries.insert(shown.toCaseFolded(), {shown, folder});
            }
        }
        ::closedir(dir);
    }
#else
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir() || info.isFile())
            entries.insert(info.fileName().toCaseFolded(), {info.fileName(), info.isDir()});
    }
#endif
    return *m_folders.insert(path, std::move(entries));
}

QString AssetIndex::modFolderOf(const QString &documentFolder)
{
    if (documentFolder.isEmpty())
        return {};
    const QString own = QDir::cleanPath(documentFolder);
    QString folder = own;
    for (int up = 0; up <= 3; ++up) {
        for (AssetKind kind : {AssetKind::Model, AssetKind::Texture, AssetKind::Movie}) {
            if (QFileInfo(QDir(folder).filePath(QLatin1String(assetTypeOf(kind).gameFolder))).isDir())
                return folder;
        }
        const QString above = QFileInfo(folder).path();
        if (above == folder)
            break;
        folder = above;
    }
    return own;
}
