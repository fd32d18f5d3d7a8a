#include "core/checkrules.h"

#include "core/codepage.h"

#include <QLocale>

#include <limits>

namespace ModCheck {

namespace {

// --- What several rules share -------------------------------------------------------------

QString key(const Site &site) { return QLatin1String(site.field.key); }

void add(FindingSink &sink, const Rule &rule, const Site &site, const QString &text)
{
    sink.add(rule, site.line, text, key(site));
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
        if (!field.optional && !(site.seen & (quint64(1) << i)))
            sink.add(self, 1, QStringLiteral("the %1 line is missing, and the game needs it").arg(QLatin1String(field.key)), {});
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
    if (NfoValue::isAbsolutePath(site.value))
        add(sink, self, site, QStringLiteral("'%1' is an absolute path, which the game cannot resolve: give it "
                                             "relative to the game folder").arg(site.value));
}

void slashSeparator(const Site &site, FindingSink &sink, const Rule &self)
{
    if (site.value.contains(QLatin1Char('/')))
        add(sink, self, site, QStringLiteral("'%1' has '/' separators: the game's paths use '\\'").arg(site.value));
}

void assetKind(const Site &site, FindingSink &sink, const Rule &self)
{
    const AssetType &type = assetTypeOf(site.field.asset);
    if (!site.value.endsWith(QLatin1String(type.extension), Qt::CaseInsensitive))
        add(sink, self, site, QStringLiteral("'%1' should be %2, a %3 file")
                                  .arg(site.value, QLatin1String(type.what), QLatin1String(type.extension)));
}

void assetNotFound(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!site.assetFound || !site.assetFound(site.value))
        add(sink, self, site, QStringLiteral("'%1' not found as a file in the mod or the game folder (it may be in an archive)")
                                  .arg(site.value));
}

void etaFormat(const Site &site, FindingSink &sink, const Rule &self)
{
    if (NfoValue::etaProblem(site.value) == NfoValue::EtaProblem::NotThreeNumbers)
        add(sink, self, site, QStringLiteral("ETA '%1' is not three numbers separated by ':' (hours:minutes:seconds)").arg(site.value));
}

void etaRange(const Site &site, FindingSink &sink, const Rule &self)
{
    const NfoValue::EtaProblem problem = NfoValue::etaProblem(site.value);
    if (problem == NfoValue::EtaProblem::MinutesOver59 || problem == NfoValue::EtaProblem::SecondsOver59)
        add(sink, self, site, QStringLiteral("ETA '%1' has %2 over 59")
                                  .arg(site.value, problem == NfoValue::EtaProblem::MinutesOver59 ? QStringLiteral("minutes")
                                                                                                  : QStringLiteral("seconds")));
}

void distanceNumber(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!site.value.isEmpty() && !NfoValue::isNumber(site.value))
        add(sink, self, site, QStringLiteral("%1 '%2' is not a number").arg(key(site), site.value));
}

void gameMode(const Site &site, FindingSink &sink, const Rule &self)
{
    for (const QString &mode : NfoValue::gameModes(site.value).unknown)
        add(sink, self, site, QStringLiteral("unknown game mode '%1' in %2 (SINGLE, COOP or DEATHMATCH)").arg(mode, key(site)));
}

void noGameMode(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!NfoValue::gameModes(site.value).any())
        add(sink, self, site, QStringLiteral("%1 names no game mode: the game offers the level in none "
                                             "(SINGLE, COOP or DEATHMATCH)").arg(key(site)));
}

void yesNo(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!NfoValue::isYesOrNo(site.value))
        add(sink, self, site, QStringLiteral("%1 '%2' is neither YES nor NO").arg(key(site), site.value));
}

void emptyName(const Site &site, FindingSink &sink, const Rule &self)
{
    if (Nfo::trimBlanks(site.value).isEmpty())
        add(sink, self, site, QStringLiteral("%1 is empty: the game lists it without a name").arg(key(site)));
}

void emptyValue(const Site &site, FindingSink &sink, const Rule &self)
{
    if (site.value.isEmpty())
        add(sink, self, site, QStringLiteral("%1 is empty: give it a value, or leave the line out").arg(key(site)));
}

void emptyThumbnail(const Site &site, FindingSink &sink, const Rule &self)
{
    if (site.value.isEmpty())
        add(sink, self, site, QStringLiteral("%1 is empty: the game lists it without a picture").arg(key(site)));
}

// Lines whose bytes hold UTF-8 sequences: text saved as UTF-8 by another editor, which the game,
// reading the file in its single-byte code page, shows as "CafÃ©".
void utf8Text(const Site &site, FindingSink &sink, const Rule &self)
{
    if (!CodePage::isSingleByte())
        return;
    const QByteArray &bytes = *site.bytes;
    const bool loneCr = loneCrBreaks(site);
    int line = 1;
    int reportedLine = 0;
    for (qsizetype i = 0; i < bytes.size() && !site.poll->stop(); ++i) {
        if (isLineBreak(bytes, i, loneCr)) {
            ++line;
            continue;
        }
        const int length = static_cast<unsigned char>(bytes.at(i)) >= 0xc2 ? utf8SequenceAt(bytes, i) : 0;
        if (length == 0)
            continue;
        if (reportedLine != line && sink.lists(self)) {
            sink.add(self, line,
                     QStringLiteral("'%1' looks like UTF-8 text: the game reads the file in %2 and shows '%1' "
                                    "as it stands here, not '%3'")
                         .arg(CodePage::decode(bytes.mid(i, length)), CodePage::name(), QString::fromUtf8(bytes.mid(i, length))),
                     site.keys ? site.keys->value(line) : QString());
        }
        reportedLine = line;
        i += length - 1;
    }
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

// The line breaks of a file that are not CR LF: the first one's line, and what they are.
void lineEnds(const Site &site, FindingSink &sink, const Rule &self)
{
    const QByteArray &bytes = *site.bytes;
    const bool loneCr = loneCrBreaks(site);
    int crlf = 0, lf = 0, cr = 0, firstOddLine = 0;
    int line = 1;
    for (qsizetype i = 0; i < bytes.size() && !site.poll->stop(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n') {
            ++crlf;
            ++i;
        } else if (c == '\n' || (c == '\r' && loneCr)) {
            ++(c == '\n' ? lf : cr);
            if (!firstOddLine)
                firstOddLine = line;
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
    sink.add(self, firstOddLine, what + QStringLiteral(": the game's files end their lines with CR LF"), {});
}

void controlCharacter(const Site &site, FindingSink &sink, const Rule &self)
{
    const QByteArray &bytes = *site.bytes;
    int line = 1;
    int reportedLine = 0;
    for (qsizetype i = 0; i < bytes.size() && !site.poll->stop(); ++i) {
        if (isLineBreak(bytes, i, true)) {
            ++line;
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes.at(i));
        if (((c < 0x20 && c != '\t' && c != '\r') || c == 0x7f) && reportedLine != line) {
            reportedLine = line;
            if (sink.lists(self))
                sink.add(self, line, QStringLiteral("control character 0x%1 in the text").arg(c, 2, 16, QLatin1Char('0')), {});
        }
    }
}

// --- Where each applies ---------------------------------------------------------------------

bool always(const Site &) { return true; }
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

} // namespace

const QList<Rule> &rules()
{
    static const QList<Rule> all{
        {"unreadable-file", S::Error, "The file cannot be read (it is missing, locked, or no plain file).", W::File, always, unreadableFile},
        {"not-game-nfo", S::Error, "An .nfo file whose first line is neither LEVEL nor EPISODE.", W::Reading, always, notGameNfo},
        {"other-kind-word", S::Error, "The other kind's word (EPISODE in a Level NFO, LEVEL in an Episode NFO).", W::Reading, read, otherKindWord},
        {"ignored-line", S::Error, "A line the game does not know, which it ignores.", W::Reading, read, ignoredLine},
        {"reading-stops", S::Error, "A line the reader cannot take: nothing after it is read.", W::Reading, read, readingStops},
        {"text-after-quote", S::Error, "Text after a value's closing double quote, which is lost.", W::Value, always, textAfterQuote},
        {"missing-line", S::Error, "A line every file of its kind needs is missing.", W::Reading, read, missingLine},
        {"absolute-path", S::Error, "An asset path from a root or a drive: the game reads paths relative to its folder.", W::Value, assets, absolutePath},
        {"slash-separator", S::Warning, "An asset path with '/' separators: the game's paths use '\\'.", W::Value, relativeAssets, slashSeparator},
        {"asset-kind", S::Warning, "An asset of another kind than its field takes (a model where a texture belongs).", W::Value, relativeAssets, assetKind},
        {"asset-not-found", S::Warning, "An asset path that names no file of the mod or the game (in any letter case).", W::Value, relativeAssets, assetNotFound},
        {"eta-format", S::Warning, "An ETA that is not three numbers separated by ':'.", W::Value, etas, etaFormat},
        {"eta-range", S::Warning, "An ETA with minutes or seconds over 59.", W::Value, etas, etaRange},
        {"distance-number", S::Warning, "A model distance that is not a number.", W::Value, numbers, distanceNumber},
        {"game-mode", S::Warning, "A game mode other than SINGLE, COOP or DEATHMATCH.", W::Value, gameModes, gameMode},
        {"no-game-mode", S::Warning, "A MAP_TYPE that names no game mode.", W::Value, gameModes, noGameMode},
        {"yes-no", S::Warning, "A yes-or-no value that is neither YES nor NO.", W::Value, yesNos, yesNo},
        {"empty-name", S::Warning, "An empty NAME: the game lists the level or episode without a name.", W::Value, names, emptyName},
        {"empty-value", S::Warning, "An optional field written with an empty value.", W::Value, optionalValues, emptyValue},
        {"empty-thumbnail", S::Warning, "An empty THUMBNAIL: the game lists the level or episode without a picture.", W::Value, thumbnails, emptyThumbnail},
        {"undecodable-bytes", S::Error, "Bytes that this system's code page cannot read, which an editor using it changes.", W::Bytes, always, undecodableBytes},
        {"utf8-text", S::Warning, "Text saved as UTF-8, which the game shows as other characters.", W::Bytes, always, utf8Text},
        {"line-ends", S::Warning, "Line ends other than CR LF.", W::Bytes, always, lineEnds},
        {"control-character", S::Warning, "A control character in a description's text.", W::Bytes, descriptions, controlCharacter},
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
