#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class StatusReporter;

// The Options dialog: the game folder, the tips switch and interval, and the button that makes
// the file types openable. Each opening shows the stored values afresh.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // `registerFileTypes` makes .dsc and .nfo openable and says whether every step succeeded;
    // `failure` then tells what could not be done.
    using Registration = std::function<bool(QString *failure)>;

    OptionsDialog(StatusReporter &status, Registration registerFileTypes, QWidget *parent = nullptr);

    // Stores the three settings and reports the new tip interval with tipIntervalSaved. False,
    // after reporting what failed, when the settings store cannot be written.
    bool saveSettings();

    QGroupBox *optionsGroup = nullptr;
    QLineEdit *gamePathEdit = nullptr;
    QCheckBox *savedMessageBox = nullptr;
    QPushButton *gamePathBrowse = nullptr;
    QCheckBox *showTipsBox = nullptr;
    QLineEdit *tipTimeEdit = nullptr;
    QPushButton *registerButton = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QPushButton *applyButton = nullptr;

signals:
    // The tip interval just stored, for whoever runs the tips to apply at once.
    void tipIntervalSaved(int milliseconds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createOptionsGroup();
    QHBoxLayout *createButtonRow();
    void connectControls();
    void showStoredValues();
    void updateTimeBox();
    // The tip time check that runs before the focus leaves tipTimeEdit; false (after its message)
    // keeps the focus there and stops what was moving it.
    bool validateTipTime();
    void makeFilesOpenable();

    StatusReporter &m_status;
    Registration m_registerFileTypes;
    bool m_refusedPress = false;
};
