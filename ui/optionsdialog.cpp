#include "ui/optionsdialog.h"

#include "ui/filedialog.h"
#include "ui/messagebox.h"
#include "ui/singlelineedit.h"
#include "core/settings.h"
#include "ui/statusreporter.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QApplication>
#include <QHBoxLayout>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel *wrappedLabel(const QString &text, const char *name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

QFrame *separatorLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);  // no button is pressed by Enter
    b->setDefault(false);
    return b;
}

} // namespace

OptionsDialog::OptionsDialog(StatusReporter &status, Registration registerFileTypes, QWidget *parent)
    : QDialog(parent), m_status(status), m_registerFileTypes(std::move(registerFileTypes))
{
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    createOptionsGroup();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(optionsGroup);
    layout->addLayout(createButtonRow());
    // Wide enough for the wrapped texts to read as paragraphs; the height follows the text.
    optionsGroup->setMinimumWidth(fontMetrics().averageCharWidth() * 62);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, applyButton);
    setTabOrder(applyButton, gamePathEdit);
    setTabOrder(gamePathEdit, gamePathBrowse);
    setTabOrder(gamePathBrowse, registerButton);
    setTabOrder(registerButton, showTipsBox);
    setTabOrder(showTipsBox, tipTimeEdit);
    setTabOrder(tipTimeEdit, savedMessageBox);

    connectControls();
    showStoredValues();
}

// The group of the three settings, each with its help text, separated by lines.
void OptionsDialog::createOptionsGroup()
{
    optionsGroup = new QGroupBox(QStringLiteral("Properties (Options)"), this);
    optionsGroup->setObjectName(QStringLiteral("optionsGroup"));

    auto *pathLabel = new QLabel(QStringLiteral("Serious Sam 2 Path:"), optionsGroup);
    pathLabel->setObjectName(QStringLiteral("pathLabel"));
    gamePathEdit = new QLineEdit(optionsGroup);
    gamePathEdit->setObjectName(QStringLiteral("gamePathEdit"));
    SingleLineEdit::setUp(gamePathEdit);
    pathLabel->setBuddy(gamePathEdit);
    auto *pathHelp = wrappedLabel(
        QStringLiteral("The location of your Serious Sam 2 folder. This is required so that we can use it to "
                       "cut off the unnecessary part of the path when you load textures, models or movies."),
        "pathHelp", optionsGroup);

    showTipsBox = new QCheckBox(QStringLiteral("Show Status Bar Tips"), optionsGroup);
    showTipsBox->setObjectName(QStringLiteral("showTipsBox"));
    auto *timeLabel = new QLabel(QStringLiteral("Time :"), optionsGroup);
    timeLabel->setObjectName(QStringLiteral("timeLabel"));
    auto *everyLabel = new QLabel(QStringLiteral("Every"), optionsGroup);
    everyLabel->setObjectName(QStringLiteral("everyLabel"));
    tipTimeEdit = new QLineEdit(optionsGroup);
    tipTimeEdit->setObjectName(QStringLiteral("tipTimeEdit"));
    timeLabel->setBuddy(tipTimeEdit);
    tipTimeEdit->setFixedWidth(tipTimeEdit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    auto *secondsLabel = new QLabel(QStringLiteral("sec"), optionsGroup);
    secondsLabel->setObjectName(QStringLiteral("secondsLabel"));
    auto *tipsHelp = wrappedLabel(QStringLiteral("When this is enabled, the status bar will show tip every amount of "
                                               "seconds you typed in the box."),
                                "tipsHelp", optionsGroup);
    savedMessageBox = new QCheckBox(QStringLiteral("Show a message after each save"), optionsGroup);
    savedMessageBox->setObjectName(QStringLiteral("savedMessageBox"));
    auto *savedHelp = wrappedLabel(QStringLiteral("When this is enabled, a message says that the file was saved; "
                                                "when it is not, the status bar says so. The message's \"Do not show "
                                                "this again\" box clears it."),
                                   "savedHelp", optionsGroup);
    registerButton = button(QStringLiteral("Make file (.dsc, .nfo) openable in editor"), "registerButton", optionsGroup);
    auto *registerHelp = wrappedLabel(
        QStringLiteral("Make files openable and creatable so that you can just double click the file on the folder, "
                       "or create a new file just like what you did for the other types of file (eg. txt files). "
                       "This action should be already be done when you first startup the editor, so use it only "
                       "when it isn't working."),
        "registerHelp", optionsGroup);
    // A screen reader reads each help text with its control.
    gamePathEdit->setAccessibleDescription(pathHelp->text());
    showTipsBox->setAccessibleDescription(tipsHelp->text());
    tipTimeEdit->setAccessibleDescription(tipsHelp->text());
    registerButton->setAccessibleDescription(registerHelp->text());
    savedMessageBox->setAccessibleDescription(savedHelp->text());

    gamePathBrowse = button(QStringLiteral("..."), "gamePathBrowse", optionsGroup);
    gamePathBrowse->setToolTip(QStringLiteral("Browse..."));
    gamePathBrowse->setAccessibleName(QStringLiteral("Serious Sam 2 Path: Browse..."));
    gamePathBrowse->setFixedWidth(gamePathBrowse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(gamePathEdit, 1);
    pathRow->addWidget(gamePathBrowse);
    auto *tipsRow = new QHBoxLayout;
    tipsRow->addWidget(showTipsBox);
    tipsRow->addSpacing(12);
    tipsRow->addWidget(timeLabel);
    tipsRow->addWidget(everyLabel);
    tipsRow->addWidget(tipTimeEdit);
    tipsRow->addWidget(secondsLabel);
    tipsRow->addStretch();
    auto *commandRow = new QHBoxLayout;
    commandRow->addWidget(registerButton);
    commandRow->addStretch();

    auto *frameLayout = new QVBoxLayout(optionsGroup);
    frameLayout->addLayout(pathRow);
    frameLayout->addWidget(pathHelp);
    frameLayout->addWidget(separatorLine(optionsGroup));
    frameLayout->addLayout(tipsRow);
    frameLayout->addWidget(tipsHelp);
    frameLayout->addWidget(savedMessageBox);
    frameLayout->addWidget(savedHelp);
    frameLayout->addWidget(separatorLine(optionsGroup));
    frameLayout->addLayout(commandRow);
    frameLayout->addWidget(registerHelp);
}

// OK, Cancel and Apply, to the right.
QHBoxLayout *OptionsDialog::createButtonRow()
{
    okButton = button(QStringLiteral("OK"), "okButton", this);
    cancelButton = button(QStringLiteral("Cancel"), "cancelButton", this);
    applyButton = button(QStringLiteral("Apply"), "applyButton", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(applyButton);
    return buttons;
}

void OptionsDialog::connectControls()
{
    connect(showTipsBox, &QCheckBox::toggled, this, &OptionsDialog::updateTimeBox);
    // Settings that could not be stored keep the dialog open, with what failed on show.
    connect(okButton, &QPushButton::clicked, this, [this] {
        if (saveSettings())
            accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(applyButton, &QPushButton::clicked, this, [this] {
        if (!saveSettings())
            return;
        MessageBox::show(this, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                         QStringLiteral("Settings saved"));
    });
    connect(registerButton, &QPushButton::clicked, this, &OptionsDialog::makeFilesOpenable);
    connect(gamePathBrowse, &QPushButton::clicked, this, [this] {
        if (const auto folder = FileDialog::show(this, {FileDialog::Mode::Folder, QStringLiteral("Serious Sam 2 Path"), {},
                                                        gamePathEdit->text()}))
            gamePathEdit->setText(Settings::gameFolderToStore(*folder));
    });

    // The time check runs before any other control of the dialog takes the focus from tipTimeEdit.
    for (QWidget *w : {static_cast<QWidget *>(gamePathEdit), static_cast<QWidget *>(gamePathBrowse),
                       static_cast<QWidget *>(showTipsBox),
                       static_cast<QWidget *>(savedMessageBox),
                       static_cast<QWidget *>(registerButton), static_cast<QWidget *>(okButton),
                       static_cast<QWidget *>(cancelButton), static_cast<QWidget *>(applyButton)}) {
        w->installEventFilter(this);
    }
    tipTimeEdit->installEventFilter(this);
}

// The stored values. The box starts cleared, so only ticking it runs its rule.
void OptionsDialog::showStoredValues()
{
    gamePathEdit->setText(Settings::gameFolderToEdit());
    showTipsBox->setChecked(Settings::tipsShown());
    tipTimeEdit->setText(Settings::tipTimeText());
    savedMessageBox->setChecked(Settings::savedBoxShown());
    okButton->setFocus();
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    okButton->setFocus();
}

void OptionsDialog::updateTimeBox()
{
    const bool on = showTipsBox->isChecked();
    tipTimeEdit->setEnabled(on);
    QPalette palette = tipTimeEdit->palette();
    palette.setColor(QPalette::Base, on ? QApplication::palette().color(QPalette::Base)
                                        : QApplication::palette().color(QPalette::Button));
    tipTimeEdit->setPalette(palette);
}

bool OptionsDialog::validateTipTime()
{
    QString message;
    MessageBox::Icon icon = MessageBox::Icon::Critical;
    switch (Settings::checkTipTime(tipTimeEdit->text())) {
    case Settings::TipTimeProblem::None: return true;
    case Settings::TipTimeProblem::NotANumber: message = QStringLiteral("The time for the tip is not a number!"); break;
    case Settings::TipTimeProblem::TooLong:
        message = QStringLiteral("The time for the tip cannot be more than a minute!");
        break;
    case Settings::TipTimeProblem::TooShort:
        message = QStringLiteral("Time is too small for the tip.");
        icon = MessageBox::Icon::None;
        break;
    }
    MessageBox::show(this, icon, MessageBox::Buttons::Ok, message);
    tipTimeEdit->setFocus();
    return false;
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tipTimeEdit && event->type() == QEvent::FocusOut) {
        // The focus is moving to another control of the dialog (not to the check's own message
        // box, nor to another window).
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        QWidget *next = QApplication::focusWidget();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && next && next != tipTimeEdit
            && isAncestorOf(next)) {
            m_refusedPress = reason == Qt::MouseFocusReason;
            if (validateTipTime())
                m_refusedPress = false;
        }
    } else if (m_refusedPress && (event->type() == QEvent::MouseButtonPress
                                  || event->type() == QEvent::MouseButtonDblClick)) {
        // The press that moved the focus away from a refused entry does not reach its control.
        m_refusedPress = false;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool OptionsDialog::saveSettings()
{
    try {
        Settings::write(Settings::GameFolder, Settings::gameFolderToStore(gamePathEdit->text()));
        Settings::write(Settings::ShowTips, showTipsBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        Settings::write(Settings::TipTime, tipTimeEdit->text());
        Settings::write(Settings::ShowSavedBox, savedMessageBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const AppError &error) {
        m_status.reportError(error);
        return false;
    }
    emit tipIntervalSaved(Settings::tipIntervalMs(tipTimeEdit->text()));
    m_status.reportStatus(QStringLiteral("Settings saved."), StatusKind::Info);
    return true;
}

void OptionsDialog::makeFilesOpenable()
{
    QString failure;
    if (m_registerFileTypes && m_registerFileTypes(&failure)) {
        MessageBox::show(this, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                         QStringLiteral("Opreation successful. You can now open the files by double-clicking it."));
    } else {
        MessageBox::show(this, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                         QStringLiteral("The files could not be made openable: %1").arg(failure));
    }
}
