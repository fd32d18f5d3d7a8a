#pragma once

#include "core/applog.h"
#include "ui/statusreporter.h"
#include "ui/tiprotation.h"

#include <QMainWindow>

#include <functional>

class DocumentController;
class ModCheckPane;
class ProblemsPane;
class QAction;
class ElidedLabel;
class QLabel;
class QMenu;

// The editor's main window: the menus, the open document's panel, and the status row with its
// rotating tips.
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
    void runStartUp(const QString &commandLineText, bool readable = true);

    DocumentController &documents() { return *m_documents; }
    // The open document's findings (made when first asked for).
    ProblemsPane *problemsPane();
    // The mod check's pane (made when first asked for).
    ModCheckPane *modCheckPane();
    StatusReporter &status() { return m_status; }
    AppLog &log() { return m_log; }
    TipRotation &tips() { return m_tips; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void showHelp();
    void showOptions();
    void showAbout();
    // Asks for a mod folder and checks it in a window of its own.
    void checkModFolder();
    // File > Recent: the files opened or saved last, made when the menu opens.
    void fillRecentMenu();
    void openRecent(const QString &path);
    void rememberFile(const QString &path);
    // Runs a change of the recent files; a store that cannot be written is reported. Whether it was stored.
    bool storeRecentFiles(const std::function<void()> &update);
    // A file dropped on the window opens as the command line would open it; others are refused.
    void openDropped(const QString &path);
    // On the first start: make the file types openable, greet the user, show the Options dialog
    // and mark the first start done, however the dialog was closed.
    void runFirstStartCheck();
    // Makes .dsc and .nfo files openable and creatable from the desktop; false, with what failed,
    // when a step could not be done.
    bool registerFileTypes(QString *failure = nullptr);

    QString m_programFolder;
    QLabel *m_statusPicture = nullptr;
    ElidedLabel *m_statusLabel = nullptr;
    QAction *m_exitAction = nullptr;
    QMenu *m_recentMenu = nullptr;
    TipRotation m_tips;
    AppLog m_log;
    StatusReporter m_status;
    DocumentController *m_documents = nullptr;
    ProblemsPane *m_problems = nullptr;  // made with the first findings
    ModCheckPane *m_modCheck = nullptr;  // made at the first check
};
