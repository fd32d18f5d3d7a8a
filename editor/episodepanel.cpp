#include "editor/episodepanel.h"

#include "ui/singlelineedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

EpisodePanel::EpisodePanel(QWidget *parent)
    : QGroupBox(QStringLiteral("Properties (Episode .NFO)"), parent)
{
    setObjectName(QStringLiteral("FrameEpiNFO"));
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel(QStringLiteral("Include"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 1);

    const std::array<QString, 2> captions{QStringLiteral("Name"), QStringLiteral("Thumbnail")};
    for (int i = 0; i < 2; ++i) {
        auto *include = new QCheckBox(captions[size_t(i)], this);
        include->setObjectName(QStringLiteral("EpiChkIn_%1").arg(i));
        include->setChecked(true);
        include->setEnabled(false);  // both rows are always written
        EpiChkIn[size_t(i)] = include;
        auto *value = new QLineEdit(this);
        value->setObjectName(QStringLiteral("EpiTxtVal_%1").arg(i));
        SingleLineEdit::setUp(value);
        connect(value, &QLineEdit::textChanged, this, &EpisodePanel::changed);
        EpiTxtVal[size_t(i)] = value;
        grid->addWidget(include, i + 1, 0);
    }
    EpiNFOBrow = new QPushButton(QStringLiteral("..."), this);
    EpiNFOBrow->setObjectName(QStringLiteral("EpiNFOBrow"));
    EpiNFOBrow->setToolTip(QStringLiteral("Browse..."));
    EpiNFOBrow->setFixedWidth(EpiNFOBrow->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    connect(EpiNFOBrow, &QPushButton::clicked, this, &EpisodePanel::browseRequested);

    grid->addWidget(EpiTxtVal[0], 1, 1, 1, 2);
    grid->addWidget(EpiTxtVal[1], 2, 1);
    grid->addWidget(EpiNFOBrow, 2, 2);
    setTabOrder(EpiTxtVal[0], EpiTxtVal[1]);
    setTabOrder(EpiTxtVal[1], EpiNFOBrow);
}

EpisodeFields EpisodePanel::fields() const { return {EpiTxtVal[0]->text(), EpiTxtVal[1]->text()}; }

void EpisodePanel::setFields(const EpisodeFields &fields)
{
    EpiTxtVal[0]->setText(fields.name);
    EpiTxtVal[1]->setText(fields.thumbnail);
}
