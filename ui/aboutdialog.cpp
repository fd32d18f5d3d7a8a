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

    auto *pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    pictureLabel->setPixmap(QIcon(QStringLiteral(":/about/picture.ico")).pixmap(48, 48));
    pictureLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *titleLabel = new QLabel(QStringLiteral("Brisquel"), this);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = titleLabel->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);
    auto *versionLabel = new QLabel(versionLine(), this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    auto *descriptionLabel = new QLabel(QStringLiteral("Brisquel for SS2"), this);
    descriptionLabel->setObjectName(QStringLiteral("descriptionLabel"));
    auto *disclaimerLabel = new QLabel(
        QStringLiteral("This program is free software and comes without warranty of any kind. Neither the program "
                       "nor its author takes any responsibility for damage to your files caused by its use. "
                       "Pass it on only free of charge and without any change."),
        this);
    disclaimerLabel->setObjectName(QStringLiteral("disclaimerLabel"));
    disclaimerLabel->setWordWrap(true);
    disclaimerLabel->setMinimumWidth(fontMetrics().averageCharWidth() * 48);

    auto *okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto *systemInfoButton = new QPushButton(QStringLiteral("&System Info..."), this);
    systemInfoButton->setObjectName(QStringLiteral("systemInfoButton"));
    systemInfoButton->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutDialog::startSystemInformation);

    auto *texts = new QVBoxLayout;
    texts->addWidget(titleLabel);
    texts->addWidget(versionLabel);
    texts->addWidget(descriptionLabel);
    texts->addSpacing(8);
    texts->addWidget(disclaimerLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(systemInfoButton);
    auto *grid = new QGridLayout(this);
    grid->addWidget(pictureLabel, 0, 0);
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
