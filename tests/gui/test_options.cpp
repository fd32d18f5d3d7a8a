// The settings and the Options dialog: defaults, the tip time check, what is stored, and the
// first start.

#include "editor/mainwindow.h"
#include "core/settingsstore.h"
#include "ui/messagebox.h"
#include "ui/optionsdialog.h"
#include "core/settings.h"
#include "core/gamesearch.h"
#include "shell/desktopintegration.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

struct Options
{
    Options()
    {
        log.clearLog();
        script.allowRealDialogs = true;  // the test drives the real Options dialog
    }
    OptionsDialog &open()
    {
        dialog = std::make_unique<OptionsDialog>(status, [this](QString *failure) {
            ++registrations;
            if (!registrationWorks && failure)
                *failure = "the desktop folder is read-only";
            return registrationWorks;
        });
        QObject::connect(dialog.get(), &OptionsDialog::tipIntervalSaved, &timer, qOverload<int>(&QTimer::setInterval));
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }
    QString stored(const Settings::Key &key) { return Settings::read(key, "<none>"); }

    TestFolder folder;
    DialogScript script;
    QLabel label, picture;
    QTimer timer;
    AppLog log{folder.programFolder()};
    StatusReporter status{log, &label, &picture, nullptr};
    std::unique_ptr<OptionsDialog> dialog;
    int registrations = 0;
    bool registrationWorks = true;
};

void leaveTimeBoxBy(OptionsDialog &dialog, QWidget *target)
{
    dialog.tipTimeEdit->setFocus();
    QVERIFY(dialog.tipTimeEdit->hasFocus());
    if (target)
        QTest::mouseClick(target, Qt::LeftButton);
    else
        QTest::keyClick(dialog.tipTimeEdit, Qt::Key_Tab);
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    // Where the game is looked for before a folder is set: each Steam library (the Steam folder
    // itself, then those its libraryfolders.vdf lists, in either of its formats), then the usual
    // folder; a fake Steam tree in the test's own folder, no user's files.
    void gameFolderIsFoundInSteamLibraries_data()
    {
        QTest::addColumn<QString>("vdf");        // the Steam folder's libraryfolders.vdf ("" none); LIB: a library
        QTest::addColumn<QStringList>("games");  // where the game is installed: "steam", "LIB", "usual"
        QTest::addColumn<QString>("found");      // "steam", "LIB", "usual" or "" (nothing)
        const QString current = "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"STEAM\"\n\t}\n"
                                "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"LIB\"\n\t\t\"label\"\t\t\"\"\n\t}\n}\n";
        const QString old = "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1\"\n\t\"1\"\t\t\"LIB\"\n}\n";
        QTest::newRow("in the second library") << current << QStringList{"LIB"} << "LIB";
        QTest::newRow("in the second library, the old list") << old << QStringList{"LIB"} << "LIB";
        QTest::newRow("in the Steam folder itself, first") << current << QStringList{"LIB", "steam"} << "steam";
        QTest::newRow("no list: the Steam folder only") << "" << QStringList{"steam"} << "steam";
        QTest::newRow("not in Steam: the usual folder") << current << QStringList{"usual"} << "usual";
        QTest::newRow("nowhere") << current << QStringList{} << "";
    }

    void gameFolderIsFoundInSteamLibraries()
    {
        QFETCH(QString, vdf);
        QFETCH(QStringList, games);
        QFETCH(QString, found);
        TestFolder folder;
        const QString steam = folder.path("Steam"), library = folder.path("Games/SteamLibrary"), usual = folder.path("Usual");
        QDir().mkpath(steam + "/steamapps");
        QDir().mkpath(library + "/steamapps");
        // Steam writes Windows paths with doubled backslashes.
        const auto written = [](QString path) { return QDir::toNativeSeparators(path).replace("\\", "\\\\"); };
        if (!vdf.isEmpty())
            writeBytes(steam + "/steamapps/libraryfolders.vdf", QString(vdf).replace("STEAM", written(steam)).replace("LIB", written(library)).toUtf8());
        const QMap<QString, QString> places{{"steam", steam + "/steamapps/common/Serious Sam 2"},
                                            {"LIB", library + "/steamapps/common/Serious Sam 2"}, {"usual", usual}};
        for (const QString &game : games)
            QDir().mkpath(places[game]);
        const QString expected = found.isEmpty() ? QString() : QDir::toNativeSeparators(places[found]) + QDir::separator();
        QCOMPARE(GameSearch::find({folder.path("NoSteam"), steam}, usual), expected);
    }

#ifndef Q_OS_WIN
    // The Options dialog offers what is found in the user's own Steam folder before a folder is
    // set, and its browse button picks a folder into the box.
    void dialogOffersTheGameFoundAndBrowsesForOne()
    {
        Options o;
        const QString game = QDir::homePath() + "/.local/share/Steam/steamapps/common/Serious Sam 2";
        QVERIFY(QDir::homePath().startsWith(o.folder.path({})));  // the test's own home
        QDir().mkpath(game);
        OptionsDialog &d = o.open();
        QCOMPARE(d.gamePathEdit->text(), game + "/");
        o.script.choose(o.folder.path("Elsewhere/SS2"));
        QTest::mouseClick(d.gamePathBrowse, Qt::LeftButton);
        const auto asked = o.script.takeFileDialogs();
        QCOMPARE(asked.value(0).mode, FileDialog::Mode::Folder);
        QCOMPARE(asked.value(0).fileName, game + "/");
        QCOMPARE(d.gamePathEdit->text(), o.folder.path("Elsewhere/SS2") + "/");
        QCOMPARE(d.gamePathBrowse->accessibleName(), QString("Serious Sam 2 Path: Browse..."));
    }
#endif

    void dialogShowsStoredValuesOrDefaults()
    {
        Options o;
        OptionsDialog &d = o.open();
        QCOMPARE(d.windowTitle(), QString("Options"));
        QCOMPARE(d.gamePathEdit->text(), Settings::defaultGameFolder());
        QVERIFY(d.showTipsBox->isChecked());
        QCOMPARE(d.tipTimeEdit->text(), QString("10"));
        QVERIFY(d.tipTimeEdit->isEnabled());
        QVERIFY(d.okButton->hasFocus());
        for (QPushButton *b : {d.okButton, d.cancelButton, d.applyButton, d.registerButton})
            QVERIFY(!b->isDefault() && !b->autoDefault());
    }

    void storedTipsOffLeavesTheTimeBoxEnabledUntilToggled()
    {
        Options o;
        Settings::write(Settings::ShowTips, "0");
        Settings::write(Settings::TipTime, "abc");
        OptionsDialog &d = o.open();
        QVERIFY(!d.showTipsBox->isChecked());
        QVERIFY(d.tipTimeEdit->isEnabled());
        QCOMPARE(d.tipTimeEdit->text(), QString("abc"));  // shown so it can be put right
        d.showTipsBox->setChecked(true);
        d.showTipsBox->setChecked(false);
        QVERIFY(!d.tipTimeEdit->isEnabled());
        QCOMPARE(d.tipTimeEdit->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));
    }

    void timeCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");  // empty: accepted
        QTest::addColumn<int>("icon");
        const int critical = int(MessageBox::Icon::Critical);
        QTest::newRow("empty") << "" << "The time for the tip is not a number!" << critical;
        QTest::newRow("abc") << "abc" << "The time for the tip is not a number!" << critical;
        QTest::newRow("59") << "59" << "" << 0;
        QTest::newRow("59.5") << "59.5" << "The time for the tip cannot be more than a minute!" << critical;
        QTest::newRow("60") << "60" << "The time for the tip cannot be more than a minute!" << critical;
        QTest::newRow("0.1") << "0.1" << "" << 0;
        QTest::newRow("0.09") << "0.09" << "Time is too small for the tip." << int(MessageBox::Icon::None);
        QTest::newRow("0") << "0" << "Time is too small for the tip." << int(MessageBox::Icon::None);
        QTest::newRow("-5") << "-5" << "Time is too small for the tip." << int(MessageBox::Icon::None);
    }

    void timeCheck()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(int, icon);
        for (int via = 0; via < 3; ++via) {  // Apply, OK, Tab
            Options o;
            OptionsDialog &d = o.open();
            d.tipTimeEdit->setText(text);
            QWidget *target = via == 0 ? static_cast<QWidget *>(d.applyButton) : via == 1 ? d.okButton : nullptr;
            leaveTimeBoxBy(d, target);
            const auto boxes = o.script.takeBoxes();
            if (message.isEmpty()) {
                QVERIFY(!d.tipTimeEdit->hasFocus());
                if (via == 2)
                    continue;
                QCOMPARE(o.stored(Settings::TipTime), text);
                QCOMPARE(boxes.size(), via == 0 ? 1 : 0);  // Apply's "Settings saved"
                continue;
            }
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes[0].text, message);
            QCOMPARE(int(boxes[0].icon), icon);
            QVERIFY(d.tipTimeEdit->hasFocus());
            QVERIFY(d.isVisible());  // the button's action did not happen
            QCOMPARE(o.stored(Settings::TipTime), QString("<none>"));
        }
    }

    void tipIntervals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("ms");
        QTest::newRow("10") << "10" << 10000;
        QTest::newRow("0.1") << "0.1" << 100;
        QTest::newRow("below 0.1 is never stored by the dialog") << "0.0125" << 10000;
        QTest::newRow("2.5") << "2.5" << 2500;
        // Exact halves of a millisecond (binary fractions) go to the even neighbour.
        QTest::newRow("half to even, down") << "0.1005" << 100;
        QTest::newRow("half to even, up") << "0.1015" << 102;
        QTest::newRow("half to even, down at 112.5") << "0.1125" << 112;
        QTest::newRow("a little above half, up") << "0.1005001" << 101;
        QTest::newRow("not a number") << "soon" << 10000;
        QTest::newRow("the user's decimal comma") << "0,5" << 500;
        QTest::newRow("too long") << "75" << 10000;
    }

    void tipIntervals()
    {
        QFETCH(QString, text);
        QFETCH(int, ms);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // a comma locale
        QCOMPARE(Settings::tipIntervalMs(text), ms);
        QLocale::setDefault(QLocale::c());
    }

    void gameFolderGetsATrailingSeparator_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        const QString sep = QDir::separator();
        QTest::newRow("without") << "/games/SS2" << QDir::toNativeSeparators("/games/SS2/");
        QTest::newRow("with") << "/games/SS2/" << QDir::toNativeSeparators("/games/SS2/");
        QTest::newRow("empty") << "" << sep;
    }

    void gameFolderGetsATrailingSeparator()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Options o;
        OptionsDialog &d = o.open();
        d.gamePathEdit->setText(typed);
        d.showTipsBox->setChecked(false);
        d.tipTimeEdit->setText("2.5");
        QTest::mouseClick(d.okButton, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(o.stored(Settings::GameFolder), stored);
        QCOMPARE(o.stored(Settings::ShowTips), QString("0"));
        QCOMPARE(o.stored(Settings::TipTime), QString("2.5"));
        QCOMPARE(o.timer.interval(), 2500);
        QCOMPARE(o.label.text(), QString("Settings saved."));
        QVERIFY(readBytes(o.log.path()).endsWith("INF : Settings saved.\r\n"));
    }

    void applyKeepsTheDialogOpenAndCancelStoresNothing()
    {
        Options o;
        OptionsDialog &d = o.open();
        d.tipTimeEdit->setText("3");
        d.applyButton->click();
        d.applyButton->click();
        QCOMPARE(o.script.takeBoxTexts(), QStringList({"Settings saved", "Settings saved"}));
        QVERIFY(d.isVisible());
        d.tipTimeEdit->setText("4");
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(o.stored(Settings::TipTime), QString("3"));
    }

    void settingsThatCannotBeStoredAreNotReportedSaved_data()
    {
        QTest::addColumn<bool>("ok");  // OK, or Apply
        QTest::newRow("OK keeps the dialog open") << true;
        QTest::newRow("Apply says no \"Settings saved\"") << false;
    }

    void settingsThatCannotBeStoredAreNotReportedSaved()
    {
        QFETCH(bool, ok);
        Options o;
        OptionsDialog &d = o.open();
        // A file where the settings folder should be: nothing can be stored, whoever runs the test.
        const QString store = SettingsStore::location();
        const QString folder = QDir::toNativeSeparators(QFileInfo(store).absolutePath());
        QDir(folder).removeRecursively();
        writeBytes(folder, "not a folder");
        d.tipTimeEdit->setText("3");
        (ok ? d.okButton : d.applyButton)->click();
        const QString failure = "Cannot store the settings in '" + store + "': '" + folder + "' is a file, not a folder";
        QCOMPARE(o.script.takeBoxTexts(), QStringList{"An error has occured! Error description : " + failure + "\r\n\r\nError Number :75"});
        QVERIFY(d.isVisible());
        QCOMPARE(o.label.text(), failure);
        QVERIFY(readBytes(o.log.path()).endsWith("ERR : " + failure.toUtf8() + "\r\n"));
        QCOMPARE(o.timer.interval(), 0);  // nothing applied
    }

    void enterPressesNoButton()
    {
        Options o;
        OptionsDialog &d = o.open();
        d.gamePathEdit->setFocus();
        QTest::keyClick(d.gamePathEdit, Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(o.stored(Settings::TipTime), QString("<none>"));
    }

    void makeFilesOpenable_data()
    {
        QTest::addColumn<bool>("works");
        QTest::addColumn<QString>("message");
        QTest::newRow("success") << true << "Opreation successful. You can now open the files by double-clicking it.";
        QTest::newRow("failure") << false << "The files could not be made openable: the desktop folder is read-only";
    }

    void makeFilesOpenable()
    {
        QFETCH(bool, works);
        QFETCH(QString, message);
        Options o;
        o.registrationWorks = works;
        OptionsDialog &d = o.open();
        d.registerButton->click();
        QCOMPARE(o.registrations, 1);
        const auto boxes = o.script.takeBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, message);
        QCOMPARE(boxes[0].icon, works ? MessageBox::Icon::Information : MessageBox::Icon::Critical);
    }

    void firstStart_data()
    {
        QTest::addColumn<QString>("store");  // the first-start marker, or the state of the whole store
        QTest::addColumn<bool>("firstRun");
        QTest::addColumn<QString>("status");
        QTest::newRow("never started") << "" << true << "Ready";
        QTest::newRow("YES") << "YES" << true << "Ready";
        QTest::newRow("yes in lower case") << "yes" << false << "Ready";
        QTest::newRow("NO") << "NO" << false << "Ready";
        QTest::newRow("a damaged store is read past and rewritten") << "<damaged>" << true << "Ready";
        // Nothing but a plain file is read as the store (a pipe would hang every start): the
        // defaults are used, the start says so once and does not greet at every start.
        QTest::newRow("a folder in the store's place: the start says so") << "<folder>" << false
            << "The settings file '%1' is a folder, not a plain file: Brisquel uses the default settings and cannot "
               "store changes";
#ifdef Q_OS_UNIX
        QTest::newRow("a pipe in the store's place: the start says so") << "<pipe>" << false
            << "The settings file '%1' is a pipe, not a plain file: Brisquel uses the default settings and cannot "
               "store changes";
#endif
#ifndef Q_OS_WIN
        QTest::newRow("a registration that fails is said and logged") << "<registration fails>" << true
            << "The files could not be made openable: cannot read the desktop's default applications: '%1' is a "
               "folder, not a file; it was left as it is";
#endif
    }

    void firstStart()
    {
        QFETCH(QString, store);
        QFETCH(bool, firstRun);
        QFETCH(QString, status);
        TestFolder folder;
        const QString location = SettingsStore::location();
        QFile::remove(location);
        if (store == "<damaged>") {
            writeBytes(location, QByteArray("\0\xff[[[===\n[Show Tips]\nTime=\"\"\"\nShow Tips Option=@Invalid(\n", 56));
        } else if (store == "<folder>") {
            QDir().mkpath(location);
#ifdef Q_OS_UNIX
        } else if (store == "<pipe>") {
            QDir().mkpath(QFileInfo(location).absolutePath());
            QCOMPARE(::mkfifo(QFile::encodeName(location).constData(), 0600), 0);
#endif
        } else if (!store.isEmpty() && !store.startsWith("<")) {
            QSettings settings(QSettings::defaultFormat(), QSettings::UserScope, "Brisquel", "Brisquel");
            settings.setValue(Settings::address(Settings::FirstStart), store);
        }

        QDir().mkpath(folder.programFolder());
        for (const char *icon : {"filedsc.ico", "filenfo.ico"})
            QFile::copy(QStringLiteral(BRISQUEL_SOURCE_DIR "/resources/icons/") + icon, folder.programFolder() + "/" + icon);
        if (store == "<registration fails>")
            QDir().mkpath(DesktopIntegration::mimeAppsListPath());
        DialogScript script;
        script.allowRealDialogs = true;
        bool optionsShown = false;
        QString shownPath;
        MainWindow form(folder.programFolder());
        form.runStartUp({});
        // The greeting waits for the window to be shown, and the Options dialog follows it.
        QTimer::singleShot(0, [&] {
            auto *options = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
            optionsShown = options != nullptr;
            if (options) {
                shownPath = options->gamePathEdit->text();
                options->close();  // the close box
            }
        });
        QVERIFY(script.takeBoxTexts().isEmpty());
        form.show();
        QCoreApplication::processEvents();
        QCOMPARE(form.tips().timer.interval(), 10000);
        const QString registrationFailure = status.arg(DesktopIntegration::mimeAppsListPath());
        if (store == "<registration fails>")
            status = registrationFailure;
        QCOMPARE(control<QLabel>(&form, "statusLabel")->text(), status.arg(location));
        QStringList boxes = script.takeBoxTexts();
        if (!firstRun) {
            QVERIFY(boxes.isEmpty());
            if (store.startsWith("<"))  // said once, in the log too
                QCOMPARE(QString::fromLatin1(readBytes(folder.logPath())).count(status.arg(location)), 1);
            return;
        }
        QCOMPARE(boxes.takeFirst(), QString("This must be your first time starting 'Brisquel'. Please change "
                                            "the settings to serve you better."));
        QVERIFY(optionsShown);
        QCOMPARE(shownPath, Settings::defaultGameFolder());
        const QString log = QString::fromLatin1(readBytes(folder.logPath()));
        QVERIFY(log.contains(store == "<registration fails>" ? "INF : Ready\r\nERR : " + status + "\r\nINF : First time using Brisquel\r\n"
                                                            : "INF : Ready\r\nINF : First time using Brisquel\r\n"));
        QDir().rmdir(DesktopIntegration::mimeAppsListPath());
        {
            QVERIFY(boxes.isEmpty());
            QVERIFY(!Settings::isFirstStart());
            QVERIFY(log.endsWith("INF : First time using Brisquel\r\n"));
        }
    }

    // The first start's window is placed in the middle of the screen and the real greeting box
    // over its middle, not in a corner over a window not yet placed.
    void greetingIsCentredOnTheScreen()
    {
        TestFolder folder;
        QFile::remove(SettingsStore::location());
        DialogScript script;
        script.allowRealDialogs = true;
        MessageBox::setHandler({});
        QPoint boxMiddle;
        QPoint windowMiddle;
        bool optionsShown = false;
        MainWindow form(folder.programFolder());
        form.runStartUp({});
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            boxMiddle = box->frameGeometry().center();
            windowMiddle = form.geometry().center();  // a title bar above it is the desktop's
            QTimer::singleShot(0, [&] {
                optionsShown = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget()) != nullptr;
                QApplication::activeModalWidget()->close();
            });
            QTest::keyClick(box, Qt::Key_Return);
        });
        form.show();
        QCoreApplication::processEvents();
        QVERIFY(optionsShown);
        const QPoint screenMiddle = form.screen()->availableGeometry().center();
        QVERIFY2((windowMiddle - screenMiddle).manhattanLength() <= 2, qPrintable(QString("%1,%2").arg(windowMiddle.x()).arg(windowMiddle.y())));
        // Over the window's middle (within an eighth of its size: the desktop frames and sizes
        // the box itself), never in a corner.
        const QPoint off = boxMiddle - windowMiddle;
        QVERIFY2(qAbs(off.x()) <= form.width() / 8 && qAbs(off.y()) <= form.height() / 8,
                 qPrintable(QString("%1,%2").arg(boxMiddle.x()).arg(boxMiddle.y())));
    }
};

QTEST_MAIN(TestOptions)
#include "test_options.moc"
