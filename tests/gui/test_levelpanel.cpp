// The Level panel: row visibility, fixed rows, what marks the document changed, one-line value boxes.

#include "editor/episodepanel.h"
#include "editor/documentcontroller.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"
#include "core/settings.h"
#include "tests/support/testsupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QFileInfo>
#include <QDir>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestLevelPanel : public QObject
{
    Q_OBJECT

private slots:
    void includeBoxesShowAndHideTheirValue_data()
    {
        QTest::addColumn<QString>("include");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("Loading Model") << "loadingModelInclude" << QStringList{"loadingModelEdit"};
        QTest::newRow("Model Anim") << "modelAnimInclude" << QStringList{"modelAnimEdit"};
        QTest::newRow("Model Rotate") << "modelRotateInclude" << QStringList{"rotateChoice"};
        QTest::newRow("Model Distance") << "modelDistanceInclude" << QStringList{"modelDistanceEdit", "metersLabel"};
        QTest::newRow("Model Name") << "modelNameInclude" << QStringList{"modelNameEdit"};
        QTest::newRow("Loading Screen") << "loadingScreenInclude" << QStringList{"loadingScreenEdit"};
        QTest::newRow("Episode Movie") << "episodeMovieInclude" << QStringList{"episodeMovieEdit"};
        QTest::newRow("Intro Movie") << "introMovieInclude" << QStringList{"introMovieEdit"};
        QTest::newRow("Outro Movie") << "outroMovieInclude" << QStringList{"outroMovieEdit"};
    }

    void includeBoxesShowAndHideTheirValue()
    {
        QFETCH(QString, include);
        QFETCH(QStringList, controls);
        LevelPanel panel;
        panel.setFields(LevelFields::newDocument());
        if (auto *edit = panel.findChild<QLineEdit *>(controls[0]))
            edit->setText("kept");
        auto *box = control<QCheckBox>(&panel, include);
        QVERIFY(box && box->isEnabled());

        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        QCOMPARE(box->checkState(), Qt::Unchecked);
        for (const QString &name : controls)
            QVERIFY2(!panel.findChild<QWidget *>(name)->isVisibleTo(&panel), qPrintable(name));
        // Browse buttons and captions stay.
        for (auto *button : panel.findChildren<QPushButton *>())
            QVERIFY(button->isVisibleTo(&panel));
        QVERIFY(box->isVisibleTo(&panel));

        box->setChecked(true);
        for (const QString &name : controls)
            QVERIFY(panel.findChild<QWidget *>(name)->isVisibleTo(&panel));
        if (auto *edit = panel.findChild<QLineEdit *>(controls[0]))
            QCOMPARE(edit->text(), QString("kept"));
    }

    void fixedRowsCannotBeChanged()
    {
        LevelPanel panel;
        for (LevelRow row : {LevelRow::Name, LevelRow::MapType, LevelRow::Thumbnail, LevelRow::Eta, LevelRow::Locked}) {
            QCheckBox *box = panel.includeBox(row);
            QVERIFY(!box->isEnabled());
            QVERIFY(box->isChecked());
        }
        EpisodePanel episode;
        for (QCheckBox *box : episode.findChildren<QCheckBox *>())
            QVERIFY(!box->isEnabled() && box->isChecked());
    }

    void everyEditMarksTheDocumentChanged_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("text box") << "modelNameEdit";
        QTest::newRow("ETA") << "etaMinutesEdit";
        QTest::newRow("game mode") << "deathmatchBox";
        QTest::newRow("rotate option") << "rotateNoOption";
        QTest::newRow("locked option") << "lockedNoOption";
        QTest::newRow("include box") << "modelNameInclude";
    }

    void everyEditMarksTheDocumentChanged()
    {
        QFETCH(QString, control);
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.form.show();
        for (const char *eta : {"etaHoursEdit", "etaMinutesEdit", "etaSecondsEdit"})
            ::control<QLineEdit>(e.docs.panel<LevelPanel>(), eta)->clear();
        e.docs.setModified(false);
        QWidget *widget = ::control(e.docs.panel<LevelPanel>(), control);
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            QTest::keyClicks(edit, "7");
        else
            QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, widget->height() / 2));
        QVERIFY(e.docs.document().modified);
    }

    void valueBoxesTakeOneLine_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("how");  // "paste" or "input method"
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("value");
        QTest::newRow("pasted LF at the end") << "levelPanel/nameEdit" << "paste" << "Models/Ship.mdl\n" << "Models/Ship.mdl";
        QTest::newRow("pasted lines keep their words apart") << "levelPanel/nameEdit" << "paste"
                                                             << "Line one\nLine two" << "Line one Line two";
        QTest::newRow("pasted CR LF") << "levelPanel/loadingScreenEdit" << "paste" << "a\r\nb" << "a b";
        QTest::newRow("pasted CR, and one at the start") << "episodePanel/thumbnailEdit" << "paste" << "\ra\rb" << "a b";
        QTest::newRow("pasted line separator") << "episodePanel/nameEdit" << "paste" << QString("a\u2028b") << "a b";
        QTest::newRow("a run of breaks and blanks: no second blank") << "episodePanel/nameEdit" << "paste"
                                                                    << "a \r\n\r\n b\r\n\r\n" << "a  b";
        QTest::newRow("typed paragraph separator") << "levelPanel/modelDistanceEdit" << "input method" << QString("1\u20290") << "1 0";
        QTest::newRow("ETA: two characters, then the break goes") << "levelPanel/etaHoursEdit" << "paste" << "1\n2\n3" << "1";
    }

    void valueBoxesTakeOneLine()
    {
        QFETCH(QString, control);
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, value);
        EditorWindow e;
        e.docs.newDocument(control.startsWith("episode") ? DocumentKind::EpisodeNfo : DocumentKind::LevelNfo);
        e.form.show();
        auto *box = ::control<QLineEdit>(&e.form, control);
        QVERIFY(box);
        box->clear();
        box->setFocus();
        if (how == "paste") {
            QGuiApplication::clipboard()->setText(input);
            QTest::keySequence(box, QKeySequence::Paste);
        } else {
            QInputMethodEvent typed;
            typed.setCommitString(input);
            QApplication::sendEvent(box, &typed);
        }
        QCOMPARE(box->text(), value);
        QCOMPARE(box->cursorPosition(), int(value.size()));
    }

    // Clicks down the Include column, each aimed where its row was before any click, land on their
    // own rows: a row left out keeps its height, and no row below it moves.
    void rowsKeepTheirPlace()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.form));
        auto *panel = e.docs.panel<LevelPanel>();
        QList<QCheckBox *> boxes;
        QList<QPoint> aimed;  // in the window, where each box is before the first click
        QList<int> tops;
        for (const LevelRowInfo &row : LevelNfo::rows()) {
            QCheckBox *box = panel->includeBox(row.row);
            tops.append(box->mapTo(&e.form, QPoint()).y());
            if (row.optional) {
                boxes.append(box);
                aimed.append(box->mapTo(&e.form, QPoint(6, box->height() / 2)));
            }
        }
        for (qsizetype i = 0; i < boxes.size(); ++i) {
            QWidget *hit = e.form.childAt(aimed[i]);
            QVERIFY2(hit == boxes[i], qPrintable(boxes[i]->objectName() + " missed: " + (hit ? hit->objectName() : "nothing")));
            QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&e.form, aimed[i]));
            QCOMPARE(boxes[i]->checkState(), Qt::Unchecked);
            QTest::qWait(20);  // the layout settles before the next click, as between a user's clicks
        }
        QList<int> after;
        for (const LevelRowInfo &row : LevelNfo::rows())
            after.append(panel->includeBox(row.row)->mapTo(&e.form, QPoint()).y());
        QCOMPARE(after, tops);
        e.docs.setModified(false);
    }

    // Browsing on a row left out asks for its value: the file chosen is entered and the row
    // included again, and the document is changed as by a click.
    void browsingIncludesTheRow()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.form.show();
        auto *panel = e.docs.panel<LevelPanel>();
        QCheckBox *include = panel->includeBox(LevelRow::LoadingModel);
        QTest::mouseClick(include, Qt::LeftButton, {}, QPoint(6, include->height() / 2));
        QVERIFY(!panel->valueEdit(LevelRow::LoadingModel)->isVisible());
        e.docs.setModified(false);
        e.script.choose(e.file("Models/Ship.mdl"));
        QTest::mouseClick(::control<QPushButton>(&e.form, "levelPanel/loadingModelBrowse"), Qt::LeftButton);
        e.script.takeFileDialogs();
        QCOMPARE(include->checkState(), Qt::Checked);
        QVERIFY(panel->valueEdit(LevelRow::LoadingModel)->isVisible());
        QCOMPARE(panel->valueEdit(LevelRow::LoadingModel)->text(), QDir::toNativeSeparators(e.file("Models/Ship.mdl")));
        QVERIFY(e.docs.document().modified);
        e.docs.setModified(false);
    }

    // The ETA boxes are typed as one value: a box taken by a click or by Tab has its digits
    // selected, so typing replaces them; the second digit goes on to the next box; a whole ETA
    // pasted into a box fills all three. Alt+E reaches the first box.
    void etaIsTypedAsOneValue()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        e.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&e.form));
        auto *hours = ::control<QLineEdit>(&e.form, "etaHoursEdit");
        auto *minutes = ::control<QLineEdit>(&e.form, "etaMinutesEdit");
        auto *seconds = ::control<QLineEdit>(&e.form, "etaSecondsEdit");
        QTest::mouseClick(minutes, Qt::LeftButton, {}, QPoint(minutes->width() - 4, minutes->height() / 2));
        QTRY_COMPARE(minutes->selectedText(), QString("00"));
        QTest::keyClicks(minutes, "25");
        QCOMPARE(minutes->text(), QString("25"));
        QCOMPARE(QApplication::focusWidget(), seconds);
        QTRY_COMPARE(seconds->selectedText(), QString("00"));
        QTest::keyClicks(seconds, "3");
        QCOMPARE(seconds->text(), QString("3"));
        QCOMPARE(QApplication::focusWidget(), seconds);  // one digit: it stays for the next
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), hours);
        QTRY_COMPARE(hours->selectedText(), QString("00"));
        QGuiApplication::clipboard()->setText(" 01:02:03 ");
        QTest::keySequence(hours, QKeySequence::Paste);
        QCOMPARE(hours->text() + ":" + minutes->text() + ":" + seconds->text(), QString("01:02:03"));
        QCOMPARE(LevelNfo::generate(e.docs.panel<LevelPanel>()->fields()).contains("ETA=\"01:02:03\""), true);
        // Anything else pasted is typed as it always was, two characters at most.
        QGuiApplication::clipboard()->setText("4567");
        hours->selectAll();
        QTest::keySequence(hours, QKeySequence::Paste);
        QCOMPARE(hours->text(), QString("45"));
        e.docs.setModified(false);
    }

    // An asset field completes from the files of its kind under the mod and the game folders, as
    // the author types: any part of the path, any letter case; Enter takes it as browsing would.
    void assetFieldsComplete()
    {
        EditorWindow e;
        for (const char *file : {"Mod/Models/Ra.mdl", "Mod/Models/Ships/Barge.MDL", "Mod/Textures/Ra.tex", "Game/Models/Anubis.mdl"}) {
            QDir().mkpath(QFileInfo(e.file(file)).absolutePath());
            writeBytes(e.file(file), "");
        }
        QDir().mkpath(e.file("Mod/Levels"));
        writeBytes(e.file("Mod/Levels/Temple.nfo"), "LEVEL\r\nNAME=\"Temple\"\r\n");
        Settings::write(Settings::GameFolder, e.file("Game") + QDir::separator());
        e.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&e.form));
        e.docs.openFile(e.file("Mod/Levels/Temple.nfo"));
        auto *panel = e.docs.panel<LevelPanel>();
        QLineEdit *model = panel->valueEdit(LevelRow::LoadingModel);
        panel->includeBox(LevelRow::LoadingModel)->setChecked(true);
        QTest::qWait(50);
        QCOMPARE(model->completer()->model()->rowCount(), 0);  // not made at the open, but
        model->setFocus();
        QTRY_COMPARE(model->completer()->model()->rowCount(), 3);  // once a field is used, behind the window
        QTest::keyClicks(model, "RA");
        QTRY_VERIFY(model->completer()->popup()->isVisible());
        QCOMPARE(model->completer()->completionCount(), 1);
        e.docs.setModified(false);
        QTest::keyClick(model->completer()->popup(), Qt::Key_Return);  // the one offered, unchosen
        QCOMPARE(model->text(), QString("Models\\Ra.mdl"));
        QVERIFY(e.docs.document().modified);
        QVERIFY(!model->completer()->popup()->isVisible());
        // Any part of the path: a subfolder's name, a game file's.
        const QList<std::pair<QString, QString>> parts{{"ships", "Models\\Ships\\Barge.MDL"}, {"anu", "Models\\Anubis.mdl"}};
        for (const auto &[typed, offered] : parts) {
            model->clear();
            QTest::keyClicks(model, typed);
            QTRY_COMPARE(model->completer()->currentCompletion(), offered);
            QCOMPARE(model->completer()->completionCount(), 1);
        }
        // The texture fields offer textures only.
        QLineEdit *screen = panel->valueEdit(LevelRow::LoadingScreen);
        panel->includeBox(LevelRow::LoadingScreen)->setChecked(true);
        QCOMPARE(screen->completer()->model()->rowCount(), 1);
        // A new document completes from the mod worked on last, before it is saved there.
        e.docs.setModified(false);
        e.docs.newDocument(DocumentKind::LevelNfo);
        panel->valueEdit(LevelRow::LoadingModel)->setFocus();
        QTRY_COMPARE(panel->valueEdit(LevelRow::LoadingModel)->completer()->model()->rowCount(), 3);
        e.docs.setModified(false);
    }
};

QTEST_MAIN(TestLevelPanel)
#include "test_levelpanel.moc"
