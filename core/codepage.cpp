#include "core/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

#ifdef Q_OS_WIN
QStringDecoder makeDecoder() { return QStringDecoder(QStringConverter::System); }
QStringEncoder makeEncoder() { return QStringEncoder(QStringConverter::System); }
#else
QStringDecoder makeDecoder() { return QStringDecoder("windows-1252"); }
QStringEncoder makeEncoder() { return QStringEncoder("windows-1252"); }
#endif

bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

namespace CodePage {

QString decode(const QByteArray &bytes)
{
    // The converter gives up on very large inputs (it returned an empty text from 512 MiB on), so
    // the bytes go through it in parts; the one decoder carries any state from part to part.
    constexpr qsizetype Part = 16 * 1024 * 1024;
    auto decoder = makeDecoder();
    if (bytes.size() <= Part)
        return decoder.decode(bytes);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype from = 0; from < bytes.size(); from += Part)
        text += decoder.decode(QByteArrayView(bytes).sliced(from, qMin(Part, bytes.size() - from)));
    return text;
}

QByteArray encode(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    auto encoder = makeEncoder();
    return encoder.encode(text);
}

QString firstUnstorable(const QString &text)
{
    if (isAscii(text))
        return {};
    // A text is storable when its bytes read back as the same text. Encoders do not all report
    // what they cannot hold: Windows' own code page conversion writes "O" for "Ω" and "?" for CJK
    // without a word, so only the round trip is trusted, on every platform.
    if (decode(encode(text)) == text)
        return {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString one = text.mid(i, pair ? 2 : 1);
        if (one.at(0).unicode() >= 0x80 || one.at(0).isSurrogate()) {
            if (decode(encode(one)) != one)
                return one;
        }
        if (pair)
            ++i;
    }
    return {};
}

std::optional<AppError> check(const QString &subject, const QString &text)
{
    const QString bad = firstUnstorable(text);
    if (bad.isEmpty())
        return std::nullopt;
#ifdef Q_OS_WIN
    const QString codePage = QStringLiteral("the system's code page");
#else
    const QString codePage = QStringLiteral("the Windows-1252 code page");
#endif
    return AppError{AppError::UnstorableValue,
                    QStringLiteral("%1 contains the character '%2', which files in %3 cannot hold. "
                                   "Replace it and save again.")
                        .arg(subject, bad, codePage)};
}

} // namespace CodePage
