#include "editor/assetbrowser.h"

#include "core/assetpath.h"
#include "core/settings.h"

std::optional<QString> AssetBrowser::browse(AssetKind kind)
{
    std::optional<QString> chosen;
    switch (kind) {
    case AssetKind::Model:
        chosen = m_modelDialog.run(m_parent, FileDialog::Mode::Open, QStringLiteral("Browse for a model..."));
        break;
    case AssetKind::Texture:
        chosen = m_textureDialog.run(m_parent, FileDialog::Mode::Open, QStringLiteral("Browse for a texture..."));
        break;
    case AssetKind::Movie:
        chosen = m_movieDialog.run(m_parent, FileDialog::Mode::Open,
                                   QStringLiteral("Browse for a movie (*.ogv) file..."));
        break;
    case AssetKind::None:
        break;
    }
    if (!chosen)
        return std::nullopt;
    return AssetPath::relativeToGameFolder(*chosen, Settings::gameFolder());
}
