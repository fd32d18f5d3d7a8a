#include "core/settings.h"
#include "tests/support/testsupport.h"

#include "editor/mainwindow.h"
#include "editor/documentcontroller.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

DialogScript::DialogScript()
{
    MessageBox::setHandler([this](const MessageBox::Request &request) {
        m_boxes.append(request);
        if (request.checked && !m_ticks.isEmpty())
            *request.checked = m_ticks.dequeue();
        if (!m_answers.isEmpty())
            return m_answers.dequeue();
        if (request.buttons == MessageBox::Buttons::Ok)
            return MessageBox::Answer::Ok;
        QTest::qFail(qPrintable(QStringLiteral("Unscripted question box: ") + request.text), __FILE__, __LINE__);
        return MessageBox::Answer::Cancel;
    });
    FileDialog::setHandler([this](const FileDialog::Request &request) -> std::optional<QString> {
        m_fileDialogs.append(request);
        if (!m_files.isEmpty())
            return m_files.dequeue();
        QTest::qFail(qPrintable(QStringLiteral("Unscripted file dialog: ") + request.title), __FILE__, __LINE__);
        return std::nullopt;
    });
    qApp->installEventFilter(this);
}

DialogScript::~DialogScript()
{
    qApp->removeEventFilter(this);
    MessageBox::setHandler({});
    FileDialog::setHandler({});
    if (!m_answers.isEmpty() || !m_files.isEmpty() || !m_ticks.isEmpty())
        QTest::qFail("Scripted answers were left unused", __FILE__, __LINE__);
    if (!m_boxes.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("A message box was shown that the test did not look at: ")
                                + m_boxes.constFirst().text),
                     __FILE__, __LINE__);
    }
}

QList<MessageBox::Request> DialogScript::takeBoxes() { return std::exchange(m_boxes, {}); }

QList<FileDialog::Request> DialogScript::takeFileDialogs() { return std::exchange(m_fileDialogs, {}); }

QStringList DialogScript::takeBoxTexts()
{
    QStringList texts;
    for (const auto &box : takeBoxes())
        texts.append(box.text);
    return texts;
}

void DialogScript::expectBox(const QString &text, int errorNumber)
{
    const QStringList texts = takeBoxTexts();
    QVERIFY2(texts.size() == 1 && texts[0].contains(text), qPrintable(texts.join(QStringLiteral(" | "))));
    if (errorNumber)
        QVERIFY2(texts[0].endsWith(QStringLiteral("Error Number :%1").arg(errorNumber)), qPrintable(texts[0]));
}

bool DialogScript::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && !allowRealDialogs) {
        if (auto *dialog = qobject_cast<QDialog *>(watched)) {
            QTest::qFail(qPrintable(QStringLiteral("A dialog was shown outside the seams: ")
                                    + dialog->windowTitle()),
                         __FILE__, __LINE__);
            QTimer::singleShot(0, dialog, &QDialog::reject);
        }
    }
    return QObject::eventFilter(watched, event);
}

namespace {
std::unique_ptr<MainWindow> startedForm(const QString &programFolder, const QString &commandLine)
{
    auto form = std::make_unique<MainWindow>(programFolder);
    form->runStartUp(commandLine);
    return form;
}
} // namespace

EditorWindow::EditorWindow(const QString &commandLine, const QString &programFolder)
    : m_form(startedForm(programFolder.isEmpty() ? folder.programFolder() : programFolder, commandLine))
    , form(*m_form)
    , docs(form.documents())
{
}

EditorWindow::~EditorWindow() = default;

QString EditorWindow::statusText() const { return control<QLabel>(&form, QStringLiteral("statusLabel"))->text(); }

QStringList EditorWindow::logLines() const
{
    return QString::fromLatin1(readBytes(form.log().path())).split(QStringLiteral("\r\n"));
}

#ifdef Q_OS_UNIX
#endif

#ifdef Q_OS_UNIX
XServer::XServer()
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
        return;
    // Xvfb picks a free display and writes its number to the descriptor it is given.
    m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!m_server.waitForStarted(10000))
        return;
    QElapsedTimer waited;
    waited.start();
    while (!m_server.canReadLine() && waited.elapsed() < 10000)
        m_server.waitForReadyRead(100);
    const QByteArray number = m_server.readLine().trimmed();
    if (!number.isEmpty())
        m_display = ":" + QString::fromLatin1(number);
}

XServer::~XServer()
{
    m_server.kill();
    m_server.waitForFinished();
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_display);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    return environment;
}

QString XServer::xdotool(const QStringList &arguments) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start("xdotool", arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString XServer::windowOf(qint64 pid) const
{
    return xdotool({"search", "--sync", "--onlyvisible", "--pid", QString::number(pid)}).section('\n', 0, 0);
}

QString XServer::windowTitleOf(qint64 pid) const
{
    const QString window = windowOf(pid);
    return window.isEmpty() ? QString() : xdotool({"getwindowname", window});
}

void startEditorProcess(QProcess &editor, const TestFolder &folder, const QStringList &shellArguments,
                        QProcessEnvironment environment)
{
    QSettings(folder.path("config/Brisquel/Brisquel.conf"), QSettings::IniFormat)
        .setValue(Settings::address(Settings::FirstStart), "NO");
    if (!environment.contains("QT_QPA_PLATFORM"))
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LC_ALL", "C.UTF-8");
    environment.insert("HOME", folder.path("home"));
    environment.insert("XDG_CONFIG_HOME", folder.path("config"));
    environment.insert("XDG_DATA_HOME", folder.path("data"));
    editor.setProcessEnvironment(environment);
    editor.setWorkingDirectory(folder.path({}));
    QFile::copy(BRISQUEL_DIST_DIR "/Brisquel", folder.path("program/Brisquel"));
    if (shellArguments.isEmpty())
        editor.start(folder.path("program/Brisquel"), {});
    else
        editor.start("/bin/sh", QStringList(shellArguments) << folder.path("program/Brisquel"));
    if (!editor.waitForStarted())
        QTest::qFail("The editor did not start", __FILE__, __LINE__);
}
#endif

QString shownToolTip(const QString &toolTip)
{
    if (!Qt::mightBeRichText(toolTip))
        return toolTip;
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}
