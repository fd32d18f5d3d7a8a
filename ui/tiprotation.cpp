#include "ui/tiprotation.h"

#include "core/settingskeys.h"
#include "core/tips.h"

TipRotation::TipRotation(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("tipRotation"));
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(8000);
    connect(&Timer1, &QTimer::timeout, this, &TipRotation::showNextTip);
    Timer1.start();
}

void TipRotation::fillTips()
{
    for (const QString &tip : Tips::texts()) {
        ListTip.append(tip);
        ListType.append(QStringLiteral("Question"));
    }
}

void TipRotation::showNextTip()
{
    if (!Settings::tipsShown() || ListTip.isEmpty())
        return;
    ++TipIndex;
    if (TipIndex >= ListTip.size())
        TipIndex = 0;
    if (reportTip)
        reportTip(ListTip.at(TipIndex), ListType.at(TipIndex));
}
