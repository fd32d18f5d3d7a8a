#include "editor/levelpanel.h"

#include "ui/singlelineedit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

enum Row { Name, MapType, LoadingModel, ModelAnim, ModelRotate, ModelDistance, ModelName,
           LoadingScreen, Thumbnail, Eta, EpisodeMovie, IntroMovie, OutroMovie, Locked };

// The browse button of each asset row, by its LvlNFOBrow index.
constexpr std::array<int, 6> BrowseRows{LoadingModel, LoadingScreen, Thumbnail,
                                        EpisodeMovie, IntroMovie, OutroMovie};

QString indexed(const char *name, int index) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index); }

QLineEdit *narrowBox(QWidget *parent, const QString &name, int chars)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    const QFontMetrics metrics(box->font());
    box->setFixedWidth(metrics.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 16);
    return box;
}

QWidget *optionPair(QWidget *parent, const QString &frameName, std::array<QRadioButton *, 2> &pair,
                    const char *name)
{
    auto *frame = new QWidget(parent);
    frame->setObjectName(frameName);
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::array<QString, 2> captions{QStringLiteral("Yes"), QStringLiteral("No")};
    for (int i = 0; i < 2; ++i) {
        pair[size_t(i)] = new QRadioButton(captions[size_t(i)], frame);
        pair[size_t(i)]->setObjectName(indexed(name, i));
        layout->addWidget(pair[size_t(i)]);
    }
    layout->addStretch();
    return frame;
}

} // namespace

LevelPanel::LevelPanel(QWidget *parent) : QGroupBox(QStringLiteral("Properties (Level .NFO)"), parent)
{
    setObjectName(QStringLiteral("FrameLvlNFO"));
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);

    grid->addWidget(new QLabel(QStringLiteral("Include"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 1);

    for (int i = 0; i < LevelFields::TextCount; ++i) {
        if (i == 3)
            continue;  // Model Distance has its own short box, below
        LvlTxtVal[size_t(i)] = new QLineEdit(this);
        LvlTxtVal[size_t(i)]->setObjectName(indexed("LvlTxtVal", i));
        SingleLineEdit::setUp(LvlTxtVal[size_t(i)]);
        connect(LvlTxtVal[size_t(i)], &QLineEdit::textChanged, this, &LevelPanel::changed);
    }
    for (int i = 0; i < 6; ++i) {
        auto *button = new QPushButton(QStringLiteral("..."), this);
        button->setObjectName(indexed("LvlNFOBrow", i));
        button->setToolTip(QStringLiteral("Browse..."));
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
        connect(button, &QPushButton::clicked, this, [this, i] { emit browseRequested(i); });
        LvlNFOBrow[size_t(i)] = button;
    }

    // Map Type: three independent game modes.
    auto *mapTypes = new QWidget(this);
    auto *mapLayout = new QHBoxLayout(mapTypes);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    const std::array<QString, 3> modes{QStringLiteral("Single Player"), QStringLiteral("Co-Op"),
                                       QStringLiteral("Deathmatch")};
    for (int i = 0; i < 3; ++i) {
        LvlChkType[size_t(i)] = new QCheckBox(modes[size_t(i)], mapTypes);
        LvlChkType[size_t(i)]->setObjectName(indexed("LvlChkType", i));
        mapLayout->addWidget(LvlChkType[size_t(i)]);
        connect(LvlChkType[size_t(i)], &QCheckBox::toggled, this, &LevelPanel::changed);
    }
    mapLayout->addStretch();

    FrmRotate = optionPair(this, QStringLiteral("FrmRotate"), LvlOptRot, "LvlOptRot");
    FrmLocked = optionPair(this, QStringLiteral("FrmLocked"), LvlOptLock, "LvlOptLock");
    for (auto *option : {LvlOptRot[0], LvlOptRot[1], LvlOptLock[0], LvlOptLock[1]})
        connect(option, &QRadioButton::toggled, this, &LevelPanel::changed);

    // Model Distance: a short right-aligned box and "Meters".
    auto *distance = new QWidget(this);
    auto *distanceLayout = new QHBoxLayout(distance);
    distanceLayout->setContentsMargins(0, 0, 0, 0);
    LvlTxtVal[3] = narrowBox(distance, indexed("LvlTxtVal", 3), 8);
    SingleLineEdit::setUp(LvlTxtVal[3]);
    connect(LvlTxtVal[3], &QLineEdit::textChanged, this, &LevelPanel::changed);
    Label6 = new QLabel(QStringLiteral("Meters"), distance);
    Label6->setObjectName(QStringLiteral("Label6"));
    distanceLayout->addWidget(LvlTxtVal[3]);
    distanceLayout->addWidget(Label6);
    distanceLayout->addStretch();

    // ETA: three two-character boxes with ":" between them.
    auto *eta = new QWidget(this);
    auto *etaLayout = new QHBoxLayout(eta);
    etaLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        LvlETA[size_t(i)] = narrowBox(eta, indexed("LvlETA", i), 2);
        SingleLineEdit::setUp(LvlETA[size_t(i)]);
        LvlETA[size_t(i)]->setMaxLength(2);
        connect(LvlETA[size_t(i)], &QLineEdit::textChanged, this, &LevelPanel::changed);
        etaLayout->addWidget(LvlETA[size_t(i)]);
        if (i < 2) {
            auto *colon = new QLabel(QStringLiteral(":"), eta);
            colon->setObjectName(i == 0 ? QStringLiteral("Label7") : QStringLiteral("Label8"));
            etaLayout->addWidget(colon);
        }
    }
    etaLayout->addStretch();

    // Rows in five groups, with a larger gap between groups.
    const auto &rows = LevelNfo::rows();
    QList<QWidget *> tabOrder;
    int gridRow = 1;
    for (int i = 0; i < LevelFields::RowCount; ++i) {
        if (i == LoadingModel || i == LoadingScreen || i == EpisodeMovie || i == Locked) {
            grid->setRowMinimumHeight(gridRow, 8);
            ++gridRow;
        }
        auto *include = new QCheckBox(QString::fromLatin1(rows[size_t(i)].caption), this);
        include->setObjectName(indexed("LvlChkIn", i));
        LvlChkIn[size_t(i)] = include;
        if (!rows[size_t(i)].optional) {
            // Fixed rows are always written: shown ticked and dimmed, not changeable.
            include->setChecked(true);
            include->setEnabled(false);
        } else {
            connect(include, &QCheckBox::stateChanged, this, [this, i] {
                emit changed();
                updateRowVisibility(i);
            });
        }
        grid->addWidget(include, gridRow, 0);

        QWidget *value = nullptr;
        switch (i) {
        case MapType: value = mapTypes; break;
        case ModelRotate: value = FrmRotate; break;
        case ModelDistance: value = distance; break;
        case Eta: value = eta; break;
        case Locked: value = FrmLocked; break;
        default: value = LvlTxtVal[size_t(rows[size_t(i)].textIndex)]; break;
        }
        tabOrder.append(include);
        if (value->focusPolicy() != Qt::NoFocus)
            tabOrder.append(value);
        for (auto *child : value->findChildren<QWidget *>()) {
            if (child->focusPolicy() != Qt::NoFocus)
                tabOrder.append(child);
        }
        const auto browse = std::find(BrowseRows.begin(), BrowseRows.end(), i);
        if (browse != BrowseRows.end()) {
            auto *button = LvlNFOBrow[size_t(browse - BrowseRows.begin())];
            grid->addWidget(value, gridRow, 1);
            grid->addWidget(button, gridRow, 2);
            tabOrder.append(button);
        } else {
            grid->addWidget(value, gridRow, 1, 1, 2);
        }
        ++gridRow;
    }
    grid->setRowStretch(gridRow, 1);

    // Tab order follows the rows: Include box, value controls, browse button.
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));
}

void LevelPanel::updateRowVisibility(int index)
{
    const bool shown = index >= 0 && index < LevelFields::RowCount
                       && LvlChkIn[size_t(index)]->checkState() == Qt::Checked;
    switch (index) {
    case ModelRotate: FrmRotate->setVisible(shown); break;
    case ModelDistance:
        LvlTxtVal[3]->setVisible(shown);
        Label6->setVisible(shown);
        break;
    case LoadingModel: case ModelAnim: case ModelName: case LoadingScreen:
    case EpisodeMovie: case IntroMovie: case OutroMovie:
        LvlTxtVal[size_t(LevelNfo::rows()[size_t(index)].textIndex)]->setVisible(shown);
        break;
    default: break;
    }
}

void LevelPanel::resetToNewDocument()
{
    for (auto *box : LvlTxtVal)
        box->setText(QString());
    for (int i = 0; i < 3; ++i) {
        LvlChkType[size_t(i)]->setChecked(false);
        LvlETA[size_t(i)]->setText(QStringLiteral("00"));
    }
    LvlOptLock[0]->setChecked(true);
    LvlOptRot[0]->setChecked(true);
    for (int i = 0; i < LevelFields::RowCount; ++i) {
        if (LevelNfo::rows()[size_t(i)].optional) {
            LvlChkIn[size_t(i)]->setChecked(true);
            updateRowVisibility(i);
        }
    }
}

void LevelPanel::excludeOptional()
{
    for (int i = 0; i < LevelFields::RowCount; ++i) {
        if (LevelNfo::rows()[size_t(i)].optional) {
            LvlChkIn[size_t(i)]->setChecked(false);
            updateRowVisibility(i);
        }
    }
}

LevelFields LevelPanel::fields() const
{
    LevelFields f;
    for (size_t i = 0; i < f.text.size(); ++i)
        f.text[i] = LvlTxtVal[i]->text();
    for (size_t i = 0; i < 3; ++i) {
        f.mapType[i] = LvlChkType[i]->isChecked();
        f.eta[i] = LvlETA[i]->text();
    }
    f.rotateYes = LvlOptRot[0]->isChecked();
    f.lockedYes = LvlOptLock[0]->isChecked();
    for (size_t i = 0; i < f.included.size(); ++i)
        f.included[i] = LvlChkIn[i]->checkState() == Qt::Checked;
    return f;
}

void LevelPanel::setFields(const LevelFields &f)
{
    for (size_t i = 0; i < f.text.size(); ++i)
        LvlTxtVal[i]->setText(f.text[i]);
    for (size_t i = 0; i < 3; ++i) {
        LvlChkType[i]->setChecked(f.mapType[i]);
        LvlETA[i]->setText(f.eta[i]);
    }
    (f.rotateYes ? LvlOptRot[0] : LvlOptRot[1])->setChecked(true);
    (f.lockedYes ? LvlOptLock[0] : LvlOptLock[1])->setChecked(true);
    for (int i = 0; i < LevelFields::RowCount; ++i) {
        if (LevelNfo::rows()[size_t(i)].optional) {
            LvlChkIn[size_t(i)]->setChecked(f.included[size_t(i)]);
            updateRowVisibility(i);
        }
    }
}
