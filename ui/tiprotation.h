#pragma once

#include "core/statuskind.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

// The hidden form of the editor ("Temporary"): the tip lists and the tip timer. It is never shown,
// so it is a plain object rather than a window.
class TipRotation : public QObject
{
    Q_OBJECT

public:
    explicit TipRotation(QObject *parent = nullptr);

    void fillTips();

    // Shows a tip: set by the main window to its status report.
    std::function<void(const QString &message, StatusKind kind)> reportTip;

    // The next tip comes one full interval after the last report.
    void restartCountdown();

    QStringList tipTexts;
    QList<StatusKind> tipKinds;
    QTimer timer;
    int tipIndex = -1;

private:
    void showNextTip();
};
