#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Documents are single-byte text in the game's code page: Windows-1252 (the system's ANSI code
// page on Windows). Every byte maps to one character and back, so open-then-save is byte-exact.
namespace CodePage {

QString decode(const QByteArray &bytes);

// The bytes for the text; characters the code page cannot hold are never substituted silently:
// check with firstUnstorable() first.
QByteArray encode(const QString &text);

// The code page in use as a message names it: "the Windows-1252 code page"; on Windows the
// system's ANSI code page, by number and name ("the code page 932 (Japanese)").
QString name();
// Whether the code page has one byte for each character (Windows' East Asian code pages do not).
bool isSingleByte();

// The first character of the text that the code page cannot hold, or an empty string; and where
// it is in the text (-1: none).
QString firstUnstorable(const QString &text);
qsizetype firstUnstorableAt(const QString &text);
// The bytes for the text with "?" for each character the code page cannot hold: what a check
// reads of a text that cannot be saved (an encoder's own substitute may be a control character).
QByteArray encodeMarkingUnstorable(const QString &text);

// The lines (from 1, counted at LF) whose bytes the code page does not read back as they are: a
// byte sequence it cannot decode is dropped or merged by the decoder, so the text shown is not
// the file's and a save would change those bytes. At most `most` lines. Only a code page of more
// than one byte a character has such sequences; with one byte a character none is looked for.
QList<int> undecodedLines(const QByteArray &bytes, qsizetype most = 1000);

// Reads and writes in another code page, by its converter name ("Shift_JIS"), while it lasts: a
// test's system set to that code page. Where this system's converters do not know the name
// (Windows), nothing changes and isSingleByte() says so.
class Override
{
public:
    Override(const QByteArray &converter, const QString &shownName);
    ~Override();
    Override(const Override &) = delete;
    Override &operator=(const Override &) = delete;
};

// The error for a text holding a character the code page cannot hold; `subject` starts the
// message ("The description", "The value of 'Name'").
// `at`, when given, is set to where that character is (-1: none).
std::optional<AppError> check(const QString &subject, const QString &text, qsizetype *at = nullptr);

} // namespace CodePage
