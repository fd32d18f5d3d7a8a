#pragma once

#include "core/levelnfo.h"
#include "ui/filedialog.h"

#include <array>
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
    // By AssetKind, None excepted.
    std::array<RememberedFileDialog, 3> m_dialogs{dialogFor(AssetKind::Model), dialogFor(AssetKind::Texture),
                                                  dialogFor(AssetKind::Movie)};
    static RememberedFileDialog dialogFor(AssetKind kind)
    {
        return RememberedFileDialog(QString::fromLatin1(assetTypeOf(kind).filter));
    }
};
