// The rotating tips on the status row, and asset browsing with game-relative paths.

#include "core/settings.h"
#include "core/assetpath.h"
#include "editor/episodepanel.h"
#include "editor/documentcontroller.h"
#include "editor/mainwindow.h"
#include "editor/levelpanel.h"
#include "core/tips.h"
#include "tests/support/testsupport.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QStringList tipLines(const EditorWindow &e) { return e.logLines().filter(QRegularExpression("^QSN : ")); }

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

class TestTipsBrowse : public QObject
{
    Q_OBJECT

private slots:
    // The tips come one by one in their order, and again from the first after the last.
    void tipsInOrderThenAgain()
    {
        const QStringList tips = Tips::texts();
        EditorWindow e;
        e.form.tips().timer.setInterval(15);
        const qsizetype shown = tips.size() + 2;
        QTRY_VERIFY_WITH_TIMEOUT(tipLines(e).size() >= shown, 10000);
        const QStringList lines = tipLines(e);
        for (qsizetype i = 0; i < shown; ++i)
            QCOMPARE(lines.at(i), "QSN : " + tips.at(i % tips.size()));
        QCOMPARE(e.form.status().shownKind(), std::optional(StatusKind::Question));
    }

    void aReportPostponesTheNextTip()
    {
        EditorWindow e;
        QTimer &timer = e.form.tips().timer;
        // A coarse timer, as the tips' is, keeps to 5 % of its interval: the margins are wider.
        timer.setInterval(1000);
        timer.start();
        QTRY_VERIFY(timer.remainingTime() < 850);  // the countdown has run a little
        e.form.status().reportStatus("Fresh news", StatusKind::Info);
        QVERIFY(timer.remainingTime() > 900);  // a full interval again from the report
        QCOMPARE(e.statusText(), QString("Fresh news"));
        timer.setInterval(10);
        QTRY_COMPARE_WITH_TIMEOUT(e.statusText(), Tips::texts().at(0), 5000);
    }

    void tipsOffKeepsTheRowAndTheIndex()
    {
        EditorWindow e;
        e.form.tips().timer.setInterval(15);
        QTRY_VERIFY_WITH_TIMEOUT(tipLines(e).size() >= 2, 5000);
        Settings::write(Settings::ShowTips, "0");
        QTest::qWait(30);
        const int index = e.form.tips().tipIndex;
        const int shown = int(tipLines(e).size());
        QTest::qWait(150);
        QCOMPARE(e.form.tips().tipIndex, index);
        QCOMPARE(int(tipLines(e).size()), shown);
        QVERIFY(e.form.tips().timer.isActive());

        Settings::write(Settings::ShowTips, "1");
        QTRY_VERIFY_WITH_TIMEOUT(tipLines(e).size() > shown, 5000);
        QCOMPARE(tipLines(e).at(shown), "QSN : " + Tips::texts().at((index + 1) % 13));
    }

    void startUpIntervalComesFromTheSettings()
    {
        EditorWindow e;
        QCOMPARE(e.form.tips().timer.interval(), 10000);
        Settings::write(Settings::TipTime, "0.5");
        e.form.runStartUp({});  // the start-up sequence again
        QCOMPARE(e.form.tips().timer.interval(), 500);
    }

    void gameRelativePaths_data()
    {
        QTest::addColumn<QString>("gameFolder");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("entered");
        QTest::newRow("never set") << "NIL" << native("/games/SS2/Models/Ship.mdl") << native("/games/SS2/Models/Ship.mdl");
        QTest::newRow("an emptied box: the separator alone") << native("/") << native("/home/me/Ship.mdl")
                                                             << native("/home/me/Ship.mdl");
        QTest::newRow("with trailing separator") << native("/games/SS2/") << native("/games/SS2/Models/Ship.mdl")
                                                 << "Models\\Ship.mdl";
        QTest::newRow("without trailing separator") << native("/games/SS2") << native("/games/SS2/Models/Ship.mdl")
                                                    << "\\Models\\Ship.mdl";
        QTest::newRow("other letter case") << native("/games/SS2/") << native("/Games/ss2/Models/Ship.mdl")
                                           << native("/Games/ss2/Models/Ship.mdl");
        QTest::newRow("plain prefix, no folder boundary") << native("/games/SS2") << native("/games/SS2Extra/Wall.tex")
                                                          << "Extra\\Wall.tex";
        QTest::newRow("outside the game folder") << native("/games/SS2/") << native("/home/me/Wall.tex")
                                                 << native("/home/me/Wall.tex");
        QTest::newRow("setting longer than the path") << native("/games/SS2/Models/") << native("/games")
                                                      << native("/games");
    }

    void gameRelativePaths()
    {
        QFETCH(QString, gameFolder);
        QFETCH(QString, chosen);
        QFETCH(QString, entered);
        QCOMPARE(AssetPath::relativeToGameFolder(chosen, gameFolder), entered);
    }

    void browseButtons_data()
    {
        QTest::addColumn<QString>("field");  // "<panel>/<row>": the button is "<row>Browse", the box "<row>Edit"
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::newRow("Loading Model") << "levelPanel/loadingModel" << "Browse for a model..." << "Model (*.mdl)|*.mdl";
        QTest::newRow("Loading Screen") << "levelPanel/loadingScreen" << "Browse for a texture..." << "Texture (*.tex)|*.tex";
        QTest::newRow("Thumbnail") << "levelPanel/thumbnail" << "Browse for a texture..." << "Texture (*.tex)|*.tex";
        QTest::newRow("Episode Movie") << "levelPanel/episodeMovie" << "Browse for a movie (*.ogv) file..." << "Movie File (*.ogv)|*.ogv";
        QTest::newRow("Intro Movie") << "levelPanel/introMovie" << "Browse for a movie (*.ogv) file..." << "Movie File (*.ogv)|*.ogv";
        QTest::newRow("Outro Movie") << "levelPanel/outroMovie" << "Browse for a movie (*.ogv) file..." << "Movie File (*.ogv)|*.ogv";
        QTest::newRow("Episode Thumbnail") << "episodePanel/thumbnail" << "Browse for a texture..." << "Texture (*.tex)|*.tex";
    }

    void browseButtons()
    {
        QFETCH(QString, field);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        EditorWindow e;
        Settings::write(Settings::GameFolder, native("/games/SS2/"));
        e.docs.newDocument(field.startsWith("episode") ? DocumentKind::EpisodeNfo : DocumentKind::LevelNfo);
        auto *browse = control<QPushButton>(&e.form, field + "Browse");
        auto *target = control<QLineEdit>(&e.form, field + "Edit");
        QVERIFY(browse && target);
        target->setText("before");
        e.docs.setModified(false);

        // Cancel leaves the field and the dirty flag alone.
        e.script.cancelFileDialog();
        browse->click();
        QCOMPARE(target->text(), QString("before"));
        QVERIFY(!e.docs.document().modified);

        e.script.choose(native("/games/SS2/Assets/a.x"));
        browse->click();
        const auto dialogs = e.script.takeFileDialogs();
        QCOMPARE(dialogs.size(), 2);
        QCOMPARE(dialogs[1].title, title);
        QCOMPARE(dialogs[1].filter, filter);
        QCOMPARE(dialogs[1].mode, FileDialog::Mode::Open);
        QCOMPARE(target->text(), QString("Assets\\a.x"));
        QVERIFY(e.docs.document().modified);
    }

    void excludedRowStillBrowsesAndTexturesShareADialog()
    {
        EditorWindow e;
        e.docs.newDocument(DocumentKind::LevelNfo);
        LevelPanel *panel = e.docs.panel<LevelPanel>();
        panel->includeBox(LevelRow::LoadingScreen)->setChecked(false);
        QVERIFY(panel->browseButton(LevelRow::LoadingScreen)->isVisibleTo(panel));
        e.script.choose(native("/elsewhere/first.tex"));
        panel->browseButton(LevelRow::LoadingScreen)->click();
        QCOMPARE(panel->valueEdit(LevelRow::LoadingScreen)->text(), native("/elsewhere/first.tex"));  // into the hidden box
        e.script.cancelFileDialog();
        panel->browseButton(LevelRow::Thumbnail)->click();
        QCOMPARE(e.script.takeFileDialogs().at(1).fileName, native("/elsewhere/first.tex"));
    }

    // A browse dialog starts at the file the field names, else at the file chosen last, else in
    // the game's own folder for the asset, else in the game folder.
    void browsingStartsWhereTheAuthorWorks_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("modelsFolder");
        QTest::addColumn<bool>("chosenBefore");  // Other/last.mdl
        QTest::addColumn<QString>("start");      // under the game folder
        QTest::newRow("a game-relative value") << "Models\\Ship.mdl" << true << true << "Models/Ship.mdl";
        QTest::newRow("an absolute value") << "<game>/Other/x.mdl" << true << true << "Other/x.mdl";
        QTest::newRow("a value in no folder: the file chosen last") << "Gone\\x.mdl" << true << true << "Other/last.mdl";
        QTest::newRow("nothing yet: the game's Models") << "" << true << false << "Models/";
        QTest::newRow("a texture in the model field: the game's Models") << "<game>/Other/pic.tex" << true << false << "Models/";
        QTest::newRow("no Models folder: the game folder") << "" << false << false << "";
    }

    void browsingStartsWhereTheAuthorWorks()
    {
        QFETCH(QString, value);
        QFETCH(bool, modelsFolder);
        QFETCH(bool, chosenBefore);
        QFETCH(QString, start);
        EditorWindow e;
        const QString game = e.file("SS2");
        QVERIFY(QDir().mkpath(game + "/Other"));
        if (modelsFolder)
            QVERIFY(QDir().mkpath(game + "/Models"));
        Settings::write(Settings::GameFolder, game + QDir::separator());
        e.docs.newDocument(DocumentKind::LevelNfo);
        LevelPanel *panel = e.docs.panel<LevelPanel>();
        QPushButton *browse = panel->browseButton(LevelRow::LoadingModel);
        if (chosenBefore) {
            e.script.choose(native(game + "/Other/last.mdl"));
            browse->click();
        }
        panel->valueEdit(LevelRow::LoadingModel)->setText(QString(value).replace("<game>", game));
        e.script.cancelFileDialog();
        browse->click();
        QCOMPARE(e.script.takeFileDialogs().constLast().fileName, native(game + "/" + start));
        e.docs.setModified(false);
    }
};

QTEST_MAIN(TestTipsBrowse)
#include "test_tipsbrowse.moc"
