// Description documents: the Save As dialog, the write, the Open DSC dialog and the load.

#include "editor/dscpanel.h"
#include "editor/form1.h"
#include "formats/documentfile.h"
#include "formats/dsctext.h"

#include <QFileInfo>

void Form1::DSCSaveAsDialog(OpenDocument &d)
{
    chooseSavePath(DSCOpenSave, QStringLiteral("Save .dsc file As..."), d);
}

bool Form1::DSCWrite(OpenDocument &d)
{
    const QString text = dscPanel()->text();
    return writeDocument(d, DscText::checkStorable(text), false, [&] { return DscText::toFile(text); });
}

void Form1::DSCOpenDialog(OpenDocument &d)
{
    if (!runFileDialog(DSCOpenSave, QStringLiteral("Open a .dsc file..."), FileDialog::Mode::Open))
        return;
    const QString path = DSCOpenSave.FileName;
    startLoad(DocKind::DSC, path, d, DSCOpenSave);
    DSCOpenSave.FileName = path;  // the dialog offers the chosen name next time
    // A name that is not an existing file leaves a new description that Save writes there.
    if (!QFileInfo(path).isFile())
        return;
    finishLoad(path, d, [this](const QString &text) { dscPanel()->setText(DscText::fromFile(text)); });
}

void Form1::DSCLoad(const QString &path, OpenDocument &d)
{
    startLoad(DocKind::DSC, path, d, DSCOpenSave);
    finishLoad(path, d, [this](const QString &text) { dscPanel()->setText(DscText::fromFile(text)); });
}
