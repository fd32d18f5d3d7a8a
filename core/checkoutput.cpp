#include "core/checkoutput.h"

#include "core/checkrules.h"
#include "core/codepage.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace ModCheck {

const char *const RulesHelpAddress = "https://github.com/brisquel/brisquel/blob/main/resources/help/check.htm";

namespace {

// A fix whose new bytes are too many to carry in a report (a huge file's line ends as one span):
// the report names the finding, and --fix still applies it.
bool carried(const Fix &fix)
{
    constexpr qsizetype Most = 1024 * 1024;
    qsizetype bytes = 0;
    for (const ByteEdit &edit : fix.edits)
        bytes += edit.bytes.size();
    return !fix.isNone() && bytes <= Most;
}

QString severityWord(Severity severity) { return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"); }

// Control characters as escapes: a finding is one line, and nothing in it reaches a terminal raw.
bool needsEscape(char16_t u)
{
    return u < 0x20 || (u >= 0x7f && u < 0xa0) || u == QChar::LineSeparator || u == QChar::ParagraphSeparator
           || (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069);
}

QString escaped(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return needsEscape(c.unicode()); }))
        return text;  // the common case: shared, not copied
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\r')
            out += QLatin1String("\\r");
        else if (u == '\t')
            out += QLatin1String("\\t");
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else if (u == QChar::LineSeparator || u == QChar::ParagraphSeparator || u == 0x85
                 || (u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069))  // and what reorders a line
            out += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

// A file as a URI reference: relative to the base folder's bytes when it lies under it, else a
// file URI; each byte that is no plain path character percent-encoded, so a name that is no
// valid text is named exactly.
struct Location
{
    QString uri;
    bool relative;
};

Location locationOf(const Finding &finding, const QByteArray &base)
{
    QByteArray name = finding.name.isEmpty() ? QFile::encodeName(finding.path) : finding.name;
#ifdef Q_OS_WIN
    name.replace('\\', '/');
#endif
    const bool relative = !base.isEmpty() && name.startsWith(base + '/');
    if (relative)
        name = name.mid(base.size() + 1);
    else if (QDir::isRelativePath(QFile::decodeName(name)))
        name = QFile::encodeName(QDir::currentPath()) + '/' + name;
    QByteArray encoded = name.toPercentEncoding("/");
    if (!relative)
        encoded = QByteArray(encoded.startsWith('/') ? "file://" : "file:///") + encoded;
    return {QString::fromLatin1(encoded), relative};
}

// GitHub's runner reads a command's data up to the end of its line, and its properties up to
// the next "," or "::": these are escaped as its toolkit escapes them.
QString commandData(const QString &text)
{
    return QString(text).replace(QLatin1Char('%'), QLatin1String("%25")).replace(QLatin1Char('\r'), QLatin1String("%0D"))
        .replace(QLatin1Char('\n'), QLatin1String("%0A"));
}

QString commandProperty(const QString &text)
{
    return commandData(text).replace(QLatin1Char(':'), QLatin1String("%3A")).replace(QLatin1Char(','), QLatin1String("%2C"));
}

} // namespace

QString escapedText(const QString &text) { return escaped(text); }

QString shownPath(const QString &path) { return escaped(QDir::toNativeSeparators(path)); }

QString compilerLine(const Finding &finding)
{
    QString line = QStringLiteral("%1:%2: %3: %4")
                       .arg(shownPath(finding.path), QString::number(finding.line), severityWord(finding.severity),
                            escaped(finding.text));
    if (!finding.rule.isEmpty())
        line += QStringLiteral(" [%1]").arg(finding.rule);
    return line;
}

QString fixedLine(const Finding &finding)
{
    return QStringLiteral("%1:%2: fixed: %3 [%4]")
        .arg(shownPath(finding.path), QString::number(finding.line), escaped(finding.fix.what), finding.rule);
}

QString counted(qsizetype n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString summary(const Report &report)
{
    return counted(report.files, "file checked", "files checked") + QStringLiteral(", ")
           + counted(report.errors(), "error", "errors") + QStringLiteral(", ")
           + counted(report.warnings(), "warning", "warnings")
           + (report.fixes == 0 ? QString() : QStringLiteral(", %1 fixed").arg(report.fixes));
}

QByteArray json(const Report &report)
{
    const auto listed = [](const QList<Finding> &list) {
        QJsonArray findings;
        for (const Finding &f : list) {
            QJsonObject finding{{QStringLiteral("path"), QDir::toNativeSeparators(f.path)},
                                {QStringLiteral("line"), f.line},
                                {QStringLiteral("severity"), severityWord(f.severity)},
                                {QStringLiteral("rule"), f.rule},
                                {QStringLiteral("key"), f.key},
                                {QStringLiteral("text"), f.text}};
            if (carried(f.fix)) {
                QJsonArray replacements;
                for (const ByteEdit &edit : f.fix.edits) {
                    replacements.append(QJsonObject{{QStringLiteral("offset"), edit.offset},
                                                    {QStringLiteral("length"), edit.length},
                                                    {QStringLiteral("text"), CodePage::decode(edit.bytes)}});
                }
                finding.insert(QStringLiteral("fix"),
                               QJsonObject{{QStringLiteral("kind"), f.fix.kind == FixKind::Safe ? QStringLiteral("safe")
                                                                                                 : QStringLiteral("suggestion")},
                                           {QStringLiteral("description"), f.fix.what},
                                           {QStringLiteral("replacements"), replacements}});
            }
            findings.append(finding);
        }
        return findings;
    };
    QJsonObject document{{QStringLiteral("files"), report.files},
                         {QStringLiteral("errors"), report.errors()},
                         {QStringLiteral("warnings"), report.warnings()},
                         {QStringLiteral("findings"), listed(report.findings)}};
    if (!report.fixed.isEmpty()) {
        document.insert(QStringLiteral("fixes"), report.fixes);
        document.insert(QStringLiteral("fixed"), listed(report.fixed));
    }
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

QByteArray sarif(const Report &report, const QString &version, const QString &base)
{
    QJsonArray rules;
    for (const Rule &rule : ModCheck::rules()) {
        // Its friendly name, as SARIF viewers show one: "eta-range" is EtaRange.
        QString name;
        for (const QString &word : QString::fromLatin1(rule.id).split(QLatin1Char('-')))
            name += word.left(1).toUpper() + word.mid(1);
        rules.append(QJsonObject{
            {QStringLiteral("id"), QLatin1String(rule.id)},
            {QStringLiteral("name"), name},
            {QStringLiteral("shortDescription"), QJsonObject{{QStringLiteral("text"), QLatin1String(rule.summary)}}},
            {QStringLiteral("helpUri"), QStringLiteral("%1#%2").arg(QLatin1String(RulesHelpAddress), QLatin1String(rule.id))},
            {QStringLiteral("defaultConfiguration"), QJsonObject{{QStringLiteral("level"), severityWord(rule.severity)}}}});
    }
    QByteArray baseName = base.isEmpty() ? QByteArray() : QFile::encodeName(QDir::cleanPath(QDir::fromNativeSeparators(base)));
    while (baseName.endsWith('/'))
        baseName.chop(1);
    QJsonArray results;
    for (const Finding &finding : report.findings) {
        const Location location = locationOf(finding, baseName);
        QJsonObject artifact{{QStringLiteral("uri"), location.uri}};
        if (location.relative)
            artifact.insert(QStringLiteral("uriBaseId"), QStringLiteral("CHECKED"));
        QJsonObject result{
            {QStringLiteral("ruleId"), finding.rule},
            {QStringLiteral("level"), severityWord(finding.severity)},
            {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), finding.text}}},
            {QStringLiteral("locations"),
             QJsonArray{QJsonObject{{QStringLiteral("physicalLocation"),
                                     QJsonObject{{QStringLiteral("artifactLocation"), artifact},
                                                 {QStringLiteral("region"),
                                                  QJsonObject{{QStringLiteral("startLine"), qMax(1, finding.line)}}}}}}}}};
        if (const Rule *rule = ruleById(finding.rule))
            result.insert(QStringLiteral("ruleIndex"), indexOf(*rule));
        if (carried(finding.fix)) {
            // The bytes each edit replaces, and the text it puts there.
            QJsonArray replacements;
            for (const ByteEdit &edit : finding.fix.edits) {
                replacements.append(QJsonObject{
                    {QStringLiteral("deletedRegion"),
                     QJsonObject{{QStringLiteral("byteOffset"), edit.offset}, {QStringLiteral("byteLength"), edit.length}}},
                    {QStringLiteral("insertedContent"), QJsonObject{{QStringLiteral("text"), CodePage::decode(edit.bytes)}}}});
            }
            result.insert(QStringLiteral("fixes"),
                          QJsonArray{QJsonObject{{QStringLiteral("description"), QJsonObject{{QStringLiteral("text"), finding.fix.what}}},
                                                 {QStringLiteral("artifactChanges"),
                                                  QJsonArray{QJsonObject{{QStringLiteral("artifactLocation"), artifact},
                                                                         {QStringLiteral("replacements"), replacements}}}}}});
        }
        results.append(result);
    }
    QJsonObject run{
        {QStringLiteral("tool"),
         QJsonObject{{QStringLiteral("driver"),
                      QJsonObject{{QStringLiteral("name"), QStringLiteral("Brisquel")},
                                  {QStringLiteral("version"), version},
                                  {QStringLiteral("informationUri"), QStringLiteral("https://github.com/brisquel/brisquel")},
                                  {QStringLiteral("rules"), rules}}}}},
        {QStringLiteral("results"), results}};
    if (!baseName.isEmpty()) {
        // The folder checked, as the base that results name their files under.
        const QByteArray folder = QFileInfo(QFile::decodeName(baseName)).absoluteFilePath().toUtf8();
        QByteArray uri = folder.toPercentEncoding("/") + '/';
        uri = (uri.startsWith('/') ? "file://" : "file:///") + uri;
        run.insert(QStringLiteral("originalUriBaseIds"),
                   QJsonObject{{QStringLiteral("CHECKED"), QJsonObject{{QStringLiteral("uri"), QString::fromLatin1(uri)}}}});
    }
    const QJsonObject log{{QStringLiteral("$schema"), QStringLiteral("https://json.schemastore.org/sarif-2.1.0.json")},
                          {QStringLiteral("version"), QStringLiteral("2.1.0")},
                          {QStringLiteral("runs"), QJsonArray{run}}};
    return QJsonDocument(log).toJson(QJsonDocument::Indented);
}

QString githubCommands(const Report &report)
{
    QString out;
    for (const Finding &finding : report.findings) {
        QString file = QDir::fromNativeSeparators(finding.path);
        if (QDir::isRelativePath(file) || !QDir::current().relativeFilePath(file).startsWith(QLatin1String("..")))
            file = QDir::current().relativeFilePath(file);  // the runner names files from the workspace
        out += QStringLiteral("::%1 file=%2,line=%3,title=%4::%5\n")
                   .arg(severityWord(finding.severity), commandProperty(escaped(file)), QString::number(qMax(1, finding.line)),
                        commandProperty(finding.rule), commandData(escaped(finding.text)));
    }
    out += QStringLiteral("::notice title=Brisquel::%1\n").arg(commandData(summary(report)));
    return out;
}

QString ruleList()
{
    QString out;
    for (const Rule &rule : rules())
        out += QStringLiteral("%1  %2  %3\n").arg(QLatin1String(rule.id), -18).arg(severityWord(rule.severity), -7).arg(QLatin1String(rule.summary));
    return out;
}

} // namespace ModCheck
