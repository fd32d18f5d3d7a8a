// The browse buttons of the Level and Episode panels: pick a model, texture or movie and enter it
// relative to the game folder.

#include "core/assetpath.h"
#include "editor/episodepanel.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"

#include <QLineEdit>

#include <array>

namespace {
// browseButtons index -> receiving valueEdits index.
constexpr std::array<int, 6> ReceivingField{1, 5, 6, 7, 8, 9};
} // namespace

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

void MainWindow::browseForLevelAsset(int index)
{
    if (index < 0 || index >= int(ReceivingField.size()))
        return;
    const QString path = index == 0 ? browseModel() : index <= 2 ? browseTexture() : browseMovie();
    if (status.dialogCancelled)
        return;
    levelPanel()->valueEdits[size_t(ReceivingField[size_t(index)])]->setText(path);
}

void MainWindow::browseForEpisodeThumbnail()
{
    const QString path = browseTexture();
    if (status.dialogCancelled)
        return;
    episodePanel()->valueEdits[1]->setText(path);
}
