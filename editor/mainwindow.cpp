#include "editor/mainwindow.h"

#include "ui/aboutdialog.h"
#include "editor/dscpanel.h"
#include "editor/episodepanel.h"
#include "editor/levelpanel.h"
#include "core/documentfile.h"
#include "ui/desktop.h"
#include "ui/messagebox.h"
#include "core/settingsstore.h"
#include "ui/optionsdialog.h"
#include "core/settingskeys.h"
#include "shell/registerfiletypes.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

MainWindow::MainWindow(QString programFolder, QWidget *parent)
    : QMainWindow(parent)
    , log(programFolder)
    , status(log, (LblStatus = new QLabel(QStringLiteral("Ready"))), (ImgStatus = new QLabel),
             &form2.Timer1, this)
    , m_programFolder(std::move(programFolder))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Brisquel"));
    buildMenus();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    m_panels = new QVBoxLayout;
    m_panels->addStretch();
    layout->addLayout(m_panels, 1);

    // The status row: the kind's picture and the last report, cut at the window's edge.
    auto *statusRow = new QHBoxLayout;
    ImgStatus->setObjectName(QStringLiteral("ImgStatus"));
    ImgStatus->setFixedSize(32, 32);
    LblStatus->setObjectName(QStringLiteral("LblStatus"));
    LblStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    LblStatus->setTextFormat(Qt::PlainText);
    statusRow->addWidget(ImgStatus);
    statusRow->addWidget(LblStatus, 1);
    layout->addLayout(statusRow);
    setCentralWidget(central);

    const int line = fontMetrics().height();
    resize(line * 30, line * 36);

    form2.reportTip = [this](const QString &message, const QString &kind) {
        status.reportStatus(message, kind, true);
    };
    // Sees the shortcut checks of the text boxes (see eventFilter).
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    auto action = [this](QMenu *menu, const char *name, const QString &caption,
                         const QKeySequence &shortcut, auto slot) {
        auto *item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        item->setShortcut(shortcut);
        connect(item, &QAction::triggered, this, slot);
        return item;
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = mnuFile->addMenu(QStringLiteral("&New"));
    mnuNew->setObjectName(QStringLiteral("mnuNew"));
    mnuNewDSC = action(mnuNew, "mnuNewDSC", QStringLiteral("DSC (Description)"), {},
                       [this] { newCommand(DocKind::DSC); });
    mnuNewEpiNFO = action(mnuNew, "mnuNewEpiNFO", QStringLiteral("Episode NFO (Info)"), {},
                          [this] { newCommand(DocKind::EpiNFO); });
    mnuNewLvlNFO = action(mnuNew, "mnuNewLvlNFO", QStringLiteral("Level NFO (Info)"), {},
                          [this] { newCommand(DocKind::LvlNFO); });
    mnuOpen = mnuFile->addMenu(QStringLiteral("&Open"));
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuOpenDSC = action(mnuOpen, "mnuOpenDSC", QStringLiteral("DSC (Description)"), {},
                        [this] { openDscCommand(); });
    mnuOpenNFO = action(mnuOpen, "mnuOpenNFO", QStringLiteral("NFO (Episode/Level)"), {},
                        [this] { openNfoCommand(); });
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuS1"));
    mnuSave = action(mnuFile, "mnuSave", QStringLiteral("Save"), QKeySequence::Save,
                     [this] { saveCommand(); });
    mnuSaveAs = action(mnuFile, "mnuSaveAs", QStringLiteral("Save As"),
                       QKeySequence(QStringLiteral("Ctrl+Shift+S")), [this] { saveAsCommand(); });
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuS2"));
    mnuExit = action(mnuFile, "mnuExit", QStringLiteral("Exit"), QKeySequence(QStringLiteral("Ctrl+E")),
                     [this] { close(); });

    mnuOptions = menuBar()->addAction(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    connect(mnuOptions, &QAction::triggered, this, [this] { optionsCommand(); });

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpFile = action(mnuHelp, "mnuHelpFile", QStringLiteral("Help"), QKeySequence(Qt::Key_F1),
                         [this] { helpCommand(); });
    mnuAbout = action(mnuHelp, "mnuAbout", QStringLiteral("About"),
                      QKeySequence(Qt::CTRL | Qt::Key_F1), [this] { aboutCommand(); });
}

void MainWindow::load(const QString &commandLineText, bool readable)
{
    log.clearLog();
    log.writeLog(QStringLiteral("Misc"),
                 QStringLiteral("----")
                     + QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat)
                     + QStringLiteral("----") + DocumentFile::CRLF);
    form2.fillTips();
    form2.Timer1.setInterval(Settings::tipIntervalMs());
    document = OpenDocument{};
    status.reportStatus(QStringLiteral("Ready"), QStringLiteral("Info"), true);
    if (!readable) {
        status.reportUnexpectedError(
            {AppError::BadFileName,
             QStringLiteral("The file name '%1' is not valid in this system's encoding of file names, so "
                            "the file cannot be opened. Rename it and open it again.")
                 .arg(commandLineText)});
    } else if (!commandLineText.isEmpty() && commandLineText != QLatin1String("%1")) {
        openFromCommandLine(commandLineText, document);
    }
    runFirstStartCheck();
}

void MainWindow::aboutCommand()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::optionsCommand()
{
    OptionsDialog options(status, [this](QString *failure) { return registerFileTypes(failure); }, this);
    connect(&options, &OptionsDialog::tipIntervalSaved, &form2.Timer1, qOverload<int>(&QTimer::setInterval));
    options.exec();
}

void MainWindow::runFirstStartCheck()
{
    if (SettingsStore::read(Settings::FirstRunKey, Settings::FirstRunKey, QStringLiteral("YES")) != QLatin1String("YES"))
        return;
    registerFileTypes();
    log.writeLog(QStringLiteral("Info"), QStringLiteral("First time using Brisquel"));
    MessageBox::show(this, MessageBox::Icon::None, MessageBox::Buttons::Ok,
                     QStringLiteral("This must be your first time starting 'Brisquel'. Please change the settings "
                                    "to serve you better."));
    optionsCommand();
    QString failure;
    if (!SettingsStore::write(Settings::FirstRunKey, Settings::FirstRunKey, QStringLiteral("NO"), &failure))
        status.reportUnexpectedError({AppError::FileAccess, failure});
}

bool MainWindow::registerFileTypes(QString *failure)
{
    // The desktop is to start this very program, whatever its file is called.
    return FileTypes::registerFileTypes(m_programFolder, QCoreApplication::applicationFilePath(), failure);
}

LevelPanel *MainWindow::levelPanel()
{
    if (!m_levelPanel) {
        m_levelPanel = new LevelPanel(centralWidget());
        m_levelPanel->hide();
        m_panels->insertWidget(0, m_levelPanel);
        connect(m_levelPanel, &LevelPanel::changed, this, &MainWindow::markDirty);
        connect(m_levelPanel, &LevelPanel::browseRequested, this, &MainWindow::browseForLevelAsset);
    }
    return m_levelPanel;
}

EpisodePanel *MainWindow::episodePanel()
{
    if (!m_episodePanel) {
        m_episodePanel = new EpisodePanel(centralWidget());
        m_episodePanel->hide();
        m_panels->insertWidget(0, m_episodePanel);
        connect(m_episodePanel, &EpisodePanel::changed, this, &MainWindow::markDirty);
        connect(m_episodePanel, &EpisodePanel::browseRequested, this, &MainWindow::browseForEpisodeThumbnail);
    }
    return m_episodePanel;
}

DscPanel *MainWindow::dscPanel()
{
    if (!m_dscPanel) {
        m_dscPanel = new DscPanel(centralWidget());
        m_dscPanel->hide();
        m_panels->insertWidget(0, m_dscPanel, 1);
        connect(m_dscPanel, &DscPanel::changed, this, &MainWindow::markDirty);
    }
    return m_dscPanel;
}

void MainWindow::showPanelForKind(const QString &kind)
{
    QWidget *shown = nullptr;
    if (kind == DocKind::DSC)
        shown = dscPanel();
    else if (kind == DocKind::EpiNFO)
        shown = episodePanel();
    else if (kind == DocKind::LvlNFO)
        shown = levelPanel();
    else
        return;
    for (QWidget *panel : {static_cast<QWidget *>(m_dscPanel), static_cast<QWidget *>(m_episodePanel),
                           static_cast<QWidget *>(m_levelPanel)}) {
        if (panel && panel != shown)
            panel->hide();
    }
    shown->show();
    // Typing goes into the document at once: the name, or the description.
    if (shown == m_dscPanel)
        m_dscPanel->TextDSC->setFocus();
    else if (shown == m_episodePanel)
        m_episodePanel->EpiTxtVal[0]->setFocus();
    else
        m_levelPanel->LvlTxtVal[0]->setFocus();
}

void MainWindow::setDocumentTitle(const QString &kind, const QString &fileTitle)
{
    QString title = QStringLiteral("Brisquel - ") + fileTitle;
    if (kind == DocKind::EpiNFO)
        title += QStringLiteral(" (Episode NFO)");
    else if (kind == DocKind::LvlNFO)
        title += QStringLiteral(" (Level NFO)");
    setWindowTitle(title);
}

bool MainWindow::trapped(const std::function<void()> &operation)
{
    try {
        operation();
        return true;
    } catch (const AppError &error) {
        status.reportUnexpectedError(error);
        return false;
    }
}

void MainWindow::helpCommand()
{
    const QString page = QDir::toNativeSeparators(m_programFolder + QStringLiteral("/Help/index.htm"));
    if (!Desktop::openFile(page)) {
        status.reportStatus(QStringLiteral("Cannot open the help page '%1': the desktop has no program to show it")
                                .arg(page),
                            QStringLiteral("Error"), true);
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+E is Exit everywhere in the window: a text box would otherwise take it as "end of line"
    // and leave no way out by keyboard while typing.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this
            && mnuExit->shortcut().matches(QKeySequence(key->keyCombination())) == QKeySequence::ExactMatch) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const int answer = askSaveCurrent(document);
    if (answer == 0) {
        event->ignore();
        return;
    }
    // A cancelled Save As does not stop the shutdown; a save that failed does, so that the
    // changes the user asked to keep are not thrown away.
    if (answer == 1 && saveCommand() == SaveOutcome::Failed) {
        event->ignore();
        return;
    }
    log.writeLog(QStringLiteral("Info"), QStringLiteral("Brisquel is shutting down"));
    event->accept();
}
