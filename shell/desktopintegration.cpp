#include "shell/desktopintegration.h"

#include "shell/filetyperows.h"

#include "core/apperror.h"
#include "core/commandline.h"
#include "core/documentfile.h"
#include "core/episodenfo.h"
#include "core/levelnfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace DesktopIntegration {

const QString DescriptionType = QStringLiteral("application/x-ss2-description");
const QString NfoType = QStringLiteral("text/x-nfo");
const QString DesktopEntryName = QStringLiteral("brisquel.desktop");
const QString NfoHandlerName = QStringLiteral("brisquel-nfo.desktop");

namespace {

// The MIME types this registration made before .nfo files were left to the desktop's own type.
const QStringList RetiredTypes{QStringLiteral("application/x-ss2-level-nfo"),
                               QStringLiteral("application/x-ss2-episode-nfo")};

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

bool isOurs(const QByteArray &id) { return id.toLower().startsWith("brisquel"); }

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
    // A template is the user's once it differs from what Brisquel writes: it is never replaced.
    void writeTemplate(const QString &path, const QByteArray &bytes)
    {
        if (!QFileInfo::exists(path))
            write(path, bytes);
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

QByteArray mimePackage(const QString &dscComment)
{
    const QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"%1\">\n"
                       "    <comment>%2</comment>\n"
                       "    <sub-class-of type=\"text/plain\"/>\n"
                       "    <icon name=\"%3\"/>\n"
                       "    <glob pattern=\"*.dsc\" weight=\"60\"/>\n"
                       "  </mime-type>\n"
                       "</mime-info>\n")
            .arg(DescriptionType, dscComment.toHtmlEscaped(), iconName(DescriptionType));
    return xml.toUtf8();
}

QByteArray editorEntry(const QString &exec)
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
                          "MimeType=%3;%4;\n")
        .arg(exec, iconName(DescriptionType), DescriptionType, NfoType)
        .toUtf8();
}

// Not shown in menus or "Open With": the editor's own entry is there.
QByteArray nfoHandlerEntry(const QString &exec)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Brisquel (NFO files)\n"
                          "Comment=Opens Serious Sam 2 Level and Episode NFO files in Brisquel, and other NFO files "
                          "where they opened before\n"
                          "Exec=%1\n"
                          "Icon=%2\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n"
                          "MimeType=%3;\n")
        .arg(exec, iconName(DescriptionType), NfoType)
        .toUtf8();
}

// A mimeapps.list, edited entry by entry. Lines it does not touch keep their bytes (a list is
// UTF-8 by rule, but a stray byte is the user's); its line ends stay as they were.
class MimeAppsList
{
public:
    explicit MimeAppsList(const QByteArray &bytes)
        : m_lineEnd(bytes.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n"))
    {
        if (bytes.isEmpty())
            return;
        m_lines = bytes.split('\n');
        if (m_lines.constLast().isEmpty())
            m_lines.removeLast();
        for (QByteArray &line : m_lines) {
            if (line.endsWith('\r'))
                line.chop(1);
        }
    }

    QList<QByteArray> ids(const QByteArray &group, const QString &type) const
    {
        const qsizetype at = find(group, type.toUtf8());
        if (at < 0)
            return {};
        QList<QByteArray> ids;
        for (const QByteArray &id : m_lines.at(at).mid(m_lines.at(at).indexOf('=') + 1).split(';')) {
            if (!id.trimmed().isEmpty())
                ids.append(id.trimmed());
        }
        return ids;
    }

    // Sets the entry, or removes it when `ids` is empty.
    void set(const QByteArray &group, const QString &type, const QList<QByteArray> &ids)
    {
        const QByteArray key = type.toUtf8();
        QByteArray line = key + '=';
        for (const QByteArray &id : ids)
            line += id + ';';
        qsizetype at = find(group, key);
        while (at >= 0) {  // the first entry becomes the new one; repeats go
            m_lines.removeAt(at);
            const qsizetype again = find(group, key);
            if (again < 0)
                break;
            at = again;
        }
        if (ids.isEmpty())
            return;
        qsizetype start = groupStart(group);
        if (start < 0) {
            if (!m_lines.isEmpty() && !m_lines.constLast().trimmed().isEmpty())
                m_lines.append(QByteArray());
            m_lines.append('[' + group + ']');
            start = m_lines.size() - 1;
        }
        // At the end of the group, before the blank lines that close it.
        qsizetype end = start + 1;
        while (end < m_lines.size() && !m_lines.at(end).trimmed().startsWith('['))
            ++end;
        while (end > start + 1 && m_lines.at(end - 1).trimmed().isEmpty())
            --end;
        m_lines.insert(end, line);
    }

    QByteArray bytes() const { return m_lines.join(m_lineEnd) + m_lineEnd; }

private:
    qsizetype groupStart(const QByteArray &group) const
    {
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            if (m_lines.at(i).trimmed() == '[' + group + ']')
                return i;
        }
        return -1;
    }

    qsizetype find(const QByteArray &group, const QByteArray &key) const
    {
        const qsizetype start = groupStart(group);
        if (start < 0)
            return -1;
        for (qsizetype i = start + 1; i < m_lines.size() && !m_lines.at(i).trimmed().startsWith('['); ++i) {
            const qsizetype equals = m_lines.at(i).indexOf('=');
            if (equals > 0 && m_lines.at(i).left(equals).trimmed() == key)
                return i;
        }
        return -1;
    }

    QByteArray m_lineEnd;
    QList<QByteArray> m_lines;
};

const QByteArray Defaults = "Default Applications";
const QByteArray Added = "Added Associations";

// `first` ahead of the other ids, which are kept in their order without our own.
QList<QByteArray> withFirst(const QByteArray &first, const QList<QByteArray> &ids)
{
    QList<QByteArray> result{first};
    for (const QByteArray &id : ids) {
        if (!isOurs(id) && !result.contains(id))
            result.append(id);
    }
    return result;
}

QList<QByteArray> withAdded(const QByteArray &id, QList<QByteArray> ids)
{
    if (!ids.contains(id))
        ids.append(id);
    return ids;
}

// Which application the desktop gave .nfo files before Brisquel's handler: the user's own choice,
// else the system's. Our own entries do not count.
QString nfoDefaultNow(const MimeAppsList &list)
{
    for (const QByteArray &id : list.ids(Defaults, NfoType)) {
        if (!isOurs(id))
            return QString::fromUtf8(id);
    }
    const QString id = defaultApplication(NfoType);
    return isOurs(id.toUtf8()) ? QString() : id;
}

// mimeapps.list with Brisquel's handler as the default for .nfo files and the editor for
// descriptions, the editor offered for both; everything else kept. The earlier .nfo default is
// remembered for the handler.
void updateMimeApps(Steps &steps)
{
    QByteArray existing;
    const QFileInfo file(mimeAppsListPath());
    if (file.exists() || file.isSymLink()) {
        // Only a plain file of a sensible size: a pipe there would hang the first start.
        try {
            existing = DocumentFile::readBytes(file.filePath(), LargestDesktopFile);
        } catch (const AppError &error) {
            steps.fail(QStringLiteral("cannot read the desktop's default applications: %1; it was left as it is")
                           .arg(error.description));
            return;
        }
    }
    MimeAppsList list(existing);

    const QString before = nfoDefaultNow(list);
    if (!before.isEmpty() || !QFileInfo::exists(previousNfoDefaultPath()))
        steps.write(previousNfoDefaultPath(), before.toUtf8());

    const QByteArray editor = DesktopEntryName.toUtf8();
    list.set(Defaults, NfoType, withFirst(NfoHandlerName.toUtf8(), list.ids(Defaults, NfoType)));
    list.set(Defaults, DescriptionType, withFirst(editor, list.ids(Defaults, DescriptionType)));
    list.set(Added, NfoType, withAdded(editor, list.ids(Added, NfoType)));
    list.set(Added, DescriptionType, withAdded(editor, list.ids(Added, DescriptionType)));
    for (const QString &type : RetiredTypes) {
        list.set(Defaults, type, {});
        list.set(Added, type, {});
    }
    steps.write(mimeAppsListPath(), list.bytes());
}

void installIcon(Steps &steps, const QString &dataRoot, const QString &icoPath, const QString &folder,
                 const QString &name)
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
    const QString path = dataRoot + QStringLiteral("/icons/hicolor/%1x%1/%2/%3.png").arg(best.width()).arg(folder, name);
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

// One argument of an Exec line: quoted only when it holds a character the desktop entry rules
// reserve (a launcher in generic mode, such as xdg-open without a desktop, takes quotes literally);
// inside the quotes a backslash escapes ", `, $ and itself. A literal % is doubled.
QString quotedArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool plain = !argument.isEmpty()
                       && std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
    if (plain)
        return QString(argument).replace(QLatin1Char('%'), QLatin1String("%%"));
    QString quoted = QStringLiteral("\"");
    for (QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

} // namespace

QString dataFolder() { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); }

QString templatesFolder()
{
    // xdg-user-dirs points the templates at the home folder once the user has deleted ~/Templates:
    // that means "no templates", not "templates all over the home folder".
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TemplatesLocation);
    if (folder.isEmpty() || QDir(folder) == QDir(QDir::homePath()) || QDir(folder) == QDir::root())
        return {};
    return folder;
}

QString mimeAppsListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
}

QString defaultApplication(const QString &type)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(10000))
        return {};
    return QString::fromUtf8(query.readAllStandardOutput().trimmed());
}

QString previousNfoDefaultPath() { return dataFolder() + QStringLiteral("/Brisquel/nfo-default-before"); }

bool isOtherApplicationId(const QString &id)
{
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]*\\.desktop$"));
    return valid.match(id).hasMatch() && !isOurs(id.toUtf8());
}

QString previousNfoDefault()
{
    QString id;
    try {
        id = QString::fromUtf8(DocumentFile::readBytes(previousNfoDefaultPath(), LargestDesktopFile).trimmed());
    } catch (const AppError &) {
        return {};  // none remembered, or nothing that can be read as one
    }
    return isOtherApplicationId(id) ? id : QString();
}

QString execLine(const QString &program, const QStringList &options)
{
    // A line break cannot be written in a desktop entry's Exec value.
    QStringList arguments;
    for (const QString &part : QStringList{program} + options) {
        if (part.contains(QLatin1Char('\n')) || part.contains(QLatin1Char('\r')))
            return {};
        arguments.append(quotedArgument(part));
    }
    QString exec = arguments.join(QLatin1Char(' ')) + QStringLiteral(" %f");
    // The Exec key is a string value: its backslashes are escaped once more.
    exec.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return exec;
}

bool apply(const QList<ClassStore::Value> &rows, const QString &executable, QString *failure)
{
    Steps steps;
    const QString data = dataFolder();
    if (data.isEmpty()) {
        if (failure)
            *failure = QStringLiteral("the per-user data folder (XDG_DATA_HOME) cannot be used");
        return false;
    }
    const QString editorExec = execLine(executable);
    if (editorExec.isEmpty()) {
        if (failure)
            *failure = QStringLiteral("the program's path '%1' holds a line break, which a desktop entry cannot name")
                           .arg(QDir::toNativeSeparators(executable));
        return false;
    }

    steps.write(data + QStringLiteral("/mime/packages/brisquel.xml"), mimePackage(valueOf(rows, QStringLiteral(".dsc"))));
    steps.write(data + QStringLiteral("/applications/") + DesktopEntryName, editorEntry(editorExec));
    steps.write(data + QStringLiteral("/applications/") + NfoHandlerName,
                nfoHandlerEntry(execLine(executable, {CommandLine::NfoHandlerOption})));
    updateMimeApps(steps);
    installIcon(steps, data, iconFile(valueOf(rows, QStringLiteral(".dsc\\DefaultIcon"))), QStringLiteral("mimetypes"),
                iconName(DescriptionType));

    // The "New" menu. Desktops type a zero-byte file as plain text, so the description holds one
    // line break; a new .nfo holds what the companion writes for each kind.
    const QString templates = templatesFolder();
    if (!templates.isEmpty()) {
        if (hasValue(rows, QStringLiteral(".dsc\\ShellNew"), QStringLiteral("NullFile")))
            steps.writeTemplate(templates + QStringLiteral("/SS2 Description.dsc"), DocumentFile::CRLF.toLatin1());
        if (hasValue(rows, QStringLiteral(".nfo\\ShellNew"), QStringLiteral("Command"))) {
            steps.writeTemplate(templates + QStringLiteral("/SS2 Level NFO.nfo"), LevelNfo::newFileTemplate());
            steps.writeTemplate(templates + QStringLiteral("/SS2 Episode NFO.nfo"), EpisodeNfo::newFileTemplate());
        }
    }

    steps.run(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")});
    steps.run(QStringLiteral("update-desktop-database"), {data + QStringLiteral("/applications")});
    if (failure)
        *failure = steps.failure;
    return steps.failure.isEmpty();
}

bool writeSystemFiles(const QString &shareFolder, const QString &executable, const QString &programFolder,
                      QString *failure)
{
    Steps steps;
    const QString dscComment = QString::fromStdString(FileTypeRows::rows({"", "Brisquel", "", '/'}).front().text);
    steps.write(shareFolder + QStringLiteral("/mime/packages/brisquel.xml"), mimePackage(dscComment));
    steps.write(shareFolder + QStringLiteral("/applications/") + DesktopEntryName, editorEntry(execLine(executable)));
    steps.write(shareFolder + QStringLiteral("/applications/") + NfoHandlerName,
                nfoHandlerEntry(execLine(executable, {CommandLine::NfoHandlerOption})));
    installIcon(steps, shareFolder, programFolder + QStringLiteral("/filedsc.ico"), QStringLiteral("mimetypes"),
                iconName(DescriptionType));
    if (failure)
        *failure = steps.failure;
    return steps.failure.isEmpty();
}

} // namespace DesktopIntegration
