// Whatever an Episode NFO file holds, its values can be stored and read back unchanged.
#include "core/codepage.h"
#include "core/episodenfo.h"
#include "fuzz/fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    EpisodeFields read;
    EpisodeNfo::parse(CodePage::decode(fuzzBytes(data, size)), read);
    FUZZ_CHECK(EpisodeNfo::checkStorable(read).isEmpty());
    const QString written = EpisodeNfo::generate(read);
    EpisodeFields again;
    const auto outcome = EpisodeNfo::parse(written, again);
    FUZZ_CHECK(outcome.notices.isEmpty() && !outcome.error);
    FUZZ_CHECK(again.name == read.name && again.thumbnail == read.thumbnail);
    return 0;
}
