#include "core/dsctext.h"

#include "core/codepage.h"

namespace DscText {

// Both conversions are one pass over the text into a buffer reserved up front: descriptions can be
// hundreds of megabytes, where replacing in place would move the rest of the text at every break.

QString fromFile(const QString &fileText)
{
    QString text;
    text.reserve(fileText.size());
    const QChar *c = fileText.constData();
    const QChar *end = c + fileText.size();
    for (; c != end; ++c) {
        if (*c == QLatin1Char('\r')) {
            text += QLatin1Char('\n');
            if (c + 1 != end && c[1] == QLatin1Char('\n'))
                ++c;
        } else {
            text += *c;
        }
    }
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

QString toFile(const QString &editorText)
{
    qsizetype breaks = 1;
    for (QChar c : editorText)
        breaks += c == QLatin1Char('\n') || c == QLatin1Char('\r') ? 1 : 0;
    QString text;
    text.reserve(editorText.size() + breaks);
    const QChar *c = editorText.constData();
    const QChar *end = c + editorText.size();
    for (; c != end; ++c) {
        switch (c->unicode()) {
        case '\r':
            if (c + 1 != end && c[1] == QLatin1Char('\n'))
                ++c;
            Q_FALLTHROUGH();
        case '\n':
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
            text += QLatin1Char('\r');
            text += QLatin1Char('\n');
            break;
        default:
            text += *c;
        }
    }
    text += QStringLiteral("\r\n");
    return text;
}

std::optional<AppError> checkStorable(const QString &editorText)
{
    qsizetype at = -1;
    std::optional<AppError> error = CodePage::check(QStringLiteral("The description"), editorText, &at);
    // The line of the character, as the file's lines are counted.
    if (error)
        error->line = int(QStringView(editorText).left(at).count(QLatin1Char('\n'))) + 1;
    return error;
}

} // namespace DscText
