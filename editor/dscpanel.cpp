#include "editor/dscpanel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

DscPanel::DscPanel(QWidget *parent) : QGroupBox(QStringLiteral("Properties (DSC)"), parent)
{
    setObjectName(QStringLiteral("FrameDsc"));
    auto *layout = new QVBoxLayout(this);
    LblDes = new QLabel(QStringLiteral("Description:"), this);
    LblDes->setObjectName(QStringLiteral("LblDes"));
    TextDSC = new QPlainTextEdit(this);
    TextDSC->setObjectName(QStringLiteral("TextDSC"));
    TextDSC->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextDSC->setTabChangesFocus(true);
    LblDes->setBuddy(TextDSC);
    layout->addWidget(LblDes);
    layout->addWidget(TextDSC, 1);
    connect(TextDSC, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            emit changed();
    });
    m_fillTimer = new QTimer(this);
    m_fillTimer->setSingleShot(true);
    m_fillTimer->setInterval(0);
    connect(m_fillTimer, &QTimer::timeout, this, &DscPanel::fillNextChunk);
}

namespace {
// About a few screens of text at once, then chunks that take a few milliseconds each.
constexpr qsizetype FirstPart = 64 * 1024;
constexpr qsizetype Chunk = 256 * 1024;

// Where a part of `text` that starts at `from` ends: at a line break near `from + size` (the break
// itself starts the next part), or at the end.
qsizetype partEnd(const QString &text, qsizetype from, qsizetype size)
{
    if (from + size >= text.size())
        return text.size();
    const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'), from + size);
    return lineBreak < 0 ? text.size() : lineBreak;
}
} // namespace

void DscPanel::fillNextChunk()
{
    if (m_pending.isEmpty())
        return;
    const qsizetype end = partEnd(m_pending, m_filled, Chunk);
    m_filling = true;
    QTextCursor cursor(TextDSC->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(m_pending.mid(m_filled, end - m_filled));
    m_filling = false;
    m_filled = end;
    if (m_filled < m_pending.size()) {
        m_fillTimer->start();
        return;
    }
    m_pending.clear();
    m_filled = 0;
    TextDSC->setReadOnly(false);
    TextDSC->setUndoRedoEnabled(true);
}

void DscPanel::completeFill()
{
    m_fillTimer->stop();
    while (isFilling())
        fillNextChunk();
}

QString DscPanel::text()
{
    completeFill();
    // The raw text keeps every character as typed or read (the plain-text view would turn a
    // no-break space into a space); only the paragraph breaks become line breaks.
    QString text = TextDSC->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void DscPanel::setText(const QString &text)
{
    m_fillTimer->stop();
    m_pending.clear();
    m_filled = 0;
    TextDSC->setReadOnly(false);
    TextDSC->setUndoRedoEnabled(true);
    const qsizetype firstEnd = partEnd(text, 0, FirstPart);
    if (firstEnd >= text.size()) {
        TextDSC->setPlainText(text);
        return;
    }
    TextDSC->setPlainText(text.left(firstEnd));
    TextDSC->setUndoRedoEnabled(false);
    TextDSC->setReadOnly(true);
    m_pending = text;
    m_filled = firstEnd;
    m_fillTimer->start();
}
