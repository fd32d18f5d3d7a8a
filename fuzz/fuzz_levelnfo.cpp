// Whatever a Level NFO file holds, the values read from it can be stored, and writing them and
// reading the result gives the same values without a single message.
#include "core/codepage.h"
#include "core/levelnfo.h"
#include "fuzz/fuzzcheck.h"

namespace {
bool same(const LevelFields &a, const LevelFields &b)
{
    for (const LevelRowInfo &row : LevelNfo::rows()) {
        if (row.text && a.*row.text != b.*row.text)
            return false;
    }
    return a.mapType == b.mapType && a.rotate == b.rotate && a.eta == b.eta && a.locked == b.locked
           && a.included == b.included;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    LevelFields read;
    LevelNfo::parse(CodePage::decode(fuzzBytes(data, size)), read);
    FUZZ_CHECK(LevelNfo::checkStorable(read).isEmpty());
    const QString written = LevelNfo::generate(read);
    FUZZ_CHECK(CodePage::decode(CodePage::encode(written)) == written);
    LevelFields again;
    const auto outcome = LevelNfo::parse(written, again);
    FUZZ_CHECK(outcome.notices.isEmpty());
    FUZZ_CHECK(!outcome.error);
    FUZZ_CHECK(same(read, again));
    return 0;
}
