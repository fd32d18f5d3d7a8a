// The real message box and file dialog behind the seams, driven as a user would.

#include "ui/filedialog.h"
#include "ui/messagebox.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>


class TestPlatformSeams : public QObject
{
    Q_OBJECT

private slots:
    void realMessageBox_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("press");  // QMessageBox::StandardButton, or esc
        QTest::addColumn<int>("answer");
        using B = MessageBox::Buttons;
        using A = MessageBox::Answer;
        const int esc = QMessageBox::NoButton;
        QTest::newRow("ok") << int(B::Ok) << int(QMessageBox::Ok) << int(A::Ok);
        QTest::newRow("esc on ok") << int(B::Ok) << esc << int(A::Ok);
        QTest::newRow("no") << int(B::YesNoCancel) << int(QMessageBox::No) << int(A::No);
        QTest::newRow("esc cancels the prompt") << int(B::YesNoCancel) << esc << int(A::Cancel);
    }

    void realMessageBox()
    {
        QFETCH(int, buttons);
        QFETCH(int, press);
        QFETCH(int, answer);
        QString seenTitle, seenText;
        Qt::TextFormat seenFormat = Qt::AutoText;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenFormat = box->findChild<QLabel *>("qt_msgbox_label")->textFormat();
            seenIcon = box->icon();
            if (press != QMessageBox::NoButton)
                box->button(QMessageBox::StandardButton(press))->click();
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        // File lines and paths are quoted in boxes: shown as written, never as markup or links.
        const QString text = "Line '<b>x</b>=1' and <a href=\"file:///etc\">a link</a>\r\n\r\nError Number :5";
        const auto result = MessageBox::showReal(nullptr, {MessageBox::Icon::Critical,
                                                           MessageBox::Buttons(buttons), "Brisquel", text});
        QCOMPARE(int(result), answer);
        QCOMPARE(seenTitle, QString("Brisquel"));
        QCOMPARE(seenText, text);
        QCOMPARE(seenFormat, Qt::PlainText);
        QCOMPARE(seenIcon, QMessageBox::Critical);
    }

    // A box with a check box under its message: ticked with the mouse, answered with Enter, it
    // says it was ticked.
    void realMessageBoxWithACheckBox()
    {
        QString seenText;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            QCheckBox *tick = box->checkBox();
            seenText = tick ? tick->text() : QString();
            if (tick)
                QTest::mouseClick(tick, Qt::LeftButton, {}, QPoint(6, tick->height() / 2));
            QTest::keyClick(box, Qt::Key_Return);
        });
        bool checked = false;
        const auto result = MessageBox::showReal(nullptr, {MessageBox::Icon::Information, MessageBox::Buttons::Ok, "Brisquel",
                                                           "File 'a.nfo' was saved.", "Do not show this again", &checked});
        QCOMPARE(result, MessageBox::Answer::Ok);
        QCOMPARE(seenText, QString("Do not show this again"));
        QVERIFY(checked);
    }

    // Windows shows its own file dialog, which a test cannot drive; elsewhere it is Qt's.
#ifndef Q_OS_WIN
    void realSaveDialogAddsTheExtension()
    {
        TestFolder folder;
        QString seenTitle;
        QStringList seenFilters;
        QString seenFolder, seenName;
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            seenTitle = dialog->windowTitle();
            seenFilters = dialog->nameFilters();
            seenFolder = dialog->directory().absolutePath();
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            seenName = name->text();
            name->setText("typed");
            QTest::keyClick(name, Qt::Key_Return);
        });
        const auto chosen = FileDialog::showReal(
            nullptr, {FileDialog::Mode::Save, "Save .nfo (Level) file As...", "Level NFO (*.nfo)|*.nfo",
                      folder.path("last.nfo")});
        QCOMPARE(seenFolder, folder.path({}));
        QCOMPARE(seenName, QString("last.nfo"));
        QCOMPARE(seenTitle, QString("Save .nfo (Level) file As..."));
        QCOMPARE(seenFilters, QStringList{"Level NFO (*.nfo)"});
        QVERIFY(chosen);
        QCOMPARE(*chosen, folder.path("typed.nfo"));
    }

    void realOpenDialogCancelled()
    {
        whenShown<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
        const auto chosen = FileDialog::showReal(nullptr, {FileDialog::Mode::Open, "Open a .dsc file...",
                                                           "DSC Description File (*.dsc)|*.dsc", "last.dsc"});
        QVERIFY(!chosen);
    }
#endif

    // Every dialog starts in the folder of the name it offers, whichever folder the dialog before
    // it or the program was in: Windows' own dialog otherwise opens where any dialog was last.
    void dialogsStartInTheOfferedFolder_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("offered");  // in the document's folder
        QTest::addColumn<QString>("name");
        QTest::newRow("save as, the document's name") << int(FileDialog::Mode::Save) << "Episode.nfo" << "Episode.nfo";
        QTest::newRow("open, the name chosen last") << int(FileDialog::Mode::Open) << "Level.nfo" << "Level.nfo";
        QTest::newRow("a folder") << int(FileDialog::Mode::Folder) << "" << "";
    }

    void dialogsStartInTheOfferedFolder()
    {
        QFETCH(int, mode);
        QFETCH(QString, offered);
        QFETCH(QString, name);
        TestFolder folder;
        QDir(folder.path({})).mkpath("Mods/Karnak");
        QDir(folder.path({})).mkpath("Textures");
        const QString documents = folder.path("Mods/Karnak");
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path("Textures"));
        QFileDialog browse;
        FileDialog::prepare(browse, {FileDialog::Mode::Open, "Browse for a texture...", "Texture (*.tex)|*.tex",
                                     folder.path("Textures/Wall.tex")});
        QFileDialog dialog;
        FileDialog::prepare(dialog, {FileDialog::Mode(mode), "Save .nfo (Episode) file As...",
                                     "Episode NFO (*.nfo)|*.nfo",
                                     QDir::toNativeSeparators(offered.isEmpty() ? documents : documents + "/" + offered)});
        QDir::setCurrent(before);
        QCOMPARE(dialog.directory().absolutePath(), QDir(documents).absolutePath());
#ifndef Q_OS_WIN
        // Windows' own dialog takes the name when it opens.
        if (!name.isEmpty())
            QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).fileName(), name);
#endif
    }

    void dialogObjectRemembersTheChosenName()
    {
        DialogScript script;
        RememberedFileDialog dialog("Texture (*.tex)|*.tex");
        script.choose("/game/a.tex");
        QCOMPARE(dialog.run(nullptr, FileDialog::Mode::Open, "Browse for a texture..."), QString("/game/a.tex"));
        script.cancelFileDialog();
        QVERIFY(!dialog.run(nullptr, FileDialog::Mode::Open, "Browse for a texture..."));
        const auto shown = script.takeFileDialogs();
        QCOMPARE(shown[1].fileName, QString("/game/a.tex"));
        QCOMPARE(dialog.fileName(), QString("/game/a.tex"));
    }
};

QTEST_MAIN(TestPlatformSeams)
#include "test_platformseams.moc"
