#pragma once

#include <QString>

// Text from outside (values, names, paths, finding texts) as the window shows it: as written,
// never as markup, and never so long that measuring or drawing it keeps the window waiting.
namespace PlainText {

// The most characters a pane's cell, a label or an accessible text shows of one text, and the
// most a tooltip shows: a longer text is cut there and ends in "…".
inline constexpr qsizetype MostShown = 300;
inline constexpr qsizetype MostInToolTip = 1000;

// The text as the window shows it: cut to `most` characters, with "…" where it was cut (never
// inside a surrogate pair), and the characters that reorder a line (right-to-left overrides and
// isolates) as visible escapes ("\u202e"), so that "readme\u202etxt.nfo" cannot pass for
// "readmeofn.txt".
QString shown(const QString &text, qsizetype most = MostShown);

// A finding's text as the window shows it: escaped as the check's output writes it, and cut
// before it is escaped (a value in it may be millions of characters long).
QString shownFinding(const QString &text, qsizetype most = MostShown);

// A text as a menu entry or a button shows it: as shownFinding, cut shorter, and with "&" as
// itself rather than as the mark of an access key.
QString menuText(const QString &text);

// A tooltip that shows the text as written (Qt would take a text holding a known tag as HTML,
// and draw pictures or files it names), line breaks kept, cut to MostInToolTip characters.
QString toolTip(const QString &text);

} // namespace PlainText
