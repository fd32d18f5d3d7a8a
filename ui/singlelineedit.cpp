#include "ui/singlelineedit.h"

#include <QLineEdit>
#include <QValidator>

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

void setUp(QLineEdit *edit)
{
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setValidator(new LineBreakDropper(edit));
}

} // namespace SingleLineEdit
