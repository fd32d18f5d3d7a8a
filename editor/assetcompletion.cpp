#include "editor/assetcompletion.h"

#include <QCompleter>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringListModel>

#include <algorithm>

namespace {
constexpr AssetKind Kinds[] = {AssetKind::Model, AssetKind::Texture, AssetKind::Movie};
constexpr int MostFiles = 20000;  // of one kind under one folder: a whole drive is no mod
} // namespace

AssetCompletion::AssetCompletion(QObject *parent) : QObject(parent)
{
    for (auto &model : m_models)
        model = new QStringListModel(this);
}

void AssetCompletion::attach(AssetKind kind, QLineEdit *field)
{
    auto *completer = new QCompleter(m_models[size_t(kind) - 1], field);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    field->setCompleter(completer);
}

QString AssetCompletion::modFolderOf(const QString &documentPath)
{
    if (documentPath.isEmpty())
        return {};
    const QString own = QFileInfo(documentPath).absolutePath();
    QString folder = own;
    for (int up = 0; up <= 3; ++up) {
        for (AssetKind kind : Kinds) {
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

QStringList AssetCompletion::filesOfKind(const QString &root, AssetKind kind, const BackgroundRunner::StopFlag &stop)
{
    QStringList files;
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return files;
    const QDir base(root);
    QDirIterator it(root, {QLatin1Char('*') + QLatin1String(assetTypeOf(kind).extension)}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext() && files.size() < MostFiles && !stop.load())
        files.append(QDir::toNativeSeparators(base.relativeFilePath(it.next())).replace(QLatin1Char('/'), QLatin1Char('\\')));
    return files;
}

void AssetCompletion::setFolders(const QString &documentPath, const QString &gameFolder)
{
    const QString mod = modFolderOf(documentPath);
    const QString wanted = mod + QLatin1Char('\n') + gameFolder;
    if (wanted == m_wanted)
        return;
    m_wanted = wanted;
    if (const auto made = m_made.constFind(wanted); made != m_made.cend()) {
        m_runner.drop();
        show(*made);
        return;
    }
    auto lists = std::make_shared<Lists>();
    m_runner.start(
        [lists, mod, gameFolder](const BackgroundRunner::StopFlag &stop) {
            for (AssetKind kind : Kinds) {
                QStringList &list = (*lists)[size_t(kind) - 1];
                list = filesOfKind(mod, kind, stop);
                // The game's own, under its folder of the kind ("Models\..."), as relative to the game.
                if (!gameFolder.isEmpty()) {
                    const QString folder = QDir(gameFolder).filePath(QLatin1String(assetTypeOf(kind).gameFolder));
                    for (const QString &file : filesOfKind(folder, kind, stop))
                        list.append(QLatin1String(assetTypeOf(kind).gameFolder) + QLatin1Char('\\') + file);
                }
                std::sort(list.begin(), list.end(), [](const QString &a, const QString &b) {
                    return a.compare(b, Qt::CaseInsensitive) < 0;
                });
                list.erase(std::unique(list.begin(), list.end(), [](const QString &a, const QString &b) {
                               return a.compare(b, Qt::CaseInsensitive) == 0;
                           }), list.end());
            }
        },
        [this, lists, wanted] {
            m_made.insert(wanted, *lists);
            show(*lists);
        });
}

void AssetCompletion::show(const Lists &lists)
{
    for (size_t i = 0; i < m_models.size(); ++i)
        m_models[i]->setStringList(lists[i]);
}
