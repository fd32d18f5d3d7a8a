#include "formats/dsctext.h"

#include "formats/codepage.h"
#include "formats/documentfile.h"

namespace DscText {

QString fromFile(const QString &fileText)
{
    QString text = fileText;
    if (text.endsWith(DocumentFile::CRLF))
        text.chop(2);
    text.replace(DocumentFile::CRLF, QStringLiteral("\n"));
    return text;
}

QString toFile(const QString &editorText)
{
    QString text = editorText;
    text.replace(QLatin1Char('\n'), DocumentFile::CRLF);
    return text + DocumentFile::CRLF;
}

std::optional<AppError> checkStorable(const QString &editorText)
{
    return CodePage::check(QStringLiteral("The description"), editorText);
}

} // namespace DscText
