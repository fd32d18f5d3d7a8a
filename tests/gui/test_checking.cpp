// Checking while editing: the fields show what the mod check finds in what Save would write, they
// follow typing, and the Problems pane leads to them; all through the real window and keys.

#include "core/codepage.h"
#include "editor/descriptionpanel.h"
#include "editor/documentcontroller.h"
#include "editor/levelpanel.h"
#include "editor/mainwindow.h"
#include "tests/support/testsupport.h"
#include "ui/modcheckpane.h"
#include "ui/problemspane.h"
#include "ui/singlelineedit.h"

#include "core/settings.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QMimeData>
#include <QUrl>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString MinutesOver = "ETA '00:75:00' has minutes over 59";
const QString Absolute = "'C:\\Games\\Set.tex' is an absolute path, which the game cannot resolve: give it relative "
                         "to the game folder";

// The Problems pane's columns: severity, line, field, fix, text.
constexpr int ProblemText = 4;

// The finding texts the pane lists, in its order.
QStringList listed(ProblemsPane *pane)
{
    QStringList texts;
    for (int i = 0; i < pane->list()->topLevelItemCount(); ++i)
        texts.append(pane->list()->topLevelItem(i)->text(ProblemText));
    return texts;
}

// Whether the line edit shows its in-field mark.
bool markedInside(QLineEdit *edit)
{
    for (QAction *action : edit->actions()) {
        if (action->objectName() == edit->objectName() + "Mark")
            return action->isVisible();
    }
    return false;
}

} // namespace

class TestChecking : public QObject
{
    Q_OBJECT

private slots:
    void fieldsFollowTheCheck()
    {
        EditorWindow e;
        const QString path = e.file("Temple.nfo");
        QDir().mkpath(e.file("Textures"));
        writeBytes(e.file("Textures/Temple.tex"), "");
        writeBytes(path, "LEVEL\r\nNAME=\"Temple\"\r\nMAP_TYPE=\"SINGLE;\"\r\nLOADING_SCREEN=\"C:\\Games\\Set.tex\"\r\n"
                         "THUMBNAIL=\"Textures\\Temple.tex\"\r\nETA=\"00:75:00\"\r\nLOCKED=\"NO\"\r\n");
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        e.docs.openFile(path);
        auto *panel = e.docs.panel<LevelPanel>();
        QLineEdit *screen = panel->valueEdit(LevelRow::LoadingScreen);
        auto *minutes = control<QLineEdit>(panel, "etaMinutesEdit");
        ProblemsPane *pane = e.form.problemsPane();

        // On open: the error in the field, the warning beside the ETA boxes, both in the pane.
        QTRY_COMPARE(screen->accessibleDescription(), Absolute);
        QVERIFY(markedInside(screen));
        QCOMPARE(shownToolTip(screen->toolTip()), Absolute);
        // As a screen reader gets it: the row's caption, then the finding.
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(screen);
        QCOMPARE(read->text(QAccessible::Name), QString("Loading Screen"));
        QCOMPARE(read->text(QAccessible::Description), Absolute);
        QCOMPARE(minutes->accessibleDescription(), MinutesOver);
        QVERIFY(control<QLabel>(panel, "etaBoxesMark")->isVisible());
        QCOMPARE(listed(pane), (QStringList{Absolute, MinutesOver}));
        QCOMPARE(pane->summary()->text(), QString("1 error, 1 warning in this document."));

        // Mended with real keys: the mark goes, and goes from the pane.
        minutes->setFocus();
        QTest::keyClick(minutes, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(minutes, "30");
        QTRY_COMPARE(minutes->accessibleDescription(), QString());
        QVERIFY(!control<QLabel>(panel, "etaBoxesMark")->isVisible());
        QCOMPARE(listed(pane), QStringList{Absolute});

        // A value Save would refuse is one error at its field, before any Save.
        QLineEdit *name = panel->valueEdit(LevelRow::Name);
        name->setFocus();
        QTest::keyClicks(name, "\"");
        const QString quote = "The value of 'Name' contains a double quote (\"), which an NFO file cannot hold. "
                              "Remove it and save again.";
        QTRY_COMPARE(name->accessibleDescription(), quote);
        QCOMPARE(listed(pane), (QStringList{quote, Absolute}));
        QCOMPARE(pane->list()->topLevelItem(0)->text(1), QString("2"));  // the line it would be written on
        QCOMPARE(pane->list()->topLevelItem(0)->text(2), QString("Name"));
        QTest::keyClick(name, Qt::Key_Backspace);
        QTRY_VERIFY(!markedInside(name));

        // The pane leads to the field: Enter on a finding puts the focus there.
        pane->list()->setFocus();
        pane->list()->setCurrentItem(pane->list()->topLevelItem(0));
        QTest::keyClick(pane->list(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), screen);
        e.docs.setModified(false);
    }

    // An asset file dropped on its field is entered as the browse button enters it; a file of
    // another kind is not taken.
    // Values and names that hold markup are shown as written wherever they appear: the fields'
    // marks and tooltips, the accessible texts, both panes' cells and tooltips, the status row.
    // (Qt would take such a text as HTML: draw a heading over the real findings, load the files
    // an <img> names, and a pipe or /dev/zero there would hang or end the editor.)
    void markupIsShownAsWritten_data()
    {
        QTest::addColumn<QString>("value");  // of MODEL_DISTANCE, LOADING_MODEL and the folder's name
        QTest::newRow("a heading that hides the findings") << "<h1>No problems found</h1><!--";
        QTest::newRow("a picture of the machine's own") << "<img src=/dev/zero>";
        QTest::newRow("a link") << "<a href=file:///etc>x</a>";
    }

    void markupIsShownAsWritten()
    {
        QFETCH(QString, value);
        EditorWindow e;
        e.script.allowRealDialogs = true;  // the mod check's pane
#ifdef Q_OS_WIN
        const QString folderName = "mod";  // Windows' names hold no "<" or ">"
#else
        const QString folderName = QString(value).replace('/', '|');  // a name cannot hold "/"
#endif
        const QString path = e.file(folderName + "/Temple.nfo");
        writeBytes(path, ("LEVEL\r\nNAME=\"Temple\"\r\nMAP_TYPE=\"SINGLE;\"\r\nLOADING_MODEL=\"" + value
                          + "\"\r\nMODEL_DISTANCE=\"" + value + "\"\r\nTHUMBNAIL=\"\"\r\nETA=\"00:00:00\"\r\n"
                            "LOCKED=\"NO\"\r\n").toUtf8());
        e.form.show();
        e.docs.openFile(path);
        QTRY_VERIFY(!e.docs.liveCheck().isPending());
        auto *panel = e.docs.panel<LevelPanel>();
        QStringList places;  // where the value did not come back as written
        const auto expect = [&places, &value](const QString &place, const QString &shown) {
            if (!shown.contains(value))
                places.append(place + ": " + shown);
        };
        for (LevelRow row : {LevelRow::LoadingModel, LevelRow::ModelDistance}) {
            QLineEdit *edit = panel->valueEdit(row);
            expect(edit->objectName() + " tooltip", shownToolTip(edit->toolTip()));
            expect(edit->objectName() + " accessible description", edit->accessibleDescription());
            for (QAction *action : edit->actions())
                expect(action->objectName() + " tooltip", shownToolTip(action->toolTip()));
            if (auto *beside = control<QLabel>(panel, edit->objectName() + "Mark")) {
                expect(beside->objectName() + " tooltip", shownToolTip(beside->toolTip()));
                expect(beside->objectName() + " accessible description", beside->accessibleDescription());
            }
        }
        QTreeWidget *problems = e.form.problemsPane()->list();
        QVERIFY(problems->topLevelItemCount() >= 2);
        for (int i = 0; i < problems->topLevelItemCount(); ++i) {
            if (problems->topLevelItem(i)->text(2) == "Model Distance") {
                expect("Problems text", problems->topLevelItem(i)->text(ProblemText));
                expect("Problems tooltip", shownToolTip(problems->topLevelItem(i)->toolTip(ProblemText)));
            }
        }
        auto *status = control<QLabel>(&e.form, "statusLabel");
        QCOMPARE(status->textFormat(), Qt::PlainText);
        const QString folderShown = QDir::toNativeSeparators(e.file(folderName));
        if (!status->text().contains(folderShown) || !shownToolTip(status->toolTip()).contains(folderShown))
            places.append("status row: " + status->text());

        ModCheckPane *check = e.form.modCheckPane();
        check->check(e.file({}));
        QTRY_VERIFY(!check->isChecking());
        auto *findings = control<QTreeWidget>(check, "findingsList");
        QVERIFY(findings->topLevelItemCount() >= 2);
        for (int i = 0; i < findings->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = findings->topLevelItem(i);
            if (!item->text(0).contains(folderName) || !shownToolTip(item->toolTip(0)).contains(folderName))
                places.append("Mod check file: " + item->text(0));
            if (item->text(3).contains("MODEL_DISTANCE")) {
                expect("Mod check finding", item->text(3));
                expect("Mod check finding tooltip", shownToolTip(item->toolTip(3)));
            }
        }
        QVERIFY2(places.isEmpty(), qPrintable(places.join("\n")));
        e.docs.setModified(false);
    }

    // A right-to-left override in a name shows as a visible mark, so "readme\u202etxt.nfo" does
    // not pass for "readmeofn.txt": on the status row, in the title and in the Mod check pane.
    void lineReorderingCharactersAreVisible()
    {
        EditorWindow e;
        e.script.allowRealDialogs = true;
        const QString path = e.file(QString("mod/readme") + QChar(0x202E) + "txt.nfo");
        writeBytes(path, "EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n");
        e.form.show();
        e.docs.openFile(path);
        const QString mark = "readme\\u202etxt.nfo";
        QVERIFY2(e.statusText().contains(mark), qPrintable(e.statusText()));
        QCOMPARE(e.form.windowTitle(), "Brisquel - " + mark + " (Episode NFO)");
        ModCheckPane *check = e.form.modCheckPane();
        check->check(e.file("mod"));
        QTRY_VERIFY(!check->isChecking());
        QTreeWidgetItem *item = control<QTreeWidget>(check, "findingsList")->topLevelItem(0);
        QVERIFY(item);
        QCOMPARE(item->text(0), mark);
        QVERIFY(!item->text(3).contains(QChar(0x202E)));
    }

    // A value far longer than any game path (a damaged or hostile file) is kept whole for Save
    // and shown cut and read-only, so that no key or paint lays out millions of characters; its
    // findings are cut too, and it is checked behind the window. A browsed asset replaces it.
    void valuesTooLongToEditAreKeptWhole()
    {
        EditorWindow e;
        const QString path = e.file("Long.nfo");
        const QByteArray value(SingleLineEdit::LongestEditable * 50, 'x');
        const QByteArray content = "LEVEL\r\nNAME=\"n\"\r\nMAP_TYPE=\"SINGLE;\"\r\nLOADING_MODEL=\"" + value
                                   + "\"\r\nTHUMBNAIL=\"\"\r\nETA=\"00:00:00\"\r\nLOCKED=\"NO\"\r\n";
        writeBytes(path, content);
        e.form.show();
        e.docs.openFile(path);
        auto *panel = e.docs.panel<LevelPanel>();
        QLineEdit *model = panel->valueEdit(LevelRow::LoadingModel);
        QVERIFY(model->isReadOnly());
        QVERIFY(model->text().size() <= 201 && model->text().endsWith(QChar(0x2026)));
        QTRY_VERIFY(markedInside(model));
        QVERIFY(model->toolTip().size() < 3000);
        QVERIFY(e.form.problemsPane()->list()->topLevelItem(0)->text(ProblemText).size() <= 301);
        e.docs.setModified(true);
        QCOMPARE(e.docs.save(), DocumentController::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(path), content);
        model->setText("Models\\Ship.mdl");  // as browsing enters it
        QVERIFY(!model->isReadOnly());
        QCOMPARE(SingleLineEdit::value(model), QString("Models\\Ship.mdl"));
        e.docs.setModified(false);
    }

    // A character the code page cannot hold, typed into a description: one error, at its line,
    // and no warning about the byte an encoder would put in its place.
    void unstorableCharacterHasItsLineAndNoMadeUpFinding()
    {
        EditorWindow e;
        e.form.show();
        e.docs.newDocument(DocumentKind::Description);
        auto *text = e.docs.panel<DescriptionPanel>()->textEdit;
        text->setFocus();
        QTest::keyClicks(text, "First line");
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "Second");
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "Omega ");
        QKeyEvent omega(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x03C9)));  // as a Greek layout types it
        QApplication::sendEvent(text, &omega);
        QTRY_COMPARE(e.form.problemsPane()->list()->topLevelItemCount(), 1);
        QTRY_VERIFY(!e.docs.liveCheck().isPending());
        QTreeWidgetItem *item = e.form.problemsPane()->list()->topLevelItem(0);
        QCOMPARE(e.form.problemsPane()->list()->topLevelItemCount(), 1);
        QCOMPARE(item->text(0), QString("Error"));
        QCOMPARE(item->text(1), QString("3"));
        QVERIFY2(item->text(ProblemText).startsWith(QString("The description contains the character '") + QChar(0x03C9)),
                 qPrintable(item->text(ProblemText)));
        e.docs.setModified(false);
    }

    void droppedAssetFiles_data()
    {
        QTest::addColumn<QString>("dropped");  // a file under the game folder ("/" at the end: a folder)
        QTest::addColumn<QString>("entered");
        QTest::newRow("a model on its field") << "Models/Ship.mdl" << "Models\\Ship.mdl";
        QTest::newRow("a texture on a model's field: the window's drop") << "Textures/Thumb.tex" << "";
        // Only a plain file named exactly as the field can hold it.
        QTest::newRow("a folder named like a model") << "Models/Fleet.mdl/" << "";
#ifdef Q_OS_UNIX
        QTest::newRow("a name with a line break") << "Models/Two\nLines.mdl" << "";
#endif
    }

    void droppedAssetFiles()
    {
        QFETCH(QString, dropped);
        QFETCH(QString, entered);
        EditorWindow e;
        const QString game = e.file("SS2");
        Settings::write(Settings::GameFolder, game + QDir::separator());
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        QLineEdit *field = e.docs.panel<LevelPanel>()->valueEdit(LevelRow::LoadingModel);
        if (dropped.endsWith('/'))
            QDir().mkpath(game + "/" + dropped);
        else
            writeBytes(game + "/" + dropped, "");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(game + "/" + QString(dropped).remove(QRegularExpression("/$")))});
        const QPoint at = field->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        QCOMPARE(field->text(), entered);
        if (entered.isEmpty())  // the window took it as a file to open
            QTRY_VERIFY(e.statusText().endsWith("is not a .nfo or .dsc file: Brisquel opens only those"));
        e.docs.setModified(false);
    }

    // Alt and the underlined letter of a row's caption put the focus on its field; a hidden field's
    // row gets its Include box instead. The menu bar keeps Alt+F, Alt+O and Alt+H.
    void accessKeysReachTheFields_data()
    {
        QTest::addColumn<DocumentKind>("kind");
        QTest::addColumn<bool>("excludeModelAnim");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focused");
        QTest::newRow("Name") << DocumentKind::LevelNfo << false << int(Qt::Key_N) << "nameEdit";
        QTest::newRow("Model Distance") << DocumentKind::LevelNfo << false << int(Qt::Key_I) << "modelDistanceEdit";
        QTest::newRow("ETA: its hours") << DocumentKind::LevelNfo << false << int(Qt::Key_E) << "etaHoursEdit";
        QTest::newRow("Model Rotate: its Yes") << DocumentKind::LevelNfo << false << int(Qt::Key_R) << "rotateYesOption";
        QTest::newRow("Intro Movie") << DocumentKind::LevelNfo << false << int(Qt::Key_V) << "introMovieEdit";
        QTest::newRow("Locked?: its Yes") << DocumentKind::LevelNfo << false << int(Qt::Key_C) << "lockedYesOption";
        QTest::newRow("Model Anim") << DocumentKind::LevelNfo << false << int(Qt::Key_D) << "modelAnimEdit";
        QTest::newRow("Model Anim excluded") << DocumentKind::LevelNfo << true << int(Qt::Key_D) << "modelAnimInclude";
        QTest::newRow("Episode Thumbnail") << DocumentKind::EpisodeNfo << false << int(Qt::Key_T) << "thumbnailEdit";
        QTest::newRow("Description") << DocumentKind::Description << false << int(Qt::Key_D) << "textEdit";
        QTest::newRow("File menu") << DocumentKind::LevelNfo << false << int(Qt::Key_F) << "fileMenu";
    }

    void accessKeysReachTheFields()
    {
        QFETCH(DocumentKind, kind);
        QFETCH(bool, excludeModelAnim);
        QFETCH(int, key);
        QFETCH(QString, focused);
        EditorWindow e;
        e.docs.newDocument(kind);
        e.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&e.form));
        if (excludeModelAnim)
            e.docs.panel<LevelPanel>()->includeBox(LevelRow::ModelAnimation)->click();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
        if (focused == "fileMenu") {
            QTRY_VERIFY(QApplication::activePopupWidget());
            QCOMPARE(QApplication::activePopupWidget()->objectName(), focused);
            QApplication::activePopupWidget()->close();
        } else {
            QCOMPARE(QApplication::focusWidget()->objectName(), focused);
        }
        e.docs.setModified(false);
    }

    void descriptionsAndNewDocuments_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // of a description opened; none: a new Episode NFO
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("a control character marks the text box")
            << QByteArray("Line one\r\nA bell \x07 here\r\n") << "textEdit" << "control character 0x07 in the text";
        QTest::newRow("UTF-8 from another editor")
            << QByteArray("Caf\xc3\xa9\r\n") << "textEdit"
            << QString::fromUtf8("'Ã©' looks like UTF-8 text: the game reads the file in %1 and shows 'Ã©' as it "
                                 "stands here, not 'é'").arg(CodePage::name());
        QTest::newRow("a new Episode asks for its name")
            << QByteArray() << "nameEdit" << "NAME is empty: the game lists it without a name";
    }

    void descriptionsAndNewDocuments()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QString, text);
        EditorWindow e;
        if (bytes.isEmpty()) {
            e.docs.newDocument(DocumentKind::EpisodeNfo);
        } else {
            writeBytes(e.file("Mod.dsc"), bytes);
            e.docs.openFile(e.file("Mod.dsc"));
        }
        QWidget *shown = control(&e.form, field);
        QTRY_COMPARE(shown->accessibleDescription(), text);
        // A new Episode has no thumbnail yet either.
        QCOMPARE(listed(e.form.problemsPane()),
                 QStringList{text} + (bytes.isEmpty() ? QStringList{"THUMBNAIL is empty: the game lists it without a picture"}
                                                      : QStringList()));
    }
};

QTEST_MAIN(TestChecking)
#include "test_checking.moc"
