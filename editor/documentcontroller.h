#pragma once

#include "editor/assetbrowser.h"
#include "editor/assetcompletion.h"
#include "editor/livecheck.h"
#include "editor/opendocument.h"
#include "ui/filedialog.h"
#include "ui/problemspane.h"

#include <QObject>

#include <array>
#include <optional>
#include <functional>

class AppLog;
class DocumentPanel;
class QBoxLayout;
class QWidget;
class StatusReporter;
namespace Nfo { struct ParseOutcome; }

// The one open document and the file commands on it: New, Open, Save, Save As and the question
// whether to save the changes first. Each kind of document is shown in a panel of its own, built
// when first needed and placed in `panelArea`.
class DocumentController : public QObject
{
    Q_OBJECT

public:
    DocumentController(QWidget *window, QBoxLayout *panelArea, StatusReporter &status, AppLog &log);
    ~DocumentController() override;

    enum class SaveOutcome { Saved, Cancelled, Failed, NotAllowed };

    const OpenDocument &document() const { return m_document; }
    // Forgets the document (the start of a session): no kind, no file, no changes.
    void clear() { m_document = OpenDocument{}; }
    void setModified(bool modified) { m_document.modified = modified; }

    void newDocument(DocumentKind kind);
    // File > Open: the entry of the kind's record asks for a file and opens it (an NFO entry opens
    // either NFO kind, by the file's first line).
    void open(DocumentKind entry);
    // Ctrl+N: a new document of the open document's kind (a Level NFO when none is open).
    void newOfTheSameKind();
    // Ctrl+O: one dialog for every kind; the file's kind is decided as on the command line.
    void openAnyKind();
    SaveOutcome save();
    SaveOutcome saveAs();
    // A file named on the command line: a description by its name, a Level or Episode NFO by its
    // first line.
    void openFromCommandLine(const QString &path);
    // The same for a file the user picked elsewhere (a finding of the mod check), after asking
    // to save the changes of the open document.
    void openFile(const QString &path);
    // Before the window closes: false when the user cancelled, or when the save they asked for
    // failed (a cancelled Save As does not keep the window open).
    bool maySaveBeforeClosing();

    // The kind's panel, built when first asked for.
    DocumentPanel *panel(DocumentKind kind);
    template <typename Panel> Panel *panel() { return static_cast<Panel *>(panel(Panel::Kind)); }

    // The open document's findings as the fields show them; the field of a finding's key.
    LiveCheck &liveCheck() { return m_liveCheck; }
    void focusField(const QString &key);
    // Applies the finding's fix (safe or suggested) to the document, as typing would; nothing is
    // written until Save. A document changed since its last check is checked first.
    void fix(const ModCheck::Finding &finding);
    // Applies every safe fix of the document, in rounds until none is left.
    void fixAll();
    // Whether `path` is the open document's file.
    bool isOpenFile(const QString &path) const;

signals:
    // A file was opened or saved (for the recent files).
    void fileUsed(const QString &path);
    // The open document was written to its file.
    void saved(const QString &path);
    // The open document was checked (after a change, an open or a save).
    void checked(const QList<ProblemsPane::Problem> &problems);

private:
    enum class SaveAnswer { Cancel, Save, DoNotSave };
    SaveAnswer askSaveCurrent();
    // Asks to save a changed document before it is replaced; false when the command must stop.
    bool saveBeforeReplacing();
    SaveOutcome runSave(bool alwaysAsk);
    // Where the Save dialog starts: the document's own file, or for a new one a name from its
    // NAME in the folder where the mod is.
    // Where a new document's mod most likely is: the folder of the document opened or saved
    // last, else the folder checked last (empty: neither is known).
    static QString lastModFolder();
    QString saveDialogStart();
    // Before Save writes over a file that was not read whole: whether the user lets the lines that
    // were not read go (default No, which saves under another name instead).
    bool mayDropUnreadLines();
    // Before Save writes over a file that another program has written since the document read or
    // saved it: whether the user lets it be replaced (default No, which saves under another name).
    bool mayReplaceChangedFile();
    bool write();
    void load(DocumentKind kind, const QString &path);
    // Opens an NFO file as the kind its first line names under the rule.
    void openNfo(const QString &path, NfoKind::Kind (*rule)(const QString &firstLine));
    // Shows the kind's panel as a new document named after the file.
    void startLoad(DocumentKind kind, const QString &path);
    // Reads the file and fills the panel. On failure the error is reported and the document gets
    // no path, so a later Save asks for one instead of overwriting the file that could not be read.
    void finishLoad(const QString &path);
    void showPanel(DocumentKind kind);
    void startNewDocument(DocumentKind kind);
    // The file Save writes, with the file title and the window title that go with it.
    void setCurrentFile(const QString &path);
    // Tells the user what reading an NFO file found: wrong-kind and invalid lines, and the line
    // that stopped the reading.
    void reportParse(const Nfo::ParseOutcome &outcome, const QString &path);
    // Runs an operation under the error trap: an AppError is reported and ends the operation.
    // Returns whether it ran to its end.
    bool trapped(const std::function<void()> &operation);
    RememberedFileDialog &fileDialog(DocumentKind kind);

    QWidget *m_window;
    QBoxLayout *m_panelArea;
    StatusReporter &m_status;
    AppLog &m_log;
    OpenDocument m_document;
    std::array<DocumentPanel *, 3> m_panels{};
    // By kind; the Episode's is also the Open NFO dialog, for both NFO kinds.
    std::array<RememberedFileDialog, 3> m_fileDialogs;
    RememberedFileDialog m_anyKindDialog{QStringLiteral("NFO and DSC files|*.nfo *.dsc")};
    AssetBrowser m_assets;
    AssetCompletion m_completion;
    LiveCheck m_liveCheck;

    // The open document's findings, and the bytes they were found in.
    QList<ModCheck::Finding> m_findings;
    QByteArray m_checkedBytes;
    // A fix asked for while the findings were out of date: applied once they are made again.
    struct WantedFix
    {
        bool all = false;
        ModCheck::Finding finding;  // which, when not all: by its rule, key and line
        int rounds = 0;             // Fix All: rounds left
        QByteArray mended;          // what the last round made: any other change ends the rounds
    };
    std::optional<WantedFix> m_wantedFix;
    // Applies the fix or fixes wanted, if the findings are of the document as it is now; else
    // checks it and waits.
    void applyWantedFix();
};
