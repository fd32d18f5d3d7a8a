// The Level and Episode panels: row visibility, the reset of a new document, the dirty rule.

#include "editor/episodepanel.h"
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
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("Loading Model") << 2 << QStringList{"valueEdits_1"};
        QTest::newRow("Model Anim") << 3 << QStringList{"valueEdits_2"};
        QTest::newRow("Model Rotate") << 4 << QStringList{"rotateChoice"};
        QTest::newRow("Model Distance") << 5 << QStringList{"valueEdits_3", "metersLabel"};
        QTest::newRow("Model Name") << 6 << QStringList{"valueEdits_4"};
        QTest::newRow("Loading Screen") << 7 << QStringList{"valueEdits_5"};
        QTest::newRow("Episode Movie") << 10 << QStringList{"valueEdits_7"};
        QTest::newRow("Intro Movie") << 11 << QStringList{"valueEdits_8"};
        QTest::newRow("Outro Movie") << 12 << QStringList{"valueEdits_9"};
    }

    void includeBoxesShowAndHideTheirValue()
    {
        QFETCH(int, row);
        QFETCH(QStringList, controls);
        LevelPanel panel;
        panel.resetToNewDocument();
        if (auto *box = panel.findChild<QLineEdit *>(controls[0]))
            box->setText("kept");
        auto *include = panel.findChild<QCheckBox *>(QStringLiteral("includeBoxes_%1").arg(row));
        QVERIFY(include && include->isEnabled());

        QTest::mouseClick(include, Qt::LeftButton, {}, QPoint(4, include->height() / 2));
        QCOMPARE(include->checkState(), Qt::Unchecked);
        for (const QString &name : controls)
            QVERIFY2(!panel.findChild<QWidget *>(name)->isVisibleTo(&panel), qPrintable(name));
        // Browse buttons and captions stay.
        for (auto *button : panel.browseButtons)
            QVERIFY(button->isVisibleTo(&panel));
        QVERIFY(include->isVisibleTo(&panel));

        include->setChecked(true);
        for (const QString &name : controls)
            QVERIFY(panel.findChild<QWidget *>(name)->isVisibleTo(&panel));
        if (auto *box = panel.findChild<QLineEdit *>(controls[0]))
            QCOMPARE(box->text(), QString("kept"));
    }

    void fixedRowsCannotBeChanged()
    {
        LevelPanel panel;
        for (int row : {0, 1, 8, 9, 13}) {
            QCheckBox *box = panel.includeBoxes[size_t(row)];
            QVERIFY(!box->isEnabled());
            QVERIFY(box->isChecked());
            QTest::mouseClick(box, Qt::LeftButton);
            QVERIFY(box->isChecked());
        }
        EpisodePanel episode;
        for (QCheckBox *box : episode.includeBoxes)
            QVERIFY(!box->isEnabled() && box->isChecked());
    }

    void resetGivesTheNewDocument()
    {
        LevelPanel panel;
        LevelFields changed;
        changed.text.fill("x");
        changed.mapType = {true, true, true};
        changed.rotateYes = false;
        changed.lockedYes = false;
        changed.eta = {"1", "2", "3"};
        panel.setFields(changed);
        panel.resetToNewDocument();
        const LevelFields f = panel.fields();
        for (const QString &text : f.text)
            QCOMPARE(text, QString());
        QCOMPARE(f.mapType, (std::array<bool, 3>{}));
        QCOMPARE(f.eta, (std::array<QString, 3>{"00", "00", "00"}));
        QVERIFY(f.rotateYes && f.lockedYes);
        for (bool included : f.included)
            QVERIFY(included);
        QVERIFY(panel.rotateChoice->isVisibleTo(&panel));
        QVERIFY(panel.metersLabel->isVisibleTo(&panel));
    }

    void everyEditMarksTheDocumentChanged_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("text box") << "valueEdits_4";
        QTest::newRow("ETA") << "etaEdits_1";
        QTest::newRow("game mode") << "mapTypeBoxes_2";
        QTest::newRow("rotate option") << "rotateOptions_1";
        QTest::newRow("locked option") << "lockedOptions_1";
        QTest::newRow("include box") << "includeBoxes_6";
    }

    void everyEditMarksTheDocumentChanged()
    {
        QFETCH(QString, control);
        TestFolder folder;
        DialogScript script;
        MainWindow form(folder.programFolder());
        form.load({});
        form.newCommand("LvlNFO");
        QVERIFY(!form.document.Dirty);
        QWidget *widget = form.findChild<QWidget *>(control);
        QVERIFY(widget);
        form.show();
        for (auto *eta : form.levelPanel()->etaEdits)
            eta->clear();
        form.document.Dirty = false;
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            QTest::keyClicks(edit, "7");
        else
            QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, widget->height() / 2));
        QVERIFY(form.document.Dirty);
    }

    void valueBoxesTakeOneLine_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("how");  // "paste" or "input method"
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("value");
        QTest::newRow("pasted LF") << "valueEdits_0" << "paste" << "Models/Ship.mdl\n" << "Models/Ship.mdl";
        QTest::newRow("pasted CR LF") << "valueEdits_5" << "paste" << "a\r\nb" << "ab";
        QTest::newRow("pasted CR") << "EpiTxtVal_1" << "paste" << "\ra\rb" << "ab";
        QTest::newRow("pasted line separator") << "EpiTxtVal_0" << "paste" << QString("a\u2028b") << "ab";
        QTest::newRow("typed paragraph separator") << "valueEdits_3" << "input method" << QString("1\u20290") << "10";
        QTest::newRow("ETA: two characters, then the break goes") << "etaEdits_0" << "paste" << "1\n2\n3" << "1";
    }

    void valueBoxesTakeOneLine()
    {
        QFETCH(QString, control);
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, value);
        EditorWindow e;
        e.form.newCommand(control.startsWith("Epi") ? "EpiNFO" : "LvlNFO");
        e.form.show();
        auto *box = e.form.findChild<QLineEdit *>(control);
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

    void episodeTextMarksChangedButItsIncludeBoxesDoNot()
    {
        TestFolder folder;
        DialogScript script;
        MainWindow form(folder.programFolder());
        form.load({});
        form.newCommand("EpiNFO");
        form.episodePanel()->includeBoxes[0]->setChecked(false);
        QVERIFY(!form.document.Dirty);
        QTest::keyClicks(form.episodePanel()->valueEdits[1], "t");
        QVERIFY(form.document.Dirty);
    }
};

QTEST_MAIN(TestLevelPanel)
#include "test_levelpanel.moc"
