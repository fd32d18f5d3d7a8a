#include "shell/desktopintegration.h"

#include "formats/documentfile.h"
#include "formats/episodenfo.h"
#include "formats/levelnfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace DesktopIntegration {

const QString LevelNfoType = QStringLiteral("application/x-ss2-level-nfo");
const QString EpisodeNfoType = QStringLiteral("application/x-ss2-episode-nfo");
const QString DescriptionType = QStringLiteral("application/x-ss2-description");
const QString DesktopEntryName = QStringLiteral("brisquel.desktop");

namespace {

QString valueOf(const QList<ClassStore::Value> &rows, const QString &key, const QString &name = {})
{
    for (const auto &row : rows) {
        if (row.key.compare(key, Qt::CaseInsensitive) == 0 && row.name.compare(name, Qt::CaseInsensitive) == 0)
            return row.text;
    }
    return {};
}

bool hasValue(const QList<ClassStore::Value> &rows, const QString &key, const QString &name)
{
    for (const auto &row : rows) {
        if (row.key.compare(key, Qt::CaseInsensitive) == 0 && row.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString iconName(const QString &type) { return QString(type).replace(QLatin1Char('/'), QLatin1Char('-')); }

QString xmlEscaped(const QString &text) { return text.toHtmlEscaped(); }

// Collects the first failure and goes on.
struct Steps
{
    QString failure;
    bool write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit())
            return true;
        fail(QStringLiteral("cannot write '%1': %2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    void fail(const QString &what)
    {
        if (failure.isEmpty())
            failure = what;
    }
    void run(const QString &tool, const QStringList &arguments)
    {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            return;  // the desktop reads the files directly then
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            fail(QStringLiteral("%1 failed: %2").arg(tool, QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
    }
};

QByteArray mimePackage(const QString &nfoComment, const QString &dscComment)
{
    auto nfoType = [&](const QString &type, const QString &kind, const char *magic) {
        return QStringLiteral("  <mime-type type=\"%1\">\n"
                              "    <comment>%2 (%3)</comment>\n"
                              "    <sub-class-of type=\"text/plain\"/>\n"
                              "    <icon name=\"%4\"/>\n"
                              "    <magic priority=\"60\"><match type=\"string\" value=\"%5\" offset=\"0\"/></magic>\n"
                              "    <glob pattern=\"*.nfo\" weight=\"60\"/>\n"
                              "  </mime-type>\n")
            .arg(type, xmlEscaped(nfoComment), kind, iconName(type), QLatin1String(magic));
    };
    const QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n")
        + nfoType(LevelNfoType, QStringLiteral("Level NFO"), "LEVEL")
        + nfoType(EpisodeNfoType, QStringLiteral("Episode NFO"), "EPISODE")
        + QStringLiteral("  <mime-type type=\"%1\">\n"
                         "    <comment>%2</comment>\n"
                         "    <sub-class-of type=\"text/plain\"/>\n"
                         "    <icon name=\"%3\"/>\n"
                         "    <glob pattern=\"*.dsc\" weight=\"60\"/>\n"
                         "  </mime-type>\n")
              .arg(DescriptionType, xmlEscaped(dscComment), iconName(DescriptionType))
        + QStringLiteral("</mime-info>\n");
    return xml.toUtf8();
}

QByteArray desktopEntry(const QString &openCommand)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Brisquel\n"
                          "GenericName=Serious Sam 2 mod file editor\n"
                          "Comment=Edit Level NFO, Episode NFO and description files of Serious Sam 2 mods\n"
                          "Exec=%1\n"
                          "Icon=%2\n"
                          "Terminal=false\n"
                          "Categories=Development;\n"
                          "MimeType=%3;%4;%5;\n")
        .arg(execLine(openCommand), iconName(LevelNfoType), LevelNfoType, EpisodeNfoType, DescriptionType)
        .toUtf8();
}

// mimeapps.list with Brisquel as the default application of the three types; other lines kept.
QByteArray mimeAppsList(const QByteArray &existing)
{
    const QStringList types{LevelNfoType, EpisodeNfoType, DescriptionType};
    QStringList lines = QString::fromUtf8(existing).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (const QString &section : {QStringLiteral("[Default Applications]"), QStringLiteral("[Added Associations]")}) {
        qsizetype start = lines.indexOf(section);
        if (start < 0) {
            if (!lines.isEmpty())
                lines.append(QString());
            lines.append(section);
            start = lines.size() - 1;
        }
        qsizetype end = start + 1;
        while (end < lines.size() && !lines.at(end).startsWith(QLatin1Char('[')))
            ++end;
        for (const QString &type : types) {
            const QString entry = type + QLatin1Char('=') + DesktopEntryName + QLatin1Char(';');
            qsizetype found = -1;
            for (qsizetype i = start + 1; i < end; ++i) {
                if (lines.at(i).startsWith(type + QLatin1Char('=')))
                    found = i;
            }
            if (found >= 0) {
                lines[found] = entry;
            } else {
                // Before any blank lines that end the section.
                qsizetype at = end;
                while (at > start + 1 && lines.at(at - 1).isEmpty())
                    --at;
                lines.insert(at, entry);
                ++end;
            }
        }
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QByteArray levelTemplate()
{
    LevelFields fields;
    fields.mapType[0] = true;
    fields.lockedYes = false;
    return (LevelNfo::generate(fields, [](const QString &) {}) + DocumentFile::CRLF + DocumentFile::CRLF).toLatin1();
}

QByteArray episodeTemplate()
{
    return (EpisodeNfo::generate({}, [](const QString &) {}) + DocumentFile::CRLF + DocumentFile::CRLF).toLatin1();
}

void installIcon(Steps &steps, const QString &icoPath, const QString &type)
{
    QImageReader reader(icoPath);
    QImage best;
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() > best.width())
            best = image;
    } while (reader.jumpToNextImage());
    if (best.isNull()) {
        steps.fail(QStringLiteral("cannot read the icon '%1'").arg(QDir::toNativeSeparators(icoPath)));
        return;
    }
    const QString path = dataFolder() + QStringLiteral("/icons/hicolor/%1x%1/mimetypes/%2.png")
                                            .arg(best.width())
                                            .arg(iconName(type));
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!best.save(path, "PNG"))
        steps.fail(QStringLiteral("cannot write '%1'").arg(QDir::toNativeSeparators(path)));
}

// The icon file named by a DefaultIcon value ("path" or "path,0").
QString iconFile(const QString &value)
{
    const qsizetype comma = value.lastIndexOf(QLatin1Char(','));
    return comma > 0 && value.mid(comma + 1).toInt() == 0 && !value.mid(comma + 1).isEmpty() ? value.left(comma) : value;
}

} // namespace

QString dataFolder() { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); }

QString templatesFolder() { return QStandardPaths::writableLocation(QStandardPaths::TemplatesLocation); }

QString mimeAppsListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
}

QString execLine(const QString &openCommand)
{
    // "program" %1: the quoted program path, then the placeholder for the file.
    QString program = openCommand;
    if (program.startsWith(QLatin1Char('"'))) {
        const qsizetype close = program.indexOf(QLatin1Char('"'), 1);
        program = program.mid(1, close < 0 ? -1 : close - 1);
    }
    QString quoted;
    for (QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    // A desktop file's string values escape the backslash once more.
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QStringLiteral("\" %f");
}

bool apply(const QList<ClassStore::Value> &rows, QString *failure)
{
    Steps steps;
    const QString data = dataFolder();
    if (data.isEmpty() || templatesFolder().isEmpty()) {
        if (failure)
            *failure = QStringLiteral("the per-user data folder (XDG_DATA_HOME) cannot be used");
        return false;
    }
    const QString nfoComment = valueOf(rows, QStringLiteral(".nfo"));
    const QString dscComment = valueOf(rows, QStringLiteral(".dsc"));

    steps.write(data + QStringLiteral("/mime/packages/brisquel.xml"), mimePackage(nfoComment, dscComment));
    steps.write(data + QStringLiteral("/applications/") + DesktopEntryName,
                desktopEntry(valueOf(rows, QStringLiteral(".nfo\\Shell\\Open\\Command"))));
    QFile list(mimeAppsListPath());
    const QByteArray existing = list.open(QIODevice::ReadOnly) ? list.readAll() : QByteArray();
    list.close();
    steps.write(mimeAppsListPath(), mimeAppsList(existing));

    const QString nfoIcon = iconFile(valueOf(rows, QStringLiteral(".nfo\\DefaultIcon")));
    installIcon(steps, nfoIcon, LevelNfoType);
    installIcon(steps, nfoIcon, EpisodeNfoType);
    installIcon(steps, iconFile(valueOf(rows, QStringLiteral(".dsc\\DefaultIcon"))), DescriptionType);

    // The "New" menu. Desktops type a zero-byte file as plain text, so the description holds one
    // line break; a new .nfo holds what the companion writes for each kind.
    const QString templates = templatesFolder();
    if (hasValue(rows, QStringLiteral(".dsc\\ShellNew"), QStringLiteral("NullFile")))
        steps.write(templates + QStringLiteral("/SS2 Description.dsc"), DocumentFile::CRLF.toLatin1());
    if (hasValue(rows, QStringLiteral(".nfo\\ShellNew"), QStringLiteral("Command"))) {
        steps.write(templates + QStringLiteral("/SS2 Level NFO.nfo"), levelTemplate());
        steps.write(templates + QStringLiteral("/SS2 Episode NFO.nfo"), episodeTemplate());
    }

    steps.run(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")});
    steps.run(QStringLiteral("update-desktop-database"), {data + QStringLiteral("/applications")});
    if (failure)
        *failure = steps.failure;
    return steps.failure.isEmpty();
}

} // namespace DesktopIntegration
