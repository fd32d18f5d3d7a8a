// Making .dsc and .nfo files openable: the thirty class rows, and what the desktop makes of them.

#include "shell/classstore.h"
#include "shell/desktopintegration.h"
#include "shell/filetyperows.h"
#include "shell/registerfiletypes.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

const FileTypeRows::Program Tools{"C:\\Tools", "Brisquel", ".exe", '\\'};

// Registers a program folder (with blanks) that holds the two icons.
QString registerProgram(const TestFolder &folder, QString *failure = nullptr)
{
    const QString program = folder.path("my tools");
    QDir().mkpath(program);
    for (const char *icon : {"filedsc.ico", "filenfo.ico"})
        QFile::copy(QStringLiteral(BRISQUEL_SOURCE_DIR "/resources/icons/") + icon, program + "/" + icon);
    QString what;
    const bool ok = FileTypes::RegisterFileTypes(program, "Brisquel", &what);
    if (failure)
        *failure = what;
    return ok ? program : QString();
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestFileTypes : public QObject
{
    Q_OBJECT

private slots:
    void thirtyRowsInOrder()
    {
        const auto rows = FileTypeRows::rows(Tools);
        QCOMPARE(rows.size(), size_t(30));
        QCOMPARE(rows[0].key, std::string(".dsc"));
        QCOMPARE(rows[0].text, std::string("SS2 Description Files"));
        QCOMPARE(rows[2].text, std::string("C:\\Tools\\filedsc.ico"));
        QCOMPARE(rows[5].key, std::string(".dsc\\Shell\\Open\\Command"));
        QCOMPARE(rows[5].text, std::string("\"C:\\Tools\\Brisquel.exe\" %1"));
        QCOMPARE(rows[7].name, std::string("NullFile"));
        QCOMPARE(rows[15].name, std::string("Command"));
        QCOMPARE(rows[15].text, std::string("\"C:\\Tools\\Fennick\\Fennick.exe\" %1"));
        QCOMPARE(rows[19].text, std::string("C:\\Tools\\filedsc.ico,0"));
        QCOMPARE(rows[29].key, std::string("SS2 Information Files\\shell\\open\\command"));
        int numbers = 0;
        for (const auto &row : rows) {
            if (row.type == FileTypeRows::Type::Dword) {
                ++numbers;
                QCOMPARE(row.number, std::uint32_t(row.name == "EditFlags" ? 0 : 8));
            }
            if (row.name == "NullFile")
                QCOMPARE(row.key, std::string(".dsc\\ShellNew"));
        }
        QCOMPARE(numbers, 4);
    }

    void execLines_data()
    {
        QTest::addColumn<QString>("openCommand");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "\"/opt/b/Brisquel\" %1" << "\"/opt/b/Brisquel\" %f";
        QTest::newRow("blanks") << "\"/opt/my tools/Brisquel\" %1" << "\"/opt/my tools/Brisquel\" %f";
        QTest::newRow("shell characters") << "\"/opt/$a`b\\c/Brisquel\" %1" << "\"/opt/\\\\$a\\\\`b\\\\\\\\c/Brisquel\" %f";
        QTest::newRow("percent") << "\"/opt/100%/Brisquel\" %1" << "\"/opt/100%%/Brisquel\" %f";
    }

    void execLines()
    {
        QFETCH(QString, openCommand);
        QFETCH(QString, exec);
        QCOMPARE(DesktopIntegration::execLine(openCommand), exec);
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

        const QString entry = QString::fromUtf8(readBytes(DesktopIntegration::dataFolder() + "/applications/brisquel.desktop"));
        QVERIFY2(entry.contains("\nExec=\"" + program + "/Brisquel\" %f\n"), qPrintable(entry));
        QVERIFY(QFile::exists(DesktopIntegration::dataFolder() + "/icons/hicolor/48x48/mimetypes/application-x-ss2-level-nfo.png"));

        // Registering again changes nothing.
        const QByteArray store = readBytes(FileTypes::classStorePath());
        const QByteArray list = readBytes(DesktopIntegration::mimeAppsListPath());
        QVERIFY(!FileTypes::RegisterFileTypes(program, "Brisquel", &failure) == false);
        QCOMPARE(readBytes(FileTypes::classStorePath()), store);
        QCOMPARE(readBytes(DesktopIntegration::mimeAppsListPath()), list);
    }

    void theDesktopKnowsTheTypes()
    {
        if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
            QSKIP("shared-mime-info is not installed");
        TestFolder folder;
        QVERIFY(!registerProgram(folder).isEmpty());
        writeBytes(folder.path("a.nfo"), "LEVEL\r\nNAME=\"x\"\r\n");
        writeBytes(folder.path("b.nfo"), "EPISODE\r\nNAME=\"x\"\r\n");
        writeBytes(folder.path("c.dsc"), "Some mod.\r\n");
        const QStringList types = run(MIMEPROBE, {folder.path("a.nfo"), folder.path("b.nfo"), folder.path("c.dsc")})
                                      .split('\n');
        QCOMPARE(types, QStringList({DesktopIntegration::LevelNfoType, DesktopIntegration::EpisodeNfoType,
                                     DesktopIntegration::DescriptionType}));

        if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
            QSKIP("xdg-utils is not installed");
        for (const QString &type : {DesktopIntegration::LevelNfoType, DesktopIntegration::EpisodeNfoType,
                                    DesktopIntegration::DescriptionType}) {
            QCOMPARE(run("xdg-mime", {"query", "default", type}), QString("brisquel.desktop"));
        }
    }

    void otherAssociationsAreKept()
    {
        TestFolder folder;
        writeBytes(DesktopIntegration::mimeAppsListPath(),
                   "[Default Applications]\ntext/plain=gedit.desktop;\n\n[Removed Associations]\nimage/png=x.desktop;\n");
        QVERIFY(!registerProgram(folder).isEmpty());
        const QString list = QString::fromUtf8(readBytes(DesktopIntegration::mimeAppsListPath()));
        QVERIFY(list.contains("text/plain=gedit.desktop;\n"));
        QVERIFY(list.contains("[Removed Associations]\nimage/png=x.desktop;\n"));
        QVERIFY(list.contains("application/x-ss2-description=brisquel.desktop;\n"));
        QCOMPARE(list.count("[Default Applications]"), 1);
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
