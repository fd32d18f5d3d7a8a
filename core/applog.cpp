#include "core/applog.h"

#include "core/codepage.h"
#include "core/documentfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString LogName = QStringLiteral("AppLog.log");

} // namespace

AppLog::AppLog(QString programFolder)
    : m_programFolder(std::move(programFolder))
    , m_path(QDir(m_programFolder).filePath(LogName))
{
}

bool AppLog::writeEntry(const QString &path, const QByteArray &bytes, bool truncate)
{
    if (path.isEmpty())
        return false;
    // Opening a pipe for writing waits for a reader, and a device or folder is no log: only a
    // plain file, or none yet, is written.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return false;
    QFile file(path);
    const QIODevice::OpenMode mode = truncate ? QIODevice::WriteOnly | QIODevice::Truncate
                                              : QIODevice::WriteOnly | QIODevice::Append;
    return file.open(mode) && file.write(bytes) == bytes.size();
}

void AppLog::clearLog()
{
    const QByteArray emptyLine = DocumentFile::CRLF.toLatin1();
    m_path = QDir(m_programFolder).filePath(LogName);
    if (writeEntry(m_path, emptyLine, true))
        return;
    const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(fallback);
    m_path = QDir(fallback).filePath(LogName);
    // Without a usable place the editor runs without a log.
    if (!writeEntry(m_path, emptyLine, true))
        m_path.clear();
}

void AppLog::writeLog(StatusKind kind, const QString &message)
{
    // The log is not a document: a character the code page cannot hold becomes "?".
    const QString entry = QLatin1String(StatusKinds::of(kind).logPrefix) + message + DocumentFile::CRLF;
    writeEntry(m_path, CodePage::encode(entry), false);
}
