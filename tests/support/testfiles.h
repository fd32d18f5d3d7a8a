#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary folder for files and the program folder, and a settings store of the test's own.
class TestFolder
{
public:
    TestFolder();
    QString path(const QString &name) const;
    QString programFolder() const { return path(QStringLiteral("program")); }
    QString logPath() const { return path(QStringLiteral("program/AppLog.log")); }

private:
    QTemporaryDir m_dir;
};

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
QString testData(const QString &name);

// A Level NFO whose every value passes, with one line set to KEY="value" (added at the end when
// it is no line of the file).
QByteArray levelWith(const QByteArray &key, const QByteArray &value);

// "Brisquel ARGUMENTS" as the check's command runs it: its exit status and what it printed.
struct CheckRun
{
    int status;
    QString out;
    QString err;
};
CheckRun runCommand(const QStringList &arguments);

#ifdef Q_OS_UNIX
// While alive, no file of this process can grow past `bytes`: writes beyond fail part-way, as on
// a full disk, whoever runs the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();

private:
    long long m_saved[2];
};
#endif
