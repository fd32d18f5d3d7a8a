// Stored settings texts, whatever they hold, give a tip interval the timer can use and a clear
// yes or no for the tips.
#include "fuzz/fuzzcheck.h"
#include "core/settings.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    const int ms = Settings::tipIntervalMs(text);
    FUZZ_CHECK(ms >= 100 && ms <= 59000);
    const auto problem = Settings::checkTipTime(text);
    if (problem == Settings::TipTimeProblem::None)
        FUZZ_CHECK(std::abs(ms - *Settings::parseNumber(text) * 1000) <= 0.5);
    else
        FUZZ_CHECK(ms == 10000);
    if (problem == Settings::TipTimeProblem::NotANumber)
        FUZZ_CHECK(!Settings::parseNumber(text));
    const bool shown = Settings::tipsShown(text);
    if (text == QLatin1String("0"))
        FUZZ_CHECK(!shown);
    if (text == QLatin1String("1"))
        FUZZ_CHECK(shown);
    return 0;
}
