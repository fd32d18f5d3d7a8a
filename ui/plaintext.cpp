#include "ui/plaintext.h"

#include <QTextDocument>

namespace PlainText {

QString bounded(const QString &text, qsizetype most)
{
    if (text.size() <= most)
        return text;
    qsizetype end = most;
    if (text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end) + QChar(0x2026);
}

QString toolTip(const QString &text)
{
    if (text.isEmpty())
        return {};
    // Escaped, in a paragraph of its own: Qt shows the characters, not what they would mark up.
    return Qt::convertFromPlainText(bounded(text, MostInToolTip), Qt::WhiteSpaceNormal);
}

} // namespace PlainText
