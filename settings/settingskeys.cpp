#include "settings/settingskeys.h"

#include "platform/settingsstore.h"

#include <QLocale>

#include <cmath>

namespace Settings {

const QString GameFolderSection = QStringLiteral("Serious Sam 2 Path");
const QString GameFolderKey = QStringLiteral("Path Location");
const QString TipsSection = QStringLiteral("Show Tips");
const QString TipsOptionKey = QStringLiteral("Show Tips Option");
const QString TipTimeKey = QStringLiteral("Time");
const QString FirstRunKey = QStringLiteral("FirstTime v1.1");

std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int tipIntervalMs(const QString &timeText)
{
    const auto seconds = parseNumber(timeText);
    if (!seconds || *seconds < 0.1 || *seconds > 59)
        return 10000;
    return int(std::nearbyint(*seconds * 1000));
}

QString tipTimeText() { return SettingsStore::read(TipsSection, TipTimeKey, QStringLiteral("10")); }

int tipIntervalMs() { return tipIntervalMs(tipTimeText()); }

bool tipsShown()
{
    bool ok = false;
    const int option = SettingsStore::read(TipsSection, TipsOptionKey, QStringLiteral("1")).toInt(&ok);
    return !ok || option != 0;
}

} // namespace Settings
