#pragma once

#include "core/levelnfo.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Level panel "Properties (Level .NFO)": fourteen rows of an Include box and the field's
// value controls. Optional rows hide their value controls while excluded.
class LevelPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit LevelPanel(QWidget *parent = nullptr);

    // The values of a new document: every text empty, no game mode, ETA 00:00:00, both options
    // "Yes", every optional field included and shown.
    void resetToNewDocument();
    // Every optional field excluded and hidden (before a file's lines include them again).
    void excludeOptional();
    void updateRowVisibility(int index);

    LevelFields fields() const;
    void setFields(const LevelFields &fields);

    std::array<QCheckBox *, LevelFields::RowCount> includeBoxes{};
    std::array<QLineEdit *, LevelFields::TextCount> valueEdits{};
    std::array<QCheckBox *, 3> mapTypeBoxes{};
    std::array<QRadioButton *, 2> rotateOptions{};
    std::array<QRadioButton *, 2> lockedOptions{};
    std::array<QLineEdit *, 3> etaEdits{};
    std::array<QPushButton *, 6> browseButtons{};
    QWidget *rotateChoice = nullptr;
    QWidget *lockedChoice = nullptr;
    QLabel *metersLabel = nullptr;  // "Meters"

signals:
    // Any change of a value control or an Include box, by the user or by the program.
    void changed();
    void browseRequested(int index);
};
