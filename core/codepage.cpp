#include "core/codepage.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// A code page put in place of the system's (tests).
struct OtherPage
{
    QByteArray converter;
    QString shownName;
};
std::optional<OtherPage> &otherPage()
{
    static std::optional<OtherPage> page;
    return page;
}

#ifdef Q_OS_WIN
QStringDecoder makeDecoder() { return QStringDecoder(QStringConverter::System); }
QStringEncoder makeEncoder() { return QStringEncoder(QStringConverter::System); }
#else
QStringDecoder makeDecoder()
{
    return otherPage() ? QStringDecoder(otherPage()->converter.constData()) : QStringDecoder("windows-1252");
}
QStringEncoder makeEncoder()
{
    return otherPage() ? QStringEncoder(otherPage()->converter.constData()) : QStringEncoder("windows-1252");
}
#endif

bool isAsciiBytes(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

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
    // Plain ASCII reads the same in every code page Windows has: no converter is needed for it.
    if (bytes.size() <= Part && isAsciiBytes(bytes))
        return QString::fromLatin1(bytes);
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

qsizetype firstUnstorableAt(const QString &text)
{
    if (isAscii(text))
        return -1;
    // A text is storable when its bytes read back as the same text. Encoders do not all report
    // what they cannot hold: Windows' own code page conversion writes "O" for "Ω" and "?" for CJK
    // without a word, so only the round trip is trusted, on every platform.
    if (decode(encode(text)) == text)
        return -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString one = text.mid(i, pair ? 2 : 1);
        if (one.at(0).unicode() >= 0x80 || one.at(0).isSurrogate()) {
            if (decode(encode(one)) != one)
                return i;
        }
        if (pair)
            ++i;
    }
    return -1;
}

namespace {
// The character at `at` (two code units for a surrogate pair); empty for -1.
QString characterAt(const QString &text, qsizetype at)
{
    if (at < 0)
        return {};
    const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
    return text.mid(at, pair ? 2 : 1);
}
} // namespace

QString firstUnstorable(const QString &text) { return characterAt(text, firstUnstorableAt(text)); }

QByteArray encodeMarkingUnstorable(const QString &text)
{
    QString marked;
    marked.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString one = text.mid(i, pair ? 2 : 1);
        const bool held = one.at(0).unicode() < 0x80 || decode(encode(one)) == one;
        marked += held ? one : QStringLiteral("?");
        if (pair)
            ++i;
    }
    return encode(marked);
}

QList<int> undecodedLines(const QByteArray &bytes, qsizetype most)
{
    QList<int> lines;
    if (isSingleByte() || isAsciiBytes(bytes) || encode(decode(bytes)) == bytes)
        return lines;
    int line = 1;
    for (qsizetype start = 0; start < bytes.size() && lines.size() < most; ++line) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArray part = bytes.mid(start, end - start);
        if (!isAsciiBytes(part) && encode(decode(part)) != part)
            lines.append(line);
        start = end;
    }
    return lines;
}

Override::Override(const QByteArray &converter, const QString &shownName)
{
#ifndef Q_OS_WIN
    if (QStringDecoder(converter.constData()).isValid())
        otherPage() = OtherPage{converter, shownName};
#else
    Q_UNUSED(converter);
    Q_UNUSED(shownName);
#endif
}

Override::~Override() { otherPage().reset(); }

QString name()
{
    if (otherPage())
        return otherPage()->shownName;
#ifdef Q_OS_WIN
    // The ANSI code pages Windows is set to, by the names its own settings give their scripts.
    static const QHash<uint, const char *> names{
        {874, "Thai"},       {932, "Japanese"},        {936, "Simplified Chinese"}, {949, "Korean"},
        {950, "Traditional Chinese"}, {1250, "Central European"}, {1251, "Cyrillic"},   {1252, "Western"},
        {1253, "Greek"},     {1254, "Turkish"},        {1255, "Hebrew"},            {1256, "Arabic"},
        {1257, "Baltic"},    {1258, "Vietnamese"},     {65001, "UTF-8"}};
    const uint page = GetACP();
    const char *script = names.value(page);
    return script ? QStringLiteral("the code page %1 (%2)").arg(QString::number(page), QLatin1String(script))
                  : QStringLiteral("the code page %1").arg(page);
#else
    return QStringLiteral("the Windows-1252 code page");
#endif
}

bool isSingleByte()
{
    if (otherPage())
        return false;  // the code pages put in place are East Asian ones
#ifdef Q_OS_WIN
    CPINFO info;
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
#else
    return true;
#endif
}

std::optional<AppError> check(const QString &subject, const QString &text, qsizetype *at)
{
    const qsizetype where = firstUnstorableAt(text);
    if (at)
        *at = where;
    if (where < 0)
        return std::nullopt;
    const QString bad = characterAt(text, where);
    return AppError{AppError::UnstorableValue,
                    QStringLiteral("%1 contains the character '%2', which files in %3 cannot hold. "
                                   "Replace it and save again.")
                        .arg(subject, bad, name())};
}

} // namespace CodePage
