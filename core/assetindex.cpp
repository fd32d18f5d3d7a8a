#include "core/assetindex.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QStringView>

bool AssetIndex::hasFile(const QString &base, const QString &relative)
{
    if (base.isEmpty())
        return false;
    QString folder = base;
    QList<QStringView> parts;
    for (qsizetype start = 0, end = 0; start < relative.size(); start = end + 1) {
        end = start;
        while (end < relative.size() && relative.at(end) != QLatin1Char('/') && relative.at(end) != QLatin1Char('\\'))
            ++end;
        if (end > start)
            parts.append(QStringView(relative).sliced(start, end - start));
    }
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringView part = parts.at(i);
        const bool last = i + 1 == parts.size();
        if (part == QLatin1String(".") || part == QLatin1String("..")) {
            if (last)
                return false;  // a folder, not a file
            if (part.size() == 2)
                folder = QFileInfo(folder).path();  // the text's parent, asking the system nothing
            continue;
        }
        const Folder &entries = listed(folder);
        const auto entry = entries.constFind(part.toString().toCaseFolded());
        if (entry == entries.cend())
            return false;
        if (last)
            return !entry->folder;
        if (!entry->folder)
            return false;
        folder = folder.endsWith(QLatin1Char('/')) ? folder + entry->name : folder + QLatin1Char('/') + entry->name;
    }
    return false;
}

const AssetIndex::Folder &AssetIndex::listed(const QString &path)
{
    if (const auto known = m_folders.constFind(path); known != m_folders.cend())
        return *known;
    Folder entries;
    // The system's listing says what each entry is without asking again, links excepted.
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir() || info.isFile())
            entries.insert(info.fileName().toCaseFolded(), {info.fileName(), info.isDir()});
    }
    return *m_folders.insert(path, std::move(entries));
}
