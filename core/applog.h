#pragma once

#include "core/statuskind.h"

#include <QString>

// The application log "AppLog.log" in the program folder, started afresh at each start and opened
// and closed for every entry. When the program folder cannot be written (a system-wide install),
// the log goes to the per-user data folder instead; the editor never fails for its log.
class AppLog
{
public:
    explicit AppLog(QString programFolder);

    void clearLog();
    void writeLog(StatusKind kind, const QString &message);

    QString path() const { return m_path; }

private:
    bool writeEntry(const QString &path, const QByteArray &bytes, bool truncate);

    QString m_programFolder;
    QString m_path;
};
