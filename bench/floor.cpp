// The floor: the least a Qt Widgets window comparable to Brisquel's does at start-up. A menu bar,
// one panel of 14 rows of check boxes and line edits, a settings read and a timer.
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QMenu *newMenu = file->addMenu(QStringLiteral("&New"));
    for (const char *item : {"DSC (Description)", "Episode NFO (Info)", "Level NFO (Info)"})
        newMenu->addAction(QLatin1String(item));
    QMenu *open = file->addMenu(QStringLiteral("&Open"));
    open->addAction(QStringLiteral("DSC (Description)"));
    open->addAction(QStringLiteral("NFO (Episode/Level)"));
    file->addSeparator();
    file->addAction(QStringLiteral("Save"), QKeySequence::Save);
    file->addAction(QStringLiteral("Save As"));
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), QKeySequence(QStringLiteral("Ctrl+E")));
    window.menuBar()->addAction(QStringLiteral("&Options"));
    QMenu *help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Help"), QKeySequence(Qt::Key_F1));
    help->addAction(QStringLiteral("About"));

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    auto *panel = new QGroupBox(QStringLiteral("Properties"));
    auto *grid = new QGridLayout(panel);
    for (int row = 0; row < 14; ++row) {
        grid->addWidget(new QCheckBox(QStringLiteral("Row %1").arg(row)), row, 0);
        grid->addWidget(new QLineEdit, row, 1);
    }
    layout->addWidget(panel);
    layout->addWidget(new QLabel(QStringLiteral("Ready")));
    window.setCentralWidget(central);

    QSettings settings(QStringLiteral("Brisquel"), QStringLiteral("Brisquel"));
    QTimer timer;
    timer.setInterval(settings.value(QStringLiteral("Show Tips/Time"), 10).toInt() * 1000);
    timer.start();
    window.show();
    return app.exec();
}
