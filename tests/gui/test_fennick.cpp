// Fennick, the new-file companion: the files it writes, where, and what it asks and refuses.

#include "companion/fennickwindow.h"
#include "companion/newfile.h"
#include "core/episodenfo.h"
#include "core/levelnfo.h"
#include "editor/documentcontroller.h"
#include "editor/mainwindow.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {
// Records Fennick's message boxes and answers them from a queue (OK when none is queued).
struct FennickMessages
{
    FennickMessages()
    {
        FennickWindow::messageHook = [this](QMessageBox::Icon icon, const QString &text, QMessageBox::StandardButtons) {
            shown.append({icon, text});
            return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
        };
    }
    ~FennickMessages() { FennickWindow::messageHook = {}; }
    QList<QPair<QMessageBox::Icon, QString>> shown;
    QList<QMessageBox::StandardButton> answers;
};

enum CancelWay { CancelButton, EscKey, CloseBox };
} // namespace

class TestFennick : public QObject
{
    Q_OBJECT

private slots:
    // The files a new NFO starts as, byte for byte (the desktop's templates are the same).
    void templates()
    {
        QCOMPARE(LevelNfo::newFileTemplate(), readBytes(testData("new_level.nfo")));
        QCOMPARE(EpisodeNfo::newFileTemplate(), readBytes(testData("new_episode.nfo")));
    }

    void paths_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("target");
        QTest::newRow("proposed name kept") << "/mods/New.nfo" << "New.nfo" << "New.nfo" << "/mods/New.nfo";
        QTest::newRow("renamed without extension") << "/mods/New.nfo" << "New.nfo" << "Test1" << "/mods/Test1";
        QTest::newRow("subfolder") << "/mods/New.nfo" << "New.nfo" << "levels/a.nfo" << "/mods/levels/a.nfo";
        QTest::newRow("no folder part") << "New.nfo" << "New.nfo" << "b.nfo" << "b.nfo";
        QTest::newRow("blanks") << "/my mods/New File.nfo" << "New File.nfo" << "x y" << "/my mods/x y";
        QTest::newRow("double leading separator kept") << "//server/share/N.nfo" << "N.nfo" << "N.nfo" << "//server/share/N.nfo";
    }

    void paths()
    {
        QFETCH(QString, start);
        QFETCH(QString, proposed);
        QFETCH(QString, typed);
        QFETCH(QString, target);
        // The desktop hands over native paths.
        QCOMPARE(NewFile::proposedName(QDir::toNativeSeparators(start)), proposed);
        QCOMPARE(QDir::toNativeSeparators(NewFile::targetPath(QDir::toNativeSeparators(start), typed)),
                 QDir::toNativeSeparators(target));
    }


    void refusesMissingPath_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("none") << "";
        QTest::newRow("placeholder") << "%1";
    }

    void refusesMissingPath()
    {
        QFETCH(QString, argument);
        FennickMessages messages;
        QCOMPARE(runFennick(argument), 0);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].second, QString("Cannot make a new file : no path was specified."));
        QCOMPARE(messages.shown[0].first, QMessageBox::NoIcon);
    }

    void writesTheChosenTemplate_data()
    {
        QTest::addColumn<bool>("episode");
        QTest::addColumn<int>("size");
        QTest::addColumn<DocumentKind>("kind");
        QTest::newRow("level") << false << 81 << DocumentKind::LevelNfo;
        QTest::newRow("episode") << true << 34 << DocumentKind::EpisodeNfo;
    }

    void writesTheChosenTemplate()
    {
        QFETCH(bool, episode);
        QFETCH(int, size);
        QFETCH(DocumentKind, kind);
        TestFolder folder;
        FennickMessages messages;
        FennickWindow window(folder.path("New.nfo"));
        QCOMPARE(window.windowTitle(), QString("New .nfo Files - Brisquel"));
        QCOMPARE(window.nameEdit->text(), QString("New.nfo"));
        QVERIFY(window.levelOption->isChecked());
        window.show();
        if (episode)
            window.episodeOption->setChecked(true);
        QTest::keyClick(window.nameEdit, Qt::Key_Return);  // Enter presses Okay
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(readBytes(folder.path("New.nfo")).size(), size);
        QVERIFY(messages.shown.isEmpty());

        // Brisquel opens it without a word.
        EditorWindow editor(folder.path("New.nfo"));
        QCOMPARE(editor.docs.document().kind, kind);
        QVERIFY(!editor.docs.document().modified);
    }

    void cancelCreatesNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << int(CancelButton);
        QTest::newRow("Esc") << int(EscKey);
        QTest::newRow("close box") << int(CloseBox);
    }

    void cancelCreatesNothing()
    {
        QFETCH(int, how);
        TestFolder folder;
        FennickWindow window(folder.path("New.nfo"));
        window.show();
        if (how == CancelButton)
            window.cancelButton->click();
        else if (how == EscKey)
            QTest::keyClick(&window, Qt::Key_Escape);
        else
            window.close();
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QVERIFY(!window.isVisible());
        QVERIFY(!QFile::exists(folder.path("New.nfo")));
    }

    void asksBeforeReplacing_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes replaces") << int(QMessageBox::Yes);
        QTest::newRow("no keeps the old file") << int(QMessageBox::No);
    }

    void asksBeforeReplacing()
    {
        QFETCH(int, answer);
        TestFolder folder;
        const QString path = folder.path("Mine.nfo");
        writeBytes(path, "precious");
        FennickMessages messages;
        messages.answers.append(QMessageBox::StandardButton(answer));
        FennickWindow window(path);
        window.show();
        window.okayButton->click();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].second, "The file '" + path + "' already exists. Do you want to replace it?");
        const bool replaced = answer == QMessageBox::Yes;
        QCOMPARE(readBytes(path).size(), replaced ? 81 : 8);
        QCOMPARE(window.isVisible(), !replaced);
    }

#ifdef Q_OS_UNIX
    // The captions as the window manager shows them: exactly the program's own, nothing appended.
    void captionsOnTheDesktop_data()
    {
        QTest::addColumn<QString>("argument");  // as a shell word
        QTest::addColumn<QString>("title");
        QTest::newRow("the window") << "\"$PWD/New.nfo\"" << "New .nfo Files - Brisquel";
        QTest::newRow("a message box") << "" << "Brisquel";
        // A byte that is not UTF-8, as a file system can hold it: a box says so, and no window
        // offers to write a file under another name.
        QTest::newRow("a name that is not UTF-8: a box") << "\"$PWD/$(printf 'New\\377.nfo')\"" << "Brisquel";
    }

    void captionsOnTheDesktop()
    {
        QFETCH(QString, argument);
        QFETCH(QString, title);
        XServer x;
        if (!x.available())
            QSKIP("Xvfb and xdotool are needed");
        TestFolder folder;
        QProcess fennick;
        QProcessEnvironment environment = x.environment();
        environment.insert("LC_ALL", "C.UTF-8");
        fennick.setProcessEnvironment(environment);
        fennick.setWorkingDirectory(folder.path({}));
        fennick.start("/bin/sh", {"-c", "exec \"$0\" " + argument, BRISQUEL_DIST_DIR "/Fennick/Fennick"});
        QVERIFY(fennick.waitForStarted());
        QCOMPARE(x.windowTitleOf(fennick.processId()), title);
        fennick.kill();
        fennick.waitForFinished();
        QCOMPARE(QDir(folder.path({})).entryList(QDir::Files), QStringList());
    }
#endif

    void realBoxShowsPathsAsWritten()
    {
        QString seenText;
        Qt::TextFormat seenFormat = Qt::AutoText;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            seenText = box->text();
            seenFormat = box->findChild<QLabel *>("qt_msgbox_label")->textFormat();
            box->accept();
        });
        const QString text = "Cannot make the new file '/m/<b>x</b>.nfo': reason";
        FennickWindow::message(nullptr, QMessageBox::Critical, text, QMessageBox::Ok);
        QCOMPARE(seenText, text);
        QCOMPARE(seenFormat, Qt::PlainText);
    }

#ifdef Q_OS_UNIX
    // Only a plain file is made or replaced at the path: a link (to a file elsewhere, or to
    // nothing) or a pipe there is refused with what it is, nothing is asked and nothing written.
    void refusesWhatIsNoPlainFile_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a link to a file outside the folder") << "link" << "it is a link to '%1'";
        QTest::newRow("a link to nothing") << "dangling" << "it is a link to '%1'";
        QTest::newRow("a pipe") << "pipe" << "it is a pipe";
    }

    void refusesWhatIsNoPlainFile()
    {
        QFETCH(QString, what);
        QFETCH(QString, reason);
        TestFolder folder;
        const QString victim = folder.path(what == "dangling" ? "gone.txt" : "victim.txt");
        if (what == "link")
            writeBytes(victim, "precious");
        QDir().mkpath(folder.path("mod"));
        const QString path = folder.path("mod/New.nfo");
        if (what == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(QFile::link(victim, path));
        FennickMessages messages;
        messages.answers.append(QMessageBox::Yes);  // were it asked
        FennickWindow window(path);
        window.show();
        window.okayButton->click();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].first, QMessageBox::Critical);
        QCOMPARE(messages.shown[0].second, "Cannot make the new file '" + path + "': " + reason.arg(victim));
        QCOMPARE(readBytes(victim), QByteArray(what == "link" ? "precious" : "<missing>"));
        QVERIFY(window.isVisible());
    }
#endif

    // A file that cannot be made: one error naming it and why, no file left, the window stays.
    void writesThatFail_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("sizeLimit");  // 0: none
        QTest::addColumn<QString>("reason");
        QTest::newRow("a missing folder") << "no-such-folder/x.nfo" << 0 << "";
        QTest::newRow("the folder itself") << "" << 0 << "it is a folder";
#ifdef Q_OS_UNIX
        // No file may grow past 40 bytes: the 81-byte template is cut short, as on a full disk.
        QTest::newRow("cut short") << "New.nfo" << 40 << "File too large";
#endif
    }

    void writesThatFail()
    {
        QFETCH(QString, typed);
        QFETCH(int, sizeLimit);
        Q_UNUSED(sizeLimit);  // only where a size limit can be set
        QFETCH(QString, reason);
        TestFolder folder;
        FennickMessages messages;
        FennickWindow window(folder.path("New.nfo"));
        window.show();
        window.nameEdit->setText(typed);
        {
#ifdef Q_OS_UNIX
            std::optional<FileSizeLimit> limit;
            if (sizeLimit)
                limit.emplace(sizeLimit);
#endif
            window.okayButton->click();
        }
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].first, QMessageBox::Critical);
        const QString target = folder.path(typed);  // native separators, as the user sees them
        QVERIFY2(messages.shown[0].second.startsWith("Cannot make the new file '" + target), qPrintable(messages.shown[0].second));
        QVERIFY2(messages.shown[0].second.endsWith(reason), qPrintable(messages.shown[0].second));
        QVERIFY(QDir(folder.path({})).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(TestFennick)
#include "test_fennick.moc"
