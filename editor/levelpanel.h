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

    std::array<QCheckBox *, LevelFields::RowCount> LvlChkIn{};
    std::array<QLineEdit *, LevelFields::TextCount> LvlTxtVal{};
    std::array<QCheckBox *, 3> LvlChkType{};
    std::array<QRadioButton *, 2> LvlOptRot{};
    std::array<QRadioButton *, 2> LvlOptLock{};
    std::array<QLineEdit *, 3> LvlETA{};
    std::array<QPushButton *, 6> LvlNFOBrow{};
    QWidget *FrmRotate = nullptr;
    QWidget *FrmLocked = nullptr;
    QLabel *Label6 = nullptr;  // "Meters"

signals:
    // Any change of a value control or an Include box, by the user or by the program.
    void changed();
    void browseRequested(int index);
};
