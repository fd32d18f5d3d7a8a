// Both NFO kind decisions look at the first line only, ignore letter case and surrounding blanks,
// and an empty file has no first line.
#include "core/codepage.h"
#include "core/nfokind.h"
#include "core/nfoline.h"
#include "fuzz/fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QString text = CodePage::decode(fuzzBytes(data, size));
    QString first;
    try {
        first = Nfo::firstLine(text, QStringLiteral("fuzz.nfo"));
    } catch (const AppError &error) {
        FUZZ_CHECK(text.isEmpty() && error.number == AppError::EmptyFile);
        return 0;
    }
    FUZZ_CHECK(!first.contains(QStringLiteral("\r\n")));
    FUZZ_CHECK(Nfo::firstLine(text + QStringLiteral("\r\nEPISODE\r\nLEVEL"), {}) == first);
    const QString padded = QStringLiteral("  ") + first.toLower() + QStringLiteral("  ");
    FUZZ_CHECK(NfoKind::byEpisodeWord(first) == NfoKind::byEpisodeWord(padded));
    FUZZ_CHECK(NfoKind::byLevelPrefix(first) == NfoKind::byLevelPrefix(padded));
    // Whatever the command line calls a Level, the Open NFO dialog does not call an Episode.
    if (NfoKind::byLevelPrefix(first) == NfoKind::Level)
        FUZZ_CHECK(NfoKind::byEpisodeWord(first) == NfoKind::Level);
    return 0;
}
