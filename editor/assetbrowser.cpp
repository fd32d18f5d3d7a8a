#include "editor/assetbrowser.h"

#include "core/assetpath.h"
#include "core/settings.h"

std::optional<QString> AssetBrowser::browse(AssetKind kind)
{
    if (kind == AssetKind::None)
        return std::nullopt;
    const auto chosen = m_dialogs[size_t(kind) - 1].run(m_parent, FileDialog::Mode::Open,
                                                        QString::fromLatin1(assetTypeOf(kind).browseTitle));
    if (!chosen)
        return std::nullopt;
    return AssetPath::relativeToGameFolder(*chosen, Settings::gameFolder());
}
