// Faults from outside: writes that fail part-way, folders that cannot be written, files that
// cannot be read, odd and huge files, a broken settings store. Each must give a clear message and
// lose nothing.

#include "editor/descriptionpanel.h"
#include "editor/episodepanel.h"
#include "editor/documentcontroller.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"
#include "core/commandline.h"
#include "core/documentfile.h"
#include "core/userhome.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "core/codepage.h"
#include "core/modcheck.h"
#include "tests/support/testsupport.h"
#include "ui/problemspane.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTreeWidget>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
[[maybe_unused]] QStringList filesIn(const QString &folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
#ifdef Q_OS_UNIX
    void writeFailingPartWayKeepsTheOldFile_data()
    {
        QTest::addColumn<DocumentKind>("kind");
        QTest::newRow("description") << DocumentKind::Description;
        QTest::newRow("level") << DocumentKind::LevelNfo;
    }

    void writeFailingPartWayKeepsTheOldFile()
    {
        QFETCH(DocumentKind, kind);
        EditorWindow e;
        QDir().mkpath(e.file("mod"));
        const QString path = e.file(kind == DocumentKind::Description ? "mod/a.dsc" : "mod/a.nfo");
        e.docs.newDocument(kind);
        e.script.choose(path);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        const QByteArray before = readBytes(path);

        const QString longText(5000, QLatin1Char('x'));
        if (kind == DocumentKind::Description)
            e.docs.panel<DescriptionPanel>()->setText(longText);
        else
            e.docs.panel<LevelPanel>()->valueEdit(LevelRow::Name)->setText(longText);
        {
            FileSizeLimit limit(1024);
            QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Failed);
        }
        e.script.expectBox("Cannot write '" + path + "': the file is too large");
        QCOMPARE(readBytes(path), before);
        QVERIFY(e.docs.document().modified);
        QCOMPARE(filesIn(e.file("mod")), QStringList{QFileInfo(path).fileName()});  // no half-written leftovers

        // Once there is room again, the same Save works.
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QVERIFY(readBytes(path).contains(longText.toLatin1()));
    }
#endif

    void savingWhereNothingCanBeWritten_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder under a file") << "plain-file/a.nfo" << "Cannot open '%1' for writing";
        QTest::newRow("no such folder") << "no-such-folder/a.nfo" << "Cannot open '%1' for writing";
        QTest::newRow("a folder") << "a-folder" << "Cannot save to '%1': it is a folder";
#ifdef Q_OS_UNIX
        // A pipe would be replaced by a plain file and reported saved.
        QTest::newRow("a pipe") << "a-pipe" << "Cannot save to '%1': it is a pipe, not a plain file";
#endif
    }

    void savingWhereNothingCanBeWritten()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        EditorWindow e;
        writeBytes(e.file("plain-file"), "untouched");
        QDir().mkpath(e.file("a-folder"));
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(e.file("a-pipe")).constData(), 0600), 0);
#endif
        e.docs.newDocument(DocumentKind::EpisodeNfo);
        e.docs.panel<EpisodePanel>()->nameEdit()->setText("Work");
        e.script.choose(e.file(target));
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Failed);
        e.script.expectBox(message.arg(e.file(target)));
        QCOMPARE(readBytes(e.file("plain-file")), QByteArray("untouched"));
        QCOMPARE(e.form.status().shownKind(), std::optional(StatusKind::Error));
        QVERIFY(e.docs.document().modified);
        // The name that could not be written is not the document's: New's save asks for one
        // again, and a cancel there keeps the unsaved document.
        QCOMPARE(e.docs.document().path, QString());
        QCOMPARE(e.docs.document().fileTitle, QString("untitled.nfo"));
        e.script.answer(MessageBox::Answer::Yes);
        e.script.cancelFileDialog();
        e.docs.newDocument(DocumentKind::EpisodeNfo);
        QCOMPARE(e.script.takeBoxTexts().size(), 1);  // the prompt
        QCOMPARE(e.script.takeFileDialogs().size(), 2);
        QCOMPARE(e.docs.panel<EpisodePanel>()->nameEdit()->text(), QString("Work"));
    }

    // Another program (a teammate's sync, a text editor) wrote the file after it was opened:
    // Save asks before it replaces that newer version, edited or not; No saves elsewhere.
    void savingOverNewerWork_data()
    {
        QTest::addColumn<QByteArray>("meanwhile");  // what another program writes; empty: nothing
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");              // to the question, when asked
        const QByteArray newer = "EPISODE\r\nNAME=\"A newer name, from elsewhere\"\r\nTHUMBNAIL=\"T.tex\"\r\n";
        QTest::newRow("not changed: no question") << QByteArray() << true << 0;
        QTest::newRow("the same bytes again: no question") << QByteArray("EPISODE\r\nNAME=\"Old\"\r\n") << true << 0;
        QTest::newRow("newer, Yes replaces it") << newer << true << int(MessageBox::Answer::Yes);
        QTest::newRow("newer, No saves elsewhere") << newer << true << int(MessageBox::Answer::No);
        QTest::newRow("newer, Save without an edit asks too") << newer << false << int(MessageBox::Answer::No);
    }

    void savingOverNewerWork()
    {
        QFETCH(QByteArray, meanwhile);
        QFETCH(bool, edited);
        QFETCH(int, answer);
        EditorWindow e;
        const QString path = e.file("Episode.nfo");
        writeBytes(path, "EPISODE\r\nNAME=\"Old\"\r\n");
        e.docs.openFile(path);
        e.script.takeBoxes();
        QTest::qWait(20);  // a time the file system can tell apart
        if (!meanwhile.isEmpty())
            writeBytes(path, meanwhile);
        if (edited)
            QTest::keyClicks(e.docs.panel<EpisodePanel>()->nameEdit(), "x");
        const QString elsewhere = e.file("Copy.nfo");
        if (answer)
            e.script.answer(MessageBox::Answer(answer));
        if (answer == int(MessageBox::Answer::No))
            e.script.choose(elsewhere);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.size(), answer ? 2 : 1);
        if (answer)
            QCOMPARE(boxes.first(), "'" + path + "' has changed on disk since Brisquel read or saved it: another program "
                                    "has written it.\r\n\r\nReplace it with this document anyway? (No saves under "
                                    "another name.)");
        const bool kept = answer == int(MessageBox::Answer::No);
        QCOMPARE(readBytes(path) == meanwhile, kept);
        QCOMPARE(QFile::exists(elsewhere), kept);
        // What was saved is what the document knows now: the next save asks nothing.
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        QCOMPARE(e.script.takeBoxTexts().size(), 1);
    }

#ifdef Q_OS_UNIX
    // Save replaces the file with a new one that keeps the old one's permissions and, where the
    // system allows (as root), its owner.
    void savingKeepsOwnerAndPermissions()
    {
        EditorWindow e;
        const QString path = e.file("Shared.dsc");
        writeBytes(path, "Text\r\n");
        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(::chmod(name.constData(), 0640), 0);
        const bool root = ::geteuid() == 0;
        if (root)
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
        e.docs.openFile(path);
        QTest::keyClicks(e.docs.panel<DescriptionPanel>()->textEdit, "More ");
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        struct stat after {};
        QCOMPARE(::stat(name.constData(), &after), 0);
        QCOMPARE(after.st_mode & 07777, mode_t(0640));
        if (root)
            QCOMPARE(after.st_uid, uid_t(65534));
        QCOMPARE(readBytes(path), QByteArray("More Text\r\n"));
    }
#endif

    void unstorableValuesAreRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("level: outside the code page") << "levelPanel/nameEdit" << QString::fromUtf8("\u65e5\u672c")
                                                      << "The value of 'Name' contains the character";
        QTest::newRow("level: a double quote") << "levelPanel/nameEdit" << "a \"quoted\" name"
                                               << "The value of 'Name' contains a double quote";
        QTest::newRow("episode: outside the code page") << "episodePanel/thumbnailEdit" << QString::fromUtf8("\u03a9")
                                                        << "The value of 'Thumbnail' contains the character";
        QTest::newRow("description: an emoji") << "descriptionPanel/textEdit" << QString::fromUtf8("Emoji \U0001F600")
                                               << "The description contains the character";
    }

    // A value the file cannot hold is refused by name, and the file on disk stays as it was.
    void unstorableValuesAreRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        EditorWindow e;
        e.docs.newDocument(field.startsWith("level") ? DocumentKind::LevelNfo
                           : field.startsWith("episode") ? DocumentKind::EpisodeNfo : DocumentKind::Description);
        const QString path = e.file("keep");
        e.script.choose(path);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        const QByteArray before = readBytes(path);
        QWidget *box = control(&e.form, field);
        if (auto *edit = qobject_cast<QLineEdit *>(box))
            edit->setText(value);
        else
            static_cast<QPlainTextEdit *>(box)->setPlainText(value);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Failed);
        e.script.expectBox(message, 380);
        QCOMPARE(readBytes(path), before);
        QVERIFY(e.docs.document().modified);
    }

    void failedSaveAsKeepsTheDocumentWhereItWas()
    {
        EditorWindow e;
        const QString original = e.file("a.nfo");
        writeBytes(original, "EPISODE\r\nNAME=\"a\"\r\nTHUMBNAIL=\"\"\r\n");
        e.script.choose(original);
        e.docs.open(DocumentKind::EpisodeNfo);
        e.docs.panel<EpisodePanel>()->nameEdit()->setText("edited");
        e.script.choose(e.file("no-such-folder/b.nfo"));
        QCOMPARE(e.docs.saveAs(), DocumentController::SaveOutcome::Failed);
        QCOMPARE(e.script.takeBoxTexts().size(), 1);
        QCOMPARE(e.docs.document().path, original);
        QCOMPARE(e.docs.document().fileTitle, QString("a.nfo"));
        QCOMPARE(e.form.windowTitle(), QString("Brisquel - a.nfo (Episode NFO)"));
        QVERIFY(e.docs.document().modified);
        e.script.answer(MessageBox::Answer::Yes);
        e.form.close();  // the prompt names the document, and its save writes a.nfo
        QCOMPARE(e.script.takeBoxTexts(), (QStringList{"Save current opening file, 'a.nfo'?", "File 'a.nfo' was saved."}));
        QVERIFY(readBytes(original).contains("NAME=\"edited\""));
        QVERIFY(!QFile::exists(e.file("no-such-folder")));
    }

#ifdef Q_OS_UNIX
    void filesThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("path");  // "fifo", "empty" and "missing" are made by the test
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty: no first line to tell the kind") << "empty" << 62 << "";
        QTest::newRow("missing") << "missing" << 53 << "";
        QTest::newRow("a pipe does not hang") << "fifo" << 75 << "is not a plain file";
        QTest::newRow("a device") << "/dev/zero" << 75 << "is not a plain file";
        QTest::newRow("a file whose reading fails") << "/proc/self/mem" << 57 << "Cannot read '/proc/self/mem'";
        QTest::newRow("an NFO larger than Brisquel opens") << "huge.nfo" << 7 << "bytes (256 MiB) that Brisquel opens";
        QTest::newRow("a description larger than Brisquel opens") << "huge.dsc" << 7 << "bytes (256 MiB) that Brisquel opens";
    }

    void filesThatCannotBeRead()
    {
        QFETCH(QString, path);
        QFETCH(int, number);
        QFETCH(QString, message);
        TestFolder files;
        if (path == "fifo") {
            path = files.path("pipe.nfo");
            QCOMPARE(mkfifo(qPrintable(path), 0600), 0);
        } else if (path == "empty" || path == "missing") {
            if (path == "empty")
                writeBytes(files.path("x.nfo"), {});
            path = files.path("x.nfo");
        } else if (path.startsWith("huge")) {
            path = files.path(path);
            QFile huge(path);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(DocumentFile::LargestFile + 1));  // sparse
        }
        EditorWindow e(path);
        e.script.expectBox(message, number);
        QCOMPARE(e.form.status().shownKind(), std::optional(StatusKind::Error));
        // Nothing of the file is held, and nothing can be saved over it.
        QVERIFY(e.docs.document().path.isEmpty());
        if (path.endsWith(".dsc")) {
            QTest::keyClicks(e.docs.panel<DescriptionPanel>()->textEdit, "x");
            e.script.cancelFileDialog();
            QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Cancelled);
            QCOMPARE(QFileInfo(path).size(), DocumentFile::LargestFile + 1);
        } else {
            QCOMPARE(e.docs.document().kind, DocumentKind::None);
            QCOMPARE(e.form.windowTitle(), QString("Brisquel"));
        }
    }
#endif

    void notAGameNfo_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("release notes: five lines, then a count")
            << QByteArray("   Release notes\r\n").repeated(100)
            << QStringList(5, "Found an invaild line in the file, '   Release notes', ignoring line...")
                   + QStringList{"95 more lines of the file could not be read and were ignored."};
        QTest::newRow("one line of 10 MB is quoted short")
            << QByteArray(10 * 1024 * 1024, '<') + "\n"
            << QStringList{"Found an invaild line in the file, '" + QString(200, '<') + "...', ignoring line..."};
        QTest::newRow("six lines: a count of one") << QByteArray("?\n").repeated(6)
            << QStringList(5, "Found an invaild line in the file, '?', ignoring line...")
                   + QStringList{"1 more line of the file could not be read and was ignored."};
    }

    void notAGameNfo()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, boxes);
        TestFolder files;
        writeBytes(files.path("readme.nfo"), content);
        EditorWindow e(files.path("readme.nfo"));
        QCOMPARE(e.script.takeBoxTexts(), boxes);
    }

    // A file that was not read whole loses the lines that were not read when it is saved over: the
    // first save over it asks, and No saves under another name.
    void partlyReadFilesAskBeforeSaving_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("openingBoxes");
        QTest::addColumn<QString>("question");  // empty: saved without one
        QTest::addColumn<int>("answer");
        QTest::newRow("release notes, No: saved elsewhere") << QByteArray("   Release notes\r\nby me\n\r\n") << 2
            << "'notes.nfo' was not read whole: 2 of its lines are not in the document" << int(MessageBox::Answer::No);
        QTest::newRow("release notes, Yes: saved over it, asked once") << QByteArray("   Release notes\r\n") << 1
            << "'notes.nfo' was not read whole: 1 of its lines is not in the document" << int(MessageBox::Answer::Yes);
        QTest::newRow("reading stopped: the line and those after it")
            << QByteArray("LEVEL\r\nNAME=\"n\"\r\nETA=\"1\"\r\nLOCKED=\"NO\"\r\nMODEL_NAME=\"m\"\r\n") << 1
            << "'notes.nfo' was not read whole: 3 of its lines are not in the document" << int(MessageBox::Answer::No);
        QTest::newRow("read whole: no question") << QByteArray("EPISODE\r\nNAME=\"n\"\r\nTHUMBNAIL=\"\"\r\n") << 0
            << "" << 0;
        // Values the panel cannot hold as written count as not read: a save would change them.
        const QByteArray level = "LEVEL\r\nNAME=\"n\"\r\nTHUMBNAIL=\"\"\r\nETA=\"00:00:00\"\r\n";
        QTest::newRow("a game mode the panel does not know, No") << level + "MAP_TYPE=\"SINGLE; ARENA\"\r\nLOCKED=\"NO\"\r\n"
            << 0 << "'notes.nfo' was not read whole: 1 of its values is not held as written, and saving over the file "
                    "changes them." << int(MessageBox::Answer::No);
        QTest::newRow("yes for YES and a game mode, Yes") << level + "MAP_TYPE=\"SINGLE; ARENA\"\r\nLOCKED=\"yes\"\r\n"
            << 0 << "'notes.nfo' was not read whole: 2 of its values are not held as written" << int(MessageBox::Answer::Yes);
        QTest::newRow("a line dropped and a value changed") << level + "MAP_TYPE=\"SINGLE;\"\r\nLOCKED=\"yes\"\r\nX\r\n"
            << 1 << "'notes.nfo' was not read whole: 1 of its lines is not in the document and 1 of its values is not "
                    "held as written, and saving over the file drops and changes them." << int(MessageBox::Answer::No);
        QTest::newRow("the same game modes otherwise spaced: no question")
            << level + "MAP_TYPE=\"COOP ;SINGLE\"\r\nLOCKED=\"NO\"\r\n" << 0 << "" << 0;
    }

    // Each value opening changed is listed in the Problems pane (and at its field) with what the
    // file holds and what Save writes, until a save makes them one.
    void changedValuesAreListed()
    {
        TestFolder files;
        const QString path = files.path("Temple.nfo");
        writeBytes(files.path("Temple.tex"), "");
        writeBytes(path, "LEVEL\r\nNAME=\"Temple\"\r\nMAP_TYPE=\"SINGLE; ARENA\"\r\nTHUMBNAIL=\"Temple.tex\"\r\n"
                         "ETA=\"00:10:00\"\r\nLOCKED=\"yes\"\r\n");
        EditorWindow e(path);
        QTRY_VERIFY(!e.docs.liveCheck().isPending());
        QTreeWidget *list = e.form.problemsPane()->list();
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts.append(list->topLevelItem(i)->text(1) + ": " + list->topLevelItem(i)->text(4));  // line, text
        QCOMPARE(texts, QStringList({"3: the file holds MAP_TYPE=\"SINGLE; ARENA\", which Save writes as MAP_TYPE=\"SINGLE;\"",
                                     "6: the file holds LOCKED=\"yes\", which Save writes as LOCKED=\"NO\""}));
        QVERIFY(shownToolTip(control(&e.form, "levelPanel/lockedYesOption")->toolTip()).contains("LOCKED=\"yes\""));
        e.script.answer(MessageBox::Answer::Yes);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QTRY_VERIFY(!e.docs.liveCheck().isPending());
        QCOMPARE(list->topLevelItemCount(), 0);
    }

    void partlyReadFilesAskBeforeSaving()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, openingBoxes);
        QFETCH(QString, question);
        QFETCH(int, answer);
        TestFolder files;
        const QString notes = files.path("notes.nfo");
        writeBytes(notes, content);
        EditorWindow e(notes);
        QCOMPARE(e.script.takeBoxes().size(), openingBoxes);
        QCOMPARE(e.form.status().shownKind(), std::optional(question.isEmpty() ? StatusKind::Info : StatusKind::Warning));
        QTest::keyClicks(control(&e.form, e.docs.document().kind == DocumentKind::LevelNfo ? "levelPanel/nameEdit"
                                                                                             : "episodePanel/nameEdit"),
                         "x");
        if (!question.isEmpty())
            e.script.answer(MessageBox::Answer(answer));
        const QString elsewhere = files.path("copy.nfo");
        if (answer == int(MessageBox::Answer::No))
            e.script.choose(elsewhere);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        const auto boxes = e.script.takeBoxes();
        QCOMPARE(boxes.size(), question.isEmpty() ? 1 : 2);
        if (!question.isEmpty()) {
            QVERIFY2(boxes[0].text.startsWith(question), qPrintable(boxes[0].text));
            QCOMPARE(boxes[0].buttons, MessageBox::Buttons::YesNoDefaultNo);
        }
        const bool savedOver = answer != int(MessageBox::Answer::No);
        QCOMPARE(readBytes(notes) == content, !savedOver);
        QCOMPARE(QFile::exists(elsewhere), !savedOver);
        // What is saved now is what the document holds: the next save asks nothing.
        QTest::keyClicks(control(&e.form, e.docs.document().kind == DocumentKind::LevelNfo ? "levelPanel/nameEdit"
                                                                                             : "episodePanel/nameEdit"),
                         "y");
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        QCOMPARE(e.script.takeBoxes().size(), 1);
    }

    // On a system whose code page has characters of two bytes (Japanese), a file written in the
    // Western code page holds sequences it cannot read. They are never dropped or merged without a
    // word: the opening says which line, the first save over the file asks, and No keeps it.
    void bytesTheCodePageCannotReadAreNeverLostSilently_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<int>>("lines");  // those it cannot read
        QTest::addColumn<int>("answer");
        QTest::newRow("Japanese text: saved back exact") << "jp.dsc" << QByteArray("\x93\xfa\x96\x7b\r\n") << QList<int>{} << 0;
        QTest::newRow("half-width letters, one byte each") << "kana.dsc" << QByteArray("\xb1\xb2\xb3\r\n") << QList<int>{} << 0;
        QTest::newRow("a Western description, No keeps it") << "cafe.dsc"
            << QByteArray("Caf\xe9 au lait, na\xefve r\xe9sum\xe9\r\n") << QList<int>{1} << int(MessageBox::Answer::No);
        QTest::newRow("a character split over two lines, Yes") << "split.dsc" << QByteArray("ok\r\n\x93\r\n\xfa\r\n")
            << QList<int>{2, 3} << int(MessageBox::Answer::Yes);
        QTest::newRow("a lead byte at the very end") << "end.dsc" << QByteArray("ok\r\n\x93") << QList<int>{2}
            << int(MessageBox::Answer::No);
        QTest::newRow("a Level NFO's name") << "cafe.nfo"
            << QByteArray("LEVEL\r\nNAME=\"Caf\xe9\"\r\nMAP_TYPE=\"SINGLE;\"\r\nTHUMBNAIL=\"\"\r\nETA=\"00:00:00\"\r\nLOCKED=\"NO\"\r\n")
            << QList<int>{2} << int(MessageBox::Answer::No);
    }

    void bytesTheCodePageCannotReadAreNeverLostSilently()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QList<int>, lines);
        QFETCH(int, answer);
        CodePage::Override japanese("Shift_JIS", "the code page 932 (Japanese)");
        if (CodePage::isSingleByte())
            QSKIP("This system reads no other code page in its place: the Windows stage runs this in a Japanese prefix");
        TestFolder files;
        const QString path = files.path(name);
        writeBytes(path, content);
        EditorWindow e(path);
        e.script.takeBoxes();
        if (lines.isEmpty()) {
            QCOMPARE(e.form.status().shownKind(), std::optional(StatusKind::Info));
        } else {
            QVERIFY2(e.statusText().contains(QString("line %1 holds bytes that the code page 932 (Japanese) cannot read")
                                                 .arg(lines.first())),
                     qPrintable(e.statusText()));
            e.script.answer(MessageBox::Answer(answer));
        }
        const QString elsewhere = files.path("copy" + name.right(4));
        if (answer == int(MessageBox::Answer::No))
            e.script.choose(elsewhere);
        if (!lines.isEmpty()) {  // an edit: the file is written from the text shown
            QTest::keyClicks(control(&e.form, name.endsWith(".dsc") ? "descriptionPanel/textEdit" : "levelPanel/nameEdit"), "x");
        }
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        const auto boxes = e.script.takeBoxes();
        if (lines.isEmpty()) {
            QCOMPARE(boxes.size(), 1);  // "was saved"
            QCOMPARE(readBytes(path), content);
            return;
        }
        QVERIFY2(boxes[0].text.startsWith(QString("'%1' was not read whole: %2 of its lines %3 bytes that the code page "
                                                  "932 (Japanese) cannot read, and saving over the file changes them.")
                                              .arg(name).arg(lines.size()).arg(lines.size() == 1 ? "holds" : "hold")),
                 qPrintable(boxes[0].text));
        QCOMPARE(boxes[0].buttons, MessageBox::Buttons::YesNoDefaultNo);
        QCOMPARE(readBytes(path) == content, answer == int(MessageBox::Answer::No));
        // The check says the same, line by line.
        const auto findings = ModCheck::checkBytes(content, name.endsWith(".dsc") ? ModCheck::FileKind::Description
                                                                                  : ModCheck::FileKind::Nfo, path, {});
        QList<int> found;
        for (const ModCheck::Finding &finding : findings) {
            if (finding.rule == "undecodable-bytes")
                found.append(finding.line);
        }
        QCOMPARE(found, lines);
    }

    void openThenSaveGivesEveryByteBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("saved");  // null: the content
        const QByteArray longValue(40000, 'v');
        QTest::newRow("level, every row") << "ruins.nfo"
            << QByteArray("LEVEL\r\nNAME=\"Ruins\"\r\nMAP_TYPE=\"SINGLE;COOP; DEATHMATCH;\"\r\n"
                          "LOADING_MODEL=\"Models\\Ship.mdl\"\r\nMODEL_ROTATE=\"NO\"\r\nMODEL_DISTANCE=\"5\"\r\n"
                          "THUMBNAIL=\"T.tex\"\r\nETA=\"1:2:3\"\r\nOUTRO_MOVIE=\"o.ogv\"\r\nLOCKED=\"NO\"\r\n")
            << QByteArray();
        QTest::newRow("level, values past Qt's line-edit limit") << "long.nfo"
            << "LEVEL\r\nNAME=\"" + longValue + "\"\r\nMAP_TYPE=\"\"\r\nLOADING_MODEL=\"m" + longValue
                   + "\"\r\nTHUMBNAIL=\"\"\r\nETA=\"00:00:00\"\r\nLOCKED=\"NO\"\r\n"
            << QByteArray();
        QTest::newRow("episode, an equals sign in a value") << "ep.nfo"
            << QByteArray("EPISODE\r\nNAME=\"a=b\"\r\nTHUMBNAIL=\"T\\x.tex\"\r\n") << QByteArray();
        QTest::newRow("episode, a long thumbnail") << "ep.nfo"
            << "EPISODE\r\nNAME=\"n\"\r\nTHUMBNAIL=\"" + longValue + "\"\r\n" << QByteArray();
        QTest::newRow("companion level template: one CR LF after the last line") << "New.nfo"
            << readBytes(testData("new_level.nfo")) << readBytes(testData("new_level.nfo")).chopped(2);
        const char raw[] = "before\0after\r\n\x01\x7f\x81\x8d\xff\r\n";
        QTest::newRow("description with NUL bytes") << "zero-bytes.dsc" << QByteArray(raw, sizeof raw - 1) << QByteArray();
        // Large files keep every byte (their speed is the benchmark's: scripts/bench).
        const QByteArray line = QByteArray(78, 'd') + "\r\n";
        QTest::newRow("a 1 MB description") << "big.dsc" << line.repeated(1024 * 1024 / line.size()) << QByteArray();
    }

    void openThenSaveGivesEveryByteBack()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, saved);
        TestFolder files;
        writeBytes(files.path(name), content);
        EditorWindow e(files.path(name));
        QVERIFY(e.script.takeBoxes().isEmpty());
        QVERIFY(!e.docs.document().modified);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QVERIFY(readBytes(files.path(name)) == (saved.isNull() ? content : saved));
    }

    void levelOfManyLines()
    {
        TestFolder files;
        const QByteArray content = "LEVEL\r\n" + QByteArray("MODEL_NAME=\"Ship\"\r\n").repeated(40000)
                                   + "NAME=\"Last\"\r\n";
        writeBytes(files.path("long.nfo"), content);
        EditorWindow e(files.path("long.nfo"));
        QVERIFY(e.script.takeBoxes().isEmpty());
        QCOMPARE(e.docs.panel<LevelPanel>()->valueEdit(LevelRow::Name)->text(), QString("Last"));
        QCOMPARE(e.docs.panel<LevelPanel>()->valueEdit(LevelRow::ModelName)->text(), QString("Ship"));
    }

    void logElsewhereWhenTheProgramFolderHasNoPlace_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("program folder is a file") << "file";
#ifdef Q_OS_UNIX
        QTest::newRow("log is a pipe: start-up does not wait") << "pipe";
#endif
        QTest::newRow("log is a folder") << "folder";
    }

    void logElsewhereWhenTheProgramFolderHasNoPlace()
    {
        QFETCH(QString, damage);
        TestFolder outside;
        QString program = outside.path("program");
        QDir().mkpath(program);
        if (damage == "file") {
            program = outside.path("program-file");
            writeBytes(program, "x");
        } else if (damage == "pipe") {
#ifdef Q_OS_UNIX
            QCOMPARE(mkfifo(qPrintable(program + "/AppLog.log"), 0600), 0);
#endif
        } else {
            QDir().mkpath(program + "/AppLog.log");
        }
        EditorWindow e({}, program);
        QCOMPARE(e.statusText(), QString("Ready"));
        QVERIFY(!e.form.log().path().startsWith(program));
        QVERIFY(readBytes(e.form.log().path()).endsWith("INF : Ready\r\n"));
        e.docs.newDocument(DocumentKind::Description);
        e.script.choose(e.file("works.dsc"));
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
    }

#ifdef Q_OS_UNIX
    // Writing past the user's file size limit is an error the editor reports, not the end of it.
    void editorSurvivesAFileSizeLimit()
    {
        TestFolder folder;
        QProcess editor;
        editor.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_DFL);  // not what this test process has set
            rlimit limit{16, 16};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        startEditorProcess(editor, folder);
        // The first log entries go past the limit at once; the editor keeps running.
        QVERIFY2(!editor.waitForFinished(1500), qPrintable(QString("ended with %1").arg(editor.exitCode())));
        QVERIFY(readBytes(folder.path("program/AppLog.log")).size() <= 16);
        editor.kill();
        editor.waitForFinished();
    }

    // The file to open is taken from the arguments as given: Qt's own options are file names here.
    // The real program: a word that starts with "-" is an option, never silently a file name, and
    // a usage error opens no window a script would wait on; "./-style" opens the file of that name.
    void commandLineAsGiven_data()
    {
        QTest::addColumn<QString>("words");  // shell words
        QTest::addColumn<QString>("opened");  // the file the window opens; empty: a usage error (exit 2)
        QTest::newRow("a file named like a Qt option") << "./-reverse" << "-reverse";
        QTest::newRow("a file named --check") << "./--check" << "--check";
        QTest::newRow("a Qt option") << "-style" << "";
        QTest::newRow("a check option without --check") << "--strict ." << "";
    }

    void commandLineAsGiven()
    {
        QFETCH(QString, words);
        QFETCH(QString, opened);
        TestFolder folder;
        for (const char *name : {"-reverse", "-style", "--check"})
            writeBytes(folder.path(name), "LEVEL\r\nNAME=\"n\"\r\n");
        QProcess editor;
        startEditorProcess(editor, folder, {"-c", "exec \"$0\" " + words});
        if (opened.isEmpty()) {
            QVERIFY(editor.waitForFinished(10000));
            QCOMPARE(editor.exitCode(), 2);
            QVERIFY(editor.readAllStandardError().startsWith("Brisquel: "));
            return;
        }
        const QString logged = "INF : '" + folder.path(opened) + "' loaded";
        QTRY_VERIFY2_WITH_TIMEOUT(readBytes(folder.path("program/AppLog.log")).contains(logged.toUtf8()),
                                  readBytes(folder.path("program/AppLog.log")).constData(), 10000);
        editor.kill();
        editor.waitForFinished();
    }

    // A name that no path can spell is refused rather than opened, and later saved, as another file.
    void nameThatIsNotUtf8IsRefused()
    {
        TestFolder folder;
        const QByteArray name = QFile::encodeName(folder.path("Level")) + "\xff.nfo";
        writeBytes(QFile::decodeName(name), "LEVEL\r\n");  // what Qt makes of it: another name
        char program[] = "Brisquel";
        QByteArray argument = name;
        char *argv[] = {program, argument.data()};
        const CommandLine::Given given = CommandLine::given(2, argv);
        QVERIFY(!given.readable);
        EditorWindow e;
        e.form.runStartUp(CommandLine::argumentText(given.arguments), given.readable);
        e.script.expectBox("is not valid in this system's encoding of file names", 52);
        QCOMPARE(e.docs.document().kind, DocumentKind::None);  // so no Save can make a second file
    }

    void homeFromTheUserDatabase()
    {
        const QByteArray home = qgetenv("HOME");
        qunsetenv("HOME");
        UserHome::ensure();
        const QByteArray found = qgetenv("HOME");
        qputenv("HOME", home);
        QCOMPARE(found, QByteArray(getpwuid(getuid())->pw_dir));
    }
#endif

};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
