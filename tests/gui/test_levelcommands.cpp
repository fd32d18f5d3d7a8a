// The editor window with Level NFO documents: start-up, New, Save, Save As, the save prompt, the
// shutdown, the command-line open, and the mends around failed saves and opens.

#include "editor/documentcontroller.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using Answer = MessageBox::Answer;

namespace {

const QByteArray NewLevelFile = "LEVEL\r\nNAME=\"\"\r\nMAP_TYPE=\"\"\r\nLOADING_MODEL=\"\"\r\n"
                                "MODEL_ANIMATION=\"\"\r\nMODEL_ROTATE=\"YES\"\r\nMODEL_DISTANCE=\"\"\r\n"
                                "MODEL_NAME=\"\"\r\nLOADING_SCREEN=\"\"\r\nTHUMBNAIL=\"\"\r\n"
                                "ETA=\"00:00:00\"\r\nEPISODE_MOVIE=\"\"\r\nINTRO_MOVIE=\"\"\r\n"
                                "OUTRO_MOVIE=\"\"\r\nLOCKED=\"YES\"\r\n";

const QString InvalidOperation = QStringLiteral("Invaild Opreation Error - No files can be saved.");

bool anyPanelVisible(MainWindow &form)
{
    for (const char *name : {"levelPanel", "episodePanel", "descriptionPanel"}) {
        auto *panel = form.findChild<QWidget *>(name);
        if (panel && panel->isVisibleTo(&form))
            return true;
    }
    return false;
}

} // namespace

class TestLevelCommands : public QObject
{
    Q_OBJECT

private slots:
    void startUp()
    {
        EditorWindow e;
        QCOMPARE(e.form.windowTitle(), QString("Brisquel"));
        QVERIFY(!anyPanelVisible(e.form));
        QCOMPARE(e.statusText(), QString("Ready"));
        QCOMPARE(e.form.status().shownKind(), QString("Info"));
        QCOMPARE(e.docs.document().kind, DocumentKind::None);

        const QStringList lines = e.logLines();
        QCOMPARE(lines.value(0), QString());
        QVERIFY(lines.value(1).startsWith("----") && lines.value(1).endsWith("----"));
        QVERIFY(lines.value(1).size() > 8);
        QCOMPARE(lines.value(2), QString());
        QCOMPARE(lines.value(3), QString("INF : Ready"));
        QCOMPARE(lines.size(), 5);  // and the piece after the last CR LF

        // Nothing to save yet.
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::NotAllowed);
        QCOMPARE(e.docs.saveAs(), DocumentController::SaveOutcome::NotAllowed);
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), 2);
        for (const auto &box : boxes) {
            QCOMPARE(box.text, InvalidOperation);
            QCOMPARE(box.icon, MessageBox::Icon::Critical);
            QCOMPARE(box.caption, QString("Brisquel"));
        }
        QCOMPARE(e.statusText(), QString("Ready"));
    }

    void ignoredCommandLines_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("empty") << "";
        QTest::newRow("placeholder") << "%1";
    }

    void ignoredCommandLines()
    {
        QFETCH(QString, commandLine);
        EditorWindow e(commandLine);
        QCOMPARE(e.docs.document().kind, DocumentKind::None);
        QCOMPARE(e.logLines().value(4), QString());
    }

    void newLevelThenSaveWritesTheNewDocument()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - untitled.nfo (Level NFO)"));
        QVERIFY(e.docs.levelPanel()->isVisibleTo(&e.form));
        QVERIFY(!e.docs.document().modified);
        QCOMPARE(e.statusText(), QString("New Level NFO Docuemnt opened"));

        const QString path = e.file("new.nfo");
        e.script.choose(path);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        const auto dialogs = e.script.takeFileDialogs();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].title, QString("Save .nfo (Level) file As..."));
        QCOMPARE(dialogs[0].filter, QString("Level NFO (*.nfo)|*.nfo"));
        QCOMPARE(dialogs[0].mode, FileDialog::Mode::Save);

        QCOMPARE(readBytes(path), NewLevelFile);
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QString("File 'new.nfo' was saved."));
        QCOMPARE(boxes[0].icon, MessageBox::Icon::Information);
        QCOMPARE(e.statusText(), "Successfully saved '" + path + "'");
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - new.nfo (Level NFO)"));
        QVERIFY(!e.docs.document().modified);

        const QStringList log = e.logLines();
        const qsizetype generating = log.indexOf("INF : Generating file...");
        QVERIFY(generating > 0);
        QCOMPARE(log.mid(generating + 1, 3), QStringList({"INF : LEVEL", "INF : MAP_TYPE", "INF : LOADING_MODEL"}));
        QCOMPARE(log.at(log.size() - 2), "INF : Successfully saved '" + path + "'");

        // Save again: no dialog, the remembered path.
        e.docs.levelPanel()->valueEdit(LevelRow::Name)->setText("Again");
        QVERIFY(e.docs.document().modified);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        QCOMPARE(e.script.takeFileDialogs().size(), 0);
        QCOMPARE(e.script.takeBoxTexts(), QStringList{"File 'new.nfo' was saved."});
        QVERIFY(readBytes(path).contains("NAME=\"Again\""));
    }

    void saveAsOffersTheLastNameAndCancelChangesNothing()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.script.choose(e.file("one.nfo"));
        e.docs.saveAs();
        e.script.takeBoxes();
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName, QString());
        control<QLineEdit>(e.docs.levelPanel(), "etaHoursEdit")->setText("12");
        QVERIFY(e.docs.document().modified);

        e.script.cancelFileDialog();
        QCOMPARE(e.docs.saveAs(), DocumentController::SaveOutcome::Cancelled);
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName, e.file("one.nfo"));
        QVERIFY(e.docs.document().modified);
        QCOMPARE(e.docs.document().path, e.file("one.nfo"));
        QCOMPARE(e.statusText(), "Successfully saved '" + e.file("one.nfo") + "'");
    }

    void savePromptOnNew_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("cancelSaveAs");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<bool>("written");
        QTest::newRow("cancel keeps the document") << int(Answer::Cancel) << false << false << false;
        QTest::newRow("no discards the changes") << int(Answer::No) << false << true << false;
        QTest::newRow("yes saves first") << int(Answer::Yes) << false << true << true;
        QTest::newRow("yes, then cancelled Save As keeps it") << int(Answer::Yes) << true << false << false;
    }

    void savePromptOnNew()
    {
        QFETCH(int, answer);
        QFETCH(bool, cancelSaveAs);
        QFETCH(bool, replaced);
        QFETCH(bool, written);
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.docs.levelPanel()->valueEdit(LevelRow::Name)->setText("Unsaved");
        e.script.answer(Answer(answer));
        if (answer == int(Answer::Yes)) {
            if (cancelSaveAs)
                e.script.cancelFileDialog();
            else
                e.script.choose(e.file("kept.nfo"));
        }
        e.docs.newDocument(DocumentKind::Description);
        QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.value(0), QString("Save current opening file, 'untitled.nfo'?"));
        QCOMPARE(e.docs.document().kind, replaced ? DocumentKind::Description : DocumentKind::LevelNfo);
        QCOMPARE(e.docs.document().modified, !replaced);
        QCOMPARE(QFile::exists(e.file("kept.nfo")), written);
        if (!replaced)
            QCOMPARE(e.docs.levelPanel()->valueEdit(LevelRow::Name)->text(), QString("Unsaved"));
    }

    void closing_data()
    {
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("cancelSaveAs");
        QTest::addColumn<bool>("closed");
        QTest::newRow("clean closes without a prompt") << false << -1 << false << true;
        QTest::newRow("cancel keeps running") << true << int(Answer::Cancel) << false << false;
        QTest::newRow("no closes without writing") << true << int(Answer::No) << false << true;
        QTest::newRow("yes and a cancelled Save As still closes") << true << int(Answer::Yes) << true << true;
        QTest::newRow("yes saves then closes") << true << int(Answer::Yes) << false << true;
    }

    void closing()
    {
        QFETCH(bool, dirty);
        QFETCH(int, answer);
        QFETCH(bool, cancelSaveAs);
        QFETCH(bool, closed);
        EditorWindow e;
        e.form.show();
        e.docs.newDocument(DocumentKind::LevelNfo);
        if (dirty)
            control<QCheckBox>(e.docs.levelPanel(), "coopBox")->setChecked(true);
        if (answer >= 0)
            e.script.answer(Answer(answer));
        if (answer == int(Answer::Yes))
            cancelSaveAs ? e.script.cancelFileDialog() : e.script.choose(e.file("exit.nfo"));
        control<QAction>(&e.form, "exitAction")->trigger();
        const QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.isEmpty(), !dirty);
        QCOMPARE(e.form.isVisible(), !closed);
        const QStringList log = e.logLines();
        QCOMPARE(log.at(log.size() - 2) == "INF : Brisquel is shutting down", closed);
        QCOMPARE(QFile::exists(e.file("exit.nfo")), answer == int(Answer::Yes) && !cancelSaveAs);
    }

    void commandLineOpensALevelAndSavesItBack()
    {
        TestFolder files;
        const QByteArray full = "LEVEL\r\nNAME=\"Ruins\"\r\nMAP_TYPE=\"SINGLE;COOP; DEATHMATCH;\"\r\n"
                                "LOADING_MODEL=\"Models\\Ship.mdl\"\r\nMODEL_ROTATE=\"NO\"\r\n"
                                "MODEL_DISTANCE=\"5\"\r\nTHUMBNAIL=\"T.tex\"\r\nETA=\"1:2:3\"\r\n"
                                "OUTRO_MOVIE=\"o.ogv\"\r\nLOCKED=\"NO\"\r\n";
        const QString path = files.path("ruins.nfo");
        writeBytes(path, full);
        EditorWindow e(path);
        LevelPanel *panel = e.docs.levelPanel();
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - ruins.nfo (Level NFO)"));
        QCOMPARE(e.statusText(), "'" + path + "' loaded");
        QVERIFY(!e.docs.document().modified);
        QCOMPARE(panel->valueEdit(LevelRow::Name)->text(), QString("Ruins"));
        QVERIFY(control<QRadioButton>(panel, "rotateNoOption")->isChecked());
        QVERIFY(control<QRadioButton>(panel, "lockedNoOption")->isChecked());
        QCOMPARE(control<QLineEdit>(panel, "etaSecondsEdit")->text(), QString("3"));
        // Included rows show their value, excluded ones hide it.
        QVERIFY(panel->valueEdit(LevelRow::LoadingModel)->isVisibleTo(panel));
        QVERIFY(panel->valueEdit(LevelRow::ModelDistance)->isVisibleTo(panel));
        QVERIFY(!panel->valueEdit(LevelRow::ModelAnimation)->isVisibleTo(panel));
        QVERIFY(control(panel, "rotateChoice")->isVisibleTo(panel));
        QCOMPARE(panel->includeBox(LevelRow::EpisodeMovie)->checkState(), Qt::Unchecked);

        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(path), full);
        // Save As starts at the document: its folder, its name.
        e.script.cancelFileDialog();
        e.docs.saveAs();
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName, path);
    }

    void keyboard_data()
    {
        QTest::addColumn<DocumentKind>("kind");
        QTest::addColumn<QString>("field");  // the one that has the focus after New
        QTest::addColumn<QString>("typeInto");
        QTest::newRow("Level: Name") << DocumentKind::LevelNfo << "levelPanel/nameEdit" << "levelPanel/nameEdit";
        QTest::newRow("Level: ETA") << DocumentKind::LevelNfo << "levelPanel/nameEdit" << "levelPanel/etaMinutesEdit";
        QTest::newRow("Episode: Name") << DocumentKind::EpisodeNfo << "episodePanel/nameEdit" << "episodePanel/thumbnailEdit";
        QTest::newRow("description") << DocumentKind::Description << "descriptionPanel/textEdit" << "descriptionPanel/textEdit";
    }

    // Typing goes into the new document at once.
    void keyboard()
    {
        QFETCH(DocumentKind, kind);
        QFETCH(QString, field);
        QFETCH(QString, typeInto);
        EditorWindow e;
        e.form.show();
        QApplication::setActiveWindow(&e.form);
        QVERIFY(QTest::qWaitForWindowActive(&e.form));
        e.docs.newDocument(kind);
        QCOMPARE(QApplication::focusWidget(), control(&e.form, field));
        auto *box = control(&e.form, typeInto);
        box->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(box))
            edit->selectAll();
        QTest::keyClicks(box, "1");
        QVERIFY(e.docs.document().modified);
    }

#ifdef Q_OS_UNIX
    // On the desktop a text box takes Ctrl+E as "end of line"; it is Exit everywhere in the window.
    void ctrlEExitsFromTheNameField()
    {
        XServer x;
        if (!x.available())
            QSKIP("Xvfb and xdotool are needed");
        TestFolder folder;
        writeBytes(folder.path("a.nfo"), "LEVEL\r\nNAME=\"a\"\r\n");
        QProcess editor;
        startEditorProcess(editor, folder, {"-c", "exec \"$0\" a.nfo"}, x.environment());
        QCOMPARE(x.windowTitleOf(editor.processId()), QString("Brisquel - a.nfo (Level NFO)"));
        x.xdotool({"windowfocus", "--sync", x.windowOf(editor.processId())});
        x.xdotool({"type", "b"});  // into the Name field, which has the focus
        x.xdotool({"key", "ctrl+e"});
        // The save prompt is up: a second window, captioned with the program title.
        QVERIFY2(!x.xdotool({"search", "--sync", "--onlyvisible", "--name", "^Brisquel$"}).isEmpty(), "no save prompt");
        editor.kill();
        editor.waitForFinished();
    }
#endif

    void companionLevelTemplateOpensSilently()
    {
        TestFolder files;
        const QString path = files.path("New.nfo");
        QFile::copy(testData("new_level.nfo"), path);
        EditorWindow e(path);
        LevelPanel *panel = e.docs.levelPanel();
        QVERIFY(control<QCheckBox>(panel, "singlePlayerBox")->isChecked());
        for (const LevelRowInfo &row : LevelNfo::rows()) {
            if (row.optional)
                QCOMPARE(panel->includeBox(row.row)->checkState(), Qt::Unchecked);
        }
        QVERIFY(!control(panel, "rotateChoice")->isVisibleTo(panel));
        QVERIFY(control<QRadioButton>(panel, "rotateYesOption")->isChecked());
        QVERIFY(!e.docs.document().modified);
        // Saved unchanged: the six lines, one CR LF after the last.
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(path), readBytes(testData("new_level.nfo")).chopped(2));
    }

    void readingMessages()
    {
        TestFolder files;
        const QString path = files.path("odd.nfo");
        writeBytes(path, "LEVEL\r\nEPISODE\r\nname=\"x\"\r\nNAME=\"Kept\"\r\nNAME\r\nNAME=\"never\"\r\n");
        EditorWindow e(path);
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes[0].text, QString("Error : This is not a level NFO!\r\n\r\nWarning - Don't know how to handle this error"));
        QCOMPARE(boxes[0].icon, MessageBox::Icon::Critical);
        QCOMPARE(boxes[1].text, QString("Found an invaild line in the file, 'name=\"x\"', ignoring line..."));
        QCOMPARE(boxes[1].icon, MessageBox::Icon::Information);
        QVERIFY(boxes[2].text.startsWith("An error has occured! Error description : In '" + path + "', line 5"));
        QVERIFY(boxes[2].text.endsWith("\r\n\r\nError Number :9"));
        // The document still counts as loaded, with what was read before the bad line.
        QCOMPARE(e.docs.levelPanel()->valueEdit(LevelRow::Name)->text(), QString("Kept"));
        QCOMPARE(e.statusText(), "'" + path + "' loaded");
        QVERIFY(e.logLines().filter(QRegularExpression("^ERR : In '.*', line 5")).size() == 1);
    }

    void emptyOrMissingNfoOnCommandLineStartsWithoutDocument_data()
    {
        QTest::addColumn<QByteArray>("content");  // empty with "missing": no file
        QTest::addColumn<int>("number");
        QTest::newRow("empty file") << QByteArray("") << 62;
        QTest::newRow("missing file") << QByteArray("missing") << 53;
    }

    void emptyOrMissingNfoOnCommandLineStartsWithoutDocument()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        TestFolder files;
        const QString path = files.path("x.nfo");
        if (content != "missing")
            writeBytes(path, content);
        EditorWindow e(path);
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.endsWith("Error Number :" + QString::number(number)));
        QCOMPARE(e.docs.document().kind, DocumentKind::None);
        QCOMPARE(e.form.status().shownKind(), QString("Error"));
        QVERIFY(!anyPanelVisible(e.form));
    }

    void failedWriteIsNotASave()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.docs.levelPanel()->valueEdit(LevelRow::Name)->setText("Work");
        const QString path = e.file("no-such-folder/x.nfo");
        e.script.choose(path);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Failed);
        const QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith("An error has occured! Error description : Cannot open '" + path + "' for writing"));
        QVERIFY(e.docs.document().modified);
        QCOMPARE(e.form.status().shownKind(), QString("Error"));

        // The failed name is not kept: New's save asks for one again, and a cancel keeps the
        // unsaved document.
        QCOMPARE(e.docs.document().path, QString());
        e.script.answer(Answer::Yes);
        e.script.cancelFileDialog();
        e.docs.newDocument(DocumentKind::LevelNfo);
        QCOMPARE(e.script.takeBoxTexts().size(), 1);  // the prompt
        QCOMPARE(e.script.takeFileDialogs().size(), 2);
        QCOMPARE(e.docs.levelPanel()->valueEdit(LevelRow::Name)->text(), QString("Work"));
    }

    void failedWriteKeepsTheOldFile()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        const QString path = e.file("keep.nfo");
        e.script.choose(path);
        e.docs.save();
        e.script.takeBoxes();
        const QByteArray before = readBytes(path);
        e.docs.levelPanel()->valueEdit(LevelRow::Name)->setText(QString::fromUtf8("\u65e5\u672c"));
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Failed);
        const QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains("The value of 'Name' contains the character"), qPrintable(boxes[0]));
        QVERIFY(boxes[0].endsWith("Error Number :380"));
        QCOMPARE(readBytes(path), before);
        QVERIFY(e.docs.document().modified);

        e.docs.levelPanel()->valueEdit(LevelRow::Name)->setText("a \"quoted\" name");
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Failed);
        QVERIFY(e.script.takeBoxTexts().value(0).contains("The value of 'Name' contains a double quote"));
        QCOMPARE(readBytes(path), before);
    }

    void unreadableFileArmsNoSilentOverwrite()
    {
        TestFolder files;
        const QString folderNamedLikeAFile = files.path("folder.dsc");
        QDir().mkpath(folderNamedLikeAFile);
        EditorWindow e(folderNamedLikeAFile);
        QVERIFY(e.script.takeBoxTexts().value(0).contains("is a folder"));
        QCOMPARE(e.docs.document().path, QString());
        QCOMPARE(e.docs.document().kind, DocumentKind::Description);
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - untitled.dsc"));
        e.script.cancelFileDialog();
        e.docs.save();
        QCOMPARE(e.script.takeFileDialogs().size(), 1);  // Save asks for a name
    }
};

QTEST_MAIN(TestLevelCommands)
#include "test_levelcommands.moc"
