// The About box, the help command and the help pages delivered beside the program.

#include "ui/aboutdialog.h"
#include "editor/mainwindow.h"
#include "ui/desktop.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "version.h"

#ifdef Q_OS_WIN
#include <windows.h>
#undef MessageBox

#include <string>
#include <vector>
#endif

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
#ifdef Q_OS_WIN
    // What Windows shows in the files' properties: both programs carry the one project version.
    void versionResources_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("description");
        QTest::newRow("Brisquel") << "Brisquel.exe" << "Brisquel";
        QTest::newRow("Fennick") << "Fennick/Fennick.exe" << "New file command";
    }

    void versionResources()
    {
        QFETCH(QString, program);
        QFETCH(QString, description);
        const std::wstring path = QDir::toNativeSeparators(BRISQUEL_DIST_DIR "/" + program).toStdWString();
        std::vector<unsigned char> data(GetFileVersionInfoSizeW(path.c_str(), nullptr));
        QVERIFY(!data.empty() && GetFileVersionInfoW(path.c_str(), 0, DWORD(data.size()), data.data()));
        const auto text = [&data](const wchar_t *name) {
            void *value = nullptr;
            UINT length = 0;
            const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
            if (!VerQueryValueW(data.data(), query.c_str(), &value, &length) || length == 0)
                return QString();
            return QString::fromWCharArray(static_cast<const wchar_t *>(value), int(length) - 1);
        };
        QCOMPARE(text(L"FileVersion"), QString(BRISQUEL_VERSION_RESOURCE_TEXT));
        QCOMPARE(text(L"ProductVersion"), QString(BRISQUEL_VERSION_RESOURCE_TEXT));
        QCOMPARE(text(L"FileDescription"), description);
    }
#endif

    void aboutBox()
    {
        DialogScript script;
        script.allowRealDialogs = true;  // the test drives the About box itself
        AboutDialog about;
        about.show();
        QCOMPARE(control<QLabel>(&about, "versionLabel")->text(), QString("Version " BRISQUEL_VERSION_TEXT));
        QVERIFY(!control<QLabel>(&about, "pictureLabel")->pixmap().isNull());
        control<QPushButton>(&about, "systemInfoButton")->click();
        const auto boxes = script.takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QString("System Information Is Unavailable At This Time"));
        QCOMPARE(boxes[0].caption, QString("Brisquel"));
        QVERIFY(about.isVisible());
        control<QPushButton>(&about, "okButton")->click();
        QVERIFY(!about.isVisible());
    }

    void menuShowsTheAboutBoxModally()
    {
        EditorWindow e;
        e.script.allowRealDialogs = true;
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *about = qobject_cast<AboutDialog *>(QApplication::activeModalWidget())) {
                shown = about->windowTitle();
                control<QPushButton>(about, "okButton")->click();
            }
        });
        control<QAction>(&e.form, "aboutAction")->trigger();
        QCOMPARE(shown, QString("About Brisquel"));
        QCOMPARE(control<QAction>(&e.form, "aboutAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
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
        EditorWindow e;
        QStringList opened;
        // Without a handler the offscreen platform's own desktop services run, which open nothing.
        if (desktopOpens)
            Desktop::setHandler([&](const QString &path) { opened.append(path); return true; });
        e.form.show();
        QApplication::setActiveWindow(&e.form);
        QTest::keyClick(&e.form, Qt::Key_F1);
        Desktop::setHandler({});
        const QString page = QDir::toNativeSeparators(e.folder.programFolder() + "/Help/index.htm");
        if (desktopOpens) {
            QCOMPARE(opened, QStringList{page});
            QCOMPARE(e.statusText(), QString("Ready"));
        } else {
            const QString message = "Cannot open the help page '" + page + "': the desktop has no program to show it";
            QCOMPARE(e.statusText(), message);
            QCOMPARE(e.form.status().shownKind(), std::optional(StatusKind::Error));
            QVERIFY(readBytes(e.form.log().path()).endsWith("ERR : " + message.toUtf8() + "\r\n"));
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
