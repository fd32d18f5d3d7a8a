#pragma once

#include "core/modcheck.h"

#include <QDialog>

#include <atomic>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QThread;
class QTreeWidget;

// "Check Mod Folder": the mod check of one folder, run beside the window (which never waits for
// it), with its progress and a way to stop it; then the findings in a list. Double-clicking a
// finding asks to open its file.
class ModCheckDialog : public QDialog
{
    Q_OBJECT

public:
    ModCheckDialog(const QString &folder, const QString &gameFolder, QWidget *parent = nullptr);
    ~ModCheckDialog() override;

    bool isChecking() const { return m_worker != nullptr; }

signals:
    void openRequested(const QString &path);
    // The check has ended (finished or stopped) and its findings are shown.
    void checked();

private:
    void showProgress(int done, int total);
    void showReport(const ModCheck::Report &report);
    void stop();

    QLabel *m_summary;
    QProgressBar *m_progress;
    QTreeWidget *m_findings;
    QDialogButtonBox *m_buttons;
    QString m_folder;
    QThread *m_worker = nullptr;
    std::atomic<bool> m_cancelled{false};
};
