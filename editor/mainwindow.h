#pragma once

#include "editor/opendocument.h"
#include "core/apperror.h"
#include "core/nfoline.h"
#include "ui/filedialog.h"
#include "core/applog.h"
#include "ui/tiprotation.h"
#include "ui/statusreporter.h"

#include <QMainWindow>

#include <functional>
#include <optional>

class DescriptionPanel;
class EpisodePanel;
class LevelPanel;
class QAction;
class QLabel;
class QMenu;
class QVBoxLayout;
enum class LevelRow;

// The editor's main window: one open document at a time, shown in the panel of its kind.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // `programFolder` holds the log, the help pages and the companion program.
    explicit MainWindow(QString programFolder, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: a fresh log, the tips, "Ready", the file named on the command line
    // (the whole argument text), and the first-run step. A name that is not `readable` in the
    // system's encoding is refused with a message: no path could name that file.
    void load(const QString &commandLineText, bool readable = true);

    // How a Save command ended.
    enum class SaveOutcome { Saved, Cancelled, Failed, NotAllowed };

    // File commands (the menu runs these).
    void newCommand(const QString &kind);
    void openDscCommand();
    void openNfoCommand();
    SaveOutcome saveCommand();
    SaveOutcome saveAsCommand();
    void helpCommand();
    void optionsCommand();
    void aboutCommand();

    // On the first start: make the file types openable, greet the user, show the Options dialog
    // and mark the first start done, however the dialog was closed.
    void runFirstStartCheck();
    // Makes .dsc and .nfo files openable and creatable from the desktop; false, with what failed,
    // when a step could not be done.
    bool registerFileTypes(QString *failure = nullptr);

    // Open document handling.
    void showPanelForKind(const QString &kind);
    void resetToNewDocument(const QString &kind, OpenDocument &document);
    int askSaveCurrent(OpenDocument &document);
    void openFromCommandLine(const QString &path, OpenDocument &document);

    // Level NFO documents.
    void levelSaveAsDialog(OpenDocument &document);
    bool writeLevel(OpenDocument &document);
    void loadLevel(const QString &path, OpenDocument &document);
    // Episode NFO documents, and the Open NFO dialog for both NFO kinds.
    void episodeSaveAsDialog(OpenDocument &document);
    bool writeEpisode(OpenDocument &document);
    void openNfoDialog(OpenDocument &document);
    void loadEpisode(const QString &path, OpenDocument &document);
    // Description documents.
    void descriptionSaveAsDialog(OpenDocument &document);
    bool writeDescription(OpenDocument &document);
    void openDescriptionDialog(OpenDocument &document);
    void loadDescription(const QString &path, OpenDocument &document);

    // Asset browsing: the path to enter (empty when cancelled; see status.dialogCancelled).
    QString browseModel();
    QString browseTexture();
    QString browseMovie();

    // The panels are built when first shown.
    LevelPanel *levelPanel();
    EpisodePanel *episodePanel();
    DescriptionPanel *descriptionPanel();

    OpenDocument document;
    QString programFolder() const { return m_programFolder; }

    QMenu *fileMenu = nullptr;
    QMenu *newMenu = nullptr;
    QMenu *openMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QAction *newDescriptionAction = nullptr;
    QAction *newEpisodeAction = nullptr;
    QAction *newLevelAction = nullptr;
    QAction *openDescriptionAction = nullptr;
    QAction *openNfoAction = nullptr;
    QAction *saveAction = nullptr;
    QAction *saveAsAction = nullptr;
    QAction *exitAction = nullptr;
    QAction *optionsAction = nullptr;
    QAction *helpAction = nullptr;
    QAction *aboutAction = nullptr;
    QLabel *statusPicture = nullptr;
    QLabel *statusLabel = nullptr;

    FileDialogObject levelFileDialog{QStringLiteral("Level NFO (*.nfo)|*.nfo")};
    FileDialogObject nfoFileDialog{QStringLiteral("NFO (*.nfo)|*.nfo")};
    FileDialogObject descriptionFileDialog{QStringLiteral("DSC Description File (*.dsc)|*.dsc")};
    FileDialogObject modelDialog{QStringLiteral("Model (*.mdl)|*.mdl")};
    FileDialogObject textureDialog{QStringLiteral("Texture (*.tex)|*.tex")};
    FileDialogObject movieDialog{QStringLiteral("Movie File (*.ogv)|*.ogv")};

    TipRotation tips;
    AppLog log;
    StatusReporter status;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void setDocumentTitle(const QString &kind, const QString &fileTitle);
    void markDirty() { document.Dirty = true; }
    // Runs an operation under the error trap: an AppError goes to reportUnexpectedError and
    // ends the operation. Returns whether it ran to its end.
    bool trapped(const std::function<void()> &operation);
    // Shows a file dialog with its title; a cancel sets dialogCancelled and returns false.
    bool runFileDialog(FileDialogObject &dialog, const QString &title, FileDialog::Mode mode);
    // The shared steps of the kinds' Save As dialogs.
    void chooseSavePath(FileDialogObject &dialog, const QString &title, OpenDocument &document);
    // The shared steps of the kinds' writes: refuse what cannot be stored, open, report, build,
    // write, set the title.
    bool writeDocument(OpenDocument &document, const std::optional<AppError> &unstorable,
                       bool reportGenerating, const std::function<QByteArray()> &build);
    // Reads the file of a load. On failure the error is reported and the document gets no path,
    // so a later Save asks for one instead of overwriting the file that could not be read.
    std::optional<QByteArray> readForLoad(const QString &path, OpenDocument &document);
    // The first and last steps shared by every load: show the kind's panel as a new document named
    // after the file; then read it, fill the panel and report it loaded.
    void startLoad(const QString &kind, const QString &path, OpenDocument &document,
                   FileDialogObject &dialog);
    void finishLoad(const QString &path, OpenDocument &document,
                    const std::function<void(const QByteArray &bytes)> &fill);
    // Tells the user what reading an NFO file found: wrong-kind and invalid lines, and the line
    // that stopped the reading.
    void reportParse(const Nfo::ParseOutcome &outcome, const QString &path, const QString &wrongKindText);
    SaveOutcome runSave(bool alwaysAsk);
    bool saveBeforeReplacing();
    void showDescription(const QByteArray &fileBytes);
    void browseForLevelAsset(LevelRow row);
    void browseForEpisodeThumbnail();
    QString browseAsset(FileDialogObject &dialog, const QString &title);

    QString m_programFolder;
    QVBoxLayout *m_panels = nullptr;
    LevelPanel *m_levelPanel = nullptr;
    EpisodePanel *m_episodePanel = nullptr;
    DescriptionPanel *m_descriptionPanel = nullptr;
    // The bytes of the description file as opened: saved unchanged while the text is not edited,
    // whatever line ends the file has.
    std::optional<QByteArray> m_openedDescription;
};
