#pragma once

#include <QDialog>

// The About box: title, version, description, disclaimer, and the System Information tool.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // "Version 1.1.0": the build's own version numbers.
    static QString versionLine();

    // Starts the system information tool, or says that it is unavailable.
    void startSystemInformation();
};
