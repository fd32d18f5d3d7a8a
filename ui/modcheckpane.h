#pragma once

#include "core/backgroundrunner.h"
#include "core/modcheck.h"

#include <QDockWidget>

#include <atomic>
#include <functional>
#include <memory>

class FindingsList;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// "Mod check": the mod check of one folder in a pane of the window. The walk of the folder and
// the check of its files run behind the window, which shows their progress and can stop them at
// once; then the findings in a list that can show errors or warnings only. Check Again runs the
// same folder again; a new check replaces the last one. Opening a finding asks for its file and
// field. A file saved from the editor is checked again on its own, and its rows replaced.
class ModCheckPane : public QDockWidget
{
    Q_OBJECT

public:
    explicit ModCheckPane(QWidget *parent = nullptr);
    ~ModCheckPane() override;

    // Checks the folder with the game folder as it is set now.
    void check(const QString &folder);
    bool isChecking() const;
    // Stops a running check: the files checked whole so far are reported.
    void stop();
    QString folder() const { return m_folder; }
    // The file was saved: when it is one of the folder checked, its findings are made again.
    void refreshFile(const QString &path);
    // Fix All: after one question (No is the default), the safe fixes of every file listed are
    // applied. The file open in the editor is mended there by `fixOpenDocument` (which says
    // whether the path is that file); the others are checked again as they are on disk, mended
    // and written behind the window. Then the folder is checked again.
    void fixAll();
    void setOpenDocumentFixer(std::function<bool(const QString &path)> fixOpenDocument)
    {
        m_fixOpenDocument = std::move(fixOpenDocument);
    }
    bool isFixing() const { return m_fixing; }

signals:
    // A finding was opened: its file (empty when no path can name it), the NFO key of its line
    // (empty: none), and the file as the pane shows it.
    void openRequested(const QString &path, const QString &key, const QString &shown);
    // The check has ended (finished or stopped) and its findings are shown.
    void checked();

private:
    // What a check behind the window leaves: its progress as it goes, its report when it ends.
    struct Job
    {
        std::atomic<int> total{-1};  // files found: -1 while the walk goes on
        std::atomic<int> done{0};
        std::atomic<bool> complete{false};  // every file found was checked
        QList<ModFiles::Entry> files;
        ModCheck::Report report;
    };
    void showProgress();
    void showReport(bool stopped);
    void showFindings();
    void updateButtons();

    QString m_folder;
    QString m_gameFolder;
    std::shared_ptr<Job> m_job;
    QList<ModFiles::Entry> m_files;  // the files of the last check shown, those checked
    bool m_stopped = false;
    ModCheck::Report m_report;
    BackgroundRunner m_runner;
    QTimer *m_progressTimer;
    QLabel *m_summary;
    QProgressBar *m_progress;
    QComboBox *m_filter;
    QPushButton *m_stop;
    QPushButton *m_again;
    QPushButton *m_fixAll;
    std::function<bool(const QString &path)> m_fixOpenDocument;
    bool m_fixing = false;
    FindingsList *m_findings;
};
