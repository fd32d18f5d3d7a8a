#include "editor/descriptionpanel.h"

#include "core/codepage.h"
#include "core/documentfile.h"
#include "core/dsctext.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

DescriptionPanel::DescriptionPanel(QWidget *parent) : DocumentPanel(QStringLiteral("Properties (DSC)"), parent)
{
    setObjectName(QStringLiteral("descriptionPanel"));
    auto *layout = new QVBoxLayout(this);
    captionLabel = new QLabel(QStringLiteral("&Description:"), this);  // Alt+D: the text
    captionLabel->setObjectName(QStringLiteral("captionLabel"));
    textEdit = new QPlainTextEdit(this);
    textEdit->setObjectName(QStringLiteral("textEdit"));
    textEdit->setAccessibleName(QStringLiteral("Description"));
    textEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textEdit->setTabChangesFocus(true);
    captionLabel->setBuddy(textEdit);
    layout->addWidget(captionLabel);
    layout->addWidget(textEdit, 1);
    // The filling in of a long text is no change.
    connect(textEdit, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            emit changed();
    });
    m_fillTimer = new QTimer(this);
    m_fillTimer->setSingleShot(true);
    m_fillTimer->setInterval(0);
    connect(m_fillTimer, &QTimer::timeout, this, &DescriptionPanel::fillNextChunk);
}

namespace {
// About a few screens of text at once, then chunks that take a few milliseconds each.
constexpr qsizetype FirstPart = 64 * 1024;
constexpr qsizetype Chunk = 256 * 1024;
// The longest paragraph the box is given: laying it out after a keystroke takes a few milliseconds.
constexpr qsizetype LongestParagraph = 4096;
constexpr qsizetype ParagraphGroup = 2048;

// Where a part of `text` that starts at `from` ends: at a line break near `from + size` (the break
// itself starts the next part), or at the end.
qsizetype partEnd(const QString &text, qsizetype from, qsizetype size)
{
    if (from + size >= text.size())
        return text.size();
    const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'), from + size);
    return lineBreak < 0 ? text.size() : lineBreak;
}

bool hasLongLine(const QString &text)
{
    qsizetype lineStart = 0;
    while (lineStart < text.size()) {
        qsizetype lineBreak = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineBreak < 0)
            lineBreak = text.size();
        if (lineBreak - lineStart > LongestParagraph)
            return true;
        lineStart = lineBreak + 1;
    }
    return false;
}

// The text as the box holds it. A paragraph costs the text document a few microseconds whatever
// its length, so a large text (one that is filled in) holds its lines in paragraphs of about
// ParagraphGroup characters, separated by line separators (U+2028), as Shift+Enter makes them.
// A line longer than LongestParagraph is cut into paragraphs, after a blank near the end of each
// where there is one; `softBreaks` receives the positions of those cuts.
QString displayed(const QString &text, QList<qsizetype> &softBreaks)
{
    const bool grouped = text.size() > FirstPart;
    if (!grouped && !hasLongLine(text))
        return text;
    QString shown;
    shown.reserve(text.size() + text.size() / LongestParagraph + 1);
    qsizetype paragraphStart = 0;  // in `shown`
    qsizetype lineStart = 0;       // in `text`
    while (lineStart <= text.size()) {
        qsizetype lineBreak = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineBreak < 0)
            lineBreak = text.size();
        qsizetype from = lineStart;
        while (lineBreak - from > LongestParagraph) {
            qsizetype cut = from + LongestParagraph;
            constexpr qsizetype Near = LongestParagraph / 8;
            const qsizetype blank = QStringView(text).mid(cut - Near, Near).lastIndexOf(QLatin1Char(' '));
            if (blank >= 0)
                cut = cut - Near + blank + 1;
            else if (text.at(cut - 1).isHighSurrogate())
                --cut;
            shown += QStringView(text).mid(from, cut - from);
            softBreaks.append(shown.size());
            shown += QLatin1Char('\n');
            paragraphStart = shown.size();
            from = cut;
        }
        shown += QStringView(text).mid(from, lineBreak - from);
        if (lineBreak == text.size())
            break;
        const qsizetype nextLine = text.indexOf(QLatin1Char('\n'), lineBreak + 1);
        const qsizetype nextLength = (nextLine < 0 ? text.size() : nextLine) - lineBreak - 1;
        if (grouped && shown.size() - paragraphStart + nextLength < ParagraphGroup) {
            shown += QChar(QChar::LineSeparator);
        } else {
            shown += QLatin1Char('\n');
            paragraphStart = shown.size();
        }
        lineStart = lineBreak + 1;
    }
    return shown;
}
} // namespace

void DescriptionPanel::addSoftBreaks(qsizetype end)
{
    QTextDocument *document = textEdit->document();
    // Inside an edit block a cursor does not lay out its paragraph to learn its place on screen.
    QTextCursor editBlock(document);
    editBlock.beginEditBlock();
    for (; m_nextSoftBreak < m_pendingSoftBreaks.size() && m_pendingSoftBreaks.at(m_nextSoftBreak) < end;
         ++m_nextSoftBreak) {
        const qsizetype position = m_pendingSoftBreaks.at(m_nextSoftBreak);
        SoftBreak soft{QTextCursor(document), QTextCursor(document)};
        soft.before.setPosition(int(position));
        soft.after.setPosition(int(position) + 1);
        // Text typed at the start of the next paragraph goes after the break.
        soft.after.setKeepPositionOnInsert(true);
        m_softBreaks.push_back(std::move(soft));
    }
    editBlock.endEditBlock();
}

void DescriptionPanel::fillNextChunk()
{
    if (m_pending.isEmpty())
        return;
    const qsizetype end = partEnd(m_pending, m_filled, Chunk);
    m_filling = true;
    QTextCursor cursor(textEdit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(m_pending.mid(m_filled, end - m_filled));
    m_filled = end;
    addSoftBreaks(end);
    if (m_filled < m_pending.size()) {
        m_filling = false;
        m_fillTimer->start();
        return;
    }
    m_pending.clear();
    m_filled = 0;
    textEdit->setReadOnly(false);
    textEdit->setUndoRedoEnabled(true);
    textEdit->document()->setModified(false);
    m_filling = false;
}

void DescriptionPanel::completeFill()
{
    m_fillTimer->stop();
    while (isFilling())
        fillNextChunk();
}

QString DescriptionPanel::text()
{
    completeFill();
    return withoutSoftBreaks(textEdit->document()->toRawText(), softBreakPositions());
}

std::vector<qsizetype> DescriptionPanel::softBreakPositions() const
{
    std::vector<qsizetype> soft;
    for (const SoftBreak &b : m_softBreaks) {
        if (b.after.position() - b.before.position() == 1 && b.before.atBlockEnd() && !b.before.atEnd())
            soft.push_back(b.before.position());
    }
    std::sort(soft.begin(), soft.end());
    soft.erase(std::unique(soft.begin(), soft.end()), soft.end());
    return soft;
}

QString DescriptionPanel::withoutSoftBreaks(const QString &raw, const std::vector<qsizetype> &soft)
{
    // The raw text keeps every character as typed or read (the plain-text view would turn a
    // no-break space into a space). Paragraph breaks, and the line breaks that Shift+Enter types,
    // become "\n"; soft breaks go.
    QString text;
    text.reserve(raw.size());
    auto nextSoft = soft.cbegin();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            if (nextSoft != soft.cend() && *nextSoft == i) {
                ++nextSoft;
                continue;
            }
            text += QLatin1Char('\n');
        } else {
            text += c;
        }
    }
    return text;
}

bool DescriptionPanel::isUnedited()
{
    completeFill();
    return !textEdit->document()->isModified();
}

void DescriptionPanel::setText(QString text)
{
    m_fillTimer->stop();
    m_pending.clear();
    m_filled = 0;
    m_softBreaks.clear();
    m_pendingSoftBreaks.clear();
    m_nextSoftBreak = 0;
    textEdit->setReadOnly(false);
    textEdit->setUndoRedoEnabled(true);
    const QString shown = displayed(text, m_pendingSoftBreaks);
    text = QString();  // a large text is held once, as shown, while it is filled in
    const qsizetype firstEnd = partEnd(shown, 0, FirstPart);
    textEdit->setPlainText(shown.left(firstEnd));
    addSoftBreaks(firstEnd);
    if (firstEnd >= shown.size()) {
        m_pendingSoftBreaks.clear();
        return;
    }
    textEdit->setUndoRedoEnabled(false);
    textEdit->setReadOnly(true);
    m_pending = shown;
    m_filled = firstEnd;
    m_fillTimer->start();
}

void DescriptionPanel::showNewDocument()
{
    setText(QString());
    m_openedFile.reset();
}

void DescriptionPanel::showMended(const QByteArray &bytes)
{
    const QString mended = DscText::fromFile(DocumentFile::decode(bytes));
    const QString now = text();
    if (mended == now) {
        // Only the line ends differ: the text as typed is saved with CR LF.
        textEdit->document()->setModified(true);
        emit changed();
        return;
    }
    qsizetype prefix = 0;
    while (prefix < now.size() && prefix < mended.size() && now.at(prefix) == mended.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < now.size() - prefix && suffix < mended.size() - prefix
           && now.at(now.size() - 1 - suffix) == mended.at(mended.size() - 1 - suffix))
        ++suffix;
    QTextCursor cursor(textEdit->document());
    if (m_softBreaks.empty()) {
        // The text's places are the box's while no soft break is in it.
        cursor.setPosition(int(prefix));
        cursor.setPosition(int(now.size() - suffix), QTextCursor::KeepAnchor);
        cursor.insertText(mended.mid(prefix, mended.size() - suffix - prefix));
    } else {
        cursor.select(QTextCursor::Document);
        cursor.insertText(mended);
    }
}

Nfo::ParseOutcome DescriptionPanel::readFile(const QByteArray &bytes)
{
    // A statement per step: each large intermediate text is freed before the next is made.
    QString text = DscText::fromFile(DocumentFile::decode(bytes));
    setText(std::move(text));
    m_openedFile = bytes;
    return {};
}

std::function<DocumentPanel::Output()> DescriptionPanel::outputMaker()
{
    if (m_openedFile && isUnedited()) {
        return [bytes = *m_openedFile]() -> Output { return {{}, [bytes] { return bytes; }}; };
    }
    completeFill();
    return [raw = textEdit->document()->toRawText(), soft = softBreakPositions()]() -> Output {
        QString fileText = DscText::toFile(withoutSoftBreaks(raw, soft));
        QList<Nfo::UnstorableValue> unstorable;
        if (auto error = DscText::checkStorable(fileText)) {
            unstorable.append({QString(), *error});
            // Never written: what the check reads, without an encoder's substitutes.
            return {std::move(unstorable), [fileText = std::move(fileText)] {
                        return CodePage::encodeMarkingUnstorable(fileText);
                    }};
        }
        return {std::move(unstorable), [fileText = std::move(fileText)] { return CodePage::encode(fileText); }};
    };
}

QWidget *DescriptionPanel::firstField() const { return textEdit; }

DocumentPanel::Field DescriptionPanel::fieldOf(const QString &) const { return {textEdit, QStringLiteral("Description")}; }
