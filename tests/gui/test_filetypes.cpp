// Making .dsc and .nfo files openable: the thirty class rows, and what the desktop makes of them.

#include "core/settings.h"
#include "shell/classstore.h"
#include "shell/desktopintegration.h"
#include "shell/filetyperows.h"
#include "shell/registerfiletypes.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const FileTypeRows::Program Tools{"C:\\Tools", "Brisquel", ".exe", '\\'};

// Registers a program folder (with blanks) that holds the two icons and a copy of the editor.
QString registerProgram(const TestFolder &folder, QString *failure = nullptr, const QString &place = "my tools")
{
    const QString program = folder.path(place);
    QDir().mkpath(program);
    for (const char *icon : {"filedsc.ico", "filenfo.ico"})
        QFile::copy(QStringLiteral(BRISQUEL_SOURCE_DIR "/resources/icons/") + icon, program + "/" + icon);
    QFile::copy(BRISQUEL_DIST_DIR "/Brisquel", program + "/Brisquel");
    QString what;
    const bool ok = FileTypes::registerFileTypes(program, program + "/Brisquel", &what);
    if (failure)
        *failure = what;
    return ok ? program : QString();
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString desktopFile(const QString &name)
{
    return QString::fromUtf8(readBytes(DesktopIntegration::dataFolder() + "/applications/" + name));
}

} // namespace

class TestFileTypes : public QObject
{
    Q_OBJECT

private slots:
    // The Windows rows: thirty, the commands quoted as Explorer splits them.
    void windowsRows()
    {
        const auto rows = FileTypeRows::rows(Tools);
        QCOMPARE(rows.size(), size_t(30));
        QCOMPARE(rows[5].key, std::string(".dsc\\Shell\\Open\\Command"));
        QCOMPARE(rows[5].text, std::string("\"C:\\Tools\\Brisquel.exe\" %1"));
        QCOMPARE(rows[15].text, std::string("\"C:\\Tools\\Fennick\\Fennick.exe\" %1"));
        QCOMPARE(rows[19].text, std::string("C:\\Tools\\filedsc.ico,0"));
    }

    void execLines_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain: no quotes, which generic launchers would take literally")
            << "/opt/b/Brisquel" << QStringList() << "/opt/b/Brisquel %f";
        QTest::newRow("blanks") << "/opt/my tools/Brisquel" << QStringList() << "\"/opt/my tools/Brisquel\" %f";
        QTest::newRow("a double quote does not cut it") << "/opt/say \"hi\"/Brisquel" << QStringList()
                                                        << "\"/opt/say \\\\\"hi\\\\\"/Brisquel\" %f";
        QTest::newRow("shell characters") << "/opt/$a`b\\c/Brisquel" << QStringList() << "\"/opt/\\\\$a\\\\`b\\\\\\\\c/Brisquel\" %f";
        QTest::newRow("percent") << "/opt/100%/Brisquel" << QStringList() << "/opt/100%%/Brisquel %f";
        QTest::newRow("renamed, with an option") << "/opt/b/brisquel-1.1" << QStringList{"--open-nfo"}
                                                 << "/opt/b/brisquel-1.1 --open-nfo %f";
        QTest::newRow("a reserved character") << "/opt/b&c/Brisquel" << QStringList{"--open-nfo"}
                                              << "\"/opt/b&c/Brisquel\" --open-nfo %f";
        QTest::newRow("a line break cannot be named") << "/opt/a\nb/Brisquel" << QStringList() << "";
    }

    void execLines()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, options);
        QFETCH(QString, exec);
        QCOMPARE(DesktopIntegration::execLine(program, options), exec);
    }

    void registeringWritesTheRowsAndTheDesktopFiles()
    {
        TestFolder folder;
        QString failure;
        const QString program = registerProgram(folder, &failure);
        QVERIFY2(!program.isEmpty(), qPrintable(failure));

        // The mirror holds the thirty rows, in order.
        const auto expected = FileTypeRows::rows({program.toStdString(), "Brisquel", "", '/'});
        const auto stored = ClassStore(FileTypes::classStorePath()).values();
        QCOMPARE(stored.size(), qsizetype(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(stored[qsizetype(i)].key.toStdString(), expected[i].key);
            QCOMPARE(stored[qsizetype(i)].name.toStdString(), expected[i].name);
            QCOMPARE(stored[qsizetype(i)].isNumber, expected[i].type == FileTypeRows::Type::Dword);
            QCOMPARE(stored[qsizetype(i)].text.toStdString(), expected[i].text);
            QCOMPARE(stored[qsizetype(i)].number, expected[i].number);
        }

        const QString templates = DesktopIntegration::templatesFolder();
        QCOMPARE(readBytes(templates + "/SS2 Description.dsc"), QByteArray("\r\n"));
        QCOMPARE(readBytes(templates + "/SS2 Level NFO.nfo"), readBytes(testData("new_level.nfo")));
        QCOMPARE(readBytes(templates + "/SS2 Episode NFO.nfo"), readBytes(testData("new_episode.nfo")));

        QVERIFY2(desktopFile("brisquel.desktop").contains("\nExec=\"" + program + "/Brisquel\" %f\n"), qPrintable(desktopFile("brisquel.desktop")));
        QVERIFY(desktopFile("brisquel.desktop").contains("\nMimeType=application/x-ss2-description;text/x-nfo;\n"));
        const QString handler = desktopFile("brisquel-nfo.desktop");
        QVERIFY2(handler.contains("\nExec=\"" + program + "/Brisquel\" --open-nfo %f\n"), qPrintable(handler));
        QVERIFY(handler.contains("\nNoDisplay=true\n"));
        QVERIFY(QFile::exists(DesktopIntegration::dataFolder() + "/icons/hicolor/48x48/mimetypes/application-x-ss2-description.png"));

        // Registering again changes nothing.
        const QByteArray store = readBytes(FileTypes::classStorePath());
        const QByteArray list = readBytes(DesktopIntegration::mimeAppsListPath());
        QVERIFY2(FileTypes::registerFileTypes(program, program + "/Brisquel", &failure), qPrintable(failure));
        QCOMPARE(readBytes(FileTypes::classStorePath()), store);
        QCOMPARE(readBytes(DesktopIntegration::mimeAppsListPath()), list);
    }

    // What a user gets from the desktop: GIO opens a game NFO and a description in Brisquel, and
    // any other .nfo where it opened before (here a stand-in text viewer that notes the file).
    // Also xdg-open with no desktop environment (its generic mode), which takes an Exec line's
    // quotes literally.
    void theDesktopOpensGameFilesInBrisquelAndOthersAsBefore_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("place");  // of the program
        QTest::newRow("gio, the program in a folder with a blank") << "gio" << "my tools";
        QTest::newRow("xdg-open without a desktop environment") << "xdg-open" << "tools";
    }

    void theDesktopOpensGameFilesInBrisquelAndOthersAsBefore()
    {
        QFETCH(QString, opener);
        QFETCH(QString, place);
        for (const char *tool : {"gio", "xdg-mime", "update-mime-database", "pkill", "xdg-open"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QString("%1 is not installed").arg(tool)));
        }
        TestFolder folder;
        const QString viewed = folder.path("viewed.txt");
        writeBytes(folder.path("viewer.sh"), ("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + viewed + "'\n").toUtf8());
        QFile::setPermissions(folder.path("viewer.sh"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeBytes(DesktopIntegration::dataFolder() + "/applications/viewer.desktop",
                   ("[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + folder.path("viewer.sh")
                    + " %f\nMimeType=text/plain;text/x-nfo;\n").toUtf8());
        writeBytes(DesktopIntegration::mimeAppsListPath(), "[Default Applications]\ntext/x-nfo=viewer.desktop;\n");
        QSettings(folder.path("config/Brisquel/Brisquel.conf"), QSettings::IniFormat).setValue(Settings::address(Settings::FirstStart), "NO");
        QString failure;
        const QString program = registerProgram(folder, &failure, place);
        QVERIFY2(!program.isEmpty(), qPrintable(failure));
        QCOMPARE(readBytes(DesktopIntegration::previousNfoDefaultPath()), QByteArray("viewer.desktop"));
        QCOMPARE(run("xdg-mime", {"query", "default", "text/x-nfo"}), QString("brisquel-nfo.desktop"));
        QCOMPARE(run("xdg-mime", {"query", "default", DesktopIntegration::DescriptionType}), QString("brisquel.desktop"));
        QVERIFY(run("gio", {"mime", "text/x-nfo"}).contains("brisquel.desktop"));  // "Open With" offers the editor

        writeBytes(folder.path("release.nfo"), "  Greetings to the scene\r\n");
        writeBytes(folder.path("level.nfo"), "LEVEL\r\nNAME=\"x\"\r\n");
        writeBytes(folder.path("mod.dsc"), "Some mod.\r\n");
        QCOMPARE(run(MIMEPROBE, {folder.path("level.nfo"), folder.path("mod.dsc")}).split('\n'),
                 QStringList({"text/x-nfo", DesktopIntegration::DescriptionType}));

        // What gio starts shares its output: run it without a pipe that closes behind them.
        const auto open = [&opener](const QString &path) {
            QProcess launcher;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char *desktop : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "GNOME_DESKTOP_SESSION_ID", "KDE_FULL_SESSION"})
                environment.remove(desktop);
            if (!environment.contains("DISPLAY"))
                environment.insert("DISPLAY", ":99");  // xdg-open opens files only for a display; Brisquel runs offscreen
            launcher.setProcessEnvironment(environment);
            launcher.setStandardOutputFile(QProcess::nullDevice());
            launcher.setStandardErrorFile(path + ".err");
            if (opener == "gio") {
                launcher.start(opener, {"open", path});
                QVERIFY2(launcher.waitForFinished(60000) && launcher.exitCode() == 0, readBytes(path + ".err").constData());
            } else {
                // xdg-open's generic mode waits for the program it starts.
                launcher.setProgram(opener);
                launcher.setArguments({path});
                QVERIFY(launcher.startDetached());
            }
        };
        open(folder.path("release.nfo"));
        QTRY_COMPARE_WITH_TIMEOUT(readBytes(viewed), folder.path("release.nfo").toUtf8() + "\n", 20000);
        for (const char *name : {"level.nfo", "mod.dsc"}) {
            open(folder.path(name));
            QTRY_VERIFY2_WITH_TIMEOUT(readBytes(program + "/AppLog.log").contains("INF : '" + folder.path(name).toUtf8() + "' loaded"), readBytes(program + "/AppLog.log").constData(), 20000);
            QProcess::execute("pkill", {"-f", program + "/Brisquel"});
        }
        QCOMPARE(readBytes(viewed).count('\n'), 1);
    }

    // A file that is no game NFO goes on to the program that opened .nfo files before, named so
    // that its launcher cannot take it for an option ("-notes.nfo" in the folder it starts in).
    void handedOnNamesAreNeverOptions()
    {
        TestFolder folder;
        QDir().mkpath(folder.path("bin"));
        const QString launched = folder.path("launched.txt");
        writeBytes(folder.path("bin/gio"), ("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + launched + "'\n").toUtf8());
        QFile::setPermissions(folder.path("bin/gio"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString viewer = DesktopIntegration::dataFolder() + "/applications/viewer.desktop";
        writeBytes(viewer, "[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %f\nMimeType=text/plain;\n");
        writeBytes(DesktopIntegration::previousNfoDefaultPath(), "viewer.desktop");
        writeBytes(folder.path("-notes.nfo"), "  Greetings to the scene\r\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", folder.path("bin") + ":" + environment.value("PATH"));
        QProcess editor;
        startEditorProcess(editor, folder, {"-c", "exec \"$0\" --open-nfo -notes.nfo"}, environment);
        QVERIFY(editor.waitForFinished(20000));
        QCOMPARE(editor.exitCode(), 0);
        QTRY_COMPARE(QString::fromUtf8(readBytes(launched)),
                     "launch\n" + viewer + "\n" + folder.path("-notes.nfo") + "\n");
    }

    void mimeAppsListStaysTheUsers_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("other associations kept")
            << QByteArray("[Default Applications]\ntext/plain=gedit.desktop;\n\n[Removed Associations]\nimage/png=x.desktop;\n")
            << QByteArray("[Default Applications]\ntext/plain=gedit.desktop;\ntext/x-nfo=brisquel-nfo.desktop;\n"
                          "application/x-ss2-description=brisquel.desktop;\n\n[Removed Associations]\nimage/png=x.desktop;\n\n"
                          "[Added Associations]\ntext/x-nfo=brisquel.desktop;\napplication/x-ss2-description=brisquel.desktop;\n");
        QTest::newRow("CR LF lines: the same groups, CR LF kept")
            << QByteArray("[Default Applications]\r\ntext/x-nfo=viewer.desktop;\r\n\r\n[Added Associations]\r\ntext/x-nfo=viewer.desktop;\r\n")
            << QByteArray("[Default Applications]\r\ntext/x-nfo=brisquel-nfo.desktop;viewer.desktop;\r\n"
                          "application/x-ss2-description=brisquel.desktop;\r\n\r\n[Added Associations]\r\n"
                          "text/x-nfo=viewer.desktop;brisquel.desktop;\r\napplication/x-ss2-description=brisquel.desktop;\r\n");
        QTest::newRow("a byte that is not UTF-8 is kept")
            << QByteArray("[Default Applications]\ntext/plain=caf\xe9.desktop;\n")
            << QByteArray("[Default Applications]\ntext/plain=caf\xe9.desktop;\ntext/x-nfo=brisquel-nfo.desktop;\n"
                          "application/x-ss2-description=brisquel.desktop;\n\n[Added Associations]\n"
                          "text/x-nfo=brisquel.desktop;\napplication/x-ss2-description=brisquel.desktop;\n");
        QTest::newRow("the types of earlier registrations go")
            << QByteArray("[Default Applications]\napplication/x-ss2-level-nfo=brisquel.desktop;\n")
            << QByteArray("[Default Applications]\ntext/x-nfo=brisquel-nfo.desktop;\n"
                          "application/x-ss2-description=brisquel.desktop;\n\n[Added Associations]\n"
                          "text/x-nfo=brisquel.desktop;\napplication/x-ss2-description=brisquel.desktop;\n");
    }

    void mimeAppsListStaysTheUsers()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        TestFolder folder;
        writeBytes(DesktopIntegration::mimeAppsListPath(), before);
        QString failure;
        QVERIFY2(!registerProgram(folder, &failure).isEmpty(), qPrintable(failure));
        QCOMPARE(readBytes(DesktopIntegration::mimeAppsListPath()), after);
        QVERIFY(!registerProgram(folder).isEmpty());
        QCOMPARE(readBytes(DesktopIntegration::mimeAppsListPath()), after);  // and again: no change
    }

    // Only plain files of the desktop's are read: anything else is left alone and reported, and
    // never waited on (a pipe) or read without end (a device).
    void unreadableMimeAppsListIsLeftAlone_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder") << "folder" << "is a folder, not a file";
#ifdef Q_OS_UNIX
        QTest::newRow("a pipe") << "pipe" << "is not a plain file: it is a pipe";
        QTest::newRow("a link to an endless device") << "device" << "is not a plain file: it is a device";
#endif
    }

    void unreadableMimeAppsListIsLeftAlone()
    {
        QFETCH(QString, what);
        QFETCH(QString, reason);
        TestFolder folder;
        const QString list = DesktopIntegration::mimeAppsListPath();
        if (what == "folder")
            QDir().mkpath(list);
#ifdef Q_OS_UNIX
        else if (what == "pipe")
            QCOMPARE(mkfifo(QFile::encodeName(list).constData(), 0600), 0);
        else
            QVERIFY(QFile::link("/dev/zero", list));
#endif
        QString failure;
        QVERIFY(registerProgram(folder, &failure).isEmpty());
        QCOMPARE(failure, "cannot read the desktop's default applications: '" + list + "' " + reason + "; it was left as it is");
        QCOMPARE(QFileInfo(list).isDir(), what == "folder");
        QFile::remove(list);
        QDir().rmdir(list);
    }

    // The application remembered for other .nfo files is taken only when it is one: an id in the
    // applications folders that is not Brisquel's; a pipe, a device or a huge file there is no id.
    void rememberedNfoDefault_data()
    {
        QTest::addColumn<QByteArray>("stored");  // "pipe", "device": made as such
        QTest::addColumn<QString>("taken");
        QTest::newRow("an application") << QByteArray("viewer.desktop\n") << "viewer.desktop";
        QTest::newRow("a path out of the applications folders") << QByteArray("../../evil.desktop") << "";
        QTest::newRow("Brisquel's own, in other letters") << QByteArray("Brisquel.desktop") << "";
        QTest::newRow("not a desktop file") << QByteArray("viewer") << "";
        QTest::newRow("a huge file") << QByteArray(2 * 1024 * 1024, 'a') << "";
#ifdef Q_OS_UNIX
        QTest::newRow("a pipe") << QByteArray("pipe") << "";
        QTest::newRow("a link to an endless device") << QByteArray("device") << "";
#endif
    }

    void rememberedNfoDefault()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, taken);
        TestFolder folder;
        const QString path = DesktopIntegration::previousNfoDefaultPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
#ifdef Q_OS_UNIX
        if (stored == "pipe")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (stored == "device")
            QVERIFY(QFile::link("/dev/zero", path));
        else
#endif
            writeBytes(path, stored);
        QCOMPARE(DesktopIntegration::previousNfoDefault(), taken);
        QFile::remove(path);
    }

    void templatesAreWrittenOnlyWhereTheyBelong_data()
    {
        QTest::addColumn<QString>("templatesDir");  // as xdg-user-dirs writes it
        QTest::addColumn<bool>("written");
        QTest::newRow("the Templates folder") << "$HOME/Templates" << true;
        QTest::newRow("the home folder means no templates") << "$HOME/" << false;
    }

    void templatesAreWrittenOnlyWhereTheyBelong()
    {
        QFETCH(QString, templatesDir);
        QFETCH(bool, written);
        TestFolder folder;
        writeBytes(folder.path("config/user-dirs.dirs"), ("XDG_TEMPLATES_DIR=\"" + templatesDir + "\"\n").toUtf8());
        const QString templates = QDir::homePath() + "/Templates";
        QDir().mkpath(templates);
        QVERIFY(!registerProgram(folder).isEmpty());
        QCOMPARE(QFile::exists(templates + "/SS2 Level NFO.nfo"), written);
        QCOMPARE(QDir::home().entryList(QDir::Files), QStringList());
        if (!written)
            return;
        // A template the user changed is theirs.
        writeBytes(templates + "/SS2 Level NFO.nfo", "LEVEL\r\nNAME=\"My usual name\"\r\n");
        QVERIFY(!registerProgram(folder).isEmpty());
        QCOMPARE(readBytes(templates + "/SS2 Level NFO.nfo"), QByteArray("LEVEL\r\nNAME=\"My usual name\"\r\n"));
    }

    void aTargetThatCannotBeWrittenIsReported()
    {
        TestFolder folder;
        // A data folder that is a file cannot be written into, whoever runs the test.
        writeBytes(folder.path("data-file"), "x");
        qputenv("XDG_DATA_HOME", folder.path("data-file").toLocal8Bit());
        QString failure;
        QVERIFY(registerProgram(folder, &failure).isEmpty());
        QVERIFY2(failure.contains("data-file") || failure.contains("XDG_DATA_HOME"), qPrintable(failure));
    }
};

QTEST_MAIN(TestFileTypes)
#include "test_filetypes.moc"
