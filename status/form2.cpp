#include "status/form2.h"

#include "settings/settingskeys.h"
#include "status/tips.h"

Form2::Form2(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("Form2"));
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(8000);
    connect(&Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);
    Timer1.start();
}

void Form2::FillTips()
{
    for (const QString &tip : Tips::texts()) {
        ListTip.append(tip);
        ListType.append(QStringLiteral("Question"));
    }
}

void Form2::Timer1_Timer()
{
    if (!Settings::tipsShown() || ListTip.isEmpty())
        return;
    ++TipIndex;
    if (TipIndex >= ListTip.size())
        TipIndex = 0;
    if (reportTip)
        reportTip(ListTip.at(TipIndex), ListType.at(TipIndex));
}
