#include "core/settings.h"
#include "tests/support/testfiles.h"

#include "core/checkcommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

TestFolder::TestFolder()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("program"));
    // Everything per-user lands in the test's own folder: settings, data, desktop files, templates.
    for (const char *name : {"home", "data", "config", "cache"})
        QDir(m_dir.path()).mkpath(QLatin1String(name));
    qputenv("HOME", path(QStringLiteral("home")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", path(QStringLiteral("cache")).toLocal8Bit());
    // On Windows the native store is the registry, which no path moves: tests keep their settings in
    // files of their own there too.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path(QStringLiteral("settings")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path(QStringLiteral("settings")));
    // The first-run greeting has tests of its own; everywhere else the editor has been started before.
    try {
        Settings::markFirstStartDone();
    } catch (const AppError &error) {
        qFatal("%s", qPrintable(error.description));
    }
}

QString TestFolder::path(const QString &name) const
{
    // As the editor shows and the desktop hands over paths: native separators.
    return QDir::toNativeSeparators(QDir(m_dir.path()).filePath(name));
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write test file %s", qPrintable(path));
    file.write(bytes);
}

QString testData(const QString &name) { return QStringLiteral(BRISQUEL_TEST_DATA "/") + name; }

QByteArray levelWith(const QByteArray &key, const QByteArray &value)
{
    QList<QByteArray> lines{"LEVEL", "NAME=\"Temple\"", "MAP_TYPE=\"SINGLE;\"", "THUMBNAIL=\"Textures\\Thumb.tex\"",
                            "ETA=\"00:25:00\"", "LOCKED=\"NO\""};
    const auto line = std::find_if(lines.begin(), lines.end(), [&key](const QByteArray &l) { return l.startsWith(key + '='); });
    (line == lines.end() ? lines.emplace_back() : *line) = key + "=\"" + value + '"';
    return lines.join("\r\n") + "\r\n";
}

CheckRun runCommand(const QStringList &arguments)
{
    CheckRun ran{0, {}, {}};
    QTextStream out(&ran.out), err(&ran.err);
    ran.status = CheckCommand::run(QStringList{QStringLiteral("Brisquel")} + arguments, QStringLiteral("9.9.9"), {}, out, err);
    return ran;
}

#ifdef Q_OS_UNIX
FileSizeLimit::FileSizeLimit(long long bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_saved[0] = (long long)limit.rlim_cur;
    m_saved[1] = (long long)limit.rlim_max;
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{rlim_t(m_saved[0]), rlim_t(m_saved[1])};
    setrlimit(RLIMIT_FSIZE, &limit);
}
#endif
