#pragma once

#include "core/episodenfo.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The Episode panel "Properties (Episode .NFO)": Name and Thumbnail, both always written.
class EpisodePanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit EpisodePanel(QWidget *parent = nullptr);

    EpisodeFields fields() const;
    void setFields(const EpisodeFields &fields);

    std::array<QCheckBox *, 2> includeBoxes{};
    std::array<QLineEdit *, 2> valueEdits{};
    QPushButton *browseButton = nullptr;

signals:
    void changed();
    void browseRequested();
};
