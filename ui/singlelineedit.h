#pragma once

#include <QString>

class QLineEdit;

// Makes a text box a one-line value box: a value is one line of its file, so line breaks (CR, LF,
// U+2028, U+2029) typed, pasted or dropped into it are dropped, and it has no length limit (Qt's
// default cuts a text at 32,767 characters).
namespace SingleLineEdit {

void setUp(QLineEdit *edit);

// The longest value a box shows for editing. Qt lays a box's whole text out again at every key
// and paint (seconds for millions of characters), so a longer value, which no game path or name
// comes near, is kept whole as read and shown cut ("…"), read-only: Save writes it as it was.
inline constexpr int LongestEditable = 10000;
// Puts a value read from a file into the box (held whole when it is too long to edit).
void setValue(QLineEdit *edit, const QString &value);
// Changes the box's value as typing would (Undo in the box takes it back); nothing when it holds
// the value already.
void replaceValue(QLineEdit *edit, const QString &value);
// The value the box holds: what it shows, or the value held whole.
QString value(const QLineEdit *edit);

} // namespace SingleLineEdit
