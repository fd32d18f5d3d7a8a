#include "editor/episodepanel.h"

#include "ui/singlelineedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

EpisodePanel::EpisodePanel(QWidget *parent)
    : NfoPanel(QStringLiteral("Properties (Episode .NFO)"),
               {EpisodeFields::newDocument,
                [](const QString &text, EpisodeFields &fields) { return EpisodeNfo::parse(text, fields); },
                EpisodeNfo::generate, EpisodeNfo::loggedKeys,
                EpisodeNfo::checkStorable}, parent)
{
    setObjectName(QStringLiteral("episodePanel"));
    QGridLayout *grid = makeRowGrid();

    // Both rows are always written: their Include boxes are shown ticked and dimmed.
    const auto row = [this, grid](int gridRow, const QString &caption, const QString &name) {
        grid->addWidget(addIncludeBox(name + QStringLiteral("Include"), caption, true), gridRow, 0);
        auto *value = new QLineEdit(this);
        value->setObjectName(name + QStringLiteral("Edit"));
        value->setAccessibleName(caption);
        SingleLineEdit::setUp(value);
        connect(value, &QLineEdit::textChanged, this, &EpisodePanel::changed);
        return value;
    };
    m_nameEdit = row(1, QStringLiteral("Name"), QStringLiteral("name"));
    m_thumbnailEdit = row(2, QStringLiteral("Thumbnail"), QStringLiteral("thumbnail"));
    QPushButton *browseButton =
        addBrowseButton(QStringLiteral("thumbnailBrowse"), QStringLiteral("Thumbnail"), AssetKind::Texture, m_thumbnailEdit);

    grid->addWidget(m_nameEdit, 1, 1, 1, 2);
    grid->addWidget(m_thumbnailEdit, 2, 1);
    grid->addWidget(browseButton, 2, 2);
    giveAccessKeys({{findChild<QCheckBox *>(QStringLiteral("nameInclude")), m_nameEdit},
                    {findChild<QCheckBox *>(QStringLiteral("thumbnailInclude")), m_thumbnailEdit}});
    setTabOrder(m_nameEdit, m_thumbnailEdit);
    setTabOrder(m_thumbnailEdit, browseButton);
}

EpisodeFields EpisodePanel::fields() const
{
    return {SingleLineEdit::value(m_nameEdit), SingleLineEdit::value(m_thumbnailEdit)};
}

void EpisodePanel::setFields(const EpisodeFields &fields)
{
    SingleLineEdit::setValue(m_nameEdit, fields.name);
    SingleLineEdit::setValue(m_thumbnailEdit, fields.thumbnail);
}

void EpisodePanel::changeFields(const EpisodeFields &fields)
{
    SingleLineEdit::replaceValue(m_nameEdit, fields.name);
    SingleLineEdit::replaceValue(m_thumbnailEdit, fields.thumbnail);
}

QWidget *EpisodePanel::firstField() const { return m_nameEdit; }

DocumentPanel::Field EpisodePanel::fieldOf(const QString &key) const
{
    if (key == EpisodeNfo::NameKey)
        return {m_nameEdit, QStringLiteral("Name")};
    if (key == EpisodeNfo::ThumbnailKey)
        return {m_thumbnailEdit, QStringLiteral("Thumbnail")};
    return {};
}
