#include "ui/tiprotation.h"

#include "core/settings.h"
#include "core/tips.h"

TipRotation::TipRotation(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("tipRotation"));
    timer.setObjectName(QStringLiteral("timer"));
    // The start-up sequence sets the user's interval; until then, the usual one.
    timer.setInterval(Settings::DefaultTipIntervalMs);
    connect(&timer, &QTimer::timeout, this, &TipRotation::showNextTip);
    timer.start();
}

void TipRotation::fillTips()
{
    for (const QString &tip : Tips::texts()) {
        tipTexts.append(tip);
        tipKinds.append(StatusKind::Question);
    }
}

void TipRotation::restartCountdown()
{
    timer.stop();
    timer.start();
}

void TipRotation::showNextTip()
{
    if (!Settings::tipsShown() || tipTexts.isEmpty())
        return;
    ++tipIndex;
    if (tipIndex >= tipTexts.size())
        tipIndex = 0;
    if (reportTip)
        reportTip(tipTexts.at(tipIndex), tipKinds.at(tipIndex));
}
