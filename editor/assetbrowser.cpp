#include "editor/assetbrowser.h"

#include "core/assetpath.h"
#include "core/settings.h"
#include "ui/filedialog.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> AssetBrowser::browse(AssetKind kind, const QString &value)
{
    if (kind == AssetKind::None)
        return std::nullopt;
    const AssetType &type = assetTypeOf(kind);
    const auto chosen = FileDialog::show(m_parent, {FileDialog::Mode::Open, QString::fromLatin1(type.browseTitle),
                                                    QString::fromLatin1(type.filter), startingName(kind, value)});
    if (!chosen)
        return std::nullopt;
    m_chosen[size_t(kind) - 1] = *chosen;
    return entered(*chosen);
}

QString AssetBrowser::startingName(AssetKind kind, const QString &value) const
{
    const QString game = Settings::gameFolderIfSet();
    const QString named = AssetPath::resolved(value, game);
    // The file the field names, if it is of the field's kind: a model in the Thumbnail field is
    // no place to look for a texture.
    if (!named.isEmpty() && named.endsWith(QLatin1String(assetTypeOf(kind).extension), Qt::CaseInsensitive)
        && QFileInfo(named).absoluteDir().exists())
        return named;
    if (const QString &last = m_chosen[size_t(kind) - 1]; !last.isEmpty())
        return last;
    if (game.isEmpty())
        return {};
    const QString assets = QDir(game).filePath(QString::fromLatin1(assetTypeOf(kind).gameFolder));
    return QDir::toNativeSeparators((QFileInfo(assets).isDir() ? assets : QDir(game).absolutePath()) + QLatin1Char('/'));
}

QString AssetBrowser::entered(const QString &path)
{
    return AssetPath::relativeToGameFolder(path, Settings::gameFolder());
}
