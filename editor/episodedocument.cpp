// Episode NFO documents: the Save As dialog, the write, the load, and the Open NFO dialog that
// tells Level from Episode files by their first line.

#include "editor/episodepanel.h"
#include "editor/mainwindow.h"
#include "core/codepage.h"
#include "core/documentfile.h"
#include "core/episodenfo.h"
#include "core/nfokind.h"

#include <QFileInfo>

void MainWindow::episodeSaveAsDialog(OpenDocument &d)
{
    chooseSavePath(nfoFileDialog, QStringLiteral("Save .nfo (Episode) file As..."), d);
}

bool MainWindow::writeEpisode(OpenDocument &d)
{
    const EpisodeFields fields = episodePanel()->fields();
    return writeDocument(d, EpisodeNfo::checkStorable(fields), true, [&] {
        return CodePage::encode(EpisodeNfo::generate(fields, [this](const QString &key) {
                   log.writeLog(QStringLiteral("Info"), key);
               })
               + DocumentFile::CRLF);
    });
}

void MainWindow::openNfoDialog(OpenDocument &d)
{
    if (!runFileDialog(nfoFileDialog, QStringLiteral("Open a .nfo (Episode/Level) file..."), FileDialog::Mode::Open))
        return;
    const QString path = nfoFileDialog.FileName;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    NfoKind::Kind kind = NfoKind::Level;
    const bool decided = trapped([&] {
        kind = NfoKind::fromOpenDialogFirstLine(Nfo::firstLine(DocumentFile::read(path), path));
    });
    if (!decided)
        return;
    if (kind == NfoKind::Episode)
        loadEpisode(path, d);
    else
        loadLevel(path, d);
}

void MainWindow::loadEpisode(const QString &path, OpenDocument &d)
{
    startLoad(DocKind::EpiNFO, path, d, nfoFileDialog);
    finishLoad(path, d, [&](const QByteArray &bytes) {
        const QString text = DocumentFile::decode(bytes);
        EpisodeFields fields = episodePanel()->fields();
        const Nfo::ParseOutcome outcome = EpisodeNfo::parse(text, fields);
        episodePanel()->setFields(fields);
        reportParse(outcome, path, QStringLiteral("Error : This is not a episode NFO!"));
    });
}
