#pragma once

#include "core/apperror.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The line grammar shared by Level and Episode NFO files: the kind word on the first line, then
// lines of KEY="value", separated by CR LF (a bare LF is read as a line end too).
namespace Nfo {

extern const QChar Quote;
extern const QString BlankKey;

// One line of an NFO file, split at its first "=".
struct Line
{
    QString text;       // the whole line as read
    QString key;        // text before the first "=" (the whole line without one); "Blank" if empty
    bool hasValuePart;  // the line holds an "="
    QString valuePart;  // everything after the first "="
    int number;         // 1-based line number in the file
};

// A line as a message quotes it: at most its first 200 characters, then "...".
QString shownLine(const QString &line);

// The value between the first and the second double quote of the value part (up to the end
// without a second quote). Throws AppError when the line has no "=" or no double quote.
QString valueOf(const Line &line);

// KEY="value"
QString fieldLine(const QString &key, const QString &value);

// Why a value cannot be written into an NFO line (a double quote would end it early, or a
// character the code page cannot hold); the message names the field by its caption.
std::optional<AppError> checkValue(const QString &caption, const QString &value);
// A value that a file cannot hold, by the key it is written under.
struct UnstorableValue
{
    QString key;
    AppError error;
};

// Something the reader tells the user about while reading goes on.
struct Notice
{
    enum Kind { WrongKind, InvalidLine };
    Kind kind;
    QString line;
    int number = 0;  // 1-based line number in the file
};

struct ParseOutcome
{
    // A file that is no game NFO has a notice a line: the first few are kept, all are counted.
    static constexpr qsizetype KeptNotices = 20;
    QList<Notice> notices;
    qsizetype noticeCount = 0;
    std::optional<AppError> error;  // reading stopped at its line; earlier lines took effect
    qsizetype unreadLines = 0;      // lines with text after the one that stopped the reading
    bool stopped = false;           // the reader was asked to stop before the end

    // The lines of the file that the fields do not hold, which a save over the file would drop.
    qsizetype droppedLines() const { return noticeCount + (error ? 1 + unreadLines : 0); }
};

// Gives each line of an NFO text in turn, split as the readers split them, until `visit` returns
// false.
void forEachLine(const QString &text, const std::function<bool(const Line &)> &visit);

// Reads the text line by line. `apply` handles a recognised key and returns false for a key it
// does not know. Lines keyed with the own kind word or "Blank" are skipped, the other kind's word
// gives a WrongKind notice, unknown keys an InvalidLine notice.
// `keepGoing`, when given, is asked at each line: false stops the reading there (`stopped`).
// `taken`, when given, is told each line read before the one that stopped the reading, so that a
// check of the values goes through the file once with the reader.
ParseOutcome parse(const QString &text, const QString &ownWord, const QString &otherWord,
                   const std::function<bool(const Line &)> &apply, const std::function<bool()> &keepGoing = {},
                   const std::function<void(const Line &)> &taken = {});

// A value of a file that the document does not hold as written: what Save would write instead.
struct ChangedValue
{
    int line = 0;  // 1-based, in the file
    QString key;
    QString read;
    QString written;
};
// Whether two values of a key mean the same to the game (for most keys: the same text).
using SameValue = std::function<bool(const QString &key, const QString &a, const QString &b)>;
// The values of `readText` (up to the line `stopLine`, 0: all) that `writtenText`, made from the
// document that read them, writes otherwise. Lines of keys that the written text does not hold are
// none of its business (they are counted as lines not read).
QList<ChangedValue> changedValues(const QString &readText, const QString &writtenText, const SameValue &same,
                                  int stopLine = 0);

// The first line of a file's text; an empty text has none (AppError, naming the file).
QString firstLine(const QString &text, const QString &path);

// Leading and trailing blanks removed (blanks only, as the kind decisions expect).
QString trimBlanks(const QString &text);

} // namespace Nfo
