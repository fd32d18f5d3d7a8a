#include "shell/classstore.h"

#include "core/apperror.h"
#include "core/documentfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace {

constexpr qint64 LargestStore = 1024 * 1024;
const QString Header = QStringLiteral("Windows Registry Editor Version 5.00");
const QString Root = QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes\\");

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// Reads a quoted text starting at `pos`; leaves `pos` after the closing quote.
QString unquoted(const QString &line, qsizetype &pos)
{
    QString text;
    for (++pos; pos < line.size() && line.at(pos) != QLatin1Char('"'); ++pos) {
        if (line.at(pos) == QLatin1Char('\\') && pos + 1 < line.size())
            ++pos;
        text += line.at(pos);
    }
    ++pos;
    return text;
}

} // namespace

ClassStore::ClassStore(QString path) : m_path(std::move(path)) {}

bool ClassStore::setString(const QString &key, const QString &name, const QString &text, QString *failure)
{
    return set({key, name, false, text, 0}, failure);
}

bool ClassStore::setNumber(const QString &key, const QString &name, std::uint32_t number, QString *failure)
{
    return set({key, name, true, QString(), number}, failure);
}

bool ClassStore::set(const Value &value, QString *failure)
{
    QList<Value> all = load();
    bool replaced = false;
    for (Value &existing : all) {
        if (existing.key.compare(value.key, Qt::CaseInsensitive) == 0
            && existing.name.compare(value.name, Qt::CaseInsensitive) == 0) {
            existing = value;
            replaced = true;
        }
    }
    if (!replaced) {
        // Keep a key's values together.
        qsizetype at = all.size();
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (all.at(i).key.compare(value.key, Qt::CaseInsensitive) == 0)
                at = i + 1;
        }
        all.insert(at, value);
    }
    return save(all, failure);
}

QList<ClassStore::Value> ClassStore::values() const { return load(); }

QList<ClassStore::Value> ClassStore::load() const
{
    QList<Value> values;
    QByteArray bytes;
    try {
        bytes = DocumentFile::readBytes(m_path, LargestStore);  // a plain file, never a pipe
    } catch (const AppError &) {
        return values;
    }
    bytes.replace("\r\n", "\n");
    QString key;
    for (const QString &line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            key = line.mid(1, line.size() - 2);
            if (key.startsWith(Root))
                key = key.mid(Root.size());
            continue;
        }
        if (line.isEmpty() || key.isEmpty() || line == Header)
            continue;
        Value value;
        value.key = key;
        qsizetype pos = 0;
        if (line.startsWith(QLatin1Char('@')))
            pos = 1;
        else if (line.startsWith(QLatin1Char('"')))
            value.name = unquoted(line, pos);
        else
            continue;
        if (line.mid(pos, 7) == QLatin1String("=dword:")) {
            value.isNumber = true;
            value.number = line.mid(pos + 7).toUInt(nullptr, 16);
        } else if (line.mid(pos, 2) == QLatin1String("=\"")) {
            ++pos;
            value.text = unquoted(line, pos);
        } else {
            continue;
        }
        values.append(value);
    }
    return values;
}

bool ClassStore::save(const QList<Value> &values, QString *failure)
{
    QString text = Header + QLatin1Char('\n');
    QString key;
    for (const Value &value : values) {
        if (value.key != key) {
            key = value.key;
            text += QStringLiteral("\n[") + Root + key + QStringLiteral("]\n");
        }
        text += value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name);
        text += value.isNumber ? QStringLiteral("=dword:%1").arg(value.number, 8, 16, QLatin1Char('0'))
                               : QLatin1Char('=') + quoted(value.text);
        text += QLatin1Char('\n');
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        if (failure)
            *failure = QStringLiteral("cannot create the folder of '%1'").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    QSaveFile file(m_path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (failure)
            *failure = QStringLiteral("cannot write '%1': %2").arg(QDir::toNativeSeparators(m_path), file.errorString());
        return false;
    }
    return true;
}
