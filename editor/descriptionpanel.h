#pragma once

#include "editor/documentpanel.h"

#include <QList>
#include <QTextCursor>

#include <optional>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QTimer;

// The description panel "Properties (DSC)": one block of free text.
//
// Two things keep very large descriptions usable. A long text shows its beginning at once and is
// filled in behind it, a chunk per turn of the event loop, with the box read-only until it is
// complete. And a very long line is shown as several paragraphs joined by soft breaks, which are
// not part of the text: the text box lays out a paragraph whole, which takes seconds for a line of
// a megabyte. Each soft break is held by a pair of cursors around it that the text document keeps
// up to date through edits; once an edit removes the break, the pair no longer spans one
// paragraph separator and the break is gone for good.
class DescriptionPanel : public DocumentPanel
{
    Q_OBJECT

public:
    explicit DescriptionPanel(QWidget *parent = nullptr);
    static constexpr DocumentKind Kind = DocumentKind::Description;

    void showNewDocument() override;
    // Keeps the file's bytes: saved unchanged while the text is not edited, whatever line ends
    // the file has.
    Nfo::ParseOutcome readFile(const QByteArray &bytes) override;
    std::function<Output()> outputMaker() override;
    QWidget *firstField() const override;
    Field fieldOf(const QString &key) const override;

    // The whole description, each line break as "\n"; a text still being filled in is completed
    // first.
    QString text();
    void setText(QString text);
    bool isFilling() const override { return !m_pending.isEmpty(); }
    // Replaces the part of the text that differs, as one edit; line ends alone make the text
    // one that Save writes with CR LF.
    void showMended(const QByteArray &bytes) override;
    // True while the text is the one last set: not edited, or every edit undone (a text still
    // being filled in is completed first).
    bool isUnedited();

    QLabel *captionLabel = nullptr;
    QPlainTextEdit *textEdit = nullptr;

private:
    struct SoftBreak
    {
        QTextCursor before;  // just before the paragraph separator
        QTextCursor after;   // just after it
    };

    void fillNextChunk();
    void completeFill();
    // Soft breaks of the displayed text whose position lies before `end`, not yet in the document.
    void addSoftBreaks(qsizetype end);
    // Where the soft breaks that are still there lie in the text box's raw text, ascending.
    std::vector<qsizetype> softBreakPositions() const;
    // The text of the raw text, without its soft breaks; runs on any thread.
    static QString withoutSoftBreaks(const QString &raw, const std::vector<qsizetype> &soft);

    QString m_pending;  // the long text being filled in, as displayed
    qsizetype m_filled = 0;
    bool m_filling = false;
    QList<qsizetype> m_pendingSoftBreaks;  // positions in m_pending, ascending
    qsizetype m_nextSoftBreak = 0;
    std::vector<SoftBreak> m_softBreaks;
    QTimer *m_fillTimer = nullptr;
    std::optional<QByteArray> m_openedFile;  // the bytes of the file as opened
};
