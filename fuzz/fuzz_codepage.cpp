// Any bytes decode to text that encodes to the same bytes; any text the code page can hold
// survives the trip through bytes, and the first character it cannot hold is named.
#include "core/codepage.h"
#include "fuzz/fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QString text = CodePage::decode(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    FUZZ_CHECK(CodePage::firstUnstorable(text).isEmpty());
    FUZZ_CHECK(CodePage::encode(text) == bytes);

    // The same bytes read as UTF-16 text typed by a user.
    const QString typed(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    const QString bad = CodePage::firstUnstorable(typed);
    if (bad.isEmpty()) {
        FUZZ_CHECK(CodePage::decode(CodePage::encode(typed)) == typed);
    } else {
        FUZZ_CHECK(typed.contains(bad));
        FUZZ_CHECK(CodePage::check(QStringLiteral("The value"), typed).has_value());
    }
    return 0;
}
