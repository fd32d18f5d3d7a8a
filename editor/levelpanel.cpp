#include "editor/levelpanel.h"

#include "ui/singlelineedit.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

using R = LevelRow;

// The start of a row's control names: "Loading Model" -> "loadingModel", "ETA" -> "eta".
QString nameFor(const QString &caption)
{
    QString name;
    for (const QString &word : caption.split(QLatin1Char(' '))) {
        QString letters;
        for (QChar c : word) {
            if (c.isLetter())
                letters += c;
        }
        if (name.isEmpty())
            name = letters.toLower();
        else
            name += letters.left(1).toUpper() + letters.mid(1);
    }
    return name;
}

QLineEdit *valueBox(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    SingleLineEdit::setUp(box);
    return box;
}

QLineEdit *narrowBox(QWidget *parent, const QString &name, const QString &accessibleName, int chars)
{
    auto *box = valueBox(parent, name, accessibleName);
    box->setAlignment(Qt::AlignRight);
    const QFontMetrics metrics(box->font());
    box->setFixedWidth(metrics.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 16);
    return box;
}

// A row's value made of several controls side by side: the holder and its layout.
QHBoxLayout *sideBySide(QWidget *holder)
{
    auto *layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

// A Yes / No pair, each read out with its row: "Model Rotate: Yes".
QWidget *optionPair(QWidget *parent, const QString &name, const QString &caption, std::array<QRadioButton *, 2> &pair)
{
    auto *frame = new QWidget(parent);
    frame->setObjectName(name + QStringLiteral("Choice"));
    auto *layout = sideBySide(frame);
    const std::array<QString, 2> captions{QStringLiteral("Yes"), QStringLiteral("No")};
    for (int i = 0; i < 2; ++i) {
        pair[size_t(i)] = new QRadioButton(captions[size_t(i)], frame);
        pair[size_t(i)]->setObjectName(name + captions[size_t(i)] + QStringLiteral("Option"));
        pair[size_t(i)]->setAccessibleName(caption + QStringLiteral(": ") + captions[size_t(i)]);
        layout->addWidget(pair[size_t(i)]);
    }
    layout->addStretch();
    return frame;
}

// A row's value keeps its place while the row is left out, so that no row below it moves.
void keepsItsPlace(QWidget *value)
{
    QSizePolicy policy = value->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    value->setSizePolicy(policy);
}

// The three ETA boxes typed as one value: each selects its two digits when it takes the focus (so
// that typing replaces them), the second digit typed goes on to the next box, and a whole ETA
// pasted into any of them ("00:25:00") fills all three.
class EtaTyping : public QObject
{
public:
    EtaTyping(const std::array<QLineEdit *, 3> &parts, QObject *parent) : QObject(parent), m_parts(parts)
    {
        for (size_t i = 0; i < m_parts.size(); ++i) {
            QLineEdit *part = m_parts[i];
            part->installEventFilter(this);
            if (i + 1 < m_parts.size()) {
                QLineEdit *next = m_parts[i + 1];
                connect(part, &QLineEdit::textEdited, next, [part, next] {
                    if (part->text().size() == part->maxLength() && part->cursorPosition() == part->maxLength())
                        next->setFocus(Qt::TabFocusReason);
                });
            }
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A box that is going (the window closes) is no line edit any more.
        auto *part = qobject_cast<QLineEdit *>(watched);
        if (!part)
            return false;
        if (event->type() == QEvent::FocusIn) {
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, part, [part] {
                if (part->hasFocus())
                    part->selectAll();
            });
        } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
            const QStringList pasted = QGuiApplication::clipboard()->text().trimmed().split(QLatin1Char(':'));
            if (pasted.size() == 3 && std::all_of(pasted.begin(), pasted.end(), [](const QString &p) {
                    return !p.isEmpty() && p.size() <= 2 && std::all_of(p.begin(), p.end(), [](QChar c) { return c.isDigit(); });
                })) {
                for (size_t i = 0; i < m_parts.size(); ++i)
                    m_parts[i]->setText(pasted.at(qsizetype(i)));
                m_parts.back()->setFocus(Qt::OtherFocusReason);
                return true;
            }
        }
        return false;
    }

private:
    std::array<QLineEdit *, 3> m_parts;
};

} // namespace

LevelPanel::LevelPanel(QWidget *parent)
    : NfoPanel(QStringLiteral("Properties (Level .NFO)"),
               {LevelFields::newDocument, [](const QString &text, LevelFields &fields) { return LevelNfo::parse(text, fields); },
                LevelNfo::generate, LevelNfo::loggedKeys, LevelNfo::checkStorable}, parent)
{
    setObjectName(QStringLiteral("levelPanel"));
    createTextRows();
    std::array<QWidget *, LevelRowCount> &values = m_values;
    for (const LevelRowInfo &row : LevelNfo::rows())
        values[size_t(row.row)] = m_valueEdits[size_t(row.row)];
    values[size_t(R::MapType)] = createMapTypeBoxes();
    m_rotateChoice = optionPair(this, QStringLiteral("rotate"),
                                QString::fromLatin1(LevelNfo::row(R::ModelRotate).caption), m_rotateOptions);
    values[size_t(R::ModelRotate)] = m_rotateChoice;
    values[size_t(R::Locked)] = optionPair(this, QStringLiteral("locked"),
                                               QString::fromLatin1(LevelNfo::row(R::Locked).caption), m_lockedOptions);
    for (auto *option : {m_rotateOptions[0], m_rotateOptions[1], m_lockedOptions[0], m_lockedOptions[1]})
        connect(option, &QRadioButton::toggled, this, &LevelPanel::changed);
    values[size_t(R::ModelDistance)] = createDistanceBox();
    values[size_t(R::Eta)] = createEtaBoxes();
    for (QLineEdit *edit : m_valueEdits) {
        if (edit)
            connect(edit, &QLineEdit::textChanged, this, &LevelPanel::changed);
    }
    layOutRows();
    // What a row left out hides keeps its place.
    for (QLineEdit *edit : m_valueEdits) {
        if (edit)
            keepsItsPlace(edit);
    }
    keepsItsPlace(m_rotateChoice);
    keepsItsPlace(m_metersLabel);
}

void LevelPanel::valueChosen(QLineEdit *field)
{
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        if (m_valueEdits[size_t(row.row)] == field && row.optional)
            m_includeBoxes[size_t(row.row)]->setChecked(true);
    }
}

// The rows whose value is one line of text, each with its browse button where it names an asset.
void LevelPanel::createTextRows()
{
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        const QString caption = QString::fromLatin1(row.caption);
        const QString name = nameFor(caption);
        if (row.text && row.row != R::ModelDistance) {  // Model Distance has its own short box
            m_valueEdits[size_t(row.row)] = valueBox(this, name + QStringLiteral("Edit"), caption);
        }
        if (row.asset != AssetKind::None) {
            m_browseButtons[size_t(row.row)] =
                addBrowseButton(name + QStringLiteral("Browse"), caption, row.asset, m_valueEdits[size_t(row.row)]);
        }
    }
}

// Map Type: three independent game modes.
QWidget *LevelPanel::createMapTypeBoxes()
{
    auto *mapTypes = new QWidget(this);
    mapTypes->setObjectName(QStringLiteral("mapTypeBoxes"));
    auto *mapLayout = sideBySide(mapTypes);
    const std::array<QString, 3> modes{QStringLiteral("Single Player"), QStringLiteral("Co-Op"),
                                       QStringLiteral("Deathmatch")};
    for (int i = 0; i < 3; ++i) {
        m_mapTypeBoxes[size_t(i)] = new QCheckBox(modes[size_t(i)], mapTypes);
        m_mapTypeBoxes[size_t(i)]->setObjectName(nameFor(modes[size_t(i)]) + QStringLiteral("Box"));
        mapLayout->addWidget(m_mapTypeBoxes[size_t(i)]);
        connect(m_mapTypeBoxes[size_t(i)], &QCheckBox::toggled, this, &LevelPanel::changed);
    }
    mapLayout->addStretch();
    return mapTypes;
}

// Model Distance: a short right-aligned box and "Meters".
QWidget *LevelPanel::createDistanceBox()
{
    auto *distance = new QWidget(this);
    auto *distanceLayout = sideBySide(distance);
    QLineEdit *&distanceEdit = m_valueEdits[size_t(R::ModelDistance)];
    distanceEdit = narrowBox(distance, QStringLiteral("modelDistanceEdit"), QStringLiteral("Model Distance"), 8);
    m_metersLabel = new QLabel(QStringLiteral("Meters"), distance);
    m_metersLabel->setObjectName(QStringLiteral("metersLabel"));
    distanceLayout->addWidget(distanceEdit);
    distanceLayout->addWidget(m_metersLabel);
    distanceLayout->addStretch();
    return distance;
}

// ETA: three two-character boxes with ":" between them.
QWidget *LevelPanel::createEtaBoxes()
{
    auto *eta = new QWidget(this);
    eta->setObjectName(QStringLiteral("etaBoxes"));
    auto *etaLayout = sideBySide(eta);
    const std::array<QString, 3> etaParts{QStringLiteral("Hours"), QStringLiteral("Minutes"),
                                          QStringLiteral("Seconds")};
    for (int i = 0; i < 3; ++i) {
        QLineEdit *&part = m_etaEdits[size_t(i)];
        part = narrowBox(eta, QStringLiteral("eta%1Edit").arg(etaParts[size_t(i)]),
                         QStringLiteral("ETA ") + etaParts[size_t(i)].toLower(), 2);
        part->setMaxLength(2);
        connect(part, &QLineEdit::textChanged, this, &LevelPanel::changed);
        etaLayout->addWidget(part);
        if (i < 2) {
            auto *colon = new QLabel(QStringLiteral(":"), eta);
            colon->setObjectName(i == 0 ? QStringLiteral("hoursColon") : QStringLiteral("minutesColon"));
            etaLayout->addWidget(colon);
        }
    }
    etaLayout->addStretch();
    new EtaTyping(m_etaEdits, eta);
    return eta;
}

// The rows in the grid, in five groups with a larger gap between groups: Include box, value and
// browse button; the tab order follows them.
void LevelPanel::layOutRows()
{
    const std::array<QWidget *, LevelRowCount> &values = m_values;
    QGridLayout *grid = makeRowGrid();
    QList<QWidget *> tabOrder;
    int gridRow = 1;
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        if (row.row == R::LoadingModel || row.row == R::LoadingScreen || row.row == R::EpisodeMovie
            || row.row == R::Locked) {
            grid->setRowMinimumHeight(gridRow, 8);
            ++gridRow;
        }
        const QString caption = QString::fromLatin1(row.caption);
        QCheckBox *include = addIncludeBox(nameFor(caption) + QStringLiteral("Include"), caption, !row.optional);
        m_includeBoxes[size_t(row.row)] = include;
        if (row.optional) {
            const LevelRow shown = row.row;
            connect(include, &QCheckBox::stateChanged, this, [this, shown] {
                emit changed();
                updateRowVisibility(shown);
            });
        }
        grid->addWidget(include, gridRow, 0);

        QWidget *value = values[size_t(row.row)];
        tabOrder.append(include);
        if (value->focusPolicy() != Qt::NoFocus)
            tabOrder.append(value);
        for (auto *child : value->findChildren<QWidget *>()) {
            if (child->focusPolicy() != Qt::NoFocus)
                tabOrder.append(child);
        }
        if (QPushButton *button = m_browseButtons[size_t(row.row)]) {
            grid->addWidget(value, gridRow, 1);
            grid->addWidget(button, gridRow, 2);
            tabOrder.append(button);
        } else {
            grid->addWidget(value, gridRow, 1, 1, 2);
        }
        ++gridRow;
    }
    grid->setRowStretch(gridRow, 1);
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));
    QList<std::pair<QAbstractButton *, QWidget *>> captions;
    for (const LevelRowInfo &row : LevelNfo::rows())
        captions.append({m_includeBoxes[size_t(row.row)], values[size_t(row.row)]});
    giveAccessKeys(captions);
}

void LevelPanel::updateRowVisibility(LevelRow row)
{
    const bool shown = m_includeBoxes[size_t(row)]->checkState() == Qt::Checked;
    if (row == R::ModelRotate)
        m_rotateChoice->setVisible(shown);
    if (row == R::ModelDistance)
        m_metersLabel->setVisible(shown);
    if (QLineEdit *edit = m_valueEdits[size_t(row)])
        edit->setVisible(shown);
}

LevelFields LevelPanel::fields() const
{
    LevelFields f;
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        if (row.text)
            f.*row.text = SingleLineEdit::value(m_valueEdits[size_t(row.row)]);
        f.setIncluded(row.row, m_includeBoxes[size_t(row.row)]->checkState() == Qt::Checked);
    }
    for (size_t i = 0; i < 3; ++i) {
        f.mapType[i] = m_mapTypeBoxes[i]->isChecked();
        f.eta[i] = SingleLineEdit::value(m_etaEdits[i]);
    }
    f.rotate = m_rotateOptions[0]->isChecked();
    f.locked = m_lockedOptions[0]->isChecked();
    return f;
}

void LevelPanel::setFields(const LevelFields &f)
{
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        if (row.text)
            SingleLineEdit::setValue(m_valueEdits[size_t(row.row)], f.*row.text);
    }
    for (size_t i = 0; i < 3; ++i) {
        m_mapTypeBoxes[i]->setChecked(f.mapType[i]);
        SingleLineEdit::setValue(m_etaEdits[i], f.eta[i]);
    }
    (f.rotate ? m_rotateOptions[0] : m_rotateOptions[1])->setChecked(true);
    (f.locked ? m_lockedOptions[0] : m_lockedOptions[1])->setChecked(true);
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        if (row.optional) {
            m_includeBoxes[size_t(row.row)]->setChecked(f.isIncluded(row.row));
            updateRowVisibility(row.row);
        }
    }
}

LevelFields LevelPanel::fieldsForFile() const
{
    LevelFields fields = LevelFields::newDocument();
    fields.included.fill(false);
    return fields;
}

void LevelPanel::prepareForFile() { setFields(fieldsForFile()); }

void LevelPanel::changeFields(const LevelFields &f)
{
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        const bool included = !row.optional || f.isIncluded(row.row);
        if (row.optional && (m_includeBoxes[size_t(row.row)]->checkState() == Qt::Checked) != included)
            m_includeBoxes[size_t(row.row)]->setChecked(included);
        if (!included)
            continue;
        if (row.text)
            SingleLineEdit::replaceValue(m_valueEdits[size_t(row.row)], f.*row.text);
    }
    for (size_t i = 0; i < 3; ++i) {
        if (m_mapTypeBoxes[i]->isChecked() != f.mapType[i])
            m_mapTypeBoxes[i]->setChecked(f.mapType[i]);
        SingleLineEdit::replaceValue(m_etaEdits[i], f.eta[i]);
    }
    if (m_rotateOptions[0]->isChecked() != f.rotate)
        (f.rotate ? m_rotateOptions[0] : m_rotateOptions[1])->setChecked(true);
    if (m_lockedOptions[0]->isChecked() != f.locked)
        (f.locked ? m_lockedOptions[0] : m_lockedOptions[1])->setChecked(true);
}

QWidget *LevelPanel::firstField() const { return valueEdit(LevelRow::Name); }

DocumentPanel::Field LevelPanel::fieldOf(const QString &key) const
{
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        if (key == QLatin1String(row.key))
            return {m_values[size_t(row.row)], QString::fromLatin1(row.caption)};
    }
    return {};
}
