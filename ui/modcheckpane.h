#pragma once

#include "core/modcheck.h"

#include <QDockWidget>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;

// "Mod check": the mod check of one folder in a pane of the window, a few files at a time between
// the window's other work (so the window never waits for it), with its progress and a way to stop
// it; then the findings in a list that can show errors or warnings only. Check Again runs the same
// folder again; a new check replaces the last one. Opening a finding asks for its file and field.
class ModCheckPane : public QDockWidget
{
    Q_OBJECT

public:
    explicit ModCheckPane(QWidget *parent = nullptr);

    // Checks the folder with the game folder as it is set now.
    void check(const QString &folder);
    bool isChecking() const;
    // Stops a running check: the files checked whole so far are reported.
    void stop();
    QString folder() const { return m_folder; }

signals:
    // A finding was opened: its file (empty when no path can name it), the NFO key of its line
    // (empty: none), and the file as the pane shows it.
    void openRequested(const QString &path, const QString &key, const QString &shown);
    // The check has ended (finished or stopped) and its findings are shown.
    void checked();

private:
    void checkSomeFiles();
    void showReport(bool stopped);
    void showFindings();

    QString m_folder;
    QString m_gameFolder;
    QList<ModFiles::Entry> m_files;
    bool m_inStep = false;  // checking files (the window answers in between, inside a large file)
    bool m_stopRequested = false;
    bool m_stopped = false;
    ModCheck::Report m_report;
    QTimer *m_steps;
    QLabel *m_summary;
    QProgressBar *m_progress;
    QComboBox *m_filter;
    QPushButton *m_stop;
    QPushButton *m_again;
    QTreeWidget *m_findings;
};
