#pragma once

#include "core/apperror.h"
#include "core/nfoline.h"

#include <QByteArray>
#include <QGroupBox>

#include <functional>
#include <optional>

// A panel that shows one kind of document: what New shows in it, how a file fills it and what
// Save writes from it.
class DocumentPanel : public QGroupBox
{
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

    // Told each key word of an NFO file as its text is built.
    using KeyLog = std::function<void(const QString &key)>;

    // What Save would write: why it cannot be stored (nothing if it can), and how to make the
    // file's bytes once the file is open.
    struct Output
    {
        std::optional<AppError> unstorable;
        std::function<QByteArray()> bytes;
    };

    // Shows a new document.
    virtual void showNewDocument() = 0;
    // Before a file is read into it: a new document, less what only a file can put in.
    virtual void prepareForFile() { showNewDocument(); }
    // Shows what the file holds, and tells what reading it found.
    virtual Nfo::ParseOutcome readFile(const QByteArray &bytes) = 0;
    virtual Output output(const KeyLog &logKey) = 0;
    // Where typing goes when the document is shown.
    virtual QWidget *firstField() const = 0;

signals:
    // Any change of the document, by the user or by the program.
    void changed();
};
