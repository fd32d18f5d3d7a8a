// The browse buttons of the Level and Episode panels: pick a model, texture or movie and enter it
// relative to the game folder.

#include "editor/assetpath.h"
#include "editor/episodepanel.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"

#include <QLineEdit>

#include <array>

namespace {
// LvlNFOBrow index -> receiving LvlTxtVal index.
constexpr std::array<int, 6> ReceivingField{1, 5, 6, 7, 8, 9};
} // namespace

QString MainWindow::browseAsset(FileDialogObject &dialog, const QString &title)
{
    if (!runFileDialog(dialog, title, FileDialog::Mode::Open))
        return QString();
    return AssetPath::relativeToGameFolder(dialog.FileName, AssetPath::gameFolderSetting());
}

QString MainWindow::BrowseMdl() { return browseAsset(NFOBrowseMdl, QStringLiteral("Browse for a model...")); }

QString MainWindow::BrowseTex() { return browseAsset(NFOBrowseTex, QStringLiteral("Browse for a texture...")); }

QString MainWindow::BrowseOgv()
{
    return browseAsset(NFOBrowseOgv, QStringLiteral("Browse for a movie (*.ogv) file..."));
}

void MainWindow::LvlNFOBrow_Click(int index)
{
    if (index < 0 || index >= int(ReceivingField.size()))
        return;
    const QString path = index == 0 ? BrowseMdl() : index <= 2 ? BrowseTex() : BrowseOgv();
    if (status.DialogCancelled)
        return;
    levelPanel()->LvlTxtVal[size_t(ReceivingField[size_t(index)])]->setText(path);
}

void MainWindow::EpiNFOBrow_Click()
{
    const QString path = BrowseTex();
    if (status.DialogCancelled)
        return;
    episodePanel()->EpiTxtVal[1]->setText(path);
}
