// The About box, the help command and the help pages delivered beside the program.

#include "about/frmabout.h"
#include "editor/form1.h"
#include "platform/desktop.h"
#include "tests/testsupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void aboutBoxTexts()
    {
        frmAbout about;
        QCOMPARE(about.windowTitle(), QString("About Brisquel"));
        QCOMPARE(about.lblTitle->text(), QString("Brisquel"));
        QCOMPARE(about.lblTitle->font().pointSize(), 14);
        QCOMPARE(about.lblVersion->text(), QString("Version 1.1.0"));
        QCOMPARE(about.lblDescription->text(), QString("Brisquel for SS2"));
        QVERIFY(about.lblDisclaimer->text().contains("without warranty"));
        QCOMPARE(about.cmdSysInfo->text(), QString("&System Info..."));
        QVERIFY(!about.Image1->pixmap().isNull());
    }

    void systemInformationIsUnavailableHere()
    {
        DialogScript script;
        script.allowRealDialogs = true;  // the test drives the About box itself
        frmAbout about;
        about.show();
        about.cmdSysInfo->click();
        const auto boxes = script.takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QString("System Information Is Unavailable At This Time"));
        QCOMPARE(boxes[0].caption, QString("Brisquel"));
        QVERIFY(about.isVisible());
        about.cmdOK->click();
        QVERIFY(!about.isVisible());
    }

    void menuShowsTheAboutBoxModally()
    {
        TestFolder folder;
        DialogScript script;
        script.allowRealDialogs = true;
        Form1 form(folder.programFolder());
        form.load({});
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget())) {
                shown = about->windowTitle();
                about->cmdOK->click();
            }
        });
        form.mnuAbout->trigger();
        QCOMPARE(shown, QString("About Brisquel"));
        QCOMPARE(form.mnuAbout->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
    }

    void f1OpensTheHelpIndex_data()
    {
        QTest::addColumn<bool>("desktopOpens");
        QTest::newRow("the desktop shows it") << true;
        QTest::newRow("no program to show it: said on the status row") << false;
    }

    void f1OpensTheHelpIndex()
    {
        QFETCH(bool, desktopOpens);
        TestFolder folder;
        DialogScript script;
        QStringList opened;
        // Without a handler the offscreen platform's own desktop services run, which open nothing.
        if (desktopOpens)
            Desktop::setHandler([&](const QString &path) { opened.append(path); return true; });
        Form1 form(folder.programFolder());
        form.load({});
        form.show();
        QApplication::setActiveWindow(&form);
        QTest::keyClick(&form, Qt::Key_F1);
        Desktop::setHandler({});
        const QString page = QDir::toNativeSeparators(folder.programFolder() + "/Help/index.htm");
        if (desktopOpens) {
            QCOMPARE(opened, QStringList{page});
            QCOMPARE(form.LblStatus->text(), QString("Ready"));
        } else {
            const QString message = "Cannot open the help page '" + page + "': the desktop has no program to show it";
            QCOMPARE(form.LblStatus->text(), message);
            QCOMPARE(form.status.shownKind(), QString("Error"));
            QVERIFY(readBytes(form.log.path()).endsWith("ERR : " + message.toUtf8() + "\r\n"));
        }
    }

    void helpPagesLinkOnlyToPagesThatExist()
    {
        const QDir help(QStringLiteral(BRISQUEL_DIST_DIR "/Help"));
        QVERIFY(help.exists("index.htm"));
        const QRegularExpression link(R"((?:href|src)="([^"#:]+)(#[^"]*)?")");
        int links = 0;
        for (const QString &page : help.entryList({"*.htm"})) {
            const QString html = QString::fromUtf8(readBytes(help.filePath(page)));
            QVERIFY2(!html.contains("<script"), qPrintable(page));
            for (auto it = link.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                ++links;
                QVERIFY2(help.exists(target), qPrintable(page + " links to a missing " + target));
            }
        }
        QVERIFY(links > 20);
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
