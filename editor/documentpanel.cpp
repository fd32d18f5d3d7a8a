#include "editor/documentpanel.h"

#include "editor/assetbrowser.h"
#include "ui/findingslist.h"
#include "ui/plaintext.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QBoxLayout>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QShortcut>
#include <QSpacerItem>
#include <QStyle>

#include <algorithm>

namespace {

// The control itself when it takes focus, else its first child that does.
QWidget *focusable(QWidget *control)
{
    if (control->focusPolicy() != Qt::NoFocus)
        return control;
    for (QWidget *child : control->findChildren<QWidget *>()) {
        if (child->focusPolicy() != Qt::NoFocus)
            return child;
    }
    return control;
}

// The row a mark beside the control goes in: the control's own row of controls, else the row it
// sits in; the mark goes before the row's closing stretch.
void placeBeside(QWidget *control, QLabel *mark)
{
    auto *row = qobject_cast<QBoxLayout *>(control->layout());
    if (!row && control->parentWidget())
        row = qobject_cast<QBoxLayout *>(control->parentWidget()->layout());
    if (!row)
        return;
    int at = row->count();
    if (at > 0 && row->itemAt(at - 1)->spacerItem())
        --at;
    row->insertWidget(at, mark);
}

// An asset file dropped on its field is entered as the browse button would enter it; anything
// else dropped there is left to the field (and the window).
class AssetDrop : public QObject
{
public:
    AssetDrop(AssetKind kind, QLineEdit *field) : QObject(field), m_kind(kind)
    {
        setObjectName(Name);
        field->installEventFilter(this);
    }
    static constexpr const char *Name = "assetDrop";

    // The one local file dropped, when it is a plain file with the extension of the field's asset
    // and a name the one-line field can hold exactly (no line break in it).
    QString assetFile(const QMimeData *data) const
    {
        if (!data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
            return {};
        const QString path = QDir::toNativeSeparators(data->urls().constFirst().toLocalFile());
        const bool breaks = std::any_of(path.cbegin(), path.cend(), [](QChar c) {
            return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
                   || c == QChar::ParagraphSeparator;
        });
        if (breaks || !path.endsWith(QLatin1String(assetTypeOf(m_kind).extension), Qt::CaseInsensitive)
            || !QFileInfo(path).isFile())
            return {};
        return path;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove && event->type() != QEvent::Drop)
            return false;
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = assetFile(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop) {
            auto *field = static_cast<QLineEdit *>(watched);
            field->setText(AssetBrowser::entered(path));
            field->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }

private:
    AssetKind m_kind;
};

// Hands a control's context menu to `show`, which returns false to leave it to the control.
class FieldMenu : public QObject
{
public:
    FieldMenu(QWidget *watched, std::function<bool(QContextMenuEvent *)> show) : QObject(watched), m_show(std::move(show))
    {
        setObjectName(Name);
        watched->installEventFilter(this);
    }
    static constexpr const char *Name = "fieldMenu";
    static void attach(QWidget *watched, const std::function<bool(QContextMenuEvent *)> &show)
    {
        if (!watched->findChild<QObject *>(QLatin1String(Name), Qt::FindDirectChildrenOnly))
            new FieldMenu(watched, show);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::ContextMenu && m_show(static_cast<QContextMenuEvent *>(event));
    }

private:
    std::function<bool(QContextMenuEvent *)> m_show;
};

} // namespace

DocumentPanel::DocumentPanel(const QString &title, QWidget *parent) : QGroupBox(title, parent)
{
    auto *fixKey = new QShortcut(FindingsList::FixKey, this);
    fixKey->setObjectName(QStringLiteral("fixShortcut"));
    fixKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(fixKey, &QShortcut::activated, this, [this] { requestFixAt(QApplication::focusWidget()); });
}

const ModCheck::Finding *DocumentPanel::fixAt(const QWidget *widget) const
{
    const ModCheck::Finding *best = nullptr;
    for (const ModCheck::Finding &finding : m_findings) {
        const QWidget *control = finding.fix.isNone() ? nullptr : fieldOf(finding.key).control;
        if (!widget || !control || (control != widget && !control->isAncestorOf(widget)))
            continue;
        if (!best || (best->fix.kind != ModCheck::FixKind::Safe && finding.fix.kind == ModCheck::FixKind::Safe))
            best = &finding;
    }
    return best;
}

void DocumentPanel::requestFixAt(const QWidget *widget)
{
    if (const ModCheck::Finding *finding = fixAt(widget))
        emit fixRequested(*finding);
}

bool DocumentPanel::showFieldMenu(QWidget *control, QContextMenuEvent *event)
{
    const ModCheck::Finding *finding = fixAt(control);
    if (!finding)
        return false;
    std::unique_ptr<QMenu> menu;
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        menu.reset(edit->createStandardContextMenu());
    else if (auto *text = qobject_cast<QPlainTextEdit *>(control))
        menu.reset(text->createStandardContextMenu(event->pos()));
    else
        menu = std::make_unique<QMenu>();
    auto *fix = new QAction(QStringLiteral("Fix: ") + PlainText::menuText(finding->fix.what), menu.get());
    fix->setObjectName(QStringLiteral("fixAction"));
    fix->setShortcut(FindingsList::FixKey);
    fix->setShortcutContext(Qt::WidgetShortcut);
    const QList<QAction *> own = menu->actions();
    menu->insertAction(own.value(0), fix);
    if (!own.isEmpty())
        menu->insertSeparator(own.first());
    connect(fix, &QAction::triggered, this, [this, chosen = *finding] { emit fixRequested(chosen); });
    menu->exec(event->globalPos());
    return true;
}

bool DocumentPanel::takesDrop(QObject *target, const QMimeData *data)
{
    const auto *drop = dynamic_cast<AssetDrop *>(
        target->findChild<QObject *>(QLatin1String(AssetDrop::Name), Qt::FindDirectChildrenOnly));
    return drop && !drop->assetFile(data).isEmpty();
}

void DocumentPanel::showFindings(const QList<ModCheck::Finding> &findings)
{
    m_findings = findings;
    QMap<QWidget *, QList<const ModCheck::Finding *>> byControl;
    for (const ModCheck::Finding &finding : findings) {
        if (QWidget *control = fieldOf(finding.key).control)
            byControl[control].append(&finding);
    }
    for (auto it = m_marks.keyBegin(); it != m_marks.keyEnd(); ++it) {
        if (!byControl.contains(*it))
            byControl.insert(*it, {});
    }
    for (auto it = byControl.cbegin(); it != byControl.cend(); ++it)
        setMark(it.key(), it.value());
}

void DocumentPanel::setMark(QWidget *control, const QList<const ModCheck::Finding *> &findings)
{
    QStringList texts;
    bool error = false;
    for (const ModCheck::Finding *finding : findings) {
        texts.append(PlainText::shownFinding(finding->text));
        error = error || finding->severity == ModCheck::Severity::Error;
    }
    const QString text = texts.join(QLatin1Char('\n'));
    const QString severity = error ? QStringLiteral("Error") : QStringLiteral("Warning");  // the icon's name
    const QIcon icon = style()->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning);
    Mark &mark = m_marks[control];
    auto *edit = qobject_cast<QLineEdit *>(control);
    // A box sized for a few characters has no room for an icon inside.
    if (edit && edit->minimumWidth() != edit->maximumWidth()) {
        if (!mark.inField && !texts.isEmpty()) {
            mark.inField = edit->addAction(icon, QLineEdit::TrailingPosition);
            mark.inField->setObjectName(edit->objectName() + QStringLiteral("Mark"));
            // A click on the mark applies the field's fix.
            connect(mark.inField, &QAction::triggered, this, [this, edit] { requestFixAt(edit); });
        }
        if (mark.inField) {
            mark.inField->setIcon(icon);
            mark.inField->setText(severity);
            mark.inField->setToolTip(PlainText::toolTip(text));
            mark.inField->setVisible(!texts.isEmpty());
        }
    } else {
        if (!mark.beside && !texts.isEmpty()) {
            mark.beside = new QLabel(this);
            mark.beside->setObjectName(control->objectName() + QStringLiteral("Mark"));
            placeBeside(control, mark.beside);
            FieldMenu::attach(mark.beside, [this, control](QContextMenuEvent *event) { return showFieldMenu(control, event); });
        }
        if (mark.beside) {
            const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
            mark.beside->setPixmap(icon.pixmap(side, side));
            mark.beside->setToolTip(PlainText::toolTip(text));
            mark.beside->setAccessibleName(severity);
            mark.beside->setAccessibleDescription(text);
            mark.beside->setVisible(!texts.isEmpty());
        }
    }
    // What a screen reader says of each control of the field, and what the pointer shows over it.
    QList<QWidget *> controls{control};
    controls += control->findChildren<QWidget *>();
    for (QWidget *each : controls) {
        if (each->focusPolicy() == Qt::NoFocus)
            continue;
        each->setToolTip(PlainText::toolTip(text));
        each->setAccessibleDescription(text);
        // Its context menu offers the field's fix (a text box's menu comes from its viewport).
        const auto show = [this, each](QContextMenuEvent *event) { return showFieldMenu(each, event); };
        FieldMenu::attach(each, show);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(each))
            FieldMenu::attach(area->viewport(), show);
    }
}

void DocumentPanel::giveAccessKeys(const QList<std::pair<QAbstractButton *, QWidget *>> &rows)
{
    QString taken = QStringLiteral("FOH");
    const auto letters = [](const QString &text) {
        return std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
    };
    QList<std::pair<QAbstractButton *, QWidget *>> ordered = rows;
    std::stable_sort(ordered.begin(), ordered.end(), [&letters](const auto &a, const auto &b) {
        return std::min<qsizetype>(letters(a.first->text()), 4) < std::min<qsizetype>(letters(b.first->text()), 4);
    });
    for (const auto &[caption, field] : ordered) {
        const QString text = caption->text();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar letter = text.at(i).toUpper();
            if (letter < QLatin1Char('A') || letter > QLatin1Char('Z') || taken.contains(letter))
                continue;
            taken += letter;
            caption->setText(text.left(i) + QLatin1Char('&') + text.mid(i));
            caption->setShortcut(QKeySequence());  // the row's key, not the box's (a fixed box is disabled)
            auto *key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_A + (letter.unicode() - 'A'))), this);
            QWidget *target = field;
            QAbstractButton *box = caption;
            connect(key, &QShortcut::activated, this, [target, box] {
                (target->isVisible() ? focusable(target) : static_cast<QWidget *>(box))->setFocus(Qt::ShortcutFocusReason);
            });
            break;
        }
    }
}

void DocumentPanel::focusField(const QString &key)
{
    if (QWidget *control = fieldOf(key).control)
        focusable(control)->setFocus(Qt::OtherFocusReason);
}

QCheckBox *DocumentPanel::addIncludeBox(const QString &name, const QString &caption, bool fixed)
{
    auto *include = new QCheckBox(caption, this);
    include->setObjectName(name);
    if (fixed) {
        include->setChecked(true);
        include->setEnabled(false);
    }
    return include;
}

QPushButton *DocumentPanel::addBrowseButton(const QString &name, const QString &caption, AssetKind kind,
                                            QLineEdit *field)
{
    auto *button = new QPushButton(QStringLiteral("..."), this);
    button->setObjectName(name);
    button->setToolTip(QStringLiteral("Browse..."));
    button->setAccessibleName(caption + QStringLiteral(": Browse..."));
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    connect(button, &QPushButton::clicked, this, [this, kind, field] { emit browseRequested(kind, field); });
    new AssetDrop(kind, field);
    m_assetFields.append({kind, field});
    return button;
}
