// The editor window's document commands for each kind of document: start-up, New, Open, Save,
// Save As, the save prompt, the shutdown, the command-line open, and the description's text box.

#include "editor/descriptionpanel.h"
#include "editor/documentcontroller.h"
#include "editor/episodepanel.h"
#include "editor/levelpanel.h"
#include "core/settings.h"
#include "editor/mainwindow.h"
#include "core/settingsstore.h"
#include "ui/elidedlabel.h"
#include "tests/support/testsupport.h"
#include "ui/modcheckpane.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#include <QTextBlock>
#include <QTextDocument>
#include <QTreeWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

using Answer = MessageBox::Answer;
using Outcome = DocumentController::SaveOutcome;

namespace {

bool anyPanelVisible(MainWindow &form)
{
    for (const char *name : {"levelPanel", "episodePanel", "descriptionPanel"}) {
        auto *panel = form.findChild<QWidget *>(name);
        if (panel && panel->isVisibleTo(&form))
            return true;
    }
    return false;
}

// How the Open NFO dialog can come back with nothing to open.
enum OpenSituation { Cancelled, MissingFile, EmptyFile };

} // namespace

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void startUp()
    {
        EditorWindow e;
        QCOMPARE(e.form.windowTitle(), QString("Brisquel"));
        QVERIFY(!anyPanelVisible(e.form));
        QCOMPARE(e.statusText(), QString("Ready"));
        QCOMPARE(e.form.status().shownKind(), std::optional(StatusKind::Info));
        QCOMPARE(e.docs.document().kind, DocumentKind::None);

        const QStringList lines = e.logLines();
        QCOMPARE(lines.value(0), QString());
        QVERIFY(lines.value(1).startsWith("----") && lines.value(1).endsWith("----"));
        QVERIFY(lines.value(1).size() > 8);
        QCOMPARE(lines.value(2), QString());
        QCOMPARE(lines.value(3), QString("INF : Ready"));
        QCOMPARE(lines.size(), 5);  // and the piece after the last CR LF

        // Nothing to save yet.
        QCOMPARE(e.docs.save(), Outcome::NotAllowed);
        QCOMPARE(e.docs.saveAs(), Outcome::NotAllowed);
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), 2);
        for (const auto &box : boxes) {
            QCOMPARE(box.text, QString("Invaild Opreation Error - No files can be saved."));
            QCOMPARE(box.icon, MessageBox::Icon::Critical);
            QCOMPARE(box.caption, QString("Brisquel"));
        }
        QCOMPARE(e.statusText(), QString("Ready"));

        // A command line of nothing, or the placeholder itself, opens nothing.
        for (const QString &commandLine : {QString(), QString("%1")}) {
            EditorWindow started(commandLine);
            QCOMPARE(started.docs.document().kind, DocumentKind::None);
            QCOMPARE(started.logLines().value(4), QString());
        }
    }

    void newDocumentThenSave_data()
    {
        QTest::addColumn<DocumentKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("field");  // typed into with real keys
        QTest::addColumn<QString>("dialogTitle");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("logged");  // empty: no "Generating file..."
        QTest::newRow("level") << DocumentKind::LevelNfo << "Brisquel - untitled.nfo (Level NFO)"
                               << "New Level NFO Docuemnt opened" << "levelPanel/modelNameEdit"
                               << "Save .nfo (Level) file As..." << "Level NFO (*.nfo)|*.nfo" << "new.nfo"
                               << QByteArray("LEVEL\r\nNAME=\"\"\r\nMAP_TYPE=\"\"\r\nLOADING_MODEL=\"\"\r\n"
                                             "MODEL_ANIMATION=\"\"\r\nMODEL_ROTATE=\"YES\"\r\nMODEL_DISTANCE=\"\"\r\n"
                                             "MODEL_NAME=\"x\"\r\nLOADING_SCREEN=\"\"\r\nTHUMBNAIL=\"\"\r\n"
                                             "ETA=\"00:00:00\"\r\nEPISODE_MOVIE=\"\"\r\nINTRO_MOVIE=\"\"\r\n"
                                             "OUTRO_MOVIE=\"\"\r\nLOCKED=\"YES\"\r\n")
                               << QByteArray("INF : Generating file...\r\nINF : LEVEL\r\nINF : MAP_TYPE\r\n"
                                             "INF : LOADING_MODEL\r\n");
        QTest::newRow("episode") << DocumentKind::EpisodeNfo << "Brisquel - untitled.nfo (Episode NFO)"
                                 << "New Episode NFO Document opened" << "episodePanel/nameEdit"
                                 << "Save .nfo (Episode) file As..." << "NFO (*.nfo)|*.nfo" << "ep.nfo"
                                 << QByteArray("EPISODE\r\nNAME=\"x\"\r\nTHUMBNAIL=\"\"\r\n")
                                 << QByteArray("INF : Generating file...\r\nINF : EPISODE\r\nINF : NAME\r\n"
                                               "INF : THUMBNAIL\r\n");
        QTest::newRow("description") << DocumentKind::Description << "Brisquel - untitled.dsc"
                                     << "New DSC Document opened" << "descriptionPanel/textEdit"
                                     << "Save .dsc file As..." << "DSC Description File (*.dsc)|*.dsc" << "new.dsc"
                                     << QByteArray("x\r\n") << QByteArray();
    }

    void newDocumentThenSave()
    {
        QFETCH(DocumentKind, kind);
        QFETCH(QString, title);
        QFETCH(QString, status);
        QFETCH(QString, field);
        QFETCH(QString, dialogTitle);
        QFETCH(QString, filter);
        QFETCH(QString, name);
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, logged);
        EditorWindow e;
        e.docs.newDocument(kind);
        QCOMPARE(e.form.windowTitle(), title);
        QCOMPARE(e.statusText(), status);
        QVERIFY(!e.docs.document().modified);
        QTest::keyClicks(control(&e.form, field), "x");
        QVERIFY(e.docs.document().modified);

        const QString path = e.file(name);
        e.script.choose(path);
        QCOMPARE(e.docs.save(), Outcome::Saved);
        const auto dialogs = e.script.takeFileDialogs();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].title, dialogTitle);
        QCOMPARE(dialogs[0].filter, filter);
        QCOMPARE(dialogs[0].mode, FileDialog::Mode::Save);
        QCOMPARE(readBytes(path), written);
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, "File '" + name + "' was saved.");
        QCOMPARE(boxes[0].icon, MessageBox::Icon::Information);
        QCOMPARE(e.statusText(), "Successfully saved '" + path + "'");
        QCOMPARE(e.form.windowTitle(), title.replace(kind == DocumentKind::Description ? "untitled.dsc" : "untitled.nfo", name));
        QVERIFY(!e.docs.document().modified);
        const QByteArray log = readBytes(e.folder.logPath());
        QCOMPARE(log.contains("Generating file..."), !logged.isEmpty());
        QVERIFY(log.contains(logged));
        QVERIFY(log.endsWith("INF : Successfully saved '" + path.toUtf8() + "'\r\n"));

        // Save again: no dialog, the remembered path.
        QTest::keyClicks(control(&e.form, field), "y");
        QCOMPARE(e.docs.save(), Outcome::Saved);
        QCOMPARE(e.script.takeFileDialogs().size(), 0);
        QCOMPARE(e.script.takeBoxTexts(), QStringList{"File '" + name + "' was saved."});
        QVERIFY(readBytes(path).contains("xy"));
    }

    // The Mod check pane takes its room inside the window: the window keeps its size when the pane
    // opens and fills with findings, whatever the summary's length.
    void panesKeepTheWindowSize()
    {
        EditorWindow e;
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        e.docs.newDocument(DocumentKind::LevelNfo);
        QTest::qWait(20);
        const QSize before = e.form.size();
        ModCheckPane *check = e.form.modCheckPane();
        check->check(testData("mod"));
        QTRY_VERIFY(!check->isChecking());
        QTest::qWait(20);
        QCOMPARE(e.form.size(), before);
        e.docs.setModified(false);
    }

    // The keys of the File menu, typed as a user types them: Alt+F, then the entries' letters;
    // Ctrl+N makes a document of the kind open (a Level NFO when none is), Ctrl+O opens any kind
    // through one dialog, deciding the kind as the command line does.
    void fileMenuKeys_data()
    {
        QTest::addColumn<DocumentKind>("open");  // the document open before the keys
        QTest::addColumn<QStringList>("keys");   // "alt+f", a letter in the menu shown, "ctrl+n", "ctrl+o"
        QTest::addColumn<QString>("chosen");     // the file the dialog gives (Ctrl+O)
        QTest::addColumn<DocumentKind>("kind");  // the document open after them
        using K = DocumentKind;
        QTest::newRow("Alt+F N L: a new Level NFO") << K::Description << QStringList{"alt+f", "n", "l"} << "" << K::LevelNfo;
        QTest::newRow("Alt+F N E: a new Episode NFO") << K::None << QStringList{"alt+f", "n", "e"} << "" << K::EpisodeNfo;
        QTest::newRow("Alt+F N D: a new description") << K::None << QStringList{"alt+f", "n", "d"} << "" << K::Description;
        QTest::newRow("Ctrl+N with none open") << K::None << QStringList{"ctrl+n"} << "" << K::LevelNfo;
        QTest::newRow("Ctrl+N with an Episode open") << K::EpisodeNfo << QStringList{"ctrl+n"} << "" << K::EpisodeNfo;
        QTest::newRow("Ctrl+O, a description") << K::None << QStringList{"ctrl+o"} << "notes.dsc" << K::Description;
        QTest::newRow("Ctrl+O, a Level NFO") << K::EpisodeNfo << QStringList{"ctrl+o"} << "level.nfo" << K::LevelNfo;
        QTest::newRow("Ctrl+O, an Episode NFO") << K::None << QStringList{"ctrl+o"} << "episode.nfo" << K::EpisodeNfo;
    }

    void fileMenuKeys()
    {
        QFETCH(DocumentKind, open);
        QFETCH(QStringList, keys);
        QFETCH(QString, chosen);
        QFETCH(DocumentKind, kind);
        EditorWindow e;
        writeBytes(e.file("notes.dsc"), "Notes\r\n");
        writeBytes(e.file("level.nfo"), "LEVEL\r\nNAME=\"Temple\"\r\n");
        writeBytes(e.file("episode.nfo"), "EPISODE\r\nNAME=\"Road\"\r\n");
        e.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&e.form));
        if (open != DocumentKind::None)
            e.docs.newDocument(open);
        if (!chosen.isEmpty())
            e.script.choose(e.file(chosen));
        for (const QString &key : keys) {
            QWidget *to = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
            if (!to)
                to = &e.form;
            if (key == "alt+f")
                QTest::keyClick(to, Qt::Key_F, Qt::AltModifier);
            else if (key == "ctrl+n")
                QTest::keyClick(to, Qt::Key_N, Qt::ControlModifier);
            else if (key == "ctrl+o")
                QTest::keyClick(to, Qt::Key_O, Qt::ControlModifier);
            else
                QTest::keyClick(to, key.at(0).toLatin1());
            if (key != keys.last() && key != "ctrl+n" && key != "ctrl+o")
                QTRY_VERIFY(QApplication::activePopupWidget());
        }
        QTRY_COMPARE(e.docs.document().kind, kind);
        QVERIFY(!QApplication::activePopupWidget());
        if (!chosen.isEmpty()) {
            const auto dialogs = e.script.takeFileDialogs();
            QCOMPARE(dialogs.value(0).title, QString("Open a .nfo or .dsc file..."));
            QCOMPARE(dialogs.value(0).filter, QString("NFO and DSC files|*.nfo *.dsc"));
            QCOMPARE(e.docs.document().path, QDir::toNativeSeparators(e.file(chosen)));
        }
        e.docs.setModified(false);
    }

    // The box after a save can be left out with its own check box: then the status row is the
    // confirmation. The Options dialog brings it back.
    void theSavedBoxCanBeLeftOut()
    {
        EditorWindow e;
        e.script.allowRealDialogs = true;  // the Options dialog is the program's own
        e.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&e.form));
        e.docs.newDocument(DocumentKind::EpisodeNfo);
        QTest::keyClicks(control(&e.form, "nameEdit"), "Road");
        e.script.choose(e.file("Road.nfo"));
        e.script.tickCheckBox();
        QTest::keyClick(&e.form, Qt::Key_S, Qt::ControlModifier);
        e.script.takeFileDialogs();
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QString("File 'Road.nfo' was saved."));
        QCOMPARE(boxes[0].checkBox, QString("Do not show this again"));
        QCOMPARE(Settings::read(Settings::ShowSavedBox), QString("0"));
        QTest::keyClicks(control(&e.form, "nameEdit"), "s");
        QTest::keyClick(&e.form, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(e.script.takeBoxes().size(), 0);
        QCOMPARE(e.statusText(), "Successfully saved '" + e.file("Road.nfo") + "'");
        QVERIFY(readBytes(e.file("Road.nfo")).contains("Roads"));
        // Options: its box is clear; ticked with the mouse and OK, the box comes back.
        bool wasTicked = true;
        whenShown<QDialog>([&wasTicked](QDialog *options) {
            auto *box = control<QCheckBox>(options, "savedMessageBox");
            wasTicked = box->isChecked();
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            QTest::mouseClick(control<QPushButton>(options, "okButton"), Qt::LeftButton);
        });
        control<QAction>(&e.form, "optionsAction")->trigger();
        QVERIFY(!wasTicked);
        QCOMPARE(Settings::read(Settings::ShowSavedBox), QString("1"));
        QApplication::setActiveWindow(&e.form);  // the offscreen platform gives it back to no window
        QTest::keyClicks(control(&e.form, "nameEdit"), "!");
        QTest::keyClick(&e.form, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(e.script.takeBoxTexts(), QStringList{"File 'Road.nfo' was saved."});
    }

    void saveAsOffersTheLastNameAndCancelChangesNothing()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.script.choose(e.file("one.nfo"));
        e.docs.saveAs();
        e.script.takeBoxes();
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName,
                 QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/"));
        control<QLineEdit>(e.docs.panel<LevelPanel>(), "etaHoursEdit")->setText("12");
        QVERIFY(e.docs.document().modified);

        e.script.cancelFileDialog();
        QCOMPARE(e.docs.saveAs(), Outcome::Cancelled);
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName, e.file("one.nfo"));
        QVERIFY(e.docs.document().modified);
        QCOMPARE(e.docs.document().path, e.file("one.nfo"));
        QCOMPARE(e.statusText(), "Successfully saved '" + e.file("one.nfo") + "'");
    }

    // The first Save of a new document starts where the mod is, never among the assets browsed
    // last, and offers the document's NAME as the file name; a saved document's Save As starts at
    // its own file.
    void saveDialogStartsWhereTheModIs_data()
    {
        QTest::addColumn<DocumentKind>("kind");
        QTest::addColumn<QString>("name");     // typed into NAME
        QTest::addColumn<QString>("before");   // "opened", "checked" (a mod folder checked), or nothing
        QTest::addColumn<QString>("offered");  // in the test folder; "DOCUMENTS/": the documents folder
        using K = DocumentKind;
        QTest::newRow("a Level, after a file was opened") << K::LevelNfo << "Temple of Ra" << "opened" << "Mod/Temple of Ra.nfo";
        QTest::newRow("characters no file name holds") << K::LevelNfo << "Ra: <Sun>/\\Moon?*|. " << "opened" << "Mod/Ra SunMoon.nfo";
        QTest::newRow("an Episode, after a folder was checked") << K::EpisodeNfo << "Road" << "checked" << "Checked/Road.nfo";
        QTest::newRow("a description: no name") << K::Description << "" << "opened" << "Mod/";
        QTest::newRow("a Level without a name") << K::LevelNfo << "" << "opened" << "Mod/";
        QTest::newRow("nothing opened or checked") << K::LevelNfo << "Temple" << "" << "DOCUMENTS/Temple.nfo";
    }

    void saveDialogStartsWhereTheModIs()
    {
        QFETCH(DocumentKind, kind);
        QFETCH(QString, name);
        QFETCH(QString, before);
        QFETCH(QString, offered);
        EditorWindow e;
        e.form.show();
        QDir().mkpath(e.file("Mod"));
        QDir().mkpath(e.file("Checked"));
        QDir().mkpath(e.file("Game/Textures"));
        writeBytes(e.file("Mod/Sphinx.nfo"), "LEVEL\r\nNAME=\"Sphinx\"\r\n");
        if (before == "opened")
            e.docs.openFile(e.file("Mod/Sphinx.nfo"));
        if (before == "checked")
            Settings::write(Settings::CheckedFolder, e.file("Checked"));
        e.docs.newDocument(kind);
        if (!name.isEmpty())
            control<QLineEdit>(&e.form, "nameEdit")->setText(name);
        if (kind == DocumentKind::LevelNfo) {  // an asset browsed for first: its folder is no place to save
            e.script.choose(e.file("Game/Textures/T.tex"));
            QTest::mouseClick(control<QPushButton>(&e.form, "levelPanel/thumbnailBrowse"), Qt::LeftButton);
            e.script.takeFileDialogs();
        }
        e.script.cancelFileDialog();
        QCOMPARE(e.docs.save(), Outcome::Cancelled);
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName,
                 QDir::toNativeSeparators(offered.startsWith("DOCUMENTS/") ? documents + offered.mid(9) : e.file(offered)));
        // Saved, its Save As starts at its own file.
        e.script.choose(e.file("Mod/Saved.nfo"));
        QCOMPARE(e.docs.save(), Outcome::Saved);
        e.script.takeFileDialogs();
        e.script.takeBoxes();
        e.script.cancelFileDialog();
        e.docs.saveAs();
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName, e.file("Mod/Saved.nfo"));
    }

    // The question before a changed document is replaced (New) or closed (Exit), and each answer.
    void savePrompt_data()
    {
        QTest::addColumn<bool>("exit");  // Exit, or New
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<int>("answer");  // -1: no question
        QTest::addColumn<bool>("cancelSaveAs");
        QTest::addColumn<bool>("goesOn");  // the document is replaced, or the window closes
        const int cancel = int(Answer::Cancel), no = int(Answer::No), yes = int(Answer::Yes);
        QTest::newRow("New: cancel keeps the document") << false << true << cancel << false << false;
        QTest::newRow("New: no discards the changes") << false << true << no << false << true;
        QTest::newRow("New: yes saves first") << false << true << yes << false << true;
        QTest::newRow("New: yes, then a cancelled Save As keeps it") << false << true << yes << true << false;
        QTest::newRow("Exit: unchanged closes without a question") << true << false << -1 << false << true;
        QTest::newRow("Exit: cancel keeps running") << true << true << cancel << false << false;
        QTest::newRow("Exit: no closes without writing") << true << true << no << false << true;
        QTest::newRow("Exit: yes, then a cancelled Save As still closes") << true << true << yes << true << true;
        QTest::newRow("Exit: yes saves then closes") << true << true << yes << false << true;
    }

    void savePrompt()
    {
        QFETCH(bool, exit);
        QFETCH(bool, dirty);
        QFETCH(int, answer);
        QFETCH(bool, cancelSaveAs);
        QFETCH(bool, goesOn);
        EditorWindow e;
        e.form.show();
        e.docs.newDocument(DocumentKind::LevelNfo);
        if (dirty)
            e.docs.panel<LevelPanel>()->valueEdit(LevelRow::Name)->setText("Unsaved");
        if (answer >= 0)
            e.script.answer(Answer(answer));
        if (answer == int(Answer::Yes))
            cancelSaveAs ? e.script.cancelFileDialog() : e.script.choose(e.file("kept.nfo"));
        if (exit)
            control<QAction>(&e.form, "exitAction")->trigger();
        else
            e.docs.newDocument(DocumentKind::Description);
        QCOMPARE(e.script.takeBoxTexts().value(0), dirty ? "Save current opening file, 'untitled.nfo'?" : QString());
        QCOMPARE(QFile::exists(e.file("kept.nfo")), answer == int(Answer::Yes) && !cancelSaveAs);
        if (exit) {
            QCOMPARE(e.form.isVisible(), !goesOn);
            const QStringList log = e.logLines();
            QCOMPARE(log.at(log.size() - 2) == "INF : Brisquel is shutting down", goesOn);
        } else {
            QCOMPARE(e.docs.document().kind, goesOn ? DocumentKind::Description : DocumentKind::LevelNfo);
            QCOMPARE(e.docs.document().modified, !goesOn);
            if (!goesOn)
                QCOMPARE(e.docs.panel<LevelPanel>()->valueEdit(LevelRow::Name)->text(), QString("Unsaved"));
        }
    }

    void typingGoesIntoTheNewDocument_data()
    {
        QTest::addColumn<DocumentKind>("kind");
        QTest::addColumn<QString>("field");  // the one that has the focus after New
        QTest::newRow("level") << DocumentKind::LevelNfo << "levelPanel/nameEdit";
        QTest::newRow("episode") << DocumentKind::EpisodeNfo << "episodePanel/nameEdit";
        QTest::newRow("description") << DocumentKind::Description << "descriptionPanel/textEdit";
    }

    void typingGoesIntoTheNewDocument()
    {
        QFETCH(DocumentKind, kind);
        QFETCH(QString, field);
        EditorWindow e;
        e.form.show();
        QApplication::setActiveWindow(&e.form);
        QVERIFY(QTest::qWaitForWindowActive(&e.form));
        e.docs.newDocument(kind);
        QCOMPARE(QApplication::focusWidget(), control(&e.form, field));
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

    void levelFileFillsThePanel()
    {
        TestFolder files;
        const QString path = files.path("ruins.nfo");
        writeBytes(path, "LEVEL\r\nNAME=\"Ruins\"\r\nMAP_TYPE=\"SINGLE;COOP; DEATHMATCH;\"\r\n"
                         "LOADING_MODEL=\"Models\\Ship.mdl\"\r\nMODEL_ROTATE=\"NO\"\r\nMODEL_DISTANCE=\"5\"\r\n"
                         "THUMBNAIL=\"T.tex\"\r\nETA=\"1:2:3\"\r\nOUTRO_MOVIE=\"o.ogv\"\r\nLOCKED=\"NO\"\r\n");
        EditorWindow e(path);
        LevelPanel *panel = e.docs.panel<LevelPanel>();
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - ruins.nfo (Level NFO)"));
        QCOMPARE(e.statusText(), "'" + path + "' loaded");
        QVERIFY(!e.docs.document().modified);
        QCOMPARE(panel->valueEdit(LevelRow::Name)->text(), QString("Ruins"));
        QVERIFY(control<QCheckBox>(panel, "deathmatchBox")->isChecked());
        QVERIFY(control<QRadioButton>(panel, "rotateNoOption")->isChecked());
        QVERIFY(control<QRadioButton>(panel, "lockedNoOption")->isChecked());
        QCOMPARE(control<QLineEdit>(panel, "etaSecondsEdit")->text(), QString("3"));
        // Included rows show their value, excluded ones hide it.
        QVERIFY(panel->valueEdit(LevelRow::LoadingModel)->isVisibleTo(panel));
        QVERIFY(panel->valueEdit(LevelRow::ModelDistance)->isVisibleTo(panel));
        QVERIFY(!panel->valueEdit(LevelRow::ModelAnimation)->isVisibleTo(panel));
        QVERIFY(control(panel, "rotateChoice")->isVisibleTo(panel));
        QCOMPARE(panel->includeBox(LevelRow::EpisodeMovie)->checkState(), Qt::Unchecked);
        // Save As starts at the document: its folder, its name.
        e.script.cancelFileDialog();
        e.docs.saveAs();
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName, path);

        // The companion's template: every optional row left out, rotating as a new document does.
        EditorWindow fresh(testData("new_level.nfo"));
        panel = fresh.docs.panel<LevelPanel>();
        QVERIFY(fresh.script.takeBoxes().isEmpty());
        QVERIFY(control<QCheckBox>(panel, "singlePlayerBox")->isChecked());
        for (const LevelRowInfo &row : LevelNfo::rows()) {
            if (row.optional)
                QCOMPARE(panel->includeBox(row.row)->checkState(), Qt::Unchecked);
        }
        QVERIFY(!control(panel, "rotateChoice")->isVisibleTo(panel));
        QVERIFY(control<QRadioButton>(panel, "rotateYesOption")->isChecked());
    }

    void readingMessages_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("wrongKind");
        QTest::addColumn<QString>("name");  // what was read before the bad line
        QTest::newRow("level") << QByteArray("LEVEL\r\nEPISODE\r\nname=\"x\"\r\nNAME=\"Kept\"\r\nNAME\r\nNAME=\"never\"\r\n")
                               << "Error : This is not a level NFO!" << "Kept";
        QTest::newRow("episode") << QByteArray("EPISODE\r\nLEVEL\r\nname=\"x\"\r\nNAME=\"Kept\"\r\nTHUMBNAIL\r\n")
                                 << "Error : This is not a episode NFO!" << "Kept";
    }

    void readingMessages()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, wrongKind);
        QFETCH(QString, name);
        TestFolder files;
        const QString path = files.path("odd.nfo");
        writeBytes(path, content);
        EditorWindow e(path);
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes[0].text, wrongKind + "\r\n\r\nWarning - Don't know how to handle this error");
        QCOMPARE(boxes[0].icon, MessageBox::Icon::Critical);
        QCOMPARE(boxes[1].text, QString("Found an invaild line in the file, 'name=\"x\"', ignoring line..."));
        QCOMPARE(boxes[1].icon, MessageBox::Icon::Information);
        QVERIFY(boxes[2].text.startsWith("An error has occured! Error description : In '" + path + "', line 5"));
        QVERIFY(boxes[2].text.endsWith("\r\n\r\nError Number :9"));
        // The document still counts as loaded, with what was read before the bad line.
        QCOMPARE(control<QLineEdit>(&e.form, content.startsWith("LEVEL") ? "levelPanel/nameEdit" : "episodePanel/nameEdit")->text(),
                 name);
        QCOMPARE(e.statusText(), "'" + path + "' loaded");
        QCOMPARE(e.logLines().filter(QRegularExpression("^ERR : In '.*', line 5")).size(), 1);
    }

    // Both routes to a file: the command line (a description by its name, an NFO kind by the first
    // line), and the Open NFO dialog with its own rule for the first line.
    void kindDecisions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<DocumentKind>("commandLine");
        QTest::addColumn<DocumentKind>("dialog");  // None: a description, not for the Open NFO dialog
        QTest::addColumn<int>("boxes");
        QTest::addColumn<QString>("nameRead");
        using K = DocumentKind;
        QTest::newRow("dsc") << "notes.dsc" << QByteArray("text\r\n") << K::Description << K::None << 0 << "";
        QTest::newRow("DSC without a dot") << "notesDSC" << QByteArray("text\r\n") << K::Description << K::None << 0 << "";
        QTest::newRow("companion episode") << "e.nfo" << readBytes(testData("new_episode.nfo")) << K::EpisodeNfo
                                           << K::EpisodeNfo << 0 << "";
        QTest::newRow("companion level") << "l.nfo" << readBytes(testData("new_level.nfo")) << K::LevelNfo << K::LevelNfo << 0 << "";
        QTest::newRow("lower-case level with blanks") << "l.nfo" << QByteArray("  level 2\r\n") << K::LevelNfo << K::LevelNfo << 1 << "";
        QTest::newRow("lower-case episode word") << "e.nfo" << QByteArray(" episode \r\nNAME=\"n\"\r\n") << K::EpisodeNfo
                                                 << K::EpisodeNfo << 1 << "n";
        QTest::newRow("no kind word") << "x.nfo" << QByteArray("NAME=\"n\"\r\n") << K::EpisodeNfo << K::LevelNfo << 0 << "n";
        QTest::newRow("anything else") << "x.nfo" << QByteArray("HELLO\r\n") << K::EpisodeNfo << K::LevelNfo << 1 << "";
        QTest::newRow("LF-only level reads its values") << "l.nfo" << QByteArray("LEVEL\nNAME=\"n\"\n") << K::LevelNfo
                                                        << K::LevelNfo << 0 << "n";
        QTest::newRow("LF-only episode") << "e.nfo" << QByteArray("EPISODE\nNAME=\"n\"\n") << K::EpisodeNfo << K::EpisodeNfo << 0 << "n";
        QTest::newRow("CR-only episode is one invalid line") << "e.nfo" << QByteArray("EPISODE\rNAME=\"n\"\r") << K::EpisodeNfo
                                                             << K::LevelNfo << 1 << "";
        QTest::newRow("UTF-8 byte-order mark before LEVEL") << "l.nfo" << QByteArray("\xEF\xBB\xBFLEVEL\r\nNAME=\"n\"\r\n")
                                                            << K::LevelNfo << K::LevelNfo << 0 << "n";
        QTest::newRow("binary with NUL bytes") << "l.nfo" << QByteArray("LEVEL\r\n\0\x01\xff=\"x\"\r\nNAME=\"a\0b\"\r\n", 27)
                                               << K::LevelNfo << K::LevelNfo << 1 << QString::fromLatin1("a\0b", 3);
    }

    void kindDecisions()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(DocumentKind, commandLine);
        QFETCH(DocumentKind, dialog);
        QFETCH(int, boxes);
        QFETCH(QString, nameRead);
        TestFolder files;
        const QString path = files.path(name);
        writeBytes(path, content);
        for (bool viaDialog : {false, true}) {
            if (viaDialog && dialog == DocumentKind::None)
                break;
            EditorWindow e(viaDialog ? QString() : path);
            if (viaDialog) {
                e.script.choose(path);
                e.docs.open(DocumentKind::EpisodeNfo);
                const auto dialogs = e.script.takeFileDialogs();
                QCOMPARE(dialogs.value(0).title, QString("Open a .nfo (Episode/Level) file..."));
                QCOMPARE(dialogs.value(0).filter, QString("NFO (*.nfo)|*.nfo"));
                QCOMPARE(dialogs.value(0).mode, FileDialog::Mode::Open);
            }
            const DocumentKind kind = viaDialog ? dialog : commandLine;
            QCOMPARE(e.script.takeBoxes().size(), boxes);
            QCOMPARE(e.docs.document().kind, kind);
            QCOMPARE(e.docs.document().path, path);
            QCOMPARE(e.form.windowTitle(), "Brisquel - " + name + DocumentTypes::of(kind).titleSuffix);
            QVERIFY(!e.docs.document().modified);
            QCOMPARE(e.statusText(), "'" + path + "' loaded");
            if (kind != DocumentKind::Description)
                QCOMPARE(static_cast<QLineEdit *>(e.docs.panel(kind)->firstField())->text(), nameRead);
        }
    }

    void openNfoDialogThatFindsNothingChangesNothing_data()
    {
        QTest::addColumn<int>("situation");
        QTest::newRow("cancelled") << int(Cancelled);
        QTest::newRow("missing file") << int(MissingFile);
        QTest::newRow("empty file") << int(EmptyFile);
    }

    void openNfoDialogThatFindsNothingChangesNothing()
    {
        QFETCH(int, situation);
        EditorWindow e;
        e.docs.newDocument(DocumentKind::Description);
        e.docs.panel<DescriptionPanel>()->setText("mine");
        e.script.answer(Answer::No);
        if (situation == Cancelled) {
            e.script.cancelFileDialog();
        } else {
            if (situation == EmptyFile)
                writeBytes(e.file("empty.nfo"), {});
            e.script.choose(e.file(situation == MissingFile ? "missing.nfo" : "empty.nfo"));
        }
        e.docs.open(DocumentKind::EpisodeNfo);
        QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.takeFirst(), QString("Save current opening file, 'untitled.dsc'?"));
        QCOMPARE(boxes.size(), situation == EmptyFile ? 1 : 0);
        if (situation == EmptyFile)
            QVERIFY(boxes[0].endsWith("Error Number :62"));
        QCOMPARE(e.docs.document().kind, DocumentKind::Description);
        QCOMPARE(e.docs.panel<DescriptionPanel>()->text(), QString("mine"));
    }

    void descriptionThatCannotBeOpened_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("keepsPath");
        QTest::newRow("missing: Save creates it") << false << true;
        QTest::newRow("unreadable: Save asks for a name") << true << false;
    }

    void descriptionThatCannotBeOpened()
    {
        QFETCH(bool, exists);
        QFETCH(bool, keepsPath);
        TestFolder files;
        const QString path = files.path("notes.dsc");
        if (exists)
            QDir().mkpath(path);  // a folder: it exists but cannot be read as a file
        EditorWindow e(path);
        QCOMPARE(e.script.takeBoxTexts().size(), 1);
        QCOMPARE(e.docs.document().kind, DocumentKind::Description);
        // The title names the file Save writes.
        QCOMPARE(e.form.windowTitle(), QString(keepsPath ? "Brisquel - notes.dsc" : "Brisquel - untitled.dsc"));
        QCOMPARE(e.docs.document().path, keepsPath ? path : QString());
        QCOMPARE(e.docs.document().fileTitle, QString(keepsPath ? "notes.dsc" : "untitled.dsc"));
        if (!keepsPath)
            e.script.cancelFileDialog();
        e.docs.save();
        e.script.takeBoxes();
        QCOMPARE(e.script.takeFileDialogs().size(), keepsPath ? 0 : 1);
        QCOMPARE(QFileInfo(path).isFile(), keepsPath);
    }

    void descriptionRoundTrips_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");       // null: not compared
        QTest::addColumn<QByteArray>("edited");   // after typing X at the start
        QTest::newRow("ab") << QByteArray("ab\r\n") << "ab" << QByteArray("Xab\r\n");
        QTest::newRow("only a line break") << QByteArray("\r\n") << "" << QByteArray("X\r\n");
        QTest::newRow("zero bytes") << QByteArray("") << "" << QByteArray("X\r\n");
        QTest::newRow("lines") << QByteArray("My mod\r\n\r\nby me\r\n") << "My mod\n\nby me"
                               << QByteArray("XMy mod\r\n\r\nby me\r\n");
        QTest::newRow("LF line ends") << QByteArray("one\ntwo\nthree\n") << "one\ntwo\nthree"
                                      << QByteArray("Xone\r\ntwo\r\nthree\r\n");
        QTest::newRow("CR line ends") << QByteArray("one\rtwo\r") << "one\ntwo" << QByteArray("Xone\r\ntwo\r\n");
        QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc\r") << "a\nb\nc" << QByteArray("Xa\r\nb\r\nc\r\n");
        QTest::newRow("no final line break") << QByteArray("last") << "last" << QByteArray("Xlast\r\n");
        QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBFhi\r\n") << "hi" << QByteArray("Xhi\r\n");
        QTest::newRow("no-break space and accents") << QByteArray("caf\xe9\xa0\x80\r\n") << QString::fromUtf8("caf\u00e9\u00a0\u20ac")
                                                    << QByteArray("Xcaf\xe9\xa0\x80\r\n");
        QByteArray everyByte;
        for (int i = 1; i < 256; ++i) {
            if (i != '\r' && i != '\n')
                everyByte.append(char(i));
        }
        QTest::newRow("every other byte") << everyByte + "\r\n" << QString() << "X" + everyByte + "\r\n";
    }

    void descriptionRoundTrips()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        QFETCH(QByteArray, edited);
        EditorWindow e;
        const QString path = e.file("mod.dsc");
        writeBytes(path, file);
        e.script.choose(path);
        e.docs.open(DocumentKind::Description);
        QCOMPARE(e.script.takeFileDialogs().value(0).title, QString("Open a .dsc file..."));
        if (!shown.isNull())
            QCOMPARE(e.docs.panel<DescriptionPanel>()->text(), shown);
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - mod.dsc"));
        QVERIFY(!e.docs.document().modified);
        // Saved without an edit: the file as it was.
        QCOMPARE(e.docs.save(), Outcome::Saved);
        QCOMPARE(e.script.takeBoxTexts(), QStringList{"File 'mod.dsc' was saved."});
        QCOMPARE(readBytes(path), file);
        // Edited: CR LF for every line break, and no line added.
        QPlainTextEdit *box = e.docs.panel<DescriptionPanel>()->textEdit;
        box->moveCursor(QTextCursor::Start);
        QTest::keyClicks(box, "X");
        QCOMPARE(e.docs.save(), Outcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(path), edited);
    }

    void shiftEnterIsALineBreak()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::Description);
        QPlainTextEdit *box = e.docs.panel<DescriptionPanel>()->textEdit;
        QTest::keyClicks(box, "one");
        QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(box, "two");
        QVERIFY(box->document()->toRawText().contains(QChar::LineSeparator));
        // Exit, and Yes to the prompt, saves and ends.
        e.script.answer(Answer::Yes);
        e.script.choose(e.file("shift.dsc"));
        QVERIFY(e.form.close());
        QCOMPARE(e.script.takeBoxTexts(), (QStringList{"Save current opening file, 'untitled.dsc'?", "File 'shift.dsc' was saved."}));
        QCOMPARE(readBytes(e.file("shift.dsc")), QByteArray("one\r\ntwo\r\n"));
    }

    void oneLongLineIsEditableAtOnce_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("words") << QByteArray("word ").repeated(200 * 1024);
        QTest::newRow("no blanks") << QByteArray(1024 * 1024, 'x');
    }

    void oneLongLineIsEditableAtOnce()
    {
        QFETCH(QByteArray, line);
        TestFolder files;
        const QString path = files.path("one-line.dsc");
        writeBytes(path, line + "\r\n");
        QElapsedTimer timer;
        timer.start();
        EditorWindow e(path);
        DescriptionPanel *panel = e.docs.panel<DescriptionPanel>();
        QTRY_VERIFY_WITH_TIMEOUT(!panel->isFilling(), 20000);
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));  // it took minutes
        QTextDocument *document = panel->textEdit->document();
        QVERIFY(document->blockCount() > 200);  // shown as many paragraphs, laid out one by one

        // Edits with real keys where one paragraph of the line meets the next.
        const auto startOf = [document](int block) { return document->findBlockByNumber(block).position(); };
        QString expected = QString::fromLatin1(line);
        // In the text, the joins between the parts take no place.
        const int first = startOf(1) - 1;
        const int second = startOf(2) - 2;
        QTextCursor cursor(document);
        cursor.setPosition(startOf(3));
        panel->textEdit->setTextCursor(cursor);
        QTest::keyClick(panel->textEdit, Qt::Key_Backspace);  // joins two parts: the text is the same
        cursor.setPosition(startOf(2));
        panel->textEdit->setTextCursor(cursor);
        QTest::keyClick(panel->textEdit, Qt::Key_Return);
        expected.insert(second, '\n');
        cursor.setPosition(startOf(1));
        panel->textEdit->setTextCursor(cursor);
        QTest::keyClicks(panel->textEdit, "Z");
        expected.insert(first, 'Z');
        QCOMPARE(panel->text(), expected);
        QCOMPARE(e.docs.save(), Outcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(path), expected.toLatin1().replace("\n", "\r\n") + "\r\n");
    }

    // File > Check Mod Folder: the findings of a folder in a list; a double-click opens the file.
    void checkModFolderFromTheWindow()
    {
        EditorWindow e;
        e.script.allowRealDialogs = true;  // the findings window is the program's own
        e.form.show();
        // The first check starts in the open document's folder.
        writeBytes(e.file("Mine.dsc"), "text");
        e.docs.openFile(e.file("Mine.dsc"));
        e.script.choose(testData("mod"));
        control<QAction>(&e.form, "checkModAction")->trigger();
        const FileDialog::Request asked = e.script.takeFileDialogs().value(0);
        QCOMPARE(asked.mode, FileDialog::Mode::Folder);
        QCOMPARE(asked.fileName, QDir::toNativeSeparators(QFileInfo(e.file("Mine.dsc")).absolutePath()));
        ModCheckPane *check = e.form.modCheckPane();
        QVERIFY(check->isVisible());
        QTRY_VERIFY(!check->isChecking());
        auto *list = control<QTreeWidget>(check, "findingsList");
        // The mod as one list: the 25 findings, and the 3 files without one as clean.
        QCOMPARE(list->topLevelItemCount(), 28);
        QCOMPARE(list->findItems("Clean", Qt::MatchExactly, 2).size(), 3);
        QCOMPARE(control<QLabel>(check, "summaryLabel")->text(),
                 QString("8 files checked, 10 errors, 15 warnings. Double-click a file to open it."));
        // Errors only, then warnings only.
        auto *filter = control<QComboBox>(check, "severityFilter");
        filter->setCurrentIndex(1);
        QCOMPARE(list->topLevelItemCount(), 10);
        filter->setCurrentIndex(2);
        QCOMPARE(list->topLevelItemCount(), 15);
        // Opening a finding opens its file at the field of its line.
        QTreeWidgetItem *warning = list->findItems("MODEL_DISTANCE 'far' is not a number", Qt::MatchExactly, 3).value(0);
        QVERIFY(warning);
        QCOMPARE(warning->text(2), QString("Warning"));
        const QRect cell = list->visualItemRect(warning);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());  // a double-click begins with a click
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(e.docs.document().kind, DocumentKind::LevelNfo);
        QCOMPARE(e.docs.document().path, QDir::toNativeSeparators(QFileInfo(testData("mod/Levels/warnings.nfo")).absoluteFilePath()));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("modelDistanceEdit"));
        // A clean file opens as one with findings.
        filter->setCurrentIndex(0);
        QTreeWidgetItem *clean = list->findItems(QDir::toNativeSeparators("Levels/good.nfo"), Qt::MatchExactly, 0).value(0);
        QVERIFY(clean);
        QCOMPARE(clean->text(3), QString("No findings"));
        list->scrollToItem(clean);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(clean).center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(clean).center());
        QCOMPARE(e.docs.document().path, QDir::toNativeSeparators(QFileInfo(testData("mod/Levels/good.nfo")).absoluteFilePath()));
        // A file mended and saved in the window leaves the list at once; Check Again sees a file
        // mended elsewhere. The list stays filtered.
        filter->setCurrentIndex(0);
        QDir().mkpath(e.file("Mod"));
        writeBytes(e.file("Mod/T.tex"), "");
        const QByteArray unnamed = "LEVEL\r\nNAME=\"\"\r\nMAP_TYPE=\"SINGLE\"\r\nTHUMBNAIL=\"T.tex\"\r\nETA=\"0:0:0\"\r\nLOCKED=\"NO\"\r\n";
        writeBytes(e.file("Mod/Level.nfo"), unnamed);
        check->check(e.file("Mod"));
        QTRY_VERIFY(!check->isChecking());
        QCOMPARE(list->topLevelItemCount(), 1);
        e.docs.setModified(false);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("nameEdit"));
        QTest::keyClicks(QApplication::focusWidget(), "Temple");
        QTest::keyClick(&e.form, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(e.script.takeBoxes().value(0).text, QString("File 'Level.nfo' was saved."));
        QTRY_COMPARE(list->topLevelItem(0)->text(2), QString("Clean"));
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(control<QLabel>(check, "summaryLabel")->text(),
                 QString("1 file checked, 0 errors, 0 warnings. Double-click a file to open it."));
        writeBytes(e.file("Mod/Level.nfo"), unnamed);
        filter->setCurrentIndex(2);
        QTest::mouseClick(control<QPushButton>(check, "checkAgainButton"), Qt::LeftButton);
        QTRY_VERIFY(!check->isChecking());
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(control<QLabel>(check, "summaryLabel")->text(),
                 QString("1 file checked, 0 errors, 1 warning. Double-click a file to open it."));
        // The next one where the last one was, in this run or the next.
        e.script.cancelFileDialog();
        control<QAction>(&e.form, "checkModAction")->trigger();
        QCOMPARE(e.script.takeFileDialogs().value(0).fileName, QDir::toNativeSeparators(testData("mod")));
    }

#ifdef Q_OS_UNIX
    // Two names that are told apart in the pane open their own files: a name with a byte that is
    // no text (which no path can spell: it is refused with a message) beside one that is spelt
    // like its escape.
    void findingsOpenTheFileTheyDescribe()
    {
        EditorWindow e;
        e.script.allowRealDialogs = true;
        e.form.show();
        QDir().mkpath(e.file("mod"));
        const QByteArray folder = QFile::encodeName(e.file("mod"));
        writeBytes(QFile::decodeName(folder + "/real\\xff.nfo"), "EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n");
        {
            FILE *file = fopen((folder + "/real\xff.nfo").constData(), "wb");
            QVERIFY(file);
            fputs("EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n", file);
            fclose(file);
        }
        ModCheckPane *check = e.form.modCheckPane();
        check->check(e.file("mod"));
        QTRY_VERIFY(!check->isChecking());
        auto *list = control<QTreeWidget>(check, "findingsList");
        const auto open = [list](const QString &shown) {
            QTreeWidgetItem *item = list->findItems(shown, Qt::MatchExactly, 0).value(0);
            QVERIFY2(item, qPrintable(shown));
            const QRect cell = list->visualItemRect(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        };
        open("real\\\\xff.nfo");
        QCOMPARE(e.docs.document().path, e.file("mod/real\\xff.nfo"));
        open("real\\xff.nfo");
        e.script.expectBox("The file name '" + e.file("mod") + "/real\\xff.nfo' is not valid in this system's encoding of "
                           "file names", AppError::BadFileName);
        QCOMPARE(e.docs.document().path, e.file("mod/real\\xff.nfo"));  // the other one stays open
    }
#endif

    // A long check can be stopped, between files or inside a large one: what was checked by then
    // is shown. Exit stops it as Stop does: nothing goes on checking behind a closed window.
    void stoppingACheck_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("megabytes");  // of each file
        QTest::addColumn<QString>("how");     // stopButton, or exitAction
        QTest::newRow("Stop between files") << 500 << 0 << "stopButton";
        QTest::newRow("Stop inside a large file") << 1 << 100 << "stopButton";
        QTest::newRow("Exit inside a large file") << 1 << 100 << "exitAction";
    }

    void stoppingACheck()
    {
        QFETCH(int, files);
        QFETCH(int, megabytes);
        QFETCH(QString, how);
        TestFolder mod;
        for (int i = 0; i < files; ++i)
            writeBytes(mod.path(QString("l%1.dsc").arg(i)), QByteArray("\x01\n").repeated(megabytes * 512 * 1024 + 1));
        EditorWindow e;
        e.form.show();
        ModCheckPane &check = *e.form.modCheckPane();
        check.check(mod.path({}));
        QVERIFY(check.isChecking());
        auto *cancel = control<QPushButton>(&check, "stopButton");
        const auto stop = [&e, cancel, how] {
            if (how == "stopButton")
                QTest::mouseClick(cancel, Qt::LeftButton);
            else
                control<QAction>(&e.form, "exitAction")->trigger();
        };
        // Between files: before the first; inside a file: while the window is busy with it, where
        // the check lets it answer.
        if (megabytes)
            QTimer::singleShot(30, cancel, stop);
        else
            stop();
        QTRY_VERIFY(!check.isChecking());
        QVERIFY2(control<QLabel>(&check, "summaryLabel")->text().startsWith("Stopped: 0 files checked"),
                 qPrintable(control<QLabel>(&check, "summaryLabel")->text()));
        QCOMPARE(e.form.isVisible(), how == "stopButton");  // Stop stops the check, and its pane stays
    }

    // File > Recent: the files opened or saved, newest first, at most eight; a file gone is dropped.
    void recentFiles()
    {
        TestFolder files;
        for (int i = 0; i < 10; ++i)
            writeBytes(files.path(QString("l%1.nfo").arg(i)), "LEVEL\r\nNAME=\"n\"\r\n");
        EditorWindow e(files.path("l0.nfo"));
        for (int i = 1; i < 10; ++i) {
            e.script.choose(files.path(QString("l%1.nfo").arg(i)));
            QCOMPARE(e.docs.saveAs(), Outcome::Saved);
            e.script.takeBoxes();
        }
        const auto recent = [&e] {
            auto *menu = control<QMenu>(&e.form, "recentMenu");
            emit menu->aboutToShow();
            return menu->findChildren<QAction *>("recentFileAction");
        };
        QCOMPARE(recent().size(), 8);
        QCOMPARE(recent().first()->text(), "&1 " + files.path("l9.nfo"));
        QCOMPARE(recent().last()->text(), "&8 " + files.path("l2.nfo"));

        recent().at(1)->trigger();  // l8.nfo, opened through the command line's route
        QCOMPARE(e.docs.document().path, files.path("l8.nfo"));
        QCOMPARE(recent().first()->text(), "&1 " + files.path("l8.nfo"));

        QFile::remove(files.path("l9.nfo"));
        recent().at(1)->trigger();
        QCOMPARE(e.statusText(), "'" + files.path("l9.nfo") + "' no longer exists: it is taken off the recent files");
        QCOMPARE(recent().size(), 7);
        QCOMPARE(e.docs.document().path, files.path("l8.nfo"));

        control<QAction>(&e.form, "clearRecentAction")->trigger();
        QVERIFY(recent().isEmpty());
        QVERIFY(!control<QAction>(&e.form, "clearRecentAction")->isEnabled());
    }

    // What a store or the file system holds is shown as it is, and never more than eight entries.
    void recentFilesFromOutside()
    {
        EditorWindow e;
        const TestFolder &files = e.folder;
        writeBytes(files.path("Tom & Jerry.nfo"), "LEVEL\r\n");
#ifdef Q_OS_UNIX
        QCOMPARE(mkfifo(QFile::encodeName(files.path("pipe.nfo")).constData(), 0600), 0);
#endif
        QStringList stored{files.path("Tom & Jerry.nfo"), files.path("pipe.nfo")};
        for (int i = 0; i < 10003; ++i)
            stored.append(files.path(QString("gone%1.nfo").arg(i)));
        SettingsStore::writeList("Recent Files", "Files", stored);
        auto *menu = control<QMenu>(&e.form, "recentMenu");
        emit menu->aboutToShow();
        const auto entries = menu->findChildren<QAction *>("recentFileAction");
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries.first()->text(), "&1 " + QString(files.path("Tom & Jerry.nfo")).replace("&", "&&"));
#ifdef Q_OS_UNIX
        entries.at(1)->trigger();
        QCOMPARE(e.statusText(), "'" + files.path("pipe.nfo") + "' is not a plain file: it is a pipe: it is taken off the recent files");
#endif
    }

    // The status row shows what fits, cut with "…" in the middle of a path; the whole text stays
    // in the label's text, its tooltip and the log.
    void longStatusTextsAreCutWithAnEllipsis()
    {
        EditorWindow e;
        e.form.resize(300, 400);
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        const QString path = "/home/me/" + QString("Mods/").repeated(30) + "Temple.nfo";
        e.form.status().reportStatus("'" + path + "' loaded", StatusKind::Info);
        auto *label = control<ElidedLabel>(&e.form, "statusLabel");
        QCOMPARE(label->text(), "'" + path + "' loaded");
        QVERIFY2(label->shownText().contains(QChar(0x2026)) && label->shownText().endsWith("Temple.nfo' loaded")
                     && label->shownText().startsWith("'/home"),
                 qPrintable(label->shownText()));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->shownText()) <= label->contentsRect().width());
        QCOMPARE(shownToolTip(label->toolTip()), label->text());
        QVERIFY(readBytes(e.folder.logPath()).endsWith(("INF : '" + path + "' loaded\r\n").toUtf8()));
        e.form.status().reportStatus(QString("word ").repeated(100), StatusKind::Info);
        QVERIFY(label->shownText().endsWith(QChar(0x2026)));  // no path: cut at the end
    }

    // A panel larger than the screen allows (here a large font) scrolls; the window and its status
    // row stay on the screen.
    void largePanelScrolls()
    {
        EditorWindow e;
        QFont large = e.form.font();
        large.setPixelSize(40);
        e.form.setFont(large);
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        auto *scroller = control<QScrollArea>(&e.form, "panelScroller");
        QVERIFY(scroller);
        QVERIFY(scroller->verticalScrollBar()->maximum() > 0);
        QVERIFY(e.form.frameGeometry().height() <= e.form.screen()->availableGeometry().height());
        QVERIFY(e.form.rect().contains(control<QWidget>(&e.form, "statusLabel")->geometry().translated(
            control<QWidget>(&e.form, "statusLabel")->parentWidget()->mapTo(&e.form, QPoint()))));
        // Scrolled with the keyboard: Tab to the last row brings it into view.
        auto *locked = control<QWidget>(&e.form, "levelPanel/lockedNoOption");
        QVERIFY(locked);
        scroller->ensureWidgetVisible(locked);
        QVERIFY(scroller->verticalScrollBar()->value() > 0);
    }

#ifdef Q_OS_UNIX
    // On the window system: the first size fits the screen at a scale of 2, and the size the user
    // gave the window is the size it has at the next start.
    void windowFitsTheScreenAndKeepsItsSize()
    {
        XServer x;
        if (!x.available())
            QSKIP("Xvfb and xdotool are needed");
        TestFolder folder;
        writeBytes(folder.path("a.nfo"), "LEVEL\r\nNAME=\"a\"\r\n");
        QProcessEnvironment environment = x.environment();
        environment.insert("QT_SCALE_FACTOR", "2");
        const auto geometry = [&x](const QString &window) {
            const QString shell = x.xdotool({"getwindowgeometry", "--shell", window});
            const auto value = [&shell](const QString &name) {
                return shell.section(name + "=", 1).section('\n', 0, 0).toInt();
            };
            return QSize(value("WIDTH"), value("HEIGHT"));
        };
        QSize kept;
        for (int start = 0; start < 2; ++start) {
            QProcess editor;
            startEditorProcess(editor, folder, {"-c", "exec \"$0\" a.nfo"}, environment);
            const QString window = x.windowOf(editor.processId());
            QVERIFY(!window.isEmpty());
            if (start == 0) {
                const QSize first = geometry(window);
                QVERIFY2(first.width() <= 1024 && first.height() <= 768, qPrintable(QString("%1x%2").arg(first.width()).arg(first.height())));
                x.xdotool({"windowsize", "--sync", window, "1000", "700"});
                QTRY_COMPARE(geometry(window), QSize(1000, 700));
                kept = geometry(window);
                x.xdotool({"windowfocus", "--sync", window});
                x.xdotool({"key", "ctrl+e"});
                QVERIFY(editor.waitForFinished(10000));
            } else {
                QCOMPARE(geometry(window), kept);
                editor.kill();
                editor.waitForFinished();
            }
        }
    }
#endif

    // A size and place kept from the last run are used only when a screen can show them; any
    // other stored geometry (damaged, hand-made, of a screen that has gone) gives the first size.
    void storedWindowGeometry_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<bool>("kept");
        QTest::newRow("kept from the last run") << QRect(40, 30, 500, 400) << true;
        QTest::newRow("two billion pixels") << QRect(-1994, -2215, 2000000000, 2000000000) << false;
        QTest::newRow("wider than every screen") << QRect(0, 0, 100000, 400) << false;
        QTest::newRow("on no screen: moved onto it") << QRect(-500000, -500000, 500, 400) << true;
    }

    void storedWindowGeometry()
    {
        QFETCH(QRect, stored);
        QFETCH(bool, kept);
        QByteArray geometry;
        {
            // The form QWidget::saveGeometry writes (version 3).
            QDataStream stream(&geometry, QIODevice::WriteOnly);
            stream.setVersion(QDataStream::Qt_4_0);
            stream << quint32(0x1D9D0CB) << quint16(3) << quint16(0) << stored << stored << qint32(0) << quint8(0)
                   << quint8(0) << qint32(QGuiApplication::primaryScreen()->geometry().width()) << stored;
        }
        EditorWindow e;  // as at the first start
        const QSize first = e.form.size();
        Settings::write(Settings::WindowGeometry, QString::fromLatin1(geometry.toBase64()));
        MainWindow form(e.folder.programFolder());
        form.show();
        const QRect available = form.screen()->availableGeometry();
        QVERIFY2(form.width() <= available.width() && form.height() <= available.height(),
                 qPrintable(QString("%1x%2").arg(form.width()).arg(form.height())));
        QVERIFY(available.contains(form.geometry().center()));
        QCOMPARE(form.size(), kept ? stored.size() : first);
        // What is stored at the end is what was shown.
        form.close();
        const QByteArray now = QByteArray::fromBase64(Settings::read(Settings::WindowGeometry).toLatin1());
        QVERIFY(kept || now != geometry);
    }

    // A file dropped anywhere on the window, a text box too, opens after the save prompt, which
    // is asked once the drop has returned; other files are refused on the status row.
    void dropOpensNfoAndDescriptionFiles()
    {
        TestFolder files;
        writeBytes(files.path("drop.nfo"), "LEVEL\r\nNAME=\"Dropped\"\r\n");
        writeBytes(files.path("notes.txt"), "text");
        EditorWindow e;
        e.form.show();
        e.docs.newDocument(DocumentKind::Description);
        QPlainTextEdit *box = e.docs.panel<DescriptionPanel>()->textEdit;
        QTest::keyClicks(box, "mine");
        const auto drop = [box](const QString &path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            data.setText(path);
            const QPoint at = box->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box->viewport(), &enter);
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box->viewport(), &dropped);
            return enter.isAccepted() && dropped.isAccepted();
        };
        QVERIFY(drop(files.path("notes.txt")));
        QTRY_COMPARE(e.statusText(), "'" + files.path("notes.txt") + "' is not a .nfo or .dsc file: Brisquel opens only those");
        QCOMPARE(e.docs.panel<DescriptionPanel>()->text(), QString("mine"));  // not taken as text

        // The question comes once the drop has returned, never inside it.
        e.script.answer(Answer::No);
        QVERIFY(drop(files.path("drop.nfo")));
        QVERIFY(e.script.takeBoxTexts().isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(e.script.takeBoxTexts(), QStringList{"Save current opening file, 'untitled.dsc'?"});
        QCOMPARE(e.docs.document().kind, DocumentKind::LevelNfo);
        QCOMPARE(e.docs.panel<LevelPanel>()->valueEdit(LevelRow::Name)->text(), QString("Dropped"));
    }

    void longDescriptionShowsItsBeginningThenFillsIn()
    {
        TestFolder files;
        QByteArray content;
        for (int i = 0; content.size() < 2 * 1024 * 1024; ++i)
            content += "Line " + QByteArray::number(i) + " of a long description.\r\n";
        writeBytes(files.path("long.dsc"), content);
        EditorWindow e(files.path("long.dsc"));
        DescriptionPanel *panel = e.docs.panel<DescriptionPanel>();
        QVERIFY(panel->isFilling());
        QVERIFY(panel->textEdit->isReadOnly());
        QVERIFY(panel->textEdit->toPlainText().startsWith("Line 0 of a long description.\nLine 1 "));
        QTRY_VERIFY_WITH_TIMEOUT(!panel->isFilling(), 20000);
        QVERIFY(!panel->textEdit->isReadOnly());
        QVERIFY(!panel->textEdit->document()->isUndoAvailable());  // the filling in is not an edit
        QVERIFY(!e.docs.document().modified);
        QCOMPARE(e.docs.save(), Outcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(files.path("long.dsc")), content);

        // Saving before the filling in is complete still writes the whole text.
        EditorWindow again(files.path("long.dsc"));
        QVERIFY(again.docs.panel<DescriptionPanel>()->isFilling());
        QCOMPARE(again.docs.save(), Outcome::Saved);
        again.script.takeBoxes();
        QCOMPARE(readBytes(files.path("long.dsc")), content);
    }
};

QTEST_MAIN(TestDocuments)
#include "test_documents.moc"
