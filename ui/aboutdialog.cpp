#include "ui/aboutdialog.h"

#include "ui/sysinfo_win.h"
#include "ui/messagebox.h"
#include "version.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    Q_INIT_RESOURCE(about);
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About ") + QStringLiteral("Brisquel"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QIcon(QStringLiteral(":/about/picture.ico")).pixmap(48, 48));
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle = new QLabel(QStringLiteral("Brisquel"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(versionLine(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel(QStringLiteral("Brisquel for SS2"), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDisclaimer = new QLabel(
        QStringLiteral("This program is free software and comes without warranty of any kind. Neither the program "
                       "nor its author takes any responsibility for damage to your files caused by its use. "
                       "Pass it on only free of charge and without any change."),
        this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setMinimumWidth(fontMetrics().averageCharWidth() * 48);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::startSystemInformation);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription);
    texts->addSpacing(8);
    texts->addWidget(lblDisclaimer);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto *grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0);
    grid->addLayout(texts, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setHorizontalSpacing(16);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::versionLine()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(BRISQUEL_VERSION_MAJOR)
        .arg(BRISQUEL_VERSION_MINOR)
        .arg(BRISQUEL_VERSION_REVISION);
}

void AboutDialog::startSystemInformation()
{
#ifdef Q_OS_WIN
    if (SysInfo::startTool())
        return;
#endif
    MessageBox::show(this, MessageBox::Icon::None, MessageBox::Buttons::Ok,
                     QStringLiteral("System Information Is Unavailable At This Time"));
}
