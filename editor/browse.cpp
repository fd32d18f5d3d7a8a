// The browse buttons of the Level and Episode panels: pick a model, texture or movie and enter it
// relative to the game folder.

#include "core/assetpath.h"
#include "editor/episodepanel.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"

#include <QLineEdit>

QString MainWindow::browseAsset(FileDialogObject &dialog, const QString &title)
{
    if (!runFileDialog(dialog, title, FileDialog::Mode::Open))
        return QString();
    return AssetPath::relativeToGameFolder(dialog.FileName, AssetPath::gameFolderSetting());
}

QString MainWindow::browseModel() { return browseAsset(modelDialog, QStringLiteral("Browse for a model...")); }

QString MainWindow::browseTexture() { return browseAsset(textureDialog, QStringLiteral("Browse for a texture...")); }

QString MainWindow::browseMovie()
{
    return browseAsset(movieDialog, QStringLiteral("Browse for a movie (*.ogv) file..."));
}

void MainWindow::browseForLevelAsset(LevelRow row)
{
    QString path;
    switch (LevelNfo::row(row).asset) {
    case AssetKind::Model: path = browseModel(); break;
    case AssetKind::Texture: path = browseTexture(); break;
    case AssetKind::Movie: path = browseMovie(); break;
    case AssetKind::None: return;
    }
    if (status.dialogCancelled)
        return;
    levelPanel()->valueEdit(row)->setText(path);
}

void MainWindow::browseForEpisodeThumbnail()
{
    const QString path = browseTexture();
    if (status.dialogCancelled)
        return;
    episodePanel()->thumbnailEdit()->setText(path);
}
