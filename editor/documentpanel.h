#pragma once

#include "core/apperror.h"
#include "core/levelnfo.h"
#include "core/modcheck.h"
#include "core/nfoline.h"
#include "editor/documenttypes.h"

#include <QByteArray>
#include <QGroupBox>
#include <QHash>
#include <QStringList>

#include <functional>
#include <optional>

class QAbstractButton;
class QAction;
class QContextMenuEvent;
class QCheckBox;
class QLabel;
class QMimeData;
class QLineEdit;
class QPushButton;

// A panel that shows one kind of document: what New shows in it, how a file fills it and what
// Save writes from it.
class DocumentPanel : public QGroupBox
{
    Q_OBJECT

public:
    // With Ctrl+. for the fix of the field that has the focus.
    explicit DocumentPanel(const QString &title, QWidget *parent = nullptr);

    // What Save would write: why it cannot be stored (nothing if it can), and how to make the
    // file's bytes once the file is open.
    struct Output
    {
        QList<Nfo::UnstorableValue> unstorable;  // by key (none for a description's text)
        std::function<QByteArray()> bytes;
    };

    // Shows a new document.
    virtual void showNewDocument() = 0;
    // Before a file is read into it: a new document, less what only a file can put in.
    virtual void prepareForFile() { showNewDocument(); }
    // Shows what the file holds, and tells what reading it found.
    virtual Nfo::ParseOutcome readFile(const QByteArray &bytes) = 0;
    // What Save would write, made from a copy of the document taken now. The maker touches no
    // widget, so it may run on another thread: a long document is made and checked behind the
    // window.
    virtual std::function<Output()> outputMaker() = 0;
    Output output() { return outputMaker()(); }
    // The key words a save writes to the log before the file's bytes (none for a description).
    virtual QStringList loggedKeys() const { return {}; }
    // Where typing goes when the document is shown.
    virtual QWidget *firstField() const = 0;
    // Whether the document is still coming in from its file (what it holds is not complete yet).
    virtual bool isFilling() const { return false; }
    // Shows the document as `bytes` (what Save would write, mended) hold it: only what differs
    // changes, each control as typing would change it, so that Undo in the field takes it back.
    virtual void showMended(const QByteArray &bytes) = 0;

    // The control that holds the value written under an NFO key (any key: the description's text
    // box), and its row's caption; no control for a key the panel does not show.
    struct Field
    {
        QWidget *control = nullptr;
        QString caption;
    };
    virtual Field fieldOf(const QString &key) const = 0;

    // Marks each field with its findings: an error or warning icon in the field (beside it, for a
    // field too narrow or made of several controls), and their texts as the tooltip and the
    // accessible description of the field's controls. Fields without findings lose their marks.
    void showFindings(const QList<ModCheck::Finding> &findings);
    // The finding of the field that holds `widget` whose fix Ctrl+. applies (a safe one first),
    // or null.
    const ModCheck::Finding *fixAt(const QWidget *widget) const;
    // Puts the focus on the field of the key (its first control that takes focus).
    void focusField(const QString &key);
    // Whether `target` is an asset field that takes the dropped data (a file of its asset's kind).
    static bool takesDrop(QObject *target, const QMimeData *data);
    // An asset was chosen for `field` (browsed for): the value is asked for, so a row left out is
    // included again.
    virtual void valueChosen(QLineEdit *field) { Q_UNUSED(field); }
    // The fields that name an asset, with its kind.
    const QList<std::pair<AssetKind, QLineEdit *>> &assetFields() const { return m_assetFields; }

signals:
    // Any change of the document, by the user or by the program.
    void changed();
    // A browse button asks for an asset of the kind, to be entered in `field`.
    void browseRequested(AssetKind kind, QLineEdit *field);
    // Ctrl+. in a field, or Fix in its context menu: the finding's fix is to be applied.
    void fixRequested(const ModCheck::Finding &finding);

protected:
    // The "..." button beside `field` that asks for an asset (objectName `name`, read out as
    // "<caption>: Browse...").
    QPushButton *addBrowseButton(const QString &name, const QString &caption, AssetKind kind, QLineEdit *field);
    // A row's Include box (objectName `name`). A fixed row is always written: its box is shown
    // ticked and dimmed, and cannot be changed.
    QCheckBox *addIncludeBox(const QString &name, const QString &caption, bool fixed);
    // Gives each row's caption an access key (the first letter of it that is free; the menu bar
    // has F, O and H; the shortest captions choose first, having the fewest letters to choose
    // from) that puts the focus on the row's field, or on the caption's box while the field is
    // hidden (an excluded row).
    void giveAccessKeys(const QList<std::pair<QAbstractButton *, QWidget *>> &rows);

private:
    // A field's context menu: its own entries, with its fix first when it has one.
    bool showFieldMenu(QWidget *control, QContextMenuEvent *event);
    void requestFixAt(const QWidget *widget);

    QList<std::pair<AssetKind, QLineEdit *>> m_assetFields;
    QList<ModCheck::Finding> m_findings;  // those shown
    struct Mark
    {
        QAction *inField = nullptr;  // the icon inside a wide line edit
        QLabel *beside = nullptr;    // the icon beside any other field
    };
    void setMark(QWidget *control, const QList<const ModCheck::Finding *> &findings);
    QHash<QWidget *, Mark> m_marks;
};
