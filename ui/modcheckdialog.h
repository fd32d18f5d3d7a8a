#pragma once

#include "core/modcheck.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QTimer;
class QTreeWidget;

// "Check Mod Folder": the mod check of one folder, a few files at a time between the window's
// other work (so the window never waits for it), with its progress and a way to stop it; then the
// findings in a list. Double-clicking a finding asks to open its file.
class ModCheckDialog : public QDialog
{
    Q_OBJECT

public:
    ModCheckDialog(const QString &folder, const QString &gameFolder, QWidget *parent = nullptr);

    bool isChecking() const;

signals:
    void openRequested(const QString &path);
    // The check has ended (finished or stopped) and its findings are shown.
    void checked();

private:
    void checkSomeFiles();
    void showReport(bool stopped);

    QString m_folder;
    QString m_gameFolder;
    QList<ModFiles::Entry> m_files;
    bool m_inStep = false;         // checking files (the window answers in between, inside a large file)
    bool m_stopRequested = false;
    ModCheck::Report m_report;
    QTimer *m_steps;
    QLabel *m_summary;
    QProgressBar *m_progress;
    QTreeWidget *m_findings;
    QDialogButtonBox *m_buttons;
};
