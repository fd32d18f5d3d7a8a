#include "core/nfoline.h"

#include "core/codepage.h"

#include <QDir>
#include <QHash>

namespace Nfo {

const QChar Quote = QLatin1Char('"');
const QString BlankKey = QStringLiteral("Blank");

namespace {
// Lines end at CR LF, or at a bare LF (files edited on Linux); a lone CR is part of its line.
qsizetype lineEnd(const QString &text, qsizetype from)
{
    const qsizetype lf = text.indexOf(QLatin1Char('\n'), from);
    if (lf < 0)
        return text.size();
    return lf > from && text.at(lf - 1) == QLatin1Char('\r') ? lf - 1 : lf;
}

// Where the line after the one ending at `end` starts; past the text after its last line.
qsizetype nextLineStart(const QString &text, qsizetype end)
{
    if (end >= text.size())
        return text.size() + 1;
    return text.at(end) == QLatin1Char('\r') ? end + 2 : end + 1;
}
} // namespace

QString shownLine(const QString &line)
{
    constexpr qsizetype Longest = 200;
    if (line.size() <= Longest)
        return line;
    return line.left(line.at(Longest - 1).isHighSurrogate() ? Longest - 1 : Longest) + QStringLiteral("...");
}

QString valueOf(const Line &line)
{
    const qsizetype open = line.hasValuePart ? line.valuePart.indexOf(Quote) : -1;
    if (open < 0) {
        throw AppError{AppError::BadFileLine,
                       QStringLiteral("the line has no value in double quotes: '%1'").arg(shownLine(line.text)), {},
                       line.number};
    }
    const qsizetype close = line.valuePart.indexOf(Quote, open + 1);
    return close < 0 ? line.valuePart.mid(open + 1) : line.valuePart.mid(open + 1, close - open - 1);
}

QString fieldLine(const QString &key, const QString &value)
{
    return key + QLatin1Char('=') + Quote + value + Quote;
}

std::optional<AppError> checkValue(const QString &caption, const QString &value)
{
    const QString subject = QStringLiteral("The value of '%1'").arg(caption);
    if (value.contains(Quote)) {
        return AppError{AppError::UnstorableValue,
                        subject + QStringLiteral(" contains a double quote (\"), which an NFO file "
                                                 "cannot hold. Remove it and save again.")};
    }
    return CodePage::check(subject, value);
}

void forEachLine(const QString &text, const std::function<bool(const Line &)> &visit)
{
    int number = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        const qsizetype end = lineEnd(text, start);
        const QStringView piece = QStringView(text).mid(start, end - start);
        start = nextLineStart(text, end);
        ++number;
        Line line{piece.toString(), {}, false, {}, number};
        const qsizetype equals = piece.indexOf(QLatin1Char('='));
        if (piece.isEmpty()) {
            line.key = BlankKey;
        } else if (equals < 0) {
            line.key = line.text;
        } else {
            line.key = piece.left(equals).toString();
            line.hasValuePart = true;
            line.valuePart = piece.mid(equals + 1).toString();
        }
        if (!visit(line))
            return;
    }
}

ParseOutcome parse(const QString &text, const QString &ownWord, const QString &otherWord,
                   const std::function<bool(const Line &)> &apply, const std::function<bool()> &keepGoing,
                   const std::function<void(const Line &)> &taken)
{
    ParseOutcome outcome;
    const auto notice = [&outcome](Notice::Kind kind, const Line &line) {
        if (outcome.noticeCount++ < ParseOutcome::KeptNotices)
            outcome.notices.append({kind, line.text, line.number});
    };
    forEachLine(text, [&](const Line &line) {
        if (keepGoing && !keepGoing()) {
            outcome.stopped = true;
            return false;
        }
        if (outcome.error) {
            outcome.unreadLines += line.text.isEmpty() ? 0 : 1;
            return true;
        }
        if (line.key == ownWord || line.key == BlankKey) {
        } else if (line.key == otherWord) {
            notice(Notice::WrongKind, line);
        } else {
            try {
                if (!apply(line))
                    notice(Notice::InvalidLine, line);
            } catch (const AppError &error) {
                outcome.error = error;
                outcome.error->line = line.number;
                return true;
            }
        }
        if (taken)
            taken(line);
        return true;
    });
    return outcome;
}

QList<ChangedValue> changedValues(const QString &readText, const QString &writtenText, const SameValue &same,
                                  int stopLine)
{
    QHash<QString, QString> written;
    forEachLine(writtenText, [&written](const Line &line) {
        if (line.hasValuePart && line.valuePart.contains(Quote))
            written.insert(line.key, valueOf(line));
        return true;
    });
    QList<ChangedValue> changed;
    forEachLine(readText, [&](const Line &line) {
        if (stopLine > 0 && line.number >= stopLine)
            return false;
        const auto held = written.constFind(line.key);
        if (held == written.constEnd() || !line.hasValuePart || !line.valuePart.contains(Quote))
            return true;
        const QString value = valueOf(line);
        if (!same(line.key, value, *held))
            changed.append({line.number, line.key, value, *held});
        return true;
    });
    return changed;
}

QString firstLine(const QString &text, const QString &path)
{
    if (text.isEmpty()) {
        throw AppError{AppError::EmptyFile,
                       QStringLiteral("'%1' is empty: it has no first line that says whether it is "
                                      "a Level or an Episode NFO")
                           .arg(QDir::toNativeSeparators(path))};
    }
    return text.left(lineEnd(text, 0));
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace Nfo
