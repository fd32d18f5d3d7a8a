#include "core/checkrules.h"

#include "core/codepage.h"

#include <QDir>
#include <QLocale>

#include <algorithm>

#include <limits>

namespace ModCheck {

namespace {

// --- What several rules share -------------------------------------------------------------

QString key(const Site &site) { return QLatin1String(site.field.key); }

void add(FindingSink &sink, const Rule &rule, const Site &site, const QString &text, Fix fix = {})
{
    sink.add(rule, site.line, text, key(site), std::move(fix));
}

// The edit that makes `length` characters of the value from `at` the text `text`, in the file's
// bytes (a character may be more than one byte in the code page).
ByteEdit valueEdit(const Site &site, qsizetype at, qsizetype length, const QString &text)
{
    return {site.valueOffset + CodePage::encode(site.value.left(at)).size(), CodePage::encode(site.value.mid(at, length)).size(),
            CodePage::encode(text)};
}

// A mend that makes the value `value`, through `edits` of its bytes (none given: the whole value).
Fix valueFix(const Site &site, const Rule &rule, const QString &value, QList<ByteEdit> edits = {})
{
    if (!site.fixes)
        return {};
    if (edits.isEmpty())
        edits.append(valueEdit(site, 0, site.value.size(), value));
    return {rule.fixes, QStringLiteral("%1 '%2' becomes '%3'").arg(key(site), site.value, value), std::move(edits)};
}

// A file whose name is `fileName` among the assets of a kind, when it is the only one.
std::optional<QString> onlyAssetNamed(const Site &site, AssetKind kind, const QString &fileName)
{
    if (!site.assetsNamed || fileName.isEmpty())
        return std::nullopt;
    const QStringList found = site.assetsNamed(kind, fileName);
    if (found.size() != 1 || found.first() == site.value)
        return std::nullopt;
    return found.first();
}

QString fileNameOf(const QString &value)
{
    return value.mid(qMax(value.lastIndexOf(QLatin1Char('\\')), value.lastIndexOf(QLatin1Char('/'))) + 1);
}

bool isAsset(const Site &site) { return site.field.kind == ValueKind::Asset && !site.value.isEmpty(); }
bool isRelativeAsset(const Site &site) { return isAsset(site) && !NfoValue::isAbsolutePath(site.value); }
bool isKind(const Site &site, ValueKind kind) { return site.field.kind == kind; }

// A lone CR ends a line of a description (the text box reads it so), not of an NFO file.
bool loneCrBreaks(const Site &site) { return site.kind == FileKind::Description; }

bool isLineBreak(const QByteArray &bytes, qsizetype i, bool loneCr)
{
    const char c = bytes.at(i);
    return c == '\n' || (c == '\r' && loneCr && !(i + 1 < bytes.size() && bytes.at(i + 1) == '\n'));
}

// The length of the UTF-8 sequence of two to four bytes that starts at `i`, or 0: a lead byte
// and its continuation bytes, no overlong or surrogate forms. A single-byte text rarely holds one
// (an accented letter is followed by a plain one), a UTF-8 file holds one for each such letter.
int utf8SequenceAt(const QByteArray &bytes, qsizetype i)
{
    const auto at = [&bytes](qsizetype k) { return k < bytes.size() ? static_cast<unsigned char>(bytes.at(k)) : 0; };
    const unsigned char lead = at(i);
    int length = 0;
    unsigned char low = 0x80, high = 0xbf;  // the second byte's range
    if (lead >= 0xc2 && lead <= 0xdf)
        length = 2;
    else if (lead >= 0xe0 && lead <= 0xef)
        length = 3, low = lead == 0xe0 ? 0xa0 : 0x80, high = lead == 0xed ? 0x9f : 0xbf;
    else if (lead >= 0xf0 && lead <= 0xf4)
        length = 4, low = lead == 0xf0 ? 0x90 : 0x80, high = lead == 0xf4 ? 0x8f : 0xbf;
    else
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xbf)
            return 0;
    }
    return length;
}

// --- The rules, each its check and its texts ------------------------------------------------

void unreadableFile(const Site &site, FindingSink &sink, const Rule &self) { sink.add(self, 1, site.unreadable, {}); }

void unwritableFile(const Site &site, FindingSink &sink, const Rule &self) { sink.add(self, 1, site.unwritable, {}); }

void notGameNfo(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!site.gameNfo)
        sink.add(self, 1, QStringLiteral("not a game NFO: the first line is neither LEVEL nor EPISODE"), {});
}

void otherKindWord(const Site &site, FindingSink &sink, const Rule &self)
{
    for (const Nfo::Notice &notice : site.outcome->notices) {
        if (notice.kind == Nfo::Notice::WrongKind)
            sink.add(self, notice.number, QStringLiteral("the other kind's word '%1' in %2 NFO")
                                              .arg(notice.line, site.level ? QStringLiteral("a Level") : QStringLiteral("an Episode")), {});
    }
}

void ignoredLine(const Site &site, FindingSink &sink, const Rule &self)
{
    for (const Nfo::Notice &notice : site.outcome->notices) {
        if (notice.kind == Nfo::Notice::InvalidLine)
            sink.add(self, notice.number, QStringLiteral("invalid line, which is ignored: '%1'").arg(Nfo::shownLine(notice.line)), {});
    }
    // The reader keeps the first few notices; the others are counted with the invalid lines.
    sink.omit(self, site.outcome->noticeCount - site.outcome->notices.size());
}

void readingStops(const Site &site, FindingSink &sink, const Rule &self)
{
    if (const auto &error = site.outcome->error)
        sink.add(self, error->line, error->description + QStringLiteral(": reading stops here"), {});
}

void missingLine(const Site &site, FindingSink &sink, const Rule &self)
{
    if (site.outcome->error || site.poll->stopped())
        return;  // the lines after it were never read
    for (qsizetype i = 0; i < site.fields->size(); ++i) {
        const NfoField &field = site.fields->at(i);
        if (field.optional || (site.seen & (quint64(1) << i)))
            continue;
        // The line a new document has, added at the end.
        Fix fix;
        const QString key = QLatin1String(field.key);
        if (site.fixes && site.newLines && site.newLines->contains(key)) {
            const QByteArray &bytes = *site.bytes;
            const QByteArray line = CodePage::encode(site.newLines->value(key)) + "\r\n";
            fix = {self.fixes, QStringLiteral("the line %1 is added").arg(site.newLines->value(key)),
                   {{bytes.size(), 0, bytes.isEmpty() || bytes.endsWith('\n') ? line : "\r\n" + line}}};
        }
        sink.add(self, 1, QStringLiteral("the %1 line is missing, and the game needs it").arg(key), {}, std::move(fix));
    }
}

void textAfterQuote(const Site &site, FindingSink &sink, const Rule &self)
{
    const qsizetype open = site.valuePart.indexOf(Nfo::Quote);
    const qsizetype close = site.valuePart.indexOf(Nfo::Quote, open + 1);
    if (close >= 0 && !site.valuePart.mid(close + 1).trimmed().isEmpty()) {
        add(sink, self, site, QStringLiteral("the value ends at its second double quote; '%1' after it is lost")
                                  .arg(site.valuePart.mid(close + 1)));
    }
}

void absolutePath(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!NfoValue::isAbsolutePath(site.value))
        return;
    // A path under the game folder (in any letter case, as the game's file system) is mended as
    // browsing would enter it; a path elsewhere is the author's to move.
    Fix fix;
    const QString path = QDir::cleanPath(QString(site.value).replace(QLatin1Char('\\'), QLatin1Char('/')));
    QString game = site.gameFolder;
    while (game.endsWith(QLatin1Char('/')))
        game.chop(1);
    if (!game.isEmpty() && path.size() > game.size() + 1 && path.at(game.size()) == QLatin1Char('/')
        && path.startsWith(game, Qt::CaseInsensitive))
        fix = valueFix(site, self, path.mid(game.size() + 1).replace(QLatin1Char('/'), QLatin1Char('\\')));
    add(sink, self, site, QStringLiteral("'%1' is an absolute path, which the game cannot resolve: give it "
                                         "relative to the game folder").arg(site.value), std::move(fix));
}

void slashSeparator(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!site.value.contains(QLatin1Char('/')))
        return;
    // "/" is one byte in every code page, and never the second byte of a character.
    QList<ByteEdit> edits;
    const QByteArray value = CodePage::encode(site.value);
    static const QByteArray backslash("\\");
    for (qsizetype at = value.indexOf('/'); at >= 0; at = value.indexOf('/', at + 1))
        edits.append({site.valueOffset + at, 1, backslash});
    add(sink, self, site, QStringLiteral("'%1' has '/' separators: the game's paths use '\\'").arg(site.value),
        valueFix(site, self, QString(site.value).replace(QLatin1Char('/'), QLatin1Char('\\')), edits));
}

void assetKind(const Site &site, FindingSink &sink, const Rule &self)
{
    const AssetType &type = assetTypeOf(site.field.asset);
    if (site.value.endsWith(QLatin1String(type.extension), Qt::CaseInsensitive))
        return;
    // The file of the field's kind by the same name, when there is one.
    Fix fix;
    const QString name = fileNameOf(site.value);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (const auto found = onlyAssetNamed(site, site.field.asset, (dot > 0 ? name.left(dot) : name) + QLatin1String(type.extension)))
        fix = valueFix(site, self, *found);
    add(sink, self, site, QStringLiteral("'%1' should be %2, a %3 file")
                              .arg(site.value, QLatin1String(type.what), QLatin1String(type.extension)), std::move(fix));
}

void assetNotFound(const Site &site, FindingSink &sink, const Rule &self)
{
    if (site.assetFound && site.assetFound(site.value))
        return;
    // The one file of that name and kind elsewhere in the mod or the game, when there is one.
    Fix fix;
    if (site.value.endsWith(QLatin1String(assetTypeOf(site.field.asset).extension), Qt::CaseInsensitive)) {
        if (const auto found = onlyAssetNamed(site, site.field.asset, fileNameOf(site.value)))
            fix = valueFix(site, self, *found);
    }
    add(sink, self, site, QStringLiteral("'%1' not found as a file in the mod or the game folder (it may be in an archive)")
                              .arg(site.value), std::move(fix));
}

void etaFormat(const Site &site, FindingSink &sink, const Rule &self)
{
    if (NfoValue::etaProblem(site.value) == NfoValue::EtaProblem::NotThreeNumbers)
        add(sink, self, site, QStringLiteral("ETA '%1' is not three numbers separated by ':' (hours:minutes:seconds)").arg(site.value));
}

void etaRange(const Site &site, FindingSink &sink, const Rule &self)
{
    const NfoValue::EtaProblem problem = NfoValue::etaProblem(site.value);
    if (problem != NfoValue::EtaProblem::MinutesOver59 && problem != NfoValue::EtaProblem::SecondsOver59)
        return;
    // The same time with minutes and seconds carried over: 00:75:00 is 01:15:00.
    Fix fix;
    const QStringList parts = NfoValue::etaParts(site.value);
    bool ok[3] = {};
    const qint64 seconds = parts.at(0).toLongLong(&ok[0]) * 3600 + parts.at(1).toLongLong(&ok[1]) * 60 + parts.at(2).toLongLong(&ok[2]);
    if (ok[0] && ok[1] && ok[2] && seconds < qint64(100) * 3600) {
        const auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
        fix = valueFix(site, self, two(seconds / 3600) + QLatin1Char(':') + two(seconds / 60 % 60) + QLatin1Char(':') + two(seconds % 60));
    }
    add(sink, self, site, QStringLiteral("ETA '%1' has %2 over 59")
                              .arg(site.value, problem == NfoValue::EtaProblem::MinutesOver59 ? QStringLiteral("minutes")
                                                                                              : QStringLiteral("seconds")),
        std::move(fix));
}

void distanceNumber(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!site.value.isEmpty() && !NfoValue::isNumber(site.value))
        add(sink, self, site, QStringLiteral("%1 '%2' is not a number").arg(key(site), site.value));
}

void gameMode(const Site &site, FindingSink &sink, const Rule &self)
{
    const NfoValue::GameModes modes = NfoValue::gameModes(site.value);
    for (qsizetype i = 0; i < modes.unknown.size(); ++i) {
        if (!sink.lists(self))
            continue;  // counted; its fix is not made
        const QString &mode = modes.unknown.at(i);
        // A mode in other letters ("coop") gets its capitals.
        Fix fix;
        for (int known = 0; known < NfoValue::GameModeCount; ++known) {
            const QString word = NfoValue::gameModeWord(known);
            if (mode.compare(word, Qt::CaseInsensitive) == 0) {
                const auto [at, length] = modes.unknownAt.at(i);
                fix = valueFix(site, self, QString(site.value).replace(at, length, word), {valueEdit(site, at, length, word)});
                fix.what = QStringLiteral("%1 '%2' becomes '%3'").arg(key(site), mode, word);
            }
        }
        add(sink, self, site, QStringLiteral("unknown game mode '%1' in %2 (SINGLE, COOP or DEATHMATCH)").arg(mode, key(site)),
            std::move(fix));
    }
}

void noGameMode(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!NfoValue::gameModes(site.value).any())
        add(sink, self, site, QStringLiteral("%1 names no game mode: the game offers the level in none "
                                             "(SINGLE, COOP or DEATHMATCH)").arg(key(site)));
}

void yesNo(const Site &site, FindingSink &sink, const Rule &self)
{
    if (NfoValue::isYesOrNo(site.value))
        return;
    Fix fix;
    for (const bool yes : {true, false}) {
        if (site.value.compare(NfoValue::yesNo(yes), Qt::CaseInsensitive) == 0)
            fix = valueFix(site, self, NfoValue::yesNo(yes));
    }
    add(sink, self, site, QStringLiteral("%1 '%2' is neither YES nor NO").arg(key(site), site.value), std::move(fix));
}

void emptyName(const Site &site, FindingSink &sink, const Rule &self)
{
    if (Nfo::trimBlanks(site.value).isEmpty())
        add(sink, self, site, QStringLiteral("%1 is empty: the game lists it without a name").arg(key(site)));
}

void emptyValue(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!site.value.isEmpty())
        return;
    // The whole line goes, with its line end.
    const QByteArray &bytes = *site.bytes;
    const qsizetype start = bytes.lastIndexOf('\n', site.valueOffset) + 1;
    const qsizetype end = bytes.indexOf('\n', site.valueOffset);
    Fix fix{site.fixes ? self.fixes : FixKind::None, QStringLiteral("the empty %1 line is left out").arg(key(site)),
            {{start, (end < 0 ? bytes.size() : end + 1) - start, {}}}};
    add(sink, self, site, QStringLiteral("%1 is empty: give it a value, or leave the line out").arg(key(site)), std::move(fix));
}

void emptyThumbnail(const Site &site, FindingSink &sink, const Rule &self)
{
    if (site.value.isEmpty())
        add(sink, self, site, QStringLiteral("%1 is empty: the game lists it without a picture").arg(key(site)));
}

// Where a line of the file's bytes ends (before its CR LF, LF, or lone CR where that breaks).
qsizetype lineEndAt(const QByteArray &bytes, qsizetype from, bool loneCr)
{
    qsizetype i = from;
    while (i < bytes.size() && !isLineBreak(bytes, i, loneCr))
        ++i;
    if (i < bytes.size() && bytes.at(i) == '\n' && i > from && bytes.at(i - 1) == '\r')
        --i;
    return i;
}

// A mend of bytes within one line, `from` to `to`, said as what it makes of the line's text.
Fix lineFix(const Site &site, const Rule &rule, qsizetype from, qsizetype to, QList<ByteEdit> edits)
{
    if (!site.fixes)
        return {};
    const QByteArray &bytes = *site.bytes;
    const auto applied = [&edits, &bytes](qsizetype start, qsizetype end) {
        QByteArray out;
        qsizetype at = start;
        for (const ByteEdit &edit : edits) {
            out += bytes.mid(at, edit.offset - at) + edit.bytes;
            at = edit.offset + edit.length;
        }
        return out + bytes.mid(at, end - at);
    };
    return {rule.fixes,
            QStringLiteral("'%1' becomes '%2'")
                .arg(Nfo::shownLine(CodePage::decode(bytes.mid(from, to - from))), Nfo::shownLine(CodePage::decode(applied(from, to)))),
            std::move(edits)};
}

// Lines whose bytes hold UTF-8 sequences: text saved as UTF-8 by another editor, which the game,
// reading the file in its single-byte code page, shows as "CafÃ©". Mended to the characters they
// stand for when the code page holds each of them.
void utf8Text(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!CodePage::isSingleByte())
        return;
    const QByteArray &bytes = *site.bytes;
    const bool loneCr = loneCrBreaks(site);
    int line = 1;
    qsizetype lineStart = 0;
    qsizetype first = -1;  // the line's first sequence
    int firstLength = 0;
    // Its mend, made for a finding that is listed: each sequence as the code page's character.
    const auto mend = [&](qsizetype end) {
        QList<ByteEdit> edits;
        for (qsizetype i = first; i < end; ++i) {
            const int length = static_cast<unsigned char>(bytes.at(i)) >= 0xc2 ? utf8SequenceAt(bytes, i) : 0;
            if (length == 0)
                continue;
            const QString character = QString::fromUtf8(bytes.mid(i, length));
            if (!CodePage::firstUnstorable(character).isEmpty())
                return Fix{};
            edits.append({i, length, CodePage::encode(character)});
            i += length - 1;
        }
        return lineFix(site, self, lineStart, end, edits);
    };
    const auto report = [&] {
        if (first < 0 || !sink.lists(self))
            return;
        sink.add(self, line,
                 QStringLiteral("'%1' looks like UTF-8 text: the game reads the file in %2 and shows '%1' "
                                "as it stands here, not '%3'")
                     .arg(CodePage::decode(bytes.mid(first, firstLength)), CodePage::name(),
                          QString::fromUtf8(bytes.mid(first, firstLength))),
                 site.keys ? site.keys->value(line) : QString(), site.fixes ? mend(lineEndAt(bytes, lineStart, loneCr)) : Fix{});
    };
    for (qsizetype i = 0; i < bytes.size() && !site.poll->stop(); ++i) {
        if (isLineBreak(bytes, i, loneCr)) {
            report();
            first = -1;
            ++line;
            lineStart = i + 1;
            continue;
        }
        const int length = static_cast<unsigned char>(bytes.at(i)) >= 0xc2 ? utf8SequenceAt(bytes, i) : 0;
        if (length == 0)
            continue;
        if (first < 0)
            first = i, firstLength = length;
        i += length - 1;
    }
    report();
}

// Lines whose bytes this system's code page cannot read (a Western file on a Japanese system):
// the text an editor using that code page shows is not the file's, and a save changes the bytes.
void undecodableBytes(const Site &site, FindingSink &sink, const Rule &self)
{
    for (const int line : CodePage::undecodedLines(*site.bytes, std::numeric_limits<qsizetype>::max())) {
        if (!sink.lists(self)) {
            sink.omit(self, 1);
            continue;
        }
        sink.add(self, line,
                 QStringLiteral("this line holds bytes that %1 cannot read: an editor using it shows other text "
                                "and saving changes them")
                     .arg(CodePage::name()),
                 site.keys ? site.keys->value(line) : QString());
    }
}

// The line breaks of a file that are not CR LF: the first one's line, and what they are. Mended
// to CR LF, each of them; a file of very many is mended as one span of its bytes, so that a
// large file's fix takes no more memory than the file.
void lineEnds(const Site &site, FindingSink &sink, const Rule &self)
{
    const QByteArray &bytes = *site.bytes;
    const bool loneCr = loneCrBreaks(site);
    int crlf = 0, lf = 0, cr = 0, firstOddLine = 0;
    int line = 1;
    qsizetype firstOdd = -1, lastOdd = -1;
    // Calls `odd` with the place of each line end that is not CR LF and whether it is a LF.
    const auto eachOdd = [&](const auto &odd) {
        for (qsizetype i = 0; i < bytes.size() && !site.poll->stop(); ++i) {
            const char c = bytes.at(i);
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
            else if (c == '\n' || (c == '\r' && loneCr))
                odd(i, c == '\n');
        }
    };
    for (qsizetype i = 0; i < bytes.size() && !site.poll->stop(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n') {
            ++crlf;
            ++i;
        } else if (c == '\n' || (c == '\r' && loneCr)) {
            ++(c == '\n' ? lf : cr);
            if (!firstOddLine)
                firstOddLine = line, firstOdd = i;
            lastOdd = i;
        } else {
            continue;
        }
        ++line;
    }
    if (!firstOddLine)
        return;
    QString what = QStringLiteral("mixed line ends");
    if (!crlf && !cr)
        what = QStringLiteral("LF-only line ends");
    else if (!crlf && !lf)
        what = QStringLiteral("CR-only line ends");
    static const QByteArray CR("\r"), LF("\n");
    constexpr int MostEdits = 10000;
    const qsizetype odd = qsizetype(lf) + cr;
    QList<ByteEdit> edits;
    if (site.fixes && odd <= MostEdits) {
        edits.reserve(odd);
        eachOdd([&](qsizetype i, bool isLf) { edits.append(isLf ? ByteEdit{i, 0, CR} : ByteEdit{i + 1, 0, LF}); });
    } else if (site.fixes) {
        QByteArray span;
        span.reserve(lastOdd - firstOdd + 1 + odd);
        qsizetype at = firstOdd;
        eachOdd([&](qsizetype i, bool) {
            span += QByteArrayView(bytes).sliced(at, i - at);
            span += "\r\n";
            at = i + 1;
        });
        edits.append({firstOdd, lastOdd + 1 - firstOdd, span});
    }
    const QString count = QLocale(QLocale::English, QLocale::UnitedStates).toString(odd);
    sink.add(self, firstOddLine, what + QStringLiteral(": the game's files end their lines with CR LF"), {},
             {site.fixes ? self.fixes : FixKind::None, QStringLiteral("%1 line %2 CR LF").arg(count, odd == 1 ? QStringLiteral("end becomes") : QStringLiteral("ends become")),
              std::move(edits)});
}

bool isControl(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\r') || c == 0x7f; }

// Control characters in a description's lines; mended by taking them out.
void controlCharacter(const Site &site, FindingSink &sink, const Rule &self)
{
    const QByteArray &bytes = *site.bytes;
    int line = 1;
    qsizetype lineStart = 0;
    qsizetype first = -1;  // the line's first control character
    const auto report = [&] {
        if (first < 0 || !sink.lists(self))
            return;
        const qsizetype end = lineEndAt(bytes, lineStart, true);
        QList<ByteEdit> edits;
        for (qsizetype i = first; i < end && site.fixes; ++i) {
            if (isControl(static_cast<unsigned char>(bytes.at(i))))
                edits.append({i, 1, {}});
        }
        const auto c = static_cast<unsigned char>(bytes.at(first));
        sink.add(self, line, QStringLiteral("control character 0x%1 in the text").arg(c, 2, 16, QLatin1Char('0')), {},
                 lineFix(site, self, lineStart, end, edits));
    };
    for (qsizetype i = 0; i < bytes.size() && !site.poll->stop(); ++i) {
        if (isLineBreak(bytes, i, true)) {
            report();
            first = -1;
            ++line;
            lineStart = i + 1;
            continue;
        }
        if (first < 0 && isControl(static_cast<unsigned char>(bytes.at(i))))
            first = i;
    }
    report();
}

// --- Where each applies ---------------------------------------------------------------------

bool always(const Site &) { return true; }
bool unreadable(const Site &site) { return !site.unreadable.isEmpty(); }
bool unwritable(const Site &site) { return !site.unwritable.isEmpty(); }
bool read(const Site &site) { return site.outcome != nullptr; }  // a game NFO, read to its end
bool descriptions(const Site &site) { return site.kind == FileKind::Description; }
bool assets(const Site &site) { return isAsset(site); }
bool relativeAssets(const Site &site) { return isRelativeAsset(site); }
bool etas(const Site &site) { return isKind(site, ValueKind::Eta); }
bool numbers(const Site &site) { return isKind(site, ValueKind::Number); }
bool gameModes(const Site &site) { return isKind(site, ValueKind::GameModes); }
bool yesNos(const Site &site) { return isKind(site, ValueKind::YesNo); }
bool names(const Site &site) { return isKind(site, ValueKind::Name); }
// An optional field that is written holds a value; a YES or NO that is empty is yes-no's.
bool optionalValues(const Site &site)
{
    return site.field.optional
           && (isKind(site, ValueKind::Text) || isKind(site, ValueKind::Asset) || isKind(site, ValueKind::Number));
}
// The picture the game lists a level or an episode with: the asset field every file has.
bool thumbnails(const Site &site) { return !site.field.optional && isKind(site, ValueKind::Asset); }

using S = Severity;
using W = Scope;
using F = FixKind;

} // namespace

const QList<Rule> &rules()
{
    static const QList<Rule> all{
        {"unreadable-file", S::Error, "The file cannot be read (it is missing, locked, or no plain file).", W::File, unreadable, unreadableFile},
        {"not-game-nfo", S::Error, "An .nfo file whose first line is neither LEVEL nor EPISODE.", W::Reading, always, notGameNfo},
        {"other-kind-word", S::Error, "The other kind's word (EPISODE in a Level NFO, LEVEL in an Episode NFO).", W::Reading, read, otherKindWord},
        {"ignored-line", S::Error, "A line the game does not know, which it ignores.", W::Reading, read, ignoredLine},
        {"reading-stops", S::Error, "A line the reader cannot take: nothing after it is read.", W::Reading, read, readingStops},
        {"text-after-quote", S::Error, "Text after a value's closing double quote, which is lost.", W::Value, always, textAfterQuote},
        {"missing-line", S::Error, "A line every file of its kind needs is missing.", W::Reading, read, missingLine, F::Suggestion},
        {"absolute-path", S::Error, "An asset path from a root or a drive: the game reads paths relative to its folder.", W::Value, assets, absolutePath, F::Safe},
        {"slash-separator", S::Warning, "An asset path with '/' separators: the game's paths use '\\'.", W::Value, relativeAssets, slashSeparator, F::Safe},
        {"asset-kind", S::Warning, "An asset of another kind than its field takes (a model where a texture belongs).", W::Value, relativeAssets, assetKind, F::Suggestion},
        {"asset-not-found", S::Warning, "An asset path that names no file of the mod or the game (in any letter case).", W::Value, relativeAssets, assetNotFound, F::Suggestion},
        {"eta-format", S::Warning, "An ETA that is not three numbers separated by ':'.", W::Value, etas, etaFormat},
        {"eta-range", S::Warning, "An ETA with minutes or seconds over 59.", W::Value, etas, etaRange, F::Suggestion},
        {"distance-number", S::Warning, "A model distance that is not a number.", W::Value, numbers, distanceNumber},
        {"game-mode", S::Warning, "A game mode other than SINGLE, COOP or DEATHMATCH.", W::Value, gameModes, gameMode, F::Safe},
        {"no-game-mode", S::Warning, "A MAP_TYPE that names no game mode.", W::Value, gameModes, noGameMode},
        {"yes-no", S::Warning, "A yes-or-no value that is neither YES nor NO.", W::Value, yesNos, yesNo, F::Safe},
        {"empty-name", S::Warning, "An empty NAME: the game lists the level or episode without a name.", W::Value, names, emptyName},
        {"empty-value", S::Warning, "An optional field written with an empty value.", W::Value, optionalValues, emptyValue, F::Safe},
        {"empty-thumbnail", S::Warning, "An empty THUMBNAIL: the game lists the level or episode without a picture.", W::Value, thumbnails, emptyThumbnail},
        {"undecodable-bytes", S::Error, "Bytes that this system's code page cannot read, which an editor using it changes.", W::Bytes, always, undecodableBytes},
        {"utf8-text", S::Warning, "Text saved as UTF-8, which the game shows as other characters.", W::Bytes, always, utf8Text, F::Safe},
        {"line-ends", S::Warning, "Line ends other than CR LF.", W::Bytes, always, lineEnds, F::Safe},
        {"control-character", S::Warning, "A control character in a description's text.", W::Bytes, descriptions, controlCharacter, F::Safe},
        {"unwritable-file", S::Error, "A file that --fix or Fix All mends cannot be written (it is read-only, or the disk is full).", W::File, unwritable, unwritableFile},
    };
    return all;
}

const Rule *ruleById(const QString &id)
{
    for (const Rule &rule : rules()) {
        if (id == QLatin1String(rule.id))
            return &rule;
    }
    return nullptr;
}

int indexOf(const Rule &rule) { return int(&rule - rules().data()); }

} // namespace ModCheck
