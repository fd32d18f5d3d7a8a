#include "ui/singlelineedit.h"

#include "ui/plaintext.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QValidator>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
           || c == QChar::ParagraphSeparator;
}

// The box runs every change through its validator, which may rewrite it. The box never holds a
// line break, so the breaks are in what was just pasted, dropped or typed (which ends at the
// cursor): a run of them between two words becomes one blank ("Line one⏎Line two" keeps its
// words apart); a run at either end of the text, before the cursor, or beside a blank goes. The
// cursor stays where it was in the text that remains.
class LineBreakDropper : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        if (std::none_of(input.cbegin(), input.cend(), isLineBreak))
            return Acceptable;
        QString kept;
        kept.reserve(input.size());
        int newPos = pos;
        for (qsizetype i = 0; i < input.size();) {
            if (!isLineBreak(input.at(i))) {
                kept += input.at(i++);
                continue;
            }
            const qsizetype start = i;
            while (i < input.size() && isLineBreak(input.at(i)))
                ++i;
            const bool betweenWords = start > 0 && i < input.size() && i != pos && !input.at(start - 1).isSpace()
                                      && !input.at(i).isSpace();
            if (betweenWords)
                kept += QLatin1Char(' ');
            // The cursor moves back by what was taken out before it.
            const qsizetype removed = (i - start) - (betweenWords ? 1 : 0);
            if (i <= pos)
                newPos -= int(removed);
            else if (start < pos)
                newPos = int(kept.size());
        }
        input = kept;
        pos = newPos;
        return Acceptable;
    }
};

} // namespace

namespace SingleLineEdit {

namespace {
constexpr char HeldValue[] = "heldValue";
constexpr char HeldShown[] = "heldShown";
} // namespace

void setUp(QLineEdit *edit)
{
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setValidator(new LineBreakDropper(edit));
    // A value held whole gives way to any other text put in the box (a browsed asset, a drop).
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        if (edit->property(HeldValue).isValid() && text != edit->property(HeldShown).toString()) {
            edit->setProperty(HeldValue, QVariant());
            edit->setProperty(HeldShown, QVariant());
            edit->setReadOnly(false);
        }
    });
}

void setValue(QLineEdit *edit, const QString &value)
{
    const bool tooLong = value.size() > LongestEditable;
    const QString shown = tooLong ? PlainText::shown(value, 200) : value;
    edit->setProperty(HeldValue, tooLong ? QVariant(value) : QVariant());
    edit->setProperty(HeldShown, tooLong ? QVariant(shown) : QVariant());
    edit->setReadOnly(tooLong);
    edit->setText(shown);
}

void replaceValue(QLineEdit *edit, const QString &value)
{
    if (SingleLineEdit::value(edit) == value)
        return;
    if (edit->isReadOnly() || value.size() > LongestEditable) {
        setValue(edit, value);  // a value held whole is no text to type over
        return;
    }
    edit->selectAll();
    edit->insert(value);
    // What the program put there is no typing to complete.
    if (QCompleter *completer = edit->completer())
        completer->popup()->hide();
}

QString value(const QLineEdit *edit)
{
    const QVariant held = edit->property(HeldValue);
    return held.isValid() ? held.toString() : edit->text();
}

} // namespace SingleLineEdit
