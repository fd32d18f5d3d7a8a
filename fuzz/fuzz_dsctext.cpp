// A description file whose line breaks are all CR LF is saved back byte for byte after it is
// opened (gaining one final CR LF if it had none), and a description once opened stays the same
// through any number of saves and opens.
#include "core/codepage.h"
#include "core/dsctext.h"
#include "fuzz/fuzzcheck.h"

namespace {
bool onlyCrLfBreaks(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return false;
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QString shown = DscText::fromFile(CodePage::decode(bytes));
    FUZZ_CHECK(!DscText::checkStorable(shown));
    const QByteArray saved = CodePage::encode(DscText::toFile(shown));
    if (onlyCrLfBreaks(bytes))
        FUZZ_CHECK(saved == (bytes.endsWith("\r\n") ? bytes : bytes + "\r\n"));
    FUZZ_CHECK(DscText::fromFile(CodePage::decode(saved)) == shown);
    return 0;
}
