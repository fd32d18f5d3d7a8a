#include "editor/mainwindow.h"

#include "core/documentfile.h"
#include "core/nfokind.h"
#include "core/settings.h"
#include "core/settingsstore.h"
#include "editor/documentcontroller.h"
#include "editor/documentpanel.h"
#include "shell/registerfiletypes.h"
#include "ui/aboutdialog.h"
#include "ui/desktop.h"
#include "ui/elidedlabel.h"
#include "ui/filedialog.h"
#include "ui/messagebox.h"
#include "ui/modcheckpane.h"
#include "ui/optionsdialog.h"
#include "ui/problemspane.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <tuple>

namespace {
// The panel's place: as large as the panel needs, so that the window opens with every row in view,
// but never wider than nine tenths of the screen nor higher than two thirds of it (a large scale,
// a small screen): beyond that it scrolls, and the window with its menu and status row still fits.
class PanelScroller : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    // At the least half the screen's height, so that the Problems pane below fits too.
    QSize minimumSizeHint() const override { return fitted(widget() ? widget()->minimumSizeHint() : QSize(), 2); }
    QSize sizeHint() const override { return fitted(widget() ? widget()->sizeHint() : QSize(), 3); }

private:
    // Bounded to 9/10 of the screen's width and 2/3 or 1/2 (`share`) of its height.
    QSize fitted(const QSize &needed, int share) const
    {
        const QSize available = screen()->availableGeometry().size();
        const QSize screenSize(available.width() * 9 / 10, available.height() * (share - 1) / share);
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        return (needed + QSize(bar, bar)).boundedTo(screenSize).expandedTo(QSize(bar * 4, bar * 4));
    }
};
// A file whose name no path of this system's encoding can spell.
AppError unspeltName(const QString &shown)
{
    return {AppError::BadFileName, QStringLiteral("The file name '%1' is not valid in this system's encoding of file "
                                                  "names, so the file cannot be opened. Rename it and open it again.")
                                       .arg(shown)};
}

// Whether a window of this size and place has its middle on a screen that it is no larger than.
bool fitsTheScreens(const QRect &frame)
{
    const QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        return false;
    const QSize available = screen->availableGeometry().size();
    return frame.width() <= available.width() && frame.height() <= available.height();
}
} // namespace

MainWindow::MainWindow(QString programFolder, QWidget *parent)
    : QMainWindow(parent)
    , m_programFolder(std::move(programFolder))
    , m_statusPicture(new QLabel)
    , m_statusLabel(new ElidedLabel(QStringLiteral("Ready")))
    , m_log(m_programFolder)
    , m_status(m_log, m_statusLabel, m_statusPicture, this)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Brisquel"));

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    // The panel scrolls when the window is smaller than it (a large font or scale, a small
    // screen); the status row stays in view below it.
    auto *scroller = new PanelScroller(central);
    scroller->setObjectName(QStringLiteral("panelScroller"));
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    auto *panelHolder = new QWidget(scroller);
    auto *panelArea = new QVBoxLayout(panelHolder);
    panelArea->setContentsMargins(0, 0, 0, 0);
    panelArea->addStretch();
    scroller->setWidget(panelHolder);
    layout->addWidget(scroller, 1);
    m_documents = new DocumentController(this, panelArea, m_status, m_log);
    connect(m_documents, &DocumentController::fileUsed, this, &MainWindow::rememberFile);
    // A mended file's findings go from the Mod check pane when it is saved.
    connect(m_documents, &DocumentController::saved, this, [this](const QString &path) {
        if (m_modCheck)
            m_modCheck->refreshFile(path);
    });
    // The open document's findings below the fields (the pane is made with the first findings).
    connect(m_documents, &DocumentController::checked, this,
            [this](const QList<ProblemsPane::Problem> &problems) { problemsPane()->showProblems(problems); });
    setAcceptDrops(true);

    // The status row: the kind's picture and the last report, cut at the window's edge.
    auto *statusRow = new QHBoxLayout;
    m_statusPicture->setObjectName(QStringLiteral("statusPicture"));
    m_statusPicture->setFixedSize(32, 32);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_statusLabel->setTextFormat(Qt::PlainText);
    statusRow->addWidget(m_statusPicture);
    statusRow->addWidget(m_statusLabel, 1);
    layout->addLayout(statusRow);
    setCentralWidget(central);
    buildMenus();

    // The first size fits the screen at any scale; a size and place kept from the last run win
    // (a place that no longer fits the screens is moved onto them).
    const int line = fontMetrics().height();
    const QSize available = screen()->availableGeometry().size();
    const int paneHeight = line * 14;  // the Problems pane: its title, its summary and a few findings
    const QSize firstSize = QSize(line * 40, line * 36 + paneHeight).boundedTo(available * 9 / 10);
    // The first place is the middle of the screen, where the first-start greeting shows over it.
    const QRect firstPlace = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, firstSize,
                                                 screen()->availableGeometry());
    setGeometry(firstPlace);
    // A stored size and place that no screen can show (a damaged or hand-made setting, a screen
    // that has gone) would leave the window without its menu: the first size applies instead.
    if (restoreGeometry(QByteArray::fromBase64(Settings::read(Settings::WindowGeometry).toLatin1()))
        && !fitsTheScreens(frameGeometry())) {
        setWindowState(Qt::WindowNoState);
        setGeometry(firstPlace);
    }

    m_tips.reportTip = [this](const QString &message, StatusKind kind) { m_status.reportStatus(message, kind); };
    connect(&m_status, &StatusReporter::reported, &m_tips, &TipRotation::restartCountdown);
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
    DocumentController *documents = m_documents;

    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    // The entries' captions with an access key each: their first letter ("&DSC (Description)").
    const auto keyed = [](const QString &caption) { return QLatin1Char('&') + caption; };
    QMenu *newMenu = fileMenu->addMenu(QStringLiteral("&New"));
    newMenu->setObjectName(QStringLiteral("newMenu"));
    for (DocumentKind kind : DocumentTypes::All) {
        const DocumentType &type = DocumentTypes::of(kind);
        action(newMenu, type.newAction, keyed(type.newCaption), {}, [documents, kind] { documents->newDocument(kind); });
    }
    QMenu *openMenu = fileMenu->addMenu(QStringLiteral("&Open"));
    openMenu->setObjectName(QStringLiteral("openMenu"));
    for (DocumentKind kind : DocumentTypes::All) {
        const DocumentType &type = DocumentTypes::of(kind);
        if (!type.openCaption.isEmpty())
            action(openMenu, type.openAction, keyed(type.openCaption), {}, [documents, kind] { documents->open(kind); });
    }
    // Ctrl+N and Ctrl+O, beside the menus the program has always had: a new document of the kind
    // being edited, and any document by one dialog.
    for (auto [name, keys, slot] : {std::tuple{"newSameKindAction", QKeySequence::New, &DocumentController::newOfTheSameKind},
                                    std::tuple{"openAnyKindAction", QKeySequence::Open, &DocumentController::openAnyKind}}) {
        auto *item = new QAction(this);
        item->setObjectName(QLatin1String(name));
        item->setShortcut(keys);
        connect(item, &QAction::triggered, documents, slot);
        addAction(item);
    }
    m_recentMenu = fileMenu->addMenu(QStringLiteral("&Recent"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    action(fileMenu, "checkModAction", QStringLiteral("&Check Mod Folder..."), {}, [this] { checkModFolder(); });
    fileMenu->addSeparator()->setObjectName(QStringLiteral("saveSeparator"));
    action(fileMenu, "saveAction", QStringLiteral("&Save"), QKeySequence::Save, [documents] { documents->save(); });
    action(fileMenu, "saveAsAction", QStringLiteral("Save &As"), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
           [documents] { documents->saveAs(); });
    fileMenu->addSeparator()->setObjectName(QStringLiteral("exitSeparator"));
    m_exitAction = action(fileMenu, "exitAction", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+E")),
                          [this] { close(); });

    QAction *optionsAction = menuBar()->addAction(QStringLiteral("&Options"));
    optionsAction->setObjectName(QStringLiteral("optionsAction"));
    connect(optionsAction, &QAction::triggered, this, &MainWindow::showOptions);

    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    action(helpMenu, "helpAction", QStringLiteral("Help"), QKeySequence(Qt::Key_F1), [this] { showHelp(); });
    action(helpMenu, "aboutAction", QStringLiteral("About"), QKeySequence(Qt::CTRL | Qt::Key_F1),
           [this] { showAbout(); });
}

void MainWindow::runStartUp(const QString &commandLineText, bool readable)
{
    m_log.clearLog();
    m_log.writeLog(StatusKind::Misc,
                 QStringLiteral("----")
                     + QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat)
                     + QStringLiteral("----") + DocumentFile::CRLF);
    m_tips.fillTips();
    m_tips.timer.setInterval(Settings::tipIntervalMs());
    m_documents->clear();
    m_status.reportStatus(QStringLiteral("Ready"), StatusKind::Info);
    // Said once: every setting is its default, and nothing is stored.
    const std::optional<QString> noSettings = SettingsStore::unusable();
    if (noSettings)
        m_status.reportStatus(*noSettings, StatusKind::Warning);
    if (!readable) {
        m_status.reportError(unspeltName(commandLineText));
    } else if (!commandLineText.isEmpty() && commandLineText != QLatin1String("%1")) {
        m_documents->openFromCommandLine(commandLineText);
    }
    // Without a store the first start could never be marked done: it would greet at every start.
    // The greeting waits for the window to be shown, so that it is centred over it rather than
    // over a window not yet placed.
    if (!noSettings)
        QTimer::singleShot(0, this, &MainWindow::runFirstStartCheck);
}

void MainWindow::showAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::checkModFolder()
{
    // The folder checked last, else the open document's.
    QString start = Settings::read(Settings::CheckedFolder);
    if (start.isEmpty() && !m_documents->document().path.isEmpty())
        start = QFileInfo(m_documents->document().path).absolutePath();
    const auto folder = FileDialog::show(this, {FileDialog::Mode::Folder, QStringLiteral("Check Mod Folder..."), QString(),
                                                QDir::toNativeSeparators(start)});
    if (!folder)
        return;
    try {
        Settings::write(Settings::CheckedFolder, *folder);
    } catch (const AppError &error) {
        m_status.reportStatus(error.description, StatusKind::Warning);
    }
    modCheckPane()->check(*folder);
}

ProblemsPane *MainWindow::problemsPane()
{
    if (!m_problems) {
        m_problems = new ProblemsPane(this);
        addDockWidget(Qt::BottomDockWidgetArea, m_problems);
        // A finding leads to its field.
        connect(m_problems, &ProblemsPane::fieldRequested, m_documents, &DocumentController::focusField);
        connect(m_problems, &ProblemsPane::fixRequested, m_documents, &DocumentController::fix);
        connect(m_problems, &ProblemsPane::fixAllRequested, m_documents, &DocumentController::fixAll);
    }
    return m_problems;
}

ModCheckPane *MainWindow::modCheckPane()
{
    // Made at the first check: a window that checks nothing does not pay for it.
    if (!m_modCheck) {
        m_modCheck = new ModCheckPane(this);
        addDockWidget(Qt::BottomDockWidgetArea, m_modCheck);
        tabifyDockWidget(problemsPane(), m_modCheck);
        connect(m_modCheck, &ModCheckPane::openRequested, this,
                [this](const QString &path, const QString &key, const QString &shown) {
            if (path.isEmpty()) {
                m_status.reportError(unspeltName(shown));
                return;
            }
            m_documents->openFile(path);
            if (m_documents->document().path == QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
                m_documents->focusField(key);
        });
        // The open document is mended in the editor, never behind it on disk.
        m_modCheck->setOpenDocumentFixer([this](const QString &path) {
            if (!m_documents->isOpenFile(path))
                return false;
            m_documents->fixAll();
            return true;
        });
    }
    return m_modCheck;
}

void MainWindow::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = Settings::recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        // "&" in a name is shown, not taken as the access key.
        const QString shown = QDir::toNativeSeparators(files.at(i)).replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *item = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(QString::number(i + 1), shown));
        item->setObjectName(QStringLiteral("recentFileAction"));
        const QString path = files.at(i);
        connect(item, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    if (files.isEmpty())
        m_recentMenu->addAction(QStringLiteral("No recent files"))->setEnabled(false);
    m_recentMenu->addSeparator();
    QAction *clear = m_recentMenu->addAction(QStringLiteral("&Clear Recent"));
    clear->setObjectName(QStringLiteral("clearRecentAction"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] { storeRecentFiles([] { Settings::clearRecentFiles(); }); });
}

void MainWindow::openRecent(const QString &path)
{
    if (QFileInfo(path).isFile()) {
        m_documents->openFile(path);
        return;
    }
    // What is there now, if anything: a folder, a pipe, a device.
    QString why = QStringLiteral("'%1' no longer exists").arg(QDir::toNativeSeparators(path));
    if (QFileInfo::exists(path)) {
        try {
            DocumentFile::readBytes(path, 0);
        } catch (const AppError &error) {
            why = error.description;
        }
    }
    if (storeRecentFiles([&] { Settings::updateRecentFiles(path, false); }))
        m_status.reportStatus(why + QStringLiteral(": it is taken off the recent files"), StatusKind::Warning);
}

void MainWindow::rememberFile(const QString &path)
{
    storeRecentFiles(
        [&] { Settings::updateRecentFiles(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), true); });
}

bool MainWindow::storeRecentFiles(const std::function<void()> &update)
{
    // The list is a convenience: a store that cannot be written is a warning, not an error (and
    // none at all where the start said that nothing is stored).
    if (SettingsStore::unusable())
        return false;
    try {
        update();
        return true;
    } catch (const AppError &error) {
        m_status.reportStatus(error.description, StatusKind::Warning);
        return false;
    }
}

void MainWindow::openDropped(const QString &path)
{
    if (NfoKind::isDocumentName(path)) {
        m_documents->openFile(path);
        return;
    }
    m_status.reportStatus(QStringLiteral("'%1' is not a .nfo or .dsc file: Brisquel opens only those").arg(path),
                          StatusKind::Warning);
}

void MainWindow::showOptions()
{
    OptionsDialog options(m_status, [this](QString *failure) { return registerFileTypes(failure); }, this);
    connect(&options, &OptionsDialog::tipIntervalSaved, &m_tips.timer, qOverload<int>(&QTimer::setInterval));
    options.exec();
}

void MainWindow::runFirstStartCheck()
{
    if (!Settings::isFirstStart())
        return;
    // A registration that fails is said (the user can try again from Options), not kept quiet.
    if (QString failure; !registerFileTypes(&failure)) {
        m_status.reportStatus(QStringLiteral("The files could not be made openable: %1").arg(failure),
                              StatusKind::Error);
    }
    m_log.writeLog(StatusKind::Info, QStringLiteral("First time using Brisquel"));
    MessageBox::show(this, MessageBox::Icon::None, MessageBox::Buttons::Ok,
                     QStringLiteral("This must be your first time starting 'Brisquel'. Please change the settings "
                                    "to serve you better."));
    showOptions();
    try {
        Settings::markFirstStartDone();
    } catch (const AppError &error) {
        m_status.reportError(error);
    }
}

bool MainWindow::registerFileTypes(QString *failure)
{
    // The desktop is to start this very program, whatever its file is called.
    return FileTypes::registerFileTypes(m_programFolder, QCoreApplication::applicationFilePath(), failure);
}

void MainWindow::showHelp()
{
    const QString page = QDir::toNativeSeparators(m_programFolder + QStringLiteral("/Help/index.htm"));
    if (!Desktop::openFile(page)) {
        m_status.reportStatus(QStringLiteral("Cannot open the help page '%1': the desktop has no program to show it")
                                .arg(page),
                            StatusKind::Error);
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+E is Exit everywhere in the window: a text box would otherwise take it as "end of line"
    // and leave no way out by keyboard while typing.
    // A file dropped anywhere on the window opens; the text boxes do not take it as text.
    const auto type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        auto *drop = static_cast<QDropEvent *>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        if (widget && widget->window() == this && !urls.isEmpty() && urls.constFirst().isLocalFile()
            && !DocumentPanel::takesDrop(watched, drop->mimeData())) {
            drop->acceptProposedAction();
            // Accepted now, opened once the drop has returned: a question about unsaved changes
            // asked inside the drop takes no input under some desktops and holds the program the
            // file came from (Explorer) until it is answered.
            if (type == QEvent::Drop) {
                QMetaObject::invokeMethod(this, [this, path = QDir::toNativeSeparators(urls.constFirst().toLocalFile())] {
                    openDropped(path);
                }, Qt::QueuedConnection);
            }
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this
            && m_exitAction->shortcut().matches(QKeySequence(key->keyCombination())) == QKeySequence::ExactMatch) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_documents->maySaveBeforeClosing()) {
        event->ignore();
        return;
    }
    // Nothing goes on checking behind a window that has gone.
    m_documents->liveCheck().stop();
    if (m_modCheck)
        m_modCheck->stop();
    try {
        Settings::write(Settings::WindowGeometry, QString::fromLatin1(saveGeometry().toBase64()));
    } catch (const AppError &error) {
        m_log.writeLog(StatusKind::Warning, error.description);
    }
    m_log.writeLog(StatusKind::Info, QStringLiteral("Brisquel is shutting down"));
    event->accept();
}
