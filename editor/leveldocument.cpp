// Level NFO documents: the Save As dialog, the write and the load.

#include "editor/mainwindow.h"
#include "editor/levelpanel.h"
#include "core/codepage.h"
#include "core/documentfile.h"
#include "core/levelnfo.h"

void MainWindow::levelSaveAsDialog(OpenDocument &d)
{
    chooseSavePath(levelFileDialog, QStringLiteral("Save .nfo (Level) file As..."), d);
}

bool MainWindow::writeLevel(OpenDocument &d)
{
    const LevelFields fields = levelPanel()->fields();
    return writeDocument(d, LevelNfo::checkStorable(fields), true, [&] {
        return CodePage::encode(LevelNfo::generate(fields, [this](const QString &key) {
                   log.writeLog(QStringLiteral("Info"), key);
               })
               + DocumentFile::CRLF);
    });
}

void MainWindow::loadLevel(const QString &path, OpenDocument &d)
{
    startLoad(DocKind::LvlNFO, path, d, levelFileDialog);
    // The file includes the optional rows it names; the others stay excluded and hidden.
    LevelFields fields = levelPanel()->fields();
    fields.included.fill(false);
    levelPanel()->setFields(fields);
    finishLoad(path, d, [&](const QByteArray &bytes) {
        const Nfo::ParseOutcome outcome = LevelNfo::parse(DocumentFile::decode(bytes), fields);
        levelPanel()->setFields(fields);
        reportParse(outcome, path, QStringLiteral("Error : This is not a level NFO!"));
    });
}
