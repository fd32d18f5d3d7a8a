#pragma once

#include "core/episodenfo.h"

#include <QGroupBox>

class QLineEdit;

// The Episode panel "Properties (Episode .NFO)": Name and Thumbnail, both always written.
class EpisodePanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit EpisodePanel(QWidget *parent = nullptr);

    EpisodeFields fields() const;
    void setFields(const EpisodeFields &fields);

    QLineEdit *nameEdit() const { return m_nameEdit; }
    QLineEdit *thumbnailEdit() const { return m_thumbnailEdit; }

signals:
    void changed();
    void browseRequested();

private:
    QLineEdit *m_nameEdit = nullptr;
    QLineEdit *m_thumbnailEdit = nullptr;
};
