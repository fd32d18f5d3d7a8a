// Fixes in the window: Ctrl+. and the context menu at a marked field, the Problems pane's Fix and
// Fix All, and the Mod check pane's Fix All; each as typing would change the document, through
// real keys and clicks.

#include "editor/descriptionpanel.h"
#include "editor/documentcontroller.h"
#include "editor/episodepanel.h"
#include "editor/levelpanel.h"
#include "editor/mainwindow.h"
#include "tests/support/testsupport.h"
#include "ui/modcheckpane.h"
#include "ui/problemspane.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

// What a field shows: a text box's text, the three ETA boxes as one ETA, a description's text.
QString shownValue(QWidget *field)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        return edit->text();
    if (auto *text = qobject_cast<QPlainTextEdit *>(field))
        return text->toPlainText();
    const QList<QLineEdit *> parts = field->findChildren<QLineEdit *>();
    QStringList values;
    for (QLineEdit *part : parts)
        values.append(part->text());
    return values.join(':');
}

// Opens the context menu of `widget` as the right mouse button does, and chooses the entry named
// `action` in it.
void chooseFromContextMenu(QWidget *widget, const QString &action)
{
    QString chosen;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *entry : menu->actions()) {
            if (entry->objectName() == action) {
                chosen = entry->text();
                menu->setActiveAction(entry);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
    });
    // A text box's menu is asked for by its viewport, where the click lands.
    auto *area = qobject_cast<QAbstractScrollArea *>(widget);
    QWidget *target = area ? area->viewport() : widget;
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), target->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(target, &event);
    QVERIFY2(!chosen.isEmpty(), qPrintable(action));
}

} // namespace

class TestQuickFixes : public QObject
{
    Q_OBJECT

private slots:
    // A marked field mended where the author is: by Ctrl+. or its context menu. The document is
    // changed but not written, the mark goes, and Undo in the field takes the fix back.
    void fieldFixes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("field");  // the control that has the focus
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("mended");
        const QByteArray level = "LEVEL\r\nNAME=\"Temple\"\r\nMAP_TYPE=\"SINGLE;\"\r\nLOADING_SCREEN=\"Textures/Thumb.tex\"\r\n"
                                 "THUMBNAIL=\"Textures\\Thumb.tex\"\r\nETA=\"00:75:00\"\r\nLOCKED=\"NO\"\r\n";
        QTest::newRow("separators, Ctrl+.") << "Temple.nfo" << level << "loadingScreenEdit" << "key" << "Textures\\Thumb.tex";
        QTest::newRow("separators, the field's menu") << "Temple.nfo" << level << "loadingScreenEdit" << "menu"
                                                     << "Textures\\Thumb.tex";
        QTest::newRow("a suggestion: the ETA carried over") << "Temple.nfo" << level << "etaMinutesEdit" << "key" << "01:15:00";
        QTest::newRow("UTF-8 in an Episode's name") << "Road.nfo" << QByteArray("EPISODE\r\nNAME=\"Caf\xc3\xa9 Road\"\r\nTHUMBNAIL=\"Textures\\Thumb.tex\"\r\n")
                                                    << "nameEdit" << "key" << QString::fromUtf8("Caf\xc3\xa9 Road");
        QTest::newRow("a control character, the text's menu") << "Road.dsc" << QByteArray("Ring\x07 the bell.\r\nTwice.\r\n")
                                                            << "textEdit" << "menu" << "Ring the bell.\nTwice.";
    }

    void fieldFixes()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, field);
        QFETCH(QString, how);
        QFETCH(QString, mended);
        EditorWindow e;
        QDir().mkpath(e.file("Textures"));
        writeBytes(e.file("Textures/Thumb.tex"), "");
        writeBytes(e.file(file), content);
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        e.docs.openFile(e.file(file));
        auto *focused = e.form.findChild<QWidget *>(field);
        QVERIFY(focused);
        focused->setFocus();
        QTRY_VERIFY(!focused->accessibleDescription().isEmpty());
        QTRY_VERIFY(!e.docs.liveCheck().isPending());
        DocumentPanel *panel = nullptr;
        for (QWidget *up = focused; up && !panel; up = up->parentWidget())
            panel = qobject_cast<DocumentPanel *>(up);
        QWidget *value = focused->objectName().startsWith("eta") ? focused->parentWidget() : focused;
        const QString before = shownValue(value);

        if (how == "key")
            QTest::keyClick(focused, Qt::Key_Period, Qt::ControlModifier);
        else
            chooseFromContextMenu(focused, "fixAction");
        QCOMPARE(shownValue(value), mended);
        if (how == "key")
            QCOMPARE(QApplication::focusWidget(), focused);  // the ETA's boxes do not move it on
        QVERIFY(e.docs.document().modified);
        QTRY_COMPARE(focused->accessibleDescription(), QString());
        QCOMPARE(readBytes(e.file(file)), content);  // nothing written until Save

        // Undo in the field takes the fix back (the ETA's boxes each their own part).
        if (!field.startsWith("eta")) {
            QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(shownValue(value), before);
            QTRY_VERIFY(!focused->accessibleDescription().isEmpty());
        }
        e.docs.setModified(false);
    }

    // The Problems pane says which findings have a fix; Ctrl+. on a row applies its fix, and
    // Fix All every safe fix of the document (a new Level NFO's eight empty rows, a path's "/").
    void problemsPaneFixes()
    {
        EditorWindow e;
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        e.docs.newDocument(DocumentKind::LevelNfo);
        auto *panel = e.docs.panel<LevelPanel>();
        ProblemsPane *pane = e.form.problemsPane();
        QTreeWidget *list = pane->list();
        QTRY_COMPARE(list->topLevelItemCount(), 11);  // eight empty rows, no name, no thumbnail, no mode
        QCOMPARE(list->findItems("Safe", Qt::MatchExactly, 3).size(), 8);
        QVERIFY(pane->fixAllButton()->isEnabled());

        // The first row with a fix, chosen with the keys and fixed with Ctrl+.: its row is left out.
        list->setFocus();
        QTreeWidgetItem *first = list->findItems("Safe", Qt::MatchExactly, 3).value(0);
        list->setCurrentItem(first);
        QVERIFY(pane->fixButton()->isEnabled());
        const QString caption = first->text(2);
        // Read out as its kind, and what it does.
        QCOMPARE(first->data(3, Qt::AccessibleDescriptionRole).toString(), QString("the empty %1 line is left out")
                                                                              .arg(first->text(4).section(' ', 0, 0)));
        QTest::keyClick(list, Qt::Key_Period, Qt::ControlModifier);
        QTRY_COMPARE(list->findItems("Safe", Qt::MatchExactly, 3).size(), 7);
        QVERIFY(list->findItems(caption, Qt::MatchExactly, 2).isEmpty());

        // A path typed with "/", then Fix All: the path mended, the other empty rows left out.
        QLineEdit *screen = panel->valueEdit(LevelRow::LoadingScreen);
        if (!panel->includeBox(LevelRow::LoadingScreen)->isChecked())
            panel->includeBox(LevelRow::LoadingScreen)->setChecked(true);
        screen->setFocus();
        QTest::keyClicks(screen, "Textures/Sand.tex");
        QTRY_VERIFY(!list->findItems("'Textures/Sand.tex' has '/' separators", Qt::MatchStartsWith, 4).isEmpty());
        QTest::mouseClick(pane->fixAllButton(), Qt::LeftButton);
        QTRY_COMPARE(screen->text(), QString("Textures\\Sand.tex"));
        QTRY_VERIFY(list->findItems("Safe", Qt::MatchExactly, 3).isEmpty());
        QVERIFY(!pane->fixAllButton()->isEnabled());
        int included = 0;
        for (const LevelRowInfo &row : LevelNfo::rows())
            included += row.optional && panel->includeBox(row.row)->isChecked() ? 1 : 0;
        QCOMPARE(included, 2);  // the loading screen, which has its value now, and Model Rotate's NO
        QVERIFY(e.docs.document().modified);
        e.docs.setModified(false);
    }

    // More findings of a rule than a check lists: Fix All goes on in rounds until every one is
    // mended, as one change the author can undo a round at a time.
    void fixAllGoesOnInRounds()
    {
        EditorWindow e;
        writeBytes(e.file("Bells.dsc"), QByteArray("Ring\x07 the bell.\r\n").repeated(45));
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        e.docs.openFile(e.file("Bells.dsc"));
        ProblemsPane *pane = e.form.problemsPane();
        QTRY_VERIFY(pane->fixAllButton()->isEnabled());
        QTest::mouseClick(pane->fixAllButton(), Qt::LeftButton);
        auto *text = e.docs.panel<DescriptionPanel>()->textEdit;
        QTRY_COMPARE(text->toPlainText(), QString("Ring the bell.\n").repeated(45).chopped(1));  // the last line end is the file's
        QTRY_COMPARE(pane->list()->topLevelItemCount(), 0);
        e.docs.setModified(false);
    }

    // The Mod check pane's Fix All: one question (No changes nothing), then every file's safe
    // fixes; the open document, changed and not saved, is mended in the window and never written
    // behind it; a file changed on disk since the check is mended as it is now. Then the check
    // runs again.
    void modCheckFixAll()
    {
        EditorWindow e;
        const QString level = e.file("Mod/Levels/Temple.nfo"), notes = e.file("Mod/Ra.dsc");
        QDir().mkpath(e.file("Mod/Levels"));
        QDir().mkpath(e.file("Mod/Textures"));
        writeBytes(e.file("Mod/Textures/Thumb.tex"), "");
        const QByteArray levelBytes = "LEVEL\r\nNAME=\"Temple\"\r\nMAP_TYPE=\"SINGLE;\"\r\nLOADING_SCREEN=\"Textures/Thumb.tex\"\r\n"
                                      "THUMBNAIL=\"Textures\\Thumb.tex\"\r\nETA=\"00:25:00\"\r\nLOCKED=\"NO\"\r\n";
        writeBytes(level, levelBytes);
        writeBytes(notes, "Ring\x07 the bell.\r\n");
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        e.docs.openFile(level);
        auto *panel = e.docs.panel<LevelPanel>();
        QLineEdit *name = panel->valueEdit(LevelRow::Name);
        name->setFocus();
        QTest::keyClicks(name, " of Ra");  // changed, not saved
        ModCheckPane *check = e.form.modCheckPane();
        check->check(e.file("Mod"));
        QTRY_VERIFY(!check->isChecking());
        auto *fixAll = check->findChild<QPushButton *>("fixAllButton");
        QVERIFY(fixAll->isEnabled());
        // Meanwhile another program writes the description again.
        writeBytes(notes, "Ring\x07 the bell\nand the gong.\n");

        e.script.answer(MessageBox::Answer::No);
        QTest::mouseClick(fixAll, Qt::LeftButton);
        const QList<MessageBox::Request> asked = e.script.takeBoxes();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().buttons, MessageBox::Buttons::YesNoDefaultNo);
        QVERIFY2(asked.first().text.startsWith("Apply 2 safe fixes in 2 files?"), qPrintable(asked.first().text));
        QCOMPARE(name->text(), QString("Temple of Ra"));
        QCOMPARE(panel->valueEdit(LevelRow::LoadingScreen)->text(), QString("Textures/Thumb.tex"));

        e.script.answer(MessageBox::Answer::Yes);
        QTest::mouseClick(fixAll, Qt::LeftButton);
        QCOMPARE(e.script.takeBoxes().size(), 1);
        QTRY_VERIFY(!check->isFixing());
        QTRY_VERIFY(!check->isChecking());
        QCOMPARE(readBytes(notes), QByteArray("Ring the bell\r\nand the gong.\r\n"));
        QCOMPARE(readBytes(level), levelBytes);
        QTRY_COMPARE(panel->valueEdit(LevelRow::LoadingScreen)->text(), QString("Textures\\Thumb.tex"));
        QCOMPARE(name->text(), QString("Temple of Ra"));
        QVERIFY(e.docs.document().modified);
        // Checked again: the description is clean, the Level NFO on disk is still to be saved.
        auto *findings = check->findChild<QTreeWidget *>("findingsList");
        QCOMPARE(findings->findItems("Clean", Qt::MatchExactly, 2).size(), 1);
        QVERIFY(!findings->findItems("'Textures/Thumb.tex' has '/' separators", Qt::MatchStartsWith, 3).isEmpty());
        e.docs.setModified(false);
    }
};

QTEST_MAIN(TestQuickFixes)
#include "test_quickfixes.moc"
