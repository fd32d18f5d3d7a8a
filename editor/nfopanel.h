#pragma once

#include "core/codepage.h"
#include "core/documentfile.h"
#include "editor/documentpanel.h"
#include "ui/singlelineedit.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

// A panel for one of the NFO formats: its fields are read from a file and written to one through
// the format's own functions.
template <typename Fields> class NfoPanel : public DocumentPanel
{
public:
    struct Format
    {
        Fields (*newDocument)();
        Nfo::ParseOutcome (*parse)(const QString &text, Fields &fields);
        QString (*generate)(const Fields &fields);
        QStringList (*loggedKeys)();
        QList<Nfo::UnstorableValue> (*checkStorable)(const Fields &fields);
    };

    NfoPanel(const QString &title, Format format, QWidget *parent) : DocumentPanel(title, parent), m_format(format) {}

    virtual Fields fields() const = 0;
    virtual void setFields(const Fields &fields) = 0;

    void showNewDocument() override { setFields(m_format.newDocument()); }

    // A file's lines change only the fields they name.
    Nfo::ParseOutcome readFile(const QByteArray &bytes) override
    {
        Fields read = fields();
        const Nfo::ParseOutcome outcome = m_format.parse(DocumentFile::decode(bytes), read);
        setFields(read);
        return outcome;
    }

    std::function<Output()> outputMaker() override
    {
        return [values = fields(), format = m_format]() -> Output {
            return {format.checkStorable(values), [values, generate = format.generate] {
                        return CodePage::encode(generate(values) + DocumentFile::CRLF);
                    }};
        };
    }

    QStringList loggedKeys() const override { return m_format.loggedKeys(); }

    void showMended(const QByteArray &bytes) override
    {
        Fields mended = fieldsForFile();
        m_format.parse(DocumentFile::decode(bytes), mended);
        // A box filled through goes on to the next one (the ETA's): the focus stays where it was.
        QWidget *focused = QApplication::focusWidget();
        changeFields(mended);
        if (focused && focused != QApplication::focusWidget() && isAncestorOf(focused))
            focused->setFocus(Qt::OtherFocusReason);
    }


protected:
    // What a file's lines are read into: a new document, less what only a file can put in.
    virtual Fields fieldsForFile() const { return m_format.newDocument(); }
    // Changes the controls whose values differ from `fields`, as typing would.
    virtual void changeFields(const Fields &fields) = 0;

    // The panel's grid of rows, under the "Include" and "Value" headings.
    QGridLayout *makeRowGrid()
    {
        auto *grid = new QGridLayout(this);
        grid->setColumnStretch(1, 1);
        grid->setHorizontalSpacing(10);
        grid->addWidget(new QLabel(QStringLiteral("Include"), this), 0, 0);
        grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 1);
        return grid;
    }

private:
    Format m_format;
};
