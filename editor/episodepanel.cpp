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
    setObjectName(QStringLiteral("episodePanel"));
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
        includeBoxes[size_t(i)] = include;
        auto *value = new QLineEdit(this);
        value->setObjectName(QStringLiteral("EpiTxtVal_%1").arg(i));
        SingleLineEdit::setUp(value);
        connect(value, &QLineEdit::textChanged, this, &EpisodePanel::changed);
        valueEdits[size_t(i)] = value;
        grid->addWidget(include, i + 1, 0);
    }
    browseButton = new QPushButton(QStringLiteral("..."), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setToolTip(QStringLiteral("Browse..."));
    browseButton->setFixedWidth(browseButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    connect(browseButton, &QPushButton::clicked, this, &EpisodePanel::browseRequested);

    grid->addWidget(valueEdits[0], 1, 1, 1, 2);
    grid->addWidget(valueEdits[1], 2, 1);
    grid->addWidget(browseButton, 2, 2);
    setTabOrder(valueEdits[0], valueEdits[1]);
    setTabOrder(valueEdits[1], browseButton);
}

EpisodeFields EpisodePanel::fields() const { return {valueEdits[0]->text(), valueEdits[1]->text()}; }

void EpisodePanel::setFields(const EpisodeFields &fields)
{
    valueEdits[0]->setText(fields.name);
    valueEdits[1]->setText(fields.thumbnail);
}
