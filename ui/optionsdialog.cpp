#include "ui/optionsdialog.h"

#include "ui/messagebox.h"
#include "core/settingsstore.h"
#include "ui/singlelineedit.h"
#include "core/settingskeys.h"
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

    Frame1 = new QGroupBox(QStringLiteral("Properties (Options)"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));

    auto *label1 = new QLabel(QStringLiteral("Serious Sam 2 Path:"), Frame1);
    label1->setObjectName(QStringLiteral("Label1"));
    TxtPath = new QLineEdit(Frame1);
    TxtPath->setObjectName(QStringLiteral("TxtPath"));
    SingleLineEdit::setUp(TxtPath);
    label1->setBuddy(TxtPath);
    auto *label5 = wrappedLabel(
        QStringLiteral("The location of your Serious Sam 2 folder. This is required so that we can use it to "
                       "cut off the unnecessary part of the path when you load textures, models or movies."),
        "Label5", Frame1);

    ChkShowTips = new QCheckBox(QStringLiteral("Show Status Bar Tips"), Frame1);
    ChkShowTips->setObjectName(QStringLiteral("ChkShowTips"));
    auto *label2 = new QLabel(QStringLiteral("Time :"), Frame1);
    label2->setObjectName(QStringLiteral("Label2"));
    auto *label3 = new QLabel(QStringLiteral("Every"), Frame1);
    label3->setObjectName(QStringLiteral("Label3"));
    TxtTime = new QLineEdit(Frame1);
    TxtTime->setObjectName(QStringLiteral("TxtTime"));
    TxtTime->setFixedWidth(TxtTime->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    auto *label4 = new QLabel(QStringLiteral("sec"), Frame1);
    label4->setObjectName(QStringLiteral("Label4"));
    auto *label6 = wrappedLabel(QStringLiteral("When this is enabled, the status bar will show tip every amount of "
                                               "seconds you typed in the box."),
                                "Label6", Frame1);
    Command1 = button(QStringLiteral("Make file (.dsc, .nfo) openable in editor"), "Command1", Frame1);
    auto *label7 = wrappedLabel(
        QStringLiteral("Make files openable and creatable so that you can just double click the file on the folder, "
                       "or create a new file just like what you did for the other types of file (eg. txt files). "
                       "This action should be already be done when you first startup the editor, so use it only "
                       "when it isn't working."),
        "Label7", Frame1);

    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(label1);
    pathRow->addWidget(TxtPath, 1);
    auto *tipsRow = new QHBoxLayout;
    tipsRow->addWidget(ChkShowTips);
    tipsRow->addSpacing(12);
    tipsRow->addWidget(label2);
    tipsRow->addWidget(label3);
    tipsRow->addWidget(TxtTime);
    tipsRow->addWidget(label4);
    tipsRow->addStretch();
    auto *commandRow = new QHBoxLayout;
    commandRow->addWidget(Command1);
    commandRow->addStretch();

    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addLayout(pathRow);
    frameLayout->addWidget(label5);
    frameLayout->addWidget(separatorLine(Frame1));
    frameLayout->addLayout(tipsRow);
    frameLayout->addWidget(label6);
    frameLayout->addWidget(separatorLine(Frame1));
    frameLayout->addLayout(commandRow);
    frameLayout->addWidget(label7);

    cmdOK = button(QStringLiteral("OK"), "cmdOK", this);
    cmdCancel = button(QStringLiteral("Cancel"), "cmdCancel", this);
    cmdApply = button(QStringLiteral("Apply"), "cmdApply", this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    // Wide enough for the wrapped texts to read as paragraphs; the height follows the text.
    Frame1->setMinimumWidth(fontMetrics().averageCharWidth() * 62);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, cmdApply);
    setTabOrder(cmdApply, TxtPath);
    setTabOrder(TxtPath, Command1);
    setTabOrder(Command1, ChkShowTips);
    setTabOrder(ChkShowTips, TxtTime);

    connect(ChkShowTips, &QCheckBox::toggled, this, &OptionsDialog::updateTimeBox);
    // Settings that could not be stored keep the dialog open, with what failed on show.
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (saveSettings())
            accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdApply, &QPushButton::clicked, this, [this] {
        if (!saveSettings())
            return;
        MessageBox::show(this, MessageBox::Icon::Information, MessageBox::Buttons::Ok,
                         QStringLiteral("Settings saved"));
    });
    connect(Command1, &QPushButton::clicked, this, &OptionsDialog::makeFilesOpenable);

    // The time check runs before any other control of the dialog takes the focus from TxtTime.
    for (QWidget *w : {static_cast<QWidget *>(TxtPath), static_cast<QWidget *>(ChkShowTips),
                       static_cast<QWidget *>(Command1), static_cast<QWidget *>(cmdOK),
                       static_cast<QWidget *>(cmdCancel), static_cast<QWidget *>(cmdApply)}) {
        w->installEventFilter(this);
    }
    TxtTime->installEventFilter(this);

    // The stored values. The box starts cleared, so only ticking it runs its rule.
    TxtPath->setText(SettingsStore::read(Settings::GameFolderSection, Settings::GameFolderKey,
                                         Settings::defaultGameFolder()));
    ChkShowTips->setChecked(Settings::tipsShown());
    TxtTime->setText(Settings::tipTimeText());
    cmdOK->setFocus();
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
    cmdOK->setFocus();
}

void OptionsDialog::updateTimeBox()
{
    const bool on = ChkShowTips->isChecked();
    TxtTime->setEnabled(on);
    QPalette palette = TxtTime->palette();
    palette.setColor(QPalette::Base, on ? QApplication::palette().color(QPalette::Base)
                                        : QApplication::palette().color(QPalette::Button));
    TxtTime->setPalette(palette);
}

bool OptionsDialog::validateTipTime()
{
    QString message;
    MessageBox::Icon icon = MessageBox::Icon::Critical;
    switch (Settings::checkTipTime(TxtTime->text())) {
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
    TxtTime->setFocus();
    return false;
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TxtTime && event->type() == QEvent::FocusOut) {
        // The focus is moving to another control of the dialog (not to the check's own message
        // box, nor to another window).
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        QWidget *next = QApplication::focusWidget();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && next && next != TxtTime
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
    QString failure;
    const bool stored =
        SettingsStore::write(Settings::GameFolderSection, Settings::GameFolderKey,
                             Settings::gameFolderToStore(TxtPath->text()), &failure)
        && SettingsStore::write(Settings::TipsSection, Settings::TipsOptionKey,
                                ChkShowTips->isChecked() ? QStringLiteral("1") : QStringLiteral("0"), &failure)
        && SettingsStore::write(Settings::TipsSection, Settings::TipTimeKey, TxtTime->text(), &failure);
    if (!stored) {
        m_status.reportUnexpectedError({AppError::FileAccess, failure});
        return false;
    }
    emit tipIntervalSaved(Settings::tipIntervalMs(TxtTime->text()));
    m_status.reportStatus(QStringLiteral("Settings saved."), QStringLiteral("Info"), true);
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
