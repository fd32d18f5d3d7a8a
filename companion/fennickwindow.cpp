#include "companion/fennickwindow.h"

#include "companion/newfile.h"
#include "core/documentfile.h"
#include "core/episodenfo.h"
#include "core/levelnfo.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>

FennickWindow::MessageHook FennickWindow::messageHook;


QMessageBox::StandardButton FennickWindow::message(QWidget *parent, QMessageBox::Icon icon,
                                                   const QString &text, QMessageBox::StandardButtons buttons)
{
    if (messageHook)
        return messageHook(icon, text, buttons);
    QMessageBox box(icon, QStringLiteral("Brisquel"), QString(), buttons, parent);
    // Paths are shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    return QMessageBox::StandardButton(box.exec());
}

FennickWindow::FennickWindow(QString startPath, QWidget *parent)
    : QDialog(parent), m_startPath(std::move(startPath))
{
    setObjectName(QStringLiteral("newFileWindow"));
    setWindowTitle(QStringLiteral("New .nfo Files - Brisquel"));

    typeLabel = new QLabel(QStringLiteral("Select a type:"), this);
    levelOption = new QRadioButton(QStringLiteral("LEVEL"), this);
    episodeOption = new QRadioButton(QStringLiteral("EPISODE"), this);
    nameLabel = new QLabel(QStringLiteral("Name :"), this);
    nameEdit = new QLineEdit(NewFile::proposedName(m_startPath), this);
    okayButton = new QPushButton(QStringLiteral("Okay"), this);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    typeLabel->setObjectName(QStringLiteral("typeLabel"));
    levelOption->setObjectName(QStringLiteral("levelOption"));
    episodeOption->setObjectName(QStringLiteral("episodeOption"));
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    okayButton->setObjectName(QStringLiteral("okayButton"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    nameLabel->setBuddy(nameEdit);
    levelOption->setChecked(true);
    nameEdit->setMinimumWidth(nameEdit->fontMetrics().averageCharWidth() * 36);

    auto *types = new QHBoxLayout;
    types->addWidget(levelOption);
    types->addWidget(episodeOption);
    types->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okayButton);
    buttons->addWidget(cancelButton);
    auto *grid = new QGridLayout(this);
    grid->addWidget(typeLabel, 0, 0);
    grid->addLayout(types, 0, 1);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(nameEdit, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    // Enter presses Okay; Esc and the close box cancel.
    okayButton->setDefault(true);
    okayButton->setAutoDefault(true);
    cancelButton->setAutoDefault(false);
    connect(okayButton, &QPushButton::clicked, this, &FennickWindow::createFile);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    nameEdit->setFocus();
    nameEdit->selectAll();
}

void FennickWindow::createFile()
{
    const QString path = NewFile::targetPath(m_startPath, nameEdit->text());
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo target(path);
    // Only a plain file is made or replaced at the path given: a link would have the template
    // written wherever it leads (or make the file it names), and a pipe or device is no file.
    QString refusal;
    if (target.isSymLink())
        refusal = QStringLiteral("it is a link to '%1'").arg(QDir::toNativeSeparators(target.symLinkTarget()));
    else if (const auto what = DocumentFile::notPlainFile(path))
        refusal = QStringLiteral("it is %1").arg(*what);
    if (!refusal.isEmpty()) {
        message(this, QMessageBox::Critical, QStringLiteral("Cannot make the new file '%1': %2").arg(shown, refusal),
                QMessageBox::Ok);
        return;
    }
    if (target.exists()) {
        const auto answer = message(this, QMessageBox::Question,
                                    QStringLiteral("The file '%1' already exists. Do you want to replace it?")
                                        .arg(shown),
                                    QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    const QByteArray bytes = levelOption->isChecked() ? LevelNfo::newFileTemplate() : EpisodeNfo::newFileTemplate();
    QSaveFile file(path);
    QString failure;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failure = file.errorString();
    else if (!DocumentFile::writeWhole(file, bytes) || !file.commit())
        failure = file.errorString();
    if (!failure.isEmpty()) {
        message(this, QMessageBox::Critical,
                QStringLiteral("Cannot make the new file '%1': %2").arg(shown, failure), QMessageBox::Ok);
        return;
    }
    accept();
}

int runFennick(const QString &argumentText, bool readable)
{
    // A name that no path can spell would make a second file beside the one the desktop meant.
    if (!readable) {
        FennickWindow::message(nullptr, QMessageBox::Critical,
                               QStringLiteral("Cannot make a new file : the name '%1' is not valid in this "
                                              "system's encoding of file names.")
                                   .arg(argumentText),
                               QMessageBox::Ok);
        return 0;
    }
    if (argumentText.isEmpty() || argumentText == QLatin1String("%1")) {
        FennickWindow::message(nullptr, QMessageBox::NoIcon,
                               QStringLiteral("Cannot make a new file : no path was specified."),
                               QMessageBox::Ok);
        return 0;
    }
    FennickWindow window(argumentText);
    window.show();
    window.exec();
    return 0;
}
