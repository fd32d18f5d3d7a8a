// The Level panel: row visibility, fixed rows, what marks the document changed, one-line value boxes.

#include "editor/episodepanel.h"
#include "editor/documentcontroller.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"
#include "tests/support/testsupport.h"

#include <QCheckBox>
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
};

QTEST_MAIN(TestLevelPanel)
#include "test_levelpanel.moc"
