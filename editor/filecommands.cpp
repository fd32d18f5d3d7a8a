// The file commands of the main window: New, Open, Save, Save As, the save prompt, and the open of
// a file named on the command line.

#include "editor/descriptionpanel.h"
#include "editor/episodepanel.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"
#include "core/codepage.h"
#include "core/documentfile.h"
#include "core/nfokind.h"
#include "ui/messagebox.h"

#include <QSaveFile>

namespace {
const QString InvalidOperation = QStringLiteral("Invaild Opreation Error - No files can be saved.");

// The file title of a new document of the kind.
QString untitled(const QString &kind)
{
    return kind == DocKind::DSC ? QStringLiteral("untitled.dsc") : QStringLiteral("untitled.nfo");
}
} // namespace

void MainWindow::resetToNewDocument(const QString &kind, OpenDocument &d)
{
    if (kind == DocKind::DSC) {
        descriptionPanel()->setText(QString());
        m_openedDescription.reset();
    } else if (kind == DocKind::EpiNFO) {
        episodePanel()->setFields({});
    } else if (kind == DocKind::LvlNFO) {
        levelPanel()->setFields(LevelFields::newDocument());
    } else {
        return;
    }
    d.FileTitle = untitled(kind);
    d.Kind = kind;
    setDocumentTitle(kind, d.FileTitle);
    d.Dirty = false;
    d.Path.clear();
}

int MainWindow::askSaveCurrent(OpenDocument &d)
{
    if (!d.Dirty)
        return 2;
    switch (MessageBox::show(this, MessageBox::Icon::None, MessageBox::Buttons::YesNoCancel,
                             QStringLiteral("Save current opening file, '%1'?").arg(d.FileTitle))) {
    case MessageBox::Answer::Yes: return 1;
    case MessageBox::Answer::No: return 2;
    default: return 0;
    }
}

bool MainWindow::saveBeforeReplacing()
{
    status.dialogCancelled = false;
    const int answer = askSaveCurrent(document);
    if (answer == 0)
        return false;
    // A save that failed stops the command like a cancelled one: the unsaved document stays open.
    if (answer == 1 && saveCommand() == SaveOutcome::Failed)
        return false;
    return !status.dialogCancelled;
}

void MainWindow::newCommand(const QString &kind)
{
    if (!saveBeforeReplacing())
        return;
    showPanelForKind(kind);
    resetToNewDocument(kind, document);
    QString message;
    if (kind == DocKind::DSC)
        message = QStringLiteral("New DSC Document opened");
    else if (kind == DocKind::EpiNFO)
        message = QStringLiteral("New Episode NFO Document opened");
    else
        message = QStringLiteral("New Level NFO Docuemnt opened");
    status.reportStatus(message, QStringLiteral("Info"), true);
}

void MainWindow::openDscCommand()
{
    if (saveBeforeReplacing())
        openDescriptionDialog(document);
}

void MainWindow::openNfoCommand()
{
    if (saveBeforeReplacing())
        openNfoDialog(document);
}

MainWindow::SaveOutcome MainWindow::saveCommand() { return runSave(false); }

MainWindow::SaveOutcome MainWindow::saveAsCommand() { return runSave(true); }

MainWindow::SaveOutcome MainWindow::runSave(bool alwaysAsk)
{
    status.dialogCancelled = false;
    const QString kind = document.Kind;
    if (kind != DocKind::DSC && kind != DocKind::EpiNFO && kind != DocKind::LvlNFO) {
        MessageBox::show(this, MessageBox::Icon::Critical, MessageBox::Buttons::Ok, InvalidOperation);
        return SaveOutcome::NotAllowed;
    }
    // A write that fails leaves the document where it was: a later Save must not go to the name
    // chosen for the failed one.
    const QString previousPath = document.Path;
    const QString previousTitle = document.FileTitle;
    if (alwaysAsk || document.Path.isEmpty()) {
        if (kind == DocKind::DSC)
            descriptionSaveAsDialog(document);
        else if (kind == DocKind::EpiNFO)
            episodeSaveAsDialog(document);
        else
            levelSaveAsDialog(document);
    }
    bool written = false;
    if (kind == DocKind::DSC)
        written = writeDescription(document);
    else if (kind == DocKind::EpiNFO)
        written = writeEpisode(document);
    else
        written = writeLevel(document);

    if (status.dialogCancelled)
        return SaveOutcome::Cancelled;
    // A write stopped by an error has been reported already; it is not a save.
    if (!written) {
        document.Path = previousPath;
        document.FileTitle = previousTitle;
        return SaveOutcome::Failed;
    }
    MessageBox::show(this, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                     QStringLiteral("File '%1' was saved.").arg(document.FileTitle));
    status.reportStatus(QStringLiteral("Successfully saved '%1'").arg(document.Path),
                        QStringLiteral("Info"), true);
    document.Dirty = false;
    return SaveOutcome::Saved;
}

void MainWindow::openFromCommandLine(const QString &path, OpenDocument &d)
{
    if (NfoKind::commandLineNamesDsc(path)) {
        loadDescription(path, d);
        return;
    }
    NfoKind::Kind kind = NfoKind::Level;
    const bool decided = trapped([&] {
        kind = NfoKind::fromCommandLineFirstLine(Nfo::firstLine(DocumentFile::read(path), path));
    });
    if (!decided)
        return;
    if (kind == NfoKind::Level)
        loadLevel(path, d);
    else
        loadEpisode(path, d);
}

bool MainWindow::runFileDialog(FileDialogObject &dialog, const QString &title, FileDialog::Mode mode)
{
    status.dialogCancelled = false;
    dialog.Title = title;
    if (mode == FileDialog::Mode::Save ? dialog.showSave(this) : dialog.showOpen(this))
        return true;
    status.reportUnexpectedError(AppError::cancelled());
    return false;
}

void MainWindow::chooseSavePath(FileDialogObject &dialog, const QString &title, OpenDocument &d)
{
    // A saved or opened document is offered under its own name, in its own folder.
    if (!d.Path.isEmpty())
        dialog.FileName = d.Path;
    if (!runFileDialog(dialog, title, FileDialog::Mode::Save))
        return;
    d.Path = dialog.FileName;
    d.FileTitle = DocumentFile::fileTitleOf(d.Path);
}

bool MainWindow::writeDocument(OpenDocument &d, const std::optional<AppError> &unstorable,
                          bool reportGenerating, const std::function<QByteArray()> &build)
{
    if (status.dialogCancelled)
        return false;
    return trapped([&] {
        if (unstorable)
            throw *unstorable;
        QSaveFile file(d.Path);
        DocumentFile::openForWriting(file);
        if (reportGenerating)
            status.reportStatus(QStringLiteral("Generating file..."), QStringLiteral("Info"), true);
        DocumentFile::writeAndCommit(file, build());
        setDocumentTitle(d.Kind, d.FileTitle);
    });
}

std::optional<QByteArray> MainWindow::readForLoad(const QString &path, OpenDocument &d)
{
    try {
        return DocumentFile::readBytes(path);
    } catch (const AppError &error) {
        // A description that does not exist yet keeps its path: Save creates it.
        if (!(d.Kind == DocKind::DSC && error.number == AppError::FileNotFound)) {
            d.Path.clear();
            d.FileTitle = untitled(d.Kind);
        }
        status.reportUnexpectedError(error);
        return std::nullopt;
    }
}

void MainWindow::reportParse(const Nfo::ParseOutcome &outcome, const QString &path,
                        const QString &wrongKindText)
{
    // A file that is no game NFO at all (release notes, say) would be a box per line: a few are
    // shown, then one box counts the rest.
    constexpr qsizetype MostBoxes = 5;
    for (qsizetype i = 0; i < qMin(outcome.notices.size(), MostBoxes); ++i) {
        const Nfo::Notice &notice = outcome.notices.at(i);
        if (notice.kind == Nfo::Notice::WrongKind) {
            MessageBox::show(this, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                             wrongKindText
                                 + QStringLiteral("\r\n\r\nWarning - Don't know how to handle this error"));
        } else {
            MessageBox::show(this, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                             QStringLiteral("Found an invaild line in the file, '") + Nfo::shownLine(notice.line)
                                 + QStringLiteral("', ignoring line..."));
        }
    }
    if (outcome.notices.size() > MostBoxes) {
        const qsizetype more = outcome.notices.size() - MostBoxes;
        MessageBox::show(this, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                         QStringLiteral("%1 more %2 of the file could not be read and %3 ignored.")
                             .arg(more)
                             .arg(more == 1 ? QStringLiteral("line") : QStringLiteral("lines"),
                                  more == 1 ? QStringLiteral("was") : QStringLiteral("were")));
    }
    if (outcome.error) {
        status.reportUnexpectedError(
            {outcome.error->number, QStringLiteral("In '%1', %2").arg(path, outcome.error->description)});
    }
}

void MainWindow::startLoad(const QString &kind, const QString &path, OpenDocument &d, FileDialogObject &dialog)
{
    showPanelForKind(kind);
    resetToNewDocument(kind, d);
    d.Path = path;
    d.FileTitle = DocumentFile::fileTitleOf(path);
    dialog.FileName.clear();
}

void MainWindow::finishLoad(const QString &path, OpenDocument &d, const std::function<void(const QByteArray &)> &fill)
{
    const auto bytes = readForLoad(path, d);
    if (!bytes)
        return;
    fill(*bytes);
    // Filling the panel counted as edits.
    d.Dirty = false;
    setDocumentTitle(d.Kind, d.FileTitle);
    status.reportStatus(QStringLiteral("'%1' loaded").arg(path), QStringLiteral("Info"), true);
}
