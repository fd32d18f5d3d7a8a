#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

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

    QLabel *Image1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
};
