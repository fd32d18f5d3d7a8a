#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// A per-user mirror of the class registry for desktops that have none: a text file in the
// registry editor's format, so its rows can be inspected as on Windows. Each value is written in
// its own open / set / close cycle, like a registry value.
class ClassStore
{
public:
    explicit ClassStore(QString path);

    struct Value
    {
        QString key;
        QString name;  // empty for the default value
        bool isNumber = false;
        QString text;
        std::uint32_t number = 0;
    };

    // False when the file cannot be written; `failure` then says why.
    bool setString(const QString &key, const QString &name, const QString &text, QString *failure);
    bool setNumber(const QString &key, const QString &name, std::uint32_t number, QString *failure);

    // The values as stored, keys in the order first written.
    QList<Value> values() const;
    QString path() const { return m_path; }

private:
    bool set(const Value &value, QString *failure);
    QList<Value> load() const;
    bool save(const QList<Value> &values, QString *failure);

    QString m_path;
};
