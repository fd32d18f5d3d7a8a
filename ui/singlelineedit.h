#pragma once

class QLineEdit;

// Makes a text box a one-line value box: a value is one line of its file, so line breaks (CR, LF,
// U+2028, U+2029) typed, pasted or dropped into it are dropped, and it has no length limit (Qt's
// default cuts a text at 32,767 characters).
namespace SingleLineEdit {

void setUp(QLineEdit *edit);

} // namespace SingleLineEdit
