#include "editor/mainwindow.h"

#include "ui/aboutdialog.h"
#include "editor/descriptionpanel.h"
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
    , status(log, (statusLabel = new QLabel(QStringLiteral("Ready"))), (statusPicture = new QLabel),
             &tips.timer, this)
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
    statusPicture->setObjectName(QStringLiteral("statusPicture"));
    statusPicture->setFixedSize(32, 32);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusLabel->setTextFormat(Qt::PlainText);
    statusRow->addWidget(statusPicture);
    statusRow->addWidget(statusLabel, 1);
    layout->addLayout(statusRow);
    setCentralWidget(central);

    const int line = fontMetrics().height();
    resize(line * 30, line * 36);

    tips.reportTip = [this](const QString &message, const QString &kind) {
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

    fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    newMenu = fileMenu->addMenu(QStringLiteral("&New"));
    newMenu->setObjectName(QStringLiteral("newMenu"));
    newDescriptionAction = action(newMenu, "newDescriptionAction", QStringLiteral("DSC (Description)"), {},
                       [this] { newCommand(DocKind::DSC); });
    newEpisodeAction = action(newMenu, "newEpisodeAction", QStringLiteral("Episode NFO (Info)"), {},
                          [this] { newCommand(DocKind::EpiNFO); });
    newLevelAction = action(newMenu, "newLevelAction", QStringLiteral("Level NFO (Info)"), {},
                          [this] { newCommand(DocKind::LvlNFO); });
    openMenu = fileMenu->addMenu(QStringLiteral("&Open"));
    openMenu->setObjectName(QStringLiteral("openMenu"));
    openDescriptionAction = action(openMenu, "openDescriptionAction", QStringLiteral("DSC (Description)"), {},
                        [this] { openDscCommand(); });
    openNfoAction = action(openMenu, "openNfoAction", QStringLiteral("NFO (Episode/Level)"), {},
                        [this] { openNfoCommand(); });
    fileMenu->addSeparator()->setObjectName(QStringLiteral("saveSeparator"));
    saveAction = action(fileMenu, "saveAction", QStringLiteral("Save"), QKeySequence::Save,
                     [this] { saveCommand(); });
    saveAsAction = action(fileMenu, "saveAsAction", QStringLiteral("Save As"),
                       QKeySequence(QStringLiteral("Ctrl+Shift+S")), [this] { saveAsCommand(); });
    fileMenu->addSeparator()->setObjectName(QStringLiteral("exitSeparator"));
    exitAction = action(fileMenu, "exitAction", QStringLiteral("Exit"), QKeySequence(QStringLiteral("Ctrl+E")),
                     [this] { close(); });

    optionsAction = menuBar()->addAction(QStringLiteral("&Options"));
    optionsAction->setObjectName(QStringLiteral("optionsAction"));
    connect(optionsAction, &QAction::triggered, this, [this] { optionsCommand(); });

    helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpAction = action(helpMenu, "helpAction", QStringLiteral("Help"), QKeySequence(Qt::Key_F1),
                         [this] { helpCommand(); });
    aboutAction = action(helpMenu, "aboutAction", QStringLiteral("About"),
                      QKeySequence(Qt::CTRL | Qt::Key_F1), [this] { aboutCommand(); });
}

void MainWindow::load(const QString &commandLineText, bool readable)
{
    log.clearLog();
    log.writeLog(QStringLiteral("Misc"),
                 QStringLiteral("----")
                     + QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat)
                     + QStringLiteral("----") + DocumentFile::CRLF);
    tips.fillTips();
    tips.timer.setInterval(Settings::tipIntervalMs());
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
    connect(&options, &OptionsDialog::tipIntervalSaved, &tips.timer, qOverload<int>(&QTimer::setInterval));
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

DescriptionPanel *MainWindow::descriptionPanel()
{
    if (!m_descriptionPanel) {
        m_descriptionPanel = new DescriptionPanel(centralWidget());
        m_descriptionPanel->hide();
        m_panels->insertWidget(0, m_descriptionPanel, 1);
        connect(m_descriptionPanel, &DescriptionPanel::changed, this, &MainWindow::markDirty);
    }
    return m_descriptionPanel;
}

void MainWindow::showPanelForKind(const QString &kind)
{
    QWidget *shown = nullptr;
    if (kind == DocKind::DSC)
        shown = descriptionPanel();
    else if (kind == DocKind::EpiNFO)
        shown = episodePanel();
    else if (kind == DocKind::LvlNFO)
        shown = levelPanel();
    else
        return;
    for (QWidget *panel : {static_cast<QWidget *>(m_descriptionPanel), static_cast<QWidget *>(m_episodePanel),
                           static_cast<QWidget *>(m_levelPanel)}) {
        if (panel && panel != shown)
            panel->hide();
    }
    shown->show();
    // Typing goes into the document at once: the name, or the description.
    if (shown == m_descriptionPanel)
        m_descriptionPanel->textEdit->setFocus();
    else if (shown == m_episodePanel)
        m_episodePanel->nameEdit()->setFocus();
    else
        m_levelPanel->valueEdit(LevelRow::Name)->setFocus();
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
            && exitAction->shortcut().matches(QKeySequence(key->keyCombination())) == QKeySequence::ExactMatch) {
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
