#pragma once

#include "core/levelnfo.h"

#include <QString>

#include <array>
#include <optional>

class QWidget;

// The browse buttons' dialogs: pick a model, texture or movie, entered relative to the game
// folder. A dialog starts where the author works: at the file the field names, else at the file
// chosen last for that kind of asset, else in the game folder's Models, Textures or Movies.
class AssetBrowser
{
public:
    explicit AssetBrowser(QWidget *parent) : m_parent(parent) {}

    // The path to enter, or nothing when cancelled. `value`: what the field holds now.
    std::optional<QString> browse(AssetKind kind, const QString &value);
    // The name a dialog for the kind starts at (a file, or a folder ending in a separator).
    QString startingName(AssetKind kind, const QString &value) const;

    // The path to enter for a chosen file: relative to the game folder when inside it.
    static QString entered(const QString &path);

private:
    QWidget *m_parent;
    std::array<QString, 3> m_chosen;  // by AssetKind, None excepted: the file chosen last
};
