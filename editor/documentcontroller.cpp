#include "editor/documentcontroller.h"
#include "core/codepage.h"

#include "core/applog.h"
#include "core/checkfix.h"
#include "core/documentfile.h"
#include "core/nfokind.h"
#include "core/settings.h"
#include "editor/descriptionpanel.h"
#include "editor/episodepanel.h"
#include "editor/levelpanel.h"
#include "ui/messagebox.h"
#include "ui/plaintext.h"
#include "ui/statusreporter.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
std::array<RememberedFileDialog, 3> fileDialogs()
{
    std::array<RememberedFileDialog, 3> dialogs;
    for (DocumentKind kind : DocumentTypes::All)
        dialogs[size_t(DocumentTypes::index(kind))] = RememberedFileDialog(DocumentTypes::of(kind).dialogFilter);
    return dialogs;
}
} // namespace

DocumentController::DocumentController(QWidget *window, QBoxLayout *panelArea, StatusReporter &status, AppLog &log)
    : QObject(window)
    , m_window(window)
    , m_panelArea(panelArea)
    , m_status(status)
    , m_log(log)
    , m_fileDialogs(fileDialogs())
    , m_assets(window)
    , m_liveCheck([this] {
        if (m_document.kind == DocumentKind::None)
            return LiveCheck::Subject{};
        return LiveCheck::Subject{panel(m_document.kind),
                                  m_document.kind == DocumentKind::Description ? ModCheck::FileKind::Description
                                                                               : ModCheck::FileKind::Nfo,
                                  m_document.path};
    })
{
    connect(&m_liveCheck, &LiveCheck::checked, this, [this](const QList<ModCheck::Finding> &findings, const QByteArray &bytes) {
        if (m_document.kind == DocumentKind::None)  // forgotten meanwhile
            return;
        m_findings = findings;
        m_checkedBytes = bytes;
        DocumentPanel *shown = panel(m_document.kind);
        // What opening the file changed comes first: the check sees only what Save would write.
        QList<ModCheck::Finding> all;
        for (const Nfo::ChangedValue &value : m_document.changedValues) {
            all.append({m_document.path, value.line, ModCheck::Severity::Warning,
                        QStringLiteral("the file holds %1=\"%2\", which Save writes as %1=\"%3\"")
                            .arg(value.key, Nfo::shownLine(value.read), Nfo::shownLine(value.written)),
                        value.key});
        }
        all += findings;
        shown->showFindings(all);
        QList<ProblemsPane::Problem> problems;
        for (const ModCheck::Finding &finding : all)
            problems.append({finding, shown->fieldOf(finding.key).caption});
        emit checked(problems);
        if (m_wantedFix)
            applyWantedFix();
    });
}

void DocumentController::fix(const ModCheck::Finding &finding)
{
    m_wantedFix = WantedFix{false, finding, 1, {}};
    applyWantedFix();
}

void DocumentController::fixAll()
{
    // A mend that meets another waits for the next round, and a check lists a few findings of a
    // rule at a time: rounds go on while they mend something (each round mends, so they end).
    m_wantedFix = WantedFix{true, {}, 1000, {}};
    applyWantedFix();
}

void DocumentController::applyWantedFix()
{
    if (m_document.kind == DocumentKind::None || !m_wantedFix) {
        m_wantedFix.reset();
        return;
    }
    DocumentPanel *shown = panel(m_document.kind);
    // The findings are of the bytes last checked: a change since makes them out of date.
    if (m_liveCheck.isPending() || shown->isFilling() || shown->output().bytes() != m_checkedBytes) {
        m_liveCheck.checkNow();
        return;
    }
    WantedFix &wanted = *m_wantedFix;
    if (!wanted.mended.isNull() && wanted.mended != m_checkedBytes) {
        m_wantedFix.reset();  // typed meanwhile: what is typed now is the author's
        return;
    }
    QList<ModCheck::Finding> chosen;
    for (const ModCheck::Finding &finding : std::as_const(m_findings)) {
        if (wanted.all ? finding.fix.kind == ModCheck::FixKind::Safe
                       : finding.rule == wanted.finding.rule && finding.key == wanted.finding.key
                             && finding.line == wanted.finding.line && !finding.fix.isNone())
            chosen.append(finding);
    }
    QList<ModCheck::Finding> applied;
    const QByteArray mended = ModCheck::applyFixes(m_checkedBytes, chosen.mid(0, wanted.all ? -1 : 1),
                                                   ModCheck::FixLevel::Suggestions, &applied);
    wanted.mended = mended;
    if (applied.isEmpty() || --wanted.rounds <= 0)
        m_wantedFix.reset();
    if (!applied.isEmpty())
        shown->showMended(mended);
}

bool DocumentController::isOpenFile(const QString &path) const
{
    if (m_document.kind == DocumentKind::None || m_document.path.isEmpty())
        return false;
    const QString open = QDir::cleanPath(QFileInfo(m_document.path).absoluteFilePath());
    const QString other = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
#ifdef Q_OS_WIN
    return open.compare(other, Qt::CaseInsensitive) == 0;
#else
    return open == other;
#endif
}

void DocumentController::focusField(const QString &key)
{
    if (m_document.kind != DocumentKind::None)
        panel(m_document.kind)->focusField(key);
}

DocumentController::~DocumentController() = default;

RememberedFileDialog &DocumentController::fileDialog(DocumentKind kind)
{
    return m_fileDialogs[size_t(DocumentTypes::index(kind))];
}

DocumentPanel *DocumentController::panel(DocumentKind kind)
{
    DocumentPanel *&panel = m_panels[size_t(DocumentTypes::index(kind))];
    if (!panel) {
        panel = DocumentTypes::of(kind).makePanel(m_panelArea->parentWidget());
        panel->hide();
        // The description's text takes the window's height; the NFO panels keep theirs.
        m_panelArea->insertWidget(0, panel, DocumentTypes::of(kind).fillsHeight ? 1 : 0);
        connect(panel, &DocumentPanel::changed, this, [this] {
            m_document.modified = true;
            m_liveCheck.schedule();
        });
        connect(panel, &DocumentPanel::fixRequested, this, &DocumentController::fix);
        for (const auto &[kind, field] : panel->assetFields())
            m_completion.attach(kind, field, [panel, field = field] { panel->valueChosen(field); });
        connect(panel, &DocumentPanel::browseRequested, this, [this, panel](AssetKind asset, QLineEdit *field) {
            if (const auto path = m_assets.browse(asset, field->text())) {
                field->setText(*path);
                panel->valueChosen(field);
            }
        });
    }
    return panel;
}

void DocumentController::showPanel(DocumentKind kind)
{
    DocumentPanel *shown = panel(kind);
    for (DocumentPanel *other : m_panels) {
        if (other && other != shown)
            other->hide();
    }
    shown->show();
    // Typing goes into the document at once: the name, or the description.
    shown->firstField()->setFocus();
}

void DocumentController::setCurrentFile(const QString &path)
{
    const DocumentType &type = DocumentTypes::of(m_document.kind);
    m_document.path = path;
    m_document.fileTitle = path.isEmpty() ? type.untitledName : DocumentFile::fileTitleOf(path);
    m_window->setWindowTitle(QStringLiteral("Brisquel - ") + PlainText::shown(m_document.fileTitle, PlainText::MostInToolTip)
                             + type.titleSuffix);
    // Assets are looked for from the file's folder: another file, other findings, other files to
    // complete from (a description names no asset).
    m_liveCheck.schedule();
    if (m_document.kind != DocumentKind::Description)
        m_completion.setFolders(path.isEmpty() ? lastModFolder() : QFileInfo(path).absolutePath(),
                                Settings::gameFolderIfSet());
}

void DocumentController::startNewDocument(DocumentKind kind)
{
    m_liveCheck.cancel();  // the last document's check: its findings would be of another document
    m_wantedFix.reset();
    panel(kind)->showNewDocument();
    m_document.kind = kind;
    setCurrentFile(QString());
    m_document.modified = false;
    m_document.droppedLines = 0;
    m_document.undecodedLines.clear();
    m_document.changedValues.clear();
    m_document.stamp.reset();
}

DocumentController::SaveAnswer DocumentController::askSaveCurrent()
{
    if (!m_document.modified)
        return SaveAnswer::DoNotSave;
    switch (MessageBox::show(m_window, MessageBox::Icon::None, MessageBox::Buttons::YesNoCancel,
                             QStringLiteral("Save current opening file, '%1'?").arg(m_document.fileTitle))) {
    case MessageBox::Answer::Yes: return SaveAnswer::Save;
    case MessageBox::Answer::No: return SaveAnswer::DoNotSave;
    default: return SaveAnswer::Cancel;
    }
}

bool DocumentController::saveBeforeReplacing()
{
    switch (askSaveCurrent()) {
    case SaveAnswer::Cancel: return false;
    case SaveAnswer::DoNotSave: return true;
    case SaveAnswer::Save: break;
    }
    // A save that failed or was cancelled stops the command: the unsaved document stays open.
    const SaveOutcome outcome = save();
    return outcome != SaveOutcome::Failed && outcome != SaveOutcome::Cancelled;
}

bool DocumentController::maySaveBeforeClosing()
{
    switch (askSaveCurrent()) {
    case SaveAnswer::Cancel: return false;
    case SaveAnswer::DoNotSave: return true;
    case SaveAnswer::Save: break;
    }
    // A cancelled Save As does not stop the shutdown; a save that failed does, so that the
    // changes the user asked to keep are not thrown away.
    return save() != SaveOutcome::Failed;
}

void DocumentController::newDocument(DocumentKind kind)
{
    if (!saveBeforeReplacing())
        return;
    showPanel(kind);
    startNewDocument(kind);
    m_status.reportStatus(DocumentTypes::of(kind).newMessage, StatusKind::Info);
}

void DocumentController::newOfTheSameKind()
{
    newDocument(m_document.kind == DocumentKind::None ? DocumentKind::LevelNfo : m_document.kind);
}

void DocumentController::openAnyKind()
{
    if (!saveBeforeReplacing())
        return;
    if (const auto path = m_anyKindDialog.run(m_window, FileDialog::Mode::Open, QStringLiteral("Open a .nfo or .dsc file...")))
        openFromCommandLine(*path);
}

void DocumentController::open(DocumentKind entry)
{
    if (!saveBeforeReplacing())
        return;
    const DocumentType &type = DocumentTypes::of(entry);
    RememberedFileDialog &dialog = fileDialog(entry);
    const auto path = dialog.run(m_window, FileDialog::Mode::Open, type.openTitle);
    if (!path)
        return;
    if (type.createdWhenMissing) {
        startLoad(entry, *path);
        dialog.setFileName(*path);
        // A name that is not an existing file leaves a new document that Save writes there.
        if (QFileInfo(*path).isFile())
            finishLoad(*path);
    } else if (QFileInfo(*path).isFile()) {
        openNfo(*path, NfoKind::byEpisodeWord);
    }
}

void DocumentController::openFromCommandLine(const QString &given)
{
    // Known by its full path from here on: the status row and the log say which file it is.
    const QString path = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(given).absoluteFilePath()));
    if (NfoKind::isDescriptionName(path))
        load(DocumentKind::Description, path);
    else
        openNfo(path, NfoKind::byLevelPrefix);
}

void DocumentController::openNfo(const QString &path, NfoKind::Kind (*rule)(const QString &firstLine))
{
    NfoKind::Kind kind = NfoKind::Level;
    if (trapped([&] { kind = rule(Nfo::firstLine(DocumentFile::read(path), path)); }))
        load(DocumentTypes::ofNfo(kind), path);
}

void DocumentController::openFile(const QString &path)
{
    if (saveBeforeReplacing())
        openFromCommandLine(path);
}

void DocumentController::load(DocumentKind kind, const QString &path)
{
    startLoad(kind, path);
    finishLoad(path);
}

void DocumentController::startLoad(DocumentKind kind, const QString &path)
{
    m_liveCheck.cancel();  // the last document's check: its findings would be of another document
    m_wantedFix.reset();
    showPanel(kind);
    panel(kind)->prepareForFile();
    m_document.kind = kind;
    setCurrentFile(path);
    m_document.modified = false;
    m_document.droppedLines = 0;
    m_document.undecodedLines.clear();
    m_document.changedValues.clear();
    m_document.stamp.reset();
    fileDialog(kind).setFileName(QString());
}

void DocumentController::finishLoad(const QString &path)
{
    QByteArray bytes;
    try {
        bytes = DocumentFile::readBytes(path);
    } catch (const AppError &error) {
        // A description that does not exist yet keeps its path: Save creates it.
        if (!(DocumentTypes::of(m_document.kind).createdWhenMissing && error.number == AppError::FileNotFound))
            setCurrentFile(QString());
        m_status.reportError(error);
        return;
    }
    m_document.stamp = DocumentFile::stampOf(path, bytes);
    const Nfo::ParseOutcome outcome = panel(m_document.kind)->readFile(bytes);
    m_liveCheck.schedule();
    reportParse(outcome, path);
    // Filling the panel counted as edits.
    m_document.modified = false;
    m_document.droppedLines = outcome.droppedLines();
    // A value the panel cannot hold as read (a game mode it does not know, "yes" for YES) is
    // treated like a line that was not read: said now, listed, and asked about before a save.
    if (const auto same = DocumentTypes::of(m_document.kind).sameValue) {
        m_document.changedValues =
            Nfo::changedValues(DocumentFile::decode(bytes), DocumentFile::decode(panel(m_document.kind)->output().bytes()),
                               same, outcome.error ? outcome.error->line : 0);
    }
    m_document.undecodedLines = CodePage::undecodedLines(bytes);
    if (!m_document.undecodedLines.isEmpty()) {
        m_status.reportStatus(QStringLiteral("'%1' loaded, but line %2 holds bytes that %3 cannot read: the text "
                                             "shown there is not the file's, and saving over it changes them")
                                  .arg(path, QString::number(m_document.undecodedLines.first()), CodePage::name()),
                              StatusKind::Warning);
    } else {
        const bool notWhole = m_document.droppedLines || !m_document.changedValues.isEmpty();
        m_status.reportStatus(QStringLiteral("'%1' loaded").arg(path), notWhole ? StatusKind::Warning : StatusKind::Info);
    }
    emit fileUsed(path);
}

DocumentController::SaveOutcome DocumentController::save() { return runSave(false); }

DocumentController::SaveOutcome DocumentController::saveAs() { return runSave(true); }

namespace {
// A file name made of a level's or episode's name: the characters that a file name cannot hold on
// Windows left out, and the blanks and dots a name cannot end with.
QString fileNameOf(const QString &name)
{
    QString kept;
    for (const QChar c : name) {
        if (c.unicode() >= 0x20 && !QStringLiteral("<>:\"/\\|?*").contains(c))
            kept += c;
    }
    while (!kept.isEmpty() && (kept.endsWith(QLatin1Char(' ')) || kept.endsWith(QLatin1Char('.'))))
        kept.chop(1);
    return kept.trimmed();
}
} // namespace

QString DocumentController::lastModFolder()
{
    QString folder;
    if (const QString last = Settings::recentFiles().value(0); !last.isEmpty())
        folder = QFileInfo(last).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = Settings::read(Settings::CheckedFolder);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

QString DocumentController::saveDialogStart()
{
    // A saved or opened document is offered under its own name, in its own folder.
    if (!m_document.path.isEmpty())
        return m_document.path;
    // A new one where the mod is, else in the documents folder; never where assets were browsed for.
    QString folder = lastModFolder();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A Level or Episode document is offered under its NAME.
    QString name;
    if (const QWidget *nameField = panel(m_document.kind)->fieldOf(QStringLiteral("NAME")).control) {
        if (const auto *edit = qobject_cast<const QLineEdit *>(nameField); edit && !fileNameOf(edit->text()).isEmpty())
            name = fileNameOf(edit->text()) + QStringLiteral(".nfo");
    }
    folder = QDir::cleanPath(folder);
    return QDir::toNativeSeparators(name.isEmpty() ? (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'))
                                                   : QDir(folder).filePath(name));
}

DocumentController::SaveOutcome DocumentController::runSave(bool alwaysAsk)
{
    if (m_document.kind == DocumentKind::None) {
        MessageBox::show(m_window, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                         QStringLiteral("Invaild Opreation Error - No files can be saved."));
        return SaveOutcome::NotAllowed;
    }
    // A write that fails leaves the document where it was: a later Save must not go to the name
    // chosen for the failed one.
    const QString previousPath = m_document.path;
    if (!alwaysAsk && !m_document.path.isEmpty() && (!mayReplaceChangedFile() || !mayDropUnreadLines()))
        alwaysAsk = true;
    if (alwaysAsk || m_document.path.isEmpty()) {
        RememberedFileDialog &dialog = fileDialog(m_document.kind);
        dialog.setFileName(saveDialogStart());
        const auto path = dialog.run(m_window, FileDialog::Mode::Save, DocumentTypes::of(m_document.kind).saveAsTitle);
        if (!path)
            return SaveOutcome::Cancelled;
        setCurrentFile(*path);
    }
    // A write stopped by an error has been reported already; it is not a save.
    if (!write()) {
        setCurrentFile(previousPath);
        return SaveOutcome::Failed;
    }
    // Until the author says not to: then the status row's report is the confirmation.
    bool enough = false;
    if (Settings::savedBoxShown()) {
        MessageBox::show(m_window, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                         QStringLiteral("File '%1' was saved.").arg(m_document.fileTitle),
                         QStringLiteral("Do not show this again"), &enough);
    }
    m_status.reportStatus(QStringLiteral("Successfully saved '%1'").arg(m_document.path), StatusKind::Info);
    try {
        if (enough)
            Settings::write(Settings::ShowSavedBox, QStringLiteral("0"));
    } catch (const AppError &error) {
        m_status.reportError(error);  // the choice could not be kept: the box comes again
    }
    m_document.modified = false;
    m_document.droppedLines = 0;
    m_document.undecodedLines.clear();
    if (!std::exchange(m_document.changedValues, {}).isEmpty())
        m_liveCheck.schedule();  // what the file holds now is what the document does
    emit fileUsed(m_document.path);
    emit saved(m_document.path);
    return SaveOutcome::Saved;
}

bool DocumentController::mayReplaceChangedFile()
{
    if (!m_document.stamp || !DocumentFile::changedSince(m_document.path, *m_document.stamp))
        return true;
    return MessageBox::show(m_window, MessageBox::Icon::None, MessageBox::Buttons::YesNoDefaultNo,
                            QStringLiteral("'%1' has changed on disk since Brisquel read or saved it: another program "
                                           "has written it.\r\n\r\nReplace it with this document anyway? (No saves "
                                           "under another name.)")
                                .arg(m_document.path))
           == MessageBox::Answer::Yes;
}

bool DocumentController::mayDropUnreadLines()
{
    const qsizetype lines = m_document.droppedLines;
    const qsizetype values = m_document.changedValues.size();
    const qsizetype undecoded = m_document.undecodedLines.size();
    if (lines == 0 && values == 0 && undecoded == 0)
        return true;
    const auto are = [](qsizetype n) { return n == 1 ? QStringLiteral("is") : QStringLiteral("are"); };
    QStringList lost;
    if (lines)
        lost.append(QStringLiteral("%1 of its lines %2 not in the document").arg(QString::number(lines), are(lines)));
    if (values)
        lost.append(QStringLiteral("%1 of its values %2 not held as written").arg(QString::number(values), are(values)));
    if (undecoded) {
        lost.append(QStringLiteral("%1 of its lines %2 bytes that %3 cannot read")
                        .arg(QString::number(undecoded), undecoded == 1 ? QStringLiteral("holds") : QStringLiteral("hold"),
                             CodePage::name()));
    }
    const bool changes = values || undecoded;
    const QString what = lines && changes ? QStringLiteral("drops and changes") : lines ? QStringLiteral("drops")
                                                                                     : QStringLiteral("changes");
    return MessageBox::show(m_window, MessageBox::Icon::None, MessageBox::Buttons::YesNoDefaultNo,
                            QStringLiteral("'%1' was not read whole: %2, and saving over the file %3 them.\r\n\r\n"
                                           "Save over '%1' anyway? (No saves under another name.)")
                                .arg(m_document.fileTitle, lost.join(QStringLiteral(" and ")), what))
           == MessageBox::Answer::Yes;
}

bool DocumentController::write()
{
    DocumentPanel *shown = panel(m_document.kind);
    const DocumentPanel::Output output = shown->output();
    if (!output.unstorable.isEmpty()) {
        m_status.reportError(output.unstorable.first().error);
        return false;
    }
    return trapped([&] {
        QSaveFile file(m_document.path);
        DocumentFile::openForWriting(file);
        if (DocumentTypes::of(m_document.kind).reportsGenerating)
            m_status.reportStatus(QStringLiteral("Generating file..."), StatusKind::Info);
        for (const QString &key : shown->loggedKeys())
            m_log.writeLog(StatusKind::Info, key);
        const QByteArray bytes = output.bytes();
        DocumentFile::writeAndCommit(file, bytes);
        m_document.stamp = DocumentFile::stampOf(m_document.path, bytes);
    });
}

bool DocumentController::trapped(const std::function<void()> &operation)
{
    try {
        operation();
        return true;
    } catch (const AppError &error) {
        m_status.reportError(error);
        return false;
    }
}

void DocumentController::reportParse(const Nfo::ParseOutcome &outcome, const QString &path)
{
    // A file that is no game NFO at all (release notes, say) would be a box per line: a few are
    // shown, then one box counts the rest.
    constexpr qsizetype MostBoxes = 5;
    for (qsizetype i = 0; i < qMin(outcome.notices.size(), MostBoxes); ++i) {
        const Nfo::Notice &notice = outcome.notices.at(i);
        if (notice.kind == Nfo::Notice::WrongKind) {
            MessageBox::show(m_window, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                             DocumentTypes::of(m_document.kind).wrongKindText
                                 + QStringLiteral("\r\n\r\nWarning - Don't know how to handle this error"));
        } else {
            MessageBox::show(m_window, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                             QStringLiteral("Found an invaild line in the file, '") + Nfo::shownLine(notice.line)
                                 + QStringLiteral("', ignoring line..."));
        }
    }
    if (outcome.noticeCount > MostBoxes) {
        const qsizetype more = outcome.noticeCount - MostBoxes;
        MessageBox::show(m_window, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                         QStringLiteral("%1 more %2 of the file could not be read and %3 ignored.")
                             .arg(more)
                             .arg(more == 1 ? QStringLiteral("line") : QStringLiteral("lines"),
                                  more == 1 ? QStringLiteral("was") : QStringLiteral("were")));
    }
    if (outcome.error) {
        m_status.reportError({outcome.error->number, QStringLiteral("In '%1', %2").arg(path, outcome.error->withLine()),
                              path, outcome.error->line});
    }
}
