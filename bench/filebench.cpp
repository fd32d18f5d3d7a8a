// Times the editor opening a file named on the command line and saving it with the Save command,
// through the same code the window and the menu run (message boxes answered at once).
//   filebench FILE ROUNDS
// Prints one line per round: open_ms filled_ms save_ms edited_save_ms, and the peak memory
// after the open (open_peak_kb) and at the end (peak_kb); then check_ms, the check while editing
// after the edit, and check_stall_ms, the longest wait of the window's event loop meanwhile
// (a description is saved once unedited, then after an edit at its start)
#include "core/settings.h"
#include "editor/descriptionpanel.h"
#include "editor/documentcontroller.h"
#include "editor/mainwindow.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>

#include <cstdio>

// The process's peak resident memory so far (VmHWM), in kB.
static long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int main(int argc, char *argv[])
{
    // A user folder of its own, where Brisquel has been started before: no first-run greeting,
    // and nothing of the real user's desktop is touched.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    QApplication app(argc, argv);
    try {
        Settings::markFirstStartDone();
    } catch (const AppError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description));
        return 1;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: filebench FILE ROUNDS\n");
        return 2;
    }
    MessageBox::setHandler([](const MessageBox::Request &) { return MessageBox::Answer::Ok; });
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int rounds = std::atoi(argv[2]);
    QTemporaryDir programFolder;
    for (int round = 0; round < rounds; ++round) {
        MainWindow form(programFolder.path());
        QElapsedTimer timer;
        timer.start();
        form.runStartUp(path);
        form.show();
        app.processEvents();
        const double openMs = double(timer.nsecsElapsed()) / 1e6;
        // A long description is shown at once and filled in behind; save the whole of it.
        while (form.documents().document().kind == DocumentKind::Description && form.documents().panel<DescriptionPanel>()->isFilling())
            app.processEvents();
        const double filledMs = double(timer.nsecsElapsed()) / 1e6;
        const long openPeakKb = peakKb();
        // A save with no edit writes the file as opened; after an edit the text is written anew.
        timer.restart();
        if (form.documents().save() != DocumentController::SaveOutcome::Saved) {
            std::fprintf(stderr, "filebench: the save failed\n");
            return 1;
        }
        const double saveMs = double(timer.nsecsElapsed()) / 1e6;
        if (form.documents().document().kind == DocumentKind::Description)
            QTextCursor(form.documents().panel<DescriptionPanel>()->textEdit->document()).insertText(QStringLiteral("Edited. "));
        form.documents().setModified(true);
        timer.restart();
        const auto outcome = form.documents().save();
        const double editedSaveMs = double(timer.nsecsElapsed()) / 1e6;
        if (outcome != DocumentController::SaveOutcome::Saved) {
            std::fprintf(stderr, "filebench: the save failed\n");
            return 1;
        }
        // The check while editing, after the edit: its time, and the longest the window waited for
        // its event loop meanwhile (a long description is checked between the window's other work).
        LiveCheck &check = form.documents().liveCheck();
        bool checked = false;
        QObject::connect(&check, &LiveCheck::checked, &form, [&checked] { checked = true; });
        QElapsedTimer sinceTick;
        double stallMs = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &form, [&] {
            stallMs = std::max(stallMs, double(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.restart();
        });
        ticker.start(1);
        sinceTick.start();
        timer.restart();
        check.checkNow();
        while (!checked)
            app.processEvents();
        const double checkMs = double(timer.nsecsElapsed()) / 1e6;
        stallMs = std::max(stallMs, double(sinceTick.nsecsElapsed()) / 1e6);
        std::printf("open_ms=%.1f filled_ms=%.1f save_ms=%.1f edited_save_ms=%.1f check_ms=%.3f check_stall_ms=%.1f "
                    "open_peak_kb=%ld peak_kb=%ld\n",
                    openMs, filledMs, saveMs, editedSaveMs, checkMs, stallMs, openPeakKb, peakKb());
        std::fflush(stdout);
    }
    return 0;
}
