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

// The browse button of each asset row, by its browseButtons index.
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
    setObjectName(QStringLiteral("levelPanel"));
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);

    grid->addWidget(new QLabel(QStringLiteral("Include"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 1);

    for (int i = 0; i < LevelFields::TextCount; ++i) {
        if (i == 3)
            continue;  // Model Distance has its own short box, below
        valueEdits[size_t(i)] = new QLineEdit(this);
        valueEdits[size_t(i)]->setObjectName(indexed("valueEdits", i));
        SingleLineEdit::setUp(valueEdits[size_t(i)]);
        connect(valueEdits[size_t(i)], &QLineEdit::textChanged, this, &LevelPanel::changed);
    }
    for (int i = 0; i < 6; ++i) {
        auto *button = new QPushButton(QStringLiteral("..."), this);
        button->setObjectName(indexed("browseButtons", i));
        button->setToolTip(QStringLiteral("Browse..."));
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
        connect(button, &QPushButton::clicked, this, [this, i] { emit browseRequested(i); });
        browseButtons[size_t(i)] = button;
    }

    // Map Type: three independent game modes.
    auto *mapTypes = new QWidget(this);
    auto *mapLayout = new QHBoxLayout(mapTypes);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    const std::array<QString, 3> modes{QStringLiteral("Single Player"), QStringLiteral("Co-Op"),
                                       QStringLiteral("Deathmatch")};
    for (int i = 0; i < 3; ++i) {
        mapTypeBoxes[size_t(i)] = new QCheckBox(modes[size_t(i)], mapTypes);
        mapTypeBoxes[size_t(i)]->setObjectName(indexed("mapTypeBoxes", i));
        mapLayout->addWidget(mapTypeBoxes[size_t(i)]);
        connect(mapTypeBoxes[size_t(i)], &QCheckBox::toggled, this, &LevelPanel::changed);
    }
    mapLayout->addStretch();

    rotateChoice = optionPair(this, QStringLiteral("rotateChoice"), rotateOptions, "rotateOptions");
    lockedChoice = optionPair(this, QStringLiteral("lockedChoice"), lockedOptions, "lockedOptions");
    for (auto *option : {rotateOptions[0], rotateOptions[1], lockedOptions[0], lockedOptions[1]})
        connect(option, &QRadioButton::toggled, this, &LevelPanel::changed);

    // Model Distance: a short right-aligned box and "Meters".
    auto *distance = new QWidget(this);
    auto *distanceLayout = new QHBoxLayout(distance);
    distanceLayout->setContentsMargins(0, 0, 0, 0);
    valueEdits[3] = narrowBox(distance, indexed("valueEdits", 3), 8);
    SingleLineEdit::setUp(valueEdits[3]);
    connect(valueEdits[3], &QLineEdit::textChanged, this, &LevelPanel::changed);
    metersLabel = new QLabel(QStringLiteral("Meters"), distance);
    metersLabel->setObjectName(QStringLiteral("metersLabel"));
    distanceLayout->addWidget(valueEdits[3]);
    distanceLayout->addWidget(metersLabel);
    distanceLayout->addStretch();

    // ETA: three two-character boxes with ":" between them.
    auto *eta = new QWidget(this);
    auto *etaLayout = new QHBoxLayout(eta);
    etaLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        etaEdits[size_t(i)] = narrowBox(eta, indexed("etaEdits", i), 2);
        SingleLineEdit::setUp(etaEdits[size_t(i)]);
        etaEdits[size_t(i)]->setMaxLength(2);
        connect(etaEdits[size_t(i)], &QLineEdit::textChanged, this, &LevelPanel::changed);
        etaLayout->addWidget(etaEdits[size_t(i)]);
        if (i < 2) {
            auto *colon = new QLabel(QStringLiteral(":"), eta);
            colon->setObjectName(i == 0 ? QStringLiteral("hoursColon") : QStringLiteral("minutesColon"));
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
        include->setObjectName(indexed("includeBoxes", i));
        includeBoxes[size_t(i)] = include;
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
        case ModelRotate: value = rotateChoice; break;
        case ModelDistance: value = distance; break;
        case Eta: value = eta; break;
        case Locked: value = lockedChoice; break;
        default: value = valueEdits[size_t(rows[size_t(i)].textIndex)]; break;
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
            auto *button = browseButtons[size_t(browse - BrowseRows.begin())];
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
                       && includeBoxes[size_t(index)]->checkState() == Qt::Checked;
    switch (index) {
    case ModelRotate: rotateChoice->setVisible(shown); break;
    case ModelDistance:
        valueEdits[3]->setVisible(shown);
        metersLabel->setVisible(shown);
        break;
    case LoadingModel: case ModelAnim: case ModelName: case LoadingScreen:
    case EpisodeMovie: case IntroMovie: case OutroMovie:
        valueEdits[size_t(LevelNfo::rows()[size_t(index)].textIndex)]->setVisible(shown);
        break;
    default: break;
    }
}

void LevelPanel::resetToNewDocument()
{
    for (auto *box : valueEdits)
        box->setText(QString());
    for (int i = 0; i < 3; ++i) {
        mapTypeBoxes[size_t(i)]->setChecked(false);
        etaEdits[size_t(i)]->setText(QStringLiteral("00"));
    }
    lockedOptions[0]->setChecked(true);
    rotateOptions[0]->setChecked(true);
    for (int i = 0; i < LevelFields::RowCount; ++i) {
        if (LevelNfo::rows()[size_t(i)].optional) {
            includeBoxes[size_t(i)]->setChecked(true);
            updateRowVisibility(i);
        }
    }
}

void LevelPanel::excludeOptional()
{
    for (int i = 0; i < LevelFields::RowCount; ++i) {
        if (LevelNfo::rows()[size_t(i)].optional) {
            includeBoxes[size_t(i)]->setChecked(false);
            updateRowVisibility(i);
        }
    }
}

LevelFields LevelPanel::fields() const
{
    LevelFields f;
    for (size_t i = 0; i < f.text.size(); ++i)
        f.text[i] = valueEdits[i]->text();
    for (size_t i = 0; i < 3; ++i) {
        f.mapType[i] = mapTypeBoxes[i]->isChecked();
        f.eta[i] = etaEdits[i]->text();
    }
    f.rotateYes = rotateOptions[0]->isChecked();
    f.lockedYes = lockedOptions[0]->isChecked();
    for (size_t i = 0; i < f.included.size(); ++i)
        f.included[i] = includeBoxes[i]->checkState() == Qt::Checked;
    return f;
}

void LevelPanel::setFields(const LevelFields &f)
{
    for (size_t i = 0; i < f.text.size(); ++i)
        valueEdits[i]->setText(f.text[i]);
    for (size_t i = 0; i < 3; ++i) {
        mapTypeBoxes[i]->setChecked(f.mapType[i]);
        etaEdits[i]->setText(f.eta[i]);
    }
    (f.rotateYes ? rotateOptions[0] : rotateOptions[1])->setChecked(true);
    (f.lockedYes ? lockedOptions[0] : lockedOptions[1])->setChecked(true);
    for (int i = 0; i < LevelFields::RowCount; ++i) {
        if (LevelNfo::rows()[size_t(i)].optional) {
            includeBoxes[size_t(i)]->setChecked(f.included[size_t(i)]);
            updateRowVisibility(i);
        }
    }
}
