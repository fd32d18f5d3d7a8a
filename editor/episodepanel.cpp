#include "editor/episodepanel.h"

#include "core/codepage.h"
#include "core/documentfile.h"
#include "ui/singlelineedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

EpisodePanel::EpisodePanel(QWidget *parent)
    : DocumentPanel(QStringLiteral("Properties (Episode .NFO)"), parent)
{
    setObjectName(QStringLiteral("episodePanel"));
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);
    grid->addWidget(new QLabel(QStringLiteral("Include"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 1);

    // Both rows are always written: their Include boxes are shown ticked and dimmed.
    const auto row = [this, grid](int gridRow, const QString &caption, const QString &name) {
        auto *include = new QCheckBox(caption, this);
        include->setObjectName(name + QStringLiteral("Include"));
        include->setChecked(true);
        include->setEnabled(false);
        grid->addWidget(include, gridRow, 0);
        auto *value = new QLineEdit(this);
        value->setObjectName(name + QStringLiteral("Edit"));
        value->setAccessibleName(caption);
        SingleLineEdit::setUp(value);
        connect(value, &QLineEdit::textChanged, this, &EpisodePanel::changed);
        return value;
    };
    m_nameEdit = row(1, QStringLiteral("Name"), QStringLiteral("name"));
    m_thumbnailEdit = row(2, QStringLiteral("Thumbnail"), QStringLiteral("thumbnail"));
    auto *browseButton = new QPushButton(QStringLiteral("..."), this);
    browseButton->setObjectName(QStringLiteral("thumbnailBrowse"));
    browseButton->setToolTip(QStringLiteral("Browse..."));
    browseButton->setAccessibleName(QStringLiteral("Thumbnail: Browse..."));
    browseButton->setFixedWidth(browseButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    connect(browseButton, &QPushButton::clicked, this, &EpisodePanel::browseRequested);

    grid->addWidget(m_nameEdit, 1, 1, 1, 2);
    grid->addWidget(m_thumbnailEdit, 2, 1);
    grid->addWidget(browseButton, 2, 2);
    setTabOrder(m_nameEdit, m_thumbnailEdit);
    setTabOrder(m_thumbnailEdit, browseButton);
}

EpisodeFields EpisodePanel::fields() const { return {m_nameEdit->text(), m_thumbnailEdit->text()}; }

void EpisodePanel::setFields(const EpisodeFields &fields)
{
    m_nameEdit->setText(fields.name);
    m_thumbnailEdit->setText(fields.thumbnail);
}

void EpisodePanel::showNewDocument() { setFields({}); }

Nfo::ParseOutcome EpisodePanel::readFile(const QByteArray &bytes)
{
    EpisodeFields read = fields();
    const Nfo::ParseOutcome outcome = EpisodeNfo::parse(DocumentFile::decode(bytes), read);
    setFields(read);
    return outcome;
}

DocumentPanel::Output EpisodePanel::output(const KeyLog &logKey)
{
    const EpisodeFields values = fields();
    return {EpisodeNfo::checkStorable(values), [values, logKey] {
                return CodePage::encode(EpisodeNfo::generate(values, logKey) + DocumentFile::CRLF);
            }};
}

QWidget *EpisodePanel::firstField() const { return m_nameEdit; }
