#pragma once

#include "core/apperror.h"
#include "core/levelnfo.h"
#include "core/nfoline.h"
#include "editor/documenttypes.h"

#include <QByteArray>
#include <QGroupBox>
#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

// A panel that shows one kind of document: what New shows in it, how a file fills it and what
// Save writes from it.
class DocumentPanel : public QGroupBox
{
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

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
    virtual Output output() = 0;
    // The key words a save writes to the log before the file's bytes (none for a description).
    virtual QStringList loggedKeys() const { return {}; }
    // Where typing goes when the document is shown.
    virtual QWidget *firstField() const = 0;

signals:
    // Any change of the document, by the user or by the program.
    void changed();
    // A browse button asks for an asset of the kind, to be entered in `field`.
    void browseRequested(AssetKind kind, QLineEdit *field);

protected:
    // The "..." button beside `field` that asks for an asset (objectName `name`, read out as
    // "<caption>: Browse...").
    QPushButton *addBrowseButton(const QString &name, const QString &caption, AssetKind kind, QLineEdit *field);
    // A row's Include box (objectName `name`). A fixed row is always written: its box is shown
    // ticked and dimmed, and cannot be changed.
    QCheckBox *addIncludeBox(const QString &name, const QString &caption, bool fixed);
};
