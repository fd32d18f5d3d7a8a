// Description documents: the Save As dialog, the write, the Open DSC dialog and the load.

#include "editor/descriptionpanel.h"
#include "editor/mainwindow.h"
#include "core/codepage.h"
#include "core/documentfile.h"
#include "core/dsctext.h"

#include <QFileInfo>

void MainWindow::descriptionSaveAsDialog(OpenDocument &d)
{
    chooseSavePath(descriptionFileDialog, QStringLiteral("Save .dsc file As..."), d);
}

bool MainWindow::writeDescription(OpenDocument &d)
{
    if (m_openedDescription && descriptionPanel()->isUnedited())
        return writeDocument(d, std::nullopt, false, [&] { return *m_openedDescription; });
    const QString fileText = DscText::toFile(descriptionPanel()->text());
    return writeDocument(d, DscText::checkStorable(fileText), false,
                         [&] { return CodePage::encode(fileText); });
}

void MainWindow::openDescriptionDialog(OpenDocument &d)
{
    if (!runFileDialog(descriptionFileDialog, QStringLiteral("Open a .dsc file..."), FileDialog::Mode::Open))
        return;
    const QString path = descriptionFileDialog.FileName;
    startLoad(DocKind::DSC, path, d, descriptionFileDialog);
    descriptionFileDialog.FileName = path;  // the dialog offers the chosen name next time
    // A name that is not an existing file leaves a new description that Save writes there.
    if (!QFileInfo(path).isFile())
        return;
    finishLoad(path, d, [this](const QByteArray &bytes) { showDescription(bytes); });
}

void MainWindow::loadDescription(const QString &path, OpenDocument &d)
{
    startLoad(DocKind::DSC, path, d, descriptionFileDialog);
    finishLoad(path, d, [this](const QByteArray &bytes) { showDescription(bytes); });
}

void MainWindow::showDescription(const QByteArray &bytes)
{
    // A statement per step: each large intermediate text is freed before the next is made.
    QString text = DscText::fromFile(DocumentFile::decode(bytes));
    descriptionPanel()->setText(std::move(text));
    m_openedDescription = bytes;
}
