#pragma once

#include "core/episodenfo.h"
#include "editor/documentpanel.h"

class QLineEdit;

// The Episode panel "Properties (Episode .NFO)": Name and Thumbnail, both always written.
class EpisodePanel : public DocumentPanel
{
    Q_OBJECT

public:
    explicit EpisodePanel(QWidget *parent = nullptr);

    void showNewDocument() override;
    Nfo::ParseOutcome readFile(const QByteArray &bytes) override;
    Output output(const KeyLog &logKey) override;
    QWidget *firstField() const override;

    EpisodeFields fields() const;
    void setFields(const EpisodeFields &fields);

    QLineEdit *nameEdit() const { return m_nameEdit; }
    QLineEdit *thumbnailEdit() const { return m_thumbnailEdit; }

signals:
    void browseRequested();

private:
    QLineEdit *m_nameEdit = nullptr;
    QLineEdit *m_thumbnailEdit = nullptr;
};
