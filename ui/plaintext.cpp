#include "ui/plaintext.h"

#include "core/checkoutput.h"


namespace PlainText {

QString shown(const QString &text, qsizetype most)
{
    QString cut = text;
    if (cut.size() > most) {
        const qsizetype end = cut.at(most - 1).isHighSurrogate() ? most - 1 : most;
        cut = cut.left(end) + QChar(0x2026);
    }
    for (qsizetype i = cut.size() - 1; i >= 0; --i) {
        const char16_t u = cut.at(i).unicode();
        if ((u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069))
            cut.replace(i, 1, QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0')));
    }
    return cut;
}

QString shownFinding(const QString &text, qsizetype most)
{
    return shown(ModCheck::escapedText(text.left(most + 1)), most);
}

QString toolTip(const QString &text)
{
    if (text.isEmpty())
        return {};
    // Escaped, in a paragraph of its own: Qt shows the characters, not what they would mark up.
    // Each line stays one line, as a plain tooltip shows it (rich text would be wrapped narrow).
    return QStringLiteral("<p style='white-space:pre'>")
           + shown(text, MostInToolTip).toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"))
           + QStringLiteral("</p>");
}

QString menuText(const QString &text) { return shownFinding(text, 80).replace(QLatin1Char('&'), QLatin1String("&&")); }

} // namespace PlainText
