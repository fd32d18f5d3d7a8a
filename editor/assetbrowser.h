#pragma once

#include "core/levelnfo.h"
#include "ui/filedialog.h"

#include <optional>

class QWidget;

// The browse buttons' dialogs: pick a model, texture or movie, entered relative to the game
// folder. Each kind of asset has a dialog of its own that remembers the file chosen last.
class AssetBrowser
{
public:
    explicit AssetBrowser(QWidget *parent) : m_parent(parent) {}

    // The path to enter, or nothing when cancelled.
    std::optional<QString> browse(AssetKind kind);

private:
    QWidget *m_parent;
    RememberedFileDialog m_modelDialog{QStringLiteral("Model (*.mdl)|*.mdl")};
    RememberedFileDialog m_textureDialog{QStringLiteral("Texture (*.tex)|*.tex")};
    RememberedFileDialog m_movieDialog{QStringLiteral("Movie File (*.ogv)|*.ogv")};
};
