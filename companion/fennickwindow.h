#pragma once

#include <QDialog>
#include <QMessageBox>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Fennick's window "New .nfo Files - Brisquel": Level or Episode, the file name, Okay or Cancel.
class FennickWindow : public QDialog
{
    Q_OBJECT

public:
    explicit FennickWindow(QString startPath, QWidget *parent = nullptr);

    // Writes the chosen template and one more CR LF; the window closes when the file is written.
    void createFile();

    // Shows a message box and returns the button pressed. Tests replace it.
    using MessageHook = std::function<QMessageBox::StandardButton(
        QMessageBox::Icon, const QString &text, QMessageBox::StandardButtons)>;
    static MessageHook messageHook;
    static QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                               QMessageBox::StandardButtons buttons);

    QLabel *typeLabel = nullptr;
    QRadioButton *levelOption = nullptr;
    QRadioButton *episodeOption = nullptr;
    QLabel *nameLabel = nullptr;
    QLineEdit *nameEdit = nullptr;
    QPushButton *okayButton = nullptr;
    QPushButton *cancelButton = nullptr;

private:
    QString m_startPath;
};

// Fennick's start: refuses an empty path, the unreplaced "%1" and a path that is not `readable`
// (not valid in the system's encoding of file names); otherwise shows the window. Returns the exit
// code once the window is gone.
int runFennick(const QString &argumentText, bool readable = true);
