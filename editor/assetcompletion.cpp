#include "editor/assetcompletion.h"

#include "core/assetindex.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

#include <algorithm>

namespace {
constexpr AssetKind Kinds[] = {AssetKind::Model, AssetKind::Texture, AssetKind::Movie};
constexpr qsizetype MostFiles = 20000;  // of one kind under one folder: a whole drive is no mod

// Enter in the list with no entry chosen yet takes the first one: "ra" and Enter gives the
// file, as the author expects of a list that offers a single match.
class FirstOnEnter : public QObject
{
public:
    explicit FirstOnEnter(QCompleter *completer) : QObject(completer), m_completer(completer) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            QAbstractItemView *list = m_completer->popup();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list->isVisible()
                && !list->currentIndex().isValid() && list->model()->rowCount() > 0)
                list->setCurrentIndex(list->model()->index(0, 0));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QCompleter *m_completer;
};
} // namespace

AssetCompletion::AssetCompletion(QObject *parent) : QObject(parent)
{
    for (auto &model : m_models)
        model = new QStringListModel(this);
}

void AssetCompletion::attach(AssetKind kind, QLineEdit *field, std::function<void()> chosen)
{
    auto *completer = new QCompleter(m_models[size_t(kind) - 1], field);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    // Seen before the completer's own handling of the key.
    completer->popup()->installEventFilter(new FirstOnEnter(completer));
    field->setCompleter(completer);
    field->installEventFilter(this);
    m_fields.insert(field);
    connect(field, &QObject::destroyed, this, [this, field] { m_fields.remove(field); });
    connect(completer, qOverload<const QString &>(&QCompleter::activated), this, [chosen] { chosen(); });
}

AssetCompletion::Lists AssetCompletion::listsFor(const QString &modFolder, const QString &gameFolder,
                                                 const BackgroundRunner::StopFlag &stop)
{
    AssetIndex index;
    const QString game = gameFolder.isEmpty() ? QString() : QDir::cleanPath(QDir::fromNativeSeparators(gameFolder));
    Lists lists;
    for (AssetKind kind : Kinds) {
        const AssetType &type = assetTypeOf(kind);
        const QString extension = QLatin1String(type.extension);
        QStringList &list = lists[size_t(kind) - 1];
        if (!modFolder.isEmpty())
            list = index.filesEndingIn(modFolder, extension, MostFiles, stop);
        // The game's own, under its folder of the kind, as relative to the game ("Models\...").
        if (!game.isEmpty()) {
            const QString folder = QLatin1String(type.gameFolder);
            for (const QString &file : index.filesEndingIn(game + QLatin1Char('/') + folder, extension, MostFiles, stop))
                list.append(folder + QLatin1Char('\\') + file);
        }
        std::sort(list.begin(), list.end(),
                  [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        list.erase(std::unique(list.begin(), list.end(),
                               [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }),
                   list.end());
    }
    return lists;
}

void AssetCompletion::setFolders(const QString &documentFolder, const QString &gameFolder)
{
    const QString mod = AssetIndex::modFolderOf(documentFolder);
    const QString wanted = mod + QLatin1Char('\n') + gameFolder;
    if (wanted == m_wanted)
        return;
    m_wanted = wanted;
    m_runner.drop();
    if (const auto made = m_made.constFind(wanted); made != m_made.cend()) {
        show(*made);
        m_pending.reset();
        return;
    }
    show({});
    m_pending = std::make_pair(mod, gameFolder);
    // Made when an asset field is first used, not at every open: most opens never complete.
    if (const QWidget *focused = QApplication::focusWidget(); focused && m_fields.contains(focused))
        makePending();
}

void AssetCompletion::makePending()
{
    if (!m_pending)
        return;
    const auto [mod, gameFolder] = *std::exchange(m_pending, std::nullopt);
    auto lists = std::make_shared<Lists>();
    m_runner.start([lists, mod, gameFolder](const BackgroundRunner::StopFlag &stop) { *lists = listsFor(mod, gameFolder, stop); },
                   [this, lists, wanted = m_wanted] {
                       m_made.insert(wanted, *lists);
                       show(*lists);
                   });
}

bool AssetCompletion::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        makePending();
    return QObject::eventFilter(watched, event);
}

void AssetCompletion::show(const Lists &lists)
{
    for (size_t i = 0; i < m_models.size(); ++i)
        m_models[i]->setStringList(lists[i]);
}
