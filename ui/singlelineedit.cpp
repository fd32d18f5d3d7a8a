#include "ui/singlelineedit.h"

#include <QLineEdit>
#include <QValidator>

#include <limits>

namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
           || c == QChar::ParagraphSeparator;
}

// The box runs every change through its validator, which may rewrite it: the line breaks go, and
// the cursor stays where it was in the remaining text.
class LineBreakDropper : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        qsizetype kept = 0;
        int newPos = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (isLineBreak(input.at(i))) {
                if (i < pos)
                    --newPos;
                continue;
            }
            if (kept != i)
                input[kept] = input.at(i);
            ++kept;
        }
        if (kept != input.size()) {
            input.truncate(kept);
            pos = newPos;
        }
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
