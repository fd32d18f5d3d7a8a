#pragma once

#include "editor/documenttypes.h"
#include "tests/support/testfiles.h"
#include "ui/filedialog.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QQueue>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

// Scripts every dialog the editor shows through its seams, and fails the test at once when a
// question box or file dialog appears that nobody scripted, or when a real dialog is shown
// without going through a seam. Boxes with only OK are answered and recorded; the test reads them
// with takeBoxes(), and boxes left unread fail the test when the script ends.
class DialogScript : public QObject
{
    Q_OBJECT

public:
    DialogScript();
    ~DialogScript() override;

    void answer(MessageBox::Answer answer) { m_answers.enqueue(answer); }
    // The next box with a check box has it ticked when it is answered.
    void tickCheckBox() { m_ticks.enqueue(true); }
    void choose(const QString &path) { m_files.enqueue(path); }
    void cancelFileDialog() { m_files.enqueue(std::nullopt); }

    QList<MessageBox::Request> takeBoxes();
    QList<FileDialog::Request> takeFileDialogs();
    // The texts of the boxes shown since the last take.
    QStringList takeBoxTexts();
    // Takes the boxes shown since the last take: exactly one, containing `text` and, for an
    // error, ending in its number. Fails the test otherwise.
    void expectBox(const QString &text, int errorNumber = 0);

    // Set by a test that drives a real dialog itself.
    bool allowRealDialogs = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QQueue<MessageBox::Answer> m_answers;
    QQueue<bool> m_ticks;
    QQueue<std::optional<QString>> m_files;
    QList<MessageBox::Request> m_boxes;
    QList<FileDialog::Request> m_fileDialogs;
};

Q_DECLARE_METATYPE(DocumentKind)

// The editor window started in a test folder of its own, with every dialog scripted.
class DocumentController;
class MainWindow;
struct EditorWindow
{
    explicit EditorWindow(const QString &commandLine = {}, const QString &programFolder = {});
    ~EditorWindow();
    QString file(const QString &name) const { return folder.path(name); }
    QStringList logLines() const;
    // What the status row shows.
    QString statusText() const;

    TestFolder folder;
    DialogScript script;

private:
    std::unique_ptr<MainWindow> m_form;  // built after the folder and the script, before `form`

public:
    MainWindow &form;
    DocumentController &docs;
};

#ifdef Q_OS_UNIX
// A private X server (Xvfb) for a test that needs the real window system: the titles that the
// window manager side sees. `available()` is false when Xvfb or xdotool is missing.
class XServer
{
public:
    XServer();
    ~XServer();
    bool available() const { return !m_display.isEmpty(); }
    // The environment for a program shown on this server.
    QProcessEnvironment environment() const;
    // The first visible window of the process, waiting up to 10 s for one, and its title (WM_NAME).
    QString windowOf(qint64 pid) const;
    QString windowTitleOf(qint64 pid) const;
    // Runs xdotool on this server (at most 10 s) and returns what it printed.
    QString xdotool(const QStringList &arguments) const;

private:
    QProcess m_server;
    QString m_display;
};

// The real editor, a copy in the test's program folder, started in the test folder as a user who
// has started it before (offscreen unless `environment` says otherwise). With `shellArguments` it
// is run through /bin/sh, as "$0".
void startEditorProcess(QProcess &editor, const TestFolder &folder, const QStringList &shellArguments = {},
                        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());
#endif

// A tooltip's text as Qt shows it: a text that looks like markup is drawn as rich text.
QString shownToolTip(const QString &toolTip);

// The control named by `path`, object names from `root` down ("levelPanel/nameEdit"); null if none.
template <typename Widget = QWidget> Widget *control(QObject *root, const QString &path)
{
    QObject *at = root;
    for (const QString &name : path.split(QLatin1Char('/')))
        at = at ? at->findChild<QObject *>(name) : nullptr;
    return qobject_cast<Widget *>(at);
}

// Runs `act` on the modal dialog once it is up.
template <typename Dialog, typename Act> void whenShown(Act act)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}
