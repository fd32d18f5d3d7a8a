#pragma once

#include "core/episodenfo.h"
#include "editor/nfopanel.h"

class QLineEdit;

// The Episode panel "Properties (Episode .NFO)": Name and Thumbnail, both always written.
class EpisodePanel : public NfoPanel<EpisodeFields>
{
    Q_OBJECT

public:
    explicit EpisodePanel(QWidget *parent = nullptr);
    static constexpr DocumentKind Kind = DocumentKind::EpisodeNfo;

    QWidget *firstField() const override;
    Field fieldOf(const QString &key) const override;

    EpisodeFields fields() const override;
    void setFields(const EpisodeFields &fields) override;

    QLineEdit *nameEdit() const { return m_nameEdit; }
    QLineEdit *thumbnailEdit() const { return m_thumbnailEdit; }

protected:
    void changeFields(const EpisodeFields &fields) override;

private:
    QLineEdit *m_nameEdit = nullptr;
    QLineEdit *m_thumbnailEdit = nullptr;
};
