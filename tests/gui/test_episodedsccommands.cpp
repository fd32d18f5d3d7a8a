// Episode NFO and description documents in the editor window: New, Save, the Open NFO and Open
// DSC dialogs, the command-line open of each kind, and byte-exact open-then-save.

#include "editor/descriptionpanel.h"
#include "editor/episodepanel.h"
#include "editor/documentcontroller.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTest>

namespace {
QString saveAs(EditorWindow &e, const QString &name)
{
    e.script.choose(e.file(name));
    e.docs.saveAs();
    e.script.takeBoxes();
    return e.file(name);
}
} // namespace

class TestEpisodeDscCommands : public QObject
{
    Q_OBJECT

private slots:
    void newEpisodeSavesItsThreeLines()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::EpisodeNfo);
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - untitled.nfo (Episode NFO)"));
        QCOMPARE(e.statusText(), QString("New Episode NFO Document opened"));
        e.docs.episodePanel()->nameEdit()->setText("My Episode");
        QVERIFY(e.docs.document().modified);
        e.script.choose(e.file("ep.nfo"));
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        QCOMPARE(e.script.takeFileDialogs().value(0).title, QString("Save .nfo (Episode) file As..."));
        QCOMPARE(e.script.takeBoxTexts(), QStringList{"File 'ep.nfo' was saved."});
        QCOMPARE(readBytes(e.file("ep.nfo")), QByteArray("EPISODE\r\nNAME=\"My Episode\"\r\nTHUMBNAIL=\"\"\r\n"));
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - ep.nfo (Episode NFO)"));
        const QString log = QString::fromLatin1(readBytes(e.folder.logPath()));
        QVERIFY(log.contains("INF : Generating file...\r\nINF : EPISODE\r\nINF : NAME\r\nINF : THUMBNAIL\r\n"));
    }

    void openNfoDialogDecidesByFirstLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<DocumentKind>("kind");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("companion episode") << readBytes(testData("new_episode.nfo")) << DocumentKind::EpisodeNfo << QStringList();
        QTest::newRow("companion level") << readBytes(testData("new_level.nfo")) << DocumentKind::LevelNfo << QStringList();
        QTest::newRow("lower-case episode word")
            << QByteArray(" episode \r\nNAME=\"n\"\r\n") << DocumentKind::EpisodeNfo
            << QStringList{"Found an invaild line in the file, ' episode ', ignoring line..."};
        QTest::newRow("anything else is a level") << QByteArray("HELLO\r\n") << DocumentKind::LevelNfo
                                                  << QStringList{"Found an invaild line in the file, 'HELLO', ignoring line..."};
    }

    void openNfoDialogDecidesByFirstLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(DocumentKind, kind);
        QFETCH(QStringList, boxes);
        EditorWindow e;
        const QString path = e.file("a.nfo");
        writeBytes(path, content);
        e.script.choose(path);
        e.docs.openNfo();
        const auto dialogs = e.script.takeFileDialogs();
        QCOMPARE(dialogs.value(0).title, QString("Open a .nfo (Episode/Level) file..."));
        QCOMPARE(dialogs.value(0).filter, QString("NFO (*.nfo)|*.nfo"));
        QCOMPARE(dialogs.value(0).mode, FileDialog::Mode::Open);
        QCOMPARE(e.script.takeBoxTexts(), boxes);
        QCOMPARE(e.docs.document().kind, kind);
        QCOMPARE(e.docs.document().path, path);
        QVERIFY(!e.docs.document().modified);
        QCOMPARE(e.statusText(), "'" + path + "' loaded");
    }

    void openNfoDialogThatFindsNothingChangesNothing_data()
    {
        QTest::addColumn<int>("situation");  // 0 cancel, 1 missing file, 2 empty file
        QTest::newRow("cancelled") << 0;
        QTest::newRow("missing file") << 1;
        QTest::newRow("empty file") << 2;
    }

    void openNfoDialogThatFindsNothingChangesNothing()
    {
        QFETCH(int, situation);
        EditorWindow e;
        e.docs.newDocument(DocumentKind::Description);
        e.docs.descriptionPanel()->setText("mine");
        e.script.answer(MessageBox::Answer::No);
        if (situation == 0) {
            e.script.cancelFileDialog();
        } else {
            if (situation == 2)
                writeBytes(e.file("empty.nfo"), {});
            e.script.choose(e.file(situation == 1 ? "missing.nfo" : "empty.nfo"));
        }
        e.docs.openNfo();
        QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.takeFirst(), QString("Save current opening file, 'untitled.dsc'?"));
        QCOMPARE(boxes.size(), situation == 2 ? 1 : 0);
        if (situation == 2)
            QVERIFY(boxes[0].endsWith("Error Number :62"));
        QCOMPARE(e.docs.document().kind, DocumentKind::Description);
        QCOMPARE(e.docs.descriptionPanel()->text(), QString("mine"));
    }

    void episodeFileRoundTripsAndWrongKindIsReported()
    {
        EditorWindow e;
        const QString path = e.file("ep.nfo");
        const QByteArray content = "EPISODE\r\nNAME=\"a=b\"\r\nTHUMBNAIL=\"T\\x.tex\"\r\n";
        writeBytes(path, content);
        e.script.choose(path);
        e.docs.openNfo();
        QCOMPARE(e.docs.episodePanel()->nameEdit()->text(), QString("a=b"));
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(path), content);

        writeBytes(path, "EPISODE\r\nLEVEL\r\nNAME=\"n\"\r\nTHUMBNAIL\r\n");
        e.script.choose(path);
        e.docs.openNfo();
        const QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0], QString("Error : This is not a episode NFO!\r\n\r\nWarning - Don't know how to handle this error"));
        QVERIFY(boxes[1].endsWith("Error Number :9"));
        QCOMPARE(e.docs.episodePanel()->nameEdit()->text(), QString("n"));
        QCOMPARE(e.statusText(), "'" + path + "' loaded");
    }

    void commandLineRoutes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<DocumentKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("dsc") << "notes.dsc" << QByteArray("text\r\n") << DocumentKind::Description << "Brisquel - notes.dsc";
        QTest::newRow("DSC without a dot") << "notesDSC" << QByteArray("text\r\n") << DocumentKind::Description << "Brisquel - notesDSC";
        QTest::newRow("lower-case level with blanks") << "l.nfo" << QByteArray("  level 2\r\n") << DocumentKind::LevelNfo
                                                      << "Brisquel - l.nfo (Level NFO)";
        QTest::newRow("episode") << "e.nfo" << QByteArray("EPISODE\r\n") << DocumentKind::EpisodeNfo << "Brisquel - e.nfo (Episode NFO)";
        QTest::newRow("anything else is an episode") << "x.nfo" << QByteArray("NAME=\"n\"\r\n") << DocumentKind::EpisodeNfo
                                                     << "Brisquel - x.nfo (Episode NFO)";
    }

    void commandLineRoutes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(DocumentKind, kind);
        QFETCH(QString, title);
        TestFolder files;
        writeBytes(files.path(name), content);
        EditorWindow e(files.path(name));
        e.script.takeBoxes();  // the readers' own messages are tested elsewhere
        QCOMPARE(e.docs.document().kind, kind);
        QCOMPARE(e.form.windowTitle(), title);
        QVERIFY(!e.docs.document().modified);
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
        e.docs.openDescription();
        QCOMPARE(e.script.takeFileDialogs().value(0).title, QString("Open a .dsc file..."));
        if (!shown.isNull())
            QCOMPARE(e.docs.descriptionPanel()->text(), shown);
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - mod.dsc"));
        QVERIFY(!e.docs.document().modified);
        // Saved without an edit: the file as it was.
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        QCOMPARE(e.script.takeBoxTexts(), QStringList{"File 'mod.dsc' was saved."});
        QCOMPARE(readBytes(path), file);
        // Edited: CR LF for every line break, and no line added.
        QPlainTextEdit *box = e.docs.descriptionPanel()->textEdit;
        box->moveCursor(QTextCursor::Start);
        QTest::keyClicks(box, "X");
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(path), edited);
    }

    void shiftEnterIsALineBreak()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::Description);
        QPlainTextEdit *box = e.docs.descriptionPanel()->textEdit;
        QTest::keyClicks(box, "one");
        QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(box, "two");
        QVERIFY(box->document()->toRawText().contains(QChar::LineSeparator));
        // Exit, and Yes to the prompt, saves and ends.
        e.script.answer(MessageBox::Answer::Yes);
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
        DescriptionPanel *panel = e.docs.descriptionPanel();
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
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(path), expected.toLatin1().replace("\n", "\r\n") + "\r\n");
    }

    void newDescriptionSaves()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::Description);
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - untitled.dsc"));
        QCOMPARE(e.statusText(), QString("New DSC Document opened"));
        QVERIFY(!e.docs.document().modified);
        QTest::keyClicks(e.docs.descriptionPanel()->textEdit, "x");
        QVERIFY(e.docs.document().modified);
        const QString path = saveAs(e, "new.dsc");
        QCOMPARE(e.script.takeFileDialogs().value(0).filter, QString("DSC Description File (*.dsc)|*.dsc"));
        QCOMPARE(readBytes(path), QByteArray("x\r\n"));
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - new.dsc"));
        // No "Generating file..." for descriptions.
        QVERIFY(!readBytes(e.folder.logPath()).contains("Generating"));
    }

    void longDescriptionShowsItsBeginningThenFillsIn()
    {
        TestFolder files;
        QByteArray content;
        for (int i = 0; content.size() < 2 * 1024 * 1024; ++i)
            content += "Line " + QByteArray::number(i) + " of a long description.\r\n";
        writeBytes(files.path("long.dsc"), content);
        EditorWindow e(files.path("long.dsc"));
        DescriptionPanel *panel = e.docs.descriptionPanel();
        QVERIFY(panel->isFilling());
        QVERIFY(panel->textEdit->isReadOnly());
        QVERIFY(panel->textEdit->toPlainText().startsWith("Line 0 of a long description.\nLine 1 "));
        QTRY_VERIFY_WITH_TIMEOUT(!panel->isFilling(), 20000);
        QVERIFY(!panel->textEdit->isReadOnly());
        QVERIFY(!panel->textEdit->document()->isUndoAvailable());  // the filling in is not an edit
        QVERIFY(!e.docs.document().modified);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(files.path("long.dsc")), content);

        // Saving before the filling in is complete still writes the whole text.
        EditorWindow again(files.path("long.dsc"));
        QVERIFY(again.form.documents().descriptionPanel()->isFilling());
        QCOMPARE(again.form.documents().save(), DocumentController::SaveOutcome::Saved);
        again.script.takeBoxes();
        QCOMPARE(readBytes(files.path("long.dsc")), content);
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
    }

    void refusedDescriptionIsNotWritten()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::Description);
        e.docs.descriptionPanel()->setText(QString::fromUtf8("Emoji \U0001F600"));
        e.script.choose(e.file("emoji.dsc"));
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Failed);
        QVERIFY(e.script.takeBoxTexts().value(0).contains("The description contains the character"));
        QVERIFY(!QFile::exists(e.file("emoji.dsc")));
        QVERIFY(e.docs.document().modified);
    }
};

QTEST_MAIN(TestEpisodeDscCommands)
#include "test_episodedsccommands.moc"
