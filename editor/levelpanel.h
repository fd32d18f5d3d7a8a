#pragma once

#include "core/levelnfo.h"
#include "editor/nfopanel.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Level panel "Properties (Level .NFO)": fourteen rows of an Include box and the field's
// value controls. Optional rows hide their value controls while excluded.
class LevelPanel : public NfoPanel<LevelFields>
{
    Q_OBJECT

public:
    explicit LevelPanel(QWidget *parent = nullptr);
    static constexpr DocumentKind Kind = DocumentKind::LevelNfo;

    // The file includes the optional rows it names; the others stay excluded and hidden.
    void prepareForFile() override;
    QWidget *firstField() const override;
    Field fieldOf(const QString &key) const override;
    void valueChosen(QLineEdit *field) override;

    LevelFields fields() const override;
    // Shows the values; an optional row shows its value controls only while included.
    void setFields(const LevelFields &fields) override;

    QCheckBox *includeBox(LevelRow row) const { return m_includeBoxes[size_t(row)]; }
    // The row's text box; none for Map Type, Model Rotate, ETA and Locked?.
    QLineEdit *valueEdit(LevelRow row) const { return m_valueEdits[size_t(row)]; }
    // The row's browse button; none for the rows without an asset to pick.
    QPushButton *browseButton(LevelRow row) const { return m_browseButtons[size_t(row)]; }

protected:
    LevelFields fieldsForFile() const override;
    // A row left out of `fields` is unticked, its value kept as it is.
    void changeFields(const LevelFields &fields) override;

private:
    void createTextRows();
    QWidget *createMapTypeBoxes();
    QWidget *createDistanceBox();
    QWidget *createEtaBoxes();
    void layOutRows();
    void updateRowVisibility(LevelRow row);

    std::array<QCheckBox *, LevelRowCount> m_includeBoxes{};
    std::array<QLineEdit *, LevelRowCount> m_valueEdits{};
    std::array<QWidget *, LevelRowCount> m_values{};  // each row's value: a text box, or the controls of a choice
    std::array<QPushButton *, LevelRowCount> m_browseButtons{};
    std::array<QCheckBox *, 3> m_mapTypeBoxes{};  // Single Player, Co-Op, Deathmatch
    std::array<QRadioButton *, 2> m_rotateOptions{};  // Yes, No
    std::array<QRadioButton *, 2> m_lockedOptions{};  // Yes, No
    std::array<QLineEdit *, 3> m_etaEdits{};  // hours, minutes, seconds
    QWidget *m_rotateChoice = nullptr;
    QLabel *m_metersLabel = nullptr;  // "Meters", beside Model Distance
};
